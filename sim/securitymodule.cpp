#include "securitymodule.h"

#include "core/link/frame.h"
#include "virtualunit.h"

namespace {

constexpr quint8 PageLockParam = 1;
constexpr quint8 NewPasswordParam = 2;
constexpr int MaxPasswordLength = 8;

} // namespace

SecurityModule::SecurityModule(int family)
    : m_family(family)
{
    for (quint8 param : {3, 4, 5, 7, 8, 16})
        m_pages.insert(param, QByteArray(4, '\0'));
    for (quint8 param : {9, 10, 11, 13, 14, 17})
        m_pages.insert(param, QByteArray(8, '\0'));
    m_filters.insert(6, QVector<QByteArray>(4, QByteArray(FilterEntries, '\0')));
    m_filters.insert(12, QVector<QByteArray>(8, QByteArray(FilterEntries, '\0')));
}

void SecurityModule::connected(VirtualUnit &)
{
    locked = true;
    m_changeArmed = false;
}

bool SecurityModule::hasPage(quint8 param) const
{
    if (m_family != 1 && (param == 8 || param == 16 || param == 17))
        return false;
    return m_pages.contains(param) || m_filters.contains(param);
}

int SecurityModule::channelCount(quint8 param) const
{
    if (isFilter(param))
        return m_filters.value(param).size();
    return m_pages.value(param).size();
}

void SecurityModule::setPageLock(quint8 param, int channel, quint8 state)
{
    auto it = m_pages.find(param);
    if (it != m_pages.end() && channel >= 0 && channel < it->size())
        (*it)[channel] = char(state);
}

QByteArray SecurityModule::filterLocks(quint8 param, int channel) const
{
    const QVector<QByteArray> records = m_filters.value(param);
    return channel >= 0 && channel < records.size() ? records.at(channel) : QByteArray();
}

void SecurityModule::setFilterLock(quint8 param, int channel, int entry, quint8 state)
{
    auto it = m_filters.find(param);
    if (it != m_filters.end() && channel >= 0 && channel < it->size() && entry >= 0 && entry < FilterEntries)
        (*it)[channel][entry] = char(state);
}

void SecurityModule::report(VirtualUnit &unit, quint8 param, int channel)
{
    if (isFilter(param))
        unit.sendReport(Frame::System, Frame::Security, param, QByteArray(1, char(channel)) + filterLocks(param, channel));
    else
        unit.sendReport(Frame::System, Frame::Security, param, m_pages.value(param));
}

bool SecurityModule::handle(VirtualUnit &unit, const UnitFrame &frame)
{
    if (frame.cls != Frame::System || frame.module != Frame::Security)
        return false;
    const QByteArray &p = frame.payload;
    const bool armed = m_changeArmed;
    m_changeArmed = false;

    if (frame.param == PageLockParam) {
        if (frame.op == Frame::Set) {
            if (p == QByteArray("\xAA\xBB", 2)) {
                locked = true;
            } else if (!lockPassword.isEmpty() && p == lockPassword) {
                locked = false;
                m_changeArmed = true;
            }
            // A wrong password leaves the page as it was.
        } else if (frame.op != Frame::Query) {
            return true;
        }
        unit.sendReport(Frame::System, Frame::Security, PageLockParam, QByteArray(1, locked ? 1 : 0));
        return true;
    }
    if (frame.param == NewPasswordParam) {
        if (frame.op == Frame::Set && armed && !p.isEmpty() && p.size() <= MaxPasswordLength) {
            lockPassword = p;
            ++passwordChanges;
        }
        return true;
    }
    if (!hasPage(frame.param))
        return true;

    const int channels = channelCount(frame.param);
    if (isFilter(frame.param)) {
        if (p.isEmpty() || quint8(p.at(0)) >= channels)
            return true;
        const int channel = quint8(p.at(0));
        if (frame.op == Frame::Query && p.size() == 1) {
            report(unit, frame.param, channel);
        } else if (frame.op == Frame::Set && p.size() == 1 + FilterEntries && !locked) {
            m_filters[frame.param][channel] = p.mid(1);
            report(unit, frame.param, channel);
        }
        return true;
    }
    if (frame.op == Frame::Query) {
        report(unit, frame.param);
    } else if (frame.op == Frame::Set && p.size() == 2 && quint8(p.at(0)) < channels && !locked) {
        setPageLock(frame.param, quint8(p.at(0)), quint8(p.at(1)));
        report(unit, frame.param);
    }
    return true;
}
