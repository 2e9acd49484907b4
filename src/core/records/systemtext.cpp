#include "systemtext.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstring>

namespace SystemText {

quint32 readU32(const uchar *p)
{
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}

qint32 readI32(const uchar *p)
{
    return qint32(readU32(p));
}

float readF32(const uchar *p)
{
    const quint32 bits = readU32(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QString version(const firmware &ver)
{
    return ver.isZero() ? QString() : ver.toString();
}

QString dspVersion(const firmware &ver, quint8 dspModel)
{
    if (ver.isZero())
        return QString();
    switch (dspModel) {
    case 0: return ver.toString() + QLatin1String("-5310");
    case 1: return ver.toString() + QLatin1String("-2906");
    default: return ver.toString();
    }
}

QString duration(quint32 seconds)
{
    const int days = int(seconds / 86400);
    const QString clock = QString::asprintf("%02d:%02d:%02d", int(seconds / 3600 % 24), int(seconds / 60 % 60),
                                            int(seconds % 60));
    // The count is a plain variable: lupdate stalls on a division among
    // the arguments of translate().
    return QCoreApplication::translate("SystemText", "%n day(s) %1", "run time: days, then hours:minutes:seconds", days)
        .arg(clock);
}

QString channelConfig(quint16 config)
{
    return QString::asprintf("%02d%02d", config & 0xFF, config >> 8);
}

QString codeNumber(quint16 a, quint16 b, quint16 c)
{
    return QString::asprintf("%05d-%d-%05d", a, c, b);
}

QString ipv4(quint32 address)
{
    return QString::asprintf("%d.%d.%d.%d", int(address >> 24), int((address >> 16) & 0xFF),
                             int((address >> 8) & 0xFF), int(address & 0xFF));
}

bool parseIpv4(const QString &text, quint32 *address)
{
    // Dotted quad only: QHostAddress would also take "10.1" or hex forms.
    const QStringList parts = text.trimmed().split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    quint32 value = 0;
    for (const QString &part : parts) {
        bool ok = false;
        const uint octet = part.toUInt(&ok, 10);
        if (!ok || part.isEmpty() || part.size() > 3 || octet > 255)
            return false;
        value = (value << 8) | octet;
    }
    *address = value;
    return true;
}

QString text(const uchar *bytes, int length)
{
    const void *nul = length > 0 ? std::memchr(bytes, 0, size_t(length)) : nullptr;
    const int size = nul ? int(static_cast<const uchar *>(nul) - bytes) : qMax(length, 0);
    return QString::fromLocal8Bit(reinterpret_cast<const char *>(bytes), size);
}

QByteArray encode(const QString &text, int maxBytes)
{
    QByteArray out = text.toLocal8Bit();
    if (out.size() <= maxBytes)
        return out;
    // Shorten by whole characters (a surrogate pair counts as one).
    QString cut = text;
    while (!cut.isEmpty() && out.size() > maxBytes) {
        cut.chop(cut.size() >= 2 && cut.at(cut.size() - 1).isLowSurrogate() ? 2 : 1);
        out = cut.toLocal8Bit();
    }
    return out;
}

} // namespace SystemText
