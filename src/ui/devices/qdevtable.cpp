#include "qdevtable.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QNetworkProxy>
#include <QPushButton>
#include <QTableWidget>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>
#include <QtEndian>

#include <algorithm>
#include <iterator>

#include "core/devices/devicedatabase.h"
#include "core/link/logging.h"
#include "qipsetting.h"
#include "ui/common/prompt.h"
#include "ui/controls/keyboardaccess.h"

namespace {

const QString GeometryKey = QStringLiteral("DeviceListGeometry");
constexpr int CommandHeaderSize = 12;
constexpr quint8 SetIpCommand = 2;
constexpr int RetriesBeforeReminder = 5;
constexpr int ReceiveBufferBytes = 2 * 1024 * 1024;

QByteArray fieldBytes(const char *field, int size, int limit = -1)
{
    return broadcastMsg::fieldText(field, size, limit);
}

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
    broadcastMsg record;
    QTcpSocket *socket = nullptr;
    QTimer *silence = nullptr;
    bool online = false;
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
    , m_watchTimer(new QTimer(this))
{
    // Units are on the local network; a system proxy must never sit between.
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(40, 40, 41));
    setPalette(pal);
    setAutoFillBackground(true);

    m_interfaceCount = countBroadcastInterfaces();
    connect(m_watchTimer, &QTimer::timeout, this, &QDevTable::timeout);
    m_watchTimer->start(InterfaceWatchMs);

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
    bindUdpSockets();

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
    while (!m_udpSockets.isEmpty())
        delete m_udpSockets.takeLast();
    // Nobody may hear about sockets closing while the table goes away.
    for (Entry *entry : qAsConst(m_entries)) {
        entry->socket->disconnect(this);
        entry->silence->disconnect(this);
        delete entry->silence;
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
    return index >= 0 && index < m_entries.size() ? &m_entries.at(index)->record : nullptr;
}

quint32 QDevTable::machineIdAt(int index) const
{
    return index >= 0 && index < m_entries.size() ? m_entries.at(index)->record.machineid : 0;
}

quint32 QDevTable::ipAddressAt(int index) const
{
    return index >= 0 && index < m_entries.size() ? m_entries.at(index)->record.ipaddress : 0;
}

bool QDevTable::isOnline(int index) const
{
    return index >= 0 && index < m_entries.size() && m_entries.at(index)->online;
}

QTimer *QDevTable::silenceTimerAt(int index) const
{
    return index >= 0 && index < m_entries.size() ? m_entries.at(index)->silence : nullptr;
}

int QDevTable::indexOfMachineId(quint32 machineid) const
{
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i)->record.machineid == machineid)
            return i;
    }
    return -1;
}

int QDevTable::indexOfAddress(quint32 ipaddress) const
{
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i)->record.ipaddress == ipaddress)
            return i;
    }
    return -1;
}

int QDevTable::indexOfSocket(const QObject *socket) const
{
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i)->socket == socket)
            return i;
    }
    return -1;
}

int QDevTable::indexOfTimer(const QObject *timer) const
{
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i)->silence == timer)
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

void QDevTable::setDiscoveryPort(quint16 port)
{
    m_network.discoveryPort = port;
    m_boundPort = 0;
    bindUdpSockets();
}

quint16 QDevTable::boundDiscoveryPort() const
{
    return m_udpSockets.isEmpty() ? 0 : m_udpSockets.first()->localPort();
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

int QDevTable::countBroadcastInterfaces()
{
    int count = 0;
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &iface : interfaces) {
        const auto flags = iface.flags();
        if ((flags & (QNetworkInterface::IsUp | QNetworkInterface::IsRunning))
            && !(flags & QNetworkInterface::IsLoopBack) && (flags & QNetworkInterface::CanBroadcast))
            ++count;
    }
    return count;
}

