// The dynamic-EQ page: the band record, what the page sends and when, which
// replies it takes, graph drags, copy, reset and locks; end to end against
// the virtual unit.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <cmath>
#include <limits>

#include "core/link/frame.h"
#include "deqmodule.h"
#include "routingrig.h"
#include "tabchain.h"
#include "ui/controls/knob.h"
#include "ui/modules/deqwidget.h"
#include "ui/modules/filtergraph.h"
#include "ui/modules/qchannelselect.h"

namespace {

using Rig = PageRig<DEQWidget>;

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// Band 0 of every channel as it starts: off, PEQ, 100 Hz, 0 dB, Q 6,
// threshold 0 dB, attack and release 1 ms, ratio 1, "Boost Below".
const char *const DefaultBand0 = "01 00 0000c842 00000000 0000c040 00000000 0000803f 0000803f 0000803f 01";

QByteArray bandBytes(const DeqBand &band)
{
    QByteArray out(DeqBand::Size, '\0');
    band.encode(reinterpret_cast<uchar *>(out.data()));
    return out;
}

QByteArray report(int channel, int band, const QByteArray &record)
{
    return QByteArray(1, char(channel)) + QByteArray(1, char(band)) + record;
}

// Answers the next channel-select dialog with the inputs in `inputs`.
void answerChannelSelect(quint8 inputs, bool accept = true)
{
    QTimer::singleShot(0, [=] {
        auto *dialog = qobject_cast<QChannelSelect *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        for (int i = 0; i < 4; ++i)
            if (inputs & (1u << i))
                dialog->inputButton(i)->click();
        (accept ? dialog->okButton() : dialog->cancelButton())->click();
    });
}

struct PromptedRig : Rig
{
    ScriptedPrompt prompt;
    PromptedRig(bool routeReplies = false)
        : Rig(1, routeReplies)
    {
        page.setPrompt(&prompt);
    }
};

} // namespace

