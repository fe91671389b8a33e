#include "screen/vexmarloginpage.h"

#include "controllers/tcomrpcaccess.h"
#include "device/accessors.h"
#include "device/vexmaraccess.h"
#include "rpc/ccom.h"
#include "rpc/kramsg.h"
#include "rpc/rpcconvert.h"
#include "rpc/rpcvocabulary.h"
#include "screen/vexmarstatusbar.h"
#include "screen/vexmarwindow.h"
#include "settings/vexmarsettingspage.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarcontrols.h"
#include "widgets/vexmarlook.h"
#include "widgets/vexmarvirtual.h"

#include <QLabel>

#include <unistd.h>

namespace {

// The firmware this application was made for: a device whose major.minor is newer gets the update notice.
const char knownFirmware[] = "1.01.04.0";
constexpr unsigned majorMinorMask = 0xFFFF00;
constexpr unsigned unknownFirmware = 0xFFFFFF;
const char levelProperty[] = "vkb_accessLevel";

bool connected()
{
    return getCom()->state() == RpcConnection::ConnectedState;
}

} // namespace

QVexmarLoginPage::QVexmarLoginPage(QVexmarWindow *screen) : QWidget(screen), window(screen)
{
    const QPalette labelPalette = Look::dark(palette());
    const QPalette buttonPalette = Look::lightButton(palette());
    const QFont labelFont = Look::pixelFont(font(), 34);

    const struct
    {
        QVexmarSwitch **levelSwitch;
        const char *text;
        int y;
    } levels[] = {{&operatorSwitch, QT_TR_NOOP("Operator"), 170}, {&expertSwitch, QT_TR_NOOP("Expert"), 250},
        {&administratorSwitch, QT_TR_NOOP("Administrator"), 330}};
    for (const auto &level : levels) {
        auto *levelSwitch = new QVexmarSwitch(this);
        levelSwitch->setGeometry(550, level.y, 72, 50);
        levelSwitch->setCheckable(true);
        // The switch of the level in force is disabled but must not look greyed.
        levelSwitch->setDisabledLook(false);
        connect(levelSwitch, &QAbstractButton::clicked, this, &QVexmarLoginPage::switchClicked);
        *level.levelSwitch = levelSwitch;
        auto *label = new QLabel(tr(level.text), this);
        label->setGeometry(640, level.y + 2, 240, 44);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setPalette(labelPalette);
        label->setFont(labelFont);
    }

    loginButton = new QVexmarButton(this);
    loginButton->setGeometry(505, 420, 160, 90);
    loginButton->borderWidth = 4;
    loginButton->setPalette(buttonPalette);
    loginButton->setFont(labelFont);
    loginButton->setText(tr("Log in"));
    connect(loginButton, &QAbstractButton::clicked, this, &QVexmarLoginPage::buttonClicked);
}

QVexmarLoginPage::~QVexmarLoginPage() = default;

void QVexmarLoginPage::showEvent(QShowEvent *event)
{
    QVexmarSwitch *const switches[] = {operatorSwitch, expertSwitch, administratorSwitch};
    for (int level = 0; level < 3; ++level) {
        switches[level]->setChecked(g_accessLevel == level);
        switches[level]->setEnabled(g_accessLevel != level);
    }
    QWidget::showEvent(event);
}

void QVexmarLoginPage::switchClicked()
{
    // The chosen switch cannot be clicked again, so exactly one is on.
    for (QVexmarSwitch *levelSwitch : {operatorSwitch, expertSwitch, administratorSwitch}) {
        const bool chosen = levelSwitch == sender();
        levelSwitch->setChecked(chosen);
        levelSwitch->setEnabled(!chosen);
    }
}

void QVexmarLoginPage::buttonClicked()
{
    if (!window)
        return;
    if (!connected()) {
        window->showMessagePopup(tr("Not connected!"), 0);
        return;
    }
    kra::CMsg request(kra::CMsg::Param);
    request.params[kra::KEY_TARGET] = kra::TGT_GENERAL;
    request.addGet(kra::KEY_DEVICE);
    request.addGet(kra::KEY_VERSION);
    request.addGet(kra::KEY_BUILDDATE);
    std::map<std::string, std::string> values;
    std::map<std::string, std::string> errors;
    if (TComRpcAccess(getCom()).getParams(request, values, errors, requestTimeoutMs) != int(request.getNames.size())) {
        window->showMessagePopup(tr("Not connected!"), 0);
        return;
    }
    const auto device = values.find(kra::KEY_DEVICE);
    if (device == values.end() || device->second != kra::DEVICE_QUORVANE) {
        window->showMessagePopup(tr("Remote device is not\na Quorvane!"), 0);
        return;
    }

    const auto version = values.find(kra::KEY_VERSION);
    if (version == values.end() || version->second.empty()) {
        g_deviceFirmwareVersion = unknownFirmware;
    } else {
        g_deviceFirmwareVersion = parseFirmwareVersion(version->second.c_str());
        // Only major and minor count; the notice does not stop the login.
        if ((g_deviceFirmwareVersion & majorMinorMask) > (parseFirmwareVersion(knownFirmware) & majorMinorMask))
            window->showMessagePopup(tr("Newer firmware detected on this\nunit (Version %1)\n\nAn update of the \"My "
                                        "Quorvane\" application is recommended to access all the features of the "
                                        "device")
                                         .arg(latin1ToQString(version->second)),
                0);
    }

    const int level = administratorSwitch->isChecked() ? 2 : expertSwitch->isChecked() ? 1 : 0;
    QVexmarSettingsPage *settings = window->settingsPage();
    // Without the device's passwords the ones of an earlier device, or none at all, would decide.
    if (!settings->loadAccessPasswords(0)) {
        window->showMessagePopup(tr("Not connected!"), 0);
        return;
    }
    if (settings->accessPassword(level).isEmpty()) {
        loggedIn(level);
        return;
    }
    auto *keyboard = new QVexmarVirtual(true, this);
    keyboard->placeOver(this);
    keyboard->titleLabel.setText(tr("Enter Password"));
    keyboard->lineEdit.clear();
    keyboard->lineEdit.setEchoMode(QLineEdit::Password);
    keyboard->setProperty(levelProperty, level);
    connect(keyboard, &QVexmarPopup::popupClosed, this, &QVexmarLoginPage::keyboardClosed);
    keyboard->show();
}

void QVexmarLoginPage::keyboardClosed()
{
    auto *keyboard = qobject_cast<QVexmarVirtual *>(sender());
    if (!window || !keyboard || keyboard->cancelled != 0)
        return;
    keyboard->hide();
    // The connection may have gone while the keyboard was open.
    if (!connected()) {
        window->showMessagePopup(tr("Not connected!"), 0);
        return;
    }
    const int level = keyboard->property(levelProperty).toInt();
    if (keyboard->lineEdit.text() != window->settingsPage()->accessPassword(level)) {
        window->showMessagePopup(tr("Wrong password!"), 0);
        return;
    }
    loggedIn(level);
}

void QVexmarLoginPage::loggedIn(int level)
{
    g_accessLevel = level;
    window->pageActivated(QVexmar::HomePage);
    window->statusBar()->show();
    window->applyAccessLevel();
}

QVexmarInputReader::~QVexmarInputReader()
{
    close();
}

int QVexmarInputReader::open(const char *)
{
    return 0;
}

void QVexmarInputReader::close()
{
    if (notifier) {
        notifier->disconnect();
        delete notifier;
        notifier = nullptr;
    }
    if (descriptor != -1) {
        ::close(descriptor);
        descriptor = -1;
    }
}
