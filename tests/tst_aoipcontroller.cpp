// The SIP/AoIP controller against the simulated device: what it asks and writes, and what it holds afterwards.

#include "controllers/tcomaoipcontroller.h"
#include "rpc/passwordcipher.h"
#include "rpc/rpcvocabulary.h"
#include "tests/rpctesting.h"

#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/rand.h>

#include <QtTest>

#include <cstdlib>
#include <functional>
#include <memory>

using namespace rpctesting;

namespace {

using C = TComAoIPController;

const std::string configStore = "network:aoip";
const std::string statusStore = "network";

bool isStatus(const std::string &key)
{
    return key == KEY_SIP_STATE || key == KEY_SIP_STATE2 || key == kra::KEY_STUN_NAT_TYPE || key == kra::KEY_PUBLIC_ADDR
        || key == KEY_AOIP_VERSION;
}

QVariant bytes(const std::string &text)
{
    return QByteArray::fromStdString(text);
}

// A field by its key, so one table row can name any of them.
QVariant field(const C &aoip, const std::string &key)
{
    static const std::map<std::string, std::function<QVariant(const C &)>> getters = {
        {KEY_AUDIO_MODE, [](const C &c) { return QVariant(c.audioMode()); }},
        {KEY_DOUBLE_CODEC, [](const C &c) { return QVariant(c.doubleCodec()); }},
        {KEY_STUN_MODE, [](const C &c) { return QVariant(c.stunMode()); }},
        {KEY_SIP_MODE, [](const C &c) { return QVariant(c.sipMode()); }},
        {KEY_SIP_KA_TARGET, [](const C &c) { return QVariant(c.sipKeepAliveTarget()); }},
        {KEY_SIP_UDP_PORT, [](const C &c) { return QVariant(c.sipUdpPort()); }},
        {KEY_RTP_START_PORT, [](const C &c) { return QVariant(c.rtpStartPort()); }},
        {KEY_RTP_TOS, [](const C &c) { return QVariant(c.rtpTos()); }},
        {KEY_STUN_SERVER, [](const C &c) { return bytes(c.stunServer()); }},
        {KEY_SIP_PROXY, [](const C &c) { return bytes(c.sipProxy()); }},
        {KEY_SIP_USER, [](const C &c) { return bytes(c.account1().user()); }},
        {KEY_SIP_PASSWORD, [](const C &c) { return bytes(c.account1().password()); }},
        {KEY_SIP_PASSWORD2, [](const C &c) { return bytes(c.account2().password()); }},
        {kra::KEY_STUN_NAT_TYPE, [](const C &c) { return QVariant(c.stunNatType()); }},
        {kra::KEY_PUBLIC_ADDR, [](const C &c) { return bytes(c.publicAddr()); }},
        {KEY_AOIP_VERSION, [](const C &c) { return bytes(c.aoipVersion()); }},
    };
    return getters.at(key)(aoip);
}

bool setField(C &c, const std::string &key, const QVariant &v, bool send)
{
    if (key == KEY_AUDIO_MODE)
        return c.setAudioMode(v.toInt(), send);
    if (key == KEY_SIP_UDP_PORT)
        return c.setSipUdpPort(v.toInt(), send);
    if (key == KEY_RTP_TOS)
        return c.setRtpTos(v.toInt(), send);
    if (key == KEY_STUN_SERVER)
        return c.setStunServer(v.toByteArray().toStdString(), send);
    return c.account1().setUser(v.toByteArray().toStdString(), send);
}

QByteArray cipherOf(const QByteArray &plain)
{
    return QByteArray::fromStdString(encryptPasswordString(plain.toStdString()));
}

// A password value is shown deciphered; one that does not decipher is marked, since it went out in plain text.
QByteArray describeDeciphered(kra::CMsg body)
{
    for (auto &[key, value] : body.params) {
        if (key != KEY_SIP_PASSWORD && key != KEY_SIP_PASSWORD2)
            continue;
        char *plain = nullptr;
        const int length = decryptPassword(value.data(), int(value.size()), &plain);
        value = length < 0 ? "<not enciphered>" : std::string(plain, size_t(length));
        std::free(plain);
    }
    return describe(body);
}

// While it lives the process has no random bytes, so nothing can be enciphered.
class NoRandomBytes
{
public:
    NoRandomBytes()
    {
        m_method.bytes = [](unsigned char *, int) { return 0; };
        RAND_set_rand_method(&m_method);
    }
    ~NoRandomBytes() { RAND_set_rand_method(RAND_OpenSSL()); }

private:
    RAND_METHOD m_method {};
};

} // namespace

