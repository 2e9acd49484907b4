#include "presettransfer.h"

#include <QEventLoop>
#include <QFile>
#include <QSaveFile>
#include <QTimer>
#include <QtEndian>

#include <climits>

#include "core/firmware/progresssteps.h"
#include "core/link/frame.h"
#include "core/link/link.h"
#include "core/link/logging.h"

namespace {

enum Param : quint8 {
    ExportAllBlockParam = 6,
    ImportAllBlockParam = 7,
    ExportParam = 10,
    ExportAllParam = 11,
    ExportChunkParam = 12,
    ImportParam = 13,
    ImportAllParam = 14,
    ImportChunkParam = 15,
};

constexpr int SizeReportSize = 4;
constexpr int BlockNumberSize = 2;
constexpr int LastBlock = 0xFFFF;
// What 16-bit block numbers reach; no slot image comes near it, and an image
// is held whole in memory while it goes out.
constexpr qint64 MaxImageSize = qint64(LastBlock + 1) * PresetTransfer::ChunkSize;

QByteArray u16Bytes(quint16 value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian<quint16>(value, bytes.data());
    return bytes;
}

QByteArray u32Bytes(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian<quint32>(value, bytes.data());
    return bytes;
}

int dialogValue(quint32 value)
{
    return int(qMin<quint32>(value, quint32(INT_MAX)));
}

} // namespace

PresetTransfer::PresetTransfer(Link *link, Delivery delivery, QObject *parent)
    : QObject(parent)
    , m_link(link)
    , m_replyTimer(new QTimer(this))
{
    m_replyTimer->setSingleShot(true);
    connect(m_replyTimer, &QTimer::timeout, this, [this] { end(Outcome::NoReply); });
    if (!link)
        return;
    // Nothing more will come once the link is gone: end rather than wait.
    connect(link, &Link::linkLost, this, [this] { end(Outcome::LinkLost); });
    if (delivery == Delivery::FromLink) {
        connect(link, &Link::moduleMessage, this,
                [this](quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload) {
                    if (module == Frame::Presets)
                        onMessage(param, op, length, payload);
                });
    }
}

PresetTransfer::~PresetTransfer() = default;

void PresetTransfer::setProgressLabels(const QString &toPc, const QString &fromPc)
{
    m_toPcLabel = toPc;
    m_fromPcLabel = fromPc;
}

void PresetTransfer::setReplyTimeout(int ms)
{
    m_replyTimeoutMs = qMax(ms, 0);
    if (m_replyTimeoutMs == 0)
        m_replyTimer->stop();
}

bool PresetTransfer::exportSlot(int slot, const QString &path)
{
    return slot >= 0 && slot < Slots && begin(Kind::ExportOne, path, ExportParam, slot);
}

bool PresetTransfer::exportSlotToMemory(int slot)
{
    if (slot < 0 || slot >= Slots)
        return false;
    begin(Kind::ExportOne, QString(), ExportParam, slot);
    // After begin(): its ending of an earlier transfer concerns that one's file.
    m_toMemory = true;
    m_memory.clear();
    return true;
}

bool PresetTransfer::exportAll(const QString &path)
{
    return begin(Kind::ExportAll, path, ExportAllParam, -1);
}

bool PresetTransfer::importSlot(int slot, const QString &path)
{
    return slot >= 0 && slot < Slots && begin(Kind::ImportOne, path, ImportParam, slot);
}

bool PresetTransfer::importAll(const QString &path)
{
    return begin(Kind::ImportAll, path, ImportAllParam, -1);
}

bool PresetTransfer::begin(Kind kind, const QString &path, quint8 param, int slot)
{
    end(Outcome::Cancelled);
    m_path = path;
    m_toMemory = false;
    m_offset = 0;
    m_remaining = 0;
    m_done = 0;
    m_block = 0;
    m_kind = kind;
    ++m_serial;
    // The single-slot messages carry the slot where other modules put the
    // channel; the all-slots ones carry nothing.
    sendStep(param, Frame::Set, slot >= 0 ? QByteArray(1, char(slot)) : QByteArray());
    return true;
}

void PresetTransfer::cancel()
{
    end(Outcome::Cancelled);
}

PresetTransfer::Outcome PresetTransfer::waitForFinished()
{
    if (!isActive())
        return m_outcome;
    QEventLoop loop;
    connect(this, &PresetTransfer::finished, &loop, &QEventLoop::quit);
    loop.exec();
    return m_outcome;
}

void PresetTransfer::end(Outcome outcome)
{
    if (m_kind == Kind::None)
        return;
    const Kind kind = m_kind;
    m_kind = Kind::None;
    m_replyTimer->stop();
    m_importData.clear();
    // A cancelled or broken export leaves neither a partial file nor a
    // damaged older one under the chosen name.
    discardExport();
    if (m_toMemory && outcome != Outcome::Done)
        m_memory.clear();
    m_outcome = outcome;
    if (m_progressShown) {
        m_progressShown = false;
        if (m_progress)
            m_progress->finish();
    }
    qCDebug(lcPresets) << "preset transfer" << int(kind) << "ended:" << outcome << "after" << m_done << "bytes";
    Q_EMIT finished(outcome);
}

