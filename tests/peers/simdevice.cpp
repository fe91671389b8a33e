#include "tests/peers/simdevice.h"

#include "rpc/passwordcipher.h"
#include "rpc/rpcconnection.h"
#include "rpc/rpcvocabulary.h"

#include <QFile>
#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>
#include <QtEndian>

#include <algorithm>
#include <cctype>

namespace {

bool mentions(const kra::CMsg &body, const std::string &word)
{
    if (word.empty())
        return true;
    for (const auto &[key, value] : body.params) {
        if (key == word || value == word)
            return true;
    }
    return std::find(body.getNames.begin(), body.getNames.end(), word) != body.getNames.end()
        || std::find(body.listNames.begin(), body.listNames.end(), word) != body.listNames.end();
}

} // namespace

class SimDeviceServer final : public QTcpServer
{
public:
    std::function<void(qintptr)> onIncoming;

protected:
    void incomingConnection(qintptr descriptor) override { onIncoming(descriptor); }
};

class SimDeviceLink final : public RpcServerConnection
{
public:
    using RpcServerConnection::RpcServerConnection;
    void writeRaw(const QByteArray &bytes) { socket()->write(bytes); }
    QTcpSocket *tcpSocket() const { return socket(); }
    // What was already written still leaves first.
    void abortSocket()
    {
        socket()->flush();
        socket()->abort();
    }
};

struct SimDevice::Answer
{
    int kind = kra::CMsg::Param;
    std::vector<std::pair<std::string, std::string>> values;
    std::vector<std::pair<std::string, std::vector<std::string>>> lists;
    std::string result;
};

SimDevice::SimDevice(QObject *parent) : QObject(parent), m_server(new SimDeviceServer), m_udp(new QUdpSocket(this))
{
    m_server->setParent(this);
    m_server->onIncoming = [this](qintptr descriptor) { accept(descriptor); };
    addTarget(kra::TGT_GENERAL);
    addTarget(kra::TGT_AUDIO);
    addTarget(kra::TGT_UI);
    addTarget(kra::TGT_NETWORK, {kra::KEY_NETWORK});
    addTarget(kra::TGT_DB, {kra::KEY_CAT, kra::KEY_TYPE});
    const Action ok = [](const kra::CMsg &, kra::CMsg &) {};
    setAction(kra::CMD_SUBSCRIBE, ok);
    setAction(kra::CMD_UNSUBSCRIBE, ok);
    setAction(kra::CMD_REINIT, ok);
    setAction(kra::CMD_REQUEST, ok);
    learnCommands();
    learnBook();
}

SimDevice::~SimDevice()
{
    for (SimDeviceLink *link : qAsConst(m_links))
        link->disconnect(this);
}

bool SimDevice::listen(quint16 port)
{
    return m_server->listen(QHostAddress::LocalHost, port);
}

QString SimDevice::host() const
{
    return QStringLiteral("127.0.0.1");
}

quint16 SimDevice::port() const
{
    return m_server->serverPort();
}

int SimDevice::clientCount() const
{
    return m_links.size();
}

void SimDevice::addTarget(const std::string &target, const std::vector<std::string> &addressKeys)
{
    m_targets[target] = addressKeys;
}

void SimDevice::setParam(const std::string &store, const std::string &key, const std::string &value)
{
    m_stores[store][key] = value;
}

void SimDevice::unsetParam(const std::string &store, const std::string &key)
{
    m_stores[store].erase(key);
}

std::string SimDevice::param(const std::string &store, const std::string &key) const
{
    const auto s = m_stores.find(store);
    if (s == m_stores.end())
        return std::string();
    const auto v = s->second.find(key);
    return v == s->second.end() ? std::string() : v->second;
}

bool SimDevice::hasParam(const std::string &store, const std::string &key) const
{
    const auto s = m_stores.find(store);
    return s != m_stores.end() && s->second.count(key) > 0;
}

