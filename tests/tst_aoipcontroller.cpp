// The SIP/AoIP controller against the simulated device: what it asks and writes, and what it holds afterwards.

#include "ccom.h"
#include "passwordcipher.h"
#include "rpctesting.h"
#include "rpcvocabulary.h"
#include "simdevice.h"
#include "tcomaoipcontroller.h"

#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/rand.h>

#include <QtTest>

#include <cstdlib>
#include <functional>

using namespace rpctesting;

namespace {

using Names = std::vector<std::string>;

const std::string configStore = "network:aoip";
const std::string statusStore = "network";

bool isStatus(const std::string &key)
{
    return key == KEY_SIP_STATE || key == KEY_SIP_STATE2 || key == kra::KEY_STUN_NAT_TYPE || key == kra::KEY_PUBLIC_ADDR
        || key == KEY_AOIP_VERSION;
}

bool isPassword(const std::string &key)
{
    return key == KEY_SIP_PASSWORD || key == KEY_SIP_PASSWORD2;
}

QVariant bytes(const std::string &text)
{
    return QByteArray::fromStdString(text);
}

// Reading and writing a field by its key, so one table row can name any of them.
struct Field
{
    std::function<QVariant(const TComAoIPController &)> get;
    std::function<bool(TComAoIPController &, const QVariant &, bool)> set;
};

const std::map<std::string, Field> &fields()
{
    using C = TComAoIPController;
    static const std::map<std::string, Field> table = {
        {KEY_AUDIO_MODE,
            {[](const C &c) { return QVariant(c.audioMode()); },
                [](C &c, const QVariant &v, bool send) { return c.setAudioMode(v.toInt(), send); }}},
        {KEY_STREAM_PATTERN,
            {[](const C &c) { return QVariant(c.streamPattern()); },
                [](C &c, const QVariant &v, bool send) { return c.setStreamPattern(v.toInt(), send); }}},
        {KEY_MP_ECM_BF_SHIFT, {[](const C &c) { return QVariant(c.mpEcmBfShift()); }, nullptr}},
        {KEY_DOUBLE_CODEC,
            {[](const C &c) { return QVariant(c.doubleCodec()); },
                [](C &c, const QVariant &v, bool send) { return c.setDoubleCodec(v.toBool(), send); }}},
        {KEY_STUN_MODE, {[](const C &c) { return QVariant(c.stunMode()); }, nullptr}},
        {KEY_SIP_MODE, {[](const C &c) { return QVariant(c.sipMode()); }, nullptr}},
        {KEY_SIP_KA_TARGET,
            {[](const C &c) { return QVariant(c.sipKeepAliveTarget()); },
                [](C &c, const QVariant &v, bool send) { return c.setSipKeepAliveTarget(v.toInt(), send); }}},
        {KEY_SIP_DEF_ACCOUNT,
            {[](const C &c) { return QVariant(c.sipDefAccount()); },
                [](C &c, const QVariant &v, bool send) { return c.setSipDefAccount(v.toInt(), send); }}},
        {KEY_SIP_UDP_PORT,
            {[](const C &c) { return QVariant(c.sipUdpPort()); },
                [](C &c, const QVariant &v, bool send) { return c.setSipUdpPort(v.toInt(), send); }}},
        {KEY_RTP_START_PORT, {[](const C &c) { return QVariant(c.rtpStartPort()); }, nullptr}},
        {KEY_RTP_TOS,
            {[](const C &c) { return QVariant(c.rtpTos()); },
                [](C &c, const QVariant &v, bool send) { return c.setRtpTos(v.toInt(), send); }}},
        {KEY_STUN_SERVER,
            {[](const C &c) { return bytes(c.stunServer()); },
                [](C &c, const QVariant &v, bool send) {
                    return c.setStunServer(v.toByteArray().toStdString(), send);
                }}},
        {KEY_SIP_PROXY, {[](const C &c) { return bytes(c.sipProxy()); }, nullptr}},
        {KEY_SIP_USER,
            {[](const C &c) { return bytes(c.account1().user()); },
                [](C &c, const QVariant &v, bool send) {
                    return c.account1().setUser(v.toByteArray().toStdString(), send);
                }}},
        {KEY_SIP_PASSWORD, {[](const C &c) { return bytes(c.account1().password()); }, nullptr}},
        {KEY_SIP_PASSWORD2, {[](const C &c) { return bytes(c.account2().password()); }, nullptr}},
        {kra::KEY_STUN_NAT_TYPE, {[](const C &c) { return QVariant(c.stunNatType()); }, nullptr}},
        {kra::KEY_PUBLIC_ADDR, {[](const C &c) { return bytes(c.publicAddr()); }, nullptr}},
        {KEY_AOIP_VERSION, {[](const C &c) { return bytes(c.aoipVersion()); }, nullptr}},
    };
    return table;
}

QByteArray cipherOf(const QByteArray &plain)
{
    return QByteArray::fromStdString(encryptPasswordString(plain.toStdString()));
}

// A password value is shown deciphered; one that does not decipher is marked, since it went out in plain text.
QByteArray describeDeciphered(kra::CMsg body)
{
    for (auto &[key, value] : body.params) {
        if (!isPassword(key))
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
    void fetchAllAsksEveryName();
    void refreshers_data();
    void refreshers();
    void setters_data();
    void setters();
    void store_data();
    void store();
    void storeNeverSendsThePlainPassword();
    void registration_data();
    void registration();
    void otherMessages();
    void attachAndReset();
    void registrar_data();
    void registrar();

private:
    QByteArrayList frames() const;

    SimDevice *m_device = nullptr;
    kra::CCom *m_com = nullptr;
    TComAoIPController *m_aoip = nullptr;
};

void TestAoIPController::init()
{
    m_device = new SimDevice;
    QVERIFY(m_device->listen());
    m_com = new kra::CCom;
    QVERIFY(m_com->connectToDevice(m_device->host(), m_device->port(), 0));
    QTRY_COMPARE(m_com->state(), RpcConnection::ConnectedState);
    m_aoip = new TComAoIPController(m_com);
    QVERIFY(m_aoip->attach("aoip", 0, false));
    m_device->clearRequests();
}

void TestAoIPController::cleanup()
{
    delete m_aoip;
    delete m_com;
    delete m_device;
}

QByteArrayList TestAoIPController::frames() const
{
    QByteArrayList out;
    for (const RpcMessage &request : m_device->requests())
        out << describe(request.body());
    return out;
}

void TestAoIPController::parse_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("before"); // fetched first, unless null
    QTest::addColumn<QByteArray>("wire"); // null: the device has no value
    QTest::addColumn<QVariant>("held");
    QTest::addColumn<QByteArray>("sent"); // by a following store; null: store sends nothing

    const QByteArray none;
    QTest::newRow("on") << QByteArray("double_codec") << none << QByteArray("on") << QVariant(true) << QByteArray("on");
    QTest::newRow("On") << QByteArray("double_codec") << QByteArray("on") << QByteArray("On") << QVariant(false)
                        << QByteArray("off");
    QTest::newRow("1") << QByteArray("stun_mode") << QByteArray("on") << QByteArray("1") << QVariant(false)
                       << QByteArray("off");
    QTest::newRow("empty bool") << QByteArray("sip_mode") << QByteArray("on") << QByteArray("") << QVariant(false)
                                << QByteArray("off");
    QTest::newRow("RTP") << QByteArray("audio_mode") << none << QByteArray("RTP") << QVariant(1) << QByteArray("RTP");
    QTest::newRow("rtp") << QByteArray("audio_mode") << QByteArray("MC") << QByteArray("rtp") << QVariant(0)
                         << QByteArray("SIP");
    QTest::newRow("pattern") << QByteArray("stream_pattern") << none << QByteArray("1-3") << QVariant(3)
                             << QByteArray("1-3");
    QTest::newRow("replication") << QByteArray("MP_ECM_BF_SHIFT") << none << QByteArray("2") << QVariant(2)
                                 << QByteArray("2");
    QTest::newRow("keep-alive target 2") << QByteArray("SIP_KA_TARGET") << QByteArray("1") << QByteArray("2")
                                         << QVariant(0) << QByteArray("0");
    QTest::newRow("keep-alive target 1") << QByteArray("SIP_KA_TARGET") << none << QByteArray("1") << QVariant(1)
                                         << QByteArray("1");
    // A reset leaves 5006; the empty text reads as 5004.
    QTest::newRow("empty start port") << QByteArray("RTP_START_PORT") << none << QByteArray("") << QVariant(5004)
                                      << QByteArray("5004");
    QTest::newRow("start port not set") << QByteArray("RTP_START_PORT") << none << none << QVariant(5004)
                                        << QByteArray("5004");
    QTest::newRow("port abc") << QByteArray("SIP_UDP_PORT") << QByteArray("5070") << QByteArray("abc") << QVariant(5070)
                              << QByteArray("5070");
    QTest::newRow("negative port") << QByteArray("SIP_UDP_PORT") << QByteArray("5070") << QByteArray("-5")
                                   << QVariant(5070) << QByteArray("5070");
    QTest::newRow("TOS 0") << QByteArray("rtp_tos") << QByteArray("46") << QByteArray("0") << QVariant(0)
                           << QByteArray("0");
    QTest::newRow("default account not set")
        << QByteArray("sip_def_account") << QByteArray("2") << none << QVariant(1) << QByteArray("1");
    QTest::newRow("UTF-8 text") << QByteArray("sip_proxy") << none << QByteArray("pr\xc3\xb6xy.example")
                                << bytes("pr\xf6xy.example") << QByteArray("pr\xc3\xb6xy.example");
    QTest::newRow("account text") << QByteArray("sip_user") << none << QByteArray("\xc3\xa9lise") << bytes("\xe9lise")
                                  << QByteArray("\xc3\xa9lise");
    QTest::newRow("password") << QByteArray("sip_password") << none << cipherOf("s\xc3\xa9same") << bytes("s\xe9same")
                              << QByteArray("s\xc3\xa9same");
    QTest::newRow("password not enciphered")
        << QByteArray("sip_password2") << none << QByteArray("plain") << bytes("plain") << QByteArray("plain");
    QTest::newRow("password not set") << QByteArray("sip_password") << cipherOf("x") << none << bytes("")
                                      << QByteArray("");
    QTest::newRow("nat-open") << QByteArray("stun_nat_type") << none << QByteArray("nat-open") << QVariant(2) << none;
    QTest::newRow("nat-port-restricted") << QByteArray("stun_nat_type") << none << QByteArray("nat-port-restricted")
                                         << QVariant(8) << none;
    QTest::newRow("NAT-OPEN") << QByteArray("stun_nat_type") << QByteArray("failure") << QByteArray("NAT-OPEN")
                              << QVariant(0) << none;
    QTest::newRow("NAT not set") << QByteArray("stun_nat_type") << QByteArray("nat-symmetric") << none << QVariant(0)
                                 << none;
    QTest::newRow("public address as received")
        << QByteArray("public_addr") << none << QByteArray("h\xc3\xb4te:5") << bytes("h\xc3\xb4te:5") << none;
    QTest::newRow("version as received") << QByteArray("aoip_version") << none << QByteArray("2.1 \xc3\xa9")
                                         << bytes("2.1 \xc3\xa9") << none;
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
    QCOMPARE(fields().at(k).get(*m_aoip), held);

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
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("refuse"); // the request that names this is answered with a bare "ERROR"
    QTest::addColumn<bool>("result");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<bool>("jitterab");
    QTest::addColumn<QByteArray>("version");

    const QStringList mixed {"aoip_version", "jitterab", "sip_state", "no_such_key", "sip_state_cause"};
    const QByteArray config = "PARAM|network=aoip|target=network|GET jitterab|GET no_such_key|GET sip_state_cause";
    const QByteArray status = "PARAM|target=network|GET aoip_version|GET sip_state";

    QTest::newRow("empty list") << QStringList() << QString() << false << QByteArrayList() << false << QByteArray();
    QTest::newRow("status only") << QStringList {"aoip_version", "sip_state"} << QString() << true
                                 << QByteArrayList {status} << false << QByteArray("4.1");
    QTest::newRow("configuration only")
        << QStringList {"jitterab", "sip_user2"} << QString() << true
        << QByteArrayList {"PARAM|network=aoip|target=network|GET jitterab|GET sip_user2"} << true << QByteArray();
    QTest::newRow("both, configuration first")
        << mixed << QString() << true << QByteArrayList {config, status} << true << QByteArray("4.1");
    QTest::newRow("configuration refused")
        << mixed << "jitterab" << false << QByteArrayList {config} << false << QByteArray();
    QTest::newRow("status refused, configuration taken")
        << mixed << "aoip_version" << false << QByteArrayList {config, status} << true << QByteArray();
}

void TestAoIPController::fetchShapes()
{
    QFETCH(QStringList, names);
    QFETCH(QString, refuse);
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
    Names list;
    for (const QString &name : names)
        list.push_back(name.toStdString());
    QCOMPARE(m_aoip->fetch(list), result);
    QCOMPARE(this->frames(), frames);
    QCOMPARE(m_aoip->jitterab(), jitterab);
    QCOMPARE(QByteArray::fromStdString(m_aoip->aoipVersion()), version);
}

void TestAoIPController::fetchAllAsksEveryName()
{
    QVERIFY(m_aoip->fetchAll());
    QCOMPARE(frames(),
        (QByteArrayList {"PARAM|network=aoip|target=network|GET audio_mode|GET double_codec|GET double_stream"
                         "|GET sip_mode|GET sip_acc_calls|GET sip_proxy|GET SIP_KA_INTERVAL|GET SIP_RE_REG_TO"
                         "|GET SIP_UDP_PORT|GET RTP_START_PORT|GET drtp_acc_calls|GET drtp_send_only"
                         "|GET drtp_rtp_port|GET drtp_rel_timeout|GET rtp_tos|GET stun_mode|GET stun_server"
                         "|GET MP_ECM_BF_SHIFT|GET sip_use_uport2|GET sip_chk_calls|GET sip_def_account"
                         "|GET stream_pattern|GET sip_sess_timers|GET SIP_KA_TARGET|GET sip_registrar|GET sip_user"
                         "|GET sip_display_name|GET sip_auth_user|GET sip_password|GET sip_user2"
                         "|GET sip_display_name2|GET sip_auth_user2|GET sip_password2|GET sip_registrar2",
            "PARAM|target=network|GET stun_nat_type|GET public_addr|GET sip_state|GET sip_state2"}));
}

void TestAoIPController::refreshers_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("wire"); // null: the device refuses the request
    QTest::addColumn<bool>("result");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QVariant>("held");

