#include "qdevicelist.h"

QDeviceList::QDeviceList(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("deviceList"));
}

QDeviceList::~QDeviceList() = default;

void QDeviceList::addItem(broadcastMsg *record)
{
    Q_UNUSED(record)
}

void QDeviceList::removeRow(int index)
{
    Q_UNUSED(index)
}

void QDeviceList::setIpaddr(uint index, uint ipaddress)
{
    Q_UNUSED(index)
    Q_UNUSED(ipaddress)
}

void QDeviceList::setNetBrowsingState(int index, bool online)
{
    Q_UNUSED(index)
    Q_UNUSED(online)
}

void QDeviceList::setDeviceModel(uint index, QString model)
{
    Q_UNUSED(index)
    Q_UNUSED(model)
}

void QDeviceList::setDevicePreset(uint index, QString preset)
{
    Q_UNUSED(index)
    Q_UNUSED(preset)
}

void QDeviceList::setFaultState(uint index, uchar fault)
{
    Q_UNUSED(index)
    Q_UNUSED(fault)
}
