// The edit history against the in-process virtual unit over loopback: an
// edit on each kind of page, its undo and redo reaching the unit, a gesture
// as one step, one history per unit, a step the unit changed since, the way
// back to the state at connect, what closes the history, and settings
// prepared without a unit reaching it.

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStackedWidget>
#include <QTcpSocket>
#include <QUndoGroup>
#include <QUndoStack>
#include <QtTest>

#include "core/link/link.h"
#include "core/presets/presetimage.h"
#include "core/records/systemtext.h"
#include "core/settings/appoptions.h"
#include "core/state/parametercatalog.h"
#include "core/state/statediff.h"
#include "delaymodule.h"
#include "deqmodule.h"
#include "filtermodule.h"
#include "firmodule.h"
#include "gatemodule.h"
#include "generatormodule.h"
#include "levelmodule.h"
#include "limitermodule.h"
#include "mixermodule.h"
#include "systemmodule.h"
#include "testsupport.h"
#include "ui/controls/qfader.h"
#include "ui/controls/valuefield.h"
#include "ui/modules/deqwidget.h"
#include "ui/modules/filterpage.h"
#include "ui/modules/firwidget.h"
#include "ui/modules/qfeedback.h"
#include "ui/modules/qgate.h"
#include "ui/modules/qinlevel.h"
#include "ui/modules/qmixer.h"
#include "ui/modules/qoutdelay.h"
#include "ui/modules/qoutfilter.h"
#include "ui/modules/qoutlevel.h"
#include "ui/modules/qoutlimiter.h"
#include "ui/modules/qsiggenerator.h"
#include "ui/pages/funcwidget.h"
#include "ui/pages/pagestate.h"
#include "ui/pages/presetpages.h"
#include "ui/pages/qsetup.h"
#include "ui/pages/unithistory.h"
#include "ui/window/historydock.h"
#include "ui/window/mainwindow.h"
#include "virtualunit.h"

namespace {

// What the virtual unit holds, as a UnitState.
UnitState unitState(VirtualUnit &unit)
{
    UnitState s(UnitFamily::Sharc96k);
    auto *level = unit.findModule<LevelModule>();
    auto *gate = unit.findModule<GateModule>();
    auto *filter = unit.findModule<FilterModule>();
    auto *limiter = unit.findModule<LimiterModule>();
    auto *delay = unit.findModule<DelayModule>();
    auto *deq = unit.findModule<DeqModule>();
    for (size_t i = 0; i < 4; ++i) {
        s.dsp.inputLevels[i] = level->inputs[i];
        s.dsp.gates[i] = gate->gates[i];
        s.dsp.feedback[i] = gate->feedback[i];
        s.dsp.inputFilters[i] = filter->inputs[i];
        s.dsp.inputLimiters[i] = limiter->inputs[i];
        s.dsp.inputDelays[i] = delay->inputs[i];
        s.dsp.deq[i] = deq->bands[i];
        const QByteArray &label = unit.system().inputLabels[i];
        s.inputLabels[i] = SystemText::text(reinterpret_cast<const uchar *>(label.constData()), label.size());
    }
    s.dsp.generator = unit.findModule<GeneratorModule>()->generator;
    for (size_t o = 0; o < 8; ++o) {
        s.dsp.mixer[o] = unit.findModule<MixerModule>()->outputs[o];
        s.dsp.outputLevels[o] = level->outputs[o];
        s.dsp.outputFilters[o] = filter->outputs[o];
        s.dsp.outputLimiters[o] = limiter->outputs[o];
        s.dsp.outputDelays[o] = delay->outputs[o];
        const QByteArray &fir = unit.findModule<FirModule>()->records[o];
        if (fir.size() == FirChannel::Size)
            s.dsp.fir[o] = FirChannel::decode(reinterpret_cast<const uchar *>(fir.constData()));
        const QByteArray &label = unit.system().outputLabels[o];
        s.outputLabels[o] = SystemText::text(reinterpret_cast<const uchar *>(label.constData()), label.size());
    }
    return s;
}

QJsonValue unitValue(VirtualUnit &unit, const QString &path)
{
    return ParameterCatalog::get(unitState(unit), path);
}

VirtualUnit::Options unitOptions()
{
    VirtualUnit::Options o;
    o.address = uniqueLoopback();
    o.port = 0;
    return o;
}

// The main window, and virtual units it can be connected to (unit ids 7, 8).
struct Session
{
    ScratchDir dir;
    VirtualUnit unit{unitOptions()};
    VirtualUnit other{unitOptions()};
    ScriptedPrompt prompt;
    QSettings settings{dir.filePath(QStringLiteral("store.ini")), QSettings::IniFormat};
    std::unique_ptr<mainWindow> window;
    QTcpSocket socket;
    QTcpSocket otherSocket;

