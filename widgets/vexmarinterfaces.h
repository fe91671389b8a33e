#pragma once

#include <QString>

// Seams between the screen window and the floors below it, found with a dynamic cast so that neither side knows
// the other's class: the window pushes live device state into whatever page is visible and into the status bar,
// and offers its message popup to what sits below it. Never owned through these types, hence the protected
// destructors.

// Level values are dB below full scale, 0 at full scale; 99 = no value.
class IVexmarAudioLevels
{
public:
    enum { levelCount = 31, noLevel = 99 }; // levels: inputs 1-24, then outputs 1-7

    // refresh: the page has just been shown, or the values were reset after a disconnect.
    virtual void setAudioLevels(const int *levels, int count, bool refresh) = 0;

protected:
    ~IVexmarAudioLevels() = default;
};

// codec: 1 and 2 the codec lines (streams), 3 the voice line. An implementation ignores what it does not show.
class IVexmarStatusPanel
{
public:
    virtual void setBatteryInfo(int level, int status, int remaining) = 0;
    virtual void setNetworkType(int type, int index) = 0;
    virtual void setCodecState(int codec, int channelMode) = 0;
    virtual void setCodecDescription(int codec, const QString &text) = 0;
    virtual void setNetworkUp(bool up) = 0;
    virtual void setNetworkInfo(int controllerState, int signalBars) = 0;
    virtual void setCodecLevels(int codec, int txLeft, int txRight, int rxLeft, int rxRight, bool refresh) = 0;
    virtual void setCallText(int codec, const QString &text) = 0;
    virtual void setCallState(int codec, int code) = 0;
    virtual void setLineEnabled(int codec, int line, bool on) = 0;
    virtual void setNetQuality(int codec, int line, int transmitQuality, int receiveQuality) = 0;
    virtual void setSipState(int codec, int account, int state) = 0;
    // The remote number stored for network family 0, 1 or 2; an empty string otherwise.
    virtual const QString &callPanelText(int codec, int family) = 0;
    // family 0, 1 or 2 also stores the text as that family's remote number; -1 only shows it.
    virtual void setCallPanelText(int codec, const QString &text, int family) = 0;
    virtual void resetCallPanel(int codec) = 0;

protected:
    ~IVexmarStatusPanel() = default;
};

// The screen's one message popup (showScreenMessage): 0 ms keeps it until it is touched; an open one takes the new
// text and time.
class IVexmarMessages
{
public:
    virtual void showMessagePopup(const QString &text, int milliseconds) = 0;

protected:
    ~IVexmarMessages() = default;
};
