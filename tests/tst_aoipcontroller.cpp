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
#include <map>
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

// A value of the controller by the test's own name of it, as text, and its setter (send as given); account values
// reach the device only through store.
struct Field
{
    std::function<QByteArray(const C &)> get;
    std::function<bool(C &, const QByteArray &)> send; // null: read only
    bool account = false;
};

QByteArray numberText(int n)
{
    return QByteArray::number(n);
}

const std::map<QByteArray, Field> &fields()
{
    using Get = std::function<QByteArray(const C &)>;
    using Set = std::function<bool(C &, const QByteArray &)>;
    const auto flag = [](bool (C::*get)() const, bool (C::*set)(bool, bool)) {
        return Field {[get](const C &c) { return numberText((c.*get)()); },
            [set](C &c, const QByteArray &v) { return (c.*set)(v == "1", true); }};
    };
    const auto number = [](int (C::*get)() const, bool (C::*set)(int, bool)) {
        return Field {[get](const C &c) { return numberText((c.*get)()); },
            [set](C &c, const QByteArray &v) { return (c.*set)(v.toInt(), true); }};
    };
    const auto text = [](const std::string &(C::*get)() const, bool (C::*set)(const std::string &, bool)) {
        return Field {[get](const C &c) { return QByteArray::fromStdString((c.*get)()); },
            set ? Set([set](C &c, const QByteArray &v) { return (c.*set)(v.toStdString(), true); }) : Set()};
    };
    using Account = TComSipAccount;
    const auto account
        = [](int n, const std::string &(Account::*get)() const, bool (Account::*set)(const std::string &, bool)) {
              const auto of = [n](const C &c) -> const Account & { return n == 1 ? c.account1() : c.account2(); };
              return Field {[of, get](const C &c) { return QByteArray::fromStdString((of(c).*get)()); },
                  [n, set](C &c, const QByteArray &v) {
                      return ((n == 1 ? c.account1() : c.account2()).*set)(v.toStdString(), false);
                  },
                  true};
          };
    const auto registered = [](int n) {
        return Field {
            Get([n](const C &c) { return numberText((n == 1 ? c.account1() : c.account2()).registered()); }), Set()};
    };
    static const std::map<QByteArray, Field> all = {
        {"audioMode", number(&C::audioMode, &C::setAudioMode)},
        {"streamPattern", number(&C::streamPattern, &C::setStreamPattern)},
        {"doubleCodec", flag(&C::doubleCodec, &C::setDoubleCodec)},
        {"doubleStream", flag(&C::doubleStream, &C::setDoubleStream)},
        {"jitterab", flag(&C::jitterab, &C::setJitterab)},
        {"sipMode", flag(&C::sipMode, &C::setSipMode)},
        {"sipAcceptCalls", flag(&C::sipAcceptCalls, &C::setSipAcceptCalls)},
        {"sipCheckCalls", flag(&C::sipCheckCalls, &C::setSipCheckCalls)},
        {"sipUseUdpPort2", flag(&C::sipUseUdpPort2, &C::setSipUseUdpPort2)},
        {"sipSessionTimers", flag(&C::sipSessionTimers, &C::setSipSessionTimers)},
        {"drtpAcceptCalls", flag(&C::drtpAcceptCalls, &C::setDrtpAcceptCalls)},
        {"drtpSendOnly", flag(&C::drtpSendOnly, &C::setDrtpSendOnly)},
        {"stunMode", flag(&C::stunMode, &C::setStunMode)},
        {"sipDefAccount", number(&C::sipDefAccount, &C::setSipDefAccount)},
        {"sipKeepAliveInterval", number(&C::sipKeepAliveInterval, &C::setSipKeepAliveInterval)},
        {"sipKeepAliveTarget", number(&C::sipKeepAliveTarget, &C::setSipKeepAliveTarget)},
        {"sipReRegTimeout", number(&C::sipReRegTimeout, &C::setSipReRegTimeout)},
        {"sipUdpPort", number(&C::sipUdpPort, &C::setSipUdpPort)},
        {"rtpStartPort", number(&C::rtpStartPort, &C::setRtpStartPort)},
        {"drtpRtpPort", number(&C::drtpRtpPort, &C::setDrtpRtpPort)},
        {"drtpRelTimeout", number(&C::drtpRelTimeout, &C::setDrtpRelTimeout)},
        {"rtpTos", number(&C::rtpTos, &C::setRtpTos)},
        {"mpEcmBfShift", number(&C::mpEcmBfShift, &C::setMpEcmBfShift)},
        {"stunNatType", Field {Get([](const C &c) { return numberText(c.stunNatType()); }), Set()}},
        {"aoipVersion", text(&C::aoipVersion, nullptr)},
        {"stunServer", text(&C::stunServer, &C::setStunServer)},
        {"publicAddr", text(&C::publicAddr, nullptr)},
        {"sipProxy", text(&C::sipProxy, &C::setSipProxy)},
        {"registered1", registered(1)},
        {"registered2", registered(2)},
        {"stateText1", account(1, &Account::stateText, nullptr)},
        {"stateText2", account(2, &Account::stateText, nullptr)},
        {"registrar1", account(1, &Account::registrar, &Account::setRegistrar)},
        {"registrar2", account(2, &Account::registrar, &Account::setRegistrar)},
        {"user1", account(1, &Account::user, &Account::setUser)},
        {"user2", account(2, &Account::user, &Account::setUser)},
        {"displayName1", account(1, &Account::displayName, &Account::setDisplayName)},
        {"displayName2", account(2, &Account::displayName, &Account::setDisplayName)},
        {"authUser1", account(1, &Account::authUser, &Account::setAuthUser)},
        {"authUser2", account(2, &Account::authUser, &Account::setAuthUser)},
        {"password1", account(1, &Account::password, &Account::setPassword)},
        {"password2", account(2, &Account::password, &Account::setPassword)},
    };
    return all;
}

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
    void wireKeys_data();
    void wireKeys();

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
    row("UTF-8 text", "sip_proxy", nullptr, "pr\xc3\xb6xy.example", bytes("pr\xc3\xb6xy.example"),
        "pr\xc3\xb6xy.example");
    row("password", "sip_password", nullptr, cipherOf("s\xc3\xa9same"), bytes("s\xc3\xa9same"), "s\xc3\xa9same");
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
    row("text", "stun_server", bytes("st\xc3\xbcn.example"), true, "st\xc3\xbcn.example", bytes("st\xc3\xbcn.example"));
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
    m_aoip->setStunServer("st\xc3\xbcn", false);
    m_aoip->setSipProxy("proxy", false);
    m_aoip->account1().setUser("\xc3\xa9lise", false);
    m_aoip->account2().setPassword("p\xc3\xa4ss", false);
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