void SimDevice::setList(const std::string &store, const std::string &name, const std::vector<std::string> &items)
{
    m_lists[store][name] = items;
}

void SimDevice::setListFor(const std::string &store, const std::string &name,
    const std::vector<std::pair<std::string, std::string>> &when, const std::vector<std::string> &items)
{
    m_qualifiedLists[store][name].push_back({when, items});
}

void SimDevice::loadSetup(const QByteArray &text)
{
    for (const QByteArray &raw : text.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const int blank = line.indexOf(' ');
        const int equals = line.indexOf('=', blank);
        if (blank < 0 || equals < 0)
            continue;
        const std::string store = line.left(blank).toStdString();
        const std::string key = line.mid(blank + 1, equals - blank - 1).trimmed().toStdString();
        const QByteArray value = line.mid(equals + 1);
        if (value.startsWith('[') && value.endsWith(']')) {
            std::vector<std::string> items;
            kra::splitListValue(value.mid(1, value.size() - 2).toStdString(), items);
            setList(store, key, items);
        } else {
            setParam(store, key, value.toStdString());
        }
    }
}

QByteArray SimDevice::codecSetup()
{
    return QByteArrayLiteral(R"(
general device_opts=[ip_dcodec,mobile_lte,wifi,ravenna,remote_access_3,ip_dstream_1,record_1,hardware_3,docking_poe]
general docking_detected=yes
general battery_level=87
general battery_status=charging
general battery_remaining=240
network network=[aoip,eth.0,mobile.0,wifi.0]
network default_network=eth.0
network secondary_network=mobile.0
network aoip_version=4.2.1
network sip_state=registered
network sip_state2=unregistered
network:aoip jitterab=on
network:eth.0 mode=dhcp
network:eth.0 cable=plugged
network:mobile.0 mode=data
network:mobile.0 pin=ready
network:mobile.0 registration_state=home
network:mobile.0 signal_quality=-71 dBm
network:mobile.0 id=12
network:wifi.0 signal_quality=-60 dBm
audio codec_mode=cmode_normal
audio coord_mode=disabled
audio codec=OPUS/48000/stereo/128000
audio dcodec_1=G722
audio dcodec_2=G722
audio dstream_mode=disabled
audio aes67_reset=off
general device=quorvane
general version=1.01.04.0
general builddate=2024-03-18
db:ui:quorvane_ui tabname=Lab codec
general softkey1=C00F01B03
general softkey2=C00F02B03
general softkey3=C01F01B02
general softkey4=C02F01B00
general softkey5=C00F08B03
general softkey6=C01F02B02
general softkey7=C03F05B01
general softkey8=
general softkey9=C03F09B01
general softkey10=
)");
}

void SimDevice::setAccessPasswords(const std::string &administrator, const std::string &expert, const std::string &user)
{
    const std::string store = kra::TGT_DB + ":" + kra::TGT_UI + ":" + kra::UI_TYPE_QUORVANE;
    const std::pair<const std::string &, const std::string &> passwords[]
        = {{kra::KEY_PASSWORD_ADMINISTRATOR, administrator}, {kra::KEY_PASSWORD_EXPERT, expert},
            {kra::KEY_PASSWORD_OPERATOR, user}};
    for (const auto &[key, password] : passwords)
        setParam(store, key, password.empty() ? password : encryptPasswordString(password));
}

