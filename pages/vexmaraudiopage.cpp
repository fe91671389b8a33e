#include "vexmaraudiopage.h"

QVexmarAudioPage::QVexmarAudioPage(QWidget *parent) : QVexmarPageWidget(parent) { }

QVexmarAudioPage::~QVexmarAudioPage() = default;

void QVexmarAudioPage::resetControls() { }

void QVexmarAudioPage::setAudioLevels(const int *, int, bool) { }
