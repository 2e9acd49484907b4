// The response graph as the operator sees and drags it: mapping of the plot,
// hit testing, drag limits and signals, shown/editable flags, what is drawn.

#include <QImage>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>

#include "ui/modules/filtergraph.h"

namespace {

constexpr int Width = 640;
constexpr int Height = 260;

// A graph laid out like the filter pages use it, at a known size.
struct Graph
{
    FilterGraph graph;

    Graph()
    {
        graph.setDbRange(20, -20);
        graph.resize(Width, Height);
    }

    QPoint centre(int handle) const { return graph.handleRect(handle).center().toPoint(); }

    void drag(int handle, const QPoint &to)
    {
        QTest::mousePress(&graph, Qt::LeftButton, Qt::NoModifier, centre(handle));
        QTest::mouseMove(&graph, to);
        // QTest::mouseMove carries no button state on all platforms; send the
        // move with the left button held explicitly.
        QMouseEvent move(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&graph, &move);
        QTest::mouseRelease(&graph, Qt::LeftButton, Qt::NoModifier, to);
    }

    void moveHeld(const QPoint &to)
    {
        QMouseEvent move(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&graph, &move);
    }

    double at(double freq) const
    {
        const ResponseCurve &grid = responseGrid();
        int best = 0;
        for (int i = 1; i < ResponseGridSize; ++i)
            if (std::abs(grid[size_t(i)] - freq) < std::abs(grid[size_t(best)] - freq))
                best = i;
        return graph.response()[size_t(best)];
    }
};

bool allZero(const ResponseCurve &curve)
{
    for (double v : curve)
        if (std::abs(v) > 1e-9)
            return false;
    return true;
}

} // namespace

