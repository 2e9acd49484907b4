#pragma once

#include <QByteArray>
#include <QMap>
#include <QVector>

#include "core/protocol/protocol.h"
#include "unitmodule.h"

// Class-2 module 5 of the virtual unit: the security page's own lock, its
// lock password, and the per-page, per-channel lock states it stores and
// reports (params 3 to 14, 16 and 17). The page is closed again on every new
// connection and by the "Quit" code 0xAA 0xBB; lock states change only while
// it is open.
class SecurityModule final : public UnitModule
{
public:
    static constexpr int FilterEntries = Protocol::Security::FilterEntries;

    explicit SecurityModule(Protocol::Family family = Protocol::Family::Hz96k);

    bool handle(VirtualUnit &unit, const UnitFrame &frame) override;
    void connected(VirtualUnit &unit) override;

    // State, readable and settable by tests.
    QByteArray lockPassword = "123456";
    bool locked = true;
    int passwordChanges = 0;

    // Whether the unit knows `param` (the input-delay, dynamic-EQ and FIR
    // locks exist on family-1 units only).
    bool hasPage(quint8 param) const;
    int channelCount(quint8 param) const;
    // One state byte per channel (params other than 6 and 12).
    QByteArray pageLocks(quint8 param) const { return m_pages.value(param); }
    void setPageLock(quint8 param, int channel, quint8 state);
    // The 19-byte record of one filter channel (params 6 and 12).
    QByteArray filterLocks(quint8 param, int channel) const;
    void setFilterLock(quint8 param, int channel, int entry, quint8 state);

private:
    static bool isFilter(quint8 param)
    {
        return param == Protocol::Security::InFilter || param == Protocol::Security::OutFilter;
    }
    void report(VirtualUnit &unit, quint8 param, int channel = -1);

    Protocol::Family m_family;
    QMap<quint8, QByteArray> m_pages;
    QMap<quint8, QVector<QByteArray>> m_filters;
    // The current password was just given: the next param-2 frame may set a
    // new one.
    bool m_changeArmed = false;
};