// Each key as the device spells it: the read that brings it (all values, the one name, or the registration notice)
// takes the device's text under it, and a writable one is written under it, by its setter or, for the accounts,
// by store. Passwords travel enciphered.
void TestAoIPController::wireKeys_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QByteArray>("read"); // "all", "one", "status", "status one" or "info"
    QTest::addColumn<QByteArray>("device"); // what the device holds or tells
    QTest::addColumn<QByteArray>("held"); // the value read
    QTest::addColumn<QByteArray>("value"); // a value set ...
    QTest::addColumn<QByteArray>("sent"); // ... and its text on the wire; null: read only

    const auto row = [](const char *key, const char *field, const char *read, const char *device, const char *held,
                         const char *value, const char *sent) {
        QTest::newRow(key) << QByteArray(key) << QByteArray(field) << QByteArray(read) << QByteArray(device)
                           << QByteArray(held) << QByteArray(value) << QByteArray(sent);
    };
    row("sip_state", "registered1", "status", "registered", "1", nullptr, nullptr);
    row("sip_state_cause", "stateText1", "info", "408 timeout", "408 timeout", nullptr, nullptr);
    row("sip_registrar", "registrar1", "all", "sip.example.org", "sip.example.org", "sip.example.net:5070",
        "sip.example.net:5070");
    row("sip_user", "user1", "all", "alice", "alice", "bob", "bob");
    row("sip_display_name", "displayName1", "all", "Studio A", "Studio A", "Studio B", "Studio B");
    row("sip_auth_user", "authUser1", "all", "alice-auth", "alice-auth", "bob-auth", "bob-auth");
    row("sip_password", "password1", "all", "secret", "secret", "hidden", "hidden");
    row("sip_state2", "registered2", "status", "registered", "1", nullptr, nullptr);
    row("sip_state_cause2", "stateText2", "info", "503 unavailable", "503 unavailable", nullptr, nullptr);
    row("sip_registrar2", "registrar2", "all", "sip2.example.org", "sip2.example.org", "sip2.example.net",
        "sip2.example.net");
    row("sip_user2", "user2", "all", "carol", "carol", "dave", "dave");
    row("sip_display_name2", "displayName2", "all", "Studio C", "Studio C", "Studio D", "Studio D");
    row("sip_auth_user2", "authUser2", "all", "carol-auth", "carol-auth", "dave-auth", "dave-auth");
    row("sip_password2", "password2", "all", "secret2", "secret2", "hidden2", "hidden2");
    row("audio_mode", "audioMode", "all", "RTP", "1", "2", "MC");
    row("double_codec", "doubleCodec", "all", "on", "1", "0", "off");
    row("double_stream", "doubleStream", "all", "on", "1", "0", "off");
    row("stream_pattern", "streamPattern", "all", "2-3", "2", "3", "1-3");
    row("sip_mode", "sipMode", "all", "on", "1", "0", "off");
    row("sip_acc_calls", "sipAcceptCalls", "all", "on", "1", "0", "off");
    row("sip_chk_calls", "sipCheckCalls", "all", "on", "1", "0", "off");
    row("sip_use_uport2", "sipUseUdpPort2", "all", "on", "1", "0", "off");
    row("sip_proxy", "sipProxy", "all", "proxy.example.org", "proxy.example.org", "proxy.example.net",
        "proxy.example.net");
    row("SIP_KA_INTERVAL", "sipKeepAliveInterval", "all", "30", "30", "45", "45");
    row("SIP_KA_TARGET", "sipKeepAliveTarget", "all", "1", "1", "0", "0");
    row("sip_def_account", "sipDefAccount", "all", "2", "2", "1", "1");
    row("SIP_RE_REG_TO", "sipReRegTimeout", "all", "600", "600", "900", "900");
    row("SIP_UDP_PORT", "sipUdpPort", "all", "5070", "5070", "5080", "5080");
    row("RTP_START_PORT", "rtpStartPort", "all", "6000", "6000", "7000", "7000");
    row("sip_sess_timers", "sipSessionTimers", "all", "on", "1", "0", "off");
    row("rtp_tos", "rtpTos", "all", "46", "46", "34", "34");
    row("stun_mode", "stunMode", "all", "on", "1", "0", "off");
    row("stun_server", "stunServer", "all", "stun.example.org", "stun.example.org", "stun.example.net",
        "stun.example.net");
    row("stun_nat_type", "stunNatType", "status", "nat-full-cone", "5", nullptr, nullptr);
    row("public_addr", "publicAddr", "status", "203.0.113.9", "203.0.113.9", nullptr, nullptr);
    row("drtp_acc_calls", "drtpAcceptCalls", "all", "on", "1", "0", "off");
    row("drtp_send_only", "drtpSendOnly", "all", "on", "1", "0", "off");
    row("drtp_rtp_port", "drtpRtpPort", "all", "9100", "9100", "9200", "9200");
    row("drtp_rel_timeout", "drtpRelTimeout", "all", "60", "60", "90", "90");
    row("MP_ECM_BF_SHIFT", "mpEcmBfShift", "all", "2", "2", "1", "1");
    row("aoip_version", "aoipVersion", "status one", "4.2.1", "4.2.1", nullptr, nullptr);
    row("jitterab", "jitterab", "one", "on", "1", "0", "off");
}

