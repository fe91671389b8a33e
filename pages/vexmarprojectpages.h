#pragma once

#include "vexmarfolderpage.h"
#include "vexmarpagewidget.h"
#include "vexmarrecordingpage.h"

// The pages of recordings and projects. The project editor is an empty page of the screen's page stack for now;
// it comes with the page itself and keeps this constructor.

// The project editor.
class QVexmarEditorPage : public QVexmarPageWidget
{
    Q_OBJECT

public:
    explicit QVexmarEditorPage(QWidget *parent = nullptr);
    ~QVexmarEditorPage() override;
};
