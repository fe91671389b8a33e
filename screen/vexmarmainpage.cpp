#include "vexmarmainpage.h"

#include "vexmarwindow.h"

QVexmarMainPage::QVexmarMainPage(QVexmarWindow *window) : QVexmarPageWidget(window), window(window) { }

QVexmarMainPage::~QVexmarMainPage() = default;

void QVexmarMainPage::resetControls() { }

void QVexmarMainPage::setInfoActive(int, bool) { }

void QVexmarMainPage::setContactActive(int, bool) { }

void QVexmarMainPage::setVoiceVisible(bool) { }

void QVexmarMainPage::setAudioLevels(const int *, int, bool) { }

void QVexmarMainPage::setBatteryInfo(int, int, int) { }

void QVexmarMainPage::setNetworkType(int, int) { }

void QVexmarMainPage::setCodecState(int, int) { }

void QVexmarMainPage::setCodecDescription(int, const QString &) { }

void QVexmarMainPage::setNetworkUp(bool) { }

void QVexmarMainPage::setNetworkInfo(int, int) { }

void QVexmarMainPage::setCodecLevels(int, int, int, int, int, bool) { }

void QVexmarMainPage::setCallText(int, const QString &) { }

void QVexmarMainPage::setCallState(int, int) { }

void QVexmarMainPage::setLineEnabled(int, int, bool) { }

void QVexmarMainPage::setNetQuality(int, int, int, int) { }

void QVexmarMainPage::setSipState(int, int, int) { }

const QString &QVexmarMainPage::callPanelText(int, int)
{
    static const QString empty;
    return empty;
}

void QVexmarMainPage::setCallPanelText(int, const QString &, int) { }

void QVexmarMainPage::resetCallPanel(int) { }
