// Discovery without a window: an announcing unit on loopback is heard, goes
// offline when it falls silent and comes back; records merge field by field;
// the cap on units heard holds while known units keep working.

#include <QSignalSpy>
#include <QTimer>
#include <QUdpSocket>
#include <QtTest>

#include "core/devices/discovery.h"
#include "coresupport.h"
#include "unitannouncer.h"

namespace {

broadcastMsg unitRecord(quint32 machineid)
{
    broadcastMsg record;
    record.machineid = machineid;
    record.ipaddress = 0x0A000001 + machineid;
    record.statusFlag = 1;
    broadcastMsg::setFieldText(record.model, broadcastMsg::ModelSize, "OVX-480");
    broadcastMsg::setFieldText(record.ARMFirmware, broadcastMsg::FirmwareSize, "V1.2.3");
    broadcastMsg::setFieldText(record.DSPFirmware, broadcastMsg::FirmwareSize, "V1.0.5");
    broadcastMsg::setFieldText(record.location, broadcastMsg::TextSize, "Hall");
    broadcastMsg::setFieldText(record.presetName, broadcastMsg::TextSize, "Default");
    return record;
}

} // namespace

class TestDiscovery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<Discovery::Changes>(); }

    void announcedUnitIsHeardAndGoesQuiet()
    {
        Discovery discovery(0);
        QVERIFY(discovery.isListening());
        discovery.setSilenceMs(300);
        QSignalSpy online(&discovery, &Discovery::onlineChanged);
        QSignalSpy added(&discovery, &Discovery::unitAdded);

        broadcastMsg record = unitRecord(4711);
        broadcastMsg::setFieldText(record.location, broadcastMsg::TextSize, "Stage left, rack 3");
        UnitAnnouncer::Options options;
        options.bindAddress = uniqueLoopback();
        options.commandPort = 0;
        options.announcePort = discovery.boundPort();
        options.intervalMs = 50;
        UnitAnnouncer announcer(record, options);
        QVERIFY(announcer.start());

        QVERIFY(waitUntil([&] { return discovery.count() == 1 && discovery.isOnline(0); }));
        const broadcastMsg *heard = discovery.recordAt(0);
        QCOMPARE(heard->machineid, 4711u);
        QCOMPARE(broadcastMsg::fieldText(heard->model, broadcastMsg::ModelSize), QByteArray("OVX-480"));
        QCOMPARE(broadcastMsg::fieldText(heard->location, broadcastMsg::TextSize), QByteArray("Stage left, rack"));
        QCOMPARE(discovery.indexOfAddress(record.ipaddress), 0);

        // Heard steadily it stays online; silent, it goes offline; heard
        // again, it is the same entry, online again.
        QTest::qWait(500);
        QVERIFY(discovery.isOnline(0));
        announcer.setAnnouncing(false);
        QVERIFY(waitUntil([&] { return !discovery.isOnline(0); }));
        announcer.setAnnouncing(true);
        QVERIFY(waitUntil([&] { return discovery.isOnline(0); }));
        QCOMPARE(discovery.count(), 1);
        QCOMPARE(added.size(), 1);
        QList<bool> states;
        for (const QList<QVariant> &signal : qAsConst(online))
            states << signal.at(1).toBool();
        QCOMPARE(states, (QList<bool>{true, false, true}));
    }

    void recordsMerge_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("changes");
        QTest::newRow("the same record") << QByteArray() << QByteArray() << 0;
        QTest::newRow("address") << QByteArray("ip") << QByteArray() << int(Discovery::Address);
        QTest::newRow("model") << QByteArray("model") << QByteArray("OVX-880") << int(Discovery::Model);
        QTest::newRow("versions") << QByteArray("arm") << QByteArray("V2.0.0") << int(Discovery::ArmFirmware);
        QTest::newRow("location past 16 bytes")
            << QByteArray("location") << QByteArray("Hall and more text") << int(Discovery::Location);
        QTest::newRow("preset") << QByteArray("preset") << QByteArray("Evening") << int(Discovery::PresetName);
        QTest::newRow("fault") << QByteArray("fault") << QByteArray() << int(Discovery::Fault);
        QTest::newRow("status flag") << QByteArray("status") << QByteArray() << int(Discovery::StatusFlag);
        QTest::newRow("run time only") << QByteArray("time") << QByteArray() << 0;
    }
    void recordsMerge()
    {
        QFETCH(QByteArray, field);
        QFETCH(QByteArray, value);
        QFETCH(int, changes);
        Discovery discovery(0);
        QSignalSpy changed(&discovery, &Discovery::unitChanged);
        broadcastMsg record = unitRecord(1);
        discovery.processDatagram(record.encode());
        if (field == "ip")
            record.ipaddress += 1;
        else if (field == "model")
            broadcastMsg::setFieldText(record.model, broadcastMsg::ModelSize, value);
        else if (field == "arm")
            broadcastMsg::setFieldText(record.ARMFirmware, broadcastMsg::FirmwareSize, value);
        else if (field == "location")
            broadcastMsg::setFieldText(record.location, broadcastMsg::TextSize, value);
        else if (field == "preset")
            broadcastMsg::setFieldText(record.presetName, broadcastMsg::TextSize, value);
        else if (field == "fault")
            record.fault = 4;
        else if (field == "status")
            record.statusFlag = 0;
        else if (field == "time")
            record.runTime = 90061;
        discovery.processDatagram(record.encode());
        // The same record once more changes nothing: what was kept compares
        // equal to what comes (a long location included).
        discovery.processDatagram(record.encode());
        QCOMPARE(changed.size(), 2);
        QCOMPARE(int(changed.at(0).at(1).value<Discovery::Changes>()), changes);
        QCOMPARE(int(changed.at(1).at(1).value<Discovery::Changes>()), 0);
        QCOMPARE(discovery.recordAt(0)->runTime, record.runTime);
        QCOMPARE(discovery.recordAt(0)->fault, record.fault);
        // Datagrams of any other size than 140 are nothing.
        discovery.processDatagram(record.encode().left(139));
        discovery.processDatagram(record.encode() + '\0');
        QCOMPARE(changed.size(), 2);
        QCOMPARE(discovery.count(), 1);
    }

    // Beside the listener, a socket per interface on the same port: what is
    // sent to an interface's address is heard, and nothing twice.
    void interfaceSocketsShareThePort_data()
    {
        QTest::addColumn<int>("interfaces");
        QTest::newRow("none") << 0;
        QTest::newRow("two") << 2;
    }
    void interfaceSocketsShareThePort()
    {
        QFETCH(int, interfaces);
        Discovery discovery(0);
        const quint16 port = discovery.boundPort();
        QList<QHostAddress> standIns;
        for (int i = 0; i < interfaces; ++i)
            standIns << uniqueLoopback();
        discovery.setInterfaceAddresses(standIns);
        QCOMPARE(discovery.boundPort(), port);
        QCOMPARE(discovery.interfaceAddresses(), standIns);
        const QList<QUdpSocket *> sockets = discovery.interfaceSockets();
        QCOMPARE(sockets.size(), interfaces);
        QSignalSpy changed(&discovery, &Discovery::unitChanged);
        QUdpSocket sender;
        QVERIFY(sender.bind(uniqueLoopback(), 0));
        QList<QHostAddress> targets = standIns;
        targets << QHostAddress(QHostAddress::LocalHost);
        for (int i = 0; i < targets.size(); ++i) {
            if (i < sockets.size()) {
                QCOMPARE(sockets.at(i)->localAddress(), standIns.at(i));
                QCOMPARE(sockets.at(i)->localPort(), port);
            }
            QCOMPARE(sender.writeDatagram(unitRecord(7).encode(), targets.at(i), port), qint64(broadcastMsg::Size));
            QVERIFY(waitUntil([&] { return discovery.count() == 1 && changed.size() == i; }));
        }
        QTest::qWait(50);
        QCOMPARE(changed.size(), targets.size() - 1);
        // Unchanged interfaces leave the sockets alone.
        discovery.watchInterfaces();
        QCOMPARE(discovery.interfaceSockets(), sockets);
    }

    void capHoldsForHeardUnitsOnly()
    {
        Discovery discovery(0);
        discovery.addUnit(unitRecord(900001));
        for (quint32 id = 1; id <= quint32(Discovery::MaxKnownUnits) + 10; ++id)
            discovery.processDatagram(unitRecord(id).encode());
        QCOMPARE(discovery.count(), Discovery::MaxKnownUnits);
        QCOMPARE(discovery.indexOfMachineId(Discovery::MaxKnownUnits), -1);
        // A known unit is still heard, and one may still be added.
        QVERIFY(!discovery.isOnline(0));
        discovery.processDatagram(unitRecord(900001).encode());
        QVERIFY(discovery.isOnline(0));
        QCOMPARE(discovery.addUnit(unitRecord(900002)), Discovery::MaxKnownUnits);
        // Below the cap again, the next unit heard is taken.
        discovery.removeAt(1);
        discovery.removeAt(1);
        discovery.processDatagram(unitRecord(500000).encode());
        discovery.processDatagram(unitRecord(500001).encode());
        QCOMPARE(discovery.count(), Discovery::MaxKnownUnits);
        QVERIFY(discovery.indexOfMachineId(500000) >= 0);
        QCOMPARE(discovery.indexOfMachineId(500001), -1);
    }
};

QTEST_GUILESS_MAIN(TestDiscovery)
#include "tst_discovery.moc"
