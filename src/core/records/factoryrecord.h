#pragma once

#include <QByteArray>
#include <QtGlobal>

// The factory set-up record (class 2, module 2, param 80): what a new unit
// is told about itself at the factory. Texts are Latin-1, NUL-terminated in
// their fields, and zero-filled behind the terminator.
//
//   0  model text        20
//  20  serial text       20
//  40  inputs             1
//  41  outputs            1
//  42  zero               6
//  48  reserved (zero)    1
//  49  LCD line 1 text   20
//  69  LCD line 2 text   20    total 89
struct FactoryRecord
{
    static constexpr int TextSize = 20;
    static constexpr int ModelOffset = 0;
    static constexpr int SerialOffset = 20;
    static constexpr int InputsOffset = 40;
    static constexpr int OutputsOffset = 41;
    static constexpr int ZeroOffset = 42;
    static constexpr int ZeroSize = 6;
    static constexpr int ReservedOffset = 48;
    static constexpr int LcdLine1Offset = 49;
    static constexpr int LcdLine2Offset = 69;
    static constexpr int Size = 89;
    // Family-1 units show their own LCD pages and take the record without
    // the two LCD lines.
    static constexpr int ShortSize = LcdLine1Offset;

    QByteArray model;
    QByteArray serial;
    quint8 inputs = 0;
    quint8 outputs = 0;
    QByteArray lcdLine1;
    QByteArray lcdLine2;

    // The full 89-byte form, or the first 49 bytes when `withLcdLines` is false.
    QByteArray encode(bool withLcdLines = true) const;
    static FactoryRecord decode(const QByteArray &bytes);
};

static_assert(FactoryRecord::LcdLine2Offset + FactoryRecord::TextSize == FactoryRecord::Size,
              "the factory record is 89 bytes");
static_assert(FactoryRecord::ZeroOffset + FactoryRecord::ZeroSize == FactoryRecord::ReservedOffset,
              "the zero run ends at the reserved byte");