    QTest::newRow("configuration key") << QByteArray("audio_mode") << QByteArray("MC") << true
                                       << QByteArray("PARAM|network=aoip|target=network|GET audio_mode") << QVariant(2);
    // Status values are asked for as fetch asks for them, without the interface.
    QTest::newRow("NAT type") << QByteArray("stun_nat_type") << QByteArray("nat-symmetric") << true
                              << QByteArray("PARAM|target=network|GET stun_nat_type") << QVariant(6);
    QTest::newRow("public address") << QByteArray("public_addr") << QByteArray("198.51.100.7") << true
                                    << QByteArray("PARAM|target=network|GET public_addr") << bytes("198.51.100.7");
    QTest::newRow("refused") << QByteArray("SIP_UDP_PORT") << QByteArray() << false
                             << QByteArray("PARAM|network=aoip|target=network|GET SIP_UDP_PORT") << QVariant(5060);
}

void TestAoIPController::refreshers()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, wire);
    QFETCH(bool, result);
    QFETCH(QByteArray, frame);
    QFETCH(QVariant, held);

    const std::string k = key.toStdString();
    if (wire.isNull())
        m_device->addFault(script({"PARAM;return:ERROR;SIP_UDP_PORT:113-unknown destination;"}));
    else
        m_device->setParam(isStatus(k) ? statusStore : configStore, k, wire.toStdString());
    const std::map<std::string, bool (TComAoIPController::*)()> refreshers = {
        {KEY_AUDIO_MODE, &TComAoIPController::refreshAudioMode},
        {kra::KEY_STUN_NAT_TYPE, &TComAoIPController::refreshStunNatType},
        {kra::KEY_PUBLIC_ADDR, &TComAoIPController::refreshPublicAddr},
        {KEY_SIP_UDP_PORT, &TComAoIPController::refreshSipUdpPort},
    };
    QCOMPARE((m_aoip->*refreshers.at(k))(), result);
    QCOMPARE(frames(), QByteArrayList {frame});
    QCOMPARE(fields().at(k).get(*m_aoip), held);
}

