#pragma once

#include "widgets/vexmarinterfaces.h"

#include <QWidget>

class QLabel;
class QVexmarBarsEx;
class QVexmarButton;
class QVexmarNetQuality;

// One SIP account of a stream: a "SIP" button coloured by the account's state over two link-quality gauges
// (transmit, receive), greyed until the line carries a call.
class QVexmarSipPanel : public QWidget
{
    Q_OBJECT

public:
    explicit QVexmarSipPanel(QWidget *parent = nullptr);

    void setGaugesEnabled(bool on);
    void setQuality(int up, int down);
    // 1 green, 2 dark green, 3 red, any other grey.
    void setState(int state);

private:
    bool m_gaugesEnabled = false;
    int m_state = 0;
    QVexmarButton *m_button = nullptr;
    QVexmarNetQuality *m_up = nullptr;
    QVexmarNetQuality *m_down = nullptr;
};

// One stream of the home page: its title, two SIP panels and the Tx/Rx level graphs. Side 0 puts the SIP panels
// on the left; any other side mirrors the layout, so that the graphs face the panel's inner edge.
class QVexmarStreamerPanel : public QWidget
{
    Q_OBJECT

public:
    explicit QVexmarStreamerPanel(QWidget *parent = nullptr);

    void setTitle(const QString &title);
    void setSide(int side);
    void setState(int state);
    void setLevels(int txA, int txB, int rxA, int rxB, bool resetPeak);
    // Line (account) 1 is SIP panel 1; any other value SIP panel 2.
    void setLineEnabled(int line, bool on);
    void setNetQuality(int line, int up, int down);
    void setSipState(int account, int state);

private:
    void applySide(int side);
    QVexmarSipPanel *sipPanel(int line) const;

    QLabel *m_title = nullptr;
    QVexmarSipPanel *m_sip1 = nullptr;
    QVexmarSipPanel *m_sip2 = nullptr;
    QVexmarBarsEx *m_levels = nullptr;
};

// The home page's status strip: stream 1 and, mirrored, stream 2, with "Tx" and "Rx" between them. Codec 1 is
// stream 1, codec 2 stream 2; operations for any other codec, and those about calls and the network, do nothing.
class QVexmarStatusPanel : public QWidget, public IVexmarStatusPanel
{
    Q_OBJECT

public:
    QVexmarStatusPanel(int unused, QWidget *parent = nullptr);

    void setBatteryInfo(int level, int status, int remaining) override;
    void setNetworkType(int type, int index) override;
    void setCodecState(int codec, int channelMode) override;
    void setCodecDescription(int codec, const QString &text) override;
    void setNetworkUp(bool up) override;
    void setNetworkInfo(int controllerState, int signalBars) override;
    void setCodecLevels(int codec, int txLeft, int txRight, int rxLeft, int rxRight, bool refresh) override;
    void setCallText(int codec, const QString &text) override;
    void setCallState(int codec, int code) override;
    void setLineEnabled(int codec, int line, bool on) override;
    void setNetQuality(int codec, int line, int transmitQuality, int receiveQuality) override;
    void setSipState(int codec, int account, int state) override;
    const QString &callPanelText(int codec, int family) override;
    void setCallPanelText(int codec, const QString &text, int family) override;
    void resetCallPanel(int codec) override;

private:
    QVexmarStreamerPanel *stream(int codec) const;

    QVexmarStreamerPanel *m_stream1 = nullptr;
    QVexmarStreamerPanel *m_stream2 = nullptr;
};
