// The mobile controller against the simulated device: the frames it sends, their time-outs, the values it
// holds and the SIM and registration state it reports.

#include "controllers/tcommobilecontroller.h"
#include "rpc/rpcvocabulary.h"
#include "tests/rpctesting.h"

#include <QtTest>

#include <functional>
#include <map>
#include <memory>

using namespace rpctesting;

namespace {

const std::string iface = "network:mobile.0";
const QByteArray header = "PARAM|network=mobile.0|target=network";

using Mobile = TComMobileController;

// Every value the controller holds: the texts, then mode, rat, authentication, data-connection state, network
// quality, jitter-buffer profile, signal, technology and the flags echo cancel, noise gate, diversity, PIN kept,
// data connection and wideband voice.
QByteArray held(const Mobile &m)
{
    QByteArray out;
    for (const std::string &text : {m.manufacturer(), m.model(), m.revision(), m.imei(), m.imsi(), m.msisdn(), m.plmn(),
             m.apn(), m.username(), m.password(), m.operatorLong(), m.operatorShort()})
        out += QByteArray::fromStdString(text) + '|';
    for (const int n : {m.mode(), m.rat(), m.authentication(), m.dataConnectionState(), m.networkQuality(),
             m.ajbProfile(), m.signalQuality(), m.technology(), int(m.echoCancel()), int(m.noiseGate()),
             int(m.diversity()), int(m.pinPersistent()), int(m.dataConnection()), int(m.widebandVoice())})
        out += ' ' + QByteArray::number(n);
    return out;
}

// held() as a list: the twelve texts, then the fourteen numbers.
QByteArrayList heldFields(const Mobile &m)
{
    QByteArrayList fields = held(m).split('|');
    const QByteArray numbers = fields.takeLast();
    return fields + numbers.split(' ').mid(1);
}

// Writes a value through the setter of its key, with send; numbers for all but the texts.
bool sendValue(Mobile &m, const QByteArray &key, const QByteArray &value)
{
    const std::string text = value.toStdString();
    const int number = value.toInt();
    const std::map<QByteArray, std::function<bool()>> setters = {
        {"mode", [&] { return m.setMode(number, true); }},
        {"echo_cancel", [&] { return m.setEchoCancel(number, true); }},
        {"noise_gate", [&] { return m.setNoiseGate(number, true); }},
        {"diversity", [&] { return m.setDiversity(number, true); }},
        {"rat", [&] { return m.setRat(number, true); }},
        {"plmn", [&] { return m.setPlmn(text, true); }},
        {"pin_persistent", [&] { return m.setPinPersistent(number, true); }},
        {"apn", [&] { return m.setApn(text, true); }},
        {"data_connection", [&] { return m.setDataConnection(number, true); }},
        {"username", [&] { return m.setUsername(text, true); }},
        {"password", [&] { return m.setPassword(text, true); }},
        {"authentication", [&] { return m.setAuthentication(number, true); }},
        {"network_quality", [&] { return m.setNetworkQuality(number, true); }},
        {"ajb_profile", [&] { return m.setAjbProfile(number, true); }},
    };
    return setters.at(key)();
}

} // namespace

class TestMobileController : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void simState_data();
    void simState();
    void networkInfo_data();
    void networkInfo();
    void enterPin_data();
    void enterPin();
    void choiceLists_data();
    void choiceLists();
    void fetchAllAndReset();
    void setters_data();
    void setters();
    void plmn();
    void store_data();
    void store();
    void events();
    void wireKeys_data();
    void wireKeys();

private:
    QByteArrayList takeFrames() { return m_bench->takeFrames(); }
    QList<qint64> takeTimeouts() { return m_bench->takeTimeouts(); }

    std::unique_ptr<DeviceBench> m_bench;
    SimDevice *m_device = nullptr;
    std::unique_ptr<Mobile> m_mobile;
};

void TestMobileController::init()
{
    m_bench = std::make_unique<DeviceBench>();
    m_device = &m_bench->device;
    QVERIFY(m_bench->connect());
    m_mobile = std::make_unique<Mobile>(&m_bench->com);
}

void TestMobileController::cleanup()
{
    m_mobile.reset();
    m_bench.reset();
}

