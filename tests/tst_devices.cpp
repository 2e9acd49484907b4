#include <QAction>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QNetworkDatagram>
#include <QProcess>
#include <QPushButton>
#include <QSet>
#include <QSettings>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>
#include <QTranslator>
#include <QtTest>

#include "core/devices/broadcastmsg.h"
#include "core/devices/devicedatabase.h"
#include "tabchain.h"
#include "testsupport.h"
#include "ui/devices/qdeviceitem.h"
#include "ui/devices/qdevicelist.h"
#include "ui/devices/qdevtable.h"
#include "ui/devices/qipsetting.h"
#include "ui/devices/startupconnect.h"

namespace {

// A status record laid out by hand from the wire table (offsets 0, 4, 8, 12,
// 16, 17, 37, 57, 67, 77, 97, 117, 137), independent of broadcastMsg::encode.
struct Announce
{
    quint32 machineid = 0;
    quint32 ipaddress = 0; // first octet most significant
    quint32 runTime = 0;
    quint32 totalTime = 0;
    quint8 statusFlag = 0;
    QByteArray sn, model, arm, dsp, location, description, preset;
    quint8 fault = 0;
};

void putU32(QByteArray &bytes, int at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char((v >> (8 * i)) & 0xFF);
}

void putText(QByteArray &bytes, int at, int size, const QByteArray &text)
{
    for (int i = 0; i < size && i < text.size(); ++i)
        bytes[at + i] = text.at(i);
}

QByteArray datagram(const Announce &a)
{
    QByteArray bytes(140, '\0');
    putU32(bytes, 0, a.machineid);
    putU32(bytes, 4, a.ipaddress);
    putU32(bytes, 8, a.runTime);
    putU32(bytes, 12, a.totalTime);
    bytes[16] = char(a.statusFlag);
    putText(bytes, 17, 20, a.sn);
    putText(bytes, 37, 20, a.model);
    putText(bytes, 57, 10, a.arm);
    putText(bytes, 67, 10, a.dsp);
    putText(bytes, 77, 20, a.location);
    putText(bytes, 97, 20, a.description);
    putText(bytes, 117, 20, a.preset);
    bytes[137] = char(a.fault);
    return bytes;
}

Announce unitAt(quint32 id, const QHostAddress &address)
{
    Announce a;
    a.machineid = id;
    a.ipaddress = address.toIPv4Address();
    a.model = "OVX-480";
    a.arm = "V1.2.3";
    a.dsp = "V1.0.5";
    a.sn = "SN-" + QByteArray::number(id);
    a.location = "Hall";
    a.description = "Left";
    a.preset = "Default";
    return a;
}

QDevTable::Network loopbackNetwork(quint16 controlPort = 2699)
{
    QDevTable::Network network;
    network.discoveryPort = 0;
    network.commandAddress = QHostAddress(QStringLiteral("127.0.0.1"));
    network.commandPort = 9; // nothing listens; overridden where a test listens
    network.controlPort = controlPort;
    return network;
}

QString sqlite3(const QString &sql)
{
    QProcess process;
    process.start(QStringLiteral("sqlite3"), {QStringLiteral("device.db"), sql});
    if (!process.waitForFinished(10000))
        return QStringLiteral("<sqlite3 did not finish>");
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QString cell(QDevTable &table, int row, int column)
{
    QTableWidgetItem *item = table.table()->item(row, column);
    return item ? item->text() : QString();
}

int totalChanges(QDevTable &table)
{
    QSqlQuery query(QSqlDatabase::database(table.database()->connectionName()));
    if (!query.exec(QStringLiteral("select total_changes()")) || !query.next())
        return -1;
    return query.value(0).toInt();
}

// The table, the list and the wiring of the main window between them.
struct Wired
{
    explicit Wired(Prompt *prompt, quint16 controlPort = 2699)
        : table(loopbackNetwork(controlPort), prompt, nullptr)
    {
        QObject::connect(&table, &QDevTable::sigAddDev, &list, &QDeviceList::addItem);
        QObject::connect(&table, &QDevTable::sigRemoveDev, &list, &QDeviceList::removeRow);
        QObject::connect(&table, &QDevTable::sigIpaddr, &list, &QDeviceList::setIpaddr);
        QObject::connect(&table, &QDevTable::sigNetBrowsingState, &list, &QDeviceList::setNetBrowsingState);
        QObject::connect(&table, &QDevTable::sigModel, &list, &QDeviceList::setDeviceModel);
        QObject::connect(&table, &QDevTable::sigPreset, &list, &QDeviceList::setDevicePreset);
        QObject::connect(&table, &QDevTable::sigFault, &list, &QDeviceList::setFaultState);
        QObject::connect(&list, &QDeviceList::sig_devChanged, &table, &QDevTable::devChanged);
        QObject::connect(&list, &QDeviceList::sig_devChanged2, &table, &QDevTable::devChanged2);
        QObject::connect(&list, &QDeviceList::sig_removeRow, &table, &QDevTable::removeDev);
        QObject::connect(&list, &QDeviceList::sig_ipClicked, &table, &QDevTable::ipClicked);
        table.loadDevices();
    }
    QDevTable table;
    QDeviceList list;
};

// Fills the IP dialog once it is up and presses OK (or Cancel).
void answerIpDialog(QIpSetting *dialog, const QString &address, const QString &subnet = QString(),
                    const QString &gateway = QString(), bool ok = true)
{
    QTimer::singleShot(0, dialog, [=] {
        QVERIFY(dialog->isVisible());
        dialog->addressEdit()->setText(address);
        dialog->subnetEdit()->setText(subnet);
        dialog->gatewayEdit()->setText(gateway);
        QTest::mouseClick(dialog->buttonBox()->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel),
                          Qt::LeftButton);
    });
}

} // namespace

