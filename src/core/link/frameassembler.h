#pragma once

#include <QByteArray>

#include <functional>

// Cuts a received byte stream back into frames. Bytes are consumed through a
// read offset and the buffer is compacted once per append, so a long burst is
// processed in linear time.
class FrameAssembler
{
public:
    using Deliver = std::function<void(quint8 cls, quint8 module, quint8 param, quint8 op,
                                       quint16 length, const uchar *payload)>;

    void clear();
    void append(const char *data, int size);
    void append(const QByteArray &data) { append(data.constData(), data.size()); }

    // Delivers every complete frame now in the buffer, in order. The payload
    // pointer is valid only during the call.
    void parse(const Deliver &deliver);

    int pending() const { return m_buffer.size() - m_offset; }
    // The code word of the frame being delivered (valid inside the callback).
    quint16 currentCode() const { return m_currentCode; }

private:
    static constexpr int InitialCapacity = 64 * 1024;

    void compact();

    QByteArray m_buffer;
    int m_offset = 0;
    quint16 m_currentCode = 0;
};
