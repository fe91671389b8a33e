#pragma once

#include "vexmarpagewidget.h"
#include "vexmarrecordingpage.h"

// The pages of recordings and projects. For now they are empty pages of the screen's page stack; the recorder,
// the recordings browser and the project editor come with the pages themselves and keep these constructors.

// The recordings browser.
class QVexmarFolderPage : public QVexmarPageWidget
{
    Q_OBJECT

public:
    explicit QVexmarFolderPage(QWidget *parent = nullptr);
    ~QVexmarFolderPage() override;
};

// The project editor.
class QVexmarEditorPage : public QVexmarPageWidget
{
    Q_OBJECT

public:
    explicit QVexmarEditorPage(QWidget *parent = nullptr);
    ~QVexmarEditorPage() override;
};
