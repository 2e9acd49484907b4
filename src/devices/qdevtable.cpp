#include "qdevtable.h"

#include <QTcpSocket>

QDevTable::QDevTable(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Device list"));
    resize(1140, 400);
}

QDevTable::~QDevTable()
{
    qDeleteAll(m_entries);
}

int QDevTable::count() const
{
    return m_entries.size();
}

QTcpSocket *QDevTable::socketAt(int index) const
{
    return index >= 0 && index < m_entries.size() ? m_entries.at(index)->socket : nullptr;
}

const broadcastMsg *QDevTable::recordAt(int index) const
{
    return index >= 0 && index < m_entries.size() ? &m_entries.at(index)->record : nullptr;
}

void QDevTable::loadDevices()
{
}

void QDevTable::addDevice()
{
}

void QDevTable::devChanged(int index)
{
    m_currentIndex = index;
}

void QDevTable::devChanged2(int index)
{
    m_currentIndex = index;
}

void QDevTable::removeDev(int index)
{
    Q_UNUSED(index)
}

void QDevTable::ipClicked(int index)
{
    Q_UNUSED(index)
}
