#pragma once

// The device model against the simulated device: the codec's set-up loaded, the model's signals written to a
// log in the order they came, and the device's notifications handed to the model as the screen hands them.

#include "device/tcomdevice.h"
#include "rpc/rpcvocabulary.h"
#include "tests/rpctesting.h"

#include <QByteArrayList>
#include <QMap>
#include <QSignalSpy>
#include <QtTest>

#include <map>

namespace devicetesting {

using rpctesting::body;

inline QByteArray text(const std::string &s)
{
    return QByteArray::fromStdString(s);
}

inline QByteArray number(long long n)
{
    return QByteArray::number(n);
}

// The arguments of a table row's step "<operation> <argument>;<argument>...", and one of them (empty when absent).
inline QByteArrayList stepArgs(const QByteArray &step)
{
    const int blank = step.indexOf(' ');
    return blank < 0 ? QByteArrayList() : step.mid(blank + 1).split(';');
}

inline std::string arg(const QByteArrayList &args, int i)
{
    return i < args.size() ? args[i].toStdString() : std::string();
}

// "k<kind> f<family> s<state> <status>/<previous> d<direction> r<rings> n=<remote number> c=<cause>
// q<tx net-quality 1>/<tx 2>/<rx 1>/<rx 2>"
inline QByteArray callText(const TComAudioConnection &c)
{
    const auto n = [](int v) { return QByteArray::number(v); };
    return "k" + n(c.kind()) + " f" + n(connectionNetworkFamily(&c)) + " s" + n(c.state()) + " " + n(c.callStatus())
        + "/" + n(c.previousCallStatus()) + " d" + n(c.direction()) + " r" + n(c.ringCount())
        + " n=" + QByteArray::fromStdString(c.remoteNumber()) + " c=" + QByteArray::fromStdString(c.causeText()) + " q"
        + n(c.txReport(0).netQuality) + "/" + n(c.txReport(1).netQuality) + "/" + n(c.rxReport(0).netQuality) + "/"
        + n(c.rxReport(1).netQuality);
}

inline QByteArray recordText(const TComBaseConnection *record)
{
    if (record->kind() == TComBaseConnection::KindDataLink)
        return "link s" + QByteArray::number(record->state()) + " " + QByteArray::fromStdString(record->networkName());
    return callText(*static_cast<const TComAudioConnection *>(record));
}

// What the model holds, by name; a table row names the entries it expects.
inline QMap<QByteArray, QByteArray> modelFields(const TComDevice &m)
{
    const auto n = [](int v) { return QByteArray::number(v); };
    const auto s = [](const std::string &t) { return QByteArray::fromStdString(t); };
    QByteArrayList networks;
    for (const auto &entry : m.availableNetworks())
        networks << s(entry.second);
    return {
        {"ready", n(m.isReady())},
        {"opts", "0x" + QByteArray::number(m.deviceOptions(), 16)},
        {"hw", n(m.hardwareVersion())},
        {"docking", n(m.dockingDetected())},
        {"battery", n(m.batteryLevel()) + "/" + n(m.batteryStatus()) + "/" + n(m.batteryRemaining())},
        {"bars", n(m.mobileSignalBars()) + "/" + n(m.wifiSignalBars())},
        {"modes", n(m.codecMode()) + "/" + n(m.coordMode()) + "/" + n(m.dualStreamMode())},
        {"line1", s(CodecFormat::codecFormatToString(m.lineCodec(1)))},
        {"line2", s(CodecFormat::codecFormatToString(m.lineCodec(2)))},
        {"networks", networks.join(',')},
        {"default", s(m.defaultNetwork())},
        {"secondary", s(m.secondaryNetwork())},
        {"aes67", n(m.aes67Reset())},
        {"clock", n(m.clockSource())},
        {"fan", n(m.fan())},
        {"relays",
            n(m.relaysKnown()) + " " + n(m.relay1().on) + n(m.relay2().on) + " " + s(m.relay1().config) + "/"
                + s(m.relay1().previousConfig) + " " + s(m.relay2().config) + "/" + s(m.relay2().previousConfig)},
        {"jitterab", n(m.aoipController().jitterab())},
        {"connections", n(int(m.connections().size()))},
    };
}

// The requests of TComDevice::initialize, by what they ask; startFrames are those of the codec's set-up.
inline const QByteArray fOptions = "PARAM|target=general|LIST device_opts";
inline const QByteArray fNetworks = "PARAM|target=network|LIST network";
inline const QByteArray fBattery
    = "PARAM|target=general|GET docking_detected|GET battery_level|GET battery_status|GET battery_remaining";
inline const QByteArrayList fAoip = {"DO|action=subscribe|info=sip_registration",
    "DO|action=subscribe|info=sip_registration2", "PARAM|network=aoip|target=network|GET jitterab",
    "PARAM|target=network|GET aoip_version|GET sip_state|GET sip_state2"};
inline const QByteArray fAssignment = "PARAM|target=network|GET default_network|GET secondary_network";
inline const QByteArray fAssignmentAlone = "PARAM|target=network|GET default_network";
inline const QByteArray fEthernet = "PARAM|network=eth.0|target=network|GET mode|GET cable";
inline const QByteArray fCodecs
    = "PARAM|target=audio|GET codec_mode|GET coord_mode|GET codec|GET dcodec_1|GET dcodec_2";
inline const QByteArray fAes67 = "PARAM|target=audio|GET aes67_reset";
inline const QByteArrayList fSubscriptions = {"DO|action=subscribe|info=audio_changeset",
    "DO|action=subscribe|info=network_info", "DO|action=subscribe|info=battery_level"};
inline const QByteArrayList fLinks = {
    "PARAM|mode=data|network=mobile.0|target=network|GET id", "PARAM|mode=wifi|network=wifi.0|target=network|GET id"};

inline const QByteArrayList startFrames = QByteArrayList {fOptions, fNetworks, fBattery} + fAoip
    + QByteArrayList {fAssignment, fEthernet, fCodecs + "|GET dstream_mode", fAes67} + fSubscriptions + fLinks;

class ModelRig : public rpctesting::DeviceBench
{
public:
    ModelRig()
    {
        qRegisterMetaType<TComDevice::DeviceState>();
        device.loadSetup(SimDevice::codecSetup());
        const auto id = [](const TComBaseConnection *r) { return QByteArray::number(r->id()); };
        QObject::connect(&model, &TComDevice::deviceStateChanged,
            [this](TComDevice::DeviceState state) { log << "state " + QByteArray::number(state); });
        QObject::connect(
            &model, &TComDevice::connectionAdded, [this, id](TComBaseConnection *r) { log << "added " + id(r); });
        QObject::connect(&model, &TComDevice::connectionRemoved, [this, id](TComBaseConnection *r) {
            log << "removed " + id(r);
            removed[r->id()] = recordText(r);
        });
        QObject::connect(&model, &TComDevice::dataConnectionStateChanged,
            [this, id](TComDataConnection *r) { log << "data " + id(r) + ":" + QByteArray::number(r->state()); });
        QObject::connect(&model, &TComDevice::audioConnectionStateChanged,
            [this, id](TComAudioConnection *r) { log << "call " + id(r) + ":" + QByteArray::number(r->state()); });
        QObject::connect(&model, &TComDevice::audioCallStatusChanged, [this, id](TComAudioConnection *r) {
            log << "status " + id(r) + ":" + QByteArray::number(r->callStatus());
        });
        QObject::connect(&model, &TComDevice::audioCallStatisticChanged,
            [this, id](TComAudioConnection *r) { log << "stat " + id(r); });
        QObject::connect(&model, &TComDevice::audioCallRelayChanged, [this, id](TComAudioConnection *r) {
            log << "relay " + id(r) + ":" + QByteArray::number(r->relay1Out()) + QByteArray::number(r->relay2Out());
        });
    }