QByteArray SimDevice::audioSetup()
{
    return QByteArrayLiteral(R"(
audio input_options=00000005
audio limiter_threshold=-6
audio input1=on
audio input1_gain=30
audio input1_level=-4
audio input1_power=48V
audio input1_limiter=on
audio input1_filter=off
audio input1_pad=off
audio input2=on
audio input2_gain=12
audio input2_level=0
audio input2_power=off
audio input2_limiter=off
audio input2_filter=on
audio input2_pad=on
audio input3=off
audio input3_gain=0
audio input3_level=0
audio input3_power=off
audio input3_limiter=off
audio input3_pad=off
audio input4=on
audio input4_gain=-3
audio input4_level=2
audio input4_power=off
audio input4_limiter=on
audio input4_pad=off
audio lineout1_level=10
audio lineout2_level=16
audio drc_state=on
audio drc_lim_threshold=-1
audio drc_threshold_cmp=-12
audio drc_ratio_cmp=2.5
audio drc_attack=2
audio matrix_in1=0060,Mic 1
audio matrix_in2=00A0,Mic 2
audio matrix_in3=0020,Mic A
audio matrix_in4=0020,Mic B
audio matrix_in5=0766,AES3 L
audio matrix_in6=0026,AES3 R
audio matrix_in7=0020,Gäste
audio matrix_in8=0020,
audio matrix_in9=0020,
audio matrix_in10=0020,
audio matrix_in11=0020,
audio matrix_in12=0020,
audio matrix_in13=0020,
audio matrix_in14=0020,
audio matrix_in15=0020,
audio matrix_in16=0020,
audio matrix_in17=0020,
audio matrix_in18=0020,
audio matrix_in19=0020,
audio matrix_in20=0020,
audio matrix_in21=0020,
audio matrix_in22=0020,
audio matrix_in23=0020,
audio matrix_in24=0020,
audio matrix_ou13=00000003
audio matrix_ou14=00000003
audio matrix_ou15=00000000
audio matrix_ou16=00000000
audio matrix_ou17=00000000
audio matrix_ou18=00000000
audio matrix_ou19=00000000
audio matrix_ou20=00000000
audio matrix_ou21=00000000
audio matrix_ou22=00000000
audio matrix_ou23=00004000
audio matrix_ou24=00008000
audio matrix_hp1=E0E000000000000000000000000000000000000000000000000000000000
audio matrix_hp2=000000000000000000000000000000000000000000000000000000000000
audio matrix_hp3=000000000000000000000000000000000000000000000000000000000000
audio matrix_ba1=0416
audio matrix_ba2=0006
audio matrix_ba3=0006
audio matrix_rec1=00080000
audio matrix_rec2=00080000
audio matrix_mgn=80807680
audio matrix_opt=00000000
)");
}

void SimDevice::changeset(const std::string &store, const std::string &infoType,
    const std::vector<std::pair<std::string, std::string>> &values, const std::string &source)
{
    kra::CMsg info(kra::CMsg::Info);
    info.setParam(kra::KEY_INFO_TYPE, infoType);
    if (!source.empty())
        info.setParam(kra::KEY_INFO_SOURCE, source);
    for (const auto &[key, value] : values) {
        setParam(store, key, value);
        info.setParam(key, value, kra::CMsg::Overwrite);
    }
    notify(info);
}