void TestAoIPController::setters_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("send");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QByteArray>("sent"); // null: no frame
    QTest::addColumn<QVariant>("held");

    const QByteArray none;
    QTest::newRow("stored value") << QByteArray("SIP_UDP_PORT") << QVariant(5060) << true << false << true << none
                                  << QVariant(5060);
    QTest::newRow("port 0") << QByteArray("SIP_UDP_PORT") << QVariant(0) << true << false << true << none
                            << QVariant(5060);
    QTest::newRow("TOS -1") << QByteArray("rtp_tos") << QVariant(-1) << true << false << true << none << QVariant(0);
    QTest::newRow("TOS 46") << QByteArray("rtp_tos") << QVariant(46) << true << false << true << QByteArray("46")
                            << QVariant(46);
    QTest::newRow("without send") << QByteArray("SIP_UDP_PORT") << QVariant(5070) << false << false << true << none
                                  << QVariant(5070);
    QTest::newRow("audio mode 7") << QByteArray("audio_mode") << QVariant(7) << true << false << true
                                  << QByteArray("SIP") << QVariant(7);
    QTest::newRow("pattern 9") << QByteArray("stream_pattern") << QVariant(9) << true << false << true
                               << QByteArray("1-1") << QVariant(9);
    QTest::newRow("keep-alive target 3") << QByteArray("SIP_KA_TARGET") << QVariant(3) << true << false << true
                                         << QByteArray("0") << QVariant(3);
    QTest::newRow("bool") << QByteArray("double_codec") << QVariant(true) << true << false << true << QByteArray("on")
                          << QVariant(true);
    QTest::newRow("text") << QByteArray("stun_server") << bytes("st\xfcn.example") << true << false << true
                          << QByteArray("st\xc3\xbcn.example") << bytes("st\xfcn.example");
    QTest::newRow("refused") << QByteArray("sip_def_account") << QVariant(2) << true << true << false << QByteArray("2")
                             << QVariant(1);
    QTest::newRow("account never sends") << QByteArray("sip_user") << bytes("alice") << true << false << true << none
                                         << bytes("alice");
}

