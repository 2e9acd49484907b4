#pragma once

#include <QByteArray>

#include "core/protocol/protocol.h"
#include "unitmodule.h"

// Class-1 firmware upload of the virtual unit: acknowledges every block it
// takes with its number and reassembles the image. Block 0 starts a new
// image; the next block in sequence is appended, a repeat of the last one is
// acknowledged again without being stored, anything else is counted and
// dropped unacknowledged. The sender never says where the image ends, so the
// unit decides that itself: an ARM image (7F 8C 10|20, u32 length) ends after
// its head, body and 4-byte tail; any other image ends with a block shorter
// than 1024 bytes, or, when it is an exact multiple of 1024, after half a
// second without a further block.
class FirmwareModule final : public UnitModule
{
public:
    static constexpr int BlockSize = Protocol::Firmware::BlockSize;
    static constexpr int QuietTicksToEnd = 5;

    struct Upload
    {
        QByteArray image;
        int nextBlock = 0;
        qint64 expectedSize = -1; // from an ARM head, else unknown
        bool receiving = false;
        bool complete = false;
        int completedImages = 0;
        int outOfSequence = 0;
        int quietTicks = 0;
        bool lastBlockFull = false;
    };

    bool handle(VirtualUnit &unit, const UnitFrame &frame) override;
    void tick(VirtualUnit &unit) override;

    // target 1 ARM, 2 DSP.
    const Upload &upload(quint8 target) const { return m_uploads[target == Protocol::Firmware::Dsp ? 1 : 0]; }
    const QByteArray &image(quint8 target) const { return upload(target).image; }
    int imageSize(quint8 target) const { return int(upload(target).image.size()); }
    bool isComplete(quint8 target) const { return upload(target).complete; }
    // CRC-32 (IEEE) of the image received so far.
    quint32 checksum(quint8 target) const { return crc32(upload(target).image); }
    static quint32 crc32(const QByteArray &bytes);

    // Faults: stop acknowledging (the sender then waits for ever).
    bool acknowledge = true;

private:
    Upload &uploadFor(quint8 target) { return m_uploads[target == Protocol::Firmware::Dsp ? 1 : 0]; }
    static void finish(Upload &upload);

    Upload m_uploads[2];
};