void TestMobileController::simState_data()
{
    QTest::addColumn<QByteArray>("pin"); // empty: not set
    QTest::addColumn<QByteArray>("registration");
    QTest::addColumn<bool>("failed");
    QTest::addColumn<int>("state");
    const auto row = [](const char *name, const char *pin, const char *registration, int state, bool failed = false) {
        QTest::newRow(name) << QByteArray(pin) << QByteArray(registration) << failed << state;
    };

    row("registered", "ready", "home", Mobile::Registered);
    row("not registered", "ready", "123-not registered", Mobile::NotRegistered);
    row("not allowed", "ready", "015-not allowed", Mobile::NotAllowed);
    row("registration not set", "ready", "", Mobile::StatusUnknown);
    // "200" also stands for no error text; the text itself is an error all the same.
    row("registration an unknown error", "ready", "200-unknown error", Mobile::StatusUnknown);
    row("sim missing", "010-sim missing", "123-not registered", Mobile::SimMissing);
    row("sim locked", "011-sim locked", "123-not registered", Mobile::SimLocked);
    row("pin required", "122-pin required", "123-not registered", Mobile::PinRequired);
    row("puk required", "124-puk required", "123-not registered", Mobile::SimLocked);
    row("other pin error", "017-sim busy", "123-not registered", Mobile::StatusUnknown);
    row("request failed", "ready", "home", Mobile::StatusUnknown, true);
}

void TestMobileController::simState()
{
    QFETCH(QByteArray, pin);
    QFETCH(QByteArray, registration);
    QFETCH(bool, failed);
    QFETCH(int, state);

    if (!pin.isEmpty())
        m_device->setParam(iface, "pin", pin.toStdString());
    if (!registration.isEmpty())
        m_device->setParam(iface, "registration_state", registration.toStdString());
    for (int i = 0; failed && i < 2; ++i)
        m_device->addFault(fault(SimDevice::Fault::ErrorReply, 7));

    QSignalSpy changed(m_mobile.get(), &TComController::controllerStateChanged);
    QVERIFY(m_mobile->attach("mobile.0", 0, false));
    QCOMPARE(m_mobile->state(), state);
    QCOMPARE(takeFrames(), QByteArrayList {header + "|GET pin|GET registration_state"});
    QCOMPARE(changed.count(), state == Mobile::StatusUnknown ? 1 : 2);

    // Read on its own, a failed request tells nothing and leaves the caller's state.
    int read = 99;
    QCOMPARE(m_mobile->readSimState(read), !failed);
    QCOMPARE(read, failed ? 99 : state);
}

void TestMobileController::networkInfo_data()
{
    QTest::addColumn<QByteArray>("info");
    QTest::addColumn<QByteArray>("model"); // "-": the controller stays detached
    // taken or left | state | operator names long/short | signal | technology | wideband voice
    QTest::addColumn<QByteArray>("seen");
    const auto row = [](const char *name, const QByteArray &info, const QByteArray &model, const QByteArray &seen) {
        QTest::newRow(name) << info << model << seen;
    };

    const QByteArray own = "INFO;info_type:network_info;info_source:mobile.0;";
    const QByteArray home = own + "registration_state:home;";
    row("registered", home + "operator_long:Telco One;operator_short:T1;signal_quality:-85 dBm;technology:LTE;", "",
        "taken|0|Telco One/T1|-85|2|-");
    row("not registered",
        own
            + "registration_state:123-not registered;operator_short:T1;signal_quality:-85dBm;"
              "technology:GSM COMPACT;",
        "", "taken|2|/|-85|0|-");
    row("not registered, but an operator",
        own + "registration_state:123-not registered;operator_long:Telco One;signal_quality:17;technology:5G;", "",
        "taken|0|Telco One/|17|3|-");
    row("operator name is an error", home + "operator_long:010-sim missing;technology:UMTS;", "", "taken|4|/|0|1|-");
    row("not allowed", own + "registration_state:015-not allowed;operator_long:Telco One;", "", "taken|3|/|0|-1|-");
    row("no registration state", own + "operator_long:Telco One;", "", "taken|1|/|0|-1|-");
    row("wideband on the named modem", home + "codec_info:UAWB;", "HE910-D", "taken|0|/|0|-1|wide");
    row("full band on the named modem", home + "codec_info:FAWB;", "HE910", "taken|0|/|0|-1|wide");
    row("narrowband on the named modem", home + "codec_info:NB;", "HE910-D", "taken|0|/|0|-1|-");
    row("wideband on another modem", home + "codec_info:UAWB;", "LE910", "taken|0|/|0|-1|-");
    row("another interface", "INFO;info_type:network_info;info_source:mobile.1;registration_state:home;", "",
        "left|1|Old/O|0|-1|-");
    row("another info", "INFO;info_type:signal_quality;info_source:mobile.0;registration_state:home;", "",
        "left|1|Old/O|0|-1|-");
    // A detached controller has no interface; a message that names none is not its own.
    row("no source, detached", "INFO;info_type:network_info;registration_state:home;", "-", "left|-1|/|0|-1|-");
}