    ~Session()
    {
        if (window)
            window->link()->setCurrentSocket(nullptr, 0, 0);
    }

    FuncWidget *pages() const { return window->funcWidget(); }
    UnitHistory *history() const { return window->history(); }
    HistoryDock *dock() const { return window->historyDock(); }

    bool open()
    {
        if (!unit.start() || !other.start())
            return false;
        AppOptions options;
        options.controlPort = unit.port();
        options.discoveryPort = 0;
        options.commandAddress = unit.address().toString();
        options.commandPort = 0;
        window = std::make_unique<mainWindow>(options, &prompt, &settings);
        window->resize(1024, 600);
        window->show();
        return true;
    }

    bool connectTo(bool second = false)
    {
        VirtualUnit &u = second ? other : unit;
        window->link()->setControlPort(u.port());
        window->link()->setCurrentSocket(second ? &otherSocket : &socket, second ? 8 : 7,
                                         u.address().toIPv4Address());
        return waitUntil([this] { return window->link()->isLoggedIn() && pages()->hasInputDelayPage(); });
    }

    bool start()
    {
        if (!open() || !connectTo())
            return false;
        // The reports after login are the unit's, not edits.
        QTest::qWait(UnitHistory::QuietMs + 100);
        history()->settle();
        return true;
    }

    void showPage(QWidget *page)
    {
        pages()->pageButton(page)->click();
        QCOMPARE(pages()->stack()->currentWidget(), page);
    }

    void type(QWidget *field, const QString &text)
    {
        field->setFocus();
        if (auto *edit = qobject_cast<QLineEdit *>(field))
            edit->selectAll();
        else
            QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }
};

using Edit = std::function<void(Session &)>;

} // namespace

Q_DECLARE_METATYPE(Edit)

class TestHistory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void editUndoRedo_data();
    void editUndoRedo();
    void gesture_data();
    void gesture();
    void perUnit();
    void changedOnUnit_data();
    void changedOnUnit();
    void backToConnect_data();
    void backToConnect();
    void closingActions_data();
    void closingActions();
    void prepared_data();
    void prepared();
};