void TestAoIPController::wireKeys()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, field);
    QFETCH(QByteArray, read);
    QFETCH(QByteArray, device);
    QFETCH(QByteArray, held);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, sent);

    const Field &f = fields().at(field);
    const std::string name = key.toStdString();
    const bool password = key.startsWith("sip_password");
    if (read == "info") {
        const QByteArray second = key.endsWith('2') ? "2" : "";
        RpcMessage message = m_bench->notify("INFO;info_type:sip_registration" + second + ";sip_state" + second
            + ":unregistered;" + key + ":" + device + ";");
        QVERIFY(m_aoip->handleInfo(message));
    } else {
        m_device->setParam(read.startsWith("status") ? statusStore : configStore, name,
            password ? cipherOf(device).toStdString() : device.toStdString());
        QVERIFY(read.endsWith("one") ? m_aoip->fetch({name}) : m_aoip->fetchAll());
        QVERIFY(askedNames(m_bench->takeFrames()).contains(key));
    }
    QCOMPARE(f.get(*m_aoip), held);
    if (sent.isNull())
        return;

    QVERIFY(f.send(*m_aoip, value));
    if (f.account)
        QVERIFY(m_aoip->store({name}));
    const QList<RpcMessage> requests = m_device->requests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(describeDeciphered(requests.first().body()), writeFrame("network:aoip;target:network;", key, sent));
    const QByteArray stored = QByteArray::fromStdString(m_device->param(configStore, name));
    QCOMPARE(password ? QByteArray::fromStdString(decryptPasswordString(stored.toStdString())) : stored, sent);
}

QTEST_GUILESS_MAIN(TestAoIPController)
#include "tst_aoipcontroller.moc"
