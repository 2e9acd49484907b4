// The application against a misbehaving unit: each fault of the virtual unit
// end to end, over loopback, with the whole main window. What must hold
// every time: the application keeps running, shows the state the link is in,
// and keeps what the operator set; once the link is back the pages show the
// unit's values, and an edit made for one unit never reaches another.

#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTableWidget>
#include <QtTest>

#include <memory>

#include "core/link/link.h"
#include "firmwaremodule.h"
#include "levelmodule.h"
#include "presetmodule.h"
#include "systemmodule.h"
#include "testsupport.h"
#include "ui/common/modulepage.h"
#include "ui/controls/knob.h"
#include "ui/controls/qfader.h"
#include "ui/controls/qhslider.h"
#include "ui/devices/qdeviceitem.h"
#include "ui/devices/qdevicelist.h"
#include "ui/devices/qdevtable.h"
#include "ui/modules/qinlevel.h"
#include "ui/modules/qoutlevel.h"
#include "ui/pages/firmwareupload.h"
#include "ui/pages/funcwidget.h"
#include "ui/pages/qlogin.h"
#include "ui/pages/qpreset.h"
#include "ui/pages/qsetup.h"
#include "ui/window/mainwindow.h"
#include "unitannouncer.h"
#include "virtualunit.h"

namespace {

constexpr int AnnounceMs = 200;
constexpr quint8 GainParam = 3;

// A virtual unit on a loopback address of its own, announcing itself to the
// application's listener.
struct Unit
{
    explicit Unit(quint16 port = 0, const QString &password = QString())
    {
        VirtualUnit::Options options;
        options.address = uniqueLoopback();
        options.port = port;
        options.password = password;
        unit = std::make_unique<VirtualUnit>(options);
        levels()->freezeProgramme = true;
        levels()->programme.fill(-20.0f);
    }
    bool start() { return unit->start(); }
    bool announceTo(quint16 discoveryPort)
    {
        UnitAnnouncer::Options options;
        options.bindAddress = unit->address();
        options.commandPort = 0;
        options.announcePort = discoveryPort;
        options.intervalMs = AnnounceMs;
        announcer = std::make_unique<UnitAnnouncer>(unit.get(), options);
        return announcer->start();
    }
    LevelModule *levels() const { return unit->findModule<LevelModule>(); }
    // Stops answering altogether: no reply on the link, no status record.
    void fallSilent(bool silent)
    {
        unit->setSilent(silent);
        announcer->setAnnouncing(!silent);
    }

    std::unique_ptr<VirtualUnit> unit;
    std::unique_ptr<UnitAnnouncer> announcer;
};

struct App
{
    explicit App(const Unit &unit)
        : settings(dir.filePath(QStringLiteral("store.ini")), QSettings::IniFormat)
        , window(options(unit), &prompt, &settings)
    {
        window.show();
    }
    static AppOptions options(const Unit &unit)
    {
        AppOptions o;
        o.controlPort = unit.unit->port();
        o.discoveryPort = 0;
        o.commandAddress = unit.unit->address().toString();
        return o;
    }

    Link *link() const { return window.link(); }
    FuncWidget *func() const { return window.funcWidget(); }
    QDevTable *table() const { return window.devTable(); }
    QDeviceList *list() const { return window.deviceList(); }
    QOutLevel *outLevel() const { return func()->outLevel(); }

    void showPage(QWidget *page) { func()->setCurrentIndex(func()->stack()->indexOf(page)); }
    // Lets every page of the stack poll for a while.
    void visitPages(int msEach = 200)
    {
        for (int i = 0; i < func()->stack()->count(); ++i) {
            func()->setCurrentIndex(i);
            QTest::qWait(msEach);
        }
    }
    bool choose(int index)
    {
        if (!waitUntil([&] { return list()->count() > index; }))
            return false;
        QTest::mouseClick(list()->itemAt(index), Qt::LeftButton);
        // The unit's first ARM version report sets the page set for its
        // family and shows the first page: a page shown before it would be
        // switched away from, so the unit counts as chosen only then.
        return waitUntil([&] { return link()->isLoggedIn(); })
            && waitUntil([&] { return !func()->setup()->armVersion().isZero(); });
    }