QByteArray SimDevice::ravennaSetup()
{
    // Device texts travel as UTF-8; "{e}" stands for the two bytes of U+00E9.
    return QByteArray(R"(
audio rav_manufacturer=Example Audio
audio rav_hardware_name=AoIP module 8
audio rav_device_name=R{e}gie 2
audio rav_if_count=2
audio rav_net_mode=redund
audio rav_sample_rate=96000
audio rav_resolution=32
audio rav_ptp_domain=3
audio rav_dhcp=off
audio rav_ip_addr=192.168.10.5
audio rav_subnet=255.255.255.0
audio rav_gateway=192.168.10.1
audio rav_hw_addr=02:00:5e:00:00:01
audio rav_vlan_id=7
audio rav_dhcp1=zeroconf
audio rav_ip_addr1=169.254.3.4
audio rav_subnet1=255.255.0.0
audio rav_gateway1=
audio rav_hw_addr1=02:00:5e:00:00:02
audio rav_vlan_id1=8
audio rav_stream_in0=12/3/Studio A
audio rav_status_in0=receiving,idle
audio rav_stream_in1=14/1/Caf{e}
audio rav_status_in1=waiting,waiting
audio rav_delay_min_in=16
audio rav_delay_max_in=9600
audio rav_delay_in=480
audio rav_name_ou=Reporter {e}
audio rav_mode_ou=on
audio rav_netif_ou=1
audio rav_autoconf_ou=off
audio rav_mc_addr_ou=239.1.2.3
audio rav_mc_port_ou=5006
audio rav_autoconf_ou1=on
audio rav_mc_addr_ou1=239.1.2.4
audio rav_mc_port_ou1=5008
audio rav_ch_count_ou=8
audio rav_ptime_ou=0.25
audio rav_sync_state=1
audio rav_lock_state=locked
audio rav_link_state=on
audio rav_ptp_state=slave
audio rav_link_state1=off
audio rav_ptp_state1=listening
audio rav_hardware_rev=B2
audio rav_firmware_ver=1.8
audio rav_firmware_rev=1.8.4
audio rav_rescueos_rev=1.0.2
audio rav_stream_in=[12/3/Studio A,14/1/Caf{e},/2/broken,20/2]
audio rav_sample_rate=[44100,48000,96000]
audio rav_resolution=[16,24,32]
)")
        .replace("{e}", "\xc3\xa9");
}

QByteArray SimDevice::isdnSetup()
{
    return QByteArrayLiteral(R"(
network:isdn.0 protocol=isdn_ni1
network:isdn.0 spid=0123456789
network:isdn.0 addr_sb0_ch0=5550100
network:isdn.0 addr_sb0_ch1=5550101
network:isdn.0 subaddr_sb0_ch0=1
network:isdn.0 subaddr_sb0_ch1=2
audio 5as=on
)");
}

void SimDevice::refuseKey(const std::string &key, const std::string &cause)
{
    m_refused[key] = cause;
}

void SimDevice::setWriteCheck(const std::string &key, WriteCheck check)
{
    m_writeChecks[key] = std::move(check);
}

void SimDevice::setAction(const std::string &action, Action handler)
{
    m_actions[action] = std::move(handler);
}

void SimDevice::addFault(const Fault &fault)
{
    m_faults.push_back(fault);
}

void SimDevice::clearFaults()
{
    m_faults.clear();
}

void SimDevice::notify(const kra::CMsg &body)
{
    for (SimDeviceLink *link : qAsConst(m_links))
        link->send(RpcMessage::notification(body));
}

void SimDevice::play(const std::vector<kra::CMsg> &bodies)
{
    for (const kra::CMsg &body : bodies)
        notify(body);
}

void SimDevice::sendRaw(const QByteArray &bytes)
{
    for (SimDeviceLink *link : qAsConst(m_links))
        link->writeRaw(bytes);
}

void SimDevice::dropConnections()
{
    const QList<SimDeviceLink *> links = m_links;
    for (SimDeviceLink *link : links)
        link->abortSocket();
}

bool SimDevice::sendDatagram(quint16 port, const QByteArray &datagram)
{
    return m_udp->writeDatagram(datagram, QHostAddress::LocalHost, port) == datagram.size();
}

bool SimDevice::sendDatagram(quint16 port, const RpcMessage &message)
{
    return sendDatagram(port, RpcConnection::encode(message));
}

void SimDevice::accept(qintptr descriptor)
{
    auto *link = new SimDeviceLink(this);
    if (!link->setSocketDescriptor(descriptor)) {
        delete link;
        return;
    }
    m_links.append(link);
    connect(link, &RpcConnection::messageReceived, this, [this, link](const RpcMessage &message) {
        if (message.kind() == RpcMessage::Request)
            handleRequest(link, message);
    });
    connect(link, &RpcConnection::stateChanged, this, [this, link](RpcConnection::ConnectionState state) {
        if (state != RpcConnection::UnconnectedState || !m_links.removeOne(link))
            return;
        link->close();
        link->deleteLater();
        emit clientDisconnected();
    });
    emit clientConnected();
}

