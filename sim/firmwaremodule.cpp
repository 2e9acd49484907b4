#include "firmwaremodule.h"

#include <array>

#include "core/link/frame.h"
#include "core/protocol/protocol.h"
#include "virtualunit.h"

namespace {

namespace F = Protocol::Firmware;
constexpr quint8 BlockParam = F::Block;
constexpr Protocol::Length BlockLength = Protocol::find(F::params, F::Block).set.length;

QByteArray u16(quint16 v)
{
    QByteArray b(2, '\0');
    Frame::writeU16(reinterpret_cast<uchar *>(b.data()), v);
    return b;
}

qint64 armImageSize(const QByteArray &head)
{
    if (head.size() < 8)
        return -1;
    const auto *p = reinterpret_cast<const uchar *>(head.constData());
    if (p[0] != 0x7F || p[1] != 0x8C || (p[2] != 0x10 && p[2] != 0x20))
        return -1;
    const quint32 body = quint32(p[4]) | quint32(p[5]) << 8 | quint32(p[6]) << 16 | quint32(p[7]) << 24;
    return 8 + qint64(body) + 4;
}

} // namespace

quint32 FirmwareModule::crc32(const QByteArray &bytes)
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 i = 0; i < 256; ++i) {
            quint32 c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    quint32 crc = 0xFFFFFFFFu;
    for (char byte : bytes)
        crc = table[(crc ^ quint8(byte)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void FirmwareModule::finish(Upload &upload)
{
    upload.receiving = false;
    upload.complete = true;
    ++upload.completedImages;
}

bool FirmwareModule::handle(VirtualUnit &unit, const UnitFrame &frame)
{
    if (frame.cls != Frame::Firmware)
        return false;
    if ((frame.module != F::Arm && frame.module != F::Dsp) || frame.param != BlockParam || frame.op != Frame::Set
        || !BlockLength.fits(frame.payload.size()))
        return true;
    Upload &upload = uploadFor(frame.module);
    const int block = Frame::readU16(reinterpret_cast<const uchar *>(frame.payload.constData()));
    const QByteArray data = frame.payload.mid(2);

    if (block == 0) {
        upload.image = data;
        upload.expectedSize = frame.module == F::Arm ? armImageSize(data) : -1;
        upload.receiving = true;
        upload.complete = false;
    } else if (upload.receiving && block == upload.nextBlock) {
        upload.image.append(data);
    } else if (block == upload.nextBlock - 1 && !upload.image.isEmpty()) {
        // A repeat of the block just taken: acknowledged again, not stored.
        if (acknowledge)
            unit.sendReport(Frame::Firmware, frame.module, BlockParam, u16(quint16(block)));
        return true;
    } else {
        ++upload.outOfSequence;
        return true;
    }
    upload.nextBlock = block + 1;
    upload.quietTicks = 0;
    upload.lastBlockFull = data.size() == BlockSize;
    if (upload.expectedSize >= 0 ? upload.image.size() >= upload.expectedSize : !upload.lastBlockFull)
        finish(upload);
    if (acknowledge)
        unit.sendReport(Frame::Firmware, frame.module, BlockParam, u16(quint16(block)));
    return true;
}

void FirmwareModule::tick(VirtualUnit &)
{
    for (Upload &upload : m_uploads) {
        if (!upload.receiving || upload.expectedSize >= 0 || !upload.lastBlockFull)
            continue;
        if (++upload.quietTicks >= QuietTicksToEnd)
            finish(upload);
    }
}
