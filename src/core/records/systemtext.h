#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include "core/link/firmware.h"

// How the unit-level (class 2) values are read off the wire and shown.
// Everything here is plain data in, text out, so it is tested without
// widgets.
namespace SystemText {

quint32 readU32(const uchar *p);
qint32 readI32(const uchar *p);
float readF32(const uchar *p);

// "V%d.%d.%d"; empty for 0.0.0 (what a unit that has not reported shows).
QString version(const firmware &ver);
// The DSP version with the suffix of the DSP model: 0 "-5310", 1 "-2906",
// anything else none.
QString dspVersion(const firmware &ver, quint8 dspModel);
// Seconds as days and hh:mm:ss, in the current language ("0 days 00:01:01").
QString duration(quint32 seconds);
// Low byte (inputs) then high byte (outputs), "%02d%02d".
QString channelConfig(quint16 config);
// The code number's three words a, b, c shown as a-c-b.
QString codeNumber(quint16 a, quint16 b, quint16 c);
// First octet in the most significant byte.
QString ipv4(quint32 address);
bool parseIpv4(const QString &text, quint32 *address);

// A text field of a report: local 8-bit bytes up to the first NUL, at most
// `length` bytes.
QString text(const uchar *bytes, int length);
// A text for a set, in the local 8-bit encoding, cut to at most `maxBytes`
// bytes without splitting a character.
QByteArray encode(const QString &text, int maxBytes);

} // namespace SystemText
