#include "vexmarmixerinputpage.h"

#include "vexmarbutton.h"

QVexmarMixerInputPage::QVexmarMixerInputPage(QWidget *parent) : QVexmarMixerBasePage(parent)
{
    homeButton->setObjectName(QStringLiteral("mixerInputHomeButton"));
}

QVexmarMixerInputPage::~QVexmarMixerInputPage() = default;

void QVexmarMixerInputPage::resetControls() { }

void QVexmarMixerInputPage::setAudioLevels(const int *, int, bool) { }
