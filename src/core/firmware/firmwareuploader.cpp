#include "firmwareuploader.h"

#include <QFile>

#include <cstring>

#include "core/link/frame.h"
#include "core/link/link.h"
#include "core/link/logging.h"
#include "core/protocol/protocol.h"
#include "progresssteps.h"

namespace {

namespace F = Protocol::Firmware;
constexpr quint8 BlockParam = F::Block;
constexpr int AckSize = Protocol::ReportSize<F::params, F::Block>;

} // namespace

bool FirmwareUploader::isArmHeader(const QByteArray &head)
{
    if (head.size() < 3)
        return false;
    const auto *p = reinterpret_cast<const uchar *>(head.constData());
    return Frame::readU16(p) == 0x8C7F && (p[2] == 0x10 || p[2] == 0x20);
}

FirmwareUploader::Image FirmwareUploader::readImage(Target target, const QString &path)
{
    Image image;
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        image.check = Check::CannotOpen;
        return image;
    }
    const qint64 size = file.size();
    if (size > MaxImageSize) {
        image.check = Check::TooLarge;
        return image;
    }
    if (size == 0) {
        image.check = Check::Empty;
        return image;
    }
    image.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || image.bytes.size() != size) {
        image.bytes.clear();
        image.check = Check::CannotOpen;
        return image;
    }
    if (target == Arm && !isArmHeader(image.bytes.left(ArmHeaderSize))) {
        image.headerByte = image.bytes.size() > 2 ? quint8(image.bytes.at(2)) : 0;
        image.bytes.clear();
        image.check = Check::BadHeader;
        return image;
    }
    image.check = Check::Ok;
    return image;
}

FirmwareUploader::FirmwareUploader(Link *link, ProgressSteps *progress, QObject *parent)
    : QObject(parent)
    , m_link(link)
    , m_progress(progress)
{
    if (link) {
        // Without the link no acknowledgement can come: end the upload rather
        // than leave a dialog that never moves.
        connect(link, &Link::linkLost, this, [this] {
            if (!m_active)
                return;
            if (m_progress)
                m_progress->finish();
            end(Outcome::LinkLost);
        });
    }
}

FirmwareUploader::~FirmwareUploader() = default;

bool FirmwareUploader::start(Target target, const QByteArray &image, const QString &label)
{
    m_active = false;
    if (image.isEmpty() || image.size() > MaxImageSize)
        return false;
    m_target = target;
    m_image = image;
    if (m_progress)
        m_progress->start(progressMaximum(image.size()), label);
    m_active = true;
    if (sendBlock(0) <= 0) {
        if (m_progress)
            m_progress->finish();
        end(Outcome::SendFailed);
        return false;
    }
    return true;
}

int FirmwareUploader::sendBlock(int block)
{
    const qint64 offset = qint64(block) * BlockSize;
    if (block < 0 || block >= MaxBlocks || offset >= m_image.size())
        return 0;
    const int count = int(qMin<qint64>(BlockSize, m_image.size() - offset));
    uchar payload[2 + BlockSize];
    Frame::writeU16(payload, quint16(block));
    std::memcpy(payload + 2, m_image.constData() + offset, size_t(count));
    if (!m_link || !m_link->sendFrame(Frame::Firmware, m_target, BlockParam, Frame::Set, payload, quint16(count + 2)))
        return -1;
    return count;
}

void FirmwareUploader::onUpgradeAck(quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload)
{
    // Acknowledgements while idle (late ones after a cancel, or a unit that
    // repeats itself) and those of the other processor must not restart
    // sending.
    if (!m_active || module != m_target)
        return;
    if (param != BlockParam || op != Frame::Report || length != AckSize || !payload)
        return;
    if (m_progress && m_progress->wasCancelled()) {
        // The unit is not told; it simply gets no further block.
        m_progress->finish();
        end(Outcome::Cancelled);
        return;
    }
    // The next block follows the one acknowledged, whatever was sent last.
    const int next = Frame::readU16(payload) + 1;
    const int sent = sendBlock(next);
    if (sent > 0) {
        // A modal dialog processes events here; an acknowledgement handled
        // in there may already have ended the upload.
        if (m_progress && m_active && m_progress->step(next) < 0)
            end(Outcome::Cancelled);
        return;
    }
    if (m_progress)
        m_progress->finish();
    end(sent == 0 ? Outcome::Finished : Outcome::SendFailed);
}

void FirmwareUploader::end(Outcome outcome)
{
    if (!m_active)
        return;
    m_active = false;
    m_image.clear();
    qCDebug(lcPages) << "firmware upload ended:" << int(outcome);
    Q_EMIT ended(outcome);
}
