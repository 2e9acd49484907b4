#pragma once

#include <QWidget>

#include "devices/broadcastmsg.h"

// The list of known units on the left of the main window.
class QDeviceList : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(QDeviceList)

public:
    explicit QDeviceList(QWidget *parent = nullptr);
    ~QDeviceList() override;

public Q_SLOTS:
    void addItem(broadcastMsg *record);
    void removeRow(int index);
    void setIpaddr(uint index, uint ipaddress);
    void setNetBrowsingState(int index, bool online);
    void setDeviceModel(uint index, QString model);
    void setDevicePreset(uint index, QString preset);
    void setFaultState(uint index, uchar fault);

Q_SIGNALS:
    void sig_devChanged(int index);
    void sig_devChanged2(int index);
    void sig_removeRow(int index);
    void sig_ipClicked(int index);
};
