#include "qdevtable.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QNetworkProxy>
#include <QPushButton>
#include <QTableWidget>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>
#include <QtEndian>

#include "core/devices/devicedatabase.h"
#include "core/link/logging.h"
#include "core/records/systemtext.h"
#include "qipsetting.h"
#include "ui/common/prompt.h"
#include "ui/controls/keyboardaccess.h"

namespace {

const QString GeometryKey = QStringLiteral("DeviceListGeometry");
constexpr int CommandHeaderSize = 12;
constexpr quint8 SetIpCommand = 2;
constexpr int RetriesBeforeReminder = 5;

QString localText(const char *field, int size, int limit = -1)
{
    return QString::fromLocal8Bit(broadcastMsg::fieldText(field, size, limit));
}

bool isContiguousMask(quint32 mask)
{
    // Ones from the top, then zeros: inverting gives 0...01...1, and adding
    // one to that yields a power of two.
    const quint32 inverted = ~mask;
    return mask != 0 && (inverted & (inverted + 1)) == 0;
}

} // namespace

struct QDevTable::Entry
{
    QTcpSocket *socket = nullptr;
    QPushButton *deleteButton = nullptr;
};

QDevTable::QDevTable(QWidget *parent)
    : QDevTable(Network(), nullptr, nullptr, parent)
{
}

QDevTable::QDevTable(const Network &network, Prompt *prompt, QSettings *settings, QWidget *parent)
    : QDialog(parent)
    , m_network(network)
    , m_prompt(prompt ? prompt : Prompt::standard())
    , m_settings(settings)
    , m_database(std::make_unique<DeviceDatabase>())
    , m_discovery(new Discovery(network.discoveryPort, this))
{
    // Units are on the local network; a system proxy must never sit between.
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(40, 40, 41));
    setPalette(pal);
    setAutoFillBackground(true);

    connect(m_discovery, &Discovery::unitAdded, this, &QDevTable::unitAdded);
    connect(m_discovery, &Discovery::unitChanged, this, &QDevTable::unitChanged);
    connect(m_discovery, &Discovery::onlineChanged, this, &QDevTable::onlineChanged);
    // The records of one turn go to the database together.
    connect(m_discovery, &Discovery::batchStarted, this, [this] { m_database->beginBatch(); });
    connect(m_discovery, &Discovery::batchFinished, this, [this] { m_database->endBatch(); });

    m_timeoutBox = new QMessageBox(QMessageBox::Information, QString(), QString(), QMessageBox::NoButton, this);
    m_timeoutBox->setModal(false);
    m_timeoutBox->setWindowModality(Qt::NonModal);
    m_modifyIpButton = m_timeoutBox->addButton(QString(), QMessageBox::AcceptRole);
    m_closeButton = m_timeoutBox->addButton(QString(), QMessageBox::RejectRole);
    m_noRemindButton = m_timeoutBox->addButton(QString(), QMessageBox::HelpRole);
    connect(m_timeoutBox, &QMessageBox::buttonClicked, this, &QDevTable::connectTimeoutMessageBoxButtonClicked);
    m_timeoutBox->hide();

    m_ipSetting = new QIpSetting(this);
    buildTable();

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_table);

    resize(1140, 400);
    if (m_settings) {
        const QByteArray geometry = m_settings->value(GeometryKey).toByteArray();
        if (!geometry.isEmpty())
            restoreGeometry(geometry);
    }
    m_currentIndex = -1;
    retranslate();
}

QDevTable::~QDevTable()
{
    saveGeometryIfShown();
    // Nobody may hear about units or sockets while the table goes away.
    m_discovery->disconnect(this);
    delete m_discovery;
    m_discovery = nullptr;
    for (Entry *entry : qAsConst(m_entries)) {
        entry->socket->disconnect(this);
        delete entry->socket;
    }
    qDeleteAll(m_entries);
    m_entries.clear();
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
    return m_discovery->recordAt(index);
}

quint32 QDevTable::machineIdAt(int index) const
{
    const broadcastMsg *record = recordAt(index);
    return record ? record->machineid : 0;
}

quint32 QDevTable::ipAddressAt(int index) const
{
    const broadcastMsg *record = recordAt(index);
    return record ? record->ipaddress : 0;
}

bool QDevTable::isOnline(int index) const
{
    return m_discovery->isOnline(index);
}