void TestMobileController::networkInfo()
{
    QFETCH(QByteArray, info);
    QFETCH(QByteArray, model);
    QFETCH(QByteArray, seen);

    m_device->setParam(iface, "model", model.toStdString());
    m_device->setParam(iface, "operator_long", "Old");
    m_device->setParam(iface, "operator_short", "O");
    if (model != "-") {
        QVERIFY(m_mobile->attach("mobile.0", 0, false));
        QVERIFY(m_mobile->fetch({"model", "operator_long", "operator_short"}));
    }

    RpcMessage message = m_bench->notify(info);
    const bool taken = m_mobile->handleInfo(message);
    const Mobile &m = *m_mobile;
    QCOMPARE(QString("%1|%2|%3/%4|%5|%6|%7")
                 .arg(taken ? "taken" : "left")
                 .arg(m.state())
                 .arg(QString::fromStdString(m.operatorLong()), QString::fromStdString(m.operatorShort()))
                 .arg(m.signalQuality())
                 .arg(m.technology())
                 .arg(m.widebandVoice() ? "wide" : "-"),
        QString::fromLatin1(seen));
}

void TestMobileController::enterPin_data()
{
    QTest::addColumn<QByteArray>("refusal"); // of the "pin" write
    QTest::addColumn<QByteArray>("reply"); // scripted instead of the normal answer; "drop": none
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("state");
    const auto row = [](const char *name, const char *refusal, const char *reply, int result, int state) {
        QTest::newRow(name) << QByteArray(refusal) << QByteArray(reply) << result << state;
    };

    row("accepted", "", "", Mobile::PinAccepted, Mobile::PinRequired);
    row("wrong PIN", "100-wrong password", "", Mobile::PinWrong, Mobile::PinRequired);
    row("PUK in pin", "124-puk required", "", Mobile::PukRequired, Mobile::SimLocked);
    row("PUK by cause only", "", "PARAM;return:ERROR;cause:124-puk required;", Mobile::PukRequired, Mobile::SimLocked);
    row("other text", "103-parameter set error", "", Mobile::PinFailed, Mobile::PinRequired);
    row("refused without a text", "", "PARAM;return:ERROR;", Mobile::PinFailed, Mobile::PinRequired);
    row("no answer", "", "drop", Mobile::PinFailed, Mobile::PinRequired);
}

void TestMobileController::enterPin()
{
    QFETCH(QByteArray, refusal);
    QFETCH(QByteArray, reply);
    QFETCH(int, result);
    QFETCH(int, state);

    m_device->setParam(iface, "pin", kra::ERR_PIN_REQUIRED);
    m_device->setParam(iface, "registration_state", kra::ERR_NOT_REGISTERED);
    QVERIFY(m_mobile->attach("mobile.0", 0, false));
    QCOMPARE(m_mobile->state(), int(Mobile::PinRequired));
    takeFrames();
    takeTimeouts();

    if (!refusal.isEmpty())
        m_device->refuseKey("pin", refusal.toStdString());
    if (reply == "drop") {
        m_device->addFault(fault(SimDevice::Fault::Drop));
        // The transport logs the socket error and the connection error.
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("RpcConnection::socketError")));
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("RpcConnection::notifyErrorOccurred")));
    } else if (!reply.isEmpty()) {
        m_device->addFault(script({reply}));
    }
    QCOMPARE(m_mobile->enterPin("1234", 15000), result);
    QCOMPARE(m_mobile->state(), state);
    QCOMPARE(takeFrames(), QByteArrayList {"PARAM|network=mobile.0|pin=1234|target=network"});
    QCOMPARE(takeTimeouts(), QList<qint64> {15000});
}

