#pragma once

#include <QtGlobal>

#include <cstddef>

// Frame layout on the control link (all fields little-endian):
//   head u16 | code u16 | class u8 | module u8 | param u8 | op u8 | length u16 | payload | tail u16
namespace Frame {

constexpr quint16 Head = 0x7D82;
constexpr quint16 Tail = 0x827D;
constexpr int HeaderSize = 10;
constexpr int Overhead = 12;
constexpr int SendBufferSize = 4096;
constexpr int MaxSendPayload = SendBufferSize - Overhead;

enum Class : quint8 { Firmware = 1, System = 2, Module = 3 };
enum Op : quint8 { Query = 0, Set = 1, Report = 0x80 };

enum ModuleId : quint8 {
    InLevel = 1,
    Gate = 2,
    Feedback = 3,
    InFilter = 4,
    InLimiter = 5,
    InDelay = 6,
    MatrixMixer = 7,
    SignalGenerator = 8,
    OutLevel = 9,
    OutFilter = 10,
    OutLimiter = 11,
    OutDelay = 12,
    DynamicEq = 16,
    Fir = 17,
    Presets = 32,
};

enum SystemModule : quint8 { Login = 1, Status = 2, Labels = 3, CodeNumber = 4, Security = 5 };

inline quint16 readU16(const uchar *p) { return quint16(p[0] | (p[1] << 8)); }
inline void writeU16(uchar *p, quint16 v)
{
    p[0] = uchar(v & 0xFF);
    p[1] = uchar(v >> 8);
}

// Assembles one frame into `out`, which must hold length + Overhead bytes.
// Returns the frame size.
int encode(uchar *out, quint16 code, quint8 cls, quint8 module, quint8 param, quint8 op,
           const void *payload, quint16 length);

} // namespace Frame
