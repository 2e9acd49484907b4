// The level and limiter pages and the calibration dialog in the main window,
// against the in-process virtual unit over loopback: what the operator sets
// reaches the unit and comes back, what the unit does by itself shows up,
// and the pages fit the 1024 x 600 window without clipping or overlap.

#include <QAbstractButton>
#include <QComboBox>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

#include "core/link/link.h"
#include "core/settings/appoptions.h"
#include "levelmodule.h"
#include "limitermodule.h"
#include "routingrig.h"
#include "systemmodule.h"
#include "ui/controls/qfader.h"
#include "ui/controls/qmeterwidget.h"
#include "ui/modules/qcail.h"
#include "ui/modules/qchannelselect.h"
#include "ui/modules/qinlevel.h"
#include "ui/modules/qinlimiter.h"
#include "ui/modules/qoutlevel.h"
#include "ui/modules/qoutlimiter.h"
#include "ui/pages/funcwidget.h"
#include "ui/pages/qoverview.h"
#include "ui/resources/resources.h"
#include "ui/window/mainwindow.h"

namespace {

// The main window connected to a virtual unit, with the level and limiter
// pages' timers stopped: waiting ticks them by hand.
struct Session
{
    ScratchDir dir;
    VirtualUnit unit;
    ScriptedPrompt prompt;
    QSettings settings;
    std::unique_ptr<mainWindow> window;
    QTcpSocket socket;

    static VirtualUnit::Options unitOptions()
    {
        VirtualUnit::Options o;
        o.address = uniqueLoopback();
        o.port = 0;
        return o;
    }

    Session()
        : unit(unitOptions())
        , settings(dir.filePath(QStringLiteral("store.ini")), QSettings::IniFormat)
    {
    }

    ~Session()
    {
        if (window)
            window->link()->setCurrentSocket(nullptr, 0, 0);
    }

    FuncWidget *pages() const { return window->funcWidget(); }
    LevelModule *levels() const { return unit.findModule<LevelModule>(); }
    LimiterModule *limiters() const { return unit.findModule<LimiterModule>(); }

    bool start()
    {
        if (!unit.start())
            return false;
        AppOptions options;
        options.controlPort = unit.port();
        options.discoveryPort = 0;
        options.commandAddress = unit.address().toString();
        options.commandPort = 0;
        window = std::make_unique<mainWindow>(options, &prompt, &settings);
        window->resize(1024, 600);
        window->show();
        for (ModulePage *page : driven())
            page->timer()->stop();
        window->link()->setCurrentSocket(&socket, 7, unit.address().toIPv4Address());
        // The version report switches the page set (and jumps to In Level)
        // once; wait for it so it does not undo a page a test has chosen.
        return waitUntil([this] { return window->link()->isLoggedIn() && pages()->hasInputDelayPage(); });
    }

    QList<ModulePage *> driven() const
    {
        return {pages()->inLevel(), pages()->outLevel(), pages()->inLimiter(), pages()->outLimiter()};
    }

    // Ticks the driven pages (and the calibration dialog while shown) until
    // `condition` holds.
    bool runUntil(const std::function<bool()> &condition)
    {
        return waitUntil([&] {
            for (ModulePage *page : driven())
                page->timeOut20ms();
            if (pages()->cailDialog()->isVisible())
                pages()->cailDialog()->timeOut20ms();
            return condition();
        });
    }

    void showPage(QWidget *page)
    {
        pages()->pageButton(page)->click();
        QCOMPARE(pages()->stack()->currentWidget(), page);
    }
};

void whenChannelSelectShows(const std::function<void(QChannelSelect *)> &act)
{
    QTimer::singleShot(0, [act] {
        auto *dialog = qobject_cast<QChannelSelect *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        act(dialog);
    });
}

// Text a widget shows and the room it has for it.
int textRoom(const QWidget *widget, QString *text)
{
    if (auto *label = qobject_cast<const QLabel *>(widget)) {
        *text = label->text();
        return label->contentsRect().width();
    }
    if (auto *button = qobject_cast<const QAbstractButton *>(widget)) {
        *text = button->text();
        return button->width() - 4;
    }
    if (auto *edit = qobject_cast<const QLineEdit *>(widget)) {
        *text = edit->text();
        return edit->width() - 4;
    }
    if (auto *combo = qobject_cast<const QComboBox *>(widget)) {
        *text = combo->currentText();
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.currentText = combo->currentText();
        return combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).width();
    }
    return -1;
}