void TestMobileController::choiceLists_data()
{
    QTest::addColumn<QByteArray>("failing"); // the lists whose request fails
    QTest::addColumn<int>("mask");

    // The lists offer "data", every rat but an unknown one, and "PAP".
    const int rats = 0x7FC0;
    const int ratFallback = 0x40 | 0x80 | 0x100 | 0x1000; // auto, only UMTS, only GSM, only LTE
    const auto row
        = [](const char *name, const char *failing, int mask) { QTest::newRow(name) << QByteArray(failing) << mask; };
    row("offered", "", Mobile::CanModeData | rats | Mobile::CanAuthenticationPap);
    row("mode list fails", "mode", Mobile::CanModeGsmVoice | Mobile::CanModeData | rats | Mobile::CanAuthenticationPap);
    row("rat list fails", "rat", Mobile::CanModeData | ratFallback | Mobile::CanAuthenticationPap);
    row("authentication list fails", "authentication", Mobile::CanModeData | rats);
    row("all fail", "mode,rat,authentication", Mobile::CanModeGsmVoice | Mobile::CanModeData | ratFallback);
}

void TestMobileController::choiceLists()
{
    QFETCH(QByteArray, failing);
    QFETCH(int, mask);

    m_device->setList(iface, "mode", {"data"});
    m_device->setList(iface, "rat",
        {"auto", "only UMTS", "only GSM", "UMTS first", "GSM first", "only GSM UMTS", "only LTE", "only LTE 5G",
            "only 5G", "LTE only"});
    m_device->setList(iface, "authentication", {"PAP", "none"});
    for (const std::string &name : names(failing))
        m_device->addFault(fault(SimDevice::Fault::ErrorReply, 7, name));
    // What the last binding offered does not survive a new attach.
    QVERIFY(m_mobile->attach("mobile.0", 0, false));
    QVERIFY(m_mobile->fetch({"echo_cancel"}));
    QCOMPARE(m_mobile->capabilities(), int(Mobile::CanEchoCancel));
    takeFrames();
    QVERIFY(m_mobile->attach("mobile.0", 2, false));
    QCOMPARE(m_mobile->capabilities(), mask);
    QCOMPARE(takeFrames(),
        (QByteArrayList {header + "|GET pin|GET registration_state", header + "|LIST mode", header + "|LIST rat",
            header + "|LIST authentication"}));
    // Without the flag no list is read.
    QVERIFY(m_mobile->attach("mobile.0", 0, false));
    QCOMPARE(m_mobile->capabilities(), 0);
    QCOMPARE(takeFrames().count(), 1);
}

void TestMobileController::fetchAllAndReset()
{
    const std::pair<std::string, std::string> stored[] = {{"mode", "data"}, {"manufacturer", "Maker"}, {"model", "M1"},
        {"revision", "r2"}, {"imei", "3567"}, {"imsi", "2620"}, {"echo_cancel", "on"},
        {"diversity", "102-unknown parameter"}, {"rat", "only LTE 5G"}, {"plmn", "26201"}, {"pin_persistent", "on"},
        {"apn", "internet"}, {"msisdn", "+49170"}, {"data_connection", "on"}, {"data_connection_state", "active"},
        {"username", "user"}, {"password", "secret"}, {"authentication", "CHAP"}, {"network_quality", "high"},
        {"ajb_profile", "punchy"}, {"operator_long", "ignored"}};
    for (const auto &[key, value] : stored)
        m_device->setParam(iface, key, value);
    QVERIFY(m_mobile->attach("mobile.0", 1, false));
    QCOMPARE(takeFrames().first().count("|GET "), 21);
    QCOMPARE(takeTimeouts().first(), qint64(5000));

    const Mobile &m = *m_mobile;
    QCOMPARE(
        held(m), QByteArray("Maker|M1|r2|3567|2620|+49170|26201|internet|user|secret||| 1 7 2 3 4 2 0 -1 1 0 0 1 1 0"));

    // A feature answered "not set" is there (and off); one answered with an error is not.
    QVERIFY(m_mobile->fetch({"echo_cancel", "noise_gate", "diversity"}));
    QCOMPARE(m.capabilities(), Mobile::CanEchoCancel | Mobile::CanNoiseGate);
    m_device->setParam(iface, "echo_cancel", "102-unknown parameter");
    m_device->setParam(iface, "diversity", "on");
    QVERIFY(!m_mobile->refresh("echo_cancel"));
    QVERIFY(m_mobile->refresh("diversity"));
    QCOMPARE(m.capabilities(), Mobile::CanNoiseGate | Mobile::CanDiversity);
    QVERIFY(m.echoCancel() && m.diversity());
    QVERIFY(!m_mobile->refresh("imei"));
    QCOMPARE(takeFrames(),
        (QByteArrayList {header + "|GET echo_cancel|GET noise_gate|GET diversity", header + "|GET echo_cancel",
            header + "|GET diversity"}));

    QSignalSpy changed(m_mobile.get(), &TComController::controllerStateChanged);
    m_mobile->reset();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(m.state(), int(Mobile::Detached));
    QCOMPARE(held(m), held(Mobile(&m_bench->com)));
    QCOMPARE(m.capabilities(), Mobile::CanNoiseGate | Mobile::CanDiversity);
}