bool SimDevice::takeFault(const kra::CMsg &request, Fault &fault)
{
    for (auto it = m_faults.begin(); it != m_faults.end(); ++it) {
        if (mentions(request, it->match)) {
            fault = *it;
            m_faults.erase(it);
            return true;
        }
    }
    return false;
}

void SimDevice::handleRequest(SimDeviceLink *link, const RpcMessage &request)
{
    m_requests.append(request);
    emit requestReceived(request);
    if (m_silent)
        return;

    Fault fault;
    takeFault(request.body(), fault);
    for (const kra::CMsg &body : fault.before)
        link->send(RpcMessage::notification(body));

    Answer answer;
    if (request.body().kind == kra::CMsg::Param) {
        answerParam(request.body(), answer);
    } else if (request.body().kind == kra::CMsg::Do) {
        answerDo(request.body(), answer);
    } else {
        answer.kind = request.body().kind;
        answer.result = kra::RET_ERROR;
        answer.values.emplace_back(kra::KEY_CAUSE, kra::ERR_UNKNOWN_COMMAND);
    }

    switch (fault.kind) {
    case Fault::Answer:
        sendReplies(link, request, render(answer, 0, false));
        break;
    case Fault::Silence:
        break;
    case Fault::Delay: {
        const QPointer<SimDeviceLink> target(link);
        const std::vector<kra::CMsg> bodies = render(answer, 0, false);
        QTimer::singleShot(fault.value, this, [this, target, request, bodies] {
            if (target)
                sendReplies(target, request, bodies);
        });
        break;
    }
    case Fault::Nok: {
        kra::CMsg body(request.body().kind);
        body.setParam(kra::KEY_RETURN, kra::RET_NOK);
        if (!fault.cause.empty())
            body.setParam(kra::KEY_CAUSE, fault.cause);
        sendReplies(link, request, {body});
        break;
    }
    case Fault::ErrorReply:
        link->send(RpcMessage::errorReply(request, fault.value));
        break;
    case Fault::Drop:
        link->abortSocket();
        break;
    case Fault::BadMagic: {
        QByteArray frame = RpcConnection::encode(RpcMessage::reply(request, render(answer, 0, false).front()));
        frame[0] = 'X';
        link->writeRaw(frame);
        break;
    }
    case Fault::OversizedLength: {
        QByteArray frame = RpcConnection::encode(RpcMessage::reply(request, render(answer, 0, false).front()));
        qToLittleEndian<quint32>(RpcConnection::MaxFrameSize + 1, frame.data() + 8);
        link->writeRaw(frame.left(RpcConnection::HeaderSize));
        break;
    }
    case Fault::Progress:
        sendReplies(link, request, render(answer, fault.value, fault.ext));
        break;
    case Fault::Script:
        sendReplies(link, request, fault.replies);
        break;
    case Fault::Flood:
        flood(link, request, fault, render(answer, 0, false));
        break;
    }
}

void SimDevice::flood(
    SimDeviceLink *link, const RpcMessage &request, const Fault &fault, const std::vector<kra::CMsg> &answer)
{
    // Written as the socket takes them, so that the flood waits in the client and not in this peer's buffer: what
    // a test or benchmark in this process measures is the client's.
    constexpr qint64 window = 256 * 1024;
    auto sent = std::make_shared<int>(0);
    auto pacing = std::make_shared<QMetaObject::Connection>();
    const QPointer<SimDeviceLink> target(link);
    const auto pump = [this, target, request, fault, answer, sent, pacing] {
        if (!target || *sent > fault.value)
            return;
        while (*sent < fault.value && target->tcpSocket()->bytesToWrite() < window)
            target->writeRaw(fault.flood((*sent)++));
        if (*sent == fault.value) {
            ++*sent;
            QObject::disconnect(*pacing);
            sendReplies(target, request, answer);
        }
    };
    *pacing = connect(link->tcpSocket(), &QIODevice::bytesWritten, this, pump);
    pump();
}