// Records arrive as broadcasts on every interface; one listener on the
// any-address hears them all (and also what units on loopback send), where a
// socket bound to an interface address would miss broadcasts on some
// platforms.
void QDevTable::bindUdpSockets()
{
    while (!m_udpSockets.isEmpty())
        delete m_udpSockets.takeLast();
    // Asked for "any free port": keep the one chosen the first time, so a
    // rebind does not move the listener away from whoever was told its port.
    const quint16 port = m_network.discoveryPort != 0 ? m_network.discoveryPort : m_boundPort;
    auto *socket = new QUdpSocket(this);
    if (socket->bind(QHostAddress::AnyIPv4, port, QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint)) {
        // Units powered up together announce in step; a few hundred records
        // arriving in one burst must not overflow the default buffer.
        socket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, ReceiveBufferBytes);
        connect(socket, &QUdpSocket::readyRead, this, &QDevTable::udpRecvData);
        m_udpSockets.append(socket);
        m_boundPort = socket->localPort();
    } else {
        qCDebug(lcDevices) << "cannot listen for status records on port" << port << ":" << socket->errorString();
        delete socket;
        m_interfaceCount = -1;
    }
}

void QDevTable::timeout()
{
    const int count = countBroadcastInterfaces();
    if (count != m_interfaceCount) {
        m_interfaceCount = count;
        bindUdpSockets();
    }
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
                                     .arg(broadcastMsg::addressText(m_entries.at(i)->record.ipaddress)));
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
    const quint32 days = seconds / 86400;
    const quint32 rest = seconds % 86400;
    return QString::asprintf("%uday %02u:%02u:%02u", days, rest / 3600, rest % 3600 / 60, rest % 60);
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
    if (!pMsg)
        return;
    auto *entry = new Entry;
    entry->record = *pMsg;
    entry->online = online;
    entry->socket = new QTcpSocket(this);
    entry->silence = new QTimer(this);
    entry->silence->setSingleShot(true);
    m_entries.append(entry);

    const int row = m_table->rowCount();
    m_table->insertRow(row);
    fillRow(row, entry->record);
    entry->deleteButton = new QPushButton(tr("Delete"));
    entry->deleteButton->setObjectName(QStringLiteral("normalButton"));
    if (!m_fontFamily.isEmpty())
        entry->deleteButton->setFont(QFont(m_fontFamily, 9));
    m_table->setCellWidget(row, DeleteColumn, entry->deleteButton);
    connect(entry->deleteButton, &QPushButton::clicked, this, &QDevTable::removeClicked);
    describeRows();

    connect(entry->socket, &QTcpSocket::stateChanged, this, &QDevTable::tcpSocketStateChanged);
    connect(entry->socket, &QTcpSocket::readyRead, this, &QDevTable::tcpReadyRead);
    connect(entry->silence, &QTimer::timeout, this, &QDevTable::udpRecvTimeout);
    // A unit heard once and never again must still go offline, so its
    // silence is timed from the record that made the entry.
    if (online)
        entry->silence->start(SilenceMs);
    Q_EMIT sigAddDev(&entry->record);
}

void QDevTable::udpRecvData()
{
    auto *signalled = qobject_cast<QUdpSocket *>(sender());
    const QList<QUdpSocket *> sockets = signalled ? QList<QUdpSocket *>{signalled} : m_udpSockets;
    // Several units may have announced since the last turn of the event loop;
    // each datagram is one unit's record and all of them count.
    m_database->beginBatch();
    // Within limits: a socket that was read from signals again on the next
    // turn while it still holds datagrams.
    const int known = m_entries.size();
    int taken = 0;
    for (QUdpSocket *socket : sockets) {
        while (taken < DatagramsPerTurn && m_entries.size() - known < NewUnitsPerTurn
               && socket->hasPendingDatagrams()) {
            processDatagram(socket->receiveDatagram().data());
            ++taken;
        }
    }
    m_database->endBatch();
}