void TestMobileController::setters_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("written"); // empty: nothing sent
    const auto row = [](const char *name, const char *key, int before, int value, const char *written) {
        QTest::newRow(name) << key << before << value << QByteArray(written);
    };

    row("mode -1", "mode", 1, -1, "");
    row("rat -1", "rat", 3, -1, "");
    row("network_quality -1", "network_quality", 2, -1, "");
    row("ajb_profile -1", "ajb_profile", 0, -1, "");
    row("mode data", "mode", -1, 1, "mode:data;");
    row("mode other", "mode", 1, 7, "mode:gsm_voice;");
    row("rat", "rat", -1, 6, "rat:only LTE;");
    row("authentication PAP", "authentication", 0, 1, "authentication:PAP;");
    row("authentication -1", "authentication", 2, -1, "authentication:;");
    row("unchanged", "rat", 4, 4, "");
}

void TestMobileController::setters()
{
    QFETCH(QString, key);
    QFETCH(int, before);
    QFETCH(int, value);
    QFETCH(QByteArray, written);

    using Setter = bool (Mobile::*)(int, bool);
    using Getter = int (Mobile::*)() const;
    const std::map<QString, std::pair<Setter, Getter>> members {{"mode", {&Mobile::setMode, &Mobile::mode}},
        {"rat", {&Mobile::setRat, &Mobile::rat}},
        {"network_quality", {&Mobile::setNetworkQuality, &Mobile::networkQuality}},
        {"ajb_profile", {&Mobile::setAjbProfile, &Mobile::ajbProfile}},
        {"authentication", {&Mobile::setAuthentication, &Mobile::authentication}}};
    const auto [set, held] = members.at(key);
    Mobile &m = *m_mobile;

    QVERIFY(m.attach("mobile.0", 0, false));
    takeFrames();
    takeTimeouts();
    QVERIFY((m.*set)(before, false));
    QVERIFY((m.*set)(value, true));
    QCOMPARE((m.*held)(), value);
    const bool sent = !written.isEmpty();
    QCOMPARE(takeFrames(),
        sent ? QByteArrayList {describe(body("PARAM;target:network;network:mobile.0;" + written))} : QByteArrayList());
    QCOMPARE(takeTimeouts(), sent ? QList<qint64> {5000} : QList<qint64>());

    // A refused write keeps the value.
    m_device->refuseKey(key.toStdString(), kra::ERR_INVALID_VALUE);
    QVERIFY(!(m.*set)(value == 2 ? 1 : 2, true));
    QCOMPARE((m.*held)(), value);
}

void TestMobileController::plmn()
{
    QVERIFY(m_mobile->attach("mobile.0", 0, false));
    takeFrames();
    takeTimeouts();

    QVERIFY(m_mobile->setPlmn("26201", true));
    QVERIFY(m_mobile->setPlmn("", true));
    QCOMPARE(m_mobile->plmn(), std::string("auto"));
    QVERIFY(m_mobile->setPlmn("", true));
    QVERIFY(m_mobile->setPlmn("auto", true));
    QCOMPARE(takeFrames(),
        (QByteArrayList {"PARAM|network=mobile.0|plmn=26201|target=network",
            "PARAM|network=mobile.0|plmn=auto|target=network", "PARAM|network=mobile.0|plmn=auto|target=network"}));
    QCOMPARE(takeTimeouts(), (QList<qint64> {6000, 6000, 6000}));

    m_device->refuseKey("plmn", kra::ERR_NOT_ALLOWED);
    QVERIFY(!m_mobile->setPlmn("26202", true));
    QCOMPARE(m_mobile->plmn(), std::string("auto"));
    // Unsent, the empty selection is held as the device holds it: a store must still find "auto" new.
    QVERIFY(m_mobile->setPlmn("", false));
    QCOMPARE(m_mobile->plmn(), std::string());
}