class TestFilterGraph : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void plotGeometryAndMapping()
    {
        Graph g;
        const QRect plot = g.graph.plotRect();
        QCOMPARE(plot.left(), 35);
        QCOMPARE(plot.top(), 10);
        QCOMPARE(plot.right(), Width - 6);
        QCOMPARE(plot.bottom(), Height - 21);
        // 10 Hz on the left edge, 24 kHz on the right, 0 dB in the middle.
        QCOMPARE(g.graph.frequencyToX(10.0), 35.0);
        QVERIFY(std::abs(g.graph.frequencyToX(24000.0) - (plot.left() + plot.width())) < 0.01);
        QVERIFY(std::abs(g.graph.dbToY(0.0) - (plot.top() + plot.height() / 2.0)) < 0.01);
        QVERIFY(std::abs(g.graph.xToFrequency(g.graph.frequencyToX(1000.0)) - 1000.0f) < 0.01f);
        QVERIFY(std::abs(g.graph.yToDb(g.graph.dbToY(-7.5)) + 7.5f) < 1e-4f);
    }

    void invalidRangesAreIgnored()
    {
        Graph g;
        g.graph.setDbRange(10, 10);
        g.graph.setDbRange(-5, 5);
        g.graph.setGridRows(1);
        QCOMPARE(g.graph.dbMax(), 20);
        QCOMPARE(g.graph.dbMin(), -20);
        QCOMPARE(g.graph.gridRows(), 8);
        g.graph.setBandCount(40);
        QCOMPARE(g.graph.params().bandCount, 16);
    }

    void curveStopsAtTheAxisEnd()
    {
        Graph g;
        g.graph.setBand(0, false, 0, 1000.0f, 6.0f, 1.0f);
        const QVector<QPointF> points = g.graph.curvePoints();
        int inside = 0;
        for (double f : responseGrid())
            inside += f <= 24000.0 ? 1 : 0;
        QCOMPARE(points.size(), inside);
        QVERIFY(points.last().x() <= g.graph.plotRect().right());
        // The peak of the curve sits over 1 kHz at +6 dB.
        QPointF top = points.first();
        for (const QPointF &p : points)
            if (p.y() < top.y())
                top = p;
        QVERIFY(std::abs(top.x() - g.graph.frequencyToX(1000.0)) < 2.0);
        QVERIFY(std::abs(top.y() - g.graph.dbToY(6.0)) < 1.0);
    }

    void sectionsAndBandsInTheCurve_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("contributes");
        QTest::addColumn<bool>("handleDrawn");

        QTest::newRow("high-pass on") << "hp" << true << true;
        QTest::newRow("high-pass bypassed keeps its handle") << "hp bypassed" << false << true;
        QTest::newRow("high-pass hidden") << "hp hidden" << false << false;
        QTest::newRow("band on") << "band" << true << true;
        QTest::newRow("band bypassed keeps its handle") << "band bypassed" << false << true;
        QTest::newRow("band hidden") << "band hidden" << false << false;
        QTest::newRow("all-pass 180 adds nothing") << "allpass180" << false << true;
        QTest::newRow("all-pass 90 adds nothing") << "allpass90" << false << true;
        QTest::newRow("band beyond the band count") << "band count" << false << false;
        QTest::newRow("section type above 2 draws nothing") << "hp type 3" << false << true;
        QTest::newRow("slope above 5 draws nothing") << "hp slope 6" << false << true;
    }
    void sectionsAndBandsInTheCurve()
    {
        QFETCH(QString, what);
        QFETCH(bool, contributes);
        QFETCH(bool, handleDrawn);
        Graph g;
        int handle = 2;
        if (what.startsWith(QLatin1String("hp"))) {
            handle = FilterGraph::HighPassHandle;
            const int type = what == QLatin1String("hp type 3") ? 3 : 1;
            const int slope = what == QLatin1String("hp slope 6") ? 6 : 3;
            g.graph.setHighPass(what == QLatin1String("hp bypassed"), type, slope, 1000.0f);
            if (what == QLatin1String("hp hidden"))
                g.graph.setHighPassShown(false);
        } else {
            const uchar type = what == QLatin1String("allpass180") ? 3 : what == QLatin1String("allpass90") ? 4 : 0;
            g.graph.setBand(2, what == QLatin1String("band bypassed"), type, 1000.0f, 12.0f, 2.0f);
            if (what == QLatin1String("band hidden"))
                g.graph.setBandShown(2, false);
            if (what == QLatin1String("band count"))
                g.graph.setBandCount(2);
        }
        QCOMPARE(!allZero(g.graph.response()), contributes);
        QCOMPARE(!g.graph.handleRect(handle).isEmpty(), handleDrawn);

        // What is drawn follows: the handle appears in the picture only when
        // shown (compare with the same graph without it).
        Graph without;
        if (handle == FilterGraph::HighPassHandle)
            without.graph.setHighPassShown(false);
        else
            without.graph.setBandShown(2, false);
        without.graph.setBandCount(g.graph.params().bandCount);
        const QRect area = g.graph.handleRect(handle).isEmpty()
                               ? QRect()
                               : g.graph.handleRect(handle).toAlignedRect();
        if (!area.isEmpty()) {
            const QImage with = g.graph.grab().toImage().copy(area);
            const QImage bare = without.graph.grab().toImage().copy(area);
            QVERIFY(with != bare);
        }
    }

    void hiddenSectionLeavesTheCurveAtOnce()
    {
        Graph g;
        g.graph.setLowPass(false, 1, 5, 2000.0f);
        QVERIFY(g.at(10000.0) < -40.0);
        g.graph.setLowPassShown(false);
        QVERIFY(allZero(g.graph.response()));
        g.graph.setLowPassShown(true);
        QVERIFY(g.at(10000.0) < -40.0);
    }

    void hitMarginIsFivePixels_data()
    {
        QTest::addColumn<int>("side"); // 0 left, 1 right, 2 top, 3 bottom
        QTest::addColumn<bool>("outside");
        // A press counts strictly inside the handle grown by 5 pixels.
        for (int side = 0; side < 4; ++side) {
            const char *names[] = {"left", "right", "top", "bottom"};
            QTest::addRow("last pixel inside, %s", names[side]) << side << false;
            QTest::addRow("first pixel outside, %s", names[side]) << side << true;
        }
    }
    void hitMarginIsFivePixels()
    {
        QFETCH(int, side);
        QFETCH(bool, outside);
        Graph g;
        // At 10 Hz and 0 dB the handle is centred on whole pixels (35, 125),
        // so the edges fall on pixels and the strictness shows.
        g.graph.setBand(5, false, 0, 10.0f, 0.0f, 1.0f);
        const QRectF r = g.graph.handleRect(5);
        QCOMPARE(r, QRectF(27, 117, 16, 16));
        const QRectF grown = r.adjusted(-5, -5, 5, 5);
        const QPointF c = r.center();
        QPoint press = c.toPoint();
        // The last whole pixel strictly inside an edge, or the first on or past it.
        auto inwardLow = [&](double edge) { return int(std::floor(edge)) + 1 - (outside ? 1 : 0); };
        auto inwardHigh = [&](double edge) { return int(std::ceil(edge)) - 1 + (outside ? 1 : 0); };
        switch (side) {
        case 0: press.setX(inwardLow(grown.left())); break;
        case 1: press.setX(inwardHigh(grown.right())); break;
        case 2: press.setY(inwardLow(grown.top())); break;
        default: press.setY(inwardHigh(grown.bottom())); break;
        }
        QTest::mousePress(&g.graph, Qt::LeftButton, Qt::NoModifier, press);
        QCOMPARE(g.graph.draggingHandle() == 5, !outside);
        QTest::mouseRelease(&g.graph, Qt::LeftButton, Qt::NoModifier, press);
        QCOMPARE(g.graph.draggingHandle(), -1);
    }

    void dragAboveThePlotStopsAtTheTop_data()
    {
        QTest::addColumn<bool>("ownRange");
        QTest::addColumn<int>("toY");
        QTest::addColumn<float>("expectedGain");
        QTest::newRow("above the plot, display range") << false << -40 << 20.0f;
        QTest::newRow("below the plot, display range") << false << Height + 40 << -20.0f;
        QTest::newRow("above the plot, band range 0..12") << true << -40 << 12.0f;
        QTest::newRow("below the plot, band range 0..12") << true << Height + 40 << 0.0f;
    }
    void dragAboveThePlotStopsAtTheTop()
    {
        QFETCH(bool, ownRange);
        QFETCH(int, toY);
        QFETCH(float, expectedGain);
        Graph g;
        g.graph.setBandGainMode(ownRange);
        g.graph.setBandGainRange(0, 0, 12);
        g.graph.setBand(0, false, 0, 1000.0f, 3.0f, 1.0f);
        QSignalSpy spy(&g.graph, &FilterGraph::peqChanged);
        const QPoint to(g.centre(0).x(), toY);
        g.drag(0, to);
        QVERIFY(!spy.isEmpty());
        QCOMPARE(spy.last().at(0).value<uchar>(), uchar(0));
        QCOMPARE(spy.last().at(2).toFloat(), expectedGain);
        QCOMPARE(g.graph.params().bands[0].gain, expectedGain);
        // The handle stays on the plot.
        QVERIFY(g.graph.handleRect(0).center().y() >= g.graph.plotRect().top());
    }

    void sectionDragFrequencyLimits_data()
    {
        QTest::addColumn<int>("handle");
        QTest::addColumn<int>("toX");
        QTest::addColumn<float>("expected");
        QTest::newRow("high-pass to the far left") << int(FilterGraph::HighPassHandle) << 0 << 20.0f;
        QTest::newRow("low-pass to the far right") << int(FilterGraph::LowPassHandle) << Width + 50 << 20000.0f;
    }
    void sectionDragFrequencyLimits()
    {
        QFETCH(int, handle);
        QFETCH(int, toX);
        QFETCH(float, expected);
        Graph g;
        // Away from the default band frequencies, whose handles come first.
        g.graph.setHighPass(false, 1, 1, 1500.0f);
        g.graph.setLowPass(false, 1, 1, 8000.0f);
        QSignalSpy hp(&g.graph, &FilterGraph::HPFilterChanged);
        QSignalSpy lp(&g.graph, &FilterGraph::LPFilterChanged);
        g.drag(handle, QPoint(toX, 40));
        QSignalSpy &spy = handle == FilterGraph::HighPassHandle ? hp : lp;
        QSignalSpy &other = handle == FilterGraph::HighPassHandle ? lp : hp;
        QVERIFY(!spy.isEmpty());
        QCOMPARE(spy.last().at(0).toFloat(), expected);
        QVERIFY(other.isEmpty());
    }

    void dragFollowsTheLogAxis()
    {
        Graph g;
        g.graph.setBand(3, false, 0, 100.0f, 0.0f, 1.0f);
        QSignalSpy spy(&g.graph, &FilterGraph::peqChanged);
        QTest::mousePress(&g.graph, Qt::LeftButton, Qt::NoModifier, g.centre(3));
        const int x = int(std::lround(g.graph.frequencyToX(1000.0)));
        const int y = int(std::lround(g.graph.dbToY(-10.0)));
        g.moveHeld(QPoint(x, y));
        QCOMPARE(spy.size(), 1);
        // One pixel of this axis is about 1.1 % of frequency and 0.17 dB.
        QVERIFY(std::abs(spy.at(0).at(1).toFloat() - 1000.0f) < 15.0f);
        QVERIFY(std::abs(spy.at(0).at(2).toFloat() + 10.0f) < 0.2f);
        // The same position again changes nothing and says nothing.
        g.moveHeld(QPoint(x, y));
        QCOMPARE(spy.size(), 1);
        // Without the button held the move only hovers.
        QTest::mouseRelease(&g.graph, Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
        QTest::mouseMove(&g.graph, QPoint(x + 30, y));
        QCOMPARE(spy.size(), 1);
    }

    void lockedHandlesDoNotMove()
    {
        Graph g;
        g.graph.setBand(0, false, 0, 1000.0f, 0.0f, 1.0f);
        g.graph.setBand(1, false, 0, 1000.0f, 0.0f, 1.0f);
        g.graph.setBandEditable(0, false);
        QSignalSpy peq(&g.graph, &FilterGraph::peqChanged);
        QSignalSpy pressed(&g.graph, &FilterGraph::bandPressed);
        // Band 0 is found first and is locked: the press does not fall
        // through to band 1 lying under it.
        g.drag(0, QPoint(g.centre(0).x() + 60, 30));
        QCOMPARE(peq.size(), 0);
        QCOMPARE(pressed.size(), 1);
        QCOMPARE(pressed.at(0).at(0).value<uchar>(), uchar(0));

        g.graph.setHighPass(false, 1, 1, 150.0f);
        g.graph.setHighPassEditable(false);
        QSignalSpy hp(&g.graph, &FilterGraph::HPFilterChanged);
        g.drag(FilterGraph::HighPassHandle, QPoint(400, 100));
        QCOMPARE(hp.size(), 0);

        // A hidden handle cannot be caught at all.
        g.graph.setBandShown(0, false);
        g.drag(1, QPoint(g.centre(1).x() + 60, 30));
        QCOMPARE(peq.size(), 1);
        QCOMPARE(peq.at(0).at(0).value<uchar>(), uchar(1));
    }

    // Handles that overlap stay readable: the one lying over another is
    // drawn small, the one under the pointer (or being dragged) comes to the
    // front at full size, and a press catches whatever is on top.
    void overlappingHandlesStack_data()
    {
        QTest::addColumn<int>("offset");   // pixels from band 1's centre to band 2's
        QTest::addColumn<int>("selected"); // -1: none
        QTest::addColumn<int>("pointer");  // hover this far right of band 1's centre; 99: no hover
        QTest::addColumn<int>("front");    // the band drawn last, and caught by a press
        QTest::addColumn<int>("size0");
        QTest::addColumn<int>("size1");
        const int full = FilterGraph::HandleSize;
        const int small = FilterGraph::CoveringHandleSize;
        QTest::newRow("apart") << 100 << -1 << 99 << 0 << full << full;
        QTest::newRow("same place: the first on top, small") << 0 << -1 << 99 << 0 << small << full;
        QTest::newRow("half over") << 8 << -1 << 99 << 0 << small << full;
        QTest::newRow("pointer on the one below") << 8 << -1 << 18 << 1 << full << full;
        QTest::newRow("pointer on the top one") << 0 << -1 << 0 << 0 << full << full;
        QTest::newRow("selected comes up") << 0 << 1 << 99 << 1 << full << small;
        QTest::newRow("pointer over the selected") << 8 << 1 << -10 << 0 << full << full;
    }
    void overlappingHandlesStack()
    {
        QFETCH(int, offset);
        QFETCH(int, selected);
        QFETCH(int, pointer);
        QFETCH(int, front);
        QFETCH(int, size0);
        QFETCH(int, size1);
        Graph g;
        g.graph.setBandCount(2);
        const double x0 = g.graph.frequencyToX(1000.0);
        g.graph.setBand(0, false, 0, 1000.0f, 0.0f, 1.0f);
        g.graph.setBand(1, false, 0, g.graph.xToFrequency(x0 + offset), 0.0f, 1.0f);
        QCOMPARE(std::lround(g.graph.handleRect(1).center().x() - g.graph.handleRect(0).center().x()), long(offset));
        g.graph.setSelectedBand(selected);
        QPoint at = g.centre(0);
        if (pointer != 99) {
            at.rx() += pointer;
            QMouseEvent hover(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(&g.graph, &hover);
            QCOMPARE(g.graph.hoveredHandle(), front);
        }
        const QVector<int> order = g.graph.paintOrder();
        QCOMPARE(order.last(), front);
        QVERIFY(order.contains(1 - front));
        QCOMPARE(int(g.graph.drawnRect(0).width()), size0);
        QCOMPARE(int(g.graph.drawnRect(1).width()), size1);
        QCOMPARE(g.graph.drawnRect(0).center(), g.graph.handleRect(0).center());

        QSignalSpy pressed(&g.graph, &FilterGraph::bandPressed);
        QTest::mousePress(&g.graph, Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(pressed.size(), 1);
        QCOMPARE(int(pressed.at(0).at(0).value<uchar>()), front);
        QTest::mouseRelease(&g.graph, Qt::LeftButton, Qt::NoModifier, at);

        // Leaving the graph drops the hover, and the stack settles back.
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&g.graph, &leave);
        QCOMPARE(g.graph.hoveredHandle(), -1);
    }
};

QTEST_MAIN(TestFilterGraph)
#include "tst_filtergraph.moc"