QTimer *QDevTable::silenceTimerAt(int index) const
{
    return m_discovery->silenceTimerAt(index);
}

int QDevTable::indexOfMachineId(quint32 machineid) const
{
    return m_discovery->indexOfMachineId(machineid);
}

int QDevTable::indexOfAddress(quint32 ipaddress) const
{
    return m_discovery->indexOfAddress(ipaddress);
}

int QDevTable::indexOfSocket(const QObject *socket) const
{
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i)->socket == socket)
            return i;
    }
    return -1;
}

int QDevTable::indexOfButton(const QObject *button) const
{
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i)->deleteButton == button)
            return i;
    }
    return -1;
}

QAbstractButton *QDevTable::modifyIpButton() const
{
    return m_modifyIpButton;
}

QAbstractButton *QDevTable::closeButton() const
{
    return m_closeButton;
}

QAbstractButton *QDevTable::doNotRemindButton() const
{
    return m_noRemindButton;
}

void QDevTable::setCommandTarget(const QHostAddress &address, quint16 port)
{
    m_network.commandAddress = address;
    m_network.commandPort = port;
}

void QDevTable::setInterfaceAddresses(const QList<QHostAddress> &addresses)
{
    m_discovery->setInterfaceAddresses(addresses);
}

void QDevTable::setDiscoveryPort(quint16 port)
{
    m_network.discoveryPort = port;
    m_discovery->setPort(port);
}

quint16 QDevTable::boundDiscoveryPort() const
{
    return m_discovery->boundPort();
}

void QDevTable::setLanguageFontFamily(const QString &family)
{
    m_fontFamily = family;
    m_ipSetting->setLanguageFontFamily(family);
    if (family.isEmpty())
        return;
    setTableFont(QFont(family, 9));
    for (Entry *entry : qAsConst(m_entries))
        entry->deleteButton->setFont(QFont(family, 9));
}

void QDevTable::buildTable()
{
    m_table = new QTableWidget(0, ColumnCount, this);
    setTableFont(QFont(QStringLiteral("Arial"), 9));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setFocusPolicy(Qt::NoFocus);
    // The table is never a tab stop; what a row offers is its "Delete"
    // button (a tab stop of its own) and, on the device list tile, the
    // "IP Setting" and "Remove Device" menu.
    KeyboardAccess::markMouseOnly(m_table);
    KeyboardAccess::markMouseOnly(m_table->horizontalHeader());
    KeyboardAccess::markMouseOnly(m_table->verticalHeader());
    if (auto *corner = m_table->findChild<QAbstractButton *>(QString(), Qt::FindDirectChildrenOnly))
        KeyboardAccess::markMouseOnly(corner);
    m_table->horizontalHeader()->setHighlightSections(false);
    m_table->verticalHeader()->setHighlightSections(false);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_table->setColumnWidth(ModelColumn, 105);
    m_table->setColumnWidth(ArmColumn, 60);
    m_table->setColumnWidth(DspColumn, 60);
    m_table->setColumnWidth(SnColumn, 120);
    m_table->setColumnWidth(LinkColumn, 86);
    m_table->setColumnWidth(DeleteColumn, 76);
}

void QDevTable::setTableFont(const QFont &font)
{
    m_table->setFont(font);
    // The application style sheet's font rule would otherwise give the
    // headers the large default size.
    m_table->setStyleSheet(QStringLiteral("QHeaderView { font-size: %1pt; }").arg(font.pointSize()));
}