void TestMobileController::store_data()
{
    QTest::addColumn<QByteArray>("names");
    QTest::addColumn<bool>("plmnRead");
    QTest::addColumn<QByteArray>("refused");
    QTest::addColumn<QByteArray>("written"); // empty: nothing sent
    QTest::addColumn<int>("timeout");
    const auto row = [](const char *name, const char *names, bool plmnRead, const char *refused, const char *written,
                         int timeout) {
        QTest::newRow(name) << QByteArray(names) << plmnRead << QByteArray(refused) << QByteArray(written) << timeout;
    };

    row("operator and apn", "plmn,apn", true, "", "apn:internet;plmn:26201;", 60000);
    row("apn", "apn", true, "", "apn:internet;", 5000);
    row("read-only key", "imei", true, "", "", 0);
    row("never read", "mode,rat,network_quality,ajb_profile,plmn", false, "", "", 0);
    row("never-read keys skipped", "mode,echo_cancel,plmn,authentication,echo_cancel,password", false, "",
        "authentication:;echo_cancel:on;password:;", 5000);
    row("refused", "apn,data_connection", true, "data_connection", "apn:internet;data_connection:off;", 5000);
}

void TestMobileController::store()
{
    QFETCH(QByteArray, names);
    QFETCH(bool, plmnRead);
    QFETCH(QByteArray, refused);
    QFETCH(QByteArray, written);
    QFETCH(int, timeout);

    QVERIFY(m_mobile->attach("mobile.0", 0, false));
    takeFrames();
    takeTimeouts();
    QVERIFY(m_mobile->setApn("internet", false));
    QVERIFY(m_mobile->setEchoCancel(true, false));
    if (plmnRead)
        QVERIFY(m_mobile->setPlmn("26201", false));
    if (!refused.isEmpty())
        m_device->refuseKey(refused.toStdString(), kra::ERR_PARAMETER_SET_ERROR);

    const bool sent = !written.isEmpty();
    QCOMPARE(m_mobile->store(rpctesting::names(names)), sent && refused.isEmpty());
    QCOMPARE(takeFrames(),
        sent ? QByteArrayList {describe(body("PARAM;target:network;network:mobile.0;" + written))} : QByteArrayList());
    QCOMPARE(takeTimeouts(), sent ? QList<qint64> {timeout} : QList<qint64>());
    QCOMPARE(m_mobile->apn(), std::string("internet"));
    QVERIFY(!m_mobile->dataConnection());
}

void TestMobileController::events()
{
    // Detached, the controller has no interface: an event that names none is not its own.
    RpcMessage unnamed = m_bench->notify("EVENT;event_type:config info;network_mode:data;");
    QVERIFY(!m_mobile->handleEvent(unnamed));
    QVERIFY(m_mobile->attach("mobile.0", 0, false));
    const struct
    {
        QByteArray event;
        bool handled;
        int mode;
    } cases[] = {
        {"EVENT;event_type:config info;network:mobile.0;network_mode:data;", true, Mobile::ModeData},
        {"EVENT;event_type:default_network;network:mobile.0;", true, Mobile::ModeData},
        {"EVENT;event_type:default_network;network:mobile.0;network_mode:gsm_voice;", true, Mobile::ModeGsmVoice},
        {"EVENT;event_type:config info;network:mobile.1;network_mode:data;", false, Mobile::ModeGsmVoice},
        {"EVENT;event_type:call_info;network:mobile.0;network_mode:data;", false, Mobile::ModeGsmVoice},
        {"EVENT;event_type:config info;network:mobile.0;network_mode:lte;", true, Mobile::ModeUnknown},
    };
    for (const auto &c : cases) {
        RpcMessage message = m_bench->notify(c.event);
        QCOMPARE(m_mobile->handleEvent(message), c.handled);
        QCOMPARE(m_mobile->mode(), c.mode);
    }
    // Taken events only update what the controller holds: nothing goes back to the device.
    QCOMPARE(takeFrames().count(), 1);
}

