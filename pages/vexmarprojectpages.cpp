#include "vexmarprojectpages.h"

QVexmarRecordingPage::QVexmarRecordingPage(QWidget *parent) : QVexmarPageWidget(parent) { }

QVexmarRecordingPage::~QVexmarRecordingPage() = default;

QVexmarEditorPage::QVexmarEditorPage(QWidget *parent) : QVexmarPageWidget(parent) { }

QVexmarEditorPage::~QVexmarEditorPage() = default;
