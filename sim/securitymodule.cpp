#include "securitymodule.h"

#include "core/link/frame.h"
#include "virtualunit.h"

namespace {

namespace S = Protocol::Security;

const Protocol::Module &securityTable()
{
    return *Protocol::module(Frame::System, Frame::Security);
}

} // namespace

SecurityModule::SecurityModule(Protocol::Family family)
    : m_family(family)
{
    // The lock states of every page, free at first.
    const Protocol::Module &table = securityTable();
    for (const Protocol::Param &row : table) {
        if (row.kind != Protocol::Kind::Setting)
            continue;
        const int channels = Protocol::count(table.channelsOf(row));
        if (isFilter(row.id))
            m_filters.insert(row.id, QVector<QByteArray>(channels, QByteArray(FilterEntries, '\0')));
        else
            m_pages.insert(row.id, QByteArray(channels, '\0'));
    }
}

void SecurityModule::connected(VirtualUnit &)
{
    locked = true;
    m_changeArmed = false;
}

bool SecurityModule::hasPage(quint8 param) const
{
    const Protocol::Param *row = securityTable().find(param);
    return row && row->in(m_family) && (m_pages.contains(param) || m_filters.contains(param));
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

    if (frame.param == S::Page) {
        if (frame.op == Frame::Set) {
            if (p == QByteArray(reinterpret_cast<const char *>(S::QuitCode), sizeof S::QuitCode)) {
                locked = true;
            } else if (!lockPassword.isEmpty() && p == lockPassword) {
                locked = false;
                m_changeArmed = true;
            }
            // A wrong password leaves the page as it was.
        } else if (frame.op != Frame::Query) {
            return true;
        }
        unit.sendReport(Frame::System, Frame::Security, S::Page, QByteArray(1, locked ? 1 : 0));
        return true;
    }
    if (frame.param == S::NewPassword) {
        if (frame.op == Frame::Set && armed && securityTable().find(S::NewPassword)->set.length.fits(p.size())) {
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
        const Protocol::Param &row = *securityTable().find(frame.param);
        if (frame.op == Frame::Query && row.query.length.fits(p.size())) {
            report(unit, frame.param, channel);
        } else if (frame.op == Frame::Set && row.set.length.fits(p.size()) && !locked) {
            m_filters[frame.param][channel] = p.mid(1);
            report(unit, frame.param, channel);
        }
        return true;
    }
    if (frame.op == Frame::Query) {
        report(unit, frame.param);
    } else if (frame.op == Frame::Set && securityTable().find(frame.param)->set.length.fits(p.size())
               && quint8(p.at(0)) < channels && !locked) {
        setPageLock(frame.param, quint8(p.at(0)), quint8(p.at(1)));
        report(unit, frame.param);
    }
    return true;
}