void SimDevice::answerParam(const kra::CMsg &request, Answer &answer)
{
    answer.kind = kra::CMsg::Param;
    const std::string *target = request.param(kra::KEY_TARGET);
    std::string storeName = target ? *target : (request.param(kra::KEY_CAT) ? kra::TGT_DB : kra::TGT_GENERAL);
    const auto t = m_targets.find(storeName);
    if (t == m_targets.end()) {
        answer.result = kra::RET_ERROR;
        answer.values.emplace_back(kra::KEY_CAUSE, kra::ERR_UNKNOWN_DESTINATION);
        return;
    }
    for (const std::string &key : t->second) {
        if (const std::string *value = request.param(key))
            storeName += ":" + *value;
    }
    auto &store = m_stores[storeName];
    bool refused = false;
    size_t notSet = 0;
    const std::vector<std::string> &listNames = request.listNames;
    const bool asks = !request.getNames.empty() || !listNames.empty();
    for (const auto &[key, value] : request.params) {
        if (asks || key == kra::KEY_TARGET || key == kra::KEY_CONTROLLER_ID
            || std::find(t->second.begin(), t->second.end(), key) != t->second.end())
            continue;
        const auto refusal = m_refused.find(key);
        const auto check = m_writeChecks.find(key);
        const std::string checked = check != m_writeChecks.end() ? check->second(storeName, value) : std::string();
        if (refusal != m_refused.end() || !checked.empty()) {
            answer.values.emplace_back(key, refusal != m_refused.end() ? refusal->second : checked);
            refused = true;
        } else if (check == m_writeChecks.end()) {
            store[key] = value;
        }
    }
    for (const std::string &name : request.getNames) {
        const auto v = store.find(name);
        if (v == store.end()) {
            answer.values.emplace_back(name, kra::ERR_PARAMETER_NOT_SET);
            ++notSet;
        } else {
            answer.values.emplace_back(name, v->second);
        }
    }
    auto &lists = m_lists[storeName];
    // A project's recordings and play list are lists of its media store, "media:<mount point>:<project>".
    const std::string *mount = request.param(kra::CMD_RECORD_MOUNT_POINT);
    const std::string *project = request.param(kra::CMD_RECORD_PROJECT);
    auto &media = m_lists[mount && project ? "media:" + *mount + ":" + *project : storeName];
    // The elements of a project file are lists of "project:<mount point>:<project>:<file>", one per element word;
    // a file of the project without them has empty lists.
    const std::string *element = request.param(kra::CMD_PROJECT_ELEMENT);
    const std::string *file = request.param(kra::ACT_GENERIC_URI);
    static const std::vector<std::string> none;
    for (const std::string &name : listNames) {
        const std::vector<std::string> *items = nullptr;
        for (const QualifiedList &list : m_qualifiedLists[storeName][name]) {
            const bool matches = std::all_of(list.when.begin(), list.when.end(),
                [&request](const auto &pair) { return *request.param(pair.first, true) == pair.second; });
            if (matches && !items)
                items = &list.items;
        }
        const std::string elements = mount && project && file ? "project:" + *mount + ":" + *project + ":" + *file : "";
        if (name == kra::LIST_PROJET_ELEMENT && element
            && (m_lists.count(elements) || hasParam("media:" + *mount + ":" + *project, *file))) {
            const auto &elementLists = m_lists[elements];
            const auto l = elementLists.find(*element);
            items = l == elementLists.end() ? &none : &l->second;
        }
        for (const auto *where : {&media, &lists}) {
            const auto l = where->find(name);
            if (!items && l != where->end())
                items = &l->second;
        }
        std::vector<std::string> records;
        if (!items && storeName == kra::TGT_GENERAL && bookList(name, records))
            items = &records;
        if (!items) {
            answer.values.emplace_back(name, kra::ERR_PARAMETER_NOT_SET);
            ++notSet;
        } else {
            answer.lists.emplace_back(name, *items);
        }
    }
    // Like the codec: "ERROR" for a refusal, or when nothing asked for is set; "not set" among values is "OK".
    const bool nothingSet = notSet > 0 && notSet == answer.values.size() && answer.lists.empty();
    answer.result = refused || nothingSet ? kra::RET_ERROR : kra::RET_OK;
}

