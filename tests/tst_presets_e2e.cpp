// Presets end to end: the main window against the virtual unit over
// loopback. All slots out to a file and back restore the unit's store; one
// slot out and into another slot copies it; a slot saved, the unit changed
// and the slot recalled shows the saved values on every page.

#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QStackedWidget>
#include <QTcpSocket>
#include <QtTest>

#include <functional>

#include "core/link/link.h"
#include "delaymodule.h"
#include "deqmodule.h"
#include "filtermodule.h"
#include "firmodule.h"
#include "gatemodule.h"
#include "generatormodule.h"
#include "levelmodule.h"
#include "limitermodule.h"
#include "mixermodule.h"
#include "presetmodule.h"
#include "testsupport.h"
#include "ui/modules/deqwidget.h"
#include "ui/modules/firwidget.h"
#include "ui/modules/qfeedback.h"
#include "ui/modules/qgate.h"
#include "ui/modules/qindelay.h"
#include "ui/modules/qinfilter.h"
#include "ui/modules/qinlevel.h"
#include "ui/modules/qinlimiter.h"
#include "ui/modules/qmixer.h"
#include "ui/modules/qoutdelay.h"
#include "ui/modules/qoutfilter.h"
#include "ui/modules/qoutlevel.h"
#include "ui/modules/qoutlimiter.h"
#include "ui/modules/qsiggenerator.h"
#include "ui/pages/funcwidget.h"
#include "ui/pages/qpreset.h"
#include "ui/window/mainwindow.h"
#include "virtualunit.h"

