#include "vexmarprojectpages.h"

QVexmarEditorPage::QVexmarEditorPage(QWidget *parent) : QVexmarPageWidget(parent) { }

QVexmarEditorPage::~QVexmarEditorPage() = default;
