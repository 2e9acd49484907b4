// The "System" page: reached from the page buttons, following edits made on
// the other pages (offline, ticked through its refresh slot), the legend,
// source and sum, the exports and the room it needs in a 1024 x 600 window.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QAbstractSpinBox>
#include <QPushButton>
#include <QSettings>
#include <QStackedWidget>
#include <QtTest>

#include <cmath>
#include <functional>

#include "core/link/link.h"
#include "testsupport.h"
#include "ui/controls/valuefield.h"
#include "ui/modules/qoutdelay.h"
#include "ui/modules/qoutlevel.h"
#include "ui/pages/funcwidget.h"
#include "ui/pages/presetpages.h"
#include "ui/pages/systemgraph.h"
#include "ui/pages/systempage.h"
#include "ui/window/mainwindow.h"

using PageEdit = std::function<void(FuncWidget &)>;
Q_DECLARE_METATYPE(PageEdit)

namespace {

// IN A to OUT 1 and OUT 2, as an offline import would bring it.
void importTwoRoutes(FuncWidget &f, int matrixDb = 0)
{
    PresetImage image = PresetPages::capture(f);
    for (int o : {0, 1}) {
        image.mixer[size_t(o)].enable[0] = true;
        image.mixer[size_t(o)].gain[0] = qint8(matrixDb);
    }
    PresetPages::apply(f, image, PresetImage::Sharc96k);
}

void enter(QAbstractSpinBox *field, const QString &text)
{
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

} // namespace

class TestSystemPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reachedFromThePageButtons()
    {
        Link link;
        ScriptedPrompt prompt;
        FuncWidget f(&link, &prompt);
        f.resize(1000, 500);
        f.show();
        QPushButton *button = f.pageButton(f.system());
        QVERIFY(button && button->isVisible());
        QCOMPARE(button->text(), QStringLiteral("System"));
        QVERIFY(!f.system()->isRefreshing());
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(f.stack()->currentWidget(), static_cast<QWidget *>(f.system()));
        // Looks at the pages only while shown.
        QVERIFY(f.system()->isRefreshing());
        QTest::mouseClick(f.pageButton(f.outDelay()), Qt::LeftButton);
        QVERIFY(!f.system()->isRefreshing());
    }

    void followsEditsOnThePages_data()
    {
        QTest::addColumn<PageEdit>("edit");
        QTest::addColumn<int>("output");
        QTest::addColumn<QString>("readout"); // at the 1 kHz cursor
        QTest::addColumn<QString>("latency");
        QTest::newRow("offline import: matrix -6 dB")
            << PageEdit([](FuncWidget &f) { importTwoRoutes(f, -6); }) << 0 << QStringLiteral("-6.0 dB 0\u00b0 0.00 ms")
            << QStringLiteral("0.00 ms");
        QTest::newRow("delay typed on Out Delay")
            << PageEdit([](FuncWidget &f) { enter(f.outDelay()->spinBox(1), QStringLiteral("10")); }) << 1
            << QStringLiteral("0.0 dB 0\u00b0 10.00 ms") << QStringLiteral("10.00 ms");
        QTest::newRow("invert clicked on Out Level")
            << PageEdit([](FuncWidget &f) { QTest::mouseClick(f.outLevel()->invertButton(0), Qt::LeftButton); }) << 0
            << QStringLiteral("0.0 dB 180\u00b0 0.00 ms") << QStringLiteral("0.00 ms");
        QTest::newRow("mute clicked on Out Level")
            << PageEdit([](FuncWidget &f) { QTest::mouseClick(f.outLevel()->muteButton(1), Qt::LeftButton); }) << 1
            << QStringLiteral("silent") << QStringLiteral("-");
    }
    void followsEditsOnThePages()
    {
        QFETCH(PageEdit, edit);
        QFETCH(int, output);
        QFETCH(QString, readout);
        QFETCH(QString, latency);
        Link link;
        ScriptedPrompt prompt;
        FuncWidget f(&link, &prompt);
        f.resize(1000, 500);
        f.show();
        importTwoRoutes(f);
        SystemPage *page = f.system();
        page->curveBox(1)->setChecked(true);
        f.setCurrentIndex(f.stack()->indexOf(page));
        QCOMPARE(page->readoutLabel(output)->text(), QStringLiteral("0.0 dB 0\u00b0 0.00 ms"));

        // The operator goes to another page, edits, and comes back.
        f.setCurrentIndex(0);
        edit(f);
        QVERIFY(page->readoutLabel(output)->text() != readout);
        f.setCurrentIndex(f.stack()->indexOf(page));
        QCOMPARE(page->readoutLabel(output)->text(), readout);
        QCOMPARE(page->latencyLabel(output)->text(), latency);

        // An edit while the page is shown (a report from the unit, an undo)
        // shows at the next tick.
        importTwoRoutes(f, -12);
        page->refresh();
        QVERIFY(page->readoutLabel(0)->text().startsWith(QStringLiteral("-12.0 dB")));
    }