void TestHistory::editUndoRedo_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("menu"); // the Undo item's text, when given

    auto typed = [](auto page, auto field, const char *text) {
        return Edit([=](Session &s) {
            s.showPage(page(s));
            s.type(field(s), QString::fromLatin1(text));
        });
    };
    QTest::newRow("input gain") << typed([](Session &s) { return s.pages()->inLevel(); },
                                         [](Session &s) { return s.pages()->inLevel()->gainEdit(0); }, "-6")
                                << "in.A.gain_db" << "";
    QTest::newRow("output gain") << typed([](Session &s) { return s.pages()->outLevel(); },
                                          [](Session &s) { return s.pages()->outLevel()->gainEdit(2); }, "-6")
                                 << "out.3.gain_db" << "Undo OUT 3 gain -6.0 dB";
    QTest::newRow("output mute") << Edit([](Session &s) {
        s.showPage(s.pages()->outLevel());
        s.pages()->outLevel()->muteButton(1)->click();
    }) << "out.2.mute" << "";
    QTest::newRow("gate") << typed([](Session &s) { return s.pages()->gate(); },
                                   [](Session &s) { return s.pages()->gate()->thresholdEdit(1); }, "-40")
                          << "in.B.gate.threshold_db" << "";
    QTest::newRow("feedback") << Edit([](Session &s) {
        s.showPage(s.pages()->feedback());
        s.pages()->feedback()->enableButton(2)->click();
    }) << "in.C.feedback.enable" << "";
    QTest::newRow("limiter") << typed([](Session &s) { return s.pages()->outLimiter(); },
                                      [](Session &s) { return s.pages()->outLimiter()->field(LimiterPage::Threshold); },
                                      "-10")
                             << "out.1.limiter.threshold_db" << "";
    QTest::newRow("delay") << typed([](Session &s) { return s.pages()->outDelay(); },
                                    [](Session &s) { return s.pages()->outDelay()->spinBox(3); }, "12.5")
                           << "out.4.delay_ms" << "";
    QTest::newRow("matrix") << typed([](Session &s) { return s.pages()->mixer(); },
                                     [](Session &s) { return s.pages()->mixer()->gainEdit(0); }, "-3")
                            << "matrix.out.1.in.A.gain_db" << "";
    QTest::newRow("filter band") << typed([](Session &s) { return s.pages()->outFilter(); },
                                          [](Session &s) { return s.pages()->outFilter()->bandControls().freqEdit; },
                                          "2500")
                                 << "out.1.peq.1.freq_hz" << "";
    QTest::newRow("dynamic eq") << typed([](Session &s) { return s.pages()->deq(); },
                                         [](Session &s) { return s.pages()->deq()->edit(DEQWidget::Freq); }, "2500")
                                << "in.A.deq.1.freq_hz" << "";
    QTest::newRow("generator") << typed([](Session &s) { return s.pages()->sigGenerator(); },
                                        [](Session &s) { return s.pages()->sigGenerator()->gainEdit(); }, "-20")
                               << "generator.gain_db" << "";
    QTest::newRow("fir update to device") << Edit([](Session &s) {
        s.showPage(s.pages()->fir());
        s.pages()->fir()->typeButton(FirWidget::HighPassType)->click();
        QVERIFY(s.pages()->fir()->updateButton()->isEnabled());
        s.pages()->fir()->updateButton()->click();
    }) << "out.1.fir.type" << "";
    QTest::newRow("label") << typed([](Session &s) { return s.pages()->setup(); },
                                    [](Session &s) { return s.pages()->setup()->inLabelEdit(0); }, "Vox")
                           << "in.A.label" << "Undo IN A label \"Vox\"";
}

void TestHistory::editUndoRedo()
{
    QFETCH(Edit, edit);
    QFETCH(QString, path);
    QFETCH(QString, menu);
    Session s;
    QVERIFY(s.start());
    const QJsonValue before = unitValue(s.unit, path);
    edit(s);
    QVERIFY(waitUntil([&] { return unitValue(s.unit, path) != before; }));
    const QJsonValue after = unitValue(s.unit, path);
    QCOMPARE(s.history()->stack()->count(), 1);
    if (!menu.isEmpty())
        QCOMPARE(s.dock()->undoAction()->text(), menu);

    s.dock()->undoAction()->trigger();
    QVERIFY2(waitUntil([&] { return unitValue(s.unit, path) == before; }), qPrintable(path));
    // The page may show the value a moment after the unit has it (a FIR
    // design is redrawn from the unit's report on a loaded machine).
    QTRY_COMPARE_WITH_TIMEOUT(ParameterCatalog::get(PageState::capture(*s.pages()), path), before, 5000);
    s.dock()->redoAction()->trigger();
    QVERIFY(waitUntil([&] { return unitValue(s.unit, path) == after; }));
    QTRY_COMPARE_WITH_TIMEOUT(ParameterCatalog::get(PageState::capture(*s.pages()), path), after, 5000);
    // Neither moved the history on.
    QCOMPARE(s.history()->stack()->count(), 1);
}

