#include "frame.h"

#include <cstring>

namespace Frame {

int encode(uchar *out, quint16 code, quint8 cls, quint8 module, quint8 param, quint8 op,
           const void *payload, quint16 length)
{
    writeU16(out, Head);
    writeU16(out + 2, code);
    out[4] = cls;
    out[5] = module;
    out[6] = param;
    out[7] = op;
    writeU16(out + 8, length);
    if (length > 0)
        std::memcpy(out + HeaderSize, payload, length);
    writeU16(out + HeaderSize + length, Tail);
    return length + Overhead;
}

} // namespace Frame