// Each key as the device spells it: the read that brings it (all values, the one name, or the "network_info"
// notice, which the device sends unasked) takes the device's text under it, and a writable one is written under it.
void TestMobileController::wireKeys_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("read"); // "all", "one" or "info"
    QTest::addColumn<int>("field"); // the place in heldFields(); -1: the controller state
    QTest::addColumn<QByteArray>("device"); // what the device holds or tells
    QTest::addColumn<QByteArray>("held"); // the value read
    QTest::addColumn<QByteArray>("value"); // a value set with send ...
    QTest::addColumn<QByteArray>("sent"); // ... and its text on the wire; null: read only

    const auto row = [](const char *key, const char *read, int field, const char *device, const char *held,
                         const char *value, const char *sent) {
        QTest::newRow(key) << QByteArray(key) << QByteArray(read) << field << QByteArray(device) << QByteArray(held)
                           << QByteArray(value) << QByteArray(sent);
    };
    row("mode", "all", 12, "data", "1", "0", "gsm_voice");
    row("manufacturer", "all", 0, "Maker", "Maker", nullptr, nullptr);
    row("model", "all", 1, "M1", "M1", nullptr, nullptr);
    row("revision", "all", 2, "r2", "r2", nullptr, nullptr);
    row("imei", "all", 3, "356789", "356789", nullptr, nullptr);
    row("imsi", "all", 4, "262011", "262011", nullptr, nullptr);
    row("echo_cancel", "all", 20, "on", "1", "0", "off");
    row("noise_gate", "all", 21, "on", "1", "0", "off");
    row("diversity", "all", 22, "on", "1", "0", "off");
    row("rat", "all", 13, "only LTE", "6", "3", "UMTS first");
    row("plmn", "all", 6, "26201", "26201", "26202", "26202");
    row("pin_persistent", "all", 23, "on", "1", "0", "off");
    row("apn", "all", 7, "internet", "internet", "web", "web");
    row("msisdn", "all", 5, "+49170", "+49170", nullptr, nullptr);
    row("data_connection", "all", 24, "on", "1", "0", "off");
    row("data_connection_state", "all", 15, "processing", "2", nullptr, nullptr);
    row("username", "all", 8, "user", "user", "guest", "guest");
    row("password", "all", 9, "secret", "secret", "hidden", "hidden");
    row("authentication", "all", 14, "CHAP", "2", "1", "PAP");
    row("registration_state", "info", -1, "123-not registered", "2", nullptr, nullptr);
    row("operator_long", "info", 10, "Operator One", "Operator One", nullptr, nullptr);
    row("operator_short", "info", 11, "Op1", "Op1", nullptr, nullptr);
    row("signal_quality", "info", 18, "17", "17", nullptr, nullptr);
    row("signal_quality_dbm", "one", 18, "-85 dBm", "-85", nullptr, nullptr);
    row("technology", "info", 19, "LTE", "2", nullptr, nullptr);
    row("network_quality", "all", 16, "very_high", "5", "2", "low");
    row("ajb_profile", "all", 17, "punchy", "2", "0", "safe");
}

void TestMobileController::wireKeys()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, read);
    QFETCH(int, field);
    QFETCH(QByteArray, device);
    QFETCH(QByteArray, held);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, sent);

    const std::string name = key.toStdString();
    QVERIFY(m_mobile->attach("mobile.0", 0, false));
    takeFrames();
    if (read == "info") {
        // Operator names count only while registered.
        const QByteArray registered = key == "registration_state" ? "" : "registration_state:home;";
        RpcMessage message = m_bench->notify(
            "INFO;info_type:network_info;info_source:mobile.0;" + registered + key + ":" + device + ";");
        QVERIFY(m_mobile->handleInfo(message));
    } else {
        m_device->setParam(iface, name, device.toStdString());
        QVERIFY(read == "all" ? m_mobile->fetchAll() : m_mobile->fetch({name}));
        QVERIFY(askedNames(takeFrames()).contains(key));
    }
    QCOMPARE(field < 0 ? QByteArray::number(m_mobile->state()) : heldFields(*m_mobile).at(field), held);
    if (sent.isNull())
        return;

    QVERIFY(sendValue(*m_mobile, key, value));
    QCOMPARE(takeFrames(), QByteArrayList {writeFrame("network:mobile.0;target:network;", key, sent)});
    QCOMPARE(QByteArray::fromStdString(m_device->param(iface, name)), sent);
}

QTEST_GUILESS_MAIN(TestMobileController)
#include "tst_mobilecontroller.moc"
