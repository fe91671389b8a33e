#include "vexmarprojectpages.h"

QVexmarFolderPage::QVexmarFolderPage(QWidget *parent) : QVexmarPageWidget(parent) { }

QVexmarFolderPage::~QVexmarFolderPage() = default;

QVexmarRecordingPage::QVexmarRecordingPage(QWidget *parent) : QVexmarPageWidget(parent) { }

QVexmarRecordingPage::~QVexmarRecordingPage() = default;

QVexmarEditorPage::QVexmarEditorPage(QWidget *parent) : QVexmarPageWidget(parent) { }

QVexmarEditorPage::~QVexmarEditorPage() = default;
