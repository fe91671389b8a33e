#include "vexmarmixerpages.h"

QVexmarMixerInputPage::QVexmarMixerInputPage(QWidget *parent) : QVexmarPageWidget(parent) { }

QVexmarMixerInputPage::~QVexmarMixerInputPage() = default;

void QVexmarMixerInputPage::resetControls() { }

void QVexmarMixerInputPage::setAudioLevels(const int *, int, bool) { }

QVexmarMixerOutput1Page::QVexmarMixerOutput1Page(QWidget *parent) : QVexmarPageWidget(parent) { }

QVexmarMixerOutput1Page::~QVexmarMixerOutput1Page() = default;

void QVexmarMixerOutput1Page::resetControls() { }

QVexmarMixerOutput2Page::QVexmarMixerOutput2Page(QWidget *parent) : QVexmarPageWidget(parent) { }

QVexmarMixerOutput2Page::~QVexmarMixerOutput2Page() = default;

void QVexmarMixerOutput2Page::resetControls() { }

QVexmarMixerMonitoring1Page::QVexmarMixerMonitoring1Page(QWidget *parent) : QVexmarPageWidget(parent) { }

QVexmarMixerMonitoring1Page::~QVexmarMixerMonitoring1Page() = default;

void QVexmarMixerMonitoring1Page::resetControls() { }

QVexmarMixerMonitoring2Page::QVexmarMixerMonitoring2Page(int headphone, QWidget *parent)
    : QVexmarPageWidget(parent), headphone(headphone)
{
}

QVexmarMixerMonitoring2Page::~QVexmarMixerMonitoring2Page() = default;

void QVexmarMixerMonitoring2Page::resetControls() { }

void QVexmarMixerMonitoring2Page::setAudioLevels(const int *, int, bool) { }
