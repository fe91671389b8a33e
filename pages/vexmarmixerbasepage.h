#pragma once

// What the mixer pages share: the base page with the home button, the navigation between the mixer pages and the
// crosspoints, the channel-label tables, the tests and rules that decide which inputs are usable and the headphone
// button's target.

#include "controllers/vexmarmatrixindex.h"
#include "device/tcomdevice.h"
#include "widgets/vexmarpageid.h"
#include "widgets/vexmarpagewidget.h"

#include <QHash>
#include <QString>
#include <QVector>

class QColor;
class TComController;
class QLabel;
class QVexmarButton;
class QVexmarMatrixNode;

// One column of the input page or one row of an output page: left and right input (equal on a mono row) and the
// label, translated in the context of the page class that shows it.
struct MixerRow
{
    int in;
    int in2;
    QString label;
};

// One channel strip of a headphone page, where it stands (px): stereo 1 is a strip of inputs in and in + 1.
struct MixerStrip
{
    int x;
    int y;
    int in;
    int in2;
    int stereo;
    QString label;
};

// Built on first use, once the translators are in; never changed afterwards.
const QVector<MixerRow> &inputPageRows();
const QVector<MixerRow> &output1PageRows();
const QVector<MixerRow> &output2PageRows();
const QVector<MixerStrip> &monitoring2Strips();

// The input tests. Only isRecorderMissing and isPlayerInputDisabled look at the device model.
bool isRecorderMissing();
bool isDockInput(int in);
bool isAes67Input(int in);
bool isBlockedInput(int in);
bool isPlayerInputDisabled(int in);

// What the availability of an input depends on: the device's option word and its docking station.
struct MixerDeviceFacts
{
    unsigned deviceOptions = 0;
    bool docked = false;
};

// The device model's facts as they are now.
MixerDeviceFacts mixerDeviceFacts();

// When the availability is decided: at construction and after each login, or when the device model reports its
// initialisation done (deviceStateChanged with state 0).
enum class MixerMoment { Login, DeviceReady };

// Whether the controls of input `in` are usable at that moment. Once the device is ready but undocked an input
// keeps what it shows (`current`); only the Player inputs follow the recorder at every moment.
bool isMixerInputAvailable(int in, MixerMoment moment, bool current, const MixerDeviceFacts &facts);

// The page the headphone button opens: the first headphone page while the headphone pairs have their own mixes,
// else the monitoring mix. Read afresh at each click: the option can change between two.
QVexmar::Page headphonePage();

// The base of the mixer pages: the home button and the navigation slots, each asking the screen window through
// pageActivated for another page, and the crosspoints of the page's grid. A derived page names the home button with
// its own prefix, so that object names stay unique in the window.
class QVexmarMixerBasePage : public QVexmarPageWidget
{
    Q_OBJECT

public:
    explicit QVexmarMixerBasePage(QWidget *parent = nullptr);
    ~QVexmarMixerBasePage() override;

    // After each login: the AES67 button grey until the device shows the module.
    void resetControls();

    // Set while a page writes a control's value to the matrix or shows the matrix on its controls: the signals
    // that arrive meanwhile are its own.
    bool updating = false;
    QVexmarButton *homeButton = nullptr;
    // The navigation row; the headphone pages have no headphone button in it. Not owned.
    QVexmarButton *headphoneButton = nullptr;
    QVexmarButton *streamsButton = nullptr;
    QVexmarButton *lineUsbButton = nullptr;
    QVexmarButton *aes67Button = nullptr;
    // Set where the AES67 button leads to another page.
    QLabel *aes67Caption = nullptr;

signals:
    void pageActivated(QVexmar::Page page);

protected slots:
    void homeButtonClicked();
    void headphoneClicked();
    void mixerInputClicked();
    void mixerOutput1Clicked();
    void mixerOutput2Clicked();

protected:
    // A crosspoint of the page's grid: it shows node (input, output) of the matrix whenever the matrix is read or the
    // node changes, and a touch switches that node on the device.
    void addCrosspoint(QVexmarMatrixNode *node);
    // What a touch of a crosspoint writes: its own node.
    virtual void writeCrosspoint(QVexmar::Inputs in, QVexmar::Outputs ou, bool checked);

    // The mixer pages' texts: the page's font at 26 px.
    QFont mixerFont() const;
    // The navigation row at y 548 from x 514: the headphones, "STREAMS", "LINE/USB" and "AES67", each opening its
    // page but the one of page `own`, which is blue. The headphone pages leave out the headphones. Object names:
    // `prefix` + "HeadphoneButton", "StreamsButton", "LineUsbButton" and "Aes67Button".
    void addNavigationRow(const QString &prefix, QVexmar::Page own);
    // A plain square button of the mixer pages in the 26 px font, its face like the home button's and its text in
    // `textColour`.
    QVexmarButton *addMixerButton(
        const QRect &geometry, const QString &icon, const QString &text, const QString &name, const QColor &textColour);
    // A caption of the mixer pages: a plain label named `name`.
    static QLabel *addCaption(QWidget *parent, const QRect &geometry, const QString &text, const QFont &font,
        Qt::Alignment alignment, const QString &name);
    // The "Radio" caption and switch at the bottom left, which switch between the monitoring mix and the headphones'
    // own mixes; the switch shows whether the monitoring mix is on. Object names: `prefix` + "RadioCaption" and
    // `prefix` + "Radio".
    QVexmarButton *addRadioSwitch(const QString &prefix, bool monitoringMix);
    // The device refused a change: "Failed to apply changes!" over the page, the message named `name`.
    void showApplyFailed(const QString &name);
    // Whether this page is the one the screen shows (or would show, while the screen itself is hidden).
    bool isShownPage() const;
    // The text colour of what stands for the page shown.
    static QColor currentPageColour();

    // A touch of a crosspoint: its node written, then the crosspoint shown as the device has it.
    void nodeClicked(bool checked);
    // Every crosspoint once the matrix is read (state 0), one as its node changes. Pages with other controls on
    // the matrix extend them.
    virtual void matrixControllerStateChanged(TComController *sender);
    virtual void matrixNodeChanged(QVexmar::Inputs in, QVexmar::Outputs ou);

private slots:
    void updateAes67Button(TComDevice::DeviceState state);

private:
    // A button of the navigation row at x (y 548, 120 x 90), drawn like the home button in the 26 px font, with
    // its caption under it. Object names: `name` and `name` + "Caption".
    QVexmarButton *addNavigationButton(
        int x, const QString &icon, const QString &text, const QString &name, QLabel **caption);
    // The button to the "AES67" output page: white and usable, or grey and disabled.
    void showAes67Button(bool usable);
    // The caption's text colour in every colour group.

    // By input * crosspointKey + output. Not owned.
    QHash<int, QVexmarMatrixNode *> m_crosspoints;
};
