// Properties of the configuration reader, whatever the file holds: the record keeps its invariants, and a
// record that can be written reads back the same; the writer refuses exactly the texts the file cannot hold.

#include "shell/applicationsettings.h"

#include <QBuffer>
#include <QStringList>

#include <cstdint>
#include <cstdlib>

namespace {

QString describe(const ApplicationSettings &s)
{
    QStringList out {QString::number(s.logMaxSize), QString::number(s.logMaxFiles), QString::number(s.sshVerbosity),
        s.hostname, QString::number(s.hostport), QString::number(s.maxDevices)};
    for (auto it = s.knownDevices.cbegin(); it != s.knownDevices.cend(); ++it)
        out << QString::number(it.key()) << QString::number(it->id) << it->name << it->serialno << it->password;
    out << QStringLiteral("recent");
    for (int id : s.recentDevices)
        out << QString::number(id);
    out << QStringLiteral("certificates");
    for (const TrustedCertificate &c : s.trustedCertificates) {
        if (!c.organization.isEmpty() || !c.commonName.isEmpty())
            out << QString::number(c.sslError) << c.organization << c.commonName;
    }
    return out.join(QChar(0));
}

bool allStorable(const ApplicationSettings &s)
{
    bool storable = isStorableText(s.hostname);
    for (const KnownDevice &d : s.knownDevices)
        storable = storable && isStorableText(d.name) && isStorableText(d.serialno) && isStorableText(d.password);
    for (const TrustedCertificate &c : s.trustedCertificates)
        storable = storable && isStorableText(c.organization) && isStorableText(c.commonName);
    return storable;
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<int>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    ApplicationSettings first(QStringLiteral("unused"));
    first.readFrom(&buffer);

    check(first.logMaxSize > 0 && first.logMaxFiles > 0 && first.maxDevices > 0);
    check(first.sshVerbosity >= 0 && first.sshVerbosity <= 4 && first.hostport >= 0);
    check(first.recentDevices.size() <= first.maxDevices);
    for (int id : first.recentDevices)
        check(first.knownDevices.contains(id));
    for (auto it = first.knownDevices.cbegin(); it != first.knownDevices.cend(); ++it)
        check(it.key() == it->id && it->id > 0 && !it->name.isEmpty() && !it->serialno.isEmpty()
            && !it->password.isEmpty());
    for (const TrustedCertificate &c : first.trustedCertificates)
        check(c.sslError > 0);

    QByteArray written;
    const bool writable = first.toXml(&written);
    check(writable == allStorable(first));
    if (!writable)
        return 0;
    QBuffer writtenBuffer(&written);
    writtenBuffer.open(QIODevice::ReadOnly);
    ApplicationSettings second(QStringLiteral("unused"));
    check(second.readFrom(&writtenBuffer));
    check(describe(second) == describe(first));
    return 0;
}
