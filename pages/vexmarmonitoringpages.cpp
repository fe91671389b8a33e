#include "vexmarmonitoringpages.h"

#include "vexmarbutton.h"

QVexmarMixerMonitoring1Page::QVexmarMixerMonitoring1Page(QWidget *parent) : QVexmarMixerBasePage(parent)
{
    homeButton->setObjectName(QStringLiteral("monitoring1HomeButton"));
}

QVexmarMixerMonitoring1Page::~QVexmarMixerMonitoring1Page() = default;

void QVexmarMixerMonitoring1Page::resetControls() { }

QVexmarMixerMonitoring2Page::QVexmarMixerMonitoring2Page(int headphone, QWidget *parent)
    : QVexmarMixerBasePage(parent), headphone(headphone)
{
    homeButton->setObjectName(QStringLiteral("monitoring2HomeButton%1").arg(headphone));
}

QVexmarMixerMonitoring2Page::~QVexmarMixerMonitoring2Page() = default;

void QVexmarMixerMonitoring2Page::resetControls() { }

void QVexmarMixerMonitoring2Page::setAudioLevels(const int *, int, bool) { }