    // As the screen does when the connection goes.
    void resetOnDrop()
    {
        QObject::connect(&com, &kra::CCom::stateChanged, &model, [this](RpcConnection::ConnectionState state) {
            if (state == RpcConnection::UnconnectedState || state == RpcConnection::ClosingState) {
                log << "reset " + QByteArray::number(state);
                model.reset(true);
            }
        });
    }

    QByteArrayList takeLog() { return std::exchange(log, {}); }

    // Plays the bodies and hands each message to the model; the handlers' results, '1' or '0' each.
    QByteArray deliver(const QByteArrayList &bodies)
    {
        QSignalSpy received(&com, &kra::CCom::messageReceived);
        std::vector<kra::CMsg> events;
        for (const QByteArray &text : bodies)
            events.push_back(body(text));
        device.play(events);
        while (received.count() < bodies.size() && received.wait(5000)) { }
        // A copy: the handlers' own requests may take in further messages.
        const QList<QList<QVariant>> messages = received;
        QByteArray results;
        for (const QList<QVariant> &args : messages) {
            RpcMessage message = args.first().value<RpcMessage>();
            const bool handled
                = message.body().kind == kra::CMsg::Info ? model.handleInfo(message) : model.handleEvent(message);
            results += handled ? '1' : '0';
        }
        return results;
    }

    // The record's text, also after the model removed it.
    QByteArray recordOf(int id) const
    {
        if (const TComBaseConnection *r = model.connectionById(id))
            return recordText(r);
        return removed.value(id, "none");
    }

    QByteArrayList log;
    QMap<int, QByteArray> removed;
    TComDevice model {&com};
};

} // namespace devicetesting
