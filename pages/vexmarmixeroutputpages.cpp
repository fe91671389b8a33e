#include "vexmarmixeroutputpages.h"

#include "vexmarbutton.h"

QVexmarMixerOutput1Page::QVexmarMixerOutput1Page(QWidget *parent) : QVexmarMixerBasePage(parent)
{
    homeButton->setObjectName(QStringLiteral("mixerOutput1HomeButton"));
}

QVexmarMixerOutput1Page::~QVexmarMixerOutput1Page() = default;

void QVexmarMixerOutput1Page::resetControls() { }

QVexmarMixerOutput2Page::QVexmarMixerOutput2Page(QWidget *parent) : QVexmarMixerBasePage(parent)
{
    homeButton->setObjectName(QStringLiteral("mixerOutput2HomeButton"));
}

QVexmarMixerOutput2Page::~QVexmarMixerOutput2Page() = default;

void QVexmarMixerOutput2Page::resetControls() { }
