#include "pages/vexmarmixerbasepage.h"

#include "controllers/tmatrixsettings.h"
#include "device/accessors.h"
#include "device/tcomdevice.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmaricon.h"
#include "widgets/vexmarlook.h"
#include "widgets/vexmarmatrix.h"
#include "widgets/vexmarmessage.h"

#include <QCoreApplication>
#include <QIcon>
#include <QLabel>

namespace {

constexpr int firstDockInput = 2;
constexpr int lastDockInput = 13;
constexpr int firstAes67Input = 6;
constexpr int lastAes67Input = 13;
constexpr int blockedInput = 18;
constexpr int playerLeftInput = 16;
constexpr int playerRightInput = 17;
constexpr int crosspointKey = 64;

const QColor aes67Grey(127, 127, 127);
const QColor currentPageBlue(0x66, 0x99, 0xff);

// A row as written in the source: the label untranslated.
struct RowText
{
    int in;
    int in2;
    const char *label;
};

struct StripText
{
    int x;
    int y;
    int in;
    int stereo;
    const char *label;
};

template<size_t N>
QVector<MixerRow> translatedRows(const char *context, const RowText (&rows)[N])
{
    QVector<MixerRow> table;
    for (const RowText &row : rows)
        table.append({row.in, row.in2, QCoreApplication::translate(context, row.label)});
    return table;
}

// clang-format off
const RowText inputRows[] = {
    {0, 0, QT_TRANSLATE_NOOP("QVexmarMixerInputPage", "MIC 1")},
    {1, 1, QT_TRANSLATE_NOOP("QVexmarMixerInputPage", "MIC 2")},
    {2, 2, QT_TRANSLATE_NOOP("QVexmarMixerInputPage", "MIC A")},
    {3, 3, QT_TRANSLATE_NOOP("QVexmarMixerInputPage", "MIC B")},
    {4, 4, QT_TRANSLATE_NOOP("QVexmarMixerInputPage", "AES3 L")},
    {5, 5, QT_TRANSLATE_NOOP("QVexmarMixerInputPage", "AES3 R")},
    {20, 21, QT_TRANSLATE_NOOP("QVexmarMixerInputPage", "Stream\n1 Rx")},
    {22, 23, QT_TRANSLATE_NOOP("QVexmarMixerInputPage", "Stream\n2 Rx")},
    {19, 19, QT_TRANSLATE_NOOP("QVexmarMixerInputPage", "Voice\nRx")},
    {16, 17, QT_TRANSLATE_NOOP("QVexmarMixerInputPage", "Player")},
    {14, 15, QT_TRANSLATE_NOOP("QVexmarMixerInputPage", "USB")},
    {6, 6, QT_TRANSLATE_NOOP("QVexmarMixerInputPage", "AES67\nTB1")},
    {7, 7, QT_TRANSLATE_NOOP("QVexmarMixerInputPage", "AES67\nTB2")},
    {8, 8, QT_TRANSLATE_NOOP("QVexmarMixerInputPage", "AES67\nTB3")},
    {9, 9, QT_TRANSLATE_NOOP("QVexmarMixerInputPage", "AES67\nTB4")},
    {10, 10, QT_TRANSLATE_NOOP("QVexmarMixerInputPage", "AES67\nTB5")},
    {11, 11, QT_TRANSLATE_NOOP("QVexmarMixerInputPage", "AES67\nTB6")},
    {12, 12, QT_TRANSLATE_NOOP("QVexmarMixerInputPage", "AES67\nTB7")},
    {13, 13, QT_TRANSLATE_NOOP("QVexmarMixerInputPage", "AES67\nTB8")},
};

const RowText output1Rows[] = {
    {0, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "MIC 1")},
    {1, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "MIC 2")},
    {2, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "MIC A")},
    {3, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "MIC B")},
    {4, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "AES3 L")},
    {5, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "AES3 R")},
    {24, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "Stream\n1 Tx L")},
    {25, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "Stream\n1 Tx R")},
    {26, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "Stream\n2 Tx L")},
    {27, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "Stream\n2 Tx R")},
    {28, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "Voice\nTx")},
    {20, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "Stream\n1 Rx L")},
    {21, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "Stream\n1 Rx R")},
    {22, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "Stream\n2 Rx L")},
    {23, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "Stream\n2 Rx R")},
    {19, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "Voice\nRx")},
    {16, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "Player L")},
    {17, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "Player R")},
    {14, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "USB L")},
    {15, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "USB R")},
    {6, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "AES67\nTB1")},
    {7, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "AES67\nTB2")},
    {8, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "AES67\nTB3")},
    {9, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "AES67\nTB4")},
    {10, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "AES67\nTB5")},
    {11, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "AES67\nTB6")},
    {12, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "AES67\nTB7")},
    {13, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput1Page", "AES67\nTB8")},
};