namespace {

// A value of its own in every setting of the unit, all inside the ranges
// the unit and the pages keep (`seed` shifts them for a second state).
void setDistinctUnitState(VirtualUnit &unit, int seed)
{
    auto *level = unit.findModule<LevelModule>();
    auto *gate = unit.findModule<GateModule>();
    auto *limiter = unit.findModule<LimiterModule>();
    auto *filter = unit.findModule<FilterModule>();
    auto *delay = unit.findModule<DelayModule>();
    auto *mixer = unit.findModule<MixerModule>();
    auto *generator = unit.findModule<GeneratorModule>();
    auto *deq = unit.findModule<DeqModule>();
    auto *fir = unit.findModule<FirModule>();
    for (int c = 0; c < 4; ++c) {
        const size_t i = size_t(c);
        level->inputs[i].gain = -10.5f - float(c + seed);
        level->inputs[i].mute = (c + seed) % 2 == 1;
        level->inputs[i].invert = (c + seed) % 2 == 0;
        level->inputs[i].group = quint8((c + seed) % 3);
        gate->gates[i].enable = (c + seed) % 2 == 0;
        gate->gates[i].threshold = qint8(-10 - c - seed);
        gate->gates[i].attack = quint16(100 + c + seed);
        gate->gates[i].decay = quint16(200 + c + seed);
        gate->feedback[i] = (c + seed) % 3 == 0;
        limiter->inputs[i].enable = (c + seed) % 2 == 1;
        limiter->inputs[i].threshold = -20.5f - float(c + seed);
        limiter->inputs[i].ratio = quint8(3 + c + seed);
        limiter->inputs[i].attack = quint16(10 + c + seed);
        limiter->inputs[i].decay = quint16(50 + c + seed);
        delay->inputs[i] = 10.25f + float(c + seed);
        for (int b = 0; b < 3; ++b) {
            DeqBand &d = deq->bands[i][size_t(b)];
            d.bypass = quint8((c + b + seed) % 2);
            d.type = quint8((c + b + seed) % 3);
            d.freq = 150.0f + 100.0f * float(b) + float(c + seed);
            d.gain = 1.5f + float(b);
            d.q = 2.0f + 0.25f * float(c + seed);
            d.threshold = -10.0f - float(c + seed);
            d.attack = 5.0f + float(b + seed);
            d.release = 20.0f + float(c + seed);
            d.ratio = 2.0f + float(b + seed);
            d.mode = quint8(1 + (c + seed) % 2);
        }
    }
    level->sources = {quint8(seed % 2), quint8((seed + 1) % 2)};
    auto fillFilter = [seed](FilterChannel &f, int c) {
        c += seed;
        f.hpEnable = quint8(c % 2);
        f.hpType = quint8(c % 3);
        f.hpSlope = quint8(c % 6);
        f.hpFreq = quint16(30 + c);
        f.lpEnable = quint8(1 - c % 2);
        f.lpType = quint8((c + 1) % 3);
        f.lpSlope = quint8((c + 2) % 6);
        f.lpFreq = quint16(15000 + c);
        for (int b = 0; b < 16; ++b) {
            const size_t j = size_t(b);
            f.bandEnable[j] = quint8((b + c) % 2);
            f.bandType[j] = quint8((b + c) % 5);
            f.bandFreq[j] = quint16(100 + 10 * b + 200 * c);
            f.bandGain[j] = -5.5f + 0.5f * float(b) + float(c % 8);
            f.bandQIndex[j] = quint8((3 * b + c) % 65);
        }
    };
    for (int c = 0; c < 4; ++c)
        fillFilter(filter->inputs[size_t(c)], c);
    GeneratorRecord &g = generator->generator;
    g.mute = seed % 2 == 0;
    g.frequency = quint16(1234 + seed);
    g.gain = -17.0f - float(seed);
    g.source = quint8(seed % 2 == 0 ? GeneratorRecord::WhiteNoise : GeneratorRecord::PinkNoise);
    for (int o = 0; o < 8; ++o) {
        const size_t i = size_t(o);
        for (int in = 0; in < 4; ++in) {
            mixer->outputs[i].gain[size_t(in)] = qint8(-(o * 4 + in + seed));
            mixer->outputs[i].enable[size_t(in)] = (o + in + seed) % 2 == 1;
        }
        g.output[i] = (o + seed) % 3 == 0;
        level->outputs[i].gain = -3.5f - float(o + seed);
        level->outputs[i].mute = (o + seed) % 2 == 0;
        level->outputs[i].invert = (o + seed) % 3 == 1;
        level->outputs[i].group = quint8((o + seed) % 5);
        fillFilter(filter->outputs[i], 4 + o);
        limiter->outputs[i].enable = (o + seed) % 2 == 0;
        limiter->outputs[i].threshold = -30.5f - float(o + seed);
        limiter->outputs[i].ratio = quint8(10 + o + seed);
        limiter->outputs[i].attack = quint16(20 + o + seed);
        limiter->outputs[i].decay = quint16(60 + o + seed);
        delay->outputs[i] = 100.5f + 30.0f * float(o) + float(seed);
        FirChannel r;
        r.taps = quint16(256 + 16 * o);
        r.firType = quint8(1 + (o + seed) % 3);
        r.lowFreq = 300.0f + float(o + seed);
        r.highFreq = 6000.0f + float(o + seed);
        r.window = quint8(1 + (o + seed) % 7);
        r.kaiserBeta = float((o + seed) % 11);
        r.enable = quint8((o + seed) % 2);
        for (int k = 0; k < r.taps; ++k)
            r.coefficients[size_t(k)] = float(o * 1000 + k + seed) * 1e-4f;
        fir->records[i] = r.toBytes();
    }
}

// The main window connected and logged in to a family-1 virtual unit.
struct Bench
{
    ScratchDir dir;
    VirtualUnit unit;
    ScriptedPrompt prompt;
    QSettings *settings;
    mainWindow *window = nullptr;
    QTcpSocket socket;
    PresetModule *presets = nullptr;

    static VirtualUnit::Options options()
    {
        VirtualUnit::Options o;
        o.address = uniqueLoopback();
        o.port = 0;
        o.family = 1;
        return o;
    }

    Bench()
        : unit(options())
        , settings(new QSettings(dir.filePath(QStringLiteral("store.ini")), QSettings::IniFormat))
    {
        presets = unit.findModule<PresetModule>();
    }
    ~Bench()
    {
        if (window)
            window->link()->setCurrentSocket(nullptr, 0, 0);
        delete window;
        delete settings;
    }

    bool start()
    {
        if (!unit.start() || !presets)
            return false;
        AppOptions app;
        app.controlPort = unit.port();
        app.discoveryPort = 0;
        app.commandAddress = QStringLiteral("127.0.0.1");
        app.commandPort = 0;
        window = new mainWindow(app, &prompt, settings);
        window->show();
        window->link()->setCurrentSocket(&socket, 7, unit.address().toIPv4Address());
        // Logged in, and the version report has chosen the family-1 pages.
        return waitUntil([this] { return window->link()->isLoggedIn() && pages()->hasInputDelayPage(); }, 10000);
    }

    FuncWidget *pages() const { return window->funcWidget(); }
    QPreset *presetPage() const { return pages()->preset(); }