class TestAoIPController : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void parse_data();
    void parse();
    void fetchShapes_data();
    void fetchShapes();
    void refreshers();
    void setters_data();
    void setters();
    void store_data();
    void store();
    void storeNeverSendsThePlainPassword();
    void registration_data();
    void registration();
    void attachAndReset();
    void registrar_data();
    void registrar();

private:
    std::unique_ptr<DeviceBench> m_bench;
    SimDevice *m_device = nullptr;
    std::unique_ptr<C> m_aoip;
};

void TestAoIPController::init()
{
    m_bench = std::make_unique<DeviceBench>();
    m_device = &m_bench->device;
    QVERIFY(m_bench->connect());
    m_aoip = std::make_unique<C>(&m_bench->com);
    QVERIFY(m_aoip->attach("aoip", 0, false));
    m_device->clearRequests();
}

void TestAoIPController::cleanup()
{
    m_aoip.reset();
    m_bench.reset();
}

void TestAoIPController::parse_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("before"); // fetched first, unless null
    QTest::addColumn<QByteArray>("wire"); // null: the device has no value
    QTest::addColumn<QVariant>("held");
    QTest::addColumn<QByteArray>("sent"); // by a following store; null: store sends nothing
    const auto row = [](const char *name, const char *key, const char *before, const QByteArray &wire,
                         const QVariant &held, const char *sent) {
        QTest::newRow(name) << QByteArray(key) << QByteArray(before) << wire << held << QByteArray(sent);
    };

    row("on", "double_codec", nullptr, "on", true, "on");
    row("On", "double_codec", "on", "On", false, "off");
    row("1", "stun_mode", "on", "1", false, "off");
    row("empty bool", "sip_mode", "on", "", false, "off");
    row("RTP", "audio_mode", nullptr, "RTP", 1, "RTP");
    row("rtp", "audio_mode", "MC", "rtp", 0, "SIP");
    row("keep-alive target 2", "SIP_KA_TARGET", "1", "2", 0, "0");
    // A reset leaves 5006; the empty text and "not set" read as 5004.
    row("empty start port", "RTP_START_PORT", nullptr, "", 5004, "5004");
    row("start port not set", "RTP_START_PORT", nullptr, nullptr, 5004, "5004");
    row("port abc", "SIP_UDP_PORT", "5070", "abc", 5070, "5070");
    row("UTF-8 text", "sip_proxy", nullptr, "pr\xc3\xb6xy.example", bytes("pr\xf6xy.example"), "pr\xc3\xb6xy.example");
    row("password", "sip_password", nullptr, cipherOf("s\xc3\xa9same"), bytes("s\xe9same"), "s\xc3\xa9same");
    row("password not enciphered", "sip_password2", nullptr, "plain", bytes("plain"), "plain");
    row("nat-open", "stun_nat_type", nullptr, "nat-open", 2, nullptr);
    row("NAT-OPEN", "stun_nat_type", "failure", "NAT-OPEN", 0, nullptr);
    row("public address as received", "public_addr", nullptr, "h\xc3\xb4te:5", bytes("h\xc3\xb4te:5"), nullptr);
    row("version as received", "aoip_version", nullptr, "2.1 \xc3\xa9", bytes("2.1 \xc3\xa9"), nullptr);
}

void TestAoIPController::parse()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, wire);
    QFETCH(QVariant, held);
    QFETCH(QByteArray, sent);

    const std::string k = key.toStdString();
    const std::string &deviceStore = isStatus(k) ? statusStore : configStore;
    m_aoip->reset();
    if (!before.isNull()) {
        m_device->setParam(deviceStore, k, before.toStdString());
        QVERIFY(m_aoip->fetch({k}));
    }
    if (wire.isNull())
        m_device->unsetParam(deviceStore, k);
    else
        m_device->setParam(deviceStore, k, wire.toStdString());
    QVERIFY(m_aoip->fetch({k}));
    QCOMPARE(field(*m_aoip, k), held);

    m_device->clearRequests();
    QCOMPARE(m_aoip->store({k}), !sent.isNull());
    if (sent.isNull()) {
        QVERIFY(m_device->requests().isEmpty());
        return;
    }
    QCOMPARE(m_device->requests().size(), 1);
    QCOMPARE(describeDeciphered(m_device->requests().first().body()),
        "PARAM|" + (k < "network" ? key + "=" + sent + "|network=aoip" : "network=aoip|" + key + "=" + sent)
            + "|target=network");
}