class TestDeq : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bandDefaultsOnTheWire_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("band 1") << 0 << hex(DefaultBand0);
        QTest::newRow("band 2, 300 Hz")
            << 1 << hex("01 00 00009643 00000000 0000c040 00000000 0000803f 0000803f 0000803f 01");
        QTest::newRow("band 3, 500 Hz")
            << 2 << hex("01 00 0000fa43 00000000 0000c040 00000000 0000803f 0000803f 0000803f 01");
    }
    void bandDefaultsOnTheWire()
    {
        QFETCH(int, band);
        QFETCH(QByteArray, bytes);
        QCOMPARE(bandBytes(DeqBand::defaults(band)).toHex(), bytes.toHex());
        const DeqBand back = DeqBand::decode(reinterpret_cast<const uchar *>(bytes.constData()), band);
        QVERIFY(back == DeqBand::defaults(band));
    }

    void bandDecodeBringsFieldsIntoRange_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QByteArray>("expected");
        const float nan = std::numeric_limits<float>::quiet_NaN();
        QTest::newRow("bypass 7 is off") << 0 << hex("07") << hex("01");
        QTest::newRow("type 3 is PEQ") << 1 << hex("03") << hex("00");
        QTest::newRow("NaN frequency is the default") << 2 << f32(nan) << f32(100.0f);
        QTest::newRow("5 Hz is 20 Hz") << 2 << f32(5.0f) << f32(20.0f);
        QTest::newRow("gain -6 is the magnitude 6") << 6 << f32(-6.0f) << f32(6.0f);
        QTest::newRow("gain 20 is 12") << 6 << f32(20.0f) << f32(12.0f);
        QTest::newRow("Q 0.1 is 0.27") << 10 << f32(0.1f) << f32(0.27f);
        QTest::newRow("threshold -200 is -90") << 14 << f32(-200.0f) << f32(-90.0f);
        QTest::newRow("attack 2.7 keeps whole ms") << 18 << f32(2.7f) << f32(2.0f);
        QTest::newRow("release infinite is the default")
            << 22 << f32(std::numeric_limits<float>::infinity()) << f32(1.0f);
        QTest::newRow("ratio 0 is 1") << 26 << f32(0.0f) << f32(1.0f);
        QTest::newRow("mode 0 is Boost Below") << 30 << hex("00") << hex("01");
        QTest::newRow("mode 2 stays") << 30 << hex("02") << hex("02");
    }
    void bandDecodeBringsFieldsIntoRange()
    {
        QFETCH(int, offset);
        QFETCH(QByteArray, field);
        QFETCH(QByteArray, expected);
        QByteArray bytes = hex(DefaultBand0);
        bytes.replace(offset, field.size(), field);
        QByteArray want = hex(DefaultBand0);
        want.replace(offset, expected.size(), expected);
        const DeqBand band = DeqBand::decode(reinterpret_cast<const uchar *>(bytes.constData()), 0);
        QCOMPARE(bandBytes(band).toHex(), want.toHex());
    }

    void initialState()
    {
        Rig rig;
        DEQWidget &page = rig.page;
        QCOMPARE(page.objectName(), QStringLiteral("DEQWidget"));
        QVERIFY(page.channelButton(0)->isChecked());
        QVERIFY(page.bandButton(0)->isChecked());
        QCOMPARE(page.channelButton(3)->text(), QStringLiteral("IN D"));
        const QStringList texts = QStringLiteral("0.0 1.0 1 1 100 0.0 6.00").split(QLatin1Char(' '));
        for (int c = 0; c < DEQWidget::ControlCount; ++c)
            QCOMPARE(page.edit(DEQWidget::Control(c))->text(), texts.at(c));
        FilterGraph *graph = page.graph();
        QCOMPARE(graph->dbMax(), 12);
        QCOMPARE(graph->dbMin(), -12);
        QCOMPARE(graph->gridRows(), 6);
        QCOMPARE(graph->params().bandCount, 3);
        QVERIFY(graph->bandGainMode());
        QVERIFY(!graph->params().highPass.shown);
        QCOMPARE(graph->params().bands[2].freq, 500.0f);
    }

    void thresholdKnobSendsOnceFiveTicksAfterItStops()
    {
        Rig rig;
        QVERIFY(rig.connect());
        DEQWidget &page = rig.page;
        Knob *knob = page.knob(DEQWidget::Threshold);
        // 0 to -20 dB is 200 steps of 0.1 dB: ten steps a tick, with a stale
        // echo of the old value arriving every tick.
        for (int t = 0; t < 20; ++t) {
            for (int i = 0; i < 10; ++i)
                QTest::keyClick(knob, Qt::Key_Down);
            rig.tick();
            rig.report(1, report(0, 0, hex(DefaultBand0)));
        }
        QCOMPARE(page.edit(DEQWidget::Threshold)->text(), QStringLiteral("-20.0"));
        rig.tick(3);
        QVERIFY(rig.sets().isEmpty());
        rig.tick();
        const QStringList sets = rig.sets();
        QCOMPARE(sets.size(), 1);
        QCOMPARE(sets.at(0), frameText(16, 1, 1, hex("00 00 01 00 0000c842 00000000 0000c040 0000a0c1 0000803f "
                                                         "0000803f 0000803f 01")));
        rig.tick(20);
        QVERIFY(rig.sets().isEmpty());
        QCOMPARE(page.edit(DEQWidget::Threshold)->text(), QStringLiteral("-20.0"));
    }

    void cutAboveSendsTheSameMagnitudeAndDrawsBelowZero()
    {
        Rig rig;
        QVERIFY(rig.connect());
        DEQWidget &page = rig.page;
        page.enableButton()->click();
        typeAndReturn(page.edit(DEQWidget::Gain), QStringLiteral("6"));
        rig.tick(5);
        QCOMPARE(rig.sets(), QStringList{frameText(16, 1, 1, hex("00 00 00 00 0000c842 0000c040 0000c040 00000000 "
                                                                 "0000803f 0000803f 0000803f 01"))});
        QCOMPARE(page.graph()->params().bands[0].gain, 6.0f);

        QTest::keyClick(page.modeCombo(), Qt::Key_Down);
        QCOMPARE(page.modeCombo()->currentIndex(), 1);
        rig.tick(5);
        QCOMPARE(rig.sets(), QStringList{frameText(16, 1, 1, hex("00 00 00 00 0000c842 0000c040 0000c040 00000000 "
                                                                 "0000803f 0000803f 0000803f 02"))});
        QCOMPARE(page.edit(DEQWidget::Gain)->text(), QStringLiteral("6.0"));
        QCOMPARE(page.graph()->params().bands[0].gain, -6.0f);
        // 99 Hz, next to the band's 100 Hz.
        QVERIFY2(page.graph()->response()[119] < -5.5, qPrintable(QString::number(page.graph()->response()[119])));
    }

    void shelvesAreDrawnWithQ071AndSendTheirOwnQ()
    {
        Rig rig;
        QVERIFY(rig.connect());
        DEQWidget &page = rig.page;
        QTest::keyClick(page.typeCombo(), Qt::Key_Down);
        QCOMPARE(page.graph()->params().bands[0].type, 1);
        QCOMPARE(page.graph()->params().bands[0].q, 0.71f);
        rig.tick(5);
        QCOMPARE(rig.sets(), QStringList{frameText(16, 1, 1, hex("00 00 01 01 0000c842 00000000 0000c040 00000000 "
                                                                 "0000803f 0000803f 0000803f 01"))});
        QTest::keyClick(page.typeCombo(), Qt::Key_Up);
        QCOMPARE(page.graph()->params().bands[0].q, 6.0f);
    }

    void typedValuesAreRoundedAndClamped_data()
    {
        QTest::addColumn<int>("control");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<float>("stored");
        QTest::newRow("ratio 200") << int(DEQWidget::Ratio) << QString::fromLatin1("200")
                                   << QString::fromLatin1("100.0") << 100.0f;
        QTest::newRow("Q 0.1") << int(DEQWidget::Q) << QStringLiteral("0.1") << QStringLiteral("0.27") << 0.27f;
        QTest::newRow("Q 2.34") << int(DEQWidget::Q) << QStringLiteral("2.34") << QStringLiteral("2.34") << 2.34f;
        QTest::newRow("threshold -95") << int(DEQWidget::Threshold) << QString::fromLatin1("-95")
                                   << QString::fromLatin1("-90.0") << -90.0f;
        QTest::newRow("gain 15") << int(DEQWidget::Gain) << QStringLiteral("15") << QStringLiteral("12.0") << 12.0f;
        QTest::newRow("frequency 5") << int(DEQWidget::Freq) << QStringLiteral("5") << QStringLiteral("20") << 20.0f;
        QTest::newRow("attack 0") << int(DEQWidget::Attack) << QStringLiteral("0") << QStringLiteral("1") << 1.0f;
        QTest::newRow("release 3000") << int(DEQWidget::Release) << QString::fromLatin1("3000")
                                   << QString::fromLatin1("2895") << 2895.0f;
        QTest::newRow("nothing typed keeps the value") << int(DEQWidget::Ratio) << QString::fromLatin1("")
                                   << QString::fromLatin1("1.0") << 1.0f;
    }
    void typedValuesAreRoundedAndClamped()
    {
        QFETCH(int, control);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(float, stored);
        Rig rig;
        DEQWidget &page = rig.page;
        typeAndReturn(page.edit(DEQWidget::Control(control)), typed);
        QCOMPARE(page.edit(DEQWidget::Control(control))->text(), shown);
        const DeqBand &b = page.band(0, 0);
        const float fields[] = {b.threshold, b.ratio, b.attack, b.release, b.freq, b.gain, b.q};
        QCOMPARE(fields[control], stored);
    }

    void unfinishedEntriesAreNotSent()
    {
        Rig rig;
        QVERIFY(rig.connect());
        DEQWidget &page = rig.page;
        typeAndReturn(page.edit(DEQWidget::Threshold), QStringLiteral("-20"));
        QLineEdit *threshold = page.edit(DEQWidget::Threshold);
        threshold->selectAll();
        QTest::keyClicks(threshold, QStringLiteral("-5"));
        QTest::keyClick(page.knob(DEQWidget::Gain), Qt::Key_Up);
        rig.tick(5);
        QCOMPARE(rig.sets(), QStringList{frameText(16, 1, 1, hex("00 00 01 00 0000c842 cdcccc3d 0000c040 0000a0c1 "
                                                                 "0000803f 0000803f 0000803f 01"))});
    }

    void repliesOutsideTheTablesAreDropped_data()
    {
        QTest::addColumn<int>("param");
        QTest::addColumn<int>("op");
        QTest::addColumn<QByteArray>("payload");
        const QByteArray changed = hex("00 00 0000fa44 00000000 0000c040 00000000 0000803f 0000803f 0000803f 01");
        QTest::newRow("channel 4") << 1 << 0x80 << report(4, 0, changed);
        QTest::newRow("channel 255") << 1 << 0x80 << report(255, 0, changed);
        QTest::newRow("band 3") << 1 << 0x80 << report(0, 3, changed);
        QTest::newRow("one byte short") << 1 << 0x80 << report(0, 0, changed).left(32);
        QTest::newRow("one byte long") << 1 << 0x80 << report(0, 0, changed) + '\0';
        QTest::newRow("a set, not a report") << 1 << 1 << report(0, 0, changed);
        QTest::newRow("param 2") << 2 << 0x80 << report(0, 0, changed);
    }
    void repliesOutsideTheTablesAreDropped()
    {
        QFETCH(int, param);
        QFETCH(int, op);
        QFETCH(QByteArray, payload);
        Rig rig;
        rig.report(quint8(param), payload, quint8(op));
        for (int c = 0; c < 4; ++c)
            for (int b = 0; b < 3; ++b)
                QVERIFY(rig.page.band(c, b) == DeqBand::defaults(b));
        QCOMPARE(rig.page.edit(DEQWidget::Freq)->text(), QStringLiteral("100"));
    }

    void repliesWaitForTheHoldOff()
    {
        Rig rig;
        DEQWidget &page = rig.page;
        QTest::keyClick(page.knob(DEQWidget::Gain), Qt::Key_Up);
        QCOMPARE(page.edit(DEQWidget::Gain)->text(), QStringLiteral("0.1"));
        const QByteArray unit = report(0, 0, hex("00 00 0000fa44 00000040 0000c040 00000000 0000803f 0000803f "
                                                  "0000803f 01"));
        for (int t = 1; t <= 9; ++t) {
            rig.tick();
            rig.report(1, unit);
            QCOMPARE(page.edit(DEQWidget::Gain)->text(), QStringLiteral("0.1"));
        }
        rig.tick();
        QVERIFY(!page.isHoldingReplies());
        rig.report(1, unit);
        QCOMPARE(page.edit(DEQWidget::Gain)->text(), QStringLiteral("2.0"));
        QCOMPARE(page.edit(DEQWidget::Freq)->text(), QStringLiteral("2000"));
        QVERIFY(page.enableButton()->isChecked());
        QCOMPARE(page.graph()->params().bands[0].freq, 2000.0f);
    }

    void anEqualReplyChangesNothing()
    {
        Rig rig;
        DEQWidget &page = rig.page;
        // Stands for text the operator has typed but not finished.
        page.edit(DEQWidget::Freq)->setText(QStringLiteral("123"));
        rig.report(1, report(0, 0, hex(DefaultBand0)));
        QCOMPARE(page.edit(DEQWidget::Freq)->text(), QStringLiteral("123"));
    }

    void repliesForOtherBandsAndChannelsUpdateTheirRecords()
    {
        Rig rig;
        DEQWidget &page = rig.page;
        const QByteArray at2k = hex("00 02 0000fa44 00000040 0000c040 00000000 0000803f 0000803f 0000803f 02");
        rig.report(1, report(1, 0, at2k));
        QCOMPARE(page.band(1, 0).freq, 2000.0f);
        QCOMPARE(page.graph()->params().bands[0].freq, 100.0f);

        rig.report(1, report(0, 2, at2k));
        QCOMPARE(page.band(0, 2).mode, quint8(2));
        QCOMPARE(page.graph()->params().bands[2].freq, 2000.0f);
        QCOMPARE(page.graph()->params().bands[2].gain, -2.0f);
        QCOMPARE(page.graph()->params().bands[2].q, 0.71f);
        QCOMPARE(page.edit(DEQWidget::Freq)->text(), QStringLiteral("100"));

        page.channelButton(1)->click();
        QCOMPARE(page.edit(DEQWidget::Freq)->text(), QStringLiteral("2000"));
        QCOMPARE(page.modeCombo()->currentIndex(), 1);
        QCOMPARE(page.graph()->params().bands[0].gain, -2.0f);
    }

    void draggingAHandleEditsItsBand()
    {
        Rig rig;
        QVERIFY(rig.connect());
        DEQWidget &page = rig.page;
        QTest::keyClick(page.modeCombo(), Qt::Key_Down);
        rig.tick(5);
        rig.sets();
        Q_EMIT page.graph()->peqChanged(2, 1000.6f, -6.04f);
        QCOMPARE(page.currentBand(), 2);
        QVERIFY(page.bandButton(2)->isChecked());
        QCOMPARE(page.edit(DEQWidget::Freq)->text(), QStringLiteral("1000"));
        QCOMPARE(page.edit(DEQWidget::Gain)->text(), QStringLiteral("6.0"));
        rig.tick(5);
        QCOMPARE(rig.sets(), QStringList{frameText(16, 1, 1, hex("00 02 01 00 00007a44 0000c040 0000c040 00000000 "
                                                                 "0000803f 0000803f 0000803f 01"))});
    }

    void leavingABandSendsItsChangeAtOnce()
    {
        Rig rig;
        QVERIFY(rig.connect());
        DEQWidget &page = rig.page;
        QTest::keyClick(page.knob(DEQWidget::Gain), Qt::Key_Up);
        rig.tick(2);
        page.bandButton(1)->click();
        QCOMPARE(rig.sets(), QStringList{frameText(16, 1, 1, hex("00 00 01 00 0000c842 cdcccc3d 0000c040 00000000 "
                                                                 "0000803f 0000803f 0000803f 01"))});
        rig.tick(10);
        QVERIFY(rig.sets().isEmpty());
    }

    void copyTo_data()
    {
        QTest::addColumn<int>("inputs");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QStringList>("sets");
        QTest::newRow("nothing ticked") << 0 << true << QStringList{frameText(16, 2, 1, hex("01 00"))};
        QTest::newRow("IN C and IN D") << 0x0C << true << QStringList{frameText(16, 2, 1, hex("01 0c"))};
        QTest::newRow("cancelled") << 0x0C << false << QStringList();
    }
    void copyTo()
    {
        QFETCH(int, inputs);
        QFETCH(bool, accept);
        QFETCH(QStringList, sets);
        Rig rig;
        QVERIFY(rig.connect());
        DEQWidget &page = rig.page;
        page.channelButton(1)->click();
        typeAndReturn(page.edit(DEQWidget::Freq), QStringLiteral("440"));
        answerChannelSelect(quint8(inputs), accept);
        page.copyButton()->click();
        // The pending band goes out before the copy the unit makes from it.
        QStringList expected = sets;
        if (accept)
            expected.prepend(frameText(16, 1, 1, hex("01 00 01 00 0000dc43 00000000 0000c040 00000000 0000803f "
                                                     "0000803f 0000803f 01")));
        QCOMPARE(rig.sets(), expected);
        for (int c : {2, 3})
            QCOMPARE(page.band(c, 0).freq, accept && (inputs & (1 << c)) ? 440.0f : 100.0f);
        QCOMPARE(page.band(0, 0).freq, 100.0f);
    }

    void resetAsksFirst()
    {
        PromptedRig rig;
        QVERIFY(rig.connect());
        DEQWidget &page = rig.page;
        page.channelButton(2)->click();
        typeAndReturn(page.edit(DEQWidget::Freq), QStringLiteral("440"));
        rig.tick(5);
        rig.sets();
        rig.prompt.answers = {1};
        page.resetButton()->click();
        QCOMPARE(rig.prompt.asked.size(), 1);
        QCOMPARE(rig.prompt.asked.at(0).title, QStringLiteral("warning"));
        QCOMPARE(rig.prompt.asked.at(0).text, QStringLiteral("Clear all setting?"));
        QCOMPARE(rig.prompt.asked.at(0).buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("Cancle")}));
        QVERIFY(rig.sets().isEmpty());
        QCOMPARE(page.band(2, 0).freq, 440.0f);

        rig.prompt.answers = {0};
        page.resetButton()->click();
        QCOMPARE(rig.sets(), QStringList{frameText(16, 3, 1, hex("02"))});
        QCOMPARE(page.edit(DEQWidget::Freq)->text(), QStringLiteral("100"));
        QVERIFY(page.band(2, 0) == DeqBand::defaults(0));
    }

    void locks_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("free") << 0 << true << true;
        QTest::newRow("read-only") << 1 << true << false;
        QTest::newRow("hidden") << 2 << false << false;
        QTest::newRow("any other value hides") << 7 << false << false;
    }
    void locks()
    {
        QFETCH(int, state);
        QFETCH(bool, visible);
        QFETCH(bool, enabled);
        Rig rig;
        DEQWidget &page = rig.page;
        page.show();
        page.setSecurityState(1, uchar(state));
        QVERIFY(page.body()->isVisible());
        QVERIFY(page.copyButton()->isEnabled());
        page.channelButton(1)->click();
        QCOMPARE(page.body()->isVisible(), visible);
        QCOMPARE(page.copyButton()->isVisible(), visible);
        QCOMPARE(page.resetButton()->isVisible(), visible);
        if (visible) {
            QCOMPARE(page.graph()->isEnabled(), enabled);
            QCOMPARE(page.knob(DEQWidget::Q)->isEnabled(), enabled);
            QCOMPARE(page.resetButton()->isEnabled(), enabled);
        }
        QVERIFY(page.channelButton(0)->isEnabled());
        page.channelButton(0)->click();
        QVERIFY(page.body()->isVisible());
        QVERIFY(page.knob(DEQWidget::Q)->isEnabled());
    }

    void pollsOneChannelEverySecondTickWhileShown()
    {
        Rig rig;
        QVERIFY(rig.connect());
        rig.tick(4);
        QVERIFY(rig.sent().isEmpty());
        rig.page.show();
        QStringList seen;
        for (int t = 0; t < 4; ++t) {
            rig.tick();
            const QString frames = describeFrames(rig.sent());
            if (!frames.isEmpty())
                seen << frames;
        }
        QCOMPARE(seen.join(QLatin1Char(' ')), QStringLiteral("2/5/16/0: 3/16/1/0:0000 3/16/1/0:0001 3/16/1/0:0002 "
                                                             "2/5/16/0: 3/16/1/0:0100 3/16/1/0:0101 3/16/1/0:0102"));
    }

    void editsReachTheUnitAndComeBack()
    {
        PromptedRig rig;
        QVERIFY(rig.connect());
        DEQWidget &page = rig.page;
        page.channelButton(1)->click();
        page.bandButton(2)->click();
        page.enableButton()->click();
        QTest::keyClick(page.typeCombo(), Qt::Key_Down);
        QTest::keyClick(page.modeCombo(), Qt::Key_Down);
        typeAndReturn(page.edit(DEQWidget::Gain), QStringLiteral("4.5"));
        typeAndReturn(page.edit(DEQWidget::Threshold), QStringLiteral("-30"));
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(page.knob(DEQWidget::Attack), Qt::Key_Up);
        rig.tick(5);
        DeqModule *unitDeq = rig.unit.findModule<DeqModule>();
        QVERIFY(unitDeq);
        QVERIFY(waitUntil([&] { return unitDeq->bands[1][2] == page.band(1, 2); }));
        QCOMPARE(unitDeq->bands[1][2].attack, 6.0f);

        // A fresh page learns it back from the unit.
        DEQWidget fresh(&rig.link);
        fresh.timer()->stop();
        fresh.show();
        QObject::connect(&rig.link, &Link::moduleMessage, &fresh,
                         [&](quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload) {
                             if (module == Frame::DynamicEq)
                                 fresh.onMessage(param, op, length, payload);
                         });
        QVERIFY(waitUntil([&] {
            fresh.timeOut20ms();
            return fresh.band(1, 2) == page.band(1, 2);
        }));

        // Copy and reset act in the unit too.
        answerChannelSelect(0x01);
        page.copyButton()->click();
        QVERIFY(waitUntil([&] { return unitDeq->bands[0][2] == page.band(1, 2); }));
        rig.prompt.answers = {0};
        page.resetButton()->click();
        QVERIFY(waitUntil([&] { return unitDeq->bands[1][2] == DeqBand::defaults(2); }));
        QVERIFY(unitDeq->bands[0][2] == page.band(0, 2));
    }

    // Tab follows the layout: channels, the band box, copy and reset, then
    // the knob panels column by column; the editors carry the selected
    // channel and band in their names.
    void tabStopsFollowTheLayout_data()
    {
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("band");
        QTest::addColumn<QStringList>("expected"); // a run of stops, from its first name on
        QTest::newRow("channel panel")
            << 0 << 0
            << nameList({"IN A", "IN B", "IN C", "IN D", "Band 1", "Band 2", "Band 3", "IN A band 1 enable",
                         "IN A band 1 mode", "IN A band 1 type", "Copy to", "Reset", "IN A band 1 threshold knob",
                         "IN A band 1 threshold in dB", "IN A band 1 ratio knob"});
        QTest::newRow("IN C band 3 knobs")
            << 2 << 2
            << nameList({"IN C band 3 decay in ms", "IN C band 3 frequency knob", "IN C band 3 frequency in Hz",
                         "IN C band 3 gain knob", "IN C band 3 gain in dB", "IN C band 3 Q knob", "IN C band 3 Q"});
    }
    void tabStopsFollowTheLayout()
    {
        QFETCH(int, channel);
        QFETCH(int, band);
        QFETCH(QStringList, expected);
        Link link;
        DEQWidget page(&link);
        page.timer()->stop();
        page.setInLabel(0, QStringLiteral("Lead"));
        page.channelButtonGroupButtonClicked(channel);
        page.bandButtonGroupButtonClicked(band);
        const QStringList names = tabStopNames(&page);
        const int from = names.indexOf(expected.first());
        QVERIFY2(from >= 0, qPrintable(names.join(QLatin1String(" | "))));
        QCOMPARE(names.mid(from, expected.size()), expected);
    }
};

QTEST_MAIN(TestDeq)
#include "tst_deq.moc"