void TestHistory::gesture_data()
{
    QTest::addColumn<QList<int>>("strokes"); // fader moves per gesture
    QTest::addColumn<int>("steps");
    QTest::newRow("one drag") << QList<int>{5} << 1;
    QTest::newRow("two drags") << QList<int>{3, 2} << 2;
    QTest::newRow("three clicks") << QList<int>{1, 1, 1} << 3;
}

void TestHistory::gesture()
{
    QFETCH(QList<int>, strokes);
    QFETCH(int, steps);
    Session s;
    QVERIFY(s.start());
    s.showPage(s.pages()->outLevel());
    QFader *fader = s.pages()->outLevel()->fader(0);
    float gain = 0.0f;
    for (int moves : strokes) {
        s.history()->newGesture();
        for (int m = 0; m < moves; ++m) {
            gain -= 1.0f;
            Q_EMIT fader->valueChanged(gain);
            QVERIFY(waitUntil([&] { return unitValue(s.unit, QStringLiteral("out.1.gain_db")) == double(gain); }));
        }
    }
    QCOMPARE(s.history()->stack()->count(), steps);
    // Undoing every step is the way back to the start, whatever the steps.
    for (int i = 0; i < steps; ++i)
        s.dock()->undoAction()->trigger();
    QVERIFY(waitUntil([&] { return unitValue(s.unit, QStringLiteral("out.1.gain_db")) == 0.0; }));
}

void TestHistory::perUnit()
{
    Session s;
    QVERIFY(s.start());
    const QString path = QStringLiteral("in.A.gain_db");
    s.showPage(s.pages()->inLevel());
    s.type(s.pages()->inLevel()->gainEdit(0), QStringLiteral("-9"));
    QVERIFY(waitUntil([&] { return unitValue(s.unit, path) == -9.0; }));
    QUndoStack *first = s.history()->stack();
    QCOMPARE(first->count(), 1);

    QVERIFY(s.connectTo(true));
    QVERIFY(waitUntil([&] { return s.history()->currentUnit() == 8; }));
    QVERIFY(s.history()->stack() != first);
    QVERIFY(!s.dock()->undoAction()->isEnabled());
    s.dock()->undoAction()->trigger();
    s.history()->group()->undo();
    QTest::qWait(200);
    QCOMPARE(unitValue(s.other, path), 0.0);
    QCOMPARE(unitValue(s.unit, path), -9.0);

    // Back to the first unit on a new connection: its history again.
    s.socket.abort();
    QVERIFY(s.connectTo(false));
    QVERIFY(waitUntil([&] { return s.history()->currentUnit() == 7; }));
    QCOMPARE(s.history()->stack(), first);
    QVERIFY(s.dock()->undoAction()->isEnabled());
    QVERIFY(waitUntil([&] { return s.pages()->inLevel()->record(0).gain == -9.0f; }));
    QTest::qWait(UnitHistory::QuietMs + 100);
    s.dock()->undoAction()->trigger();
    QVERIFY(waitUntil([&] { return unitValue(s.unit, path) == 0.0; }));
    QCOMPARE(unitValue(s.other, path), 0.0);
}

void TestHistory::changedOnUnit_data()
{
    QTest::addColumn<bool>("changed");
    QTest::newRow("unit unchanged: undone") << false;
    QTest::newRow("changed by other means: skipped") << true;
}

