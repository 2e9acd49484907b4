#include "startupconnect.h"

#include <QTimer>

#include "qdevicelist.h"
#include "qdevtable.h"

StartupConnect::StartupConnect(QDevTable *table, QDeviceList *list, quint32 ipaddress, int waitMs,
                               QObject *parent)
    : QObject(parent)
    , m_table(table)
    , m_list(list)
    , m_address(ipaddress)
    , m_wait(new QTimer(this))
{
    m_wait->setSingleShot(true);
    m_wait->setInterval(waitMs);
    connect(m_wait, &QTimer::timeout, this, &StartupConnect::waitOver);
}

StartupConnect::~StartupConnect() = default;

bool StartupConnect::isWaiting() const
{
    return m_wait->isActive();
}

void StartupConnect::start()
{
    const int known = m_table->indexOfAddress(m_address);
    if (known >= 0) {
        choose(known);
        return;
    }
    connect(m_table, &QDevTable::sigNetBrowsingState, this, [this](int index, bool online) {
        if (online)
            unitHeard(index);
    });
    connect(m_table, &QDevTable::sigIpaddr, this, [this](uint index, uint) { unitHeard(int(index)); });
    m_wait->start();
}

void StartupConnect::unitHeard(int index)
{
    if (m_done || m_table->ipAddressAt(index) != m_address)
        return;
    choose(index);
}

void StartupConnect::waitOver()
{
    if (m_done)
        return;
    if (m_list->selectedRow() >= 0) {
        choose(m_list->selectedRow());
        return;
    }
    // Nobody announced the address (an older unit, or one behind a router
    // that drops broadcasts): talk to it directly.
    choose(m_table->addDeviceByHand(m_address));
}

void StartupConnect::choose(int index)
{
    m_done = true;
    m_wait->stop();
    disconnect(m_table, nullptr, this, nullptr);
    // The operator was quicker: leave their choice alone.
    if (m_list->selectedRow() < 0)
        m_list->selectRow(index);
    Q_EMIT finished(m_list->selectedRow());
}
