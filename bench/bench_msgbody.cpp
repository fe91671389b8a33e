// Body text parsing and writing against a naive split into a QMap of QStrings.

#include "rpc/kramsg.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <benchmark/benchmark.h>

namespace {

// What a device sends for one interface's configuration: 31 parameters of typical lengths.
std::string realisticBody()
{
    return "INFO;info_type:config info;network:eth.0;mode:dhcp;ip:192.168.10.42;mask:255.255.255.0;"
           "gateway:192.168.10.1;dns1:192.168.10.1;dns2:8.8.8.8;hostname:codec-field-07;mtu:1500;speed:auto;"
           "duplex:full;vlan:off;vlan_id:0;qos:on;dscp_audio:46;dscp_sip:26;sip_port:5060;rtp_port_min:5004;"
           "rtp_port_max:5100;stun:on;stun_server:stun.example.com;stun_port:3478;nat_mode:auto;"
           "public_addr:203.0.113.7;public_port:5060;link:up;mac:00:11:22:33:44:55;ajb_profile:normal;"
           "max_bandwidth:1024000;state:connected;";
}

// About 2 KB: a LIST reply of recordings with escaped separators in some names.
std::string largeBody()
{
    std::string body = "PARAM;return:OK;path:/media/record;list:";
    int n = 0;
    while (body.size() < 2000) {
        body += "take_" + std::to_string(n) + (n % 7 == 0 ? "\\;mono" : "") + ".wav,";
        ++n;
    }
    body += ";count:" + std::to_string(n) + ";";
    return body;
}

struct BaselineMsg
{
    QString kind;
    QMap<QString, QString> params;
};

BaselineMsg baselineParse(const std::string &text)
{
    BaselineMsg msg;
    const QStringList items = QString::fromLatin1(text.data(), int(text.size())).split(';', Qt::SkipEmptyParts);
    if (items.isEmpty())
        return msg;
    msg.kind = items.first();
    for (int i = 1; i < items.size(); ++i) {
        const QString &item = items.at(i);
        const int colon = item.indexOf(':');
        const QString name = colon < 0 ? item : item.left(colon);
        if (!msg.params.contains(name))
            msg.params.insert(name, colon < 0 ? item : item.mid(colon + 1));
    }
    return msg;
}

QByteArray baselineSerialize(const BaselineMsg &msg)
{
    QString text = msg.kind + ';';
    for (auto it = msg.params.cbegin(); it != msg.params.cend(); ++it)
        text += it.key() + ':' + it.value() + ';';
    return text.toLatin1();
}

const std::string &bodyFor(const benchmark::State &state)
{
    static const std::string realistic = realisticBody();
    static const std::string large = largeBody();
    return state.range(0) == 0 ? realistic : large;
}

void setLabel(benchmark::State &state)
{
    const std::string &body = bodyFor(state);
    state.SetLabel(state.range(0) == 0 ? "31 parameters" : "2 KB");
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(body.size()));
}

void BM_ParseBody(benchmark::State &state)
{
    const std::string &body = bodyFor(state);
    kra::CMsg msg;
    for (auto _ : state) {
        kra::parseBody(body, msg);
        benchmark::DoNotOptimize(msg.params.size());
    }
    setLabel(state);
}

// As the connection does it: a new record per frame, freed afterwards.
void BM_ParseBodyFresh(benchmark::State &state)
{
    const std::string &body = bodyFor(state);
    for (auto _ : state) {
        kra::CMsg msg;
        kra::parseBody(body, msg);
        benchmark::DoNotOptimize(msg.params.size());
    }
    setLabel(state);
}

void BM_ParseBaseline(benchmark::State &state)
{
    const std::string &body = bodyFor(state);
    for (auto _ : state) {
        BaselineMsg msg = baselineParse(body);
        benchmark::DoNotOptimize(msg.params.size());
    }
    setLabel(state);
}

void BM_SerializeBody(benchmark::State &state)
{
    kra::CMsg msg;
    kra::parseBody(bodyFor(state), msg);
    std::string out;
    for (auto _ : state) {
        kra::serializeBody(msg, out);
        benchmark::DoNotOptimize(out.data());
    }
    setLabel(state);
}

void BM_SerializeBaseline(benchmark::State &state)
{
    const BaselineMsg msg = baselineParse(bodyFor(state));
    for (auto _ : state) {
        QByteArray out = baselineSerialize(msg);
        benchmark::DoNotOptimize(out.data());
    }
    setLabel(state);
}

} // namespace

BENCHMARK(BM_ParseBody)->Arg(0)->Arg(1);
BENCHMARK(BM_ParseBodyFresh)->Arg(0)->Arg(1);
BENCHMARK(BM_ParseBaseline)->Arg(0)->Arg(1);
BENCHMARK(BM_SerializeBody)->Arg(0)->Arg(1);
BENCHMARK(BM_SerializeBaseline)->Arg(0)->Arg(1);

BENCHMARK_MAIN();
