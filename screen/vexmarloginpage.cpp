#include "vexmarloginpage.h"

#include "vexmarwindow.h"

QVexmarLoginPage::QVexmarLoginPage(QVexmarWindow *window) : QWidget(window), window(window) { }

QVexmarLoginPage::~QVexmarLoginPage() = default;