bool PresetTransfer::onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload)
{
    if (op != Frame::Report || (length > 0 && !payload))
        return false;
    switch (param) {
    case ExportParam:
        if (length == SizeReportSize)
            onExportSize(qFromLittleEndian<quint32>(payload));
        return true;
    case ExportChunkParam:
        onExportChunk(length, payload);
        return true;
    case ExportAllParam:
        if (length == SizeReportSize)
            onExportAllSize(qFromLittleEndian<quint32>(payload));
        return true;
    case ExportAllBlockParam:
        onExportAllBlock(length, payload);
        return true;
    case ImportParam:
        if (length == SizeReportSize)
            onImportSize(qFromLittleEndian<quint32>(payload));
        return true;
    case ImportChunkParam:
        if (length == SizeReportSize)
            onImportAccepted(qFromLittleEndian<quint32>(payload));
        return true;
    case ImportAllParam:
        if (length == SizeReportSize)
            onImportAllSize(qFromLittleEndian<quint32>(payload));
        return true;
    case ImportAllBlockParam:
        if (length == BlockNumberSize)
            onImportAllAck(qFromLittleEndian<quint16>(payload));
        return true;
    default:
        return false;
    }
}

// One slot to the PC: each request names how many bytes, the unit keeps its
// place.

void PresetTransfer::onExportSize(quint32 size)
{
    if (m_kind != Kind::ExportOne)
        return;
    // A size announced again starts the image again.
    discardExport();
    m_offset = 0;
    m_remaining = size;
    m_done = 0;
    const quint64 serial = m_serial;
    startProgress(size, m_toPcLabel);
    if (serial != m_serial || !isActive())
        return;
    sendStep(ExportChunkParam, Frame::Set, u32Bytes(ChunkSize));
}

void PresetTransfer::onExportChunk(quint16 length, const uchar *payload)
{
    if (m_kind != Kind::ExportOne)
        return;
    // A unit that sends more than it announced does not get to write past it.
    const quint32 count = qMin<quint32>(length, m_remaining);
    if (!writeExport(reinterpret_cast<const char *>(payload), int(count))) {
        end(Outcome::FileUnwritable);
        return;
    }
    m_offset += count;
    m_remaining -= count;
    m_done = m_offset;
    const quint64 serial = m_serial;
    const int stepped = stepProgress(m_offset);
    if (serial != m_serial || !isActive())
        return;
    if (stepped < 0)
        end(Outcome::Cancelled);
    else if (m_remaining == 0)
        finishExport();
    else if (count == 0)
        // Asking again would only get nothing again, as fast as the link goes.
        end(Outcome::UnitEndedEarly);
    else
        sendStep(ExportChunkParam, Frame::Set, u32Bytes(qMin<quint32>(m_remaining, ChunkSize)));
}

// All slots to the PC, block by block, until the unit's short block.

void PresetTransfer::onExportAllSize(quint32 size)
{
    if (m_kind != Kind::ExportAll)
        return;
    discardExport();
    m_remaining = size;
    m_block = 0;
    m_done = 0;
    const quint64 serial = m_serial;
    startProgress(size, m_toPcLabel);
    if (serial != m_serial || !isActive())
        return;
    sendStep(ExportAllBlockParam, Frame::Set, u16Bytes(0));
}

void PresetTransfer::onExportAllBlock(quint16 length, const uchar *payload)
{
    if (m_kind != Kind::ExportAll || length < BlockNumberSize)
        return;
    const int block = qFromLittleEndian<quint16>(payload);
    // The unit answers the block asked for; anything else is a stray.
    if (block != m_block)
        return;
    const int count = length - BlockNumberSize;
    if (!writeExport(reinterpret_cast<const char *>(payload + BlockNumberSize), count)) {
        end(Outcome::FileUnwritable);
        return;
    }
    m_done += quint32(count);
    if (count < ChunkSize) {
        finishExport();
        return;
    }
    if (block == LastBlock) {
        // Block numbers are 16 bits: another request would start over at 0.
        end(Outcome::TooLarge);
        return;
    }
    // The unit expects the whole image to be fetched: cancelling does not
    // stop an all-slots transfer.
    const quint64 serial = m_serial;
    stepProgress(quint32(block) * ChunkSize + quint32(count));
    if (serial != m_serial || !isActive())
        return;
    m_block = block + 1;
    sendStep(ExportAllBlockParam, Frame::Set, u16Bytes(quint16(m_block)));
}

bool PresetTransfer::writeExport(const char *bytes, int count)
{
    if (m_toMemory) {
        m_memory.append(bytes, count);
        return true;
    }
    if (!m_export) {
        // Written beside the target and renamed over it when complete.
        m_export = std::make_unique<QSaveFile>(m_path);
        if (m_path.isEmpty() || !m_export->open(QIODevice::WriteOnly)) {
            qCDebug(lcPresets) << "cannot write" << m_path << ":" << m_export->errorString();
            m_export.reset();
            return false;
        }
    }
    return count == 0 || m_export->write(bytes, count) == count;
}