    void legendSourceAndSum()
    {
        Link link;
        ScriptedPrompt prompt;
        FuncWidget f(&link, &prompt);
        f.resize(1000, 500);
        f.show();
        importTwoRoutes(f);
        SystemPage *page = f.system();
        f.setCurrentIndex(f.stack()->indexOf(page));
        SystemGraph *graph = page->graph();
        QVERIFY(!graph->curvePoints(0).isEmpty());
        QVERIFY(graph->curvePoints(1).isEmpty()); // unchecked
        QTest::mouseClick(page->curveBox(1), Qt::LeftButton);
        QVERIFY(!graph->curvePoints(1).isEmpty());
        QTest::mouseClick(page->curveBox(SystemGraph::SumCurve), Qt::LeftButton);
        // Two equal outputs add up to +6 dB.
        QCOMPARE(page->readoutLabel(SystemGraph::SumCurve)->text(), QStringLiteral("6.0 dB 0\u00b0 0.00 ms"));
        QTest::mouseClick(page->curveBox(0), Qt::LeftButton);
        QCOMPARE(page->readoutLabel(SystemGraph::SumCurve)->text(), QStringLiteral("0.0 dB 0\u00b0 0.00 ms"));

        // IN B feeds nothing.
        page->sourceBox()->setCurrentIndex(2);
        QCOMPARE(page->readoutLabel(1)->text(), QStringLiteral("silent"));
        QVERIFY(graph->curvePoints(1).isEmpty());
        page->sourceBox()->setCurrentIndex(1);
        QCOMPARE(page->readoutLabel(1)->text(), QStringLiteral("0.0 dB 0\u00b0 0.00 ms"));

        // Mode and cursor: the arrow keys move the readout along the grid.
        page->modeBox()->setCurrentIndex(SystemGraph::Phase);
        QCOMPARE(graph->valueMax(), 180.0);
        graph->setFocus();
        QTest::keyClick(graph, Qt::Key_Right);
        QCOMPARE(graph->cursorIndex(), 240);
        QCOMPARE(page->cursorLabel()->text(), QStringLiteral("Cursor: 1020 Hz"));
        QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(int(graph->frequencyToX(100.0)), 50));
        QCOMPARE(graph->cursorIndex(), 119);
    }

    void exports_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("file"); // "" = dialog cancelled
        QTest::addColumn<bool>("written");
        QTest::newRow("csv") << QStringLiteral("csv") << QStringLiteral("curves.csv") << true;
        QTest::newRow("csv, suffix added") << QStringLiteral("csv") << QStringLiteral("curves") << true;
        QTest::newRow("png") << QStringLiteral("png") << QStringLiteral("graph.png") << true;
        QTest::newRow("cancelled") << QStringLiteral("csv") << QString() << false;
        QTest::newRow("folder missing") << QStringLiteral("png") << QStringLiteral("no/such/folder/graph.png") << false;
    }
    void exports()
    {
        QFETCH(QString, kind);
        QFETCH(QString, file);
        QFETCH(bool, written);
        ScratchDir dir;
        Link link;
        ScriptedPrompt prompt;
        FuncWidget f(&link, &prompt);
        f.resize(1000, 500);
        f.show();
        importTwoRoutes(f);
        SystemPage *page = f.system();
        f.setCurrentIndex(f.stack()->indexOf(page));
        QTest::mouseClick(page->curveBox(SystemGraph::SumCurve), Qt::LeftButton);
        if (!file.isEmpty())
            prompt.fileNames << dir.filePath(file);
        QTest::mouseClick(kind == QLatin1String("csv") ? page->csvButton() : page->pngButton(), Qt::LeftButton);

        const QString path = dir.filePath(file.endsWith(QLatin1Char('.') + kind) || file.isEmpty() ? file
                                                                                                  : file + QLatin1Char('.') + kind);
        QCOMPARE(!file.isEmpty() && QFile::exists(path), written);
        // A failure is told, a cancel is not.
        QCOMPARE(prompt.asked.size(), !written && !file.isEmpty() ? 1 : 0);
        if (!written)
            return;
        if (kind == QLatin1String("png")) {
            const QImage image(path);
            QCOMPARE(image.size(), page->graph()->size());
            return;
        }
        QFile csv(path);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(csv.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), ResponseGridSize + 1);
        QCOMPARE(lines.first(), QStringLiteral("frequency_hz,out1_db,out1_deg,out1_ms,sum_db,sum_deg,sum_ms"));
        const QStringList at1k = lines.at(240).split(QLatin1Char(','));
        QCOMPARE(at1k.size(), 7);
        QCOMPARE(at1k.first(), QStringLiteral("1000"));
        for (int k = 1; k < at1k.size(); ++k)
            QVERIFY(std::fabs(at1k.at(k).toDouble()) < 1e-9);
    }

    void fitsA1024x600Window()
    {
        ScratchDir dir;
        ScriptedPrompt prompt;
        AppOptions options;
        options.discoveryPort = 0;
        options.commandAddress = uniqueLoopback().toString();
        mainWindow window(options, &prompt,
                          new QSettings(dir.filePath(QStringLiteral("store.ini")), QSettings::IniFormat));
        window.resize(1024, 600);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        FuncWidget *f = window.funcWidget();
        importTwoRoutes(*f);
        SystemPage *page = f->system();
        for (int c = 0; c < SystemGraph::Curves; ++c)
            page->curveBox(c)->setChecked(true);
        QTest::mouseClick(f->pageButton(page), Qt::LeftButton);
        QTest::qWait(50); // the layouts settle
        QCOMPARE(window.size(), QSize(1024, 600));
        const QRect visible = page->rect();
        QWidgetList parts = {page->graph(), page->csvButton(), page->pngButton(), page->sourceBox(), page->modeBox()};
        for (int c = 0; c < SystemGraph::Curves; ++c)
            parts << page->curveBox(c) << page->latencyLabel(c);
        for (QWidget *w : parts) {
            QVERIFY2(visible.contains(QRect(w->mapTo(page, QPoint(0, 0)), w->size())), qPrintable(w->objectName()));
            QVERIFY(!w->accessibleName().isEmpty() || !w->property("text").toString().isEmpty());
        }
        QVERIFY(page->graph()->width() >= 420 && page->graph()->height() >= 200);
        const QString shots = qEnvironmentVariable("ORVALIX_SHOT_DIR");
        if (shots.isEmpty())
            return;
        // For a look at real curves: a Link-Riley crossover at 1 kHz with a
        // 0.5 ms offset and a dynamic EQ band on the input.
        PresetImage image = PresetPages::capture(*f);
        image.outputFilters[0].hpEnable = image.outputFilters[1].lpEnable = 1;
        image.outputFilters[0].hpType = image.outputFilters[1].lpType = 2;
        image.outputFilters[0].hpSlope = image.outputFilters[1].lpSlope = 3;
        image.outputFilters[0].hpFreq = image.outputFilters[1].lpFreq = 1000;
        image.outputDelays[0] = 0.5f;
        image.deq[0][0].bypass = 0;
        image.deq[0][0].gain = 6.0f;
        image.deq[0][0].freq = 120.0f;
        image.deq[0][0].q = 1.0f;
        PresetPages::apply(*f, image, PresetImage::Sharc96k);
        page->refresh();
        for (int mode : {0, 1, 2}) {
            page->modeBox()->setCurrentIndex(mode);
            QTest::qWait(20);
            window.grab().save(shots + QStringLiteral("/system-1024x600-%1.png").arg(mode));
        }
    }
};

QTEST_MAIN(TestSystemPage)
#include "tst_systempage.moc"