void TestAoIPController::fetchShapes_data()
{
    QTest::addColumn<QByteArray>("names");
    QTest::addColumn<QByteArray>("refuse"); // the request that names this is answered with a bare "ERROR"
    QTest::addColumn<bool>("result");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<bool>("jitterab");
    QTest::addColumn<QByteArray>("version");
    const auto row = [](const char *name, const char *names, const char *refuse, bool result,
                         const QByteArrayList &frames, bool jitterab, const char *version) {
        QTest::newRow(name) << QByteArray(names) << QByteArray(refuse) << result << frames << jitterab
                            << QByteArray(version);
    };
    const char *mixed = "aoip_version,jitterab,sip_state,no_such_key,sip_state_cause";
    const QByteArray config = "PARAM|network=aoip|target=network|GET jitterab|GET no_such_key|GET sip_state_cause";
    const QByteArray status = "PARAM|target=network|GET aoip_version|GET sip_state";

    row("empty list", "", "", false, {}, false, "");
    row("status only", "aoip_version,sip_state", "", true, {status}, false, "4.1");
    row("configuration only", "jitterab,sip_user2", "", true,
        {"PARAM|network=aoip|target=network|GET jitterab|GET sip_user2"}, true, "");
    row("both, configuration first", mixed, "", true, {config, status}, true, "4.1");
    row("configuration refused", mixed, "jitterab", false, {config}, false, "");
    row("status refused, configuration taken", mixed, "aoip_version", false, {config, status}, true, "");
}

void TestAoIPController::fetchShapes()
{
    QFETCH(QByteArray, names);
    QFETCH(QByteArray, refuse);
    QFETCH(bool, result);
    QFETCH(QByteArrayList, frames);
    QFETCH(bool, jitterab);
    QFETCH(QByteArray, version);

    m_device->setParam(configStore, KEY_JITTERAB, "on");
    m_device->setParam(statusStore, KEY_AOIP_VERSION, "4.1");
    m_device->setParam(statusStore, KEY_SIP_STATE, "registered");
    if (!refuse.isEmpty()) {
        SimDevice::Fault f = script({"PARAM;return:ERROR;"});
        f.match = refuse.toStdString();
        m_device->addFault(f);
    }
    QCOMPARE(m_aoip->fetch(rpctesting::names(names)), result);
    QCOMPARE(m_bench->takeFrames(), frames);
    QCOMPARE(m_aoip->jitterab(), jitterab);
    QCOMPARE(QByteArray::fromStdString(m_aoip->aoipVersion()), version);
}

void TestAoIPController::refreshers()
{
    // A status value is asked for as fetch asks for it, without the interface; a refused one stays.
    m_device->setParam(statusStore, kra::KEY_STUN_NAT_TYPE, "nat-symmetric");
    m_device->setParam(configStore, KEY_AUDIO_MODE, "MC");
    m_device->addFault(script({"PARAM;return:ERROR;SIP_UDP_PORT:113-unknown destination;"}));
    QVERIFY(!m_aoip->refreshSipUdpPort());
    QVERIFY(m_aoip->refreshStunNatType());
    QVERIFY(m_aoip->refreshAudioMode());
    QCOMPARE(m_bench->takeFrames(),
        (QByteArrayList {"PARAM|network=aoip|target=network|GET SIP_UDP_PORT", "PARAM|target=network|GET stun_nat_type",
            "PARAM|network=aoip|target=network|GET audio_mode"}));
    QCOMPARE(m_aoip->sipUdpPort(), 5060);
    QCOMPARE(m_aoip->stunNatType(), 6);
    QCOMPARE(m_aoip->audioMode(), 2);
}

