#pragma once

#include <QString>
#include <QtGlobal>

// A firmware version as the unit reports it: three bytes major, minor, patch.
struct firmware
{
    quint8 major = 0;
    quint8 minor = 0;
    quint8 patch = 0;

    QString toString() const
    {
        return QString::asprintf("V%d.%d.%d", major, minor, patch);
    }
    bool isZero() const { return major == 0 && minor == 0 && patch == 0; }
    bool operator==(const firmware &o) const { return major == o.major && minor == o.minor && patch == o.patch; }
    bool operator!=(const firmware &o) const { return !(*this == o); }
};
