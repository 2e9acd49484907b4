// Hostile input: what a LAN, a damaged file or a misbehaving unit can throw
// at the readers, and the regressions found by fuzzing them.

#include <QLoggingCategory>
#include <QTableWidget>
#include <QUdpSocket>
#include <QtTest>

#include <cfloat>
#include <cstring>

#include "core/devices/broadcastmsg.h"
#include "core/devices/devicedatabase.h"
#include "core/link/link.h"
#include "core/link/logging.h"
#include "testsupport.h"
#include "ui/controls/knob.h"
#include "ui/devices/qdevtable.h"
#include "ui/modules/qinfilter.h"

namespace {

// The debug lines of the device table, whatever the logging rules say.
QStringList deviceLog;
QtMessageHandler previousHandler = nullptr;
QLoggingCategory::CategoryFilter previousFilter = nullptr;

void collectDeviceLog(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (context.category && qstrcmp(context.category, "orvalix.devices") == 0) {
        deviceLog << message;
        return;
    }
    previousHandler(type, context, message);
}

void enableDeviceDebug(QLoggingCategory *category)
{
    // Installing the filter runs it once before the previous one is known.
    if (previousFilter)
        previousFilter(category);
    if (qstrcmp(category->categoryName(), "orvalix.devices") == 0)
        category->setEnabled(QtDebugMsg, true);
}

broadcastMsg unitRecord(quint32 machineid, const QByteArray &model = "OVX-480")
{
    broadcastMsg record;
    record.machineid = machineid;
    record.ipaddress = 0x7F000001;
    record.statusFlag = 1;
    broadcastMsg::setFieldText(record.model, broadcastMsg::ModelSize, model);
    return record;
}

QDevTable::Network loopbackNetwork()
{
    QDevTable::Network network;
    network.discoveryPort = 0;
    network.commandAddress = QHostAddress(QHostAddress::LocalHost);
    network.commandPort = 9;
    network.controlPort = 9;
    return network;
}

} // namespace

class TestHostile : public QObject
{
    Q_OBJECT

    QUdpSocket m_sender;
    quint16 m_port = 0;

    // Sends records of the given ids to the table's listener, in bursts the
    // socket buffers can hold, and waits until the table has taken them.
    bool announce(QDevTable &table, quint32 firstId, int count)
    {
        for (int sent = 0; sent < count;) {
            const int burst = qMin(100, count - sent);
            for (int i = 0; i < burst; ++i) {
                const QByteArray datagram = unitRecord(firstId + quint32(sent + i)).encode();
                if (m_sender.writeDatagram(datagram, QHostAddress(QHostAddress::LocalHost), m_port)
                    != datagram.size())
                    return false;
            }
            sent += burst;
            const quint32 last = firstId + quint32(sent - 1);
            if (!waitUntil([&] {
                    return table.indexOfMachineId(last) >= 0 || table.count() >= QDevTable::MaxKnownUnits;
                }))
                return false;
        }
        // Records beyond the cap leave no trace to wait for.
        QTest::qWait(200);
        return true;
    }

private Q_SLOTS:
    void initTestCase()
    {
        previousHandler = qInstallMessageHandler(collectDeviceLog);
        previousFilter = QLoggingCategory::installFilter(enableDeviceDebug);
        QVERIFY(m_sender.bind(QHostAddress(QHostAddress::LocalHost), 0));
    }

    void cleanupTestCase()
    {
        QLoggingCategory::installFilter(previousFilter);
        qInstallMessageHandler(previousHandler);
    }