void TestAoIPController::setters_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("send");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QByteArray>("sent"); // null: no frame
    QTest::addColumn<QVariant>("held");
    const auto row = [](const char *name, const char *key, const QVariant &value, bool send, const char *sent,
                         const QVariant &held, bool refused = false) {
        QTest::newRow(name) << QByteArray(key) << value << send << refused << QByteArray(sent) << held;
    };

    row("stored value", "SIP_UDP_PORT", 5060, true, nullptr, 5060);
    row("port 0", "SIP_UDP_PORT", 0, true, nullptr, 5060);
    row("TOS -1", "rtp_tos", -1, true, nullptr, 0);
    row("TOS 46", "rtp_tos", 46, true, "46", 46);
    row("audio mode 7", "audio_mode", 7, true, "SIP", 7);
    row("text", "stun_server", bytes("st\xfcn.example"), true, "st\xc3\xbcn.example", bytes("st\xfcn.example"));
    row("refused", "rtp_tos", 46, true, "46", 0, true);
    row("account never sends", "sip_user", bytes("alice"), true, nullptr, bytes("alice"));
}

void TestAoIPController::setters()
{
    QFETCH(QByteArray, key);
    QFETCH(QVariant, value);
    QFETCH(bool, send);
    QFETCH(bool, refused);
    QFETCH(QByteArray, sent);
    QFETCH(QVariant, held);

    const std::string k = key.toStdString();
    if (refused)
        m_device->refuseKey(k, kra::ERR_INVALID_VALUE);
    QSignalSpy changed(m_aoip.get(), &TComNetworkController::controllerParamChanged);
    QCOMPARE(setField(*m_aoip, k, value, send), !refused);
    QCOMPARE(field(*m_aoip, k), held);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(m_bench->takeFrames(),
        sent.isNull() ? QByteArrayList()
                      : QByteArrayList {describe(body("PARAM;network:aoip;target:network;" + key + ":" + sent + ";"))});
    QCOMPARE(QByteArray::fromStdString(m_device->param(configStore, k)), refused ? QByteArray() : sent);
}

void TestAoIPController::store_data()
{
    QTest::addColumn<QByteArray>("names");
    QTest::addColumn<QByteArray>("refuse");
    QTest::addColumn<QByteArray>("frame"); // passwords deciphered; null: nothing sent

    const auto row = [](const char *name, const char *names, const char *refuse, const char *frame) {
        QTest::newRow(name) << QByteArray(names) << QByteArray(refuse) << QByteArray(frame);
    };

    row("empty list", "", "", nullptr);
    row("nothing writable", "sip_state,stun_nat_type,public_addr,aoip_version,sip_state_cause2,no_such_key", "",
        nullptr);
    row("settings and accounts",
        "audio_mode,sip_user,double_codec,sip_state,stun_server,sip_password2,sip_user,no_such_key,SIP_UDP_PORT,"
        "SIP_KA_TARGET",
        "",
        "PARAM|SIP_KA_TARGET=0|SIP_UDP_PORT=5062|audio_mode=MC|double_codec=on|network=aoip|sip_password2=p\xc3\xa4ss"
        "|sip_user=\xc3\xa9lise|stun_server=st\xc3\xbcn|target=network");
    row("refused", "sip_proxy,jitterab", "sip_proxy", "PARAM|jitterab=off|network=aoip|sip_proxy=proxy|target=network");
}

void TestAoIPController::store()
{
    QFETCH(QByteArray, names);
    QFETCH(QByteArray, refuse);
    QFETCH(QByteArray, frame);

    m_aoip->setAudioMode(2, false);
    m_aoip->setDoubleCodec(true, false);
    m_aoip->setSipUdpPort(5062, false);
    m_aoip->setSipKeepAliveTarget(3, false);
    m_aoip->setStunServer("st\xfcn", false);
    m_aoip->setSipProxy("proxy", false);
    m_aoip->account1().setUser("\xe9lise", false);
    m_aoip->account2().setPassword("p\xe4ss", false);
    if (!refuse.isEmpty())
        m_device->refuseKey(refuse.toStdString(), kra::ERR_PARAMETER_SET_ERROR);
    QCOMPARE(m_aoip->store(rpctesting::names(names)), !frame.isNull() && refuse.isEmpty());
    QCOMPARE(m_device->requests().size(), frame.isNull() ? 0 : 1);
    if (!frame.isNull())
        QCOMPARE(describeDeciphered(m_device->requests().first().body()), frame);
    QCOMPARE(m_aoip->audioMode(), 2);
}

