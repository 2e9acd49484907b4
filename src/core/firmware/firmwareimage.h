#pragma once

#include <QByteArray>
#include <QString>

// The ".sbin" container the unit's boot loader takes: the ".bin" image with
// an 8-byte head (u32 0x00208C7F, u32 image length) and a 4-byte tail
// (u32 0xF08C7FF0), all little-endian.
namespace FirmwareImage {

constexpr quint32 HeadMagic = 0x00208C7F;
constexpr quint32 TailMagic = 0xF08C7FF0;
constexpr int HeadSize = 8;
constexpr int TailSize = 4;

QByteArray pack(const QByteArray &image);

// "fw.bin" -> "fw.sbin". Only the file name is rewritten (every ".bin" in
// it); a name without ".bin" gets ".sbin" appended, so the source is never
// the output.
QString packedPath(const QString &sourcePath);

enum class Result { Ok, CannotRead, CannotWrite };

// Reads `sourcePath` whole and writes the packed image to `targetPath`.
Result packFile(const QString &sourcePath, const QString &targetPath);

} // namespace FirmwareImage
