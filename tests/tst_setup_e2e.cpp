// The main window against the virtual unit over loopback: the settings page
// and the overview show what the unit reports, edits reach the unit and come
// back, and losing the unit resets the live displays.

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStackedWidget>
#include <QTcpSocket>
#include <QtTest>

#include "core/link/link.h"
#include "systemmodule.h"
#include "testsupport.h"
#include "ui/pages/funcwidget.h"
#include "ui/pages/qoverview.h"
#include "ui/pages/qsetup.h"
#include "ui/resources/resources.h"
#include "ui/window/mainwindow.h"
#include "virtualunit.h"

namespace {

QString shown(QSetup *setup, const char *name)
{
    auto *label = setup->findChild<QLabel *>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
}

// Saves a picture of the window when ORVALIX_SCREENSHOTS names a directory.
void screenshot(QWidget *w, const QString &name)
{
    const QString dir = qEnvironmentVariable("ORVALIX_SCREENSHOTS");
    if (!dir.isEmpty())
        w->grab().save(QDir(dir).filePath(name));
}

} // namespace

class TestSetupEndToEnd : public QObject
{
    Q_OBJECT

    struct Session
    {
        ScratchDir dir;
        VirtualUnit unit;
        ScriptedPrompt prompt;
        QSettings settings;
        mainWindow window;
        QTcpSocket socket;

        static VirtualUnit::Options unitOptions(int family)
        {
            VirtualUnit::Options o;
            o.address = uniqueLoopback();
            o.port = 0;
            o.family = family;
            return o;
        }
        // Everything stays on loopback: the unit's port, no product discovery
        // port, device commands to loopback.
        static AppOptions appOptions(quint16 port)
        {
            AppOptions o;
            o.controlPort = port;
            o.discoveryPort = 0;
            o.commandAddress = QStringLiteral("127.0.0.1");
            return o;
        }

        explicit Session(int family = 1)
            : unit(unitOptions(family))
            , settings(dir.filePath(QStringLiteral("store.ini")), QSettings::IniFormat)
            , window(appOptions(startUnit(unit)), &prompt, &settings)
        {
            window.resize(1024, 600);
            window.show();
        }
        ~Session() { window.link()->setCurrentSocket(nullptr, 0, 0); }

        static quint16 startUnit(VirtualUnit &unit) { return unit.start() ? unit.port() : 0; }

        bool connect()
        {
            window.link()->setCurrentSocket(&socket, 7, unit.address().toIPv4Address());
            // The ARM version report may switch the page set, which goes back
            // to In Level: wait for it before choosing a page.
            return waitUntil([this] {
                return window.link()->isLoggedIn() && !window.overView()->armVersionLabel()->text().isEmpty();
            });
        }

        FuncWidget *pages() const { return window.funcWidget(); }
        QSetup *setup() const { return window.funcWidget()->setup(); }
        QOverView *overview() const { return window.overView(); }

        void showSettings()
        {
            QTest::mouseClick(pages()->pageButton(setup()), Qt::LeftButton);
        }
    };

private Q_SLOTS:
    void initTestCase()
    {
        // Pictures look as the operator sees them.
        if (!qEnvironmentVariableIsEmpty("ORVALIX_SCREENSHOTS"))
            Resources::applyStyleSheet(qApp);
    }

    void settingsPageShowsTheUnit()
    {
        Session s;
        QVERIFY(s.unit.isListening());
        s.unit.system().dspModel = 1;
        s.unit.system().inputLabels[2] = "Vocal";
        s.unit.system().runTimeOffset = 86400 + 3600 + 60;
        QVERIFY(s.connect());
        s.showSettings();
        QSetup *setup = s.setup();
        const QString ip = s.unit.address().toString();

        QVERIFY(waitUntil([&] { return setup->inLabelEdit(2)->text() == QLatin1String("Vocal"); }));
        QVERIFY(waitUntil([&] { return !shown(setup, "valueCode").isEmpty(); }));
        QCOMPARE(shown(setup, "valueModel"), QStringLiteral("OVX-480"));
        QCOMPARE(shown(setup, "valueArmVer"), QStringLiteral("V1.2.3"));
        QCOMPARE(shown(setup, "valueDspVer"), QStringLiteral("V1.0.5-2906"));
        QCOMPARE(shown(setup, "valueSerial"), QStringLiteral("CN-0000-1A2B-07xx"));
        QCOMPARE(shown(setup, "valueChannelCfg"), QStringLiteral("0408"));
        QCOMPARE(shown(setup, "valueBootCounts"), QStringLiteral("42"));
        QCOMPARE(shown(setup, "valueDeviceId"), QStringLiteral("1001"));
        QCOMPARE(shown(setup, "valueCode"), QStringLiteral("12345-2-00678"));
        QVERIFY(shown(setup, "valueRunTime").startsWith(QLatin1String("1 day 01:01:")));
        QCOMPARE(setup->locationEdit()->text(), QStringLiteral("Main hall"));
        QCOMPARE(setup->descriptionEdit()->text(), QStringLiteral("Left array"));
        QCOMPARE(setup->ipEdit()->text(), ip);
        QCOMPARE(setup->maskEdit()->text(), QStringLiteral("255.0.0.0"));
        QCOMPARE(setup->inLabelEdit(0)->text(), QStringLiteral("IN A"));
        QCOMPARE(setup->outLabelEdit(7)->text(), QStringLiteral("OUT 8"));
        QCOMPARE(shown(setup, "valueFaultDsp"), QStringLiteral("Normal"));

        // The overview shows the unit's identity.
        QOverView *o = s.overview();
        QCOMPARE(o->modelLabel()->text(), QStringLiteral("OVX-480"));
        QCOMPARE(o->armVersionLabel()->text(), QStringLiteral("V1.2.3"));
        QCOMPARE(o->dspVersionLabel()->text(), QStringLiteral("V1.0.5-2906"));
        QCOMPARE(o->ipLabel()->text(), ip);
        QCOMPARE(o->locationLabel()->text(), QStringLiteral("Main hall"));
        QCOMPARE(o->stateLabel()->text(), QStringLiteral("Connected"));
        QVERIFY(waitUntil([&] { return !o->dspLoadLabel()->text().isEmpty(); }));

        // Family 1: the input delay page is there.
        QVERIFY(s.pages()->hasInputDelayPage());
        QCOMPARE(s.pages()->stack()->currentWidget(), static_cast<QWidget *>(setup));
        screenshot(&s.window, QStringLiteral("settings-page.png"));
    }

