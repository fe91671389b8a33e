#pragma once

// A simulated codec for tests: an RPC server on 127.0.0.1, port 0, built on RpcServerConnection.
//
// Stores: one parameter store per target. A store is named after its target, followed by ":" and the value of
// each addressing key of that target: "general", "audio", "ui", "network" (device-wide) and "network:eth.0"
// (one interface, key "network"), "db:<cat>:<type>" (keys "cat" and "type"). "target" and "controller_id" are
// never values. A PARAM request without "target" or "cat" goes to "general"; "cat" alone means "db".
//
// Answers to PARAM: a GET name gets its value or "101-parameter not set"; a LIST name its items, joined by ','
// (or "101-parameter not set"). In a request that
// asks (GET or LIST names) the other keys only qualify what is asked, like "mode" of a link id or "codec_mode" of a
// codec list, and are not stored. In any other request each key is stored, unless refused, in which case it is answered
// with the refusal text and left unchanged. The reply says "ERROR" when a key was refused or when no name asked for is
// set, else "OK" (values that are not set then travel as "101-parameter not set" in an "OK" reply). DO requests run the
// handler of their "action" (subscribe, unsubscribe, reinit and request answer "OK" by default, the codec's commands as
// simdevicecommands.cpp describes); the handler fills the reply, which says "OK" unless it sets "return". Unknown
// actions and targets get "ERROR" with a cause. The book of profiles, presets and snapshots is simdevicebook.cpp's.
//
// Faults wait in a queue; each request takes the first fault whose match it fits, so a test can break exactly
// one request of a sequence. Every request is logged before it is answered.

#include "rpc/rpcmessage.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QUdpSocket;
class SimDeviceLink;
class SimDeviceServer;

class SimDevice : public QObject
{
    Q_OBJECT
public:
    struct Fault
    {
        enum Kind {
            Answer, // the normal answer (with `before` sent ahead of it)
            Silence, // no answer: the call runs into its time-out
            Delay, // the normal answer, `value` ms later
            Nok, // "return" "NOK", with `cause` when not empty
            ErrorReply, // a header-only error reply with aux `value`
            Drop, // the connection is aborted instead of answering
            BadMagic, // the normal answer with a broken magic
            OversizedLength, // a reply header announcing more than the largest frame
            Progress, // the normal answer cut into `value` "PROGRESS" replies and a last one
            Script, // the bodies in `replies`, each sent as a reply frame, in order
            Flood, // `value` frames made by `flood` from their number, as fast as the link takes them, then the
                   // normal answer
        };
        Kind kind = Answer;
        int value = 0;
        bool ext = false; // Progress: every part carries returnFmt "EXT", lists joined by 0x1D
        std::string cause; // Nok
        std::vector<kra::CMsg> before; // notifications sent just before the answer
        std::vector<kra::CMsg> replies; // Script
        std::function<QByteArray(int)> flood; // Flood
        std::string match; // a key, value, GET or LIST name the request must hold; empty: any
    };
    using Action = std::function<void(const kra::CMsg &request, kra::CMsg &reply)>;

    explicit SimDevice(QObject *parent = nullptr);
    ~SimDevice() override;

    bool listen(quint16 port = 0);
    QString host() const;
    quint16 port() const;
    int clientCount() const;