void TestAoIPController::setters()
{
    QFETCH(QByteArray, key);
    QFETCH(QVariant, value);
    QFETCH(bool, send);
    QFETCH(bool, refused);
    QFETCH(bool, result);
    QFETCH(QByteArray, sent);
    QFETCH(QVariant, held);

    const std::string k = key.toStdString();
    if (refused)
        m_device->refuseKey(k, kra::ERR_INVALID_VALUE);
    QSignalSpy changed(m_aoip, &TComNetworkController::controllerParamChanged);
    QCOMPARE(fields().at(k).set(*m_aoip, value, send), result);
    QCOMPARE(fields().at(k).get(*m_aoip), held);
    QCOMPARE(changed.count(), 0);
    if (sent.isNull()) {
        QVERIFY(m_device->requests().isEmpty());
        return;
    }
    QCOMPARE(m_device->requests().size(), 1);
    const kra::CMsg &body = m_device->requests().first().body();
    QCOMPARE(body.params.size(), size_t(3));
    QCOMPARE(*body.param(kra::KEY_NETWORK, true), std::string("aoip"));
    QCOMPARE(QByteArray::fromStdString(*body.param(k, true)), sent);
    QCOMPARE(QByteArray::fromStdString(m_device->param(configStore, k)), refused ? QByteArray() : sent);
}