    // A flood of made-up machine ids on the LAN-facing listener: the table
    // stops taking new units at the cap with one log line, and every unit it
    // knows (heard, stored or added by hand) keeps working.
    void discoveryFloodIsCapped()
    {
        ScratchDir dir;
        {
            DeviceDatabase database;
            QVERIFY(database.open() != DeviceDatabase::OpenResult::Failed);
            QVERIFY(database.add(unitRecord(7, "Stored-7")));
            QVERIFY(database.add(unitRecord(8, "Stored-8")));
        }
        ScriptedPrompt prompt;
        QDevTable table(loopbackNetwork(), &prompt, nullptr);
        table.loadDevices();
        QCOMPARE(table.count(), 2);
        m_port = table.boundDiscoveryPort();
        QVERIFY(m_port != 0);
        deviceLog.clear();

        QVERIFY(announce(table, 1000, QDevTable::MaxKnownUnits + 100));
        QCOMPARE(table.count(), QDevTable::MaxKnownUnits);
        QCOMPARE(table.indexOfMachineId(1000 + QDevTable::MaxKnownUnits - 2 - 1), QDevTable::MaxKnownUnits - 1);
        QCOMPARE(table.indexOfMachineId(1000 + QDevTable::MaxKnownUnits - 2), -1);
        QCOMPARE(deviceLog.filter(QStringLiteral("ignored")).size(), 1);
        QCOMPARE(table.database()->loadAll().size(), QDevTable::MaxKnownUnits);

        // Known units are still heard: a changed model, a stored unit online.
        QByteArray changed = unitRecord(1005, "OVX-260").encode();
        QCOMPARE(m_sender.writeDatagram(changed, QHostAddress(QHostAddress::LocalHost), m_port), changed.size());
        const QByteArray stored = unitRecord(7, "Stored-7").encode();
        QCOMPARE(m_sender.writeDatagram(stored, QHostAddress(QHostAddress::LocalHost), m_port), stored.size());
        const int row = table.indexOfMachineId(1005);
        QVERIFY(waitUntil([&] {
            return table.table()->item(row, QDevTable::ModelColumn)->text() == QLatin1String("OVX-260")
                && table.isOnline(0);
        }));
        // The operator may still add a unit by hand.
        QCOMPARE(table.addDeviceByHand(0x7F000002), QDevTable::MaxKnownUnits);

        // Below the cap again, a new unit is taken; at the cap once more, the
        // line is written once more.
        table.removeDev(table.count() - 1);
        table.removeDev(table.count() - 1);
        QVERIFY(announce(table, 500000, 3));
        QCOMPARE(table.count(), QDevTable::MaxKnownUnits);
        QVERIFY(table.indexOfMachineId(500000) >= 0);
        QCOMPARE(table.indexOfMachineId(500001), -1);
        QCOMPARE(deviceLog.filter(QStringLiteral("ignored")).size(), 2);
    }

    // Found by fuzzing the link: a band report with a huge but finite gain
    // (1.5e27 dB) made the page round it into the knob's int, which
    // overflows. The record keeps what the unit reported; the knob shows its
    // end stop.
    void hugeBandGainStopsTheKnob_data()
    {
        QTest::addColumn<float>("gain");
        QTest::addColumn<int>("knob");
        QTest::newRow("1.5e27 dB") << 1.5e27f << 200;
        QTest::newRow("-3e38 dB") << -3e38f << -200;
        QTest::newRow("largest float") << FLT_MAX << 200;
        QTest::newRow("just above the range") << 20.5f << 200;
        QTest::newRow("bottom of the range") << -20.0f << -200;
        QTest::newRow("in range") << 7.3f << 73;
    }

    void hugeBandGainStopsTheKnob()
    {
        QFETCH(float, gain);
        QFETCH(int, knob);
        Link link;
        QInFilter page(&link);
        page.timer()->stop();
        // Input A, band 1: enabled, PEQ, 1000 Hz, the gain, Q index 10.
        uchar report[13] = {0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x7a, 0x44};
        std::memcpy(report + 8, &gain, 4); // little-endian host, as on the wire
        report[12] = 10;
        page.onMessage(3, 0x80, sizeof report, report);
        QCOMPARE(page.record(0).bandGain[0], gain);
        QCOMPARE(int(page.bandControls().gainKnob->value()), knob);
    }
};

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
