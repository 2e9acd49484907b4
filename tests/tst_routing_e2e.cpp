// The gate, feedback, delay, mixer and generator pages against the virtual
// unit over loopback: a change made on a page reaches the unit and comes
// back, a change made on the unit shows after the next poll, and the main
// window relays the gate lamps to the overview. With ORVALIX_SCREENSHOTS set
// to a directory, pictures of each page in the 1024 x 600 window go there.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>
#include <QtTest>

#include <cmath>

#include "delaymodule.h"
#include "gatemodule.h"
#include "generatormodule.h"
#include "levelmodule.h"
#include "mixermodule.h"
#include "routingrig.h"
#include "systemmodule.h"
#include "ui/controls/knob.h"
#include "ui/controls/qfader.h"
#include "ui/controls/qhslider.h"
#include "ui/modules/qfeedback.h"
#include "ui/modules/qgate.h"
#include "ui/modules/qindelay.h"
#include "ui/modules/qmixbutton.h"
#include "ui/modules/qmixer.h"
#include "ui/modules/qoutdelay.h"
#include "ui/modules/qsiggenerator.h"
#include "ui/pages/funcwidget.h"
#include "ui/pages/qoverview.h"
#include "ui/resources/resources.h"
#include "ui/window/mainwindow.h"

namespace {

QString screenshotDir()
{
    return qEnvironmentVariable("ORVALIX_SCREENSHOTS");
}

// One page on a black function area of the size it has in the 1024 x 600
// window, after two polls of a unit prepared by `prepare`.
template <class Page>
void shootPage(const QString &name, int family, const std::function<void(VirtualUnit &)> &prepare,
               const std::function<void(Page &)> &operate = {})
{
    QWidget area;
    area.setObjectName(QStringLiteral("funcWidget"));
    auto *layout = new QVBoxLayout(&area);
    layout->setContentsMargins(0, 0, 0, 0);
    PageRig<Page> rig(family, true);
    prepare(rig.unit);
    QVERIFY(rig.connect());
    layout->addWidget(&rig.page);
    area.resize(865, 362);
    area.show();
    for (int i = 0; i < 2; ++i) {
        rig.tick(10);
        QTest::qWait(150);
    }
    if (operate)
        operate(rig.page);
    area.grab().save(QDir(screenshotDir()).filePath(name));
}

// A poll of the page, then until the replies are in.
template <class Page>
bool pollUntil(PageRig<Page> &rig, const std::function<bool()> &shown)
{
    rig.tick(10);
    return waitUntil(shown);
}

} // namespace

class TestRoutingEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (!qEnvironmentVariableIsEmpty("ORVALIX_SCREENSHOTS"))
            Resources::applyStyleSheet(qApp);
    }

    void gate()
    {
        PageRig<QGate> rig(1, true);
        QVERIFY(rig.connect());
        rig.page.show();
        GateModule *unit = rig.unit.findModule<GateModule>();
        QVERIFY(unit);
        unit->freezeLevels = true;
        unit->level = {-10.0f, -100.0f, -100.0f, -100.0f};

        typeAndReturn(rig.page.thresholdEdit(0), QStringLiteral("-40"));
        QVERIFY(waitUntil([&] { return unit->gates[0].threshold == -40; }));
        unit->gates[2].threshold = -90;
        unit->gates[2].decay = 300;
        unit->gates[2].enable = true;
        QVERIFY(pollUntil(rig, [&] {
            return rig.page.thresholdEdit(2)->text() == QLatin1String("-90")
                   && rig.page.decayKnob(2)->value() == 300.0f && rig.page.enableButton(2)->isChecked();
        }));
        QCOMPARE(rig.page.thresholdEdit(0)->text(), QStringLiteral("-40"));

        // Input A at -10 dB is above its threshold, B at -100 below.
        unit->updateOpenStates(1000);
        rig.tick(5);
        QVERIFY(waitUntil([&] { return rig.page.isOpen(0); }));
        QVERIFY(!rig.page.isOpen(1));
        // B rises above a threshold of -120.
        unit->gates[1].threshold = -120;
        unit->updateOpenStates(100);
        rig.tick(5);
        QVERIFY(waitUntil([&] { return rig.page.isOpen(1); }));
    }

    void feedback()
    {
        PageRig<QFeedback> rig(1, true);
        QVERIFY(rig.connect());
        rig.page.show();
        GateModule *unit = rig.unit.findModule<GateModule>();
        QTest::mouseClick(rig.page.enableButton(1), Qt::LeftButton);
        QVERIFY(waitUntil([&] { return unit->feedback[1]; }));
        unit->feedback[3] = true;
        QVERIFY(pollUntil(rig, [&] { return rig.page.enableButton(3)->isChecked(); }));
        QVERIFY(rig.page.enableButton(1)->isChecked());
    }

    void inputDelay()
    {
        PageRig<QInDelay> rig(1, true);
        QVERIFY(rig.connect());
        rig.page.show();
        DelayModule *unit = rig.unit.findModule<DelayModule>();
        typeAndReturn(rig.page.spinBox(0), QStringLiteral("25"));
        rig.tick(5);
        QVERIFY(waitUntil([&] { return unit->inputs[0] == 25.0f; }));
        unit->inputs[2] = 40.5f;
        QVERIFY(pollUntil(rig, [&] { return rig.page.spinBox(2)->value() == 40.5; }));
        QCOMPARE(rig.page.metresField(2)->text(), QStringLiteral("13.770"));
        QCOMPARE(rig.page.spinBox(0)->value(), 25.0);
    }

    void outputDelayOnTheReducedFamily()
    {
        PageRig<QOutDelay> rig(2, true);
        QVERIFY(rig.connect());
        rig.page.show();
        DelayModule *unit = rig.unit.findModule<DelayModule>();
        QVERIFY(!unit->hasInputDelay());

        // Before the page knows the family, 500 ms goes out; the unit keeps
        // what its line can do, and the page shows that after the poll.
        typeAndReturn(rig.page.spinBox(4), QStringLiteral("500"));
        rig.tick(5);
        QVERIFY(waitUntil([&] { return unit->outputs[4] == 148.0f; }));
        rig.tick(5);
        QVERIFY(pollUntil(rig, [&] { return rig.page.delay(4) == 148.0f; }));

        rig.page.setReducedRange(true);
        typeAndReturn(rig.page.spinBox(5), QStringLiteral("12.35"));
        rig.tick(5);
        QVERIFY(waitUntil([&] { return unit->outputs[5] == 12.36f; }));
        unit->outputs[7] = 100.0f;
        QVERIFY(pollUntil(rig, [&] { return rig.page.slider(7)->valueInUnits() == 100.0f; }));
    }

    void mixer()
    {
        PageRig<QMixer> rig(1, true);
        ScriptedPrompt prompt;
        rig.page.setPrompt(&prompt);
        QVERIFY(rig.connect());
        rig.page.show();
        QApplication::setActiveWindow(&rig.page);
        QVERIFY(QTest::qWaitForWindowActive(&rig.page));
        MixerModule *unit = rig.unit.findModule<MixerModule>();

        QTest::mouseDClick(rig.page.mixButton(1, 0), Qt::LeftButton);
        QVERIFY(waitUntil([&] { return unit->outputs[1].enable[0]; }));
        typeAndReturn(rig.page.gainEdit(0), QStringLiteral("-12"));
        QVERIFY(waitUntil([&] { return unit->outputs[1].gain[0] == -12; }));

        unit->outputs[6].gain[3] = -20;
        unit->outputs[6].enable[3] = true;
        QVERIFY(pollUntil(rig, [&] {
            return rig.page.mixButton(6, 3)->text() == QLatin1String("-20dB") && rig.page.mixButton(6, 3)->isLit();
        }));
        QCOMPARE(rig.page.mixButton(1, 0)->text(), QStringLiteral("-12dB"));

        QTest::mouseClick(rig.page.allMixButton(), Qt::LeftButton);
        QVERIFY(waitUntil([&] { return unit->outputs[7].enable[3] && unit->outputs[6].gain[3] == 0; }));
    }

    void generator()
    {
        PageRig<QSigGenerator> rig(1, true);
        QVERIFY(rig.connect());
        rig.page.show();
        GeneratorModule *unit = rig.unit.findModule<GeneratorModule>();

        QTest::mouseClick(rig.page.outputButton(2), Qt::LeftButton);
        rig.page.sourceBox()->setCurrentIndex(0);
        typeAndReturn(rig.page.gainEdit(), QStringLiteral("-20"));
        QVERIFY(waitUntil([&] {
            return unit->generator.output[2] && unit->generator.source == 0 && unit->generator.gain == -20.0f;
        }));
        // The generator feeds the outputs it is switched onto, unless muted.
        QCOMPARE(unit->feedLevel(2), -32.0f);
        QVERIFY(std::isnan(unit->feedLevel(3)));
        // ... and the unit's output meters show it.
        const LevelModule *levels = rig.unit.findModule<LevelModule>();
        QVERIFY(levels);
        QCOMPARE(levels->outputMeter(rig.unit, 2), -32);
        QCOMPARE(levels->outputMeter(rig.unit, 3), int(LevelModule::Floor));

        unit->generator.frequency = 2500;
        unit->generator.mute = true;
        unit->generator.output[6] = true;
        QVERIFY(pollUntil(rig, [&] {
            return rig.page.frequencyEdit()->text() == QLatin1String("2500") && rig.page.muteButton()->isChecked()
                   && rig.page.outputButton(6)->isChecked();
        }));
        QVERIFY(std::isnan(unit->feedLevel(2)));
        QCOMPARE(levels->outputMeter(rig.unit, 2), int(LevelModule::Floor));
        QCOMPARE(rig.page.gainFader()->value(), -20);
    }

    void overviewShowsTheGateLamps()
    {
        ScratchDir dir;
        VirtualUnit::Options options;
        options.address = uniqueLoopback();
        options.port = 0;
        VirtualUnit unit(options);
        QVERIFY(unit.start());
        GateModule *gate = unit.findModule<GateModule>();
        gate->freezeLevels = true;
        gate->level = {-100.0f, -100.0f, -20.0f, -100.0f};

        ScriptedPrompt prompt;
        QSettings settings(dir.filePath(QStringLiteral("store.ini")), QSettings::IniFormat);
        AppOptions appOptions;
        appOptions.controlPort = unit.port();
        mainWindow window(appOptions, &prompt, &settings);
        QTcpSocket socket;
        window.link()->setCurrentSocket(&socket, 7, options.address.toIPv4Address());
        QVERIFY(waitUntil([&] { return window.link()->isLoggedIn(); }));

        // The gate page is not shown; its open-state poll runs anyway.
        QLabel *lamp = window.overView()->gateLamp(2);
        const QString closed = lamp->styleSheet();
        QVERIFY(waitUntil([&] { return lamp->styleSheet() != closed; }));
        QVERIFY(lamp->styleSheet().contains(QLatin1String("#00FF00")));
        QVERIFY(!window.overView()->gateLamp(0)->styleSheet().contains(QLatin1String("#00FF00")));
        window.link()->setCurrentSocket(nullptr, 0, 0);
    }

    void pageScreenshots()
    {
        if (screenshotDir().isEmpty())
            QSKIP("set ORVALIX_SCREENSHOTS to a directory to take pictures");
        shootPage<QGate>(QStringLiteral("area-gate.png"), 1, [](VirtualUnit &unit) {
            GateModule *gate = unit.findModule<GateModule>();
            gate->freezeLevels = true;
            gate->level = {-20.0f, -90.0f, -30.0f, -100.0f};
            gate->updateOpenStates(1000);
            gate->gates[0] = {true, -50, 5, 200};
            gate->gates[2] = {true, -40, 20, 500};
        });
        shootPage<QFeedback>(QStringLiteral("area-feedback.png"), 1,
                             [](VirtualUnit &unit) { unit.findModule<GateModule>()->feedback[1] = true; });
        shootPage<QInDelay>(QStringLiteral("area-indelay.png"), 1, [](VirtualUnit &unit) {
            unit.findModule<DelayModule>()->inputs = {0.0f, 10.0f, 125.5f, 1000.0f};
        });
        shootPage<QOutDelay>(
            QStringLiteral("area-outdelay-reduced.png"), 2,
            [](VirtualUnit &unit) {
                unit.findModule<DelayModule>()->outputs = {0.0f, 2.5f, 12.36f, 218.0f, 148.0f, 0.0f, 100.0f, 40.0f};
            },
            [](QOutDelay &page) { page.setReducedRange(true); });
        shootPage<QMixer>(QStringLiteral("area-mixer.png"), 1, [](VirtualUnit &unit) {
            MixerModule *mixer = unit.findModule<MixerModule>();
            for (int o = 0; o < 8; ++o) {
                mixer->outputs[size_t(o)].enable[size_t(o % 4)] = true;
                mixer->outputs[size_t(o)].gain[size_t(o % 4)] = qint8(-3 * o);
            }
        });
        shootPage<QSigGenerator>(QStringLiteral("area-signal.png"), 1, [](VirtualUnit &unit) {
            GeneratorModule *generator = unit.findModule<GeneratorModule>();
            generator->generator.output = {true, true, false, false, false, false, false, true};
            generator->generator.mute = true;
        });
    }

    void screenshots()
    {
        const QString out = screenshotDir();
        if (out.isEmpty())
            QSKIP("set ORVALIX_SCREENSHOTS to a directory to take pictures");
        ScratchDir dir;
        VirtualUnit::Options options;
        options.address = uniqueLoopback();
        options.port = 0;
        VirtualUnit unit(options);
        QVERIFY(unit.start());
        unit.findModule<GateModule>()->gates[1].enable = true;
        MixerModule *mixer = unit.findModule<MixerModule>();
        for (int o = 0; o < 8; ++o) {
            mixer->outputs[size_t(o)].enable[size_t(o % 4)] = true;
            mixer->outputs[size_t(o)].gain[size_t(o % 4)] = qint8(-3 * o);
        }
        unit.findModule<GeneratorModule>()->generator.output = {true, true, false, false, false, false, false, false};
        unit.findModule<DelayModule>()->outputs = {0.0f, 2.5f, 12.36f, 125.0f, 500.0f, 0.0f, 1000.0f, 2000.0f};

        ScriptedPrompt prompt;
        QSettings settings(dir.filePath(QStringLiteral("store.ini")), QSettings::IniFormat);
        AppOptions appOptions;
        appOptions.controlPort = unit.port();
        mainWindow window(appOptions, &prompt, &settings);
        window.resize(1024, 600);
        window.show();
        QTcpSocket socket;
        window.link()->setCurrentSocket(&socket, 7, options.address.toIPv4Address());
        QVERIFY(waitUntil([&] { return window.link()->isLoggedIn(); }));
        QVERIFY(waitUntil([&] { return window.funcWidget()->hasInputDelayPage(); }));

        FuncWidget *pages = window.funcWidget();
        const QList<QPair<QWidget *, QString>> shots{
            {pages->gate(), QStringLiteral("gate.png")},         {pages->feedback(), QStringLiteral("feedback.png")},
            {pages->inDelay(), QStringLiteral("indelay.png")},   {pages->mixer(), QStringLiteral("mixer.png")},
            {pages->sigGenerator(), QStringLiteral("signal.png")}, {pages->outDelay(), QStringLiteral("outdelay.png")},
        };
        for (const auto &shot : shots) {
            QTest::mouseClick(pages->pageButton(shot.first), Qt::LeftButton);
            QTest::qWait(600);
            window.grab().save(QDir(out).filePath(shot.second));
            shot.first->grab().save(QDir(out).filePath(QStringLiteral("page-") + shot.second));
        }
        window.link()->setCurrentSocket(nullptr, 0, 0);
    }
};

QTEST_MAIN(TestRoutingEndToEnd)
#include "tst_routing_e2e.moc"
