#include "broadcastmsg.h"

#include <cstring>

namespace {

quint32 readU32(const uchar *p)
{
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}

void writeU32(uchar *p, quint32 v)
{
    p[0] = uchar(v);
    p[1] = uchar(v >> 8);
    p[2] = uchar(v >> 16);
    p[3] = uchar(v >> 24);
}

} // namespace

bool broadcastMsg::decode(const QByteArray &bytes, broadcastMsg *out)
{
    return decode(reinterpret_cast<const uchar *>(bytes.constData()), bytes.size(), out);
}

bool broadcastMsg::decode(const uchar *p, int size, broadcastMsg *out)
{
    if (size != Size || !out)
        return false;
    out->machineid = readU32(p + 0);
    out->ipaddress = readU32(p + 4);
    out->runTime = readU32(p + 8);
    out->totalTime = readU32(p + 12);
    out->statusFlag = p[16];
    std::memcpy(out->sn, p + 17, SnSize);
    std::memcpy(out->model, p + 37, ModelSize);
    std::memcpy(out->ARMFirmware, p + 57, FirmwareSize);
    std::memcpy(out->DSPFirmware, p + 67, FirmwareSize);
    std::memcpy(out->location, p + 77, TextSize);
    std::memcpy(out->description, p + 97, TextSize);
    std::memcpy(out->presetName, p + 117, TextSize);
    out->fault = p[137];
    out->reserved[0] = p[138];
    out->reserved[1] = p[139];
    return true;
}

QByteArray broadcastMsg::encode() const
{
    QByteArray bytes(Size, '\0');
    auto *p = reinterpret_cast<uchar *>(bytes.data());
    writeU32(p + 0, machineid);
    writeU32(p + 4, ipaddress);
    writeU32(p + 8, runTime);
    writeU32(p + 12, totalTime);
    p[16] = statusFlag;
    std::memcpy(p + 17, sn, SnSize);
    std::memcpy(p + 37, model, ModelSize);
    std::memcpy(p + 57, ARMFirmware, FirmwareSize);
    std::memcpy(p + 67, DSPFirmware, FirmwareSize);
    std::memcpy(p + 77, location, TextSize);
    std::memcpy(p + 97, description, TextSize);
    std::memcpy(p + 117, presetName, TextSize);
    p[137] = fault;
    p[138] = reserved[0];
    p[139] = reserved[1];
    return bytes;
}

QByteArray broadcastMsg::fieldText(const char *field, int fieldSize, int limit)
{
    const int max = limit >= 0 ? qMin(limit, fieldSize) : fieldSize;
    int length = 0;
    while (length < max && field[length] != '\0')
        ++length;
    return QByteArray(field, length);
}

void broadcastMsg::setFieldText(char *field, int fieldSize, const QByteArray &text)
{
    std::memset(field, 0, size_t(fieldSize));
    std::memcpy(field, text.constData(), size_t(qMin(text.size(), fieldSize - 1)));
}

QString broadcastMsg::addressText(quint32 ipaddress)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(ipaddress >> 24)
        .arg((ipaddress >> 16) & 0xFF)
        .arg((ipaddress >> 8) & 0xFF)
        .arg(ipaddress & 0xFF);
}
