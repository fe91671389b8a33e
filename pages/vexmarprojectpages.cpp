#include "vexmarprojectpages.h"

QVexmarFolderPage::QVexmarFolderPage(QWidget *parent) : QVexmarPageWidget(parent) { }

QVexmarFolderPage::~QVexmarFolderPage() = default;

QVexmarEditorPage::QVexmarEditorPage(QWidget *parent) : QVexmarPageWidget(parent) { }

QVexmarEditorPage::~QVexmarEditorPage() = default;