// Every visible widget under `root` lies inside its parent, shows its whole
// text, and overlaps none of its visible siblings.
QStringList layoutFaults(QWidget *root)
{
    QStringList faults;
    const QList<QWidget *> widgets = root->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        if (!w->isVisibleTo(root) || w->isWindow())
            continue;
        const QString name = QStringLiteral("%1 '%2' in %3")
                                 .arg(QLatin1String(w->metaObject()->className()), w->objectName(),
                                      QLatin1String(w->parentWidget()->metaObject()->className()));
        if (!w->parentWidget()->rect().contains(w->geometry()))
            faults << QStringLiteral("%1 sticks out of its parent").arg(name);
        QString text;
        const int room = textRoom(w, &text);
        if (room >= 0) {
            for (const QString &line : text.split(QLatin1Char('\n'))) {
                if (w->fontMetrics().horizontalAdvance(line.trimmed()) > room)
                    faults << QStringLiteral("%1: \"%2\" is clipped").arg(name, line);
            }
        }
        for (QObject *other : w->parentWidget()->children()) {
            auto *sibling = qobject_cast<QWidget *>(other);
            if (!sibling || sibling <= w || !sibling->isVisibleTo(root) || sibling->isWindow())
                continue;
            if (w->geometry().intersects(sibling->geometry()))
                faults << QStringLiteral("%1 overlaps %2 '%3'")
                              .arg(name, QLatin1String(sibling->metaObject()->className()), sibling->objectName());
        }
    }
    return faults;
}

void saveShot(QWidget *widget, const QString &name)
{
    const QString dir = qEnvironmentVariable("ORVALIX_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        QVERIFY(widget->grab().save(QDir(dir).filePath(name + QStringLiteral(".png"))));
}

} // namespace

class TestLevelsEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // The look the application has, so the fit checks see its paddings.
        Resources::init();
        Resources::applyStyleSheet(qApp);
    }

    void gainSetOnThePageComesBack()
    {
        Session s;
        QVERIFY(s.start());
        QInLevel *page = s.pages()->inLevel();
        typeAndReturn(page->gainEdit(2), QStringLiteral("-12.5"));
        QVERIFY(s.runUntil([&] { return s.levels()->inputs[2].gain == -12.5f; }));

        // The unit changes it by itself (front panel); the page follows.
        s.levels()->inputs[2].gain = 3.0f;
        QVERIFY(s.runUntil([&] { return page->gainEdit(2)->text() == QLatin1String("3.0"); }));
        QCOMPARE(page->fader(2)->valueInUnits(), 3.0f);
        QCOMPARE(page->record(2).gain, 3.0f);
    }

    void groupMuteAppliedByTheUnitShowsAfterThePoll()
    {
        Session s;
        QVERIFY(s.start());
        s.levels()->inputs[0].group = 1;
        s.levels()->inputs[2].group = 1;
        // The overview's mute goes out for IN A alone; the unit mutes its group.
        s.window->overView()->inMuteButton(0)->click();
        QVERIFY(s.runUntil([&] { return s.levels()->inputs[2].mute; }));
        QVERIFY(s.pages()->inLevel()->muteButton(0)->isChecked());
        QVERIFY(s.runUntil([&] {
            return s.pages()->inLevel()->muteButton(2)->isChecked() && s.window->overView()->inMuteButton(2)->isChecked();
        }));
        QVERIFY(!s.pages()->inLevel()->muteButton(1)->isChecked());
        QCOMPARE(s.unit.receivedMatching(3, 1, 2, 1).size(), 1);
    }

    void overviewMetersFollowTheUnit()
    {
        Session s;
        QVERIFY(s.start());
        s.levels()->freezeProgramme = true;
        s.levels()->programme = {-20.0f, -30.0f, -12.0f, -40.0f};
        QOverView *overview = s.window->overView();
        QVERIFY(s.runUntil([&] {
            return overview->inLevelLabel(0)->text() == QLatin1String("-20")
                   && overview->inLevelLabel(1)->text() == QLatin1String("-30");
        }));
        QCOMPARE(s.pages()->inLevel()->meterLabel(0)->text(), QStringLiteral("-20dB"));

        // Gain and mute on the unit move its meters.
        s.levels()->inputs[0].gain = 6.0f;
        s.levels()->inputs[1].mute = true;
        QVERIFY(s.runUntil([&] {
            return overview->inLevelLabel(0)->text() == QLatin1String("-14")
                   && overview->inLevelMeter(1)->value() == overview->meterFloor();
        }));
        QCOMPARE(s.pages()->inLevel()->meterLabel(1)->text(), QStringLiteral("-60dB"));

        // A limiter taking 5 dB off shows as gain reduction, at -14 dB in
        // with a -24 dB threshold at 2:1.
        LimiterRecord squeeze;
        squeeze.enable = true;
        squeeze.threshold = -24.0f;
        squeeze.ratio = 2;
        s.limiters()->inputs[0] = squeeze;
        QVERIFY(s.runUntil([&] { return overview->inCompLabel(0)->text() == QLatin1String("5"); }));
        s.showPage(s.pages()->inLimiter());
        QVERIFY(s.runUntil([&] { return s.pages()->inLimiter()->reductionLabel()->text() == QLatin1String("5dB"); }));
        QCOMPARE(s.pages()->inLimiter()->inputLabel()->text(), QStringLiteral("-14dB"));
        QCOMPARE(s.pages()->inLimiter()->outputLabel()->text(), QStringLiteral("-19dB"));
    }

    void limiterEditsCopiesAndResetsReachTheUnit()
    {
        Session s;
        QVERIFY(s.start());
        QInLimiter *page = s.pages()->inLimiter();
        s.showPage(page);
        page->channelButton(1)->click();
        typeAndReturn(page->field(LimiterPage::Threshold), QStringLiteral("-20"));
        typeAndReturn(page->field(LimiterPage::Ratio), QStringLiteral("6"));
        page->enableButton()->click();
        QVERIFY(s.runUntil([&] { return s.limiters()->inputs[1] == page->record(1); }));
        QCOMPARE(s.limiters()->inputs[1].threshold, -20.0f);

        whenChannelSelectShows([](QChannelSelect *d) {
            d->inputButton(0)->click();
            d->outputButton(2)->click();
            d->okButton()->click();
        });
        page->copyButton()->click();
        QVERIFY(s.runUntil([&] {
            return s.limiters()->inputs[0] == page->record(1) && s.limiters()->outputs[2] == page->record(1);
        }));
        QCOMPARE(s.pages()->outLimiter()->record(2), page->record(1));
        QCOMPARE(s.limiters()->outputs[3], LimiterRecord());

        s.prompt.answers = {0};
        page->resetButton()->click();
        QVERIFY(s.runUntil([&] { return s.limiters()->inputs[1] == LimiterRecord(); }));
        // The next poll agrees with what the page shows.
        s.unit.clearReceived();
        QVERIFY(s.runUntil([&] { return s.unit.receivedMatching(3, 5, 1, 0).size() >= 8; }));
        QCOMPARE(page->record(1), LimiterRecord());
        QCOMPARE(page->record(0).threshold, -20.0f);
    }

    void calibrationRoundTrip()
    {
        Session s;
        QVERIFY(s.start());
        QCail *cail = s.pages()->cailDialog();
        s.pages()->cailAccess();
        QVERIFY(cail->isVisible());
        cail->timer()->stop();

        typeAndReturn(cail->outEdit(1), QStringLiteral("-4"));
        QVERIFY(s.runUntil([&] { return s.levels()->outputTrim[1] == -4.0f; }));
        s.levels()->inputTrim[3] = 2.5f;
        QVERIFY(s.runUntil([&] { return cail->inEdit(3)->text() == QLatin1String("2.5"); }));

        // The trim moves the input's meter like a gain.
        s.levels()->freezeProgramme = true;
        s.levels()->programme[3] = -30.0f;
        QVERIFY(s.runUntil([&] { return s.pages()->inLevel()->meterLabel(3)->text() == QLatin1String("-28dB"); }));

        typeAndReturn(s.pages()->inLevel()->gainEdit(0), QStringLiteral("-9"));
        QVERIFY(s.runUntil([&] { return s.levels()->inputs[0].gain == -9.0f; }));
        s.prompt.answers = {0};
        cail->systemResetButton()->click();
        QVERIFY(s.runUntil([&] {
            return s.unit.system().configResets == 1 && s.levels()->inputs[0].gain == 0.0f
                   && s.levels()->inputTrim[3] == 0.0f;
        }));
        QVERIFY(s.runUntil([&] { return s.pages()->inLevel()->gainEdit(0)->text() == QLatin1String("0.0"); }));
        cail->hide();
    }

    void pagesFitTheWindow_data()
    {
        QTest::addColumn<QString>("page");
        QTest::newRow("in level") << "inLevel";
        QTest::newRow("out level") << "outLevel";
        QTest::newRow("in limiter") << "inLimiter";
        QTest::newRow("out limiter") << "outLimiter";
    }
    void pagesFitTheWindow()
    {
        QFETCH(QString, page);
        Session s;
        QVERIFY(s.start());
        FuncWidget *pages = s.pages();
        pages->inLevel()->setSourceVisible(true);
        pages->setInLabel(1, QStringLiteral("Lectern mic"));
        QWidget *shown = page == QLatin1String("inLevel")    ? static_cast<QWidget *>(pages->inLevel())
                         : page == QLatin1String("outLevel") ? static_cast<QWidget *>(pages->outLevel())
                         : page == QLatin1String("inLimiter") ? static_cast<QWidget *>(pages->inLimiter())
                                                              : static_cast<QWidget *>(pages->outLimiter());
        s.showPage(shown);
        // Live values, so the texts are the long ones.
        s.levels()->inputs[1].gain = -69.9f;
        s.levels()->outputs[7].gain = -69.9f;
        s.limiters()->inputs[0].threshold = -119.5f;
        s.limiters()->outputs[0].threshold = -119.5f;
        s.limiters()->outputs[0].attack = 1000;
        QVERIFY(s.runUntil([&] {
            if (shown == pages->inLevel())
                return pages->inLevel()->gainEdit(1)->text() == QLatin1String("-69.9");
            if (shown == pages->outLevel())
                return pages->outLevel()->gainEdit(7)->text() == QLatin1String("-69.9");
            auto *limiter = static_cast<LimiterPage *>(shown);
            return limiter->field(LimiterPage::Threshold)->text() == QLatin1String("-119.5");
        }));
        QCOMPARE(s.window->size(), QSize(1024, 600));
        QCoreApplication::processEvents();
        saveShot(s.window.get(), QStringLiteral("window-") + page);
        saveShot(shown, QStringLiteral("page-") + page);
        const QStringList faults = layoutFaults(shown);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void calibrationDialogFits()
    {
        Session s;
        QVERIFY(s.start());
        QCail *cail = s.pages()->cailDialog();
        s.pages()->cailAccess();
        cail->timer()->stop();
        cail->setOutlevelGain(7, -69.9f);
        QCoreApplication::processEvents();
        QCOMPARE(cail->size(), QSize(1000, 340));
        saveShot(cail, QStringLiteral("calibration"));
        const QStringList faults = layoutFaults(cail);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        cail->hide();
        QVERIFY(s.settings.contains(QStringLiteral("CailGeometry")));
    }
};

QTEST_MAIN(TestLevelsEndToEnd)
#include "tst_levels_e2e.moc"
