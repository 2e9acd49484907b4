// The input and output delay pages: distances, the reduced range of the
// 48 kHz units, debounced sends and the hold-off against echoes.

#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QtTest>

#include "core/records/delayrecord.h"
#include "routingrig.h"
#include "tabchain.h"
#include "ui/controls/qhslider.h"
#include "ui/controls/valuefield.h"
#include "ui/modules/qindelay.h"
#include "ui/modules/qoutdelay.h"

class TestDelays : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void distances_data()
    {
        QTest::addColumn<float>("ms");
        QTest::addColumn<QString>("metres");
        QTest::addColumn<QString>("feet");
        QTest::newRow("0") << 0.0f << "0.000" << "0.000";
        QTest::newRow("10 ms") << 10.0f << "3.400" << "11.155";
        QTest::newRow("1000 ms") << 1000.0f << "340.000" << "1115.472";
        QTest::newRow("2000 ms") << 2000.0f << "680.000" << "2230.944";
        QTest::newRow("12.36 ms") << 12.36f << "4.202" << "13.787";
    }
    void distances()
    {
        QFETCH(float, ms);
        QFETCH(QString, metres);
        QFETCH(QString, feet);
        QCOMPARE(DelayRecord::metresText(double(ms)), metres);
        QCOMPARE(DelayRecord::feetText(double(ms)), feet);

        // The page shows the same for a report.
        PageRig<QOutDelay> rig;
        rig.report(1, QByteArray(1, '\x06') + f32(ms));
        QCOMPARE(rig.page.metresField(6)->text(), metres);
        QCOMPARE(rig.page.feetField(6)->text(), feet);
        QCOMPARE(float(rig.page.spinBox(6)->value()), ms);
    }

    void snapping_data()
    {
        QTest::addColumn<double>("in");
        QTest::addColumn<double>("out");
        QTest::newRow("odd goes up") << 12.35 << 12.36;
        QTest::newRow("even stays") << 12.34 << 12.34;
        QTest::newRow("float just below an even hundredth") << double(12.34f) << 12.34;
        QTest::newRow("first step") << 0.01 << 0.02;
        QTest::newRow("top of the rear outputs") << 147.99 << 148.0;
    }
    void snapping()
    {
        QFETCH(double, in);
        QFETCH(double, out);
        QCOMPARE(DelayRecord::snapToEvenHundredths(in), out);
    }

    void typedDelayIsSentAfterFiveTicks_data()
    {
        QTest::addColumn<bool>("reduced");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("shown");
        QTest::addColumn<QByteArray>("payload");
        QTest::newRow("full range 12.35") << false << "12.35" << 12.35 << QByteArray::fromHex("029a994541");
        QTest::newRow("reduced 12.35 -> 12.36") << true << "12.35" << 12.36 << QByteArray::fromHex("028fc24541");
        QTest::newRow("reduced 12.34 stays") << true << "12.34" << 12.34 << QByteArray::fromHex("02a4704541");
    }
    void typedDelayIsSentAfterFiveTicks()
    {
        QFETCH(bool, reduced);
        QFETCH(QString, typed);
        QFETCH(double, shown);
        QFETCH(QByteArray, payload);
        PageRig<QOutDelay> rig(reduced ? 2 : 1);
        QVERIFY(rig.connect());
        rig.page.setReducedRange(reduced);
        typeAndReturn(rig.page.spinBox(2), typed);
        QCOMPARE(rig.page.spinBox(2)->value(), shown);
        QCOMPARE(rig.page.slider(2)->valueInUnits(), float(shown));
        rig.tick(4);
        QCOMPARE(rig.sets(), QStringList());
        rig.tick(1);
        QCOMPARE(rig.sets(), QStringList{frameText(12, 1, 1, payload)});
    }

    void reducedRangePullsControlsInWithoutSending()
    {
        PageRig<QOutDelay> rig;
        QVERIFY(rig.connect());
        rig.report(1, QByteArray(1, '\x04') + f32(500.0f));
        rig.report(1, QByteArray(1, '\x00') + f32(300.0f));
        QCOMPARE(rig.page.slider(4)->valueInUnits(), 500.0f);

        rig.page.setReducedRange(true);
        QCOMPARE(rig.page.slider(4)->valueInUnits(), 148.0f);
        QCOMPARE(rig.page.spinBox(4)->value(), 148.0);
        QCOMPARE(rig.page.delay(4), 500.0f);
        QCOMPARE(rig.page.spinBox(0)->maximum(), 218.0);
        QCOMPARE(rig.page.spinBox(0)->value(), 218.0);
        QCOMPARE(rig.page.spinBox(7)->maximum(), 148.0);
        QCOMPARE(rig.page.spinBox(7)->singleStep(), 0.02);
        rig.tick(20);
        QCOMPARE(rig.sets(), QStringList());

        // A wheel notch down on the reduced range moves by 0.02 ms, not by a
        // step that snapping would undo.
        rig.report(1, QByteArray(1, '\x01') + f32(12.36f));
        wheelNotch(rig.page.slider(1), -120);
        QCOMPARE(rig.page.delay(1), 12.34f);

        rig.page.setReducedRange(false);
        QCOMPARE(rig.page.slider(4)->valueInUnits(), 500.0f);
        QCOMPARE(rig.page.spinBox(4)->value(), 500.0);
        QCOMPARE(rig.page.spinBox(4)->maximum(), 2000.0);
    }

    void echoesDoNotPullAMovingSliderBack()
    {
        PageRig<QInDelay> rig;
        QVERIFY(rig.connect());
        QHSlider *slider = rig.page.slider(1);
        slider->resize(280, 40);
        const QPoint handle = slider->handleRect().center().toPoint();
        dragMouse(slider, handle, handle + QPoint(130, 0));
        const float moved = slider->valueInUnits();
        QVERIFY(moved > 100.0f);
        rig.tick(9);
        rig.report(1, QByteArray(1, '\x01') + f32(0.0f));
        QCOMPARE(slider->valueInUnits(), moved);
        QCOMPARE(rig.sets().size(), 1);
        rig.tick(1);
        rig.report(1, QByteArray(1, '\x01') + f32(0.0f));
        QCOMPARE(slider->valueInUnits(), 0.0f);
        QCOMPARE(rig.page.metresField(1)->text(), QStringLiteral("0.000"));
        rig.tick(10);
        QCOMPARE(rig.sets(), QStringList());
    }

    void malformedRepliesAreIgnored_data()
    {
        QTest::addColumn<quint8>("op");
        QTest::addColumn<QByteArray>("payload");
        QTest::newRow("channel 4 on the input page") << quint8(0x80) << QByteArray::fromHex("0400002041");
        QTest::newRow("short") << quint8(0x80) << QByteArray::fromHex("01000020");
        QTest::newRow("set echo") << quint8(0x01) << QByteArray::fromHex("0100002041");
        QTest::newRow("NaN") << quint8(0x80) << QByteArray::fromHex("010000c07f");
    }
    void malformedRepliesAreIgnored()
    {
        QFETCH(quint8, op);
        QFETCH(QByteArray, payload);
        PageRig<QInDelay> rig;
        rig.report(1, payload, op);
        for (int c = 0; c < QInDelay::InputCount; ++c)
            QCOMPARE(rig.page.delay(c), 0.0f);
        // An out-of-range value is pulled into the page's range.
        rig.report(1, QByteArray(1, '\x03') + f32(5000.0f));
        QCOMPARE(rig.page.delay(3), 1000.0f);
    }

    void pollsOnlyWhileShown()
    {
        PageRig<QInDelay> rig;
        QVERIFY(rig.connect());
        rig.tick(20);
        QCOMPARE(rig.sent().size(), 0);
        rig.page.show();
        rig.tick(10);
        QCOMPARE(describeFrames(rig.sent()),
                 QStringLiteral("2/5/8/0: 3/6/1/0:00 3/6/1/0:01 3/6/1/0:02 3/6/1/0:03"));
    }

    void lockHidesTheRow()
    {
        PageRig<QOutDelay> rig;
        rig.page.show();
        rig.page.setSecurityState(5, 1);
        QVERIFY(rig.page.slider(5)->isVisible());
        QVERIFY(!rig.page.slider(5)->isEnabled());
        rig.page.setSecurityState(5, 2);
        QVERIFY(!rig.page.slider(5)->isVisible());
        QVERIFY(!rig.page.feetField(5)->isVisible());
        rig.page.setSecurityState(5, 0);
        QVERIFY(rig.page.spinBox(5)->isVisible());
        QVERIFY(rig.page.spinBox(5)->isEnabled());
    }

    // Tab goes row by row: the delay, then its distances (read-only, but
    // reachable so that they can be read out); the sliders are mouse-only.
    void tabStopsFollowTheLayout_data()
    {
        QTest::addColumn<bool>("inputs");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("input delay") << true
                                     << nameList({"IN A delay slider", "IN A delay in ms", "IN A delay distance in meters",
                                                  "IN A delay distance in feet", "IN B delay slider"});
        QTest::newRow("output delay") << false
                                      << nameList({"OUT 1 delay slider", "OUT 1 delay in ms", "OUT 1 delay distance in meters",
                                                   "OUT 1 delay distance in feet", "OUT 2 delay slider"});
    }
    void tabStopsFollowTheLayout()
    {
        QFETCH(bool, inputs);
        QFETCH(QStringList, expected);
        Link link;
        QScopedPointer<DelayPage> page(inputs ? static_cast<DelayPage *>(new QInDelay(&link))
                                              : static_cast<DelayPage *>(new QOutDelay(&link)));
        page->timer()->stop();
        page->setInLabel(0, QStringLiteral("Lead"));
        page->setOutLabel(0, QStringLiteral("Sub"));
        const QStringList names = tabStopNames(page.data());
        QCOMPARE(names.mid(0, expected.size()), expected);
        QCOMPARE(names.size(), 4 * (inputs ? QInDelay::InputCount : QOutDelay::OutputCount));
        QCOMPARE(page->slider(1)->accessibleName(), expected.last().replace(QStringLiteral(" in ms"), QStringLiteral(" slider")));
    }
};

QTEST_MAIN(TestDelays)
#include "tst_delays.moc"