void QDevTable::retranslate()
{
    setWindowTitle(tr("Device list"));
    m_table->setHorizontalHeaderLabels({tr("IP Address"), tr("Device Model"), tr("ARM Ver"), tr("DSP Ver"),
                                        tr("Location"), tr("Description"), tr("Device SN"), tr("Link Status"),
                                        tr("Runing Time"), tr("Total Time"), tr("Device ID"), QString()});
    const QFontMetrics headerMetrics(m_table->horizontalHeader()->font());
    for (int column = 0; column < ColumnCount; ++column) {
        if (const QTableWidgetItem *header = m_table->horizontalHeaderItem(column))
            fitColumn(column, headerMetrics.horizontalAdvance(header->text()) + 6);
    }
    for (int i = 0; i < m_entries.size(); ++i) {
        setLinkStatus(i);
        m_entries.at(i)->deleteButton->setText(tr("Delete"));
        if (!m_fontFamily.isEmpty())
            m_entries.at(i)->deleteButton->setFont(QFont(m_fontFamily, 9));
    }
    m_timeoutBox->setWindowTitle(tr("Connection Timeout"));
    m_timeoutBox->setText(
        tr("* The connection timed out!\n* Please check the network connection!\n* Please make sure that the PC "
           "and the device are on the same subnet!\n* Please make sure that there is no other IP conflicting "
           "with the device IP!\n  You can try to modify the PC's IP or device IP.\n  Right-click the mouse to "
           "select the device, you can modify its IP."));
    m_modifyIpButton->setText(tr("Modify device IP immediately"));
    m_closeButton->setText(tr("Close"));
    m_noRemindButton->setText(tr("Do not remind again"));
    KeyboardAccess::describe(m_table, tr("Known devices"));
    KeyboardAccess::describe(m_table->horizontalHeader(), tr("Device columns"));
    KeyboardAccess::describe(m_table->verticalHeader(), tr("Device numbers"));
    if (auto *corner = m_table->findChild<QAbstractButton *>(QString(), Qt::FindDirectChildrenOnly))
        KeyboardAccess::describe(corner, tr("Device table corner"));
    describeRows();
}

// Each row's "Delete" button says which unit it removes: the row number as
// the table shows it, and the address.
void QDevTable::describeRows()
{
    for (int i = 0; i < m_entries.size(); ++i) {
        KeyboardAccess::describe(m_entries.at(i)->deleteButton,
                                 tr("Delete device %1 (%2)")
                                     .arg(i + 1)
                                     .arg(broadcastMsg::addressText(ipAddressAt(i))));
    }
}

void QDevTable::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void QDevTable::showEvent(QShowEvent *event)
{
    m_neverShown = false;
    QDialog::showEvent(event);
}

void QDevTable::hideEvent(QHideEvent *event)
{
    saveGeometryIfShown();
    QDialog::hideEvent(event);
}

void QDevTable::saveGeometryIfShown()
{
    if (m_settings && !m_neverShown)
        m_settings->setValue(GeometryKey, saveGeometry());
}

QString QDevTable::durationText(quint32 seconds)
{
    return SystemText::duration(seconds);
}

void QDevTable::setCell(int row, int column, const QString &text)
{
    QTableWidgetItem *item = m_table->item(row, column);
    if (!item) {
        item = new QTableWidgetItem(text);
        item->setTextAlignment(Qt::AlignCenter);
        m_table->setItem(row, column, item);
    } else if (item->text() != text) {
        item->setText(text);
    }
    fitColumn(column, m_table->fontMetrics().horizontalAdvance(text));
}

// Columns grow to their longest text (a serial number, "Unconnected" in a
// longer language) and never shrink, so no text is cut and nothing jumps.
void QDevTable::fitColumn(int column, int textWidth)
{
    constexpr int CellPadding = 14;
    if (column == DeleteColumn)
        return;
    const int needed = textWidth + CellPadding;
    if (needed > m_table->columnWidth(column))
        m_table->setColumnWidth(column, needed);
}

void QDevTable::setLinkStatus(int index)
{
    if (index < 0 || index >= m_entries.size())
        return;
    const bool connected = index == m_currentIndex && m_loggedIn;
    setCell(index, LinkColumn, connected ? tr("Connected") : tr("Unconnected"));
    m_table->item(index, LinkColumn)->setBackground(QColor(connected ? QStringLiteral("Green") : QStringLiteral("gray")));
}

void QDevTable::refreshLinkStatus()
{
    if (m_currentIndex >= 0)
        setLinkStatus(m_currentIndex);
}

void QDevTable::setLoggedIn(bool loggedIn)
{
    m_loggedIn = loggedIn;
    refreshLinkStatus();
}