    ScratchDir dir;
    ScriptedPrompt prompt;
    QSettings settings;
    mainWindow window;
};

// What every page's controls show: knobs, faders, sliders, buttons, choices
// and fields (meters and captions are left out).
QStringList controlStates(FuncWidget *func)
{
    QList<QWidget *> pages;
    for (int i = 0; i < func->stack()->count(); ++i)
        pages << func->stack()->widget(i);
    QStringList out;
    for (QWidget *page : qAsConst(pages)) {
        const QString name = QString::fromLatin1(page->metaObject()->className());
        for (Knob *w : page->findChildren<Knob *>())
            out << name + QStringLiteral(" knob ") + QString::number(double(w->value()));
        for (QFader *w : page->findChildren<QFader *>())
            out << name + QStringLiteral(" fader ") + QString::number(w->value());
        for (QHSlider *w : page->findChildren<QHSlider *>())
            out << name + QStringLiteral(" slider ") + QString::number(w->value());
        for (QAbstractButton *w : page->findChildren<QAbstractButton *>()) {
            if (w->isCheckable())
                out << name + QStringLiteral(" button ") + w->text() + QLatin1Char(' ') + QString::number(w->isChecked());
        }
        for (QComboBox *w : page->findChildren<QComboBox *>())
            out << name + QStringLiteral(" choice ") + QString::number(w->currentIndex());
        for (QLineEdit *w : page->findChildren<QLineEdit *>())
            out << name + QStringLiteral(" field ") + w->text();
        out << name + QStringLiteral(" enabled ") + QString::number(page->isEnabled());
    }
    return out;
}

// The operator drags a channel's fader to `gain` dB.
void moveFader(QOutLevel *page, int channel, float gain)
{
    Q_EMIT page->fader(channel)->valueChanged(gain);
}

QString firstDifference(const QStringList &a, const QStringList &b)
{
    for (int i = 0; i < qMin(a.size(), b.size()); ++i) {
        if (a.at(i) != b.at(i))
            return a.at(i) + QStringLiteral(" -> ") + b.at(i);
    }
    return a.size() == b.size() ? QString() : QStringLiteral("different number of controls");
}

} // namespace

Q_DECLARE_METATYPE(FirmwareUploader::Outcome)

class TestFaultsEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        qRegisterMetaType<QAbstractSocket::SocketState>();
        qRegisterMetaType<FirmwareUploader::Outcome>();
    }

    // The unit stops answering altogether: offline after the silence, the
    // operator's values stay, edits made before the drop were taken by the
    // unit, and the link comes back by itself.
    void silenceGoesOfflineAndComesBack()
    {
        Unit u;
        QVERIFY(u.start());
        u.levels()->outputs[0].gain = -6.0f;
        App a(u);
        QVERIFY(u.announceTo(a.table()->boundDiscoveryPort()));
        QVERIFY(a.choose(0));
        a.showPage(a.outLevel());
        QVERIFY(waitUntil([&] { return a.outLevel()->record(0).gain == -6.0f; }));

        u.fallSilent(true);
        // The operator goes on working while nothing answers.
        moveFader(a.outLevel(), 0, -12.0f);
        a.outLevel()->muteButton(1)->click();
        QVERIFY(waitUntil([&] { return !a.link()->isLinkUp(); }, 8000));
        QVERIFY(!a.link()->isLoggedIn());
        QVERIFY(!a.table()->isOnline(0));
        QVERIFY(!a.list()->itemAt(0)->isOnline());
        QCOMPARE(a.table()->table()->item(0, QDevTable::LinkColumn)->text(), QStringLiteral("Unconnected"));
        // The display keeps what the operator set; the unit had taken it.
        QCOMPARE(a.outLevel()->record(0).gain, -12.0f);
        QVERIFY(a.outLevel()->record(1).mute);
        QCOMPARE(u.levels()->outputs[0].gain, -12.0f);
        QVERIFY(u.levels()->outputs[1].mute);
        QCOMPARE(a.outLevel()->shownLevel(0), int(QOutLevel::MeterFloor));

        u.fallSilent(false);
        QVERIFY(waitUntil([&] { return a.link()->isLoggedIn(); }, 8000));
        QVERIFY(a.list()->itemAt(0)->isOnline());
        u.levels()->outputs[2].gain = 3.0f;
        QVERIFY(waitUntil([&] { return a.outLevel()->record(2).gain == 3.0f; }));
        QCOMPARE(a.outLevel()->record(0).gain, -12.0f);
        QVERIFY(a.outLevel()->record(1).mute);
    }

    // Half a frame, then the connection ends: the half is never taken for a
    // frame, and the next connection starts clean.
    void closeMidFrameReconnectsCleanly()
    {
        Unit u;
        QVERIFY(u.start());
        App a(u);
        QVERIFY(u.announceTo(a.table()->boundDiscoveryPort()));
        QVERIFY(a.choose(0));
        a.showPage(a.outLevel());
        QSignalSpy linkUp(a.link(), &Link::linkUpChanged);
        int floorMeters = 0;
        connect(a.link(), &Link::moduleMessage, this,
                [&](quint8 module, quint8 param, quint8, quint16 length, const uchar *payload) {
                    // The cut report is an input meter report at the floor;
                    // the unit's real meters read -20 dB.
                    if (module == 1 && param == 1 && length >= 1 && qint8(payload[0]) == -100)
                        ++floorMeters;
                });

        u.unit->closeMidFrame();
        QVERIFY(waitUntil([&] { return !linkUp.isEmpty() && !linkUp.first().at(0).toBool(); }));
        u.levels()->outputs[4].gain = -4.5f;
        QVERIFY(waitUntil([&] { return a.link()->isLoggedIn(); }, 8000));
        QVERIFY(waitUntil([&] { return a.outLevel()->record(4).gain == -4.5f; }));
        a.showPage(a.func()->inLevel());
        QTest::qWait(300);
        QCOMPARE(floorMeters, 0);
    }

    void garbledStreamIsRead_data()
    {
        QTest::addColumn<int>("garbage");
        QTest::addColumn<bool>("byteByByte");
        QTest::newRow("one byte of garbage between frames") << 1 << false;
        QTest::newRow("seven bytes of garbage between frames") << 7 << false;
        QTest::newRow("every frame cut into single bytes") << 0 << true;
        QTest::newRow("garbage and single bytes") << 5 << true;
    }

    void garbledStreamIsRead()
    {
        QFETCH(int, garbage);
        QFETCH(bool, byteByByte);
        Unit u;
        QVERIFY(u.start());
        App a(u);
        QVERIFY(u.announceTo(a.table()->boundDiscoveryPort()));
        QVERIFY(a.choose(0));
        a.showPage(a.outLevel());

        u.unit->setGarbageBetweenFrames(garbage);
        u.unit->setByteByByte(byteByByte);
        u.levels()->outputs[3].gain = -9.0f;
        u.levels()->outputs[5].mute = true;
        QVERIFY(waitUntil([&] { return a.outLevel()->record(3).gain == -9.0f && a.outLevel()->record(5).mute; },
                          8000));
        a.outLevel()->muteButton(6)->click();
        QVERIFY(waitUntil([&] { return u.levels()->outputs[6].mute; }));
        QVERIFY(a.link()->isLoggedIn());
        u.unit->setGarbageBetweenFrames(0);
        u.unit->setByteByByte(false);
    }

    // Reports one byte too long, one too short, or with the wrong op, for
    // every table the pages read: nothing changes on any page, and the
    // values arrive once the reports are whole again.
    void damagedReportsChangeNothing_data()
    {
        QTest::addColumn<int>("fault");
        QTest::newRow("one byte too many") << int(VirtualUnit::ReportFault::LongerByOne);
        QTest::newRow("one byte too few") << int(VirtualUnit::ReportFault::ShorterByOne);
        QTest::newRow("op 1 for 0x80") << int(VirtualUnit::ReportFault::WrongOp);
    }

    void damagedReportsChangeNothing()
    {
        QFETCH(int, fault);
        Unit u;
        QVERIFY(u.start());
        App a(u);
        QVERIFY(u.announceTo(a.table()->boundDiscoveryPort()));
        QVERIFY(a.choose(0));
        // On a loaded machine a page's first replies may take longer than
        // one visit: visit until two rounds show the same, then compare.
        a.visitPages();
        QStringList before = controlStates(a.func());
        for (int round = 0; round < 4; ++round) {
            a.visitPages();
            const QStringList now = controlStates(a.func());
            if (now == before)
                break;
            before = now;
        }
        QCOMPARE(firstDifference(before, controlStates(a.func())), QString());

        u.unit->setReportFault(VirtualUnit::ReportFault(fault));
        // (Texts such as the location are NUL-terminated reports of any
        // length: one byte more or less is still a whole report. The labels
        // come in fields of fixed size.)
        u.levels()->outputs[0].gain = -20.0f;
        u.levels()->inputs[1].mute = true;
        u.unit->system().inputLabels[2] = "Podium";
        a.visitPages();
        QCOMPARE(firstDifference(before, controlStates(a.func())), QString());
        QVERIFY(a.link()->isLoggedIn());

        u.unit->setReportFault(VirtualUnit::ReportFault::None);
        a.showPage(a.outLevel());
        QVERIFY(waitUntil([&] { return a.outLevel()->record(0).gain == -20.0f; }));
        a.showPage(a.func()->inLevel());
        QVERIFY(waitUntil([&] { return a.func()->inLevel()->record(1).mute; }));
        a.showPage(a.func()->setup());
        QVERIFY(waitUntil([&] { return a.func()->setup()->inLabelEdit(2)->text() == QLatin1String("Podium"); }));
    }

    // The unit announces itself at an address where nothing answers: the
    // link goes down and the device list follows; back at its address, the
    // unit is reconnected.
    void announcedAddressChangeDropsAndRestoresTheLink()
    {
        Unit u;
        QVERIFY(u.start());
        App a(u);
        QVERIFY(u.announceTo(a.table()->boundDiscoveryPort()));
        QVERIFY(a.choose(0));
        const quint32 home = u.unit->system().ipAddress;
        QCOMPARE(home, u.unit->address().toIPv4Address());
        const QHostAddress elsewhere = uniqueLoopback();

        u.unit->system().ipAddress = elsewhere.toIPv4Address();
        QVERIFY(waitUntil([&] { return a.list()->itemAt(0)->ipText() == elsewhere.toString(); }));
        QVERIFY(waitUntil([&] { return !a.link()->isLoggedIn() && !a.link()->isLinkUp(); }));
        QCOMPARE(a.table()->ipAddressAt(0), elsewhere.toIPv4Address());
        QTest::qWait(3 * AnnounceMs);
        QVERIFY(!a.link()->isLinkUp());

        u.unit->system().ipAddress = home;
        u.levels()->outputs[7].gain = -7.0f;
        QVERIFY(waitUntil([&] { return a.link()->isLoggedIn(); }, 8000));
        QCOMPARE(a.list()->itemAt(0)->ipText(), u.unit->address().toString());
        a.showPage(a.outLevel());
        QVERIFY(waitUntil([&] { return a.outLevel()->record(7).gain == -7.0f; }));
    }

    // A unit that refuses every password: the login dialog stays, nothing
    // that needs a login runs, and the right answer is taken once the unit
    // accepts again.
    void rejectedPasswordKeepsTheUnitLocked()
    {
        Unit u(0, QStringLiteral("1234"));
        u.unit->system().rejectLogins = true;
        QVERIFY(u.start());
        App a(u);
        QVERIFY(u.announceTo(a.table()->boundDiscoveryPort()));
        QVERIFY(waitUntil([&] { return a.list()->count() == 1; }));
        QTest::mouseClick(a.list()->itemAt(0), Qt::LeftButton);
        QLogin *login = a.window.loginDialog();
        QVERIFY(waitUntil([&] { return a.link()->isLinkUp() && login->isVisible(); }));

        auto enter = [&](const QString &password) {
            const int attempts = u.unit->receivedMatching(2, 1, 1, 1).size();
            login->passwordEdit()->setText(password);
            login->buttonBox()->button(QDialogButtonBox::Ok)->click();
            return waitUntil([&] { return u.unit->receivedMatching(2, 1, 1, 1).size() > attempts; });
        };
        QVERIFY(enter(QStringLiteral("1234")));
        QTest::qWait(300);
        QVERIFY(!a.link()->isLoggedIn());
        QVERIFY(login->isVisible());
        QCOMPARE(a.table()->table()->item(0, QDevTable::LinkColumn)->text(), QStringLiteral("Unconnected"));
        a.window.armUpdateClicked();
        QVERIFY(a.prompt.asked.isEmpty());
        QVERIFY(u.unit->receivedMatching(1, 1, 1).isEmpty());

        u.unit->system().rejectLogins = false;
        QVERIFY(enter(QStringLiteral("1234")));
        QVERIFY(waitUntil([&] { return a.link()->isLoggedIn() && !login->isVisible(); }));
        QCOMPARE(a.table()->table()->item(0, QDevTable::LinkColumn)->text(), QStringLiteral("Connected"));
    }

    // Every fourth block acknowledgement is lost: the upload stops where it
    // is and never claims to have finished; the window keeps working; a
    // new upload afterwards delivers the whole image.
    void lostFirmwareAcknowledgementNeverClaimsSuccess()
    {
        Unit u;
        QVERIFY(u.start());
        App a(u);
        QVERIFY(u.announceTo(a.table()->boundDiscoveryPort()));
        QVERIFY(a.choose(0));
        a.showPage(a.outLevel());

        QByteArray image("\x7f\x8c\x20\x00", 4);
        const int body = 10 * 1024 - 12;
        image += QByteArray(1, char(body & 0xFF)) + char((body >> 8) & 0xFF) + char(0) + char(0);
        for (int i = 0; i < body; ++i)
            image += char(i * 7);
        image += QByteArray("\xf0\x7f\x8c\xf0", 4);
        a.dir.write(QStringLiteral("fw.sbin"), image);
        FirmwareUploader *uploader = a.window.firmwareUpload()->uploader();
        QSignalSpy ended(uploader, &FirmwareUploader::ended);
        auto *firmware = u.unit->findModule<FirmwareModule>();
        QVERIFY(firmware);

        u.unit->setDropEveryNthAck(4);
        a.prompt.fileNames = QStringList{a.dir.filePath(QStringLiteral("fw.sbin"))};
        a.window.armUpdateClicked();
        QVERIFY(waitUntil([&] { return u.unit->acksDropped() == 1; }));
        QTest::qWait(500);
        QVERIFY(ended.isEmpty());
        QVERIFY(!firmware->isComplete(1));
        QCOMPARE(firmware->imageSize(1), 4 * 1024);
        QVERIFY(a.window.progressDialog()->isVisible());
        QCOMPARE(a.window.progressDialog()->value(), 3);
        // Meanwhile the pages are served as ever.
        u.levels()->outputs[1].gain = -1.5f;
        QVERIFY(waitUntil([&] { return a.outLevel()->record(1).gain == -1.5f; }));

        a.window.progressDialog()->cancel();
        u.unit->setDropEveryNthAck(0);
        a.prompt.fileNames = QStringList{a.dir.filePath(QStringLiteral("fw.sbin"))};
        a.window.armUpdateClicked();
        QVERIFY(waitUntil([&] {
            return !ended.isEmpty()
                && ended.last().at(0).value<FirmwareUploader::Outcome>() == FirmwareUploader::Outcome::Finished;
        }));
        QVERIFY(firmware->isComplete(1));
        QCOMPARE(firmware->image(1), image);
        QVERIFY(!a.window.progressDialog()->isVisible());
    }

    // Every second chunk of a preset export is lost: the export stops where
    // it is, never ends as if done, and can be cancelled and run again.
    void lostPresetAcknowledgementNeverClaimsSuccess()
    {
        Unit u;
        QVERIFY(u.start());
        App a(u);
        QVERIFY(u.announceTo(a.table()->boundDiscoveryPort()));
        QVERIFY(a.choose(0));
        auto *store = u.unit->findModule<PresetModule>();
        QVERIFY(store);
        store->save(*u.unit, 3);
        store->rename(3, "Three");
        QPreset *page = a.func()->preset();
        a.showPage(page);
        QVERIFY(waitUntil([&] { return page->isUsed(3); }));
        const QString path = a.dir.filePath(QStringLiteral("three.pst1"));
        const QByteArray image = PresetModule::slotImage(store->slotTable[3]);
        QVERIFY(image.size() > 2 * QPreset::ChunkSize);

        u.unit->setDropEveryNthAck(2);
        a.prompt.fileNames = QStringList{path};
        QTest::mouseClick(page->slotButton(3, QPreset::ExportButton), Qt::LeftButton);
        QVERIFY(waitUntil([&] { return u.unit->acksDropped() == 1; }));
        QTest::qWait(500);
        QCOMPARE(page->transfer(), QPreset::Transfer::ExportOne);
        QVERIFY(a.window.progressDialog()->isVisible());
        QCOMPARE(a.window.progressDialog()->value(), QPreset::ChunkSize);
        QCOMPARE(page->presetTransfer()->transferred(), quint32(QPreset::ChunkSize));
        // What has come so far waits beside the file, not under its name.
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(a.prompt.asked.isEmpty());

        a.window.progressDialog()->cancel();
        u.unit->setDropEveryNthAck(0);
        a.prompt.fileNames = QStringList{path};
        QTest::mouseClick(page->slotButton(3, QPreset::ExportButton), Qt::LeftButton);
        QVERIFY(waitUntil([&] { return page->transfer() == QPreset::Transfer::None; }));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), image);
        QVERIFY(!a.window.progressDialog()->isVisible());
    }

    // A fader moved on one unit, and another unit chosen before the move was
    // sent: the move is not applied to the unit chosen next, and the page
    // then shows that unit's own value.
    void pendingEditIsNotSentToTheNextUnit()
    {
        Unit first;
        QVERIFY(first.start());
        Unit second(first.unit->port());
        QVERIFY(second.start());
        first.levels()->outputs[0].gain = -1.0f;
        second.levels()->outputs[0].gain = -3.0f;
        App a(first);
        QVERIFY(first.announceTo(a.table()->boundDiscoveryPort()));
        QVERIFY(waitUntil([&] { return a.list()->count() == 1; }));
        QVERIFY(second.announceTo(a.table()->boundDiscoveryPort()));
        QVERIFY(a.choose(0));
        a.showPage(a.outLevel());
        QVERIFY(waitUntil([&] { return a.outLevel()->record(0).gain == -1.0f; }));

        QOutLevel *page = a.outLevel();
        page->timer()->stop();
        moveFader(page, 0, -30.0f);
        page->timeOut20ms();
        page->timeOut20ms();
        QVERIFY(a.choose(1));
        QVERIFY(second.unit->hasClient());
        for (int i = 0; i < 12; ++i)
            page->timeOut20ms();
        QTest::qWait(200);
        QVERIFY(second.unit->receivedMatching(3, 9, GainParam, 1).isEmpty());
        QCOMPARE(second.levels()->outputs[0].gain, -3.0f);

        page->timer()->start();
        QVERIFY(waitUntil([&] { return page->record(0).gain == -3.0f; }));
        // Edits made for this unit go to it.
        moveFader(page, 0, -8.0f);
        QVERIFY(waitUntil([&] { return second.levels()->outputs[0].gain == -8.0f; }));
        QCOMPARE(first.levels()->outputs[0].gain, -1.0f);
    }
};

QTEST_MAIN(TestFaultsEndToEnd)
#include "tst_faults_e2e.moc"
