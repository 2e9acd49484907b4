#include <QAction>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStackedWidget>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include <memory>

#include "core/link/link.h"
#include "presetmodule.h"
#include "systemmodule.h"
#include "testsupport.h"
#include "ui/devices/qdeviceitem.h"
#include "ui/devices/qdevicelist.h"
#include "ui/devices/qdevtable.h"
#include "ui/devices/qipsetting.h"
#include "ui/devices/startupconnect.h"
#include "ui/pages/funcwidget.h"
#include "ui/pages/qpreset.h"
#include "ui/pages/qsetup.h"
#include "ui/window/mainwindow.h"
#include "unitannouncer.h"
#include "virtualunit.h"

namespace {

// One virtual unit on its own loopback address: control link and announcer.
struct Unit
{
    explicit Unit(quint16 port = 0)
    {
        VirtualUnit::Options options;
        options.address = uniqueLoopback();
        options.port = port;
        unit = std::make_unique<VirtualUnit>(options);
    }
    bool start() { return unit->start(); }
    // Starts announcing to the application's listener.
    bool announceTo(quint16 port)
    {
        UnitAnnouncer::Options options;
        options.bindAddress = unit->address();
        options.commandPort = 0;
        options.announcePort = port;
        announcer = std::make_unique<UnitAnnouncer>(unit.get(), options);
        return announcer->start();
    }
    quint32 address() const { return unit->address().toIPv4Address(); }

    std::unique_ptr<VirtualUnit> unit;
    std::unique_ptr<UnitAnnouncer> announcer;
};

AppOptions loopbackOptions(const Unit &unit)
{
    AppOptions options;
    options.controlPort = unit.unit->port();
    options.discoveryPort = 0; // any free port; the announcers are told which
    options.commandAddress = unit.unit->address().toString();
    return options;
}

QString sqlite3(const QString &sql)
{
    QProcess process;
    process.start(QStringLiteral("sqlite3"), {QStringLiteral("device.db"), sql});
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

} // namespace

class TestDevicesEndToEnd : public QObject
{
    Q_OBJECT

    QSettings *freshSettings(ScratchDir &dir)
    {
        return new QSettings(dir.filePath(QStringLiteral("store.ini")), QSettings::IniFormat, this);
    }

private Q_SLOTS:
    void initTestCase()
    {
        qRegisterMetaType<QAbstractSocket::SocketState>();
    }

    void unitAppearsGoesSilentReturnsAndConnects()
    {
        ScratchDir dir;
        Unit u;
        QVERIFY(u.start());
        ScriptedPrompt prompt;
        mainWindow w(loopbackOptions(u), &prompt, freshSettings(dir));
        QDevTable *table = w.devTable();
        QDeviceList *list = w.deviceList();
        QSignalSpy netState(table, &QDevTable::sigNetState);
        QVERIFY(u.announceTo(table->boundDiscoveryPort()));

        QVERIFY(waitUntil([&] { return list->count() == 1 && list->itemAt(0)->isOnline(); }));
        QCOMPARE(table->machineIdAt(0), u.announcer->machineId());
        QCOMPARE(list->itemAt(0)->ipText(), u.unit->address().toString());
        QCOMPARE(list->itemAt(0)->modelText(), QStringLiteral("OVX-480"));
        QCOMPARE(list->itemAt(0)->presetText(), QStringLiteral("Default"));
        QCOMPARE(table->table()->item(0, QDevTable::SnColumn)->text(), QStringLiteral("CN-0000-1A2B-07xx"));
        QCOMPARE(table->table()->item(0, QDevTable::LocationColumn)->text(), QStringLiteral("Main hall"));

        // Silent for three seconds: offline. Announcing again: back.
        u.announcer->setAnnouncing(false);
        QVERIFY(waitUntil([&] { return !table->isOnline(0); }, 6000));
        QVERIFY(!list->itemAt(0)->isOnline());
        u.announcer->setAnnouncing(true);
        QVERIFY(waitUntil([&] { return table->isOnline(0) && list->itemAt(0)->isOnline(); }));
        QCOMPARE(list->count(), 1);

        // A click on the tile connects the control link, and the unit logs in.
        QTest::mouseClick(list->itemAt(0), Qt::LeftButton);
        QVERIFY(waitUntil([&] { return w.link()->isLinkUp() && u.unit->hasClient(); }));
        QCOMPARE(w.link()->currentSocket(), table->socketAt(0));
        QCOMPARE(w.link()->currentUnitId(), u.announcer->machineId());
        bool sawConnected = false;
        for (const auto &args : netState)
            sawConnected |= args.at(0).toInt() == 0
                && args.at(1).value<QAbstractSocket::SocketState>() == QAbstractSocket::ConnectedState;
        QVERIFY(sawConnected);
        QVERIFY(waitUntil([&] { return w.link()->isLoggedIn(); }));
        QCOMPARE(table->table()->item(0, QDevTable::LinkColumn)->text(), QStringLiteral("Connected"));

        // The unit drops the link; its next record brings it back.
        u.unit->dropClient();
        QVERIFY(waitUntil([&] { return w.link()->isLinkUp() && u.unit->hasClient(); }, 6000));
        QVERIFY(!table->connectTimeoutBox()->isVisible());
    }

