// The noise gate and feedback pages against the bytes of their module
// tables: what goes out when, what a report changes, and what is refused.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "core/records/gaterecord.h"
#include "routingrig.h"
#include "tabchain.h"
#include "ui/controls/knob.h"
#include "ui/modules/qfeedback.h"
#include "ui/modules/qgate.h"

namespace {

const QString GateOpenStyle = QStringLiteral("border-radius:7px;padding:2px 4px;background-color:#00FF00");
const QString GateClosedStyle = QStringLiteral("border-radius:7px;padding:2px 4px;background-color:#707070");

// [channel, enable, threshold f32, attack f32, decay f32]
QByteArray gateReport(quint8 channel, quint8 enable, const char *thresholdHex, const char *attackHex,
                      const char *decayHex)
{
    return QByteArray(1, char(channel)) + QByteArray(1, char(enable)) + QByteArray::fromHex(thresholdHex)
           + QByteArray::fromHex(attackHex) + QByteArray::fromHex(decayHex);
}

void finishEntry(QLineEdit *edit, const QString &text)
{
    edit->clear();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

} // namespace

class TestGateFeedback : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void gateRecordDecodesTheUnitsFloats_data()
    {
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<int>("threshold");
        QTest::addColumn<int>("attack");
        QTest::addColumn<int>("decay");
        // threshold, attack, decay as f32 little-endian
        QTest::newRow("whole values") << QByteArray::fromHex("01" "000080c2" "00002041" "0000fa43") << -64 << 10 << 500;
        QTest::newRow("truncated toward zero") << QByteArray::fromHex("00" "666681c2" "00006040" "0000a041") << -64
                                               << 3 << 20;
        QTest::newRow("out of range pulled in") << QByteArray::fromHex("00" "0000a041" "00000000" "00007a45") << 0
                                                << 1 << 1000;
        QTest::newRow("NaN gives the default") << QByteArray::fromHex("00" "0000c07f" "0000c07f" "0000c07f") << -65
                                               << 1 << 20;
    }
    void gateRecordDecodesTheUnitsFloats()
    {
        QFETCH(QByteArray, wire);
        const GateRecord r = GateRecord::decode(reinterpret_cast<const uchar *>(wire.constData()));
        QFETCH(int, threshold);
        QFETCH(int, attack);
        QFETCH(int, decay);
        QCOMPARE(int(r.threshold), threshold);
        QCOMPARE(int(r.attack), attack);
        QCOMPARE(int(r.decay), decay);
    }

