#include "localconfig.h"

#include <QFile>

namespace {

QByteArray stripLineEnd(QByteArray line)
{
    line.replace('\r', QByteArray());
    line.replace('\n', QByteArray());
    return line;
}

} // namespace

bool LocalConfig::readHighDpiScaling(const QString &path)
{
    bool flag = true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return flag;
    while (!file.atEnd()) {
        const QByteArray line = stripLineEnd(file.readLine());
        static const QByteArray key("HighDpiScaling:");
        if (line.startsWith(key))
            flag = line.mid(key.size()).trimmed().toInt() != 0;
    }
    return flag;
}

bool LocalConfig::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) {
        currentLanguage = 0;
        return false;
    }
    while (!file.atEnd()) {
        const QByteArray line = stripLineEnd(file.readLine());
        if (line.startsWith("current lang:")) {
            // Only the single character after the colon counts; a missing one
            // gives an index beyond any list, which falls back to language 0.
            currentLanguage = line.size() > 13 ? line.at(13) - '0' : -int('0');
        } else if (line.startsWith("code:")) {
            QByteArray number = line.mid(5);
            const int semicolon = number.indexOf(';');
            if (semicolon >= 0)
                number.truncate(semicolon);
            bool ok = false;
            const uint value = number.toUInt(&ok);
            code = ok ? quint16(value) : 0;
        } else if (line.startsWith("EN:")) {
            englishTitle = QString::fromUtf8(line.mid(3));
        } else if (line.startsWith("CN:")) {
            chineseTitle = QString::fromUtf8(line.mid(3));
        }
    }
    return true;
}

QByteArray LocalConfig::serialize() const
{
    QByteArray out;
    out += "current lang:" + QByteArray::number(currentLanguage) + "\r\n";
    out += "code:" + QByteArray::number(code) + "\r\n";
    if (!englishTitle.isEmpty())
        out += "EN:" + englishTitle.toUtf8() + "\r\n";
    if (!chineseTitle.isEmpty())
        out += "CN:" + chineseTitle.toUtf8() + "\r\n";
    out += "HighDpiScaling:" + QByteArray::number(highDpiScaling ? 1 : 0) + "\r\n";
    return out;
}

bool LocalConfig::write(const QString &path) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Truncate))
        return false;
    const QByteArray bytes = serialize();
    return file.write(bytes) == bytes.size();
}
