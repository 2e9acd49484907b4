// The compressor/limiter pages and their transfer-curve chart against the
// bytes of the limiter message table: the 17-byte record, the debounce, the
// level reports, "Copy to" and "Reset".

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "core/records/limiterrecord.h"
#include "routingrig.h"
#include "tabchain.h"
#include "ui/controls/knob.h"
#include "ui/controls/qmeterwidget.h"
#include "ui/controls/qtlimitctrl.h"
#include "ui/modules/qchannelselect.h"
#include "ui/modules/qinlimiter.h"
#include "ui/modules/qoutlimiter.h"

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

// The record as the table lays it out: enable u8, then threshold, ratio,
// attack and decay as f32.
QByteArray wire(int enable, float threshold, float ratio, float attack, float decay)
{
    return QByteArray(1, char(enable)) + f32(threshold) + f32(ratio) + f32(attack) + f32(decay);
}

QString recordSet(int module, int channel, int enable, float threshold, float ratio, float attack, float decay)
{
    return frameText(quint8(module), 1, 1, QByteArray(1, char(channel)) + wire(enable, threshold, ratio, attack, decay));
}

void whenChannelSelectShows(const std::function<void(QChannelSelect *)> &act)
{
    QTimer::singleShot(0, [act] {
        auto *dialog = qobject_cast<QChannelSelect *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        act(dialog);
    });
}

} // namespace

Q_DECLARE_METATYPE(LimiterPage::Parameter)

