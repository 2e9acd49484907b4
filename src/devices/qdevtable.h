#pragma once

#include <QAbstractSocket>
#include <QDialog>
#include <QList>

#include "devices/broadcastmsg.h"

class QTcpSocket;

// The "Device list" window and the owner of every known unit: its record, its
// TCP socket and its silence timer.
class QDevTable : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(QDevTable)

public:
    explicit QDevTable(QWidget *parent = nullptr);
    ~QDevTable() override;

    int count() const;
    QTcpSocket *socketAt(int index) const;
    const broadcastMsg *recordAt(int index) const;
    int currentIndex() const { return m_currentIndex; }

    // Loads the stored units from the device database.
    void loadDevices();

public Q_SLOTS:
    void addDevice();
    void devChanged(int index);
    void devChanged2(int index);
    void removeDev(int index);
    void ipClicked(int index);

Q_SIGNALS:
    void sigAddDev(broadcastMsg *record);
    void sigRemoveDev(int index);
    void sigNetState(int index, QAbstractSocket::SocketState state);
    void sigIpaddr(uint index, uint ipaddress);
    void sigModel(uint index, QString model);
    void sigFault(uint index, uchar fault);
    void sigPreset(uint index, QString preset);
    void sigNetBrowsingState(int index, bool online);

private:
    struct Entry
    {
        broadcastMsg record;
        QTcpSocket *socket = nullptr;
    };
    QList<Entry *> m_entries;
    int m_currentIndex = -1;
};