void SimDevice::answerDo(const kra::CMsg &request, Answer &answer)
{
    answer.kind = kra::CMsg::Do;
    const auto action = m_actions.find(*request.param(kra::KEY_ACTION, true));
    if (action == m_actions.end()) {
        answer.result = kra::RET_ERROR;
        answer.values.emplace_back(kra::KEY_CAUSE, kra::ERR_UNKNOWN_COMMAND);
        return;
    }
    kra::CMsg reply(kra::CMsg::Do);
    action->second(request, reply);
    answer.result = *reply.param(kra::KEY_RETURN, true);
    if (answer.result.empty())
        answer.result = kra::RET_OK;
    reply.params.erase(kra::KEY_RETURN);
    for (const auto &[key, value] : reply.params)
        answer.values.emplace_back(key, value);
}

std::vector<kra::CMsg> SimDevice::render(const Answer &answer, int progressParts, bool ext) const
{
    // Values and list items are cut into consecutive slices, so the merged parts keep their order.
    const size_t parts = size_t(std::max(progressParts, 0)) + 1;
    std::vector<kra::CMsg> bodies(parts, kra::CMsg(answer.kind));
    for (size_t i = 0; i < answer.values.size(); ++i) {
        const size_t part = i * parts / answer.values.size();
        bodies[part].setParam(answer.values[i].first, answer.values[i].second, kra::CMsg::Overwrite);
    }
    for (const auto &[name, items] : answer.lists) {
        for (size_t part = 0; part < parts; ++part) {
            const size_t begin = part * items.size() / parts;
            const size_t end = (part + 1) * items.size() / parts;
            if (begin == end && !(part + 1 == parts && items.empty()))
                continue;
            std::vector<std::string> slice(items.begin() + long(begin), items.begin() + long(end));
            std::string value;
            if (ext) {
                for (size_t k = 0; k < slice.size(); ++k)
                    value += (k ? std::string(1, kra::EXT_LIST_SEPARATOR) : std::string()) + slice[k];
            } else {
                kra::joinListValue(slice, value);
            }
            bodies[part].setParam(name, value, kra::CMsg::Overwrite);
        }
    }
    for (size_t part = 0; part < parts; ++part) {
        bodies[part].setParam(
            kra::KEY_RETURN, part + 1 == parts ? answer.result : kra::RET_PROGRESS, kra::CMsg::Overwrite);
        if (ext)
            bodies[part].setParam(kra::KEY_RETURN_FMT, kra::FMT_EXT, kra::CMsg::Overwrite);
    }
    return bodies;
}

void SimDevice::sendReplies(SimDeviceLink *link, const RpcMessage &request, const std::vector<kra::CMsg> &bodies)
{
    for (const kra::CMsg &body : bodies)
        link->send(RpcMessage::reply(request, body));
}

QByteArray goldenFrame(const QString &name)
{
    QFile file(QStringLiteral(MQ_GOLDEN_DIR "/") + name + QStringLiteral(".hex"));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QByteArray hex;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray &line : lines) {
        const int comment = line.indexOf('#');
        for (const char c : comment < 0 ? line : line.left(comment)) {
            if (std::isxdigit(static_cast<unsigned char>(c)))
                hex += c;
        }
    }
    return QByteArray::fromHex(hex);
}