    void gateRecordEncodesFloats()
    {
        GateRecord r;
        r.enable = true;
        r.threshold = -120;
        r.attack = 1000;
        r.decay = 20;
        uchar out[GateRecord::WireSize];
        r.encode(out);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(out), GateRecord::WireSize).toHex(),
                 QByteArray("01" "0000f0c2" "00007a44" "0000a041"));
    }

    void openReportLightsLampsAndRelaysChangesOnly()
    {
        PageRig<QGate> rig;
        QSignalSpy spy(&rig.page, &QGate::sigOpenState);
        rig.report(1, QByteArray::fromHex("01000001"));
        QCOMPARE(spy.size(), 2);
        QCOMPARE(spy.at(0), (QVariantList{QVariant::fromValue(uchar(0)), true}));
        QCOMPARE(spy.at(1), (QVariantList{QVariant::fromValue(uchar(3)), true}));
        QCOMPARE(rig.page.lamp(0)->styleSheet(), GateOpenStyle);
        QCOMPARE(rig.page.lamp(1)->styleSheet(), GateClosedStyle);
        QCOMPARE(rig.page.lamp(2)->styleSheet(), GateClosedStyle);
        QCOMPARE(rig.page.lamp(3)->styleSheet(), GateOpenStyle);

        rig.report(1, QByteArray::fromHex("01000001"));
        QCOMPARE(spy.size(), 2);
        rig.report(1, QByteArray::fromHex("00000005"));
        QCOMPARE(spy.size(), 3);
        QCOMPARE(spy.at(2), (QVariantList{QVariant::fromValue(uchar(0)), false}));

        // Wrong length or op: nothing.
        rig.report(1, QByteArray::fromHex("010101"));
        rig.report(1, QByteArray::fromHex("01010101"), 0x01);
        QCOMPARE(spy.size(), 3);
    }

    void knobTurnIsSentOnTheFifthTickAndHoldsOffRecords()
    {
        PageRig<QGate> rig;
        QVERIFY(rig.connect());
        rig.page.show();
        QTest::keyClick(rig.page.thresholdKnob(1), Qt::Key_Up); // -65 -> -64
        QCOMPARE(rig.page.thresholdEdit(1)->text(), QStringLiteral("-64"));

        // While the knob is moving, records from the unit are not applied,
        // open states are.
        rig.report(2, gateReport(1, 0, "0000f0c2", "0000803f", "0000a041"));
        QCOMPARE(int(rig.page.record(1).threshold), -64);
        rig.report(1, QByteArray::fromHex("00010000"));
        QVERIFY(rig.page.isOpen(1));

        rig.tick(4);
        QCOMPARE(rig.sets(), QStringList());
        rig.tick(1);
        QCOMPARE(rig.sets(), QStringList{frameText(2, 2, 1, gateReport(1, 0, "000080c2", "0000803f", "0000a041"))});

        // Another movement restarts the count.
        QTest::keyClick(rig.page.decayKnob(1), Qt::Key_Up);
        rig.tick(3);
        QTest::keyClick(rig.page.decayKnob(1), Qt::Key_Up);
        rig.tick(4);
        QCOMPARE(rig.sets(), QStringList());
        rig.tick(1);
        QCOMPARE(rig.sets(), QStringList{frameText(2, 2, 1, gateReport(1, 0, "000080c2", "0000803f", "0000b041"))});

        // Ten ticks after the last movement, records apply again.
        rig.tick(4);
        rig.report(2, gateReport(1, 1, "0000f0c2", "0000803f", "0000a041"));
        QCOMPARE(int(rig.page.record(1).threshold), -64);
        QVERIFY(!rig.page.enableButton(1)->isChecked());
        rig.tick(1);
        rig.report(2, gateReport(1, 1, "666681c2", "0000803f", "0000a041"));
        QCOMPARE(int(rig.page.record(1).threshold), -64); // -64.7 truncated
        QCOMPARE(rig.page.thresholdEdit(1)->text(), QStringLiteral("-64"));
        QCOMPARE(rig.page.thresholdKnob(1)->value(), -64.0f);
        QCOMPARE(rig.page.decayEdit(1)->text(), QStringLiteral("20"));
        QVERIFY(rig.page.enableButton(1)->isChecked());
        // Replies never cause sends.
        rig.tick(10);
        QCOMPARE(rig.sets(), QStringList());
    }

    void entriesAreCheckedAndClamped_data()
    {
        QTest::addColumn<int>("field"); // 0 threshold, 1 attack, 2 decay
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArray>("record"); // what goes out for input C, empty: nothing
        QTest::newRow("threshold 5 gives 0") << 0 << "5" << "0" << gateReport(2, 0, "00000000", "0000803f", "0000a041");
        QTest::newRow("threshold -130") << 0 << "-130" << "-120" << gateReport(2, 0, "0000f0c2", "0000803f", "0000a041");
        QTest::newRow("threshold -0") << 0 << "-0" << "0" << gateReport(2, 0, "00000000", "0000803f", "0000a041");
        QTest::newRow("threshold -64") << 0 << "-64" << "-64" << gateReport(2, 0, "000080c2", "0000803f", "0000a041");
        QTest::newRow("attack 0") << 1 << "0" << "1" << gateReport(2, 0, "000082c2", "0000803f", "0000a041");
        QTest::newRow("attack -5 gives 1") << 1 << "-5" << "1" << gateReport(2, 0, "000082c2", "0000803f", "0000a041");
        QTest::newRow("attack 5000") << 1 << "5000" << "1000" << gateReport(2, 0, "000082c2", "00007a44", "0000a041");
        QTest::newRow("decay 10") << 2 << "10" << "20" << gateReport(2, 0, "000082c2", "0000803f", "0000a041");
        QTest::newRow("decay letters refused") << 2 << "abc" << "" << QByteArray();
    }
    void entriesAreCheckedAndClamped()
    {
        QFETCH(int, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QByteArray, record);
        PageRig<QGate> rig;
        QVERIFY(rig.connect());
        QLineEdit *edit = field == 0 ? rig.page.thresholdEdit(2) : field == 1 ? rig.page.attackEdit(2)
                                                                              : rig.page.decayEdit(2);
        Knob *knob = field == 0 ? rig.page.thresholdKnob(2) : field == 1 ? rig.page.attackKnob(2)
                                                                         : rig.page.decayKnob(2);
        finishEntry(edit, typed);
        QCOMPARE(edit->text(), shown);
        if (record.isEmpty()) {
            QCOMPARE(rig.sets(), QStringList());
            return;
        }
        QCOMPARE(knob->value(), shown.toFloat());
        QCOMPARE(rig.sets(), QStringList{frameText(2, 2, 1, record)});
    }

    void enableIsSentAtOnce()
    {
        PageRig<QGate> rig;
        QVERIFY(rig.connect());
        QTest::mouseClick(rig.page.enableButton(3), Qt::LeftButton);
        QCOMPARE(rig.sets(), QStringList{frameText(2, 2, 1, gateReport(3, 1, "000082c2", "0000803f", "0000a041"))});
    }

    void gatePollsOpenStatesAlwaysAndRecordsWhileShown()
    {
        PageRig<QGate> rig;
        QVERIFY(rig.connect());
        rig.tick(10); // hidden
        QCOMPARE(describeFrames(rig.sent()), QStringLiteral("3/2/1/0: 3/2/1/0:"));
        rig.page.show();
        rig.tick(10);
        QCOMPARE(describeFrames(rig.sent()),
                 QStringLiteral("3/2/1/0: 3/2/1/0: 2/5/4/0: 3/2/2/0:00 3/2/2/0:01 3/2/2/0:02 3/2/2/0:03"));
    }

    void gateLockHidesTheControlsButNotTheTitle()
    {
        PageRig<QGate> rig;
        rig.page.show();
        rig.page.setSecurityState(1, 1);
        QVERIFY(rig.page.thresholdKnob(1)->isVisible());
        QVERIFY(!rig.page.thresholdKnob(1)->isEnabled());
        QVERIFY(!rig.page.enableButton(1)->isEnabled());
        rig.page.setSecurityState(1, 2);
        QVERIFY(!rig.page.thresholdKnob(1)->isVisible());
        QVERIFY(!rig.page.lamp(1)->isVisible());
        QVERIFY(!rig.page.decayEdit(1)->isVisible());
        QVERIFY(!rig.page.enableButton(1)->isVisible());
        rig.page.setSecurityState(1, 0);
        QVERIFY(rig.page.thresholdKnob(1)->isVisible());
        QVERIFY(rig.page.thresholdKnob(1)->isEnabled());
        QVERIFY(!rig.page.lamp(1)->isEnabled()); // the lamp is never an input
    }

    void feedbackSendsOnlyQueriesAndOnlyWhileShown()
    {
        PageRig<QFeedback> rig;
        QVERIFY(rig.connect());
        rig.tick(30);
        QCOMPARE(rig.sent().size(), 0);
        rig.page.show();
        rig.tick(9);
        QCOMPARE(rig.sent().size(), 0);
        rig.tick(1);
        QCOMPARE(describeFrames(rig.sent()), QStringLiteral("2/5/5/0: 3/3/1/0:00 3/3/1/0:01 3/3/1/0:02 3/3/1/0:03"));
    }

    void feedbackEnableAndReports()
    {
        PageRig<QFeedback> rig;
        QVERIFY(rig.connect());
        QTest::mouseClick(rig.page.enableButton(2), Qt::LeftButton);
        QCOMPARE(rig.sets(), QStringList{frameText(3, 1, 1, QByteArray::fromHex("0201"))});
        QVERIFY(rig.page.isSuppressorOn(2));

        rig.report(1, QByteArray::fromHex("0101"));
        QVERIFY(rig.page.enableButton(1)->isChecked());
        rig.report(1, QByteArray::fromHex("0200"));
        QVERIFY(!rig.page.enableButton(2)->isChecked());
        // Channel 4, a short report and a set echo change nothing.
        rig.report(1, QByteArray::fromHex("0401"));
        rig.report(1, QByteArray::fromHex("03"));
        rig.report(1, QByteArray::fromHex("0301"), 0x01);
        QVERIFY(!rig.page.enableButton(3)->isChecked());
        QCOMPARE(rig.sets(), QStringList());
    }

    void feedbackLockHidesTitleAndButton()
    {
        PageRig<QFeedback> rig;
        rig.page.show();
        rig.page.setSecurityState(0, 1);
        QVERIFY(rig.page.enableButton(0)->isVisible());
        QVERIFY(!rig.page.enableButton(0)->isEnabled());
        rig.page.setSecurityState(0, 3);
        QVERIFY(!rig.page.enableButton(0)->isVisible());
        rig.page.setSecurityState(0, 0);
        QVERIFY(rig.page.enableButton(0)->isVisible());
        QVERIFY(rig.page.enableButton(0)->isEnabled());
    }

    // Tab goes strip by strip, down each strip; a hidden input is passed by.
    void tabStopsFollowTheLayout_data()
    {
        QTest::addColumn<bool>("gate");
        QTest::addColumn<int>("hiddenInput");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("gate") << true << -1
                              << nameList({"IN A gate enable", "IN A gate threshold knob", "IN A gate threshold in dB",
                                           "IN A gate attack knob", "IN A gate attack in ms", "IN A gate decay knob",
                                           "IN A gate decay in ms", "IN B gate enable"});
        QTest::newRow("gate with IN B hidden") << true << 1
                                               << nameList({"IN A gate enable", "IN A gate threshold knob",
                                                            "IN A gate threshold in dB", "IN A gate attack knob",
                                                            "IN A gate attack in ms", "IN A gate decay knob",
                                                            "IN A gate decay in ms", "IN C gate enable"});
        QTest::newRow("feedback") << false << -1
                                  << nameList({"IN A feedback suppressor enable", "IN B feedback suppressor enable",
                                               "IN C feedback suppressor enable", "IN D feedback suppressor enable"});
    }
    void tabStopsFollowTheLayout()
    {
        QFETCH(bool, gate);
        QFETCH(int, hiddenInput);
        QFETCH(QStringList, expected);
        Link link;
        QScopedPointer<ModulePage> page(gate ? static_cast<ModulePage *>(new QGate(&link))
                                             : static_cast<ModulePage *>(new QFeedback(&link)));
        page->timer()->stop();
        // An operator's label is shown in the title, never used as a name.
        page->setInLabel(0, QStringLiteral("Lead"));
        if (hiddenInput >= 0)
            page->setSecurityState(uchar(hiddenInput), 2);
        QCOMPARE(tabStopNames(page.data()).mid(0, expected.size()), expected);
    }
};

QTEST_MAIN(TestGateFeedback)
#include "tst_gatefeedback.moc"
