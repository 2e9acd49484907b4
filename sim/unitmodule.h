#pragma once

#include <QByteArray>
#include <QtGlobal>

class VirtualUnit;

// One received frame, as the virtual unit saw it.
struct UnitFrame
{
    quint8 cls = 0;
    quint8 module = 0;
    quint8 param = 0;
    quint8 op = 0;
    quint16 code = 0;
    QByteArray payload;
};

// A part of the virtual unit that owns some message tables and their state.
class UnitModule
{
public:
    virtual ~UnitModule() = default;

    // Returns true when the frame was this module's to handle.
    virtual bool handle(VirtualUnit &unit, const UnitFrame &frame) = 0;
    // Called when a controller connects (after the login report).
    virtual void connected(VirtualUnit &) {}
    // Called every 100 ms while the unit runs.
    virtual void tick(VirtualUnit &) {}
};