    void addTarget(const std::string &target, const std::vector<std::string> &addressKeys = {});
    void setParam(const std::string &store, const std::string &key, const std::string &value);
    void unsetParam(const std::string &store, const std::string &key);
    // Empty when not set.
    std::string param(const std::string &store, const std::string &key) const;
    bool hasParam(const std::string &store, const std::string &key) const;
    void setList(const std::string &store, const std::string &name, const std::vector<std::string> &items);
    // A list asked for with given values of the request's other keys (all must match); it wins over setList's.
    void setListFor(const std::string &store, const std::string &name,
        const std::vector<std::pair<std::string, std::string>> &when, const std::vector<std::string> &items);
    // Lines "<store> <key>=<value>"; a value in brackets, "[a,b,c]", is a list of items separated by ','. Blank
    // lines and lines that begin with '#' are skipped.
    void loadSetup(const QByteArray &text);
    // A codec as the device model reads it at start-up: options, interfaces (aoip, eth.0, mobile.0 with a data
    // link, wifi.0), battery, SIP state, default and secondary network, single-codec set-up, AES67 reset; and as
    // the login reads it: its kind, firmware, build date and name, and the ten soft keys.
    static QByteArray codecSetup();
    // The audio section (target "audio"): the four analog inputs with limiter, line outs and DRC, and the
    // routing matrix in its packed keys. Texts are UTF-8, as the device sends them.
    static QByteArray audioSetup();
    // The AES67/RAVENNA module on "audio": its "rav_" parameters, two receive streams set, both interfaces, and
    // the LISTs of streams on offer (one of them malformed), sample rates and resolutions.
    static QByteArray ravennaSetup();
    // The ISDN interface "isdn.0" set to NI-1 with its numbers, and "5as" on "audio".
    static QByteArray isdnSetup();
    // The three access-level passwords in the screen's "db" store, enciphered as the device keeps them; an empty
    // password is stored empty.
    void setAccessPasswords(const std::string &administrator, const std::string &expert, const std::string &user);
    // Wave maps: "wav_to_data" also writes the recording's wave-bitmap file below this folder, at the device's path
    // of it ("<folder>/mnt/<mount point>/<project>/<name>.dat"). The recording's shape is the value of its WAV
    // file in the store "wave:<mount point>:<project>": "<ms>/<channels>/<last segment>" (10 s, stereo, 6 when
    // not set). Without a folder nothing is written.
    void setWaveMapFolder(const QString &folder) { m_waveMapFolder = folder; }
    void refuseKey(const std::string &key, const std::string &cause);
    // A write of the key goes to the check instead of the store: an empty answer takes it (the check keeps what it
    // wants of it), any other text refuses it with that text.
    using WriteCheck = std::function<std::string(const std::string &store, const std::string &value)>;
    void setWriteCheck(const std::string &key, WriteCheck check);
    // The SIM of every mobile interface asks for this PIN (simdevicesim.cpp).
    void checkSimPin(const std::string &pin);
    void setAction(const std::string &action, Action handler);
    void addFault(const Fault &fault);
    void clearFaults();
    // A device that stopped answering: while silent, requests are logged and left unanswered (their faults wait).
    void setSilent(bool silent) { m_silent = silent; }

    const QList<RpcMessage> &requests() const { return m_requests; }
    void clearRequests() { m_requests.clear(); }

    void notify(const kra::CMsg &body);
    // The device changed values of a store itself: they are stored, then announced in one INFO of the type.
    void changeset(const std::string &store, const std::string &infoType,
        const std::vector<std::pair<std::string, std::string>> &values, const std::string &source = std::string());
    // Notifications in this order, as the device sends a sequence of events.
    void play(const std::vector<kra::CMsg> &bodies);
    void sendRaw(const QByteArray &bytes);
    void dropConnections();
    bool sendDatagram(quint16 port, const QByteArray &datagram);
    bool sendDatagram(quint16 port, const RpcMessage &message);

signals:
    void requestReceived(const RpcMessage &request);
    void clientConnected();
    void clientDisconnected();

private:
    struct Answer;
    void accept(qintptr descriptor);
    void handleRequest(SimDeviceLink *link, const RpcMessage &request);
    bool takeFault(const kra::CMsg &request, Fault &fault);
    void answerParam(const kra::CMsg &request, Answer &answer);
    void answerDo(const kra::CMsg &request, Answer &answer);
    std::vector<kra::CMsg> render(const Answer &answer, int progressParts, bool ext) const;
    void sendReplies(SimDeviceLink *link, const RpcMessage &request, const std::vector<kra::CMsg> &bodies);
    void flood(
        SimDeviceLink *link, const RpcMessage &request, const Fault &fault, const std::vector<kra::CMsg> &answer);
    // The codec's commands of calls, links, recorder, projects and files (simdevicecommands.cpp).
    void learnCommands();
    // The device's book of profiles, presets and snapshots (simdevicebook.cpp); after learnCommands.
    void learnBook();
    std::vector<int> bookIds(const std::string &type) const;
    // The items of a book list; false for a name that is no record type.
    bool bookList(const std::string &type, std::vector<std::string> &items) const;
    bool writeWaveMap(const kra::CMsg &request, const std::string &wavFile, const std::string &devicePath);

    SimDeviceServer *m_server;
    QUdpSocket *m_udp;
    QList<SimDeviceLink *> m_links;
    std::map<std::string, std::vector<std::string>> m_targets;
    std::map<std::string, std::map<std::string, std::string>> m_stores;
    std::map<std::string, std::map<std::string, std::vector<std::string>>> m_lists;
    struct QualifiedList
    {
        std::vector<std::pair<std::string, std::string>> when;
        std::vector<std::string> items;
    };
    std::map<std::string, std::map<std::string, std::vector<QualifiedList>>> m_qualifiedLists;
    std::map<std::string, std::string> m_refused;
    std::map<std::string, WriteCheck> m_writeChecks;
    std::map<std::string, Action> m_actions;
    std::vector<Fault> m_faults;
    QList<RpcMessage> m_requests;
    QString m_waveMapFolder;
    bool m_silent = false;
    // The id the next call or data link gets.
    int m_nextId = 21;
};

// A frame written by hand in tests/peers/golden/<name>.hex (hex digits; blanks and '#' comments ignored).
QByteArray goldenFrame(const QString &name);