class TestLimiters : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void recordBytes()
    {
        LimiterRecord r;
        r.enable = true;
        r.threshold = -12.5f;
        r.ratio = 4;
        r.attack = 10;
        r.decay = 100;
        uchar out[LimiterRecord::Size];
        r.encode(out);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(out), LimiterRecord::Size).toHex(),
                 QByteArray("01" "000048c1" "00008040" "00002041" "0000c842"));
        const LimiterRecord defaults;
        defaults.encode(out);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(out), LimiterRecord::Size).toHex(),
                 QByteArray("00" "00000000" "00000040" "0000803f" "0000a040"));
    }

    void recordDecode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("enable");
        QTest::addColumn<float>("threshold");
        QTest::addColumn<int>("ratio");
        QTest::addColumn<int>("attack");
        QTest::addColumn<int>("decay");

        QTest::newRow("whole values") << QByteArray::fromHex("01" "000048c1" "00008040" "00002041" "0000c842") << true
                                      << -12.5f << 4 << 10 << 100;
        QTest::newRow("truncated toward zero") // 2.9, 999.99, 5.5
            << QByteArray::fromHex("02" "00000000" "33333340" "f6ff7944" "0000b040") << true << 0.0f << 2 << 999 << 5;
        QTest::newRow("out of range pulled in") // -200, 0, 0, 2000
            << QByteArray::fromHex("00" "000048c3" "00000000" "00000000" "0000fa44") << false << -120.0f << 1 << 1
            << 1000;
        QTest::newRow("NaN and infinity give the defaults")
            << QByteArray::fromHex("00" "0000c07f" "0000c07f" "0000807f" "000080ff") << false << 0.0f << 2 << 1 << 5;
    }
    void recordDecode()
    {
        QFETCH(QByteArray, bytes);
        const LimiterRecord r = LimiterRecord::decode(reinterpret_cast<const uchar *>(bytes.constData()));
        QTEST(r.enable, "enable");
        QTEST(r.threshold, "threshold");
        QTEST(int(r.ratio), "ratio");
        QTEST(int(r.attack), "attack");
        QTEST(int(r.decay), "decay");
    }

    void fieldEntries_data()
    {
        QTest::addColumn<LimiterPage::Parameter>("parameter");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("sent");

        QTest::newRow("ratio 1 with the knob at 2")
            << LimiterPage::Ratio << "1" << "1" << recordSet(5, 1, 0, 0.0f, 1, 1, 5);
        QTest::newRow("ratio 0 gives 1") << LimiterPage::Ratio << "0" << "1" << recordSet(5, 1, 0, 0.0f, 1, 1, 5);
        QTest::newRow("ratio 100") << LimiterPage::Ratio << "100" << "100" << recordSet(5, 1, 0, 0.0f, 100, 1, 5);
        QTest::newRow("ratio 101 gives 100")
            << LimiterPage::Ratio << "101" << "100" << recordSet(5, 1, 0, 0.0f, 100, 1, 5);
        QTest::newRow("threshold -150 gives -120.0")
            << LimiterPage::Threshold << "-150" << "-120.0" << recordSet(5, 1, 0, -120.0f, 2, 1, 5);
        QTest::newRow("threshold 30 gives 24.0")
            << LimiterPage::Threshold << "30" << "24.0" << recordSet(5, 1, 0, 24.0f, 2, 1, 5);
        QTest::newRow("threshold unreadable restores 0.0, sends nothing")
            << LimiterPage::Threshold << "x" << "0.0" << QString();
        QTest::newRow("threshold -7.5") << LimiterPage::Threshold << "-7.5" << "-7.5"
                                        << recordSet(5, 1, 0, -7.5f, 2, 1, 5);
        QTest::newRow("attack 0 gives 1") << LimiterPage::Attack << "0" << "1" << recordSet(5, 1, 0, 0.0f, 2, 1, 5);
        QTest::newRow("attack 5000 gives 1000")
            << LimiterPage::Attack << "5000" << "1000" << recordSet(5, 1, 0, 0.0f, 2, 1000, 5);
        QTest::newRow("attack 12.7 gives 13")
            << LimiterPage::Attack << "12.7" << "13" << recordSet(5, 1, 0, 0.0f, 2, 13, 5);
        QTest::newRow("decay 3 gives 5") << LimiterPage::Decay << "3" << "5" << recordSet(5, 1, 0, 0.0f, 2, 1, 5);
        QTest::newRow("decay 1001 gives 1000")
            << LimiterPage::Decay << "1001" << "1000" << recordSet(5, 1, 0, 0.0f, 2, 1, 1000);
    }
    void fieldEntries()
    {
        QFETCH(LimiterPage::Parameter, parameter);
        QFETCH(QString, typed);
        PageRig<QInLimiter> rig;
        QVERIFY(rig.connect());
        rig.page.show();
        rig.page.channelButton(1)->click();
        typeAndReturn(rig.page.field(parameter), typed);
        QTEST(rig.page.field(parameter)->text(), "shown");
        QTEST(rig.sets().join(QLatin1Char(' ')), "sent");
        // The knob and the chart follow the stored value.
        const LimiterRecord r = rig.page.record(1);
        QCOMPARE(rig.page.knob(LimiterPage::Ratio)->value(), float(r.ratio));
        QCOMPARE(rig.page.knob(LimiterPage::Threshold)->value(), std::round(r.threshold * 10.0f));
        QCOMPARE(rig.page.chart()->ratio(), double(r.ratio));
        QCOMPARE(rig.page.chart()->threshold(), double(r.threshold));
        QCOMPARE(rig.page.record(0), LimiterRecord());
    }

    void knobTurnsSendOneWholeRecordAfterTenTicks()
    {
        PageRig<QInLimiter> rig;
        QVERIFY(rig.connect());
        rig.page.show();
        Knob *threshold = rig.page.knob(LimiterPage::Threshold);
        threshold->setFocus();
        // Thirty ticks of turning, one notch down per tick.
        for (int i = 0; i < 30; ++i) {
            wheelNotch(threshold, -120);
            rig.tick();
        }
        QCOMPARE(rig.page.record(0).threshold, -3.0f);
        QCOMPARE(rig.page.field(LimiterPage::Threshold)->text(), QStringLiteral("-3.0"));
        QCOMPARE(rig.page.chart()->threshold(), -3.0);
        QVERIFY(rig.sets().isEmpty());
        // A stale record reply during the turn is ignored.
        rig.report(1, bytes({0}) + wire(0, 0.0f, 2, 1, 5));
        QCOMPARE(rig.page.record(0).threshold, -3.0f);

        // Nothing until the tenth tick after the last notch.
        rig.tick(8);
        QVERIFY(rig.sets().isEmpty());

        // The ratio knob has a delay of its own; each sends the whole record.
        wheelNotch(rig.page.knob(LimiterPage::Ratio), 120);
        rig.tick();
        QCOMPARE(rig.sets(), QStringList{recordSet(5, 0, 0, -3.0f, 3, 1, 5)});
        rig.tick(8);
        QVERIFY(rig.sets().isEmpty());
        QVERIFY(rig.page.isBusy());
        rig.tick();
        QCOMPARE(rig.sets(), QStringList{recordSet(5, 0, 0, -3.0f, 3, 1, 5)});
        QVERIFY(!rig.page.isBusy());
        rig.tick(20);
        QVERIFY(rig.sets().isEmpty());
    }

    void enableSendsAtOnceAndBypassesTheChart()
    {
        PageRig<QOutLimiter> rig;
        QVERIFY(rig.connect());
        rig.page.channelButton(7)->click();
        QVERIFY(rig.page.chart()->bypass());
        rig.page.enableButton()->click();
        QCOMPARE(rig.sets(), QStringList{recordSet(11, 7, 1, 0.0f, 2, 1, 5)});
        QVERIFY(!rig.page.chart()->bypass());
    }

    void switchingChannelsSendsAWaitingKnobTurnForItsOwnChannel()
    {
        PageRig<QInLimiter> rig;
        QVERIFY(rig.connect());
        rig.page.show();
        wheelNotch(rig.page.knob(LimiterPage::Attack), 120);
        rig.tick(3);
        rig.page.channelButton(2)->click();
        QCOMPARE(rig.sets(), QStringList{recordSet(5, 0, 0, 0.0f, 2, 2, 5)});
        rig.tick(20);
        QVERIFY(rig.sets().isEmpty());
        QCOMPARE(rig.page.currentChannel(), uchar(2));
        QCOMPARE(rig.page.field(LimiterPage::Attack)->text(), QStringLiteral("1"));
    }

    void copyToInputsAndOutputs()
    {
        PageRig<QInLimiter> rig;
        QVERIFY(rig.connect());
        QOutLimiter twin(nullptr);
        twin.timer()->stop();
        QObject::connect(&rig.page, &QInLimiter::sigOutCopy, &twin, &QOutLimiter::channelCopy);
        QList<uchar> copies;
        QObject::connect(&rig.page, &QInLimiter::sigOutCopy, &twin,
                         [&copies](uchar select, char *) { copies.append(select); });

        rig.page.channelButton(1)->click();
        typeAndReturn(rig.page.field(LimiterPage::Threshold), QStringLiteral("-20"));
        rig.page.enableButton()->click();
        rig.sets();
        // Shown on the output page when OUT 3 is its current channel.
        twin.channelButton(2)->click();

        whenChannelSelectShows([](QChannelSelect *d) {
            QVERIFY(!d->inputButton(1)->isEnabled());
            d->inputButton(0)->click();
            d->outputButton(2)->click();
            d->okButton()->click();
        });
        rig.page.copyButton()->click();
        QCOMPARE(rig.sets(), QStringList{QStringLiteral("3/5/2/1:010104")});
        QCOMPARE(copies, QList<uchar>{0x04});
        const LimiterRecord copied = rig.page.record(1);
        QCOMPARE(copied.threshold, -20.0f);
        QCOMPARE(rig.page.record(0), copied);
        QCOMPARE(rig.page.record(2), LimiterRecord());
        QCOMPARE(twin.record(2), copied);
        QCOMPARE(twin.record(1), LimiterRecord());
        QCOMPARE(twin.field(LimiterPage::Threshold)->text(), QStringLiteral("-20.0"));
        QVERIFY(twin.enableButton()->isChecked());

        // Cancelled: nothing changes, nothing is sent.
        whenChannelSelectShows([](QChannelSelect *d) {
            d->inputButton(3)->click();
            d->cancelButton()->click();
        });
        rig.page.copyButton()->click();
        QVERIFY(rig.sets().isEmpty());
        QCOMPARE(rig.page.record(3), LimiterRecord());
    }

    void copyFromTheOutputPage()
    {
        PageRig<QOutLimiter> rig;
        QVERIFY(rig.connect());
        QInLimiter twin(nullptr);
        twin.timer()->stop();
        QObject::connect(&rig.page, &QOutLimiter::sigInCopy, &twin, &QInLimiter::channelCopy);
        rig.page.channelButton(1)->click();
        typeAndReturn(rig.page.field(LimiterPage::Ratio), QStringLiteral("8"));
        // A knob turn still waiting goes out before the copy command.
        wheelNotch(rig.page.knob(LimiterPage::Decay), 120);
        whenChannelSelectShows([](QChannelSelect *d) {
            QVERIFY(!d->outputButton(1)->isEnabled());
            d->inputButton(2)->click();
            d->outputButton(0)->click();
            d->okButton()->click();
        });
        rig.page.copyButton()->click();
        QCOMPARE(rig.sets(), (QStringList{recordSet(11, 1, 0, 0.0f, 8, 1, 5), recordSet(11, 1, 0, 0.0f, 8, 1, 6),
                                          QStringLiteral("3/11/2/1:010401")}));
        QCOMPARE(rig.page.record(0).decay, quint16(6));
        QCOMPARE(twin.record(2).ratio, quint8(8));
        QCOMPARE(twin.record(2).decay, quint16(6));
        rig.tick(20);
        QVERIFY(rig.sets().isEmpty());
    }

    void resetAsksAndSendsTheChannel()
    {
        PageRig<QOutLimiter> rig;
        QVERIFY(rig.connect());
        ScriptedPrompt prompt;
        rig.page.setPrompt(&prompt);
        rig.page.channelButton(4)->click();
        typeAndReturn(rig.page.field(LimiterPage::Attack), QStringLiteral("300"));
        rig.sets();

        prompt.answers = {1};
        rig.page.resetButton()->click();
        QCOMPARE(prompt.asked.size(), 1);
        QCOMPARE(prompt.asked.at(0).title, QStringLiteral("warning"));
        QCOMPARE(prompt.asked.at(0).text, QStringLiteral("Clear all setting?"));
        QCOMPARE(prompt.asked.at(0).buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("Cancle")}));
        QVERIFY(rig.sets().isEmpty());
        QCOMPARE(rig.page.record(4).attack, quint16(300));

        prompt.answers = {0};
        rig.page.resetButton()->click();
        QCOMPARE(rig.sets(), QStringList{QStringLiteral("3/11/3/1:04")});
        QCOMPARE(rig.page.record(4), LimiterRecord());
        QCOMPARE(rig.page.field(LimiterPage::Threshold)->text(), QStringLiteral("0.0"));
        QCOMPARE(rig.page.field(LimiterPage::Ratio)->text(), QStringLiteral("2"));
        QCOMPARE(rig.page.field(LimiterPage::Attack)->text(), QStringLiteral("1"));
        QCOMPARE(rig.page.field(LimiterPage::Decay)->text(), QStringLiteral("5"));
    }

    void levelReports_data()
    {
        QTest::addColumn<bool>("output");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<QByteArray>("report");
        QTest::addColumn<QList<int>>("relayed");
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<int>("reductionMeter");

        const QStringList untouched{QStringLiteral("-60dB"), QStringLiteral("-60dB"), QStringLiteral("0dB")};
        QTest::newRow("input page, shown")
            << false << true << bytes({-10, -16, -30, -30, -100, -100, 5, -20}) << QList<int>{6, 0, 0, 25}
            << QStringList{QStringLiteral("-10dB"), QStringLiteral("-16dB"), QStringLiteral("6dB")} << 6;
        QTest::newRow("input page, hidden: relayed, not drawn")
            << false << false << bytes({-10, -16, -30, -30, -100, -100, 5, -20}) << QList<int>{6, 0, 0, 25}
            << untouched << 0;
        QTest::newRow("levels below the floor")
            << false << true << bytes({-80, -90, 0, 0, 0, 0, 0, 0}) << QList<int>{10, 0, 0, 0}
            << QStringList{QStringLiteral("-60dB"), QStringLiteral("-60dB"), QStringLiteral("10dB")} << 10;
        QTest::newRow("a reduction beyond 8 bits stays whole")
            << false << true << bytes({100, -100, 0, 0, 0, 0, 0, 0}) << QList<int>{200, 0, 0, 0}
            << QStringList{QStringLiteral("100dB"), QStringLiteral("-60dB"), QStringLiteral("200dB")} << 35;
        QTest::newRow("input page, eight pairs dropped")
            << false << true << QByteArray(16, '\0') << QList<int>{} << untouched << 0;
        QTest::newRow("output page, shown")
            << true << true << bytes({-3, -9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -2})
            << QList<int>{6, 0, 0, 0, 0, 0, 0, 1}
            << QStringList{QStringLiteral("-3dB"), QStringLiteral("-9dB"), QStringLiteral("6dB")} << 6;
    }
    void levelReports()
    {
        QFETCH(bool, output);
        QFETCH(bool, visible);
        QFETCH(QByteArray, report);
        std::unique_ptr<LimiterPage> page;
        if (output)
            page = std::make_unique<QOutLimiter>(nullptr);
        else
            page = std::make_unique<QInLimiter>(nullptr);
        page->timer()->stop();
        if (visible)
            page->show();
        QSignalSpy relayed(page.get(), &LimiterPage::sigMeter);
        page->onMessage(4, 0x80, quint16(report.size()), reinterpret_cast<const uchar *>(report.constData()));
        QList<int> got;
        for (int i = 0; i < relayed.count(); ++i) {
            QCOMPARE(relayed.at(i).at(0).toInt(), i);
            got << relayed.at(i).at(1).toInt();
        }
        QTEST(got, "relayed");
        QTEST((QStringList{page->inputLabel()->text(), page->outputLabel()->text(), page->reductionLabel()->text()}),
              "labels");
        QTEST(page->reductionMeter()->value(), "reductionMeter");
    }

    void recordReplies()
    {
        PageRig<QInLimiter> rig;
        QVERIFY(rig.connect());
        rig.report(1, bytes({0}) + wire(1, -30.0f, 4, 20, 200));
        QCOMPARE(rig.page.field(LimiterPage::Threshold)->text(), QStringLiteral("-30.0"));
        QCOMPARE(rig.page.knob(LimiterPage::Threshold)->value(), -300.0f);
        QCOMPARE(rig.page.knob(LimiterPage::Decay)->value(), 200.0f);
        QVERIFY(rig.page.enableButton()->isChecked());
        QCOMPARE(rig.page.chart()->kneeIndex(), 165); // first step at or above 90 / (140 / 256) = 164.6
        // Another channel is stored but not shown; malformed ones are dropped.
        rig.report(1, bytes({3}) + wire(0, -6.0f, 10, 5, 50));
        QCOMPARE(rig.page.record(3).ratio, quint8(10));
        QCOMPARE(rig.page.field(LimiterPage::Ratio)->text(), QStringLiteral("4"));
        rig.report(1, bytes({4}) + wire(0, -6.0f, 10, 5, 50));
        rig.report(1, QByteArray(bytes({2}) + wire(0, -6.0f, 10, 5, 50)).left(17));
        rig.report(1, bytes({2}) + wire(0, -6.0f, 10, 5, 50), 1);
        QCOMPARE(rig.page.record(2), LimiterRecord());
        QVERIFY(rig.sets().isEmpty());
    }

    void lockStates()
    {
        QInLimiter page(nullptr);
        page.timer()->stop();
        page.resize(1000, 400);
        page.show();
        page.setSecurityState(1, 2);
        QVERIFY(page.body()->isVisible()); // not the current channel
        page.channelButton(1)->click();
        QVERIFY(!page.body()->isVisible());
        QVERIFY(!page.chart()->isVisible());
        QVERIFY(!page.copyButton()->isVisible());
        // The channel buttons stay, so the other channels can be reached.
        QVERIFY(page.channelButton(0)->isVisible());
        page.setSecurityState(0, 1);
        page.channelButton(0)->click();
        QVERIFY(page.body()->isVisible());
        QVERIFY(!page.knob(LimiterPage::Ratio)->isEnabled());
        QVERIFY(!page.enableButton()->isEnabled());
        QVERIFY(!page.resetButton()->isEnabled());
        QVERIFY(!page.copyButton()->isEnabled());
        page.setSecurityState(0, 0);
        QVERIFY(page.knob(LimiterPage::Ratio)->isEnabled());
        QVERIFY(page.resetButton()->isEnabled());
        QVERIFY(page.copyButton()->isEnabled());
    }

    void polling_data()
    {
        QTest::addColumn<bool>("output");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<QString>("queries");
        QTest::newRow("input, hidden") << false << false << "3/5/4/0:";
        QTest::newRow("input, shown") << false << true << "3/5/4/0: 2/5/7/0: 3/5/1/0:00 3/5/1/0:01 3/5/1/0:02 3/5/1/0:03";
        QTest::newRow("output, shown")
            << true << true
            << "3/11/4/0: 2/5/13/0: 3/11/1/0:00 3/11/1/0:01 3/11/1/0:02 3/11/1/0:03 3/11/1/0:04 3/11/1/0:05 "
               "3/11/1/0:06 3/11/1/0:07";
    }
    void polling()
    {
        QFETCH(bool, output);
        QFETCH(bool, visible);
        auto run = [&](auto &rig) {
            QVERIFY(rig.connect());
            if (visible)
                rig.page.show();
            rig.tick(9);
            QStringList first;
            for (const UnitFrame &f : rig.sent())
                first << QString::number(f.param);
            QCOMPARE(first, QStringList{QStringLiteral("4")}); // the fifth tick
            rig.tick();
            QTEST(describeFrames(rig.sent()), "queries");
        };
        if (output) {
            PageRig<QOutLimiter> rig;
            run(rig);
        } else {
            PageRig<QInLimiter> rig;
            run(rig);
        }
    }

    // The chart.

    void chartCurve_data()
    {
        QTest::addColumn<double>("threshold");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<bool>("bypass");
        QTest::addColumn<int>("knee");
        QTest::addColumn<double>("at200");
        QTest::addColumn<double>("at255");
        QTest::addColumn<double>("at10");

        QTest::newRow("-50 dB, 2:1: knee at 128, half slope")
            << -50.0 << 2.0 << false << 128 << 164.0 << 191.5 << 10.0;
        QTest::newRow("-50 dB, 100:1: flat") << -50.0 << 100.0 << false << 128 << 128.0 << 128.0 << 10.0;
        QTest::newRow("-50 dB, 1:1") << -50.0 << 1.0 << false << 128 << 200.0 << 255.0 << 10.0;
        // Disabled: the diagonal; the knee stays where the last curve had it.
        QTest::newRow("bypass: diagonal") << -80.0 << 2.0 << true << 128 << 200.0 << 255.0 << 10.0;
        QTest::newRow("at the bottom") << -120.0 << 4.0 << false << 0 << 50.0 << 63.75 << 2.5;
    }
    void chartCurve()
    {
        QFETCH(double, threshold);
        QFETCH(double, ratio);
        QFETCH(bool, bypass);
        qtLimitCtrl chart;
        chart.setBypass(bypass);
        chart.setThreshold(threshold);
        chart.setRatio(ratio);
        QTEST(chart.kneeIndex(), "knee");
        QTEST(chart.curveAt(200), "at200");
        QTEST(chart.curveAt(255), "at255");
        QTEST(chart.curveAt(10), "at10");
    }

    void chartKeepsItsKneeWhenNoStepQualifies()
    {
        qtLimitCtrl chart;
        chart.setThreshold(-50.0);
        QCOMPARE(chart.kneeIndex(), 128);
        chart.setThreshold(24.0); // above the axis
        QCOMPARE(chart.kneeIndex(), 128);
        QCOMPARE(chart.curveAt(255), 255.0);
        chart.setRatio(0.0); // never divides by zero
        chart.setThreshold(-50.0);
        QCOMPARE(chart.curveAt(255), 255.0);
    }

    void chartDrawing()
    {
        qtLimitCtrl chart;
        chart.resize(250, 250);
        chart.setThreshold(-50.0);
        chart.setRatio(2.0);
        QCOMPARE(chart.plotRect(), QRect(25, 10, 215, 215));
        // Knee: x = 25 + round(128 * 215 / 256), y = 225 - round(128 * 215 / 256).
        QCOMPARE(chart.curvePolygon(), QPolygon({QPoint(25, 225), QPoint(133, 117), QPoint(239, 64), QPoint(240, 225)}));

        const QImage image = chart.grab().toImage();
        auto colour = [&](int x, int y) { return QColor(image.pixel(x, y)); };
        QCOMPARE(colour(5, 240), QColor(34, 34, 34));    // outside the plot
        QCOMPARE(colour(220, 20), QColor(34, 34, 34));   // above the curve
        QCOMPARE(colour(200, 200), QColor(64, 64, 64));  // under it
        QCOMPARE(colour(30, 10 + 43), QColor(128, 128, 128)); // first grid line, round(215 / 5) down
        QCOMPARE(colour(25 + 43, 30), QColor(128, 128, 128)); // first vertical line
        // The curve outline ends at step 255.
        QCOMPARE(colour(239, 64), QColor(229, 229, 229));
    }

    // Tab runs along the channel row, then through the controls of the
    // current channel, whose names follow the channel chosen.
    void tabStopsFollowTheLayout_data()
    {
        QTest::addColumn<bool>("inputs");
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("from");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("input channel row") << true << 0 << 0
                                           << nameList({"Edit IN A", "Edit IN B", "Edit IN C", "Edit IN D",
                                                        "Copy IN A to other channels", "Reset IN A"});
        QTest::newRow("input controls") << true << 0 << 6
                                        << nameList({"IN A limiter enable", "IN A threshold knob", "IN A ratio knob",
                                                     "IN A threshold in dB", "IN A ratio", "IN A attack knob",
                                                     "IN A decay knob", "IN A attack in ms", "IN A decay in ms"});
        QTest::newRow("output 3 current") << false << 2 << 7
                                          << nameList({"Edit OUT 8", "Copy OUT 3 to other channels", "Reset OUT 3",
                                                       "OUT 3 limiter enable", "OUT 3 threshold knob"});
    }
    void tabStopsFollowTheLayout()
    {
        QFETCH(bool, inputs);
        QFETCH(int, channel);
        QFETCH(int, from);
        QFETCH(QStringList, expected);
        Link link;
        QScopedPointer<LimiterPage> page(inputs ? static_cast<LimiterPage *>(new QInLimiter(&link))
                                                : static_cast<LimiterPage *>(new QOutLimiter(&link)));
        page->timer()->stop();
        page->setCurrentChannel(uchar(channel));
        const QStringList names = tabStopNames(page.data());
        QCOMPARE(names.mid(from, expected.size()), expected);
    }
};

QTEST_MAIN(TestLimiters)
#include "tst_limiters.moc"
