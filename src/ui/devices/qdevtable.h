#pragma once

#include <QAbstractSocket>
#include <QDialog>
#include <QHostAddress>
#include <QList>
#include <QPointer>
#include <QSettings>

#include <memory>

#include "core/devices/broadcastmsg.h"
#include "core/devices/discovery.h"

class DeviceDatabase;
class Prompt;
class QAbstractButton;
class QIpSetting;
class QMessageBox;
class QPushButton;
class QTableWidget;
class QTcpSocket;
class QTimer;

// The "Device list" window: shows what the Discovery hears, and keeps, for
// every known unit, its TCP socket, its database row and its table row. Units
// announce themselves with 140-byte status records over UDP; the PC only
// listens, except for the one command it sends (new IP settings).
class QDevTable : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(QDevTable)

public:
    // Where records arrive and where commands and control links go. The
    // defaults are the product's; tests and demos point them at loopback.
    struct Network
    {
        quint16 discoveryPort = Discovery::DefaultPort; // 0: any free port (see boundDiscoveryPort)
        QHostAddress commandAddress = QHostAddress(QHostAddress::Broadcast);
        quint16 commandPort = 6001;
        quint16 controlPort = 2699;
    };

    static constexpr int SilenceMs = Discovery::SilenceMs;
    static constexpr quint32 FirstHandAddedId = 32215;
    static constexpr int StoredTextBytes = Discovery::StoredTextBytes;
    // Units heard are capped (see Discovery); stored units loaded from the
    // database and units added by hand are not.
    static constexpr int MaxKnownUnits = Discovery::MaxKnownUnits;
    enum Column {
        IpColumn, ModelColumn, ArmColumn, DspColumn, LocationColumn, DescriptionColumn, SnColumn,
        LinkColumn, RunTimeColumn, TotalTimeColumn, IdColumn, DeleteColumn, ColumnCount
    };

    explicit QDevTable(QWidget *parent = nullptr);
    // `prompt` shows the modal boxes (null: real dialogs); `settings` is the
    // store the window geometry goes to (null: not kept).
    QDevTable(const Network &network, Prompt *prompt, QSettings *settings, QWidget *parent = nullptr);
    ~QDevTable() override;

    int count() const;
    QTcpSocket *socketAt(int index) const;
    const broadcastMsg *recordAt(int index) const;
    quint32 machineIdAt(int index) const;
    quint32 ipAddressAt(int index) const;
    bool isOnline(int index) const;
    int currentIndex() const { return m_currentIndex; }
    int indexOfMachineId(quint32 machineid) const;
    int indexOfAddress(quint32 ipaddress) const;

    const Discovery *discovery() const { return m_discovery; }
    const Network &network() const { return m_network; }
    void setControlPort(quint16 port) { m_network.controlPort = port; }
    void setCommandTarget(const QHostAddress &address, quint16 port);
    // Rebinds the listener.
    void setDiscoveryPort(quint16 port);
    // Stand-ins for the broadcast-capable interfaces the command goes out
    // through (see Discovery); tests give loopback addresses.
    void setInterfaceAddresses(const QList<QHostAddress> &addresses);
    // The port the listener is bound to (the chosen one when asked for 0).
    quint16 boundDiscoveryPort() const;
    void setLanguageFontFamily(const QString &family);

    // Loads the stored units from the device database (once, after the
    // signals are connected). Same as loadDatabase().
    void loadDevices();
    void loadDatabase() { loadDevices(); }
    DeviceDatabase *database() const { return m_database.get(); }

    // Evaluates one received datagram as the listener does.
    void processDatagram(const QByteArray &datagram);
    // Sends a UDP command to the unit `machineid`; false when no datagram left.
    bool sendUdpCommand(quint32 machineid, quint8 command, const QByteArray &payload);
    // What "Add Device" does once the address is known; returns the new index.
    int addDeviceByHand(quint32 ipaddress);

    // Rewrites the Link Status cell of the chosen unit.
    void refreshLinkStatus();
    bool isLoggedIn() const { return m_loggedIn; }
    int retryCount() const { return m_retryCount; }
    bool remindTimeout() const { return m_remindTimeout; }

    QTableWidget *table() const { return m_table; }
    QMessageBox *connectTimeoutBox() const { return m_timeoutBox; }
    QAbstractButton *modifyIpButton() const;
    QAbstractButton *closeButton() const;
    QAbstractButton *doNotRemindButton() const;
    QIpSetting *ipSettingDialog() const { return m_ipSetting; }
    QTimer *silenceTimerAt(int index) const;

    static QString durationText(quint32 seconds);

public Q_SLOTS:
    void tcpSocketStateChanged(QAbstractSocket::SocketState state);
    void tcpReadyRead();
    void removeClicked();
    void addDevice(broadcastMsg *pMsg, bool online);
    void removeDev(int index);
    void ipClicked(int index);
    void devChanged(int index);
    void devChanged2(int index);
    void connectTimeoutMessageBoxButtonClicked(QAbstractButton *button);
    void addDevice();
    // The login state of the current link (shown in the Link Status column).
    void setLoggedIn(bool loggedIn);

Q_SIGNALS:
    void sigAddDev(const broadcastMsg *record);
    void sigRemoveDev(int index);
    void sigNetState(int index, QAbstractSocket::SocketState state);
    void sigIpaddr(uint index, uint ipaddress);
    void sigModel(uint index, QString model);
    void sigFault(uint index, uchar fault);
    void sigPreset(uint index, QString preset);
    void sigNetBrowsingState(int index, bool online);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Entry;

    void buildTable();
    void setTableFont(const QFont &font);
    void retranslate();
    void describeRows();
    void saveGeometryIfShown();
    void setCell(int row, int column, const QString &text);
    void fitColumn(int column, int textWidth);
    void setLinkStatus(int index);
    void fillRow(int row, const broadcastMsg &record);
    // What the Discovery tells.
    void unitAdded(int index);
    void unitChanged(int index, Discovery::Changes changes);
    void onlineChanged(int index, bool online);
    void reconnect(int index);
    int indexOfSocket(const QObject *socket) const;
    int indexOfButton(const QObject *button) const;

    Network m_network;
    Prompt *m_prompt;
    // The owner may delete its store before its children; then it is gone.
    QPointer<QSettings> m_settings;
    std::unique_ptr<DeviceDatabase> m_database;
    Discovery *m_discovery;
    // Alongside the Discovery's entries, index for index.
    QList<Entry *> m_entries;
    QMessageBox *m_timeoutBox;
    QPushButton *m_modifyIpButton;
    QPushButton *m_closeButton;
    QPushButton *m_noRemindButton;
    QIpSetting *m_ipSetting;
    QTableWidget *m_table;
    QString m_fontFamily;
    int m_currentIndex = -1;
    int m_retryCount = 0;
    bool m_remindTimeout = true;
    bool m_neverShown = true;
    bool m_loggedIn = false;
};
