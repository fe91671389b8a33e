#include "rpc/logescape.h"

QString escapedForLog(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        const ushort code = c.unicode();
        switch (code) {
        case '\\':
            escaped += QLatin1String("\\\\");
            break;
        case '\n':
            escaped += QLatin1String("\\n");
            break;
        case '\r':
            escaped += QLatin1String("\\r");
            break;
        case '\t':
            escaped += QLatin1String("\\t");
            break;
        default:
            // C0, DEL and C1, and the Unicode line and paragraph separators.
            if (code < 0x20 || (code >= 0x7F && code < 0xA0))
                escaped += QStringLiteral("\\x%1").arg(code, 2, 16, QLatin1Char('0'));
            else if (code == 0x2028 || code == 0x2029)
                escaped += QStringLiteral("\\u%1").arg(code, 4, 16, QLatin1Char('0'));
            else
                escaped += c;
        }
    }
    return escaped;
}