void TestAoIPController::storeNeverSendsThePlainPassword()
{
    m_aoip->account1().setPassword("secret", false);
    {
        const NoRandomBytes noRandom;
        // Other callers still get their input back.
        QCOMPARE(encryptPasswordString("secret"), std::string("secret"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("sip_password"));
        QVERIFY(!m_aoip->store({KEY_AUDIO_MODE, KEY_SIP_PASSWORD}));
        QVERIFY(m_device->requests().isEmpty());
    }
    QVERIFY(m_aoip->store({KEY_AUDIO_MODE, KEY_SIP_PASSWORD}));
    QCOMPARE(describeDeciphered(m_device->requests().first().body()),
        QByteArray("PARAM|audio_mode=SIP|network=aoip|sip_password=secret|target=network"));
}

void TestAoIPController::registration_data()
{
    QTest::addColumn<QByteArray>("message"); // an INFO, or "GET <account> <state>"
    QTest::addColumn<bool>("handled");
    QTest::addColumn<int>("account");
    QTest::addColumn<QByteArray>("seen"); // registered, then the state text
    const auto row
        = [](const char *name, const QByteArray &message, int account, const char *seen, bool handled = true) {
              QTest::newRow(name) << message << handled << account << QByteArray(seen);
          };
    const QByteArray reg = "INFO;info_type:sip_registration;";

    row("INFO registered", reg + "sip_state:registered;sip_state_cause:via proxy;", 1, "1 via proxy");
    row("INFO failed", reg + "sip_state:failed;sip_state_cause:403 forbidden;", 1, "0 403 forbidden");
    row("INFO account 2", "INFO;info_type:sip_registration2;sip_state2:registered;sip_state_cause2:;", 2, "1 ");
    row("INFO without state", "INFO;info_type:sip_registration2;sip_state_cause2:no answer;", 2, "0 no answer");
    row("INFO without a type", "INFO;sip_state:unregistered;sip_state_cause:x;", 1, "1 before", false);
    row("INFO of another type", "INFO;info_type:aoip_config;sip_state:unregistered;", 1, "1 before", false);
    row("GET registered", "GET 1 registered", 1, "1 ");
    row("GET unregistered", "GET 2 unregistered", 2, "0 ");
    row("GET other", "GET 1 timeout", 1, "0 timeout");
}

void TestAoIPController::registration()
{
    QFETCH(QByteArray, message);
    QFETCH(bool, handled);
    QFETCH(int, account);
    QFETCH(QByteArray, seen);

    TComSipAccount &target = account == 1 ? m_aoip->account1() : m_aoip->account2();
    TComSipAccount &other = account == 1 ? m_aoip->account2() : m_aoip->account1();
    // Start from the opposite view, so that every field taken has to change.
    target.setRegistrationState(handled != seen.startsWith('1') ? "registered" : "", "before");
    other.setRegistrationState("", "before");
    if (message.startsWith("GET")) {
        m_device->setParam(statusStore, target.key(KEY_SIP_STATE), message.split(' ').at(2).toStdString());
        QVERIFY(m_aoip->fetch({target.key(KEY_SIP_STATE)}));
    } else {
        RpcMessage info = m_bench->notify(message);
        QCOMPARE(m_aoip->handleInfo(info), handled);
        QVERIFY(!m_aoip->handleEvent(info));
    }
    QCOMPARE(QByteArray::number(target.registered()) + " " + QByteArray::fromStdString(target.stateText()), seen);
    QCOMPARE(other.stateText(), std::string("before"));
}

void TestAoIPController::attachAndReset()
{
    const QByteArrayList subscribe {
        "DO|action=subscribe|info=sip_registration", "DO|action=subscribe|info=sip_registration2"};
    C aoip(&m_bench->com);
    QSignalSpy states(&aoip, &TComController::controllerStateChanged);
    QVERIFY(!aoip.attach("", 0, false));
    QVERIFY(m_device->requests().isEmpty());

    // A device that refuses the subscriptions is attached all the same.
    m_device->setAction(kra::CMD_SUBSCRIBE, [](const kra::CMsg &, kra::CMsg &reply) {
        reply.setParam(kra::KEY_RETURN, kra::RET_ERROR);
        reply.setParam(kra::KEY_CAUSE, kra::ERR_NOT_SUPPORTED);
    });
    QVERIFY(aoip.attach("aoip", 0, false));
    QCOMPARE(m_bench->takeFrames(), subscribe);
    QCOMPARE(aoip.state(), 0);
    QCOMPARE(states.count(), 2);

    m_device->setParam(statusStore, KEY_AOIP_VERSION, "4.1");
    m_device->setParam(statusStore, kra::KEY_PUBLIC_ADDR, "198.51.100.7");
    m_device->setParam(configStore, KEY_RTP_START_PORT, "6000");
    m_device->setParam(configStore, KEY_SIP_USER2, "bob");
    QVERIFY(aoip.fetch({KEY_AOIP_VERSION, kra::KEY_PUBLIC_ADDR, KEY_RTP_START_PORT, KEY_SIP_USER2}));
    aoip.account1().setRegistrationState("registered", "");
    m_device->clearRequests();

    aoip.reset();
    QCOMPARE(m_bench->takeFrames(),
        (QByteArrayList {
            "DO|action=unsubscribe|info=sip_registration", "DO|action=unsubscribe|info=sip_registration2"}));
    QCOMPARE(aoip.state(), -1);
    QCOMPARE(states.count(), 3);
    QCOMPARE(aoip.rtpStartPort(), 5006);
    QVERIFY(aoip.publicAddr().empty());
    QVERIFY(aoip.account2().user().empty());
    QVERIFY(!aoip.account1().registered());
    QCOMPARE(aoip.aoipVersion(), std::string("4.1"));
    QCOMPARE(aoip.interfaceName(), std::string("aoip"));
    QVERIFY(!aoip.signalsBlocked());

    aoip.reset();
    QVERIFY(m_device->requests().isEmpty());
    QCOMPARE(states.count(), 3);

    // Reading everything, configuration then status, comes before the subscriptions.
    QVERIFY(aoip.attach("aoip", TComNetworkController::AttachFetch, false));
    const QByteArrayList frames = m_bench->takeFrames();
    QCOMPARE(frames.size(), 4);
    QVERIFY(frames.at(0).startsWith("PARAM|network=aoip|target=network|GET audio_mode|"));
    QCOMPARE(frames.at(0).count("|GET "), 34);
    QCOMPARE(frames.at(1),
        QByteArray("PARAM|target=network|GET stun_nat_type|GET public_addr|GET sip_state|GET sip_state2"));
    QCOMPARE(frames.mid(2), subscribe);
    QCOMPARE(aoip.rtpStartPort(), 6000);
}

void TestAoIPController::registrar_data()
{
    QTest::addColumn<QByteArray>("registrar");
    QTest::addColumn<QByteArray>("host");
    QTest::addColumn<int>("port");
    const auto row = [](const char *name, const QByteArray &registrar, const char *host, int port) {
        QTest::newRow(name) << registrar << QByteArray(host) << port;
    };

    row("host and port", "sip.example:5070", "sip.example", 5070);
    row("no colon", "sip.example", "sip.example", 5060);
    row("empty", "", "", 5060);
    row("port 0", "sip.example:0", "sip.example", 5060);
    row("several colons", "[2001:db8::1]:5080", "[2001:db8::1]", 5080);
    row("negative", "sip.example:-5070", "sip.example", 5060);
    row("highest port", "sip.example:65535", "sip.example", 65535);
    row("above the ports", "sip.example:65536", "sip.example", 5060);
    // An int reader would wrap this into a "valid" port.
    row("overlong", "sip.example:4294972366", "sip.example", 5060);
    row("very long", "h:" + QByteArray(400, '9'), "h", 5060);
}

void TestAoIPController::registrar()
{
    QFETCH(QByteArray, registrar);
    QFETCH(QByteArray, host);
    QFETCH(int, port);

    TComSipAccount account(1);
    QVERIFY(account.parseRegistrar(registrar.toStdString()));
    QCOMPARE(QByteArray::fromStdString(account.registrarHost()), host);
    QCOMPARE(account.registrarPort(), port);
}

QTEST_GUILESS_MAIN(TestAoIPController)
#include "tst_aoipcontroller.moc"
