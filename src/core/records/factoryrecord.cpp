#include "factoryrecord.h"

#include <cstring>

namespace {

// Copies at most TextSize - 1 bytes so the field always ends in NUL.
void putText(QByteArray &out, int offset, const QByteArray &text)
{
    const int size = qMin(text.size(), FactoryRecord::TextSize - 1);
    std::memcpy(out.data() + offset, text.constData(), size_t(size));
}

QByteArray getText(const QByteArray &in, int offset)
{
    if (in.size() < offset + FactoryRecord::TextSize)
        return QByteArray();
    const QByteArray field = in.mid(offset, FactoryRecord::TextSize);
    const int nul = field.indexOf('\0');
    return nul < 0 ? field : field.left(nul);
}

} // namespace

QByteArray FactoryRecord::encode(bool withLcdLines) const
{
    QByteArray out(Size, '\0');
    putText(out, ModelOffset, model);
    putText(out, SerialOffset, serial);
    out[InputsOffset] = char(inputs);
    out[OutputsOffset] = char(outputs);
    putText(out, LcdLine1Offset, lcdLine1);
    putText(out, LcdLine2Offset, lcdLine2);
    if (!withLcdLines)
        out.truncate(ShortSize);
    return out;
}

FactoryRecord FactoryRecord::decode(const QByteArray &bytes)
{
    FactoryRecord record;
    record.model = getText(bytes, ModelOffset);
    record.serial = getText(bytes, SerialOffset);
    if (bytes.size() > OutputsOffset) {
        record.inputs = quint8(bytes.at(InputsOffset));
        record.outputs = quint8(bytes.at(OutputsOffset));
    }
    record.lcdLine1 = getText(bytes, LcdLine1Offset);
    record.lcdLine2 = getText(bytes, LcdLine2Offset);
    return record;
}