void TestHistory::changedOnUnit()
{
    QFETCH(bool, changed);
    Session s;
    QVERIFY(s.start());
    const QString path = QStringLiteral("out.3.gain_db");
    s.showPage(s.pages()->outLevel());
    s.type(s.pages()->outLevel()->gainEdit(2), QStringLiteral("-6"));
    QVERIFY(waitUntil([&] { return unitValue(s.unit, path) == -6.0; }));
    if (changed) {
        // Another operator; the page learns it from its polling.
        s.unit.findModule<LevelModule>()->outputs[2].gain = -20.0f;
        QVERIFY(waitUntil([&] { return s.pages()->outLevel()->record(2).gain == -20.0f; }));
    }
    QTest::qWait(UnitHistory::QuietMs + 100);
    QSignalSpy messages(s.history(), &UnitHistory::message);
    s.dock()->undoAction()->trigger();
    const double expected = changed ? -20.0 : 0.0;
    QVERIFY(waitUntil([&] { return unitValue(s.unit, path) == expected; }));
    QTest::qWait(100);
    QCOMPARE(unitValue(s.unit, path), expected);
    QCOMPARE(messages.count(), changed ? 1 : 0);
    if (changed)
        QVERIFY(messages.first().first().toString().contains(QLatin1String("OUT 3 gain")));
}

void TestHistory::backToConnect_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("agreed") << 0;
    QTest::newRow("cancelled") << 1;
}

void TestHistory::backToConnect()
{
    QFETCH(int, answer);
    Session s;
    QVERIFY(s.start());
    const UnitState atConnect = unitState(s.unit);
    s.showPage(s.pages()->inLevel());
    s.type(s.pages()->inLevel()->gainEdit(0), QStringLiteral("-9"));
    s.type(s.pages()->inLevel()->gainEdit(0), QStringLiteral("-3"));
    s.showPage(s.pages()->gate());
    s.type(s.pages()->gate()->thresholdEdit(1), QStringLiteral("-40"));
    s.showPage(s.pages()->outLevel());
    s.pages()->outLevel()->muteButton(4)->click();
    QVERIFY(waitUntil([&] { return s.unit.findModule<LevelModule>()->outputs[4].mute; }));
    const UnitState edited = unitState(s.unit);
    QCOMPARE(StateDiff::between(atConnect, edited).size(), 3);

    s.prompt.answers = {answer};
    s.dock()->backAction()->trigger();
    QCOMPARE(s.prompt.asked.size(), 1);
    const UnitState &expected = answer == 0 ? atConnect : edited;
    QVERIFY(waitUntil([&] { return StateDiff::between(unitState(s.unit), expected).isEmpty(); }));
    // The way back is a step of its own.
    QCOMPARE(s.history()->stack()->count(), answer == 0 ? 5 : 4);
}

void TestHistory::closingActions_data()
{
    QTest::addColumn<int>("cls");
    QTest::addColumn<int>("module");
    QTest::addColumn<int>("param");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QString>("line");
    QTest::newRow("preset recall") << 3 << 32 << 9 << QByteArray("\x02", 1)
                                   << "Preset 3 recalled: history before this point cannot be undone";
    QTest::newRow("factory reset") << 2 << 2 << 17 << QByteArray()
                                   << "Factory settings restored: history before this point cannot be undone";
    QTest::newRow("login password") << 2 << 2 << 14 << QByteArray("abc")
                                    << "Password changed: history before this point cannot be undone";
}

void TestHistory::closingActions()
{
    QFETCH(int, cls);
    QFETCH(int, module);
    QFETCH(int, param);
    QFETCH(QByteArray, payload);
    QFETCH(QString, line);
    Session s;
    QVERIFY(s.start());
    s.showPage(s.pages()->inLevel());
    s.type(s.pages()->inLevel()->gainEdit(0), QStringLiteral("-9"));
    QVERIFY(waitUntil([&] { return s.history()->stack()->count() == 1; }));
    s.window->link()->sendFrame(quint8(cls), quint8(module), quint8(param), Frame::Set, payload.constData(),
                                quint16(payload.size()));
    QCOMPARE(s.history()->stack()->count(), 0);
    QCOMPARE(s.history()->closingLine(), line);
    QCOMPARE(s.dock()->undoAction()->text(), QStringLiteral("Cannot undo: ") + line);
    QVERIFY(!s.dock()->undoAction()->isEnabled());
}