void TestAoIPController::store_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("refuse");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QByteArray>("frame"); // passwords deciphered; null: nothing sent

    QTest::newRow("empty list") << QStringList() << QString() << false << QByteArray();
    QTest::newRow("nothing writable") << QStringList {"sip_state", "stun_nat_type", "public_addr", "aoip_version",
        "sip_state_cause2", "no_such_key"}
                                      << QString() << false << QByteArray();
    QTest::newRow("settings and accounts")
        << QStringList {"audio_mode", "sip_user", "double_codec", "sip_state", "stun_server", "sip_password2",
               "sip_user", "no_such_key", "SIP_UDP_PORT", "SIP_KA_TARGET"}
        << QString() << true
        << QByteArray("PARAM|SIP_KA_TARGET=0|SIP_UDP_PORT=5062|audio_mode=MC|double_codec=on|network=aoip|sip_"
                      "password2=p\xc3\xa4ss"
                      "|sip_user=\xc3\xa9lise|stun_server=st\xc3\xbcn|target=network");
    QTest::newRow("refused") << QStringList {"sip_proxy", "jitterab"} << "sip_proxy" << false
                             << QByteArray("PARAM|jitterab=off|network=aoip|sip_proxy=proxy|target=network");
}

void TestAoIPController::store()
{
    QFETCH(QStringList, names);
    QFETCH(QString, refuse);
    QFETCH(bool, result);
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
    Names list;
    for (const QString &name : names)
        list.push_back(name.toStdString());
    QCOMPARE(m_aoip->store(list), result);
    if (frame.isNull()) {
        QVERIFY(m_device->requests().isEmpty());
        return;
    }
    QCOMPARE(m_device->requests().size(), 1);
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
    QTest::addColumn<bool>("info"); // else a GET of the state
    QTest::addColumn<int>("account");
    QTest::addColumn<QByteArray>("state");
    QTest::addColumn<QByteArray>("cause");
    QTest::addColumn<bool>("registered");
    QTest::addColumn<QByteArray>("stateText");

    QTest::newRow("INFO registered") << true << 1 << QByteArray("registered") << QByteArray("via outbound proxy")
                                     << true << QByteArray("via outbound proxy");
    QTest::newRow("INFO failed") << true << 1 << QByteArray("failed") << QByteArray("403 forbidden") << false
                                 << QByteArray("403 forbidden");
    QTest::newRow("INFO account 2") << true << 2 << QByteArray("registered") << QByteArray() << true << QByteArray();
    QTest::newRow("INFO without state") << true << 2 << QByteArray() << QByteArray("no answer") << false
                                        << QByteArray("no answer");
    QTest::newRow("GET registered") << false << 1 << QByteArray("registered") << QByteArray() << true << QByteArray();
    QTest::newRow("GET unregistered") << false << 2 << QByteArray("unregistered") << QByteArray() << false
                                      << QByteArray();
    QTest::newRow("GET other") << false << 1 << QByteArray("timeout") << QByteArray() << false << QByteArray("timeout");
}