    void ipSettingsChangeTheAnnouncedAddress()
    {
        ScratchDir dir;
        Unit u;
        QVERIFY(u.start());
        ScriptedPrompt prompt;
        mainWindow w(loopbackOptions(u), &prompt, freshSettings(dir));
        QDevTable *table = w.devTable();
        QVERIFY(u.announceTo(table->boundDiscoveryPort()));
        table->setCommandTarget(u.unit->address(), u.announcer->commandPort());
        QVERIFY(waitUntil([&] { return table->count() == 1; }));
        // Chosen, the unit reports its network settings; the dialog opens
        // with them.
        QTest::mouseClick(w.deviceList()->itemAt(0), Qt::LeftButton);
        QVERIFY(waitUntil([&] { return w.funcWidget()->setup()->maskEdit()->text() == QLatin1String("255.0.0.0"); }));

        const QHostAddress moved = uniqueLoopback();
        QIpSetting *dialog = table->ipSettingDialog();
        QStringList opened;
        QTimer::singleShot(0, dialog, [&] {
            opened = QStringList{dialog->addressEdit()->text(), dialog->subnetEdit()->text(),
                                 dialog->gatewayEdit()->text()};
            dialog->addressEdit()->setText(moved.toString());
            dialog->subnetEdit()->setText(QStringLiteral("255.0.0.0"));
            dialog->gatewayEdit()->setText(QStringLiteral("127.0.0.1"));
            QTest::mouseClick(dialog->buttonBox()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        });
        w.deviceList()->itemAt(0)->ipSettingAction()->trigger();
        QCOMPARE(opened, (QStringList{u.unit->address().toString(), QStringLiteral("255.0.0.0"),
                                      QStringLiteral("127.0.0.1")}));

        QVERIFY(waitUntil([&] { return table->ipAddressAt(0) == moved.toIPv4Address(); }));
        QCOMPARE(u.unit->system().ipAddress, moved.toIPv4Address());
        QCOMPARE(u.unit->system().subnetMask, 0xFF000000u);
        QCOMPARE(u.unit->system().gateway, 0x7F000001u);
        QCOMPARE(w.deviceList()->itemAt(0)->ipText(), moved.toString());
        QCOMPARE(table->table()->item(0, QDevTable::IpColumn)->text(), moved.toString());
        QCOMPARE(table->count(), 1);
        QCOMPARE(sqlite3(QStringLiteral("select ipaddress from devicetable")),
                 QString::number(moved.toIPv4Address()));
    }

    // The tile shows the preset the unit announces: its default name until a
    // slot is recalled through the preset page, then that slot's name.
    void tileShowsTheRecalledPresetName()
    {
        ScratchDir dir;
        Unit u;
        QVERIFY(u.start());
        PresetModule *store = u.unit->findModule<PresetModule>();
        QVERIFY(store);
        store->slotTable[4].used = true;
        store->slotTable[4].settings = PresetModule::captureSettings(*u.unit);
        store->rename(4, "Stage left");
        ScriptedPrompt prompt;
        mainWindow w(loopbackOptions(u), &prompt, freshSettings(dir));
        w.show();
        QDeviceList *list = w.deviceList();
        QVERIFY(u.announceTo(w.devTable()->boundDiscoveryPort()));
        QVERIFY(waitUntil([&] { return list->count() == 1 && list->itemAt(0)->isOnline(); }));
        QCOMPARE(list->itemAt(0)->presetText(), QStringLiteral("Default"));

        QTest::mouseClick(list->itemAt(0), Qt::LeftButton);
        QVERIFY(waitUntil([&] { return w.link()->isLoggedIn(); }));
        QPreset *page = w.funcWidget()->preset();
        w.funcWidget()->setCurrentIndex(w.funcWidget()->stack()->indexOf(page));
        QVERIFY(waitUntil([&] { return page->isUsed(4); }));
        prompt.answers = {0}; // "Yes"
        QTest::mouseClick(page->slotButton(4, QPreset::RecallButton), Qt::LeftButton);
        QVERIFY(waitUntil([&] { return store->recallsApplied == 1; }, 10000));
        QVERIFY(waitUntil([&] { return list->itemAt(0)->presetText() == QLatin1String("Stage left"); }, 5000));
    }

    void connectOptionChoosesTheAnnouncingUnitOnce()
    {
        ScratchDir dir;
        Unit u;
        QVERIFY(u.start());
        ScriptedPrompt prompt;
        AppOptions options = loopbackOptions(u);
        options.connectAddress = u.unit->address().toString();
        {
            mainWindow w(options, &prompt, freshSettings(dir));
            QVERIFY(u.announceTo(w.devTable()->boundDiscoveryPort()));
            QVERIFY(waitUntil([&] { return w.link()->isLinkUp(); }));
            QCOMPARE(w.devTable()->count(), 1);
            QCOMPARE(w.deviceList()->selectedRow(), 0);
            QCOMPARE(w.devTable()->machineIdAt(0), u.announcer->machineId());
            // One tile also after the wait would have run out.
            QTest::qWait(StartupConnect::DefaultWaitMs + 300);
            QCOMPARE(w.deviceList()->count(), 1);
            u.announcer.reset();
        }
        // Next start: the unit is known and chosen at once.
        mainWindow again(options, &prompt, freshSettings(dir));
        QCOMPARE(again.devTable()->count(), 1);
        QCOMPARE(again.deviceList()->selectedRow(), 0);
        QCOMPARE(again.devTable()->currentIndex(), 0);
        QVERIFY(waitUntil([&] { return again.link()->isLinkUp(); }));
    }

    void connectOptionAddsASilentUnitByHand()
    {
        ScratchDir dir;
        Unit u;
        QVERIFY(u.start()); // listens, but never announces
        ScriptedPrompt prompt;
        AppOptions options = loopbackOptions(u);
        options.connectAddress = u.unit->address().toString();
        mainWindow w(options, &prompt, freshSettings(dir));
        QCOMPARE(w.devTable()->count(), 0);
        QVERIFY(waitUntil([&] { return w.devTable()->count() == 1; }, 6000));
        QCOMPARE(w.devTable()->machineIdAt(0), QDevTable::FirstHandAddedId);
        QCOMPARE(w.deviceList()->selectedRow(), 0);
        QVERIFY(waitUntil([&] { return w.link()->isLinkUp() && u.unit->hasClient(); }));
    }

    void severalUnitsSideBySide()
    {
        ScratchDir dir;
        // Like real units: one control port number, each on its own address.
        Unit first;
        QVERIFY(first.start());
        Unit second(first.unit->port());
        Unit third(first.unit->port());
        QVERIFY(second.start());
        QVERIFY(third.start());
        ScriptedPrompt prompt;
        mainWindow w(loopbackOptions(first), &prompt, freshSettings(dir));
        for (Unit *u : {&first, &second, &third})
            QVERIFY(u->announceTo(w.devTable()->boundDiscoveryPort()));
        QVERIFY(waitUntil([&] { return w.devTable()->count() == 3; }));
        const int row = w.devTable()->indexOfMachineId(second.announcer->machineId());
        QVERIFY(row >= 0);
        QCOMPARE(w.devTable()->ipAddressAt(row), second.address());
        QCOMPARE(w.deviceList()->itemAt(row)->ipText(), second.unit->address().toString());

        QTest::mouseClick(w.deviceList()->itemAt(row), Qt::LeftButton);
        QVERIFY(waitUntil([&] { return w.link()->isLinkUp() && second.unit->hasClient(); }));
        QVERIFY(!first.unit->hasClient());
        QVERIFY(!third.unit->hasClient());
    }
};

QTEST_MAIN(TestDevicesEndToEnd)
#include "tst_devices_e2e.moc"