void QDevTable::fillRow(int row, const broadcastMsg &record)
{
    setCell(row, IpColumn, broadcastMsg::addressText(record.ipaddress));
    setCell(row, ModelColumn, localText(record.model, broadcastMsg::ModelSize));
    setCell(row, ArmColumn, localText(record.ARMFirmware, broadcastMsg::FirmwareSize));
    setCell(row, DspColumn, localText(record.DSPFirmware, broadcastMsg::FirmwareSize));
    setCell(row, LocationColumn, localText(record.location, broadcastMsg::TextSize, StoredTextBytes));
    setCell(row, DescriptionColumn, localText(record.description, broadcastMsg::TextSize, StoredTextBytes));
    setCell(row, SnColumn, localText(record.sn, broadcastMsg::SnSize));
    setLinkStatus(row);
    setCell(row, IdColumn, QString::number(record.machineid) + QString::number(record.statusFlag));
}

void QDevTable::loadDevices()
{
    switch (m_database->open()) {
    case DeviceDatabase::OpenResult::Failed:
        m_prompt->ask(nullptr, Prompt::Icon::Critical, tr("Cannot open database"),
                      tr("Unable to establish a database connection.\nThis example needs SQLite support. Please "
                         "read the Qt SQL driver documentation for information how to build it.\n\nClick Cancel "
                         "to exit."),
                      {tr("Cancel")});
        return;
    case DeviceDatabase::OpenResult::Created:
        return;
    case DeviceDatabase::OpenResult::Existing:
        break;
    }
    const QList<broadcastMsg> records = m_database->loadAll();
    for (broadcastMsg record : records)
        addDevice(&record, false);
}

void QDevTable::addDevice(broadcastMsg *pMsg, bool online)
{
    if (pMsg)
        m_discovery->addUnit(*pMsg, online);
}

void QDevTable::unitAdded(int index)
{
    const broadcastMsg &record = *m_discovery->recordAt(index);
    // A unit heard for the first time is stored; stored units and units
    // added by hand already are.
    if (m_discovery->isOnline(index))
        m_database->add(record);
    auto *entry = new Entry;
    entry->socket = new QTcpSocket(this);
    m_entries.append(entry);

    const int row = m_table->rowCount();
    m_table->insertRow(row);
    fillRow(row, record);
    entry->deleteButton = new QPushButton(tr("Delete"));
    entry->deleteButton->setObjectName(QStringLiteral("normalButton"));
    if (!m_fontFamily.isEmpty())
        entry->deleteButton->setFont(QFont(m_fontFamily, 9));
    m_table->setCellWidget(row, DeleteColumn, entry->deleteButton);
    connect(entry->deleteButton, &QPushButton::clicked, this, &QDevTable::removeClicked);
    describeRows();

    connect(entry->socket, &QTcpSocket::stateChanged, this, &QDevTable::tcpSocketStateChanged);
    connect(entry->socket, &QTcpSocket::readyRead, this, &QDevTable::tcpReadyRead);
    Q_EMIT sigAddDev(&record);
}

void QDevTable::processDatagram(const QByteArray &datagram)
{
    m_discovery->processDatagram(datagram);
}

void QDevTable::unitChanged(int index, Discovery::Changes changes)
{
    const broadcastMsg &stored = *m_discovery->recordAt(index);
    const quint32 id = stored.machineid;
    if (changes & Discovery::Address) {
        setCell(index, IpColumn, broadcastMsg::addressText(stored.ipaddress));
        describeRows();
        Q_EMIT sigIpaddr(uint(index), stored.ipaddress);
        m_database->updateIpAddress(id, stored.ipaddress);
    }
    if (changes & Discovery::Model) {
        const QByteArray model = broadcastMsg::fieldText(stored.model, broadcastMsg::ModelSize);
        setCell(index, ModelColumn, QString::fromLocal8Bit(model));
        Q_EMIT sigModel(uint(index), QString::fromLocal8Bit(model));
        m_database->updateModel(id, model);
    }
    if (changes & Discovery::ArmFirmware) {
        const QByteArray arm = broadcastMsg::fieldText(stored.ARMFirmware, broadcastMsg::FirmwareSize);
        setCell(index, ArmColumn, QString::fromLocal8Bit(arm));
        m_database->updateArmFirmware(id, arm);
    }
    if (changes & Discovery::DspFirmware) {
        const QByteArray dsp = broadcastMsg::fieldText(stored.DSPFirmware, broadcastMsg::FirmwareSize);
        setCell(index, DspColumn, QString::fromLocal8Bit(dsp));
        m_database->updateDspFirmware(id, dsp);
    }
    if (changes & Discovery::Location) {
        const QByteArray location = broadcastMsg::fieldText(stored.location, broadcastMsg::TextSize);
        setCell(index, LocationColumn, QString::fromLocal8Bit(location));
        m_database->updateLocation(id, location);
    }
    if (changes & Discovery::Description) {
        const QByteArray description = broadcastMsg::fieldText(stored.description, broadcastMsg::TextSize);
        setCell(index, DescriptionColumn, QString::fromLocal8Bit(description));
        m_database->updateDescription(id, description);
    }
    if (changes & Discovery::Serial) {
        const QByteArray sn = broadcastMsg::fieldText(stored.sn, broadcastMsg::SnSize);
        setCell(index, SnColumn, QString::fromLocal8Bit(sn));
        m_database->updateSn(id, sn);
    }
    if (changes & Discovery::StatusFlag)
        setCell(index, IdColumn, QString::number(stored.machineid) + QString::number(stored.statusFlag));
    if (changes & Discovery::Fault)
        Q_EMIT sigFault(uint(index), stored.fault);
    if (changes & Discovery::PresetName)
        Q_EMIT sigPreset(uint(index),
                         QString::fromLocal8Bit(broadcastMsg::fieldText(stored.presetName, broadcastMsg::TextSize)));
    setCell(index, RunTimeColumn, durationText(stored.runTime));
    setCell(index, TotalTimeColumn, durationText(stored.totalTime));

    if (index == m_currentIndex
        && (m_entries.at(index)->socket->state() != QAbstractSocket::ConnectedState
            || (changes & Discovery::Address)))
        reconnect(index);
}