    void show(QWidget *page) { pages()->setCurrentIndex(pages()->stack()->indexOf(page)); }

    bool transferDone()
    {
        return waitUntil([this] { return presetPage()->transfer() == QPreset::Transfer::None; }, 20000);
    }
};

} // namespace

class TestPresetsEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exportAllChangeImportAllRestoresTheUnit()
    {
        Bench bench;
        QVERIFY(bench.start());
        PresetModule &store = *bench.presets;
        for (int slot : {0, 3, 31}) {
            setDistinctUnitState(bench.unit, slot);
            store.save(bench.unit, slot);
            store.rename(slot, "Slot " + QByteArray::number(slot));
        }
        store.rename(3, "ABCDEFGHIJKLMNOP");
        const QByteArray original = store.allImage();
        QVERIFY(original.size() > 65536 * 2);

        const QString path = bench.dir.filePath(QStringLiteral("unit.pst"));
        bench.prompt.fileNames = QStringList{path};
        bench.presetPage()->exportAllClicked();
        QVERIFY(bench.transferDone());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), original);
        QVERIFY(!bench.window->progressDialog()->isVisible());

        store.erase(0);
        store.rename(3, "Changed");
        setDistinctUnitState(bench.unit, 9);
        store.save(bench.unit, 7);
        QVERIFY(store.allImage() != original);

        bench.prompt.fileNames = QStringList{path};
        bench.presetPage()->importAllClicked();
        QVERIFY(waitUntil([&] { return store.importsApplied == 1; }, 20000));
        QVERIFY(bench.transferDone());
        QCOMPARE(store.importsRefused, 0);
        QCOMPARE(store.allImage(), original);
        // Only the question before every preset is replaced, "No" its default.
        QCOMPARE(bench.prompt.asked.size(), 1);
        QCOMPARE(bench.prompt.asked.at(0).defaultButton, 1);
    }

    void oneSlotOutAndIntoAnother()
    {
        Bench bench;
        QVERIFY(bench.start());
        PresetModule &store = *bench.presets;
        setDistinctUnitState(bench.unit, 5);
        store.save(bench.unit, 5);
        store.rename(5, "Five");
        QPreset *page = bench.presetPage();
        bench.show(page);
        // The page learns the slot from its own poll.
        QVERIFY(waitUntil([&] { return page->isUsed(5) && page->currentSlot() == 5; }));
        QCOMPARE(page->nameEdit(5)->text(), QStringLiteral("Five"));

        const QString path = bench.dir.filePath(QStringLiteral("five.pst1"));
        bench.prompt.fileNames = QStringList{path};
        QTest::mouseClick(page->slotButton(5, QPreset::ExportButton), Qt::LeftButton);
        QVERIFY(bench.transferDone());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), PresetModule::slotImage(store.slotTable[5]));

        bench.prompt.fileNames = QStringList{path};
        QTest::mouseClick(page->slotButton(9, QPreset::ImportButton), Qt::LeftButton);
        QVERIFY(waitUntil([&] { return store.importsApplied == 1; }, 20000));
        QCOMPARE(store.slotTable[9].used, true);
        QCOMPARE(store.slotTable[9].name, store.slotTable[5].name);
        QCOMPARE(store.slotTable[9].settings, store.slotTable[5].settings);
        QVERIFY(waitUntil([&] { return page->isUsed(9) && page->nameEdit(9)->text() == QLatin1String("Five"); }));
        QVERIFY(bench.prompt.asked.isEmpty());
    }

    void recallShowsTheSavedValuesOnEveryPage()
    {
        Bench bench;
        QVERIFY(bench.start());
        PresetModule &store = *bench.presets;
        setDistinctUnitState(bench.unit, 2);
        const QByteArray saved = PresetModule::captureSettings(bench.unit);
        QPreset *page = bench.presetPage();
        bench.show(page);

        bench.prompt.answers = {0}; // "Yes"
        QTest::mouseClick(page->slotButton(3, QPreset::SaveButton), Qt::LeftButton);
        QVERIFY(waitUntil([&] { return store.slotTable[3].used; }));
        QCOMPARE(store.slotTable[3].settings, saved);

        // The unit moves on: every setting back to its start.
        {
            VirtualUnit fresh;
            QVERIFY(PresetModule::applySettings(bench.unit, PresetModule::captureSettings(fresh)));
        }
        QVERIFY(PresetModule::captureSettings(bench.unit) != saved);
        QVERIFY(waitUntil([&] { return page->isUsed(3); }));

        bool progressShown = false;
        bench.prompt.answers = {0};
        QTest::mouseClick(page->slotButton(3, QPreset::RecallButton), Qt::LeftButton);
        QVERIFY(waitUntil([&] {
            progressShown = progressShown || bench.window->progressDialog()->isVisible();
            return store.recallsApplied == 1 && !bench.window->progressDialog()->isVisible();
        }, 10000));
        QVERIFY(progressShown);
        QCOMPARE(PresetModule::captureSettings(bench.unit), saved);

        // Each page shows the recalled values once it has polled them.
        VirtualUnit &unit = bench.unit;
        FuncWidget *pages = bench.pages();
        auto *level = unit.findModule<LevelModule>();
        auto *gate = unit.findModule<GateModule>();
        auto *limiter = unit.findModule<LimiterModule>();
        auto *filter = unit.findModule<FilterModule>();
        auto *delay = unit.findModule<DelayModule>();
        auto *mixer = unit.findModule<MixerModule>();
        auto *generator = unit.findModule<GeneratorModule>();
        auto *deq = unit.findModule<DeqModule>();
        auto *fir = unit.findModule<FirModule>();
        auto all = [](int count, const std::function<bool(int)> &same) {
            for (int i = 0; i < count; ++i) {
                if (!same(i))
                    return false;
            }
            return true;
        };
        const QList<QPair<QWidget *, std::function<bool()>>> checks{
            {pages->inLevel(), [&] { return all(4, [&](int c) {
                 return pages->inLevel()->record(uchar(c)) == level->inputs[size_t(c)]
                        && pages->inLevel()->source(uchar(c)) == level->sources[size_t(c / 2)]; }); }},
            {pages->gate(), [&] { return all(4, [&](int c) { return pages->gate()->record(c) == gate->gates[size_t(c)]; }); }},
            {pages->feedback(), [&] { return all(4, [&](int c) {
                 return pages->feedback()->isSuppressorOn(c) == gate->feedback[size_t(c)]; }); }},
            {pages->inFilter(), [&] { return all(4, [&](int c) {
                 return pages->inFilter()->record(c) == filter->inputs[size_t(c)]; }); }},
            {pages->deq(), [&] { return all(12, [&](int k) {
                 return pages->deq()->band(k / 3, k % 3) == deq->bands[size_t(k / 3)][size_t(k % 3)]; }); }},
            {pages->inLimiter(), [&] { return all(4, [&](int c) {
                 return pages->inLimiter()->record(uchar(c)) == limiter->inputs[size_t(c)]; }); }},
            {pages->inDelay(), [&] { return all(4, [&](int c) {
                 return pages->inDelay()->delay(c) == delay->inputs[size_t(c)]; }); }},
            {pages->mixer(), [&] { return all(8, [&](int o) {
                 return pages->mixer()->output(o) == mixer->outputs[size_t(o)]; }); }},
            {pages->sigGenerator(), [&] {
                 const GeneratorRecord &shown = pages->sigGenerator()->record();
                 const GeneratorRecord &held = generator->generator;
                 return shown.mute == held.mute && shown.frequency == held.frequency && shown.source == held.source
                        && shown.gain == held.gain && shown.output == held.output; }},
            {pages->outLevel(), [&] { return all(8, [&](int o) {
                 return pages->outLevel()->record(uchar(o)) == level->outputs[size_t(o)]; }); }},
            {pages->fir(), [&] { return all(8, [&](int o) {
                 return pages->fir()->record(uchar(o)).toBytes() == fir->records[size_t(o)]; }); }},
            {pages->outFilter(), [&] { return all(8, [&](int o) {
                 return pages->outFilter()->record(o) == filter->outputs[size_t(o)]; }); }},
            {pages->outLimiter(), [&] { return all(8, [&](int o) {
                 return pages->outLimiter()->record(uchar(o)) == limiter->outputs[size_t(o)]; }); }},
            {pages->outDelay(), [&] { return all(8, [&](int o) {
                 return pages->outDelay()->delay(o) == delay->outputs[size_t(o)]; }); }},
        };
        for (const auto &check : checks) {
            bench.show(check.first);
            QVERIFY2(waitUntil(check.second, 10000), qPrintable(check.first->objectName()));
        }
        QVERIFY(bench.prompt.asked.size() == 2); // the two confirmations
    }
};

QTEST_MAIN(TestPresetsEndToEnd)
#include "tst_presets_e2e.moc"