void TestHistory::prepared_data()
{
    QTest::addColumn<bool>("import");      // an offline import, or an edit with no unit
    QTest::addColumn<bool>("connectFirst"); // the import made while connected
    QTest::addColumn<int>("onConnect");    // the connect question: 0 send, 1 take the unit's, -1 closed
    QTest::addColumn<bool>("sendAfter");   // then "Send to unit..." and agree
    QTest::addColumn<bool>("unitTakesPrepared");
    QTest::newRow("import, sent on connect") << true << false << 0 << false << true;
    QTest::newRow("import, unit's taken") << true << false << 1 << false << false;
    QTest::newRow("import, Send to unit later") << true << false << -1 << true << true;
    QTest::newRow("import while connected, Send to unit") << true << true << -1 << true << true;
    QTest::newRow("offline edit, sent on connect") << false << false << 0 << false << true;
    QTest::newRow("offline edit, unit's taken") << false << false << 1 << false << false;
}

void TestHistory::prepared()
{
    QFETCH(bool, import);
    QFETCH(bool, connectFirst);
    QFETCH(int, onConnect);
    QFETCH(bool, sendAfter);
    QFETCH(bool, unitTakesPrepared);
    Session s;
    QVERIFY(connectFirst ? s.start() : s.open());
    const UnitState unitBefore = unitState(s.unit);
    UnitState expected = unitBefore;
    if (import) {
        s.pages()->setFamily(true);
        PresetImage image = PresetPages::capture(*s.pages());
        image.inputLevels[0].gain = -12.0f;
        image.outputLevels[2].mute = true;
        image.mixer[1].gain[2] = -6;
        image.gates[1].threshold = -50;
        image.outputDelays[4] = 20.5f;
        image.outputFilters[0].bandGain[2] = 3.5f;
        image.generator.gain = -20.0f;
        image.deq[3][1].freq = 3000;
        s.pages()->importPresetFromPC(PresetImage::Sharc96k, image.pack(PresetImage::Sharc96k));
        expected.dsp = image;
    } else {
        s.showPage(s.pages()->inLevel());
        s.type(s.pages()->inLevel()->gainEdit(0), QStringLiteral("-6"));
        expected.dsp.inputLevels[0].gain = -6.0f;
    }
    QVERIFY(s.history()->hasPrepared());
    QVERIFY(s.dock()->sendAction()->isEnabled());

    const QString line = import ? QStringLiteral("IN A gain: 0.0 dB -> -12.0 dB")
                                : QStringLiteral("IN A gain: 0.0 dB -> -6.0 dB");
    if (!connectFirst) {
        s.prompt.answers = {onConnect};
        QVERIFY(s.connectTo());
        QVERIFY(waitUntil([&] { return !s.prompt.asked.isEmpty(); }, 12000));
        QVERIFY(s.prompt.asked.first().text.contains(line));
    }
    if (sendAfter) {
        QVERIFY(s.history()->hasPrepared());
        const int asked = s.prompt.asked.size();
        s.prompt.answers = {0};
        s.dock()->sendAction()->trigger();
        QVERIFY(waitUntil([&] { return s.prompt.asked.size() > asked; }, 12000));
        QVERIFY(s.prompt.asked.at(asked).text.contains(line));
    }
    const UnitState &target = unitTakesPrepared ? expected : unitBefore;
    waitUntil([&] { return StateDiff::between(unitState(s.unit), target).isEmpty(); });
    QTest::qWait(300);
    QCOMPARE(StateDiff::lines(StateDiff::between(unitState(s.unit), target)), QStringList());
    QVERIFY(!s.history()->hasPrepared());
    // The pages show what the unit holds.
    UnitState shown = target;
    shown.dsp = PresetPages::capture(*s.pages());
    QCOMPARE(StateDiff::lines(StateDiff::between(shown, target)), QStringList());
}

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
