#pragma once

#include "vexmarfolderpage.h"
#include "vexmarpagewidget.h"

// The pages of recordings and projects. For now they are empty pages of the screen's page stack; the recorder,
// the recordings browser and the project editor come with the pages themselves and keep these constructors.

// The recorder.
class QVexmarRecordingPage : public QVexmarPageWidget
{
    Q_OBJECT

public:
    explicit QVexmarRecordingPage(QWidget *parent = nullptr);
    ~QVexmarRecordingPage() override;
};

// The project editor.
class QVexmarEditorPage : public QVexmarPageWidget
{
    Q_OBJECT

public:
    explicit QVexmarEditorPage(QWidget *parent = nullptr);
    ~QVexmarEditorPage() override;
};
