#include "frameassembler.h"

#include "frame.h"
#include "logging.h"

void FrameAssembler::clear()
{
    m_buffer.clear();
    m_offset = 0;
}

void FrameAssembler::append(const char *data, int size)
{
    compact();
    m_buffer.append(data, size);
}

void FrameAssembler::compact()
{
    if (m_offset == 0)
        return;
    if (m_offset >= m_buffer.size()) {
        // Everything consumed: keep the allocation for the next read.
        if (m_buffer.capacity() < InitialCapacity)
            m_buffer.reserve(InitialCapacity);
        m_buffer.truncate(0);
    } else {
        m_buffer.remove(0, m_offset);
    }
    m_offset = 0;
}

void FrameAssembler::parse(const Deliver &deliver)
{
    // A handler may clear() the assembler (a reset of the link) while we are
    // inside the loop; every step therefore re-reads the buffer state.
    for (;;) {
        const int available = m_buffer.size() - m_offset;
        if (available <= Frame::HeaderSize)
            break;
        const auto *p = reinterpret_cast<const uchar *>(m_buffer.constData()) + m_offset;
        if (Frame::readU16(p) != Frame::Head) {
            qCDebug(lcLink, "PacketHeader Error!!!");
            ++m_offset;
            continue;
        }
        const int length = Frame::readU16(p + 8);
        const int total = length + Frame::Overhead;
        if (available < total)
            break;
        if (Frame::readU16(p + Frame::HeaderSize + length) == Frame::Tail) {
            // Consume before delivering: the handler may send frames or feed
            // the assembler again, and must see a consistent state.
            m_offset += total;
            const QByteArray keep = m_buffer; // holds the bytes alive if the handler clears us
            const auto *frame = reinterpret_cast<const uchar *>(keep.constData()) + (m_offset - total);
            m_currentCode = Frame::readU16(frame + 2);
            deliver(frame[4], frame[5], frame[6], frame[7], quint16(length), frame + Frame::HeaderSize);
        } else {
            qCDebug(lcLink).nospace() << "PacketTailer Error!!! len= " << available;
            m_offset += total;
        }
    }
    compact();
}
