#include "languagelist.h"

#include <QFile>

namespace {

QString field(const QByteArray &line, const QByteArray &key)
{
    const int start = line.indexOf(key);
    if (start < 0)
        return QString();
    const int from = start + key.size();
    const int end = line.indexOf(';', from);
    return QString::fromUtf8(end < 0 ? line.mid(from) : line.mid(from, end - from));
}

} // namespace

bool LanguageList::read(const QString &path)
{
    files.clear();
    fonts.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    while (!file.atEnd() && files.size() < MaxLanguages) {
        QByteArray line = file.readLine();
        line.replace('\r', QByteArray());
        line.replace('\n', QByteArray());
        files << field(line, "lang:");
        fonts << field(line, "font:");
    }
    return true;
}