// The rows of the "LINE/USB" page without the AES67 inputs.
const RowText output2Rows[] = {
    {0, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput2Page", "MIC 1")},
    {1, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput2Page", "MIC 2")},
    {2, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput2Page", "MIC A")},
    {3, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput2Page", "MIC B")},
    {4, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput2Page", "AES3 L")},
    {5, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput2Page", "AES3 R")},
    {24, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput2Page", "Stream\n1 Tx L")},
    {25, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput2Page", "Stream\n1 Tx R")},
    {26, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput2Page", "Stream\n2 Tx L")},
    {27, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput2Page", "Stream\n2 Tx R")},
    {28, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput2Page", "Voice\nTx")},
    {20, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput2Page", "Stream\n1 Rx L")},
    {21, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput2Page", "Stream\n1 Rx R")},
    {22, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput2Page", "Stream\n2 Rx L")},
    {23, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput2Page", "Stream\n2 Rx R")},
    {19, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput2Page", "Voice\nRx")},
    {16, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput2Page", "Player L")},
    {17, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput2Page", "Player R")},
    {14, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput2Page", "USB L")},
    {15, 0, QT_TRANSLATE_NOOP("QVexmarMixerOutput2Page", "USB R")},
};

const StripText headphoneStrips[] = {
    {5, 30, 0, 0, QT_TRANSLATE_NOOP("QVexmarMixerMonitoring2Page", "MIC 1")},
    {165, 30, 1, 0, QT_TRANSLATE_NOOP("QVexmarMixerMonitoring2Page", "MIC 2")},
    {325, 30, 2, 0, QT_TRANSLATE_NOOP("QVexmarMixerMonitoring2Page", "MIC A")},
    {485, 30, 3, 0, QT_TRANSLATE_NOOP("QVexmarMixerMonitoring2Page", "MIC B")},
    {645, 30, 4, 0, QT_TRANSLATE_NOOP("QVexmarMixerMonitoring2Page", "AES3 L")},
    {805, 30, 5, 0, QT_TRANSLATE_NOOP("QVexmarMixerMonitoring2Page", "AES3 R")},
    {965, 30, 16, 1, QT_TRANSLATE_NOOP("QVexmarMixerMonitoring2Page", "Player")},
    {5, 200, 24, 1, QT_TRANSLATE_NOOP("QVexmarMixerMonitoring2Page", "Stream 1\nTx")},
    {165, 200, 26, 1, QT_TRANSLATE_NOOP("QVexmarMixerMonitoring2Page", "Stream 2\nTx")},
    {325, 200, 28, 0, QT_TRANSLATE_NOOP("QVexmarMixerMonitoring2Page", "Voice\nTx")},
    {485, 200, 20, 1, QT_TRANSLATE_NOOP("QVexmarMixerMonitoring2Page", "Stream 1\nRx")},
    {645, 200, 22, 1, QT_TRANSLATE_NOOP("QVexmarMixerMonitoring2Page", "Stream 2\nRx")},
    {805, 200, 19, 0, QT_TRANSLATE_NOOP("QVexmarMixerMonitoring2Page", "Voice\nRx")},
    {965, 200, 14, 1, QT_TRANSLATE_NOOP("QVexmarMixerMonitoring2Page", "USB")},
    {5, 370, 6, 0, QT_TRANSLATE_NOOP("QVexmarMixerMonitoring2Page", "AES67\nTB1")},
    {165, 370, 7, 0, QT_TRANSLATE_NOOP("QVexmarMixerMonitoring2Page", "AES67\nTB2")},
    {325, 370, 8, 0, QT_TRANSLATE_NOOP("QVexmarMixerMonitoring2Page", "AES67\nTB3")},
    {485, 370, 9, 0, QT_TRANSLATE_NOOP("QVexmarMixerMonitoring2Page", "AES67\nTB4")},
    {645, 370, 10, 0, QT_TRANSLATE_NOOP("QVexmarMixerMonitoring2Page", "AES67\nTB5")},
    {805, 370, 11, 0, QT_TRANSLATE_NOOP("QVexmarMixerMonitoring2Page", "AES67\nTB6")},
    {965, 370, 12, 0, QT_TRANSLATE_NOOP("QVexmarMixerMonitoring2Page", "AES67\nTB7")},
    {1125, 370, 13, 0, QT_TRANSLATE_NOOP("QVexmarMixerMonitoring2Page", "AES67\nTB8")},
};
// clang-format on

bool isPlayerInput(int in)
{
    return in == playerLeftInput || in == playerRightInput;
}

bool recorderMissing(unsigned deviceOptions)
{
    return !(deviceOptions & TComDevice::OptRecord);
}

// The crosspoint as the device has it. Emits no clicked(): the page's own slots stay quiet.
void showNode(QVexmarMatrixNode *node)
{
    node->setChecked(getMatrixSettings()->node(QVexmar::Inputs(node->input), QVexmar::Outputs(node->output)).on());
}

} // namespace

const QVector<MixerRow> &inputPageRows()
{
    static const QVector<MixerRow> rows = translatedRows("QVexmarMixerInputPage", inputRows);
    return rows;
}

const QVector<MixerRow> &output1PageRows()
{
    static const QVector<MixerRow> rows = translatedRows("QVexmarMixerOutput1Page", output1Rows);
    return rows;
}

const QVector<MixerRow> &output2PageRows()
{
    static const QVector<MixerRow> rows = translatedRows("QVexmarMixerOutput2Page", output2Rows);
    return rows;
}

const QVector<MixerStrip> &monitoring2Strips()
{
    static const QVector<MixerStrip> strips = [] {
        QVector<MixerStrip> table;
        for (const StripText &strip : headphoneStrips)
            table.append({strip.x, strip.y, strip.in, strip.in, strip.stereo,
                QCoreApplication::translate("QVexmarMixerMonitoring2Page", strip.label)});
        return table;
    }();
    return strips;
}

bool isRecorderMissing()
{
    return recorderMissing(getDevice()->deviceOptions());
}

bool isDockInput(int in)
{
    return in >= firstDockInput && in <= lastDockInput;
}

bool isAes67Input(int in)
{
    return in >= firstAes67Input && in <= lastAes67Input;
}

bool isBlockedInput(int in)
{
    return in == blockedInput;
}

bool isPlayerInputDisabled(int in)
{
    return isPlayerInput(in) && isRecorderMissing();
}

MixerDeviceFacts mixerDeviceFacts()
{
    const TComDevice *device = getDevice();
    return {device->deviceOptions(), device->dockingDetected()};
}

bool isMixerInputAvailable(int in, MixerMoment moment, bool current, const MixerDeviceFacts &facts)
{
    if (isPlayerInput(in))
        return !recorderMissing(facts.deviceOptions);
    if (moment == MixerMoment::Login)
        return !isDockInput(in) && !isBlockedInput(in);
    if (!facts.docked)
        return current;
    if (!(facts.deviceOptions & TComDevice::OptRavenna))
        return !isAes67Input(in) && !isBlockedInput(in);
    return !isBlockedInput(in);
}

QVexmar::Page headphonePage()
{
    return getMatrixSettings()->matrixOptions() & TMatrixSettings::HeadphoneMixes ? QVexmar::Monitoring2Headphone1Page
                                                                                  : QVexmar::Monitoring1Page;
}

QVexmarMixerBasePage::QVexmarMixerBasePage(QWidget *parent) : QVexmarPageWidget(parent)
{
    homeButton = Look::iconButton(contentFrame, QRect(1154, 548, 120, 90), QStringLiteral(":/images/home.png"));
    connect(homeButton, &QAbstractButton::clicked, this, &QVexmarMixerBasePage::homeButtonClicked);
    connect(getDevice(), &TComDevice::deviceStateChanged, this, &QVexmarMixerBasePage::updateAes67Button);
    TMatrixSettings *matrix = getMatrixSettings();
    connect(matrix, &TComController::controllerStateChanged, this, &QVexmarMixerBasePage::matrixControllerStateChanged);
    connect(matrix, &TMatrixSettings::nodeChanged, this, &QVexmarMixerBasePage::matrixNodeChanged);
}

QVexmarMixerBasePage::~QVexmarMixerBasePage() = default;

void QVexmarMixerBasePage::homeButtonClicked()
{
    emit pageActivated(QVexmar::HomePage);
}

void QVexmarMixerBasePage::headphoneClicked()
{
    emit pageActivated(headphonePage());
}

void QVexmarMixerBasePage::mixerInputClicked()
{
    emit pageActivated(QVexmar::MixerInputPage);
}

void QVexmarMixerBasePage::mixerOutput1Clicked()
{
    emit pageActivated(QVexmar::MixerOutput1Page);
}

void QVexmarMixerBasePage::mixerOutput2Clicked()
{
    emit pageActivated(QVexmar::MixerOutput2Page);
}

QFont QVexmarMixerBasePage::mixerFont() const
{
    return Look::pixelFont(font(), 26);
}

void QVexmarMixerBasePage::resetControls()
{
    if (aes67Caption)
        showAes67Button(false);
}

void QVexmarMixerBasePage::updateAes67Button(TComDevice::DeviceState state)
{
    const MixerDeviceFacts facts = mixerDeviceFacts();
    if (aes67Caption && state == TComDevice::ModelReady && facts.docked
        && (facts.deviceOptions & TComDevice::OptRavenna))
        showAes67Button(true);
}

void QVexmarMixerBasePage::addNavigationRow(const QString &prefix, QVexmar::Page own)
{
    const struct
    {
        QVexmar::Page page;
        const char *whiteIcon;
        const char *blueIcon;
        QString text;
        const char *name;
        void (QVexmarMixerBasePage::*slot)();
        QVexmarButton **button;
    } targets[] = {
        {QVexmar::Monitoring1Page, ":/images/headphone-white.png", ":/images/headphone-blue.png", tr("1, 2/B, A"),
            "HeadphoneButton", &QVexmarMixerBasePage::headphoneClicked, &headphoneButton},
        {QVexmar::MixerInputPage, ":/images/input-white.png", ":/images/input-blue.png", tr("STREAMS"), "StreamsButton",
            &QVexmarMixerBasePage::mixerInputClicked, &streamsButton},
        {QVexmar::MixerOutput1Page, ":/images/output-white.png", ":/images/output-blue.png", tr("LINE/USB"),
            "LineUsbButton", &QVexmarMixerBasePage::mixerOutput1Clicked, &lineUsbButton},
        {QVexmar::MixerOutput2Page, ":/images/output-white.png", ":/images/output-blue.png", tr("AES67"), "Aes67Button",
            &QVexmarMixerBasePage::mixerOutput2Clicked, &aes67Button},
    };
    const bool headphonePage = own == QVexmar::Monitoring2Headphone1Page || own == QVexmar::Monitoring2Headphone2Page
        || own == QVexmar::Monitoring2Headphone3Page;
    for (int k = headphonePage ? 1 : 0; k < 4; ++k) {
        const auto &target = targets[k];
        const bool current = target.page == own;
        QLabel *caption = nullptr;
        *target.button = addNavigationButton(514 + 160 * k, QLatin1String(current ? target.blueIcon : target.whiteIcon),
            target.text, prefix + QLatin1String(target.name), &caption);
        if (current) {
            Look::setTextColour(caption, currentPageBlue);
            continue;
        }
        connect(*target.button, &QAbstractButton::clicked, this, target.slot);
        if (target.button == &aes67Button) {
            aes67Caption = caption;
            showAes67Button(false);
        }
    }
}

QVexmarButton *QVexmarMixerBasePage::addNavigationButton(
    int x, const QString &icon, const QString &text, const QString &name, QLabel **caption)
{
    QVexmarButton *button = addMixerButton(QRect(x, 548, 120, 90), icon, QString(), name, Qt::black);
    // A little wider than the button, centred under it: "STREAMS" is wider than 120 pixels in some fonts.
    *caption = addCaption(contentFrame, QRect(x - 10, 638, 140, 25), text, mixerFont(), Qt::AlignCenter,
        name + QStringLiteral("Caption"));
    return button;
}

QVexmarButton *QVexmarMixerBasePage::addMixerButton(
    const QRect &geometry, const QString &icon, const QString &text, const QString &name, const QColor &textColour)
{
    QVexmarButton *button = Look::iconButton(contentFrame, geometry, icon);
    button->setObjectName(name);
    Look::setTextColour(button, textColour);
    button->setFont(mixerFont());
    button->setText(text);
    return button;
}

QLabel *QVexmarMixerBasePage::addCaption(QWidget *parent, const QRect &geometry, const QString &text, const QFont &font,
    Qt::Alignment alignment, const QString &name)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAlignment(alignment);
    label->setFont(font);
    return label;
}

QVexmarButton *QVexmarMixerBasePage::addRadioSwitch(const QString &prefix, bool monitoringMix)
{
    addCaption(contentFrame, QRect(34, 578, 120, 25), tr("Radio"), mixerFont(), Qt::AlignCenter,
        prefix + QStringLiteral("RadioCaption"));
    return addMixerButton(QRect(58, 608, 72, 50),
        monitoringMix ? QStringLiteral(":/images/switch_on.png") : QStringLiteral(":/images/switch_off.png"), QString(),
        prefix + QStringLiteral("Radio"), Qt::white);
}

void QVexmarMixerBasePage::showApplyFailed(const QString &name)
{
    showMessage(tr("Failed to apply changes!"), 0)->setObjectName(name);
}

bool QVexmarMixerBasePage::isShownPage() const
{
    // The screen's page stack hides every page but the one it shows.
    return isVisibleTo(window());
}

QColor QVexmarMixerBasePage::currentPageColour()
{
    return currentPageBlue;
}

void QVexmarMixerBasePage::showAes67Button(bool usable)
{
    Look::setTextColour(aes67Caption, usable ? QColor(Qt::white) : aes67Grey);
    aes67Button->setIcon(
        lazyIcon(usable ? QStringLiteral(":/images/output-white.png") : QStringLiteral(":/images/output-gray.png")));
    aes67Button->setEnabled(usable);
}

void QVexmarMixerBasePage::addCrosspoint(QVexmarMatrixNode *node)
{
    m_crosspoints.insert(node->input * crosspointKey + node->output, node);
    connect(node, &QAbstractButton::clicked, this, &QVexmarMixerBasePage::nodeClicked);
}

void QVexmarMixerBasePage::writeCrosspoint(QVexmar::Inputs in, QVexmar::Outputs ou, bool checked)
{
    getMatrixSettings()->setNode(in, ou, checked);
}

void QVexmarMixerBasePage::nodeClicked(bool checked)
{
    auto *node = qobject_cast<QVexmarMatrixNode *>(sender());
    if (!node)
        return;
    writeCrosspoint(QVexmar::Inputs(node->input), QVexmar::Outputs(node->output), checked);
    // The click turned the check before the device answered: it shows what the device has.
    showNode(node);
}

void QVexmarMixerBasePage::matrixControllerStateChanged(TComController *sender)
{
    if (sender->state() != TComController::Loaded)
        return;
    for (QVexmarMatrixNode *node : qAsConst(m_crosspoints))
        showNode(node);
}

void QVexmarMixerBasePage::matrixNodeChanged(QVexmar::Inputs in, QVexmar::Outputs ou)
{
    if (QVexmarMatrixNode *node = m_crosspoints.value(in * crosspointKey + ou))
        showNode(node);
}
