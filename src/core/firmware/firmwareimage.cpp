#include "firmwareimage.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace FirmwareImage {

namespace {

void appendU32(QByteArray &out, quint32 v)
{
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
    out.append(char((v >> 16) & 0xFF));
    out.append(char(v >> 24));
}

} // namespace

QByteArray pack(const QByteArray &image)
{
    QByteArray out;
    out.reserve(image.size() + HeadSize + TailSize);
    appendU32(out, HeadMagic);
    appendU32(out, quint32(image.size()));
    out.append(image);
    appendU32(out, TailMagic);
    return out;
}

QString packedPath(const QString &sourcePath)
{
    const QFileInfo info(sourcePath);
    QString name = info.fileName();
    if (name.contains(QLatin1String(".bin")))
        name.replace(QLatin1String(".bin"), QLatin1String(".sbin"));
    else
        name += QLatin1String(".sbin");
    const int slash = sourcePath.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? name : sourcePath.left(slash + 1) + name;
}

Result packFile(const QString &sourcePath, const QString &targetPath)
{
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly))
        return Result::CannotRead;
    const QByteArray image = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return Result::CannotRead;
    source.close();

    // Written through a temporary file, so a failed write never leaves a
    // half image that looks like a good one.
    QSaveFile target(targetPath);
    if (!target.open(QIODevice::WriteOnly))
        return Result::CannotWrite;
    const QByteArray packed = pack(image);
    if (target.write(packed) != packed.size() || !target.commit())
        return Result::CannotWrite;
    return Result::Ok;
}

} // namespace FirmwareImage