void QDevTable::reconnect(int index)
{
    Entry *entry = m_entries.at(index);
    QHostAddress address;
    address.setAddress(ipAddressAt(index));
    entry->socket->disconnectFromHost();
    entry->socket->abort();
    entry->socket->connectToHost(address, m_network.controlPort, QIODevice::ReadWrite);

    // While the link stays down the reminder comes back on every seventh
    // attempt, never over the IP dialog the operator may be typing into.
    if (m_remindTimeout && !m_timeoutBox->isVisible() && !m_ipSetting->isVisible()) {
        if (m_retryCount > RetriesBeforeReminder) {
            m_retryCount = 0;
            m_timeoutBox->show();
        } else {
            ++m_retryCount;
        }
    }
}

void QDevTable::onlineChanged(int index, bool online)
{
    // Silent for too long: its control link goes down with it.
    if (!online)
        m_entries.at(index)->socket->disconnectFromHost();
    Q_EMIT sigNetBrowsingState(index, online);
}

void QDevTable::tcpReadyRead()
{
    m_discovery->noteSignOfLife(indexOfSocket(sender()));
}

void QDevTable::tcpSocketStateChanged(QAbstractSocket::SocketState state)
{
    const int index = indexOfSocket(sender());
    if (index < 0)
        return;
    switch (state) {
    case QAbstractSocket::UnconnectedState:
    case QAbstractSocket::ConnectingState:
    case QAbstractSocket::ClosingState:
        setLinkStatus(index);
        break;
    case QAbstractSocket::ConnectedState:
        setLinkStatus(index);
        if (index == m_currentIndex) {
            m_retryCount = 0;
            m_timeoutBox->hide();
        }
        break;
    default:
        break;
    }
    Q_EMIT sigNetState(index, state);
}

void QDevTable::removeClicked()
{
    const int row = indexOfButton(sender());
    if (row < 0)
        return;
    if (row < m_currentIndex)
        --m_currentIndex;
    Q_EMIT sigRemoveDev(row);
    removeDev(row);
}

void QDevTable::removeDev(int index)
{
    if (index < 0 || index >= m_entries.size())
        return;
    Entry *entry = m_entries.at(index);
    m_database->remove(machineIdAt(index));

    // Close the link while the entry still exists, so whoever follows this
    // unit's socket hears it go down; then let it go quietly.
    entry->socket->abort();
    entry->socket->disconnect(this);
    delete entry->socket;
    m_discovery->removeAt(index);
    m_entries.removeAt(index);
    m_table->removeRow(index);
    delete entry;
    describeRows();
}

void QDevTable::devChanged(int index)
{
    if (QTcpSocket *previous = socketAt(m_currentIndex)) {
        previous->disconnectFromHost();
        previous->abort();
    }
    const int old = m_currentIndex;
    m_retryCount = 0;
    m_currentIndex = index;
    m_loggedIn = false;
    m_timeoutBox->hide();
    setLinkStatus(old);
    setLinkStatus(m_currentIndex);
}