    void locationEditRoundTrip()
    {
        Session s;
        QVERIFY(s.connect());
        s.showSettings();
        QSetup *setup = s.setup();
        QVERIFY(waitUntil([&] { return setup->locationEdit()->text() == QLatin1String("Main hall"); }));

        QLineEdit *edit = setup->locationEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("Stage left"));
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(waitUntil([&] { return s.unit.system().location == "Stage left"; }));
        QVERIFY(!edit->hasFocus());
        // The unit's next report brings it to the overview.
        QVERIFY(waitUntil([&] { return s.overview()->locationLabel()->text() == QLatin1String("Stage left"); }));
        QCOMPARE(edit->text(), QStringLiteral("Stage left"));

        // An input label renamed here comes back from the unit too.
        QLineEdit *label = setup->inLabelEdit(0);
        label->setFocus();
        label->selectAll();
        QTest::keyClicks(label, QStringLiteral("Kick"));
        QTest::keyClick(label, Qt::Key_Return);
        QVERIFY(waitUntil([&] { return s.unit.system().inputLabels[0] == "Kick"; }));
    }

    void familyTwoUnit()
    {
        Session s(2);
        QVERIFY(s.connect());
        QVERIFY(waitUntil([&] { return s.overview()->armVersionLabel()->text() == QLatin1String("V2.1.0"); }));
        QVERIFY(!s.pages()->hasInputDelayPage());
        QVERIFY(waitUntil([&] { return s.overview()->modelLabel()->text() == QLatin1String("OVX-480L"); }));
        screenshot(&s.window, QStringLiteral("overview-in-level.png"));
    }

    void faultReachesThePageAndTheFaultBox()
    {
        Session s;
        s.unit.system().faultBits = 0x08;
        QVERIFY(s.connect());
        QVERIFY(waitUntil([&] { return s.window.funcWidget()->faultByte() == 0x08; }));
        QCOMPARE(shown(s.setup(), "valueFaultDac"), QStringLiteral("ERROR"));
        QVERIFY(s.window.faultBox()->isVisible());
        QCOMPARE(s.window.faultBox()->text(),
                 QStringLiteral("Faults found :\n\nDAC\n\nSee the Settings page for details."));
        s.window.faultBox()->hide();

        s.unit.system().faultBits = 0;
        QVERIFY(waitUntil([&] { return s.window.funcWidget()->faultByte() == 0; }));
        QVERIFY(!s.window.faultTimer()->isActive());
    }

    void losingTheUnitResetsLiveDisplays()
    {
        Session s;
        QVERIFY(s.connect());
        s.showSettings();
        QVERIFY(waitUntil([&] { return !s.overview()->dspLoadLabel()->text().isEmpty(); }));
        QVERIFY(waitUntil([&] { return !shown(s.setup(), "valueModel").isEmpty(); }));
        s.overview()->setInMeter(1, -10);
        Link *link = s.window.link();
        // What the device table reports for the current unit's socket.
        link->socketStateChanged(&s.socket, QAbstractSocket::ConnectedState);
        s.unit.dropClient();
        QVERIFY(waitUntil([&] { return s.socket.state() == QAbstractSocket::UnconnectedState; }));
        link->socketStateChanged(&s.socket, QAbstractSocket::UnconnectedState);

        QCOMPARE(s.overview()->inLevelLabel(1)->text(), QStringLiteral("-60"));
        QCOMPARE(s.overview()->dspLoadLabel()->text(), QString());
        QCOMPARE(s.overview()->modelLabel()->text(), QStringLiteral("OVX-480"));
        s.window.overView()->refreshState();
        QCOMPARE(s.overview()->stateLabel()->text(), QStringLiteral("Unconnected"));
        QCOMPARE(shown(s.setup(), "valueModel"), QString());
        QCOMPARE(shown(s.setup(), "valueArmVer"), QString());
        QCOMPARE(s.setup()->ipEdit()->text(), QStringLiteral("0.0.0.0"));
        // Parameter displays stay as they were.
        QCOMPARE(s.setup()->inLabelEdit(0)->text(), QStringLiteral("IN A"));
    }
};

QTEST_MAIN(TestSetupEndToEnd)
#include "tst_setup_e2e.moc"