void QDevTable::processDatagram(const QByteArray &datagram)
{
    broadcastMsg record;
    if (!broadcastMsg::decode(datagram, &record))
        return;
    const int index = indexOfMachineId(record.machineid);
    if (index < 0) {
        if (m_entries.size() >= MaxKnownUnits) {
            if (!m_capReported) {
                m_capReported = true;
                qCDebug(lcDevices, "%d units known: status records of further units are ignored",
                        int(m_entries.size()));
            }
            return;
        }
        // What the table shows and stores of a location or description is
        // its first 16 bytes; keep the copy the same, so the next identical
        // record compares equal.
        broadcastMsg::setFieldText(record.location, broadcastMsg::TextSize,
                                   fieldBytes(record.location, broadcastMsg::TextSize, StoredTextBytes));
        broadcastMsg::setFieldText(record.description, broadcastMsg::TextSize,
                                   fieldBytes(record.description, broadcastMsg::TextSize, StoredTextBytes));
        m_database->add(record);
        addDevice(&record, true);
        Q_EMIT sigNetBrowsingState(m_entries.size() - 1, true);
        return;
    }
    mergeRecord(index, record);
}

void QDevTable::mergeRecord(int index, const broadcastMsg &in)
{
    Entry *entry = m_entries.at(index);
    broadcastMsg &stored = entry->record;
    const quint32 id = stored.machineid;
    entry->silence->start(SilenceMs);

    bool addressChanged = false;
    if (in.ipaddress != stored.ipaddress) {
        stored.ipaddress = in.ipaddress;
        setCell(index, IpColumn, broadcastMsg::addressText(stored.ipaddress));
        describeRows();
        Q_EMIT sigIpaddr(uint(index), stored.ipaddress);
        m_database->updateIpAddress(id, stored.ipaddress);
        addressChanged = true;
    }
    const QByteArray model = fieldBytes(in.model, broadcastMsg::ModelSize);
    if (model != fieldBytes(stored.model, broadcastMsg::ModelSize)) {
        std::copy(std::begin(in.model), std::end(in.model), std::begin(stored.model));
        setCell(index, ModelColumn, QString::fromLocal8Bit(model));
        Q_EMIT sigModel(uint(index), QString::fromLocal8Bit(model));
        m_database->updateModel(id, model);
    }
    const QByteArray arm = fieldBytes(in.ARMFirmware, broadcastMsg::FirmwareSize);
    if (arm != fieldBytes(stored.ARMFirmware, broadcastMsg::FirmwareSize)) {
        std::copy(std::begin(in.ARMFirmware), std::end(in.ARMFirmware), std::begin(stored.ARMFirmware));
        setCell(index, ArmColumn, QString::fromLocal8Bit(arm));
        m_database->updateArmFirmware(id, arm);
    }
    const QByteArray dsp = fieldBytes(in.DSPFirmware, broadcastMsg::FirmwareSize);
    if (dsp != fieldBytes(stored.DSPFirmware, broadcastMsg::FirmwareSize)) {
        std::copy(std::begin(in.DSPFirmware), std::end(in.DSPFirmware), std::begin(stored.DSPFirmware));
        setCell(index, DspColumn, QString::fromLocal8Bit(dsp));
        m_database->updateDspFirmware(id, dsp);
    }
    const QByteArray location = fieldBytes(in.location, broadcastMsg::TextSize, StoredTextBytes);
    if (location != fieldBytes(stored.location, broadcastMsg::TextSize)) {
        broadcastMsg::setFieldText(stored.location, broadcastMsg::TextSize, location);
        setCell(index, LocationColumn, QString::fromLocal8Bit(location));
        m_database->updateLocation(id, location);
    }
    const QByteArray description = fieldBytes(in.description, broadcastMsg::TextSize, StoredTextBytes);
    if (description != fieldBytes(stored.description, broadcastMsg::TextSize)) {
        broadcastMsg::setFieldText(stored.description, broadcastMsg::TextSize, description);
        setCell(index, DescriptionColumn, QString::fromLocal8Bit(description));
        m_database->updateDescription(id, description);
    }
    const QByteArray sn = fieldBytes(in.sn, broadcastMsg::SnSize);
    if (sn != fieldBytes(stored.sn, broadcastMsg::SnSize)) {
        std::copy(std::begin(in.sn), std::end(in.sn), std::begin(stored.sn));
        setCell(index, SnColumn, QString::fromLocal8Bit(sn));
        m_database->updateSn(id, sn);
    }
    if (in.statusFlag != stored.statusFlag) {
        stored.statusFlag = in.statusFlag;
        setCell(index, IdColumn, QString::number(stored.machineid) + QString::number(stored.statusFlag));
    }
    if (in.fault != stored.fault) {
        stored.fault = in.fault;
        Q_EMIT sigFault(uint(index), stored.fault);
    }
    const QByteArray preset = fieldBytes(in.presetName, broadcastMsg::TextSize);
    if (preset != fieldBytes(stored.presetName, broadcastMsg::TextSize)) {
        std::copy(std::begin(in.presetName), std::end(in.presetName), std::begin(stored.presetName));
        Q_EMIT sigPreset(uint(index), QString::fromLocal8Bit(preset));
    }
    stored.runTime = in.runTime;
    stored.totalTime = in.totalTime;
    setCell(index, RunTimeColumn, durationText(stored.runTime));
    setCell(index, TotalTimeColumn, durationText(stored.totalTime));

    if (index == m_currentIndex
        && (entry->socket->state() != QAbstractSocket::ConnectedState || addressChanged))
        reconnect(index);

    if (!entry->online) {
        entry->online = true;
        Q_EMIT sigNetBrowsingState(index, true);
    }
}