void PresetTransfer::discardExport()
{
    if (!m_export)
        return;
    m_export->cancelWriting();
    m_export.reset();
}

void PresetTransfer::finishExport()
{
    if (m_toMemory) {
        end(Outcome::Done);
        return;
    }
    // Every export reaches its end through a chunk, so the file is open.
    const bool committed = m_export && m_export->commit();
    if (!committed && m_export)
        qCDebug(lcPresets) << "cannot write" << m_path << ":" << m_export->errorString();
    m_export.reset();
    end(committed ? Outcome::Done : Outcome::FileUnwritable);
}

// From the PC: the file is read once, when the unit has said what size it
// takes, so the file that was checked is the file that is sent.

bool PresetTransfer::readImport(quint32 expected)
{
    QFile file(m_path);
    if (m_path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        end(Outcome::FileUnreadable);
        return false;
    }
    // Compared before reading: a file of the wrong size, however large, is
    // never loaded.
    if (!file.isSequential() && file.size() != qint64(expected)) {
        end(Outcome::SizeMismatch);
        return false;
    }
    if (qint64(expected) > MaxImageSize) {
        end(Outcome::TooLarge);
        return false;
    }
    m_importData = file.read(qint64(expected) + 1);
    if (file.error() != QFileDevice::NoError) {
        end(Outcome::FileUnreadable);
        return false;
    }
    if (quint32(m_importData.size()) != expected) {
        end(Outcome::SizeMismatch);
        return false;
    }
    return true;
}

// One slot from the PC: a chunk goes out for every acknowledgement.

void PresetTransfer::onImportSize(quint32 expected)
{
    if (m_kind != Kind::ImportOne || !readImport(expected))
        return;
    m_offset = 0;
    m_remaining = expected;
    m_done = 0;
    const quint64 serial = m_serial;
    sendImportChunk();
    if (serial != m_serial || !isActive())
        return;
    startProgress(expected, m_fromPcLabel);
}

void PresetTransfer::onImportAccepted(quint32 accepted)
{
    if (m_kind != Kind::ImportOne)
        return;
    accepted = qMin(accepted, m_remaining);
    m_offset += accepted;
    m_remaining -= accepted;
    m_done = m_offset;
    const quint64 serial = m_serial;
    const int stepped = stepProgress(m_offset);
    if (serial != m_serial || !isActive())
        return;
    if (stepped < 0)
        end(Outcome::Cancelled);
    else if (m_remaining == 0)
        end(Outcome::Done);
    else if (accepted == 0)
        end(Outcome::UnitEndedEarly);
    else
        sendImportChunk();
}

void PresetTransfer::sendImportChunk()
{
    const int count = int(qMin<quint32>(m_remaining, ChunkSize));
    sendStep(ImportChunkParam, Frame::Set, m_importData.mid(int(m_offset), count));
}

// All slots from the PC: each acknowledged block brings the next.

void PresetTransfer::onImportAllSize(quint32 expected)
{
    if (m_kind != Kind::ImportAll || !readImport(expected))
        return;
    m_block = 0;
    m_remaining = expected;
    m_done = 0;
    const quint64 serial = m_serial;
    startProgress(expected, m_fromPcLabel);
    if (serial != m_serial || !isActive())
        return;
    sendImportBlock(0);
}

void PresetTransfer::onImportAllAck(quint16 block)
{
    if (m_kind != Kind::ImportAll || block != m_block)
        return;
    m_block = block + 1;
    m_done = quint32(qMin<qint64>(qint64(m_block) * ChunkSize, m_importData.size()));
    if (qint64(m_block) * ChunkSize >= m_importData.size()) {
        end(Outcome::Done);
        return;
    }
    const quint64 serial = m_serial;
    sendImportBlock(m_block);
    if (serial != m_serial || !isActive())
        return;
    // Not stopped by cancelling either, as the export of all slots.
    stepProgress(quint32(m_block) * ChunkSize);
}

void PresetTransfer::sendImportBlock(int block)
{
    QByteArray payload = u16Bytes(quint16(block));
    payload.append(m_importData.mid(block * ChunkSize, ChunkSize));
    // The unit takes this one as a query (op 0), not as a set.
    sendStep(ImportAllBlockParam, Frame::Query, payload);
}

bool PresetTransfer::sendPlain(quint8 param, quint8 op, const QByteArray &payload)
{
    return m_link
        && m_link->sendFrame(Frame::Module, Frame::Presets, param, op, payload.constData(),
                             quint16(payload.size()));
}

void PresetTransfer::sendStep(quint8 param, quint8 op, const QByteArray &payload)
{
    // A frame the link cannot send is dropped, as every frame is: the link's
    // loss report or the reply timeout ends the transfer.
    sendPlain(param, op, payload);
    if (m_replyTimeoutMs > 0)
        m_replyTimer->start(m_replyTimeoutMs);
}

void PresetTransfer::startProgress(quint32 maximum, const QString &label)
{
    m_progressShown = true;
    if (m_progress)
        m_progress->start(dialogValue(maximum), label);
}

int PresetTransfer::stepProgress(quint32 value)
{
    return m_progress ? m_progress->step(dialogValue(value)) : 0;
}