class TestDevices : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        qRegisterMetaType<broadcastMsg *>();
        qRegisterMetaType<QAbstractSocket::SocketState>();
    }

    void recordDecodesFromTheWire()
    {
        ScratchDir dir;
        ScriptedPrompt prompt;
        QDevTable table(loopbackNetwork(), &prompt, nullptr);
        table.loadDevices();
        QSignalSpy added(&table, &QDevTable::sigAddDev);
        QSignalSpy browsing(&table, &QDevTable::sigNetBrowsingState);

        QByteArray bytes(140, '\0');
        const char head[] = "\x78\x56\x34\x12"  // machineid 0x12345678
                            "\x64\x01\xA8\xC0"  // 192.168.1.100, reverse dotted order
                            "\x3D\x0D\x01\x00"  // runTime 68925 = 0 days 19:08:45
                            "\x81\x51\x01\x00"  // totalTime 86401 = 1 day 00:00:01
                            "\x01";             // statusFlag
        std::copy(head, head + 17, bytes.begin());
        putText(bytes, 17, 20, "SN-77");
        putText(bytes, 37, 20, "OVX-480");
        putText(bytes, 57, 10, "V1.2.3");
        putText(bytes, 67, 10, "V1.0.5");
        putText(bytes, 77, 20, "Main hall");
        putText(bytes, 97, 20, "Left array");
        putText(bytes, 117, 20, "Show A");
        bytes[137] = '\x05';
        table.processDatagram(bytes);

        QCOMPARE(table.count(), 1);
        QCOMPARE(added.size(), 1);
        QCOMPARE(browsing.size(), 1);
        QCOMPARE(browsing.at(0).at(0).toInt(), 0);
        QCOMPARE(browsing.at(0).at(1).toBool(), true);
        QVERIFY(table.isOnline(0));
        const broadcastMsg *r = table.recordAt(0);
        QCOMPARE(r->machineid, 0x12345678u);
        QCOMPARE(r->ipaddress, 0xC0A80164u);
        QCOMPARE(r->fault, quint8(5));
        QCOMPARE(cell(table, 0, QDevTable::IpColumn), QStringLiteral("192.168.1.100"));
        QCOMPARE(cell(table, 0, QDevTable::ModelColumn), QStringLiteral("OVX-480"));
        QCOMPARE(cell(table, 0, QDevTable::ArmColumn), QStringLiteral("V1.2.3"));
        QCOMPARE(cell(table, 0, QDevTable::DspColumn), QStringLiteral("V1.0.5"));
        QCOMPARE(cell(table, 0, QDevTable::LocationColumn), QStringLiteral("Main hall"));
        QCOMPARE(cell(table, 0, QDevTable::DescriptionColumn), QStringLiteral("Left array"));
        QCOMPARE(cell(table, 0, QDevTable::SnColumn), QStringLiteral("SN-77"));
        QCOMPARE(cell(table, 0, QDevTable::LinkColumn), QStringLiteral("Unconnected"));
        QCOMPARE(cell(table, 0, QDevTable::IdColumn), QStringLiteral("3054198961"));
        // Run times appear with the second record.
        QCOMPARE(cell(table, 0, QDevTable::RunTimeColumn), QString());
        table.processDatagram(bytes);
        QCOMPARE(cell(table, 0, QDevTable::RunTimeColumn), QStringLiteral("0 day(s) 19:08:45"));
        QCOMPARE(cell(table, 0, QDevTable::TotalTimeColumn), QStringLiteral("1 day(s) 00:00:01"));
        QCOMPARE(table.count(), 1);
    }

    // Columns widen to their longest text (twenty-character serial numbers,
    // "Unconnected", long names) in both languages, so nothing is cut.
    void columnsFitTheirTexts_data()
    {
        QTest::addColumn<QString>("translation");
        QTest::newRow("English") << QString();
        QTest::newRow("Chinese") << QStringLiteral("orvalix_chinese.qm");
    }
    void columnsFitTheirTexts()
    {
        QFETCH(QString, translation);
        ScratchDir dir;
        QTranslator translator;
        if (!translation.isEmpty()) {
            QVERIFY(translator.load(QStringLiteral("translations/") + translation));
            QCoreApplication::installTranslator(&translator);
        }
        ScriptedPrompt prompt;
        QDevTable table(loopbackNetwork(), &prompt, nullptr);
        table.loadDevices();
        Announce a = unitAt(0x1234, QHostAddress(QStringLiteral("127.0.0.1")));
        a.sn = "CN-0000-1A2B-07XX-WW";
        a.model = "OVX-480 Touring MkII";
        a.location = "Main hall, left side";
        table.processDatagram(datagram(a));
        QCOMPARE(table.table()->rowCount(), 1);
        const QFontMetrics metrics(table.table()->font());
        for (int column = 0; column < QDevTable::DeleteColumn; ++column) {
            const QString text = cell(table, 0, column);
            QVERIFY2(metrics.horizontalAdvance(text) < table.table()->columnWidth(column), qPrintable(text));
        }
        QCoreApplication::removeTranslator(&translator);
    }

    void wrongSizedDatagramsAreIgnored_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("empty") << 0;
        QTest::newRow("139 bytes") << 139;
        QTest::newRow("141 bytes") << 141;
        QTest::newRow("two records") << 280;
    }
    void wrongSizedDatagramsAreIgnored()
    {
        QFETCH(int, size);
        ScratchDir dir;
        ScriptedPrompt prompt;
        QDevTable table(loopbackNetwork(), &prompt, nullptr);
        table.loadDevices();
        QByteArray bytes = datagram(unitAt(4242, uniqueLoopback()));
        bytes.resize(size);
        table.processDatagram(bytes);
        QCOMPARE(table.count(), 0);
        QCOMPARE(sqlite3(QStringLiteral("select count(*) from devicetable")), QStringLiteral("0"));
    }

    void firstStartCreatesTheDatabase()
    {
        ScratchDir dir;
        ScriptedPrompt prompt;
        QDevTable table(loopbackNetwork(), &prompt, nullptr);
        QSignalSpy added(&table, &QDevTable::sigAddDev);
        table.loadDevices();
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("device.db"))));
        QCOMPARE(sqlite3(QStringLiteral(".schema")),
                 QStringLiteral("CREATE TABLE devicetable (ID INTEGER PRIMARY KEY,machineid unsigned int,"
                                "ipaddress unsigned int,model varchar(20),ARMFirmware varchar(20),"
                                "DSPFirmware varchar(20),location varchar(20),description varchar(20),"
                                "sn varchar(20));"));
        QCOMPARE(added.size(), 0);
        QCOMPARE(table.count(), 0);
        QVERIFY(prompt.asked.isEmpty());
    }

    void unopenableDatabaseIsReported_data()
    {
        QTest::addColumn<bool>("directory");
        QTest::newRow("a directory") << true;
        QTest::newRow("not a database") << false;
    }
    void unopenableDatabaseIsReported()
    {
        QFETCH(bool, directory);
        ScratchDir dir;
        const QByteArray garbage(4096, 'x');
        if (directory)
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("device.db")));
        else
            dir.write(QStringLiteral("device.db"), garbage);
        ScriptedPrompt prompt;
        QDevTable table(loopbackNetwork(), &prompt, nullptr);
        table.loadDevices();
        QCOMPARE(prompt.asked.size(), 1);
        QCOMPARE(prompt.asked.at(0).title, QStringLiteral("Cannot open database"));
        QCOMPARE(prompt.asked.at(0).buttons, QStringList{QStringLiteral("Cancel")});
        // The table goes on without stored units and still learns new ones.
        table.processDatagram(datagram(unitAt(7, uniqueLoopback())));
        QCOMPARE(table.count(), 1);
        if (!directory)
            QCOMPARE(dir.read(QStringLiteral("device.db")), garbage);
    }

    void storedUnitsLoadOffline()
    {
        ScratchDir dir;
        {
            ScriptedPrompt prompt;
            QDevTable table(loopbackNetwork(), &prompt, nullptr);
            table.loadDevices();
        }
        // Rows written by another client, quotes and all.
        QCOMPARE(sqlite3(QStringLiteral(
                     "insert into devicetable values (NULL, 3000000001, 3232235876, 'OVX-480', 'V1.2.3', "
                     "'V1.0.5', 'O''Neil''s bar', 'say \"hi\"', 'SN1');"
                     "insert into devicetable values (NULL, 77, 167772161, 'OVX-480L', 'V2.1.0', 'V1.0.0', "
                     "'', '', 'SN2');")),
                 QString());

        ScriptedPrompt prompt;
        QDevTable table(loopbackNetwork(), &prompt, nullptr);
        QSignalSpy added(&table, &QDevTable::sigAddDev);
        QSignalSpy browsing(&table, &QDevTable::sigNetBrowsingState);
        table.loadDevices();
        QCOMPARE(table.count(), 2);
        QCOMPARE(added.size(), 2);
        QCOMPARE(browsing.size(), 0);
        QVERIFY(!table.isOnline(0));
        QVERIFY(!table.silenceTimerAt(0)->isActive());
        QCOMPARE(table.machineIdAt(0), 3000000001u);
        QCOMPARE(table.ipAddressAt(0), 0xC0A80164u);
        QCOMPARE(cell(table, 0, QDevTable::IpColumn), QStringLiteral("192.168.1.100"));
        QCOMPARE(cell(table, 0, QDevTable::LocationColumn), QStringLiteral("O'Neil's bar"));
        QCOMPARE(cell(table, 0, QDevTable::DescriptionColumn), QStringLiteral("say \"hi\""));
        QCOMPARE(cell(table, 0, QDevTable::IdColumn), QStringLiteral("30000000010"));
        QCOMPARE(cell(table, 1, QDevTable::ModelColumn), QStringLiteral("OVX-480L"));
        QCOMPARE(cell(table, 1, QDevTable::IpColumn), QStringLiteral("10.0.0.1"));
        QCOMPARE(table.recordAt(1)->presetName[0], '\0');
    }

    void textsWithQuotesAreStoredIntact()
    {
        ScratchDir dir;
        ScriptedPrompt prompt;
        const QHostAddress address = uniqueLoopback();
        {
            QDevTable table(loopbackNetwork(), &prompt, nullptr);
            table.loadDevices();
            Announce a = unitAt(501, address);
            a.location = "Bob's \"bar\"";
            a.sn = "SN'1";
            table.processDatagram(datagram(a));
            // Every text field changes, so every update statement runs.
            a.location = "It's'; drop--";
            a.description = "a 'b' \"c\"";
            a.model = "M'odel";
            a.arm = "V'1";
            a.dsp = "V\"2";
            a.sn = "S'N'2";
            a.ipaddress = address.toIPv4Address() + 1;
            table.processDatagram(datagram(a));
        }
        QCOMPARE(sqlite3(QStringLiteral("select count(*) from devicetable")), QStringLiteral("1"));
        QCOMPARE(sqlite3(QStringLiteral("select model, ARMFirmware, DSPFirmware, location, description, sn, "
                                        "ipaddress from devicetable")),
                 QStringLiteral("M'odel|V'1|V\"2|It's'; drop--|a 'b' \"c\"|S'N'2|%1")
                     .arg(address.toIPv4Address() + 1));

        QDevTable again(loopbackNetwork(), &prompt, nullptr);
        again.loadDevices();
        QCOMPARE(again.count(), 1);
        QCOMPARE(cell(again, 0, QDevTable::LocationColumn), QStringLiteral("It's'; drop--"));
        QCOMPARE(cell(again, 0, QDevTable::ModelColumn), QStringLiteral("M'odel"));
    }

    void locationKeepsSixteenBytes()
    {
        ScratchDir dir;
        ScriptedPrompt prompt;
        QDevTable table(loopbackNetwork(), &prompt, nullptr);
        table.loadDevices();
        Announce a = unitAt(88, uniqueLoopback());
        table.processDatagram(datagram(a));
        a.location = "ABCDEFGHIJKLMNOPQRS"; // 19 bytes
        a.description = "0123456789abcdefXYZ";
        table.processDatagram(datagram(a));
        QCOMPARE(cell(table, 0, QDevTable::LocationColumn), QStringLiteral("ABCDEFGHIJKLMNOP"));
        QCOMPARE(cell(table, 0, QDevTable::DescriptionColumn), QStringLiteral("0123456789abcdef"));
        QCOMPARE(sqlite3(QStringLiteral("select location, description from devicetable")),
                 QStringLiteral("ABCDEFGHIJKLMNOP|0123456789abcdef"));
        // The same record again is no change: nothing is written.
        const int changes = totalChanges(table);
        table.processDatagram(datagram(a));
        table.processDatagram(datagram(a));
        QCOMPARE(totalChanges(table), changes);
        // A unit first heard with a long location is stored truncated too.
        Announce b = unitAt(89, uniqueLoopback());
        b.location = "ABCDEFGHIJKLMNOPQRS";
        table.processDatagram(datagram(b));
        QCOMPARE(sqlite3(QStringLiteral("select location from devicetable where machineid = 89")),
                 QStringLiteral("ABCDEFGHIJKLMNOP"));
    }

    void changesAreSignalled()
    {
        ScratchDir dir;
        ScriptedPrompt prompt;
        QDevTable table(loopbackNetwork(), &prompt, nullptr);
        table.loadDevices();
        Announce a = unitAt(12, uniqueLoopback());
        table.processDatagram(datagram(a));
        QSignalSpy ip(&table, &QDevTable::sigIpaddr);
        QSignalSpy model(&table, &QDevTable::sigModel);
        QSignalSpy fault(&table, &QDevTable::sigFault);
        QSignalSpy preset(&table, &QDevTable::sigPreset);
        table.processDatagram(datagram(a));
        QCOMPARE(ip.size() + model.size() + fault.size() + preset.size(), 0);

        a.ipaddress = 0x0A000002;
        a.model = "OVX-880";
        a.fault = 0x08;
        a.preset = "Evening";
        a.statusFlag = 1;
        table.processDatagram(datagram(a));
        QCOMPARE(ip.size(), 1);
        QCOMPARE(ip.at(0).at(1).toUInt(), 0x0A000002u);
        QCOMPARE(model.at(0).at(1).toString(), QStringLiteral("OVX-880"));
        QCOMPARE(fault.at(0).at(1).value<uchar>(), uchar(8));
        QCOMPARE(preset.at(0).at(1).toString(), QStringLiteral("Evening"));
        QCOMPARE(cell(table, 0, QDevTable::IdColumn), QStringLiteral("121"));
        QCOMPARE(sqlite3(QStringLiteral("select ipaddress, model from devicetable")),
                 QStringLiteral("167772162|OVX-880"));
    }

    void twoUnitsInOneTurnAreBothKept()
    {
        ScratchDir dir;
        ScriptedPrompt prompt;
        QDevTable table(loopbackNetwork(), &prompt, nullptr);
        table.loadDevices();
        QVERIFY(table.boundDiscoveryPort() != 0);
        QUdpSocket sender;
        QVERIFY(sender.bind(uniqueLoopback(), 0));
        const QHostAddress target(QStringLiteral("127.0.0.1"));
        // Both datagrams are queued before the table's socket gets a turn.
        sender.writeDatagram(datagram(unitAt(601, uniqueLoopback())), target, table.boundDiscoveryPort());
        sender.writeDatagram(datagram(unitAt(602, uniqueLoopback())), target, table.boundDiscoveryPort());
        QVERIFY(waitUntil([&] { return table.count() == 2; }));
        QVERIFY(table.indexOfMachineId(601) >= 0);
        QVERIFY(table.indexOfMachineId(602) >= 0);
        QVERIFY(table.isOnline(0) && table.isOnline(1));
        QCOMPARE(sqlite3(QStringLiteral("select machineid from devicetable order by machineid")),
                 QStringLiteral("601\n602"));
    }

    void removalDeletesTheRow()
    {
        ScratchDir dir;
        ScriptedPrompt prompt;
        QDevTable table(loopbackNetwork(), &prompt, nullptr);
        table.loadDevices();
        table.processDatagram(datagram(unitAt(1, uniqueLoopback())));
        table.processDatagram(datagram(unitAt(2, uniqueLoopback())));
        QSignalSpy removed(&table, &QDevTable::sigRemoveDev);
        auto *button = qobject_cast<QPushButton *>(table.table()->cellWidget(0, QDevTable::DeleteColumn));
        QVERIFY(button);
        QCOMPARE(button->text(), QStringLiteral("Delete"));
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(removed.size(), 1);
        QCOMPARE(removed.at(0).at(0).toInt(), 0);
        QCOMPARE(table.count(), 1);
        QCOMPARE(table.table()->rowCount(), 1);
        QCOMPARE(table.machineIdAt(0), 2u);
        QCOMPARE(sqlite3(QStringLiteral("select machineid from devicetable")), QStringLiteral("2"));

        // Heard again, it comes back as a new unit.
        QSignalSpy added(&table, &QDevTable::sigAddDev);
        table.processDatagram(datagram(unitAt(1, uniqueLoopback())));
        QCOMPARE(added.size(), 1);
        QCOMPARE(table.machineIdAt(1), 1u);
        QCOMPARE(sqlite3(QStringLiteral("select count(*) from devicetable")), QStringLiteral("2"));
    }

    void handAddedIdsSkipUsedOnes_data()
    {
        QTest::addColumn<QList<quint32>>("used");
        QTest::addColumn<quint32>("expected");
        QTest::newRow("none") << QList<quint32>{} << 32215u;
        QTest::newRow("32215") << QList<quint32>{32215} << 32216u;
        QTest::newRow("32215, 32216") << QList<quint32>{32215, 32216} << 32217u;
        QTest::newRow("gap at 32215") << QList<quint32>{32216, 32217} << 32215u;
    }
    void handAddedIdsSkipUsedOnes()
    {
        QFETCH(QList<quint32>, used);
        QFETCH(quint32, expected);
        ScratchDir dir;
        ScriptedPrompt prompt;
        QDevTable table(loopbackNetwork(), &prompt, nullptr);
        table.loadDevices();
        for (quint32 id : used)
            table.processDatagram(datagram(unitAt(id, uniqueLoopback())));
        QSignalSpy browsing(&table, &QDevTable::sigNetBrowsingState);
        const int index = table.addDeviceByHand(0x0A000063);
        QCOMPARE(index, used.size());
        QCOMPARE(table.machineIdAt(index), expected);
        QCOMPARE(table.recordAt(index)->statusFlag, quint8(1));
        QVERIFY(!table.isOnline(index));
        QCOMPARE(browsing.size(), 1);
        QCOMPARE(browsing.at(0).at(1).toBool(), false);
        QCOMPARE(sqlite3(QStringLiteral("select ipaddress from devicetable where machineid = %1").arg(expected)),
                 QStringLiteral("167772259"));
    }

    void addDeviceDialog_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("shown");
        QTest::newRow("address") << QStringLiteral("10.1.2.3") << true << 1 << QStringLiteral("10.1.2.3");
        QTest::newRow("unparsable") << QStringLiteral("10.1.2") << true << 1 << QStringLiteral("0.0.0.0");
        QTest::newRow("cancelled") << QStringLiteral("10.1.2.3") << false << 0 << QString();
    }
    void addDeviceDialog()
    {
        QFETCH(QString, typed);
        QFETCH(bool, ok);
        QFETCH(int, count);
        QFETCH(QString, shown);
        ScratchDir dir;
        ScriptedPrompt prompt;
        QDevTable table(loopbackNetwork(), &prompt, nullptr);
        table.loadDevices();
        answerIpDialog(table.ipSettingDialog(), typed, QString(), QString(), ok);
        table.addDevice();
        QCOMPARE(table.ipSettingDialog()->windowTitle(), QStringLiteral("Add Device"));
        QVERIFY(!table.ipSettingDialog()->isFullMode());
        QCOMPARE(table.count(), count);
        if (count)
            QCOMPARE(cell(table, 0, QDevTable::IpColumn), shown);
    }

    void ipSettingParsing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<quint32>("value");
        QTest::newRow("dotted") << QStringLiteral("192.168.1.100") << 0xC0A80164u;
        QTest::newRow("blanks around") << QStringLiteral(" 10.0.0.1 ") << 0x0A000001u;
        QTest::newRow("broadcast") << QStringLiteral("255.255.255.255") << 0xFFFFFFFFu;
        QTest::newRow("empty") << QString() << 0u;
        QTest::newRow("words") << QStringLiteral("unit one") << 0u;
        QTest::newRow("three parts") << QStringLiteral("192.168.1") << 0u;
        QTest::newRow("five parts") << QStringLiteral("1.2.3.4.5") << 0u;
        QTest::newRow("octet too big") << QStringLiteral("256.1.1.1") << 0u;
        QTest::newRow("negative") << QStringLiteral("-1.2.3.4") << 0u;
        QTest::newRow("hex") << QStringLiteral("0x7f.0.0.1") << 0u;
        QTest::newRow("empty part") << QStringLiteral("10..0.1") << 0u;
        QTest::newRow("ipv6") << QStringLiteral("::1") << 0u;
    }
    void ipSettingParsing()
    {
        QFETCH(QString, text);
        QFETCH(quint32, value);
        QIpSetting dialog;
        dialog.addressEdit()->setText(text);
        dialog.subnetEdit()->setText(QStringLiteral("255.255.0.0"));
        dialog.gatewayEdit()->setText(text);
        QSignalSpy finished(&dialog, &QDialog::finished);
        dialog.open();
        QTest::mouseClick(dialog.buttonBox()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.at(0).at(0).toInt(), int(QDialog::Accepted));
        QCOMPARE(dialog.ipAddress(), value);
        QCOMPARE(dialog.subnetMask(), 0xFFFF0000u);
        QCOMPARE(dialog.gateway(), value);
        QVERIFY(dialog.addressEdit()->text().isEmpty());
        QVERIFY(dialog.subnetEdit()->text().isEmpty());

        // Cancel leaves nothing behind.
        dialog.addressEdit()->setText(QStringLiteral("10.0.0.1"));
        dialog.open();
        QTest::mouseClick(dialog.buttonBox()->button(QDialogButtonBox::Cancel), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.ipAddress(), 0u);
        QVERIFY(dialog.addressEdit()->text().isEmpty());
    }

    void ipSettingsCommand_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("subnet");
        QTest::addColumn<QString>("gateway");
        QTest::addColumn<QByteArray>("expected"); // empty: nothing may be sent
        QTest::newRow("complete")
            << QStringLiteral("192.168.1.100") << QStringLiteral("255.255.255.0") << QStringLiteral("192.168.1.1")
            << QByteArray("\x0A\x07\x00\x00" "\x02\x00\x00\x00" "\x0C\x00\x00\x00"
                          "\x64\x01\xA8\xC0" "\x00\xFF\xFF\xFF" "\x01\x01\xA8\xC0", 24);
        QTest::newRow("no gateway")
            << QStringLiteral("10.0.0.7") << QStringLiteral("255.0.0.0") << QString()
            << QByteArray("\x0A\x07\x00\x00" "\x02\x00\x00\x00" "\x0C\x00\x00\x00"
                          "\x07\x00\x00\x0A" "\x00\x00\x00\xFF" "\x00\x00\x00\x00", 24);
        QTest::newRow("address missing") << QString() << QStringLiteral("255.0.0.0") << QString() << QByteArray();
        QTest::newRow("mask missing") << QStringLiteral("10.0.0.7") << QString() << QString() << QByteArray();
        QTest::newRow("mask with holes")
            << QStringLiteral("10.0.0.7") << QStringLiteral("255.0.255.0") << QString() << QByteArray();
    }
    void ipSettingsCommand()
    {
        QFETCH(QString, address);
        QFETCH(QString, subnet);
        QFETCH(QString, gateway);
        QFETCH(QByteArray, expected);
        ScratchDir dir;
        ScriptedPrompt prompt;
        QUdpSocket unitSide;
        const QHostAddress unitAddress = uniqueLoopback();
        QVERIFY(unitSide.bind(unitAddress, 0));
        QDevTable table(loopbackNetwork(), &prompt, nullptr);
        table.setCommandTarget(unitAddress, unitSide.localPort());
        table.loadDevices();
        table.processDatagram(datagram(unitAt(0x070A, uniqueLoopback())));

        answerIpDialog(table.ipSettingDialog(), address, subnet, gateway);
        table.ipClicked(0);
        QCOMPARE(table.ipSettingDialog()->windowTitle(), QStringLiteral("ip Settings"));
        QVERIFY(table.ipSettingDialog()->isFullMode());
        if (expected.isEmpty()) {
            QCOMPARE(prompt.asked.size(), 1);
            QTest::qWait(50);
            QVERIFY(!unitSide.hasPendingDatagrams());
        } else {
            QVERIFY(prompt.asked.isEmpty());
            QVERIFY(waitUntil([&] { return unitSide.hasPendingDatagrams(); }));
            QCOMPARE(unitSide.receiveDatagram().data(), expected);
        }
        // The table waits for the unit's next record to show a new address.
        QCOMPARE(table.machineIdAt(0), 0x070Au);
        QCOMPARE(cell(table, 0, QDevTable::IpColumn), broadcastMsg::addressText(table.ipAddressAt(0)));
    }

    // The command goes out once through each broadcast-capable interface's
    // socket, from the discovery port (two loopback stand-ins here); with no
    // such interface, from the listener.
    void ipCommandGoesOutThroughEachInterface_data()
    {
        QTest::addColumn<int>("interfaces");
        QTest::newRow("no interface: the listener") << 0;
        QTest::newRow("two interfaces") << 2;
    }
    void ipCommandGoesOutThroughEachInterface()
    {
        QFETCH(int, interfaces);
        ScratchDir dir;
        ScriptedPrompt prompt;
        QUdpSocket unitSide;
        const QHostAddress unitAddress = uniqueLoopback();
        QVERIFY(unitSide.bind(unitAddress, 0));
        QDevTable table(loopbackNetwork(), &prompt, nullptr);
        QList<QHostAddress> standIns;
        for (int i = 0; i < interfaces; ++i)
            standIns << uniqueLoopback();
        table.setInterfaceAddresses(standIns);
        table.setCommandTarget(unitAddress, unitSide.localPort());
        table.loadDevices();
        table.processDatagram(datagram(unitAt(0x070A, uniqueLoopback())));

        answerIpDialog(table.ipSettingDialog(), QStringLiteral("10.0.0.7"), QStringLiteral("255.0.0.0"));
        table.ipClicked(0);
        const int expected = qMax(interfaces, 1);
        QList<QNetworkDatagram> received;
        QVERIFY(waitUntil([&] {
            while (unitSide.hasPendingDatagrams())
                received << unitSide.receiveDatagram();
            return received.size() >= expected;
        }));
        QTest::qWait(50);
        QVERIFY(!unitSide.hasPendingDatagrams());
        QList<QHostAddress> senders;
        for (const QNetworkDatagram &d : qAsConst(received)) {
            QCOMPARE(d.senderPort(), int(table.boundDiscoveryPort()));
            QCOMPARE(d.data().left(12), QByteArray("\x0A\x07\x00\x00" "\x02\x00\x00\x00" "\x0C\x00\x00\x00", 12));
            senders << d.senderAddress();
        }
        if (interfaces > 0)
            QCOMPARE(QSet<QHostAddress>(senders.begin(), senders.end()),
                     QSet<QHostAddress>(standIns.begin(), standIns.end()));
    }

    void silenceDropsAndNextRecordReconnects()
    {
        ScratchDir dir;
        ScriptedPrompt prompt;
        QTcpServer unitControl;
        const QHostAddress address = uniqueLoopback();
        QVERIFY(unitControl.listen(address, 0));
        QDevTable table(loopbackNetwork(unitControl.serverPort()), &prompt, nullptr);
        table.loadDevices();
        QSignalSpy browsing(&table, &QDevTable::sigNetBrowsingState);
        QSignalSpy netState(&table, &QDevTable::sigNetState);

        const QByteArray record = datagram(unitAt(31, address));
        table.processDatagram(record);
        QTimer *silence = table.silenceTimerAt(0);
        QVERIFY(silence->isActive());
        QCOMPARE(silence->interval(), QDevTable::SilenceMs);

        // Chosen, and heard while not connected: the table connects it.
        table.devChanged(0);
        table.processDatagram(record);
        QVERIFY(unitControl.waitForNewConnection(5000));
        QVERIFY(waitUntil([&] { return table.socketAt(0)->state() == QAbstractSocket::ConnectedState; }));
        QVERIFY(!netState.isEmpty());
        QCOMPARE(netState.last().at(1).value<QAbstractSocket::SocketState>(), QAbstractSocket::ConnectedState);
        QTcpSocket *serverSide = unitControl.nextPendingConnection();

        // Three seconds of silence.
        browsing.clear();
        QMetaObject::invokeMethod(silence, "timeout");
        QVERIFY(!silence->isActive());
        QVERIFY(!table.isOnline(0));
        QCOMPARE(browsing.size(), 1);
        QCOMPARE(browsing.at(0).at(1).toBool(), false);
        QVERIFY(waitUntil([&] { return table.socketAt(0)->state() == QAbstractSocket::UnconnectedState; }));
        delete serverSide;

        // The next record brings it back and reconnects.
        table.processDatagram(record);
        QVERIFY(table.isOnline(0));
        QCOMPARE(browsing.size(), 2);
        QCOMPARE(browsing.at(1).at(1).toBool(), true);
        QVERIFY(silence->isActive());
        QVERIFY(unitControl.waitForNewConnection(5000));
    }

    void tcpTrafficCountsAsLife()
    {
        ScratchDir dir;
        ScriptedPrompt prompt;
        QTcpServer unitControl;
        const QHostAddress address = uniqueLoopback();
        QVERIFY(unitControl.listen(address, 0));
        QDevTable table(loopbackNetwork(unitControl.serverPort()), &prompt, nullptr);
        table.loadDevices();
        table.processDatagram(datagram(unitAt(32, address)));
        table.devChanged(0);
        table.processDatagram(datagram(unitAt(32, address)));
        QVERIFY(unitControl.waitForNewConnection(5000));
        QTcpSocket *serverSide = unitControl.nextPendingConnection();
        QTimer *silence = table.silenceTimerAt(0);
        silence->stop();
        serverSide->write("x");
        QVERIFY(waitUntil([&] { return silence->isActive(); }));
    }

    void connectionTimeoutReminder()
    {
        ScratchDir dir;
        ScriptedPrompt prompt;
        QTcpServer closed;
        const QHostAddress address = uniqueLoopback();
        QVERIFY(closed.listen(address, 0));
        const quint16 deadPort = closed.serverPort();
        closed.close(); // nothing answers there any more
        QDevTable table(loopbackNetwork(deadPort), &prompt, nullptr);
        table.loadDevices();
        const QByteArray record = datagram(unitAt(40, address));
        table.processDatagram(record);
        table.devChanged(0);
        QMessageBox *box = table.connectTimeoutBox();
        QCOMPARE(box->windowTitle(), QStringLiteral("Connection Timeout"));
        QVERIFY(box->text().startsWith(QStringLiteral("* The connection timed out!\n* Please check")));

        auto attempts = [&](int n) {
            for (int i = 0; i < n; ++i)
                table.processDatagram(record);
        };
        attempts(6);
        QVERIFY(!box->isVisible());
        attempts(1); // the seventh attempt
        QVERIFY(box->isVisible());
        QCOMPARE(table.retryCount(), 0);
        attempts(3); // not counted while the box is up
        QCOMPARE(table.retryCount(), 0);

        QTest::mouseClick(table.closeButton(), Qt::LeftButton);
        QVERIFY(!box->isVisible());
        QVERIFY(table.remindTimeout());
        attempts(7);
        QVERIFY(box->isVisible());

        QTest::mouseClick(table.doNotRemindButton(), Qt::LeftButton);
        QVERIFY(!table.remindTimeout());
        QVERIFY(!box->isVisible());
        attempts(30);
        QVERIFY(!box->isVisible());
    }

    void reminderOffersTheIpDialog()
    {
        ScratchDir dir;
        ScriptedPrompt prompt;
        QUdpSocket unitSide;
        const QHostAddress address = uniqueLoopback();
        QVERIFY(unitSide.bind(address, 0));
        QDevTable table(loopbackNetwork(9), &prompt, nullptr);
        table.setCommandTarget(address, unitSide.localPort());
        table.loadDevices();
        const QByteArray record = datagram(unitAt(41, address));
        table.processDatagram(record);
        table.devChanged(0);
        for (int i = 0; i < 7; ++i)
            table.processDatagram(record);
        QVERIFY(table.connectTimeoutBox()->isVisible());
        answerIpDialog(table.ipSettingDialog(), QStringLiteral("10.9.8.7"), QStringLiteral("255.255.255.0"));
        QTest::mouseClick(table.modifyIpButton(), Qt::LeftButton);
        QVERIFY(!table.connectTimeoutBox()->isVisible());
        QVERIFY(waitUntil([&] { return unitSide.hasPendingDatagrams(); }));
        const QByteArray command = unitSide.receiveDatagram().data();
        QCOMPARE(command.left(8), QByteArray("\x29\x00\x00\x00\x02\x00\x00\x00", 8));
        QCOMPARE(command.mid(12, 4), QByteArray("\x07\x08\x09\x0A", 4));
    }

    void chosenRowFollowsRemovals_data()
    {
        QTest::addColumn<int>("chosen");
        QTest::addColumn<int>("removed");
        QTest::addColumn<bool>("fromList"); // "Remove Device" in the tile menu, else "Delete" in the table
        QTest::addColumn<int>("expected");
        QTest::newRow("above, table") << 2 << 0 << false << 1;
        QTest::newRow("above, list") << 2 << 1 << true << 1;
        QTest::newRow("chosen, table") << 1 << 1 << false << -1;
        QTest::newRow("chosen, list") << 1 << 1 << true << -1;
        QTest::newRow("below, table") << 0 << 2 << false << 0;
        QTest::newRow("below, list") << 0 << 1 << true << 0;
    }
    void chosenRowFollowsRemovals()
    {
        QFETCH(int, chosen);
        QFETCH(int, removed);
        QFETCH(bool, fromList);
        QFETCH(int, expected);
        ScratchDir dir;
        ScriptedPrompt prompt;
        Wired w(&prompt);
        for (quint32 id = 1; id <= 3; ++id)
            w.table.processDatagram(datagram(unitAt(id, uniqueLoopback())));
        QCOMPARE(w.list.count(), 3);
        const quint32 chosenId = w.table.machineIdAt(chosen);
        QSignalSpy changed(&w.list, &QDeviceList::sig_devChanged);
        QTest::mouseClick(w.list.itemAt(chosen), Qt::LeftButton);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(w.table.currentIndex(), chosen);
        changed.clear();

        if (fromList) {
            w.list.itemAt(removed)->removeAction()->trigger();
        } else {
            QTest::mouseClick(w.table.table()->cellWidget(removed, QDevTable::DeleteColumn), Qt::LeftButton);
        }
        QCOMPARE(w.table.count(), 2);
        QCOMPARE(w.list.count(), 2);
        QCOMPARE(w.table.currentIndex(), expected);
        QCOMPARE(w.list.selectedRow(), expected);
        if (expected >= 0) {
            QCOMPARE(w.table.machineIdAt(expected), chosenId);
            QVERIFY(w.list.itemAt(expected)->isSelected());
            QCOMPARE(changed.size(), 0);
        } else {
            QCOMPARE(changed.size(), 1);
            QCOMPARE(changed.at(0).at(0).toInt(), -1);
        }
        QCOMPARE(sqlite3(QStringLiteral("select count(*) from devicetable")), QStringLiteral("2"));
    }

    void listMirrorsTheTable()
    {
        ScratchDir dir;
        ScriptedPrompt prompt;
        Wired w(&prompt);
        Announce a = unitAt(5, QHostAddress(QStringLiteral("192.168.1.100")));
        a.preset = "A very long preset name";
        w.table.processDatagram(datagram(a));
        QDeviceItem *tile = w.list.itemAt(0);
        QCOMPARE(tile->modelText(), QStringLiteral("OVX-480"));
        QCOMPARE(tile->ipText(), QStringLiteral("192.168.1.100"));
        QCOMPARE(tile->presetText(), QStringLiteral("A very long pres"));
        QVERIFY(tile->isOnline());
        QVERIFY(!tile->hasFault());
        QCOMPARE(w.list.container()->height(), QDeviceList::TileHeight);

        a.fault = 1;
        a.ipaddress = 0x0A000005;
        a.model = "OVX-880";
        a.preset = "Late";
        w.table.processDatagram(datagram(a));
        QVERIFY(tile->hasFault());
        QCOMPARE(tile->ipText(), QStringLiteral("10.0.0.5"));
        QCOMPARE(tile->modelText(), QStringLiteral("OVX-880"));
        QCOMPARE(tile->presetText(), QStringLiteral("Late"));

        QMetaObject::invokeMethod(w.table.silenceTimerAt(0), "timeout");
        QVERIFY(!tile->isOnline());
        w.list.setNetState(0, QAbstractSocket::ConnectingState);
        QVERIFY(tile->isOnline());
        w.list.setNetState(0, QAbstractSocket::UnconnectedState);
        QVERIFY(!tile->isOnline());

        w.table.addDeviceByHand(0x0A000006);
        QCOMPARE(w.list.count(), 2);
        QCOMPARE(w.list.container()->height(), 2 * QDeviceList::TileHeight);
        QVERIFY(!w.list.itemAt(1)->isOnline());
        QCOMPARE(w.list.itemAt(1)->ipText(), QStringLiteral("10.0.0.6"));
        QCOMPARE(w.list.itemAt(0)->contextMenu()->actions().size(), 2);
        QCOMPARE(w.list.itemAt(0)->ipSettingAction()->text(), QStringLiteral("IP Setting"));
        QCOMPARE(w.list.itemAt(0)->removeAction()->text(), QStringLiteral("Remove Device"));
    }

    void choosingTiles()
    {
        ScratchDir dir;
        ScriptedPrompt prompt;
        Wired w(&prompt);
        for (quint32 id = 1; id <= 2; ++id)
            w.table.processDatagram(datagram(unitAt(id, uniqueLoopback())));
        QSignalSpy changed(&w.list, &QDeviceList::sig_devChanged);
        QTest::mouseClick(w.list.itemAt(1), Qt::RightButton);
        QCOMPARE(changed.size(), 0);
        QTest::mouseClick(w.list.itemAt(1), Qt::LeftButton);
        QTest::mouseClick(w.list.itemAt(1), Qt::LeftButton); // already chosen: nothing
        QCOMPARE(changed.size(), 1);
        QTest::mouseClick(w.list.itemAt(0), Qt::LeftButton);
        QCOMPARE(changed.size(), 2);
        QVERIFY(w.list.itemAt(0)->isSelected());
        QVERIFY(!w.list.itemAt(1)->isSelected());
        QCOMPARE(w.list.itemAt(0)->palette().color(QPalette::Window), QColor(21, 148, 192));
        QCOMPARE(w.list.itemAt(1)->palette().color(QPalette::Window), QColor(48, 50, 52));

        // The chosen unit coming back is chosen afresh; another one is not.
        changed.clear();
        QMetaObject::invokeMethod(w.table.silenceTimerAt(0), "timeout");
        QMetaObject::invokeMethod(w.table.silenceTimerAt(1), "timeout");
        w.table.processDatagram(datagram(unitAt(2, QHostAddress(w.table.ipAddressAt(1)))));
        QCOMPARE(changed.size(), 0);
        w.table.processDatagram(datagram(unitAt(1, QHostAddress(w.table.ipAddressAt(0)))));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), 0);

        // "IP Setting" in a tile's menu asks the table for that row.
        QSignalSpy ip(&w.list, &QDeviceList::sig_ipClicked);
        answerIpDialog(w.table.ipSettingDialog(), QString(), QString(), QString(), false);
        w.list.itemAt(1)->ipSettingAction()->trigger();
        QCOMPARE(ip.size(), 1);
        QCOMPARE(ip.at(0).at(0).toInt(), 1);
    }

    void linkStatusFollowsLogin()
    {
        ScratchDir dir;
        ScriptedPrompt prompt;
        Wired w(&prompt);
        w.table.processDatagram(datagram(unitAt(1, uniqueLoopback())));
        w.table.processDatagram(datagram(unitAt(2, uniqueLoopback())));
        w.list.selectRow(1);
        w.table.setLoggedIn(true);
        QCOMPARE(cell(w.table, 1, QDevTable::LinkColumn), QStringLiteral("Connected"));
        QCOMPARE(w.table.table()->item(1, QDevTable::LinkColumn)->background().color(), QColor(QStringLiteral("green")));
        QCOMPARE(cell(w.table, 0, QDevTable::LinkColumn), QStringLiteral("Unconnected"));
        w.table.setLoggedIn(false);
        QCOMPARE(cell(w.table, 1, QDevTable::LinkColumn), QStringLiteral("Unconnected"));
        QCOMPARE(w.table.table()->item(1, QDevTable::LinkColumn)->background().color(), QColor(QStringLiteral("gray")));
    }

    void windowGeometryIsKeptOnlyOnceShown()
    {
        ScratchDir dir;
        ScriptedPrompt prompt;
        QSettings settings(dir.filePath(QStringLiteral("store.ini")), QSettings::IniFormat);
        {
            QDevTable table(loopbackNetwork(), &prompt, &settings);
            QCOMPARE(table.size(), QSize(1140, 400));
        }
        QVERIFY(!settings.contains(QStringLiteral("DeviceListGeometry")));
        {
            QDevTable table(loopbackNetwork(), &prompt, &settings);
            table.show();
            table.resize(900, 300);
            QVERIFY(waitUntil([&] { return table.size() == QSize(900, 300); }));
            table.hide();
        }
        QVERIFY(settings.contains(QStringLiteral("DeviceListGeometry")));
        QDevTable again(loopbackNetwork(), &prompt, &settings);
        QCOMPARE(again.size(), QSize(900, 300));
    }

    void startupConnect_data()
    {
        QTest::addColumn<bool>("stored");
        QTest::addColumn<bool>("announced");
        QTest::addColumn<quint32>("chosenId");
        QTest::newRow("known unit") << true << false << 900u;
        QTest::newRow("announced in time") << false << true << 900u;
        QTest::newRow("nobody announces") << false << false << QDevTable::FirstHandAddedId;
    }
    void startupConnect()
    {
        QFETCH(bool, stored);
        QFETCH(bool, announced);
        QFETCH(quint32, chosenId);
        ScratchDir dir;
        ScriptedPrompt prompt;
        const QHostAddress address = uniqueLoopback();
        if (stored) {
            QDevTable first(loopbackNetwork(), &prompt, nullptr);
            first.loadDevices();
            first.processDatagram(datagram(unitAt(899, uniqueLoopback())));
            first.processDatagram(datagram(unitAt(900, address)));
        }
        Wired w(&prompt);
        // Another unit on the network is not the one asked for.
        w.table.processDatagram(datagram(unitAt(901, uniqueLoopback())));
        const int before = w.table.count();
        StartupConnect startup(&w.table, &w.list, address.toIPv4Address(), 200);
        QSignalSpy finished(&startup, &StartupConnect::finished);
        startup.start();
        if (announced)
            w.table.processDatagram(datagram(unitAt(900, address)));
        QVERIFY(finished.size() == 1 || finished.wait(3000));
        QCOMPARE(w.list.selectedRow(), finished.at(0).at(0).toInt());
        QCOMPARE(w.table.currentIndex(), w.list.selectedRow());
        QCOMPARE(w.table.machineIdAt(w.table.currentIndex()), chosenId);
        QCOMPARE(w.table.ipAddressAt(w.table.currentIndex()), address.toIPv4Address());
        // Exactly one entry for the address.
        QCOMPARE(w.table.count(), before + (stored ? 0 : 1));
    }

    void startupConnectLeavesTheOperatorsChoice()
    {
        ScratchDir dir;
        ScriptedPrompt prompt;
        Wired w(&prompt);
        w.table.processDatagram(datagram(unitAt(1, uniqueLoopback())));
        StartupConnect startup(&w.table, &w.list, uniqueLoopback().toIPv4Address(), 100);
        QSignalSpy finished(&startup, &StartupConnect::finished);
        startup.start();
        w.list.selectRow(0);
        QVERIFY(finished.wait(3000));
        QCOMPARE(w.list.selectedRow(), 0);
        QCOMPARE(w.table.count(), 1);
    }

    // A tile is a tab stop named by model and address; Space or Enter
    // chooses its unit as a click does, other keys do not.
    void deviceTilesByKeyboard_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("chosen");
        QTest::newRow("Space") << int(Qt::Key_Space) << 1;
        QTest::newRow("Enter") << int(Qt::Key_Return) << 1;
        QTest::newRow("a letter") << int(Qt::Key_A) << -1;
    }
    void deviceTilesByKeyboard()
    {
        QFETCH(int, key);
        QFETCH(int, chosen);
        QDeviceList list;
        broadcastMsg first;
        qstrncpy(first.model, "DSP408", sizeof first.model);
        first.ipaddress = 0x7f000002;
        broadcastMsg second;
        second.ipaddress = 0x7f000003;
        list.addItem(&first);
        list.addItem(&second);
        QCOMPARE(tabStopNames(&list), nameList({"Device DSP408 at 127.0.0.2", "Device at 127.0.0.3"}));

        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QSignalSpy changed(&list, &QDeviceList::sig_devChanged);
        list.itemAt(1)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(list.itemAt(1), Qt::Key(key));
        QCOMPARE(changed.size(), chosen < 0 ? 0 : 1);
        if (chosen >= 0)
            QCOMPARE(changed.at(0).at(0).toInt(), chosen);
        QCOMPARE(list.itemAt(1)->isSelected(), chosen == 1);
    }
};

QTEST_MAIN(TestDevices)
#include "tst_devices.moc"
