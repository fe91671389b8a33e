#include "shell/applicationsettings.h"

#include "shell/programdirectory.h"

#include <QBuffer>
#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <limits>

namespace {

const QString kProgramFileName = QStringLiteral("MyQuorvaneRE.exe");
const QString kFileVersion = QStringLiteral("1");

// Element and attribute names of the file.
const QLatin1String kSettings("settings");
const QLatin1String kVersion("version");
const QLatin1String kApplicationSettings("applicationSettings");
const QLatin1String kLogger("logger");
const QLatin1String kLogMaxSize("logMaxSize");
const QLatin1String kLogMaxFiles("logMaxFiles");
const QLatin1String kSshVerbosity("sshVerbosity");
const QLatin1String kServer("server");
const QLatin1String kHostname("hostname");
const QLatin1String kHostport("hostport");
const QLatin1String kTrustedCertificates("trustedCertificates");
const QLatin1String kCertificate("certificate");
const QLatin1String kSslError("sslError");
const QLatin1String kOrganization("organization");
const QLatin1String kCommonName("commonName");
const QLatin1String kKnownDevices("knownDevices");
const QLatin1String kRecentDevices("recentDevices");
const QLatin1String kMaxDevices("maxDevices");
const QLatin1String kDevice("device");
const QLatin1String kId("id");
const QLatin1String kName("name");
const QLatin1String kSerialno("serialno");
const QLatin1String kPassword("password");

const QString kNoName = QStringLiteral("noname");

void logFileError(const char *operation, const QString &path, const QString &what, const QString &error)
{
    qCritical() << QStringLiteral("%1(filename=%2) failed to %3 file with error %4")
                       .arg(QLatin1String(operation), path, what, error);
}

// A base-10 number within [minimum, maximum]; anything else counts as absent.
bool numberAttribute(const QXmlStreamAttributes &attributes, QLatin1String name, int minimum, int maximum, int *value)
{
    bool ok = false;
    const int number = attributes.value(name).toInt(&ok, 10);
    if (!ok || number < minimum || number > maximum)
        return false;
    *value = number;
    return true;
}

bool positiveAttribute(const QXmlStreamAttributes &attributes, QLatin1String name, int *value)
{
    return numberAttribute(attributes, name, 1, std::numeric_limits<int>::max(), value);
}

void readLogger(QXmlStreamReader &xml, ApplicationSettings &settings)
{
    const QXmlStreamAttributes attributes = xml.attributes();
    positiveAttribute(attributes, kLogMaxSize, &settings.logMaxSize);
    positiveAttribute(attributes, kLogMaxFiles, &settings.logMaxFiles);
    numberAttribute(attributes, kSshVerbosity, 1, 4, &settings.sshVerbosity);
    xml.skipCurrentElement();
}

void readServer(QXmlStreamReader &xml, ApplicationSettings &settings)
{
    const QXmlStreamAttributes attributes = xml.attributes();
    positiveAttribute(attributes, kHostport, &settings.hostport);
    settings.hostname = attributes.value(kHostname).toString();
    xml.skipCurrentElement();
}

void readTrustedCertificates(QXmlStreamReader &xml, ApplicationSettings &settings)
{
    while (xml.readNextStartElement()) {
        if (xml.name() == kCertificate) {
            const QXmlStreamAttributes attributes = xml.attributes();
            TrustedCertificate certificate;
            if (positiveAttribute(attributes, kSslError, &certificate.sslError)) {
                certificate.organization = attributes.value(kOrganization).toString();
                certificate.commonName = attributes.value(kCommonName).toString();
                settings.trustedCertificates.append(certificate);
            }
        }
        xml.skipCurrentElement();
    }
}

void readApplicationSettings(QXmlStreamReader &xml, ApplicationSettings &settings)
{
    while (xml.readNextStartElement()) {
        if (xml.name() == kLogger)
            readLogger(xml, settings);
        else if (xml.name() == kServer)
            readServer(xml, settings);
        else if (xml.name() == kTrustedCertificates)
            readTrustedCertificates(xml, settings);
        else
            xml.skipCurrentElement();
    }
}

void readKnownDevices(QXmlStreamReader &xml, ApplicationSettings &settings)
{
    while (xml.readNextStartElement()) {
        if (xml.name() == kDevice) {
            const QXmlStreamAttributes attributes = xml.attributes();
            int id = 0;
            const QString serialno = attributes.value(kSerialno).toString();
            const QString password = attributes.value(kPassword).toString();
            if (positiveAttribute(attributes, kId, &id) && !settings.knownDevices.contains(id) && !serialno.isEmpty()
                && !password.isEmpty()) {
                const QString name = attributes.value(kName).toString();
                KnownDevice device(id, name.isEmpty() ? kNoName : name);
                device.serialno = serialno;
                device.password = password;
                settings.knownDevices.insert(id, device);
            }
        }
        xml.skipCurrentElement();
    }
}

void readRecentDevices(QXmlStreamReader &xml, ApplicationSettings &settings)
{
    positiveAttribute(xml.attributes(), kMaxDevices, &settings.maxDevices);
    while (xml.readNextStartElement()) {
        const bool full = settings.maxDevices > 0 && settings.recentDevices.size() >= settings.maxDevices;
        int id = 0;
        if (!full && xml.name() == kDevice && positiveAttribute(xml.attributes(), kId, &id)
            && settings.knownDevices.contains(id))
            settings.recentDevices.append(id);
        xml.skipCurrentElement();
    }
}

void writeDocument(QXmlStreamWriter &xml, const ApplicationSettings &settings)
{
    xml.writeStartDocument();
    xml.writeStartElement(kSettings);
    xml.writeAttribute(kVersion, kFileVersion);

    xml.writeStartElement(kApplicationSettings);
    xml.writeEmptyElement(kLogger);
    xml.writeAttribute(kLogMaxSize, QString::number(settings.logMaxSize));
    xml.writeAttribute(kLogMaxFiles, QString::number(settings.logMaxFiles));
    if (settings.sshVerbosity > 0)
        xml.writeAttribute(kSshVerbosity, QString::number(settings.sshVerbosity));
    if (!settings.hostname.isEmpty() || settings.hostport >= 1) {
        xml.writeEmptyElement(kServer);
        if (!settings.hostname.isEmpty())
            xml.writeAttribute(kHostname, settings.hostname);
        if (settings.hostport >= 1)
            xml.writeAttribute(kHostport, QString::number(settings.hostport));
    }
    if (!settings.trustedCertificates.isEmpty()) {
        xml.writeStartElement(kTrustedCertificates);
        for (const TrustedCertificate &certificate : settings.trustedCertificates) {
            if (certificate.organization.isEmpty() && certificate.commonName.isEmpty())
                continue;
            xml.writeEmptyElement(kCertificate);
            xml.writeAttribute(kSslError, QString::number(certificate.sslError));
            if (!certificate.organization.isEmpty())
                xml.writeAttribute(kOrganization, certificate.organization);
            if (!certificate.commonName.isEmpty())
                xml.writeAttribute(kCommonName, certificate.commonName);
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();

    xml.writeStartElement(kKnownDevices);
    for (auto it = settings.knownDevices.cbegin(); it != settings.knownDevices.cend(); ++it) {
        xml.writeEmptyElement(kDevice);
        xml.writeAttribute(kId, QString::number(it.key()));
        xml.writeAttribute(kName, it->name);
        xml.writeAttribute(kSerialno, it->serialno);
        xml.writeAttribute(kPassword, it->password);
    }
    xml.writeEndElement();

    xml.writeStartElement(kRecentDevices);
    xml.writeAttribute(kMaxDevices, QString::number(settings.maxDevices));
    for (const int id : settings.recentDevices) {
        xml.writeEmptyElement(kDevice);
        xml.writeAttribute(kId, QString::number(id));
    }
    xml.writeEndElement();

    // No end of document: the file ends with the root's closing tag.
    xml.writeEndElement();
}

// A name beside the configuration file for a copy of it, not yet taken.
QString freeCopyPath(const QString &configPath)
{
    const QString base
        = configPath + QStringLiteral(".bad-") + QDateTime::currentDateTime().toString(QStringLiteral("yyMMddThhmmss"));
    QString copyPath = base;
    for (int n = 1; QFile::exists(copyPath); ++n)
        copyPath = base + QLatin1Char('-') + QString::number(n);
    return copyPath;
}

} // namespace

KnownDevice::KnownDevice(int deviceId, const QString &deviceName) : id(deviceId), name(deviceName) { }

ApplicationSettings::ApplicationSettings(const QString &path) : configPath(path) { }

bool ApplicationSettings::readConfiguration()
{
    QFile file(configPath);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (!opened) {
        m_readProblem = ReadProblem::NotOpened;
        m_openError = file.errorString();
        // A file that is there but cannot be read must not be written over unseen.
        m_fileNotReadWhole = file.exists();
    } else {
        m_fileNotReadWhole = !readFrom(&file);
        m_readProblem = m_fileNotReadWhole ? ReadProblem::NotWhole : ReadProblem::None;
    }
    // The name is chosen now, so that it can be shown before the copy is made.
    if (!m_fileNotReadWhole)
        m_unreadFileCopyPath.clear();
    else if (m_unreadFileCopyPath.isEmpty())
        m_unreadFileCopyPath = freeCopyPath(configPath);
    logReadProblems();
    return opened;
}

void ApplicationSettings::logReadProblems() const
{
    switch (m_readProblem) {
    case ReadProblem::None:
        break;
    case ReadProblem::NotOpened:
        logFileError("readConfiguration", configPath, QStringLiteral("open"), m_openError);
        break;
    case ReadProblem::NotWhole:
        qWarning() << QStringLiteral("readConfiguration(filename=%1) could not read the whole file").arg(configPath);
        break;
    }
    if (m_fileNotReadWhole)
        qWarning() << QStringLiteral("readConfiguration(filename=%1) will keep the file as %2 before writing over it")
                          .arg(configPath, m_unreadFileCopyPath);
}

bool ApplicationSettings::readFrom(QIODevice *device)
{
    knownDevices.clear();
    recentDevices.clear();
    trustedCertificates.clear();

    QXmlStreamReader xml(device);
    if (!xml.readNextStartElement() || xml.name() != kSettings || xml.attributes().value(kVersion) != kFileVersion)
        return false;
    while (xml.readNextStartElement()) {
        if (xml.name() == kApplicationSettings)
            readApplicationSettings(xml, *this);
        else if (xml.name() == kKnownDevices)
            readKnownDevices(xml, *this);
        else if (xml.name() == kRecentDevices)
            readRecentDevices(xml, *this);
        else
            xml.skipCurrentElement();
    }
    // Whatever follows the root must still be well formed for the file to count as read whole.
    while (!xml.atEnd())
        xml.readNext();
    return !xml.hasError();
}

bool ApplicationSettings::toXml(QByteArray *xml) const
{
    xml->clear();
    QXmlStreamWriter writer(xml);
    writer.setCodec("ISO 8859-1");
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(2);
    writeDocument(writer, *this);
    // The writer reports text that ISO 8859-1 or XML cannot hold, and what it wrote then is broken.
    return !writer.hasError();
}

bool ApplicationSettings::keepCopyOfUnreadFile()
{
    if (!m_fileNotReadWhole)
        return true;
    if (!QFile::exists(configPath)) {
        m_fileNotReadWhole = false;
        return true;
    }
    const QString copyPath = m_unreadFileCopyPath.isEmpty() || QFile::exists(m_unreadFileCopyPath)
        ? freeCopyPath(configPath)
        : m_unreadFileCopyPath;
    QFile original(configPath);
    if (!original.copy(copyPath)) {
        logFileError(
            "writeConfiguration", configPath, QStringLiteral("keep a copy of the unread"), original.errorString());
        return false;
    }
    qWarning() << QStringLiteral("writeConfiguration(filename=%1) kept the file it could not read as %2")
                      .arg(configPath, copyPath);
    m_fileNotReadWhole = false;
    m_unreadFileCopyPath.clear();
    return true;
}

bool ApplicationSettings::writeConfiguration()
{
    QByteArray xml;
    if (!toXml(&xml)) {
        logFileError("writeConfiguration", configPath, QStringLiteral("write"),
            QStringLiteral("text that ISO 8859-1 cannot hold"));
        return false;
    }
    if (!keepCopyOfUnreadFile())
        return false;

    // Written aside and renamed over the old file, so a failure never leaves half a file; owner-only,
    // since it holds the codec passwords.
    QSaveFile file(configPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        logFileError("writeConfiguration", configPath, QStringLiteral("write"), file.errorString());
        return false;
    }
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (file.write(xml) != xml.size() || !file.commit()) {
        logFileError("writeConfiguration", configPath, QStringLiteral("write"), file.errorString());
        file.cancelWriting();
        return false;
    }
    return true;
}

bool ApplicationSettings::addRecentDevice(const int &id)
{
    const int device = id; // the reference may point into the list
    recentDevices.removeAll(device);
    recentDevices.prepend(device);
    if (maxDevices >= 1) {
        while (recentDevices.size() > maxDevices)
            recentDevices.removeLast();
    }
    return true;
}

void ApplicationSettings::setKnownDevices(const QMap<int, KnownDevice> &devices)
{
    knownDevices = devices;
    for (int i = recentDevices.size() - 1; i >= 0; --i) {
        if (!knownDevices.contains(recentDevices.at(i)))
            recentDevices.removeAt(i);
    }
}

int nextFreeDeviceId(const QMap<int, KnownDevice> &devices)
{
    QList<int> used;
    used.reserve(devices.size());
    for (const KnownDevice &device : devices)
        used.append(device.id);
    for (int candidate = kMinDeviceId; candidate <= kMaxDeviceId; ++candidate) {
        if (!used.contains(candidate))
            return candidate;
    }
    return -1;
}

bool isStorableText(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        const ushort u = c.unicode();
        return (u >= 0x20 && u <= 0xFF) || u == '\t' || u == '\n' || u == '\r';
    });
}

QString configurationFilePath()
{
    QString fileName = kProgramFileName;
    fileName.replace(QLatin1String(".exe"), QLatin1String(".xml"));
    return programDirectory() + QLatin1Char('/') + fileName;
}