void TestAoIPController::registration()
{
    QFETCH(bool, info);
    QFETCH(int, account);
    QFETCH(QByteArray, state);
    QFETCH(QByteArray, cause);
    QFETCH(bool, registered);
    QFETCH(QByteArray, stateText);

    const TComSipAccount &target = account == 1 ? m_aoip->account1() : m_aoip->account2();
    // Start from the opposite view, so that every field has to change.
    m_aoip->account1().setRegistrationState(registered ? "" : "registered", "before");
    m_aoip->account2().setRegistrationState(registered ? "" : "registered", "before");
    if (info) {
        QSignalSpy received(m_com, &kra::CCom::messageReceived);
        bool handled = false;
        const QMetaObject::Connection route
            = connect(m_com, &kra::CCom::messageReceived, m_aoip, [this, &handled](const RpcMessage &message) {
                  RpcMessage copy = message;
                  handled = m_aoip->handleInfo(copy);
              });
        kra::CMsg body(kra::CMsg::Info);
        body.setParam(kra::KEY_INFO_TYPE, account == 1 ? kra::EVT_SIP_REGISTRATION : kra::EVT_SIP_REGISTRATION2);
        if (!state.isNull())
            body.setParam(target.key(KEY_SIP_STATE), state.toStdString());
        body.setParam(target.key(KEY_SIP_STATE_CAUSE), cause.toStdString());
        m_device->notify(body);
        const bool arrived = received.wait();
        disconnect(route);
        QVERIFY(arrived);
        QVERIFY(handled);
    } else {
        m_device->setParam(statusStore, target.key(KEY_SIP_STATE), state.toStdString());
        QVERIFY(m_aoip->fetch({target.key(KEY_SIP_STATE)}));
    }
    QCOMPARE(target.registered(), registered);
    QCOMPARE(QByteArray::fromStdString(target.stateText()), stateText);
    const TComSipAccount &other = account == 1 ? m_aoip->account2() : m_aoip->account1();
    QCOMPARE(other.stateText(), std::string("before"));
}

