#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <QtGlobal>

// The 140-byte status record a unit broadcasts over UDP. Text fields are kept
// as their raw bytes (NUL-terminated inside the field, local code page).
struct broadcastMsg
{
    static constexpr int Size = 140;
    static constexpr int SnSize = 20;
    static constexpr int ModelSize = 20;
    static constexpr int FirmwareSize = 10;
    static constexpr int TextSize = 20;

    quint32 machineid = 0;
    quint32 ipaddress = 0; // first octet most significant
    quint32 runTime = 0;
    quint32 totalTime = 0;
    quint8 statusFlag = 0;
    char sn[SnSize] = {};
    char model[ModelSize] = {};
    char ARMFirmware[FirmwareSize] = {};
    char DSPFirmware[FirmwareSize] = {};
    char location[TextSize] = {};
    char description[TextSize] = {};
    char presetName[TextSize] = {};
    quint8 fault = 0;
    quint8 reserved[2] = {};

    // Decodes exactly Size bytes; any other length is refused.
    static bool decode(const QByteArray &bytes, broadcastMsg *out);
    static bool decode(const uchar *data, int size, broadcastMsg *out);
    QByteArray encode() const;

    // A text field up to its NUL, at most `limit` bytes.
    static QByteArray fieldText(const char *field, int fieldSize, int limit = -1);
    static void setFieldText(char *field, int fieldSize, const QByteArray &text);

    // "%d.%d.%d.%d" of an address held first octet most significant.
    static QString addressText(quint32 ipaddress);
};

static_assert(4 + 4 + 4 + 4 + 1 + broadcastMsg::SnSize + broadcastMsg::ModelSize + 2 * broadcastMsg::FirmwareSize
                      + 3 * broadcastMsg::TextSize + 1 + 2
                  == broadcastMsg::Size,
              "broadcastMsg fields must add up to 140 bytes");

Q_DECLARE_METATYPE(broadcastMsg *)