void QDevTable::devChanged2(int index)
{
    m_retryCount = 0;
    m_currentIndex = index;
    m_timeoutBox->hide();
}

void QDevTable::connectTimeoutMessageBoxButtonClicked(QAbstractButton *button)
{
    if (button == m_modifyIpButton) {
        if (m_currentIndex >= 0 && m_currentIndex < m_entries.size()) {
            m_timeoutBox->hide();
            ipClicked(m_currentIndex);
        }
    } else if (button == m_noRemindButton) {
        m_remindTimeout = false;
        m_retryCount = 0;
    }
}

bool QDevTable::sendUdpCommand(quint32 machineid, quint8 command, const QByteArray &payload)
{
    QByteArray datagram(CommandHeaderSize, '\0');
    qToLittleEndian(machineid, datagram.data());
    datagram[4] = char(command);
    qToLittleEndian(quint32(payload.size()), datagram.data() + 8);
    datagram += payload;

    const QHostAddress &target = m_network.commandAddress;
    const quint16 port = m_network.commandPort;
    // A limited broadcast leaves through one interface only, chosen by the
    // routing table, unless it is sent from a socket bound to an interface's
    // address; a unit may sit on any of them, so the command goes out once
    // through each interface's socket, from the discovery port. Without a
    // broadcast-capable interface, the listener sends it.
    QList<QUdpSocket *> through = m_discovery->interfaceSockets();
    if (through.isEmpty() && m_discovery->listener())
        through.append(m_discovery->listener());
    if (through.isEmpty()) {
        QUdpSocket socket;
        return socket.writeDatagram(datagram, target, port) == datagram.size();
    }
    int sent = 0;
    for (QUdpSocket *socket : qAsConst(through)) {
        if (socket->writeDatagram(datagram, target, port) == datagram.size())
            ++sent;
    }
    if (sent == 0 && m_discovery->listener() && !through.contains(m_discovery->listener()))
        return m_discovery->listener()->writeDatagram(datagram, target, port) == datagram.size();
    return sent > 0;
}

void QDevTable::ipClicked(int index)
{
    if (index < 0 || index >= m_entries.size())
        return;
    // The dialog runs its own event loop; identify the unit by its id, not
    // by a row that may change meanwhile.
    const quint32 machineid = machineIdAt(index);
    m_ipSetting->setWindowTitle(tr("ip Settings"));
    m_ipSetting->setFullMode(true);
    if (m_ipSetting->exec() != QDialog::Accepted)
        return;
    const quint32 address = m_ipSetting->ipAddress();
    const quint32 mask = m_ipSetting->subnetMask();
    const quint32 gateway = m_ipSetting->gateway();
    // A unit told 0.0.0.0 or a broken mask drops off the network and can
    // only be recovered at its front panel; refuse rather than send that.
    if (address == 0 || !isContiguousMask(mask)) {
        m_prompt->tell(this, Prompt::Icon::Warning, tr("warning"),
                       tr("Invalid IP address or subnet mask. Nothing was sent to the device."));
        return;
    }
    QByteArray payload(12, '\0');
    qToLittleEndian(address, payload.data());
    qToLittleEndian(mask, payload.data() + 4);
    qToLittleEndian(gateway, payload.data() + 8);
    sendUdpCommand(machineid, SetIpCommand, payload);
}

void QDevTable::addDevice()
{
    m_ipSetting->setWindowTitle(tr("Add Device"));
    m_ipSetting->setFullMode(false);
    if (m_ipSetting->exec() != QDialog::Accepted)
        return;
    addDeviceByHand(m_ipSetting->ipAddress());
}

int QDevTable::addDeviceByHand(quint32 ipaddress)
{
    quint32 machineid = FirstHandAddedId;
    while (indexOfMachineId(machineid) >= 0)
        ++machineid;
    broadcastMsg record;
    record.machineid = machineid;
    record.ipaddress = ipaddress;
    record.statusFlag = 1;
    m_database->add(record);
    addDevice(&record, false);
    const int index = m_entries.size() - 1;
    Q_EMIT sigNetBrowsingState(index, false);
    return index;
}