void QDevTable::reconnect(int index)
{
    Entry *entry = m_entries.at(index);
    QHostAddress address;
    address.setAddress(entry->record.ipaddress);
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

void QDevTable::udpRecvTimeout()
{
    const int index = indexOfTimer(sender());
    if (index < 0)
        return;
    Entry *entry = m_entries.at(index);
    entry->silence->stop();
    entry->socket->disconnectFromHost();
    entry->online = false;
    Q_EMIT sigNetBrowsingState(index, false);
}

void QDevTable::tcpReadyRead()
{
    const int index = indexOfSocket(sender());
    if (index >= 0)
        m_entries.at(index)->silence->start(SilenceMs);
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
    m_database->remove(entry->record.machineid);

    entry->silence->disconnect(this);
    delete entry->silence;
    // Close the link while the entry still exists, so whoever follows this
    // unit's socket hears it go down; then let it go quietly.
    entry->socket->abort();
    entry->socket->disconnect(this);
    delete entry->socket;
    m_entries.removeAt(index);
    m_table->removeRow(index);
    delete entry;
    describeRows();
    if (m_entries.size() < MaxKnownUnits)
        m_capReported = false;
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
    int sent = 0;
    if (target == QHostAddress(QHostAddress::Broadcast)) {
        // A limited broadcast leaves through one interface only, chosen by
        // the routing table; a unit may sit on any of them, so send once from
        // each broadcast-capable interface's own address.
        const auto interfaces = QNetworkInterface::allInterfaces();
        for (const QNetworkInterface &iface : interfaces) {
            const auto flags = iface.flags();
            if (!(flags & (QNetworkInterface::IsUp | QNetworkInterface::IsRunning))
                || (flags & QNetworkInterface::IsLoopBack) || !(flags & QNetworkInterface::CanBroadcast))
                continue;
            for (const QNetworkAddressEntry &entry : iface.addressEntries()) {
                if (entry.ip().protocol() != QAbstractSocket::IPv4Protocol)
                    continue;
                QUdpSocket socket;
                if (socket.bind(entry.ip(), 0) && socket.writeDatagram(datagram, target, port) == datagram.size())
                    ++sent;
                break;
            }
        }
        if (sent > 0)
            return true;
    }
    if (!m_udpSockets.isEmpty())
        return m_udpSockets.first()->writeDatagram(datagram, target, port) == datagram.size();
    QUdpSocket socket;
    return socket.writeDatagram(datagram, target, port) == datagram.size();
}

void QDevTable::ipClicked(int index)
{
    if (index < 0 || index >= m_entries.size())
        return;
    // The dialog runs its own event loop; identify the unit by its id, not
    // by a row that may change meanwhile.
    const quint32 machineid = m_entries.at(index)->record.machineid;
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
