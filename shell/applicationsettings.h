#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

class QIODevice;

// A device id becomes the last byte of the tunnel's loopback listen address 127.0.0.<id>.
constexpr int kMinDeviceId = 1;
constexpr int kMaxDeviceId = 255;

inline bool isValidDeviceId(int id)
{
    return id >= kMinDeviceId && id <= kMaxDeviceId;
}

// One codec the user can connect to.
class KnownDevice
{
public:
    explicit KnownDevice(int id = 0, const QString &name = QString());

    int id;
    int tunnelPort = 0; // from the relay login, never stored
    QString name;
    QString macAddress; // from the relay login, never stored
    QString serialno;
    QString password; // plain text, as the relay login needs it
};

// A TLS certificate problem of the relay that the user chose to accept.
class TrustedCertificate
{
public:
    int sslError = 0; // QSslError::SslError
    QString organization;
    QString commonName;
};

// The settings and the known codecs, kept in one ISO 8859-1 XML file beside the program.
class ApplicationSettings final
{
public:
    explicit ApplicationSettings(const QString &configPath);

    // True when the file opened, whatever its content. What it finds wrong it logs and keeps for logReadProblems.
    bool readConfiguration();
    // Logs again what the last read found wrong, for a read that came before the log was open.
    void logReadProblems() const;
    // Where the file that the last read could not read whole is kept before it is first written over; empty when
    // there is nothing to keep.
    QString unreadFileCopyPath() const { return m_fileNotReadWhole ? m_unreadFileCopyPath : QString(); }
    // True when the new file replaced the old one; a failure leaves the old file as it was.
    bool writeConfiguration();
    bool addRecentDevice(const int &id);
    void setKnownDevices(const QMap<int, KnownDevice> &devices);

    // The file's content without the file. readFrom returns false when the document could not be read whole
    // (malformed, or not a "settings" document of version "1"); toXml returns false when a text cannot be
    // stored in ISO 8859-1.
    bool readFrom(QIODevice *device);
    bool toXml(QByteArray *xml) const;

    QString configPath;
    int logMaxSize = 512; // kilobytes
    int logMaxFiles = 25;
    int sshVerbosity = 0;
    int hostport = 0; // below 1: the default port
    QString hostname; // empty: the built-in relay
    QString sshUser; // from the relay login, never stored
    QString sshPassword; // from the relay login, never stored
    int maxDevices = 10; // below 1: no limit
    QMap<int, KnownDevice> knownDevices;
    QList<int> recentDevices; // most recent first
    QList<TrustedCertificate> trustedCertificates;

private:
    enum class ReadProblem { None, NotOpened, NotWhole };

    bool keepCopyOfUnreadFile();

    ReadProblem m_readProblem = ReadProblem::None;
    QString m_openError;
    // The file on disk holds something this record does not (it could not be read whole): it is copied aside
    // before it is first written over, under the name chosen when the read failed.
    bool m_fileNotReadWhole = false;
    QString m_unreadFileCopyPath;
};

// The id for a new device: the smallest free one of 1..255, or -1 when all are taken.
int nextFreeDeviceId(const QMap<int, KnownDevice> &devices);

// Whether the configuration file can hold the text: ISO 8859-1 without the control characters XML forbids.
bool isStorableText(const QString &text);

// MyQuorvaneRE.xml in the program's directory.
QString configurationFilePath();
