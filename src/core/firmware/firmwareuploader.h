#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

#include "core/protocol/protocol.h"

class Link;
class ProgressSteps;

// Uploads a firmware image to the unit as class-1 frames: block n is bytes
// n*1024 .. n*1024+1023 of the image, sent as [u16 block number][bytes]. Only
// the unit's acknowledgement of a block makes the next one go out, straight
// from the acknowledgement handler, so the upload runs at one round trip per
// block. There is no end-of-image message: the unit recognises the end itself.
class FirmwareUploader : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(FirmwareUploader)

public:
    enum Target : quint8 { Arm = Protocol::Firmware::Arm, Dsp = Protocol::Firmware::Dsp };

    static constexpr int BlockSize = Protocol::Firmware::BlockSize;
    // Block numbers are 16 bits wide: a larger image would wrap to block 0
    // and overwrite the start of the upgrade.
    static constexpr int MaxBlocks = 65536;
    static constexpr qint64 MaxImageSize = qint64(BlockSize) * MaxBlocks;
    static constexpr int ArmHeaderSize = 8;

    enum class Check { Ok, CannotOpen, Empty, TooLarge, BadHeader };

    struct Image
    {
        Check check = Check::CannotOpen;
        QByteArray bytes;
        quint8 headerByte = 0; // the third byte of a refused ARM header
    };

    enum class Outcome { Finished, Cancelled, LinkLost, SendFailed };

    // An ARM image (".sbin") starts 7F 8C followed by 0x10 or 0x20.
    static bool isArmHeader(const QByteArray &head);
    // Reads the whole image and checks it for `target`. The image is read
    // once, so the file that was checked is the file that is sent, even if it
    // changes on disk during the upload.
    static Image readImage(Target target, const QString &path);
    // What the progress dialog counts to (the last block may be partial).
    static int progressMaximum(qint64 imageSize) { return int(imageSize / BlockSize); }

    // `progress` may be null (no dialog).
    explicit FirmwareUploader(Link *link, ProgressSteps *progress = nullptr, QObject *parent = nullptr);
    ~FirmwareUploader() override;

    // Starts (or restarts) an upload from block 0; returns false when the
    // image is empty, too large or block 0 could not be sent.
    bool start(Target target, const QByteArray &image, const QString &label);
    bool isActive() const { return m_active; }
    Target target() const { return m_target; }
    int blockCount() const { return int((m_image.size() + BlockSize - 1) / BlockSize); }

    // Sends block `block` of the current image; returns the number of image
    // bytes sent, 0 when the block lies beyond the end, -1 when the link
    // refused the frame.
    int sendBlock(int block);

    // Class-1 frames from the unit.
    void onUpgradeAck(quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload);

Q_SIGNALS:
    // Emitted once per upload, when it ends.
    void ended(FirmwareUploader::Outcome outcome);

private:
    void end(Outcome outcome);

    QPointer<Link> m_link;
    ProgressSteps *m_progress;
    QByteArray m_image;
    Target m_target = Arm;
    bool m_active = false;
};
