#include "tests/peers/sshdfixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <csignal>
#include <sys/types.h>
#include <unistd.h>

SshdFixture SshdFixture::load()
{
    SshdFixture fixture;
    const QString path = qEnvironmentVariable("MQ_SSHD_FIXTURE");
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return fixture;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray &line : lines) {
        const int equals = line.indexOf('=');
        if (equals < 0)
            continue;
        const QByteArray name = line.left(equals).trimmed();
        const QString value = QString::fromUtf8(line.mid(equals + 1).trimmed());
        if (name == "MQ_SSHD_HOST")
            fixture.host = value;
        else if (name == "MQ_SSHD_PORT")
            fixture.port = value.toUShort();
        else if (name == "MQ_SSHD_USER")
            fixture.user = value;
        else if (name == "MQ_SSHD_PASSWORD")
            fixture.password = value;
        else if (name == "MQ_SSHD_HOSTKEY_SHA256")
            fixture.hostKeySha256 = value;
    }
    return fixture;
}

namespace {

struct TcpEntry
{
    quint16 localPort;
    quint16 remotePort;
    quint64 inode;
};

// IPv4 TCP sockets of the system, from /proc/net/tcp ("sl local rem st ... uid timeout inode").
QList<TcpEntry> tcpEntries()
{
    QList<TcpEntry> entries;
    QFile file(QStringLiteral("/proc/net/tcp"));
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    file.readLine();
    while (!file.atEnd()) {
        const QList<QByteArray> fields = file.readLine().simplified().split(' ');
        if (fields.size() < 10)
            continue;
        const QByteArray local = fields.at(1);
        const QByteArray remote = fields.at(2);
        TcpEntry entry;
        entry.localPort = static_cast<quint16>(local.mid(local.indexOf(':') + 1).toUInt(nullptr, 16));
        entry.remotePort = static_cast<quint16>(remote.mid(remote.indexOf(':') + 1).toUInt(nullptr, 16));
        entry.inode = fields.at(9).toULongLong();
        if (entry.inode != 0)
            entries.append(entry);
    }
    return entries;
}

QSet<quint64> socketInodesOf(const QString &fdDirectory)
{
    QSet<quint64> inodes;
    const QStringList fds = QDir(fdDirectory).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &fd : fds) {
        const QString target = QFileInfo(fdDirectory + QLatin1Char('/') + fd).symLinkTarget();
        const QString name = target.mid(target.lastIndexOf(QLatin1Char('/')) + 1);
        if (name.startsWith(QLatin1String("socket:[")))
            inodes.insert(name.mid(8, name.size() - 9).toULongLong());
    }
    return inodes;
}

} // namespace

int killSshdSessions(quint16 sshdPort)
{
    const QList<TcpEntry> entries = tcpEntries();
    const QSet<quint64> own = socketInodesOf(QStringLiteral("/proc/self/fd"));
    QSet<quint16> clientPorts;
    for (const TcpEntry &entry : entries) {
        if (entry.remotePort == sshdPort && own.contains(entry.inode))
            clientPorts.insert(entry.localPort);
    }
    QSet<quint64> serverInodes;
    for (const TcpEntry &entry : entries) {
        if (entry.localPort == sshdPort && clientPorts.contains(entry.remotePort))
            serverInodes.insert(entry.inode);
    }
    if (serverInodes.isEmpty())
        return 0;

    int killed = 0;
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &pidText : pids) {
        bool isPid = false;
        const pid_t pid = pidText.toInt(&isPid);
        if (!isPid || pid == ::getpid())
            continue;
        if (socketInodesOf(QStringLiteral("/proc/%1/fd").arg(pid)).intersects(serverInodes)
            && ::kill(pid, SIGKILL) == 0)
            ++killed;
    }
    return killed;
}