void TestAoIPController::otherMessages()
{
    m_aoip->account1().setRegistrationState("registered", "kept");
    const QByteArrayList messages {"INFO;sip_state:unregistered;sip_state_cause:x;",
        "INFO;info_type:aoip_config;sip_state:unregistered;", "EVENT;event_type:sip_registration;"};
    for (const QByteArray &text : messages) {
        RpcMessage message = RpcMessage::notification(body(text));
        QVERIFY(!m_aoip->handleInfo(message));
        QVERIFY(!m_aoip->handleEvent(message));
    }
    RpcMessage registration = RpcMessage::notification(body("INFO;info_type:sip_registration;"));
    QVERIFY(!m_aoip->handleEvent(registration));
    QVERIFY(m_aoip->account1().registered());
    QCOMPARE(m_aoip->account1().stateText(), std::string("kept"));
}

void TestAoIPController::attachAndReset()
{
    const QByteArrayList subscribe {
        "DO|action=subscribe|info=sip_registration", "DO|action=subscribe|info=sip_registration2"};
    const QByteArrayList unsubscribe {
        "DO|action=unsubscribe|info=sip_registration", "DO|action=unsubscribe|info=sip_registration2"};
    TComAoIPController aoip(m_com);
    QSignalSpy states(&aoip, &TComController::controllerStateChanged);
    QVERIFY(!aoip.attach("", 0, false));
    QVERIFY(m_device->requests().isEmpty());

    // A device that refuses the subscriptions is attached all the same.
    m_device->setAction(kra::CMD_SUBSCRIBE, [](const kra::CMsg &, kra::CMsg &reply) {
        reply.setParam(kra::KEY_RETURN, kra::RET_ERROR);
        reply.setParam(kra::KEY_CAUSE, kra::ERR_NOT_SUPPORTED);
    });
    QVERIFY(aoip.attach("aoip", 0, false));
    QCOMPARE(frames(), subscribe);
    QCOMPARE(aoip.state(), 0);
    QCOMPARE(states.count(), 2);

    m_device->setParam(statusStore, KEY_AOIP_VERSION, "4.1");
    m_device->setParam(statusStore, kra::KEY_PUBLIC_ADDR, "198.51.100.7");
    m_device->setParam(statusStore, kra::KEY_STUN_NAT_TYPE, "nat-open");
    m_device->setParam(configStore, KEY_RTP_START_PORT, "6000");
    m_device->setParam(configStore, KEY_SIP_PROXY, "proxy");
    m_device->setParam(configStore, KEY_SIP_USER2, "bob");
    m_device->setParam(configStore, KEY_SIP_KA_INTERVAL, "20");
    QVERIFY(aoip.fetch({KEY_AOIP_VERSION, kra::KEY_PUBLIC_ADDR, kra::KEY_STUN_NAT_TYPE, KEY_RTP_START_PORT,
        KEY_SIP_PROXY, KEY_SIP_USER2, KEY_SIP_KA_INTERVAL}));
    aoip.setAudioMode(2, false);
    aoip.setRtpTos(46, false);
    aoip.account1().setRegistrationState("registered", "");
    QCOMPARE(aoip.sipProxy(), std::string("proxy"));

    m_device->clearRequests();
    aoip.reset();
    QCOMPARE(frames(), unsubscribe);
    QCOMPARE(aoip.state(), -1);
    QCOMPARE(states.count(), 3);
    QCOMPARE(aoip.rtpStartPort(), 5006);
    QCOMPARE(aoip.sipKeepAliveInterval(), 15);
    QCOMPARE(aoip.audioMode(), 0);
    QCOMPARE(aoip.rtpTos(), 0);
    QVERIFY(aoip.sipProxy().empty());
    QVERIFY(aoip.publicAddr().empty());
    QCOMPARE(aoip.stunNatType(), 0);
    QVERIFY(aoip.account2().user().empty());
    QVERIFY(!aoip.account1().registered());
    QCOMPARE(aoip.aoipVersion(), std::string("4.1"));
    QCOMPARE(aoip.interfaceName(), std::string("aoip"));
    QVERIFY(!aoip.signalsBlocked());

    m_device->clearRequests();
    aoip.reset();
    QVERIFY(m_device->requests().isEmpty());
    QCOMPARE(states.count(), 3);

    // Reading everything comes before the subscriptions.
    QVERIFY(aoip.attach("aoip", TComNetworkController::AttachFetch, false));
    QCOMPARE(frames().size(), 4);
    QVERIFY(frames().at(0).startsWith("PARAM|network=aoip|target=network|GET audio_mode|"));
    QVERIFY(frames().at(1).startsWith("PARAM|target=network|GET stun_nat_type|"));
    QCOMPARE(frames().mid(2), subscribe);
    QCOMPARE(aoip.rtpStartPort(), 6000);
}

void TestAoIPController::registrar_data()
{
    QTest::addColumn<QByteArray>("registrar");
    QTest::addColumn<QByteArray>("host");
    QTest::addColumn<int>("port");

    QTest::newRow("host and port") << QByteArray("sip.example:5070") << QByteArray("sip.example") << 5070;
    QTest::newRow("no colon") << QByteArray("sip.example") << QByteArray("sip.example") << 5060;
    QTest::newRow("empty") << QByteArray("") << QByteArray("") << 5060;
    QTest::newRow("port 0") << QByteArray("sip.example:0") << QByteArray("sip.example") << 5060;
    QTest::newRow("colon only") << QByteArray("sip.example:") << QByteArray("sip.example") << 5060;
    QTest::newRow("several colons") << QByteArray("[2001:db8::1]:5080") << QByteArray("[2001:db8::1]") << 5080;
    QTest::newRow("digits first") << QByteArray("sip.example:5071;transport=tcp") << QByteArray("sip.example") << 5071;
    QTest::newRow("negative") << QByteArray("sip.example:-5070") << QByteArray("sip.example") << 5060;
    QTest::newRow("highest port") << QByteArray("sip.example:65535") << QByteArray("sip.example") << 65535;
    QTest::newRow("above the ports") << QByteArray("sip.example:65536") << QByteArray("sip.example") << 5060;
    // An int reader would wrap this into a "valid" port.
    QTest::newRow("overlong") << QByteArray("sip.example:4294972366") << QByteArray("sip.example") << 5060;
    QTest::newRow("very long") << QByteArray("h:" + QByteArray(400, '9')) << QByteArray("h") << 5060;
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
