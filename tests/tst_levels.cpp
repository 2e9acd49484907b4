// The input and output level pages, the channel selection dialog and the
// calibration dialog against the bytes of their message tables: what goes
// out when, what a report changes, and what is refused.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "core/records/levelrecord.h"
#include "routingrig.h"
#include "systemmodule.h"
#include "tabchain.h"
#include "ui/controls/qfader.h"
#include "ui/controls/qmeterwidget.h"
#include "ui/modules/qcail.h"
#include "ui/modules/qchannelselect.h"
#include "ui/modules/qinlevel.h"
#include "ui/modules/qoutlevel.h"

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

// [channel, value f32]
QByteArray channelF32(int channel, float value)
{
    return QByteArray(1, char(channel)) + f32(value);
}

// Paint events a widget receives.
class PaintCounter : public QObject
{
public:
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

// Presses the fader's handle, moves it in `steps` moves one tick apart
// (ticking the page in between, not after the last), and releases it.
template <class Rig>
int dragFader(Rig &rig, QFader *fader, int dy, int steps, const std::function<void(int)> &duringTick = {})
{
    const QPoint start = fader->handleRect().center().toPoint();
    auto send = [fader](QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, pos, pos, fader->mapToGlobal(pos), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(fader, &event);
    };
    send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    for (int i = 1; i <= steps; ++i) {
        if (i > 1) {
            rig.tick();
            if (duringTick)
                duringTick(i);
        }
        send(QEvent::MouseMove, start + QPoint(0, dy * i / steps), Qt::NoButton, Qt::LeftButton);
    }
    send(QEvent::MouseButtonRelease, start + QPoint(0, dy), Qt::LeftButton, Qt::NoButton);
    return steps;
}

// The calibration dialog as PageRig hosts it (it has no module of its own).
class QCailHost : public QCail
{
public:
    explicit QCailHost(Link *link)
        : QCail(link)
    {
    }
    quint8 moduleId() const { return 0; }
    void onMessage(quint8, quint8, quint16, const uchar *) {}
};

// The dialog that run() shows modally, once it is up.
void whenChannelSelectShows(const std::function<void(QChannelSelect *)> &act)
{
    QTimer::singleShot(0, [act] {
        auto *dialog = qobject_cast<QChannelSelect *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        act(dialog);
    });
}

} // namespace

class TestLevels : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void levelRecordFileBytes()
    {
        LevelRecord r;
        r.gain = -3.5f;
        r.mute = true;
        uchar out[LevelRecord::FileSize];
        r.encode(out);
        // gain f32, mute u8, invert u8
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(out), LevelRecord::FileSize).toHex(),
                 QByteArray("000060c0" "01" "00"));

        const QByteArray nan = QByteArray::fromHex("0000c07f" "00" "07");
        const LevelRecord d = LevelRecord::decode(reinterpret_cast<const uchar *>(nan.constData()));
        QCOMPARE(d.gain, 0.0f);
        QCOMPARE(d.mute, false);
        QCOMPARE(d.invert, true);
        const QByteArray loud = QByteArray::fromHex("0000c842" "01" "00"); // 100 dB
        QCOMPARE(LevelRecord::decode(reinterpret_cast<const uchar *>(loud.constData())).gain, 12.0f);
    }

    void meterReports_data()
    {
        QTest::addColumn<bool>("output");
        QTest::addColumn<QByteArray>("report");
        QTest::addColumn<QString>("label0");
        QTest::addColumn<int>("meter0");
        QTest::addColumn<QList<int>>("relayed0");

        QTest::newRow("-80 shows the floor, relays -80")
            << false << bytes({-80, -20, -60, 0}) << "-60dB" << -60 << QList<int>{-80};
        QTest::newRow("-20") << false << bytes({-20, -20, -60, 0}) << "-20dB" << -20 << QList<int>{-20};
        QTest::newRow("above the meter's top") << false << bytes({30, -20, -60, 0}) << "30dB" << 24 << QList<int>{30};
        QTest::newRow("wrong length dropped") << false << bytes({-20, -20, -60}) << "-60dB" << -60 << QList<int>{};
        QTest::newRow("output page: eight levels")
            << true << bytes({-12, 0, 0, 0, 0, 0, 0, 5}) << "-12dB" << -12 << QList<int>{-12};
        QTest::newRow("output page: four levels dropped")
            << true << bytes({-12, 0, 0, 0}) << "-60dB" << -60 << QList<int>{};
    }
    void meterReports()
    {
        QFETCH(bool, output);
        QFETCH(QByteArray, report);
        std::unique_ptr<LevelPage> page;
        if (output)
            page = std::make_unique<QOutLevel>(nullptr);
        else
            page = std::make_unique<QInLevel>(nullptr);
        page->timer()->stop();
        QSignalSpy relayed(page.get(), &LevelPage::sigMeter);
        page->onMessage(1, 0x80, quint16(report.size()), reinterpret_cast<const uchar *>(report.constData()));

        QTEST(page->meterLabel(0)->text(), "label0");
        QTEST(page->meter(0)->value(), "meter0");
        QList<int> relayedFor0;
        for (const QList<QVariant> &args : relayed) {
            if (args.at(0).toInt() == 0)
                relayedFor0 << args.at(1).toInt();
        }
        QTEST(relayedFor0, "relayed0");
    }

    void equalMeterBytesNeitherRepaintNorRelay_data()
    {
        QTest::addColumn<int>("level");
        QTest::newRow("-20") << -20;
        QTest::newRow("-80, below the floor") << -80;
    }
    void equalMeterBytesNeitherRepaintNorRelay()
    {
        QFETCH(int, level);
        QInLevel page(nullptr);
        page.timer()->stop();
        page.resize(800, 500);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        const QByteArray report = bytes({level, 0, 0, 0});
        page.onMessage(1, 0x80, 4, reinterpret_cast<const uchar *>(report.constData()));
        QCoreApplication::processEvents();

        PaintCounter meterPaints;
        PaintCounter labelPaints;
        page.meter(0)->installEventFilter(&meterPaints);
        page.meterLabel(0)->installEventFilter(&labelPaints);
        QSignalSpy relayed(&page, &LevelPage::sigMeter);
        page.onMessage(1, 0x80, 4, reinterpret_cast<const uchar *>(report.constData()));
        QCoreApplication::processEvents();
        QCOMPARE(relayed.count(), 0);
        QCOMPARE(meterPaints.count, 0);
        QCOMPARE(labelPaints.count, 0);
    }

    void groupChangeSendsTheClickedChannelOnly_data()
    {
        QTest::addColumn<bool>("output");
        QTest::addColumn<int>("param");
        QTest::addColumn<QList<int>>("grouped");
        QTest::addColumn<int>("clicked");
        QTest::addColumn<QString>("sent");

        QTest::newRow("mute IN A grouped with IN C")
            << false << 2 << QList<int>{0, 2} << 0 << "3/1/2/1:0001";
        QTest::newRow("invert IN D grouped with IN B")
            << false << 4 << QList<int>{1, 3} << 3 << "3/1/4/1:0301";
        QTest::newRow("mute OUT 5 grouped with OUT 2 and OUT 8")
            << true << 2 << QList<int>{1, 4, 7} << 4 << "3/9/2/1:0401";
    }
    void groupChangeSendsTheClickedChannelOnly()
    {
        QFETCH(bool, output);
        QFETCH(int, param);
        QFETCH(QList<int>, grouped);
        QFETCH(int, clicked);
        std::unique_ptr<PageRig<QInLevel>> in;
        std::unique_ptr<PageRig<QOutLevel>> out;
        LevelPage *page;
        std::function<QStringList()> sets;
        if (output) {
            out = std::make_unique<PageRig<QOutLevel>>();
            QVERIFY(out->connect());
            page = &out->page;
            sets = [&] { return out->sets(); };
        } else {
            in = std::make_unique<PageRig<QInLevel>>();
            QVERIFY(in->connect());
            page = &in->page;
            sets = [&] { return in->sets(); };
        }
        for (int c : grouped)
            page->onMessage(5, 0x80, 2, reinterpret_cast<const uchar *>(bytes({c, 1}).constData()));
        QCOMPARE(page->groupSelector(grouped.first())->currentText(), QStringLiteral("1"));
        QVERIFY(sets().isEmpty()); // a reply never goes back out

        QSignalSpy mutes(page, &LevelPage::sigMute);
        QPushButton *button = param == 2 ? page->muteButton(clicked) : page->invertButton(clicked);
        button->click();
        for (int c = 0; c < page->channelCount(); ++c) {
            const bool on = grouped.contains(c);
            QCOMPARE(param == 2 ? page->muteButton(c)->isChecked() : page->invertButton(c)->isChecked(), on);
            QCOMPARE(param == 2 ? page->record(uchar(c)).mute : page->record(uchar(c)).invert, on);
        }
        QCOMPARE(mutes.count(), param == 2 ? grouped.size() : 0);
        QTEST(sets().join(QLatin1Char(' ')), "sent");
    }

    void groupSelectorSendsAndChangesNothingElse()
    {
        PageRig<QOutLevel> rig;
        QVERIFY(rig.connect());
        rig.page.groupSelector(6)->setCurrentIndex(4);
        QCOMPARE(rig.sets(), QStringList{QStringLiteral("3/9/5/1:0604")});
        QCOMPARE(rig.page.record(6).group, quint8(4));
        QCOMPARE(rig.page.record(6).mute, false);
        // A group the page does not offer is refused.
        rig.report(5, bytes({6, 5}));
        QCOMPARE(rig.page.record(6).group, quint8(4));
    }

    void faderDragSendsOnceAfterItStops()
    {
        PageRig<QInLevel> rig;
        QVERIFY(rig.connect());
        rig.page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.page));
        QFader *fader = rig.page.fader(1);

        // One second of dragging (50 ticks) with the unit's stale replies
        // for gain and mute arriving all the while.
        dragFader(rig, fader, 60, 50, [&](int) {
            rig.report(3, bytes({1}) + f32(0.0f));
            rig.report(2, bytes({1, 1}));
        });
        const float dragged = rig.page.record(1).gain;
        QVERIFY(dragged < -5.0f);
        QCOMPARE(rig.page.muteButton(1)->isChecked(), false);
        QCOMPARE(rig.page.gainEdit(1)->text(), QString::number(double(dragged), 'f', 1));
        QCOMPARE(rig.sets(), QStringList());

        // Nothing during the first four ticks after the last move; the
        // gain goes out once on the fifth.
        rig.tick(4);
        QVERIFY(rig.sets().isEmpty());
        rig.tick();
        QCOMPARE(rig.sets(), QStringList{frameText(1, 3, 1, bytes({1}) + f32(dragged))});

        // Replies up to the tenth tick are still held off ...
        rig.tick(4);
        rig.report(3, bytes({1}) + f32(0.0f));
        rig.report(32, bytes({1}) + f32(-2.0f));
        QCOMPARE(rig.page.record(1).gain, dragged);
        QCOMPARE(fader->valueInUnits(), dragged);
        // ... and applied from then on.
        rig.tick();
        QVERIFY(!rig.page.isBusy());
        rig.report(3, bytes({1}) + f32(0.0f));
        QCOMPARE(rig.page.record(1).gain, 0.0f);
        QCOMPARE(fader->valueInUnits(), 0.0f);
        QCOMPARE(rig.page.gainEdit(1)->text(), QStringLiteral("0.0"));
        rig.tick(20);
        QVERIFY(rig.sets().isEmpty());
    }

    void busyHoldsOff_data()
    {
        QTest::addColumn<bool>("output");
        QTest::addColumn<int>("param");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("applied");

        QTest::newRow("input: mute held") << false << 2 << bytes({0, 1}) << false;
        QTest::newRow("input: invert held") << false << 4 << bytes({0, 1}) << false;
        QTest::newRow("input: group held") << false << 5 << bytes({0, 2}) << false;
        QTest::newRow("input: source held") << false << 7 << bytes({1, 1}) << false;
        QTest::newRow("input: meters pass") << false << 1 << bytes({-7, 0, 0, 0}) << true;
        QTest::newRow("output: mute passes") << true << 2 << bytes({0, 1}) << true;
        QTest::newRow("output: group passes") << true << 5 << bytes({0, 2}) << true;
        QTest::newRow("output: gain held") << true << 3 << channelF32(0, -6.0f) << false;
    }
    void busyHoldsOff()
    {
        QFETCH(bool, output);
        QFETCH(int, param);
        QFETCH(QByteArray, reply);
        std::unique_ptr<LevelPage> page;
        if (output)
            page = std::make_unique<QOutLevel>(nullptr);
        else
            page = std::make_unique<QInLevel>(nullptr);
        page->timer()->stop();
        // A fader move on channel 2 makes the page busy.
        QFader *fader = page->fader(2);
        page->resize(900, 500);
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page.get()));
        const QPoint handle = fader->handleRect().center().toPoint();
        QTest::mousePress(fader, Qt::LeftButton, Qt::NoModifier, handle);
        QMouseEvent move(QEvent::MouseMove, handle + QPoint(0, 20), fader->mapToGlobal(handle + QPoint(0, 20)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(fader, &move);
        QTest::mouseRelease(fader, Qt::LeftButton, Qt::NoModifier, handle + QPoint(0, 20));
        QVERIFY(page->isBusy());

        const LevelRecord before = page->record(0);
        const int meterBefore = page->shownLevel(0);
        page->onMessage(quint8(param), 0x80, quint16(reply.size()), reinterpret_cast<const uchar *>(reply.constData()));
        QFETCH(bool, applied);
        const bool changed = page->record(0) != before || page->shownLevel(0) != meterBefore
                             || (!output && static_cast<QInLevel *>(page.get())->source(2) != 0);
        QCOMPARE(changed, applied);
    }

    void malformedRepliesAreDropped_data()
    {
        QTest::addColumn<int>("param");
        QTest::addColumn<int>("op");
        QTest::addColumn<QByteArray>("reply");

        QTest::newRow("gain for channel 4") << 3 << 0x80 << channelF32(4, -6.0f);
        QTest::newRow("gain, short") << 3 << 0x80 << channelF32(0, -6.0f).left(4);
        QTest::newRow("gain as a set") << 3 << 1 << channelF32(0, -6.0f);
        QTest::newRow("mute, long") << 2 << 0x80 << bytes({0, 1, 0});
        QTest::newRow("group 3 on the input page") << 5 << 0x80 << bytes({0, 3});
        QTest::newRow("sources, one byte") << 7 << 0x80 << bytes({1});
        QTest::newRow("unknown source") << 7 << 0x80 << bytes({2, 2});
        QTest::newRow("gain NaN") << 3 << 0x80 << QByteArray(bytes({0}) + QByteArray::fromHex("0000c07f"));
        QTest::newRow("gain infinite") << 3 << 0x80 << QByteArray(bytes({0}) + QByteArray::fromHex("0000807f"));
    }
    void malformedRepliesAreDropped()
    {
        QFETCH(int, param);
        QFETCH(int, op);
        QFETCH(QByteArray, reply);
        QInLevel page(nullptr);
        page.timer()->stop();
        const QByteArray gain = bytes({0}) + f32(-12.0f);
        page.onMessage(3, 0x80, 5, reinterpret_cast<const uchar *>(gain.constData()));
        QSignalSpy mutes(&page, &LevelPage::sigMute);
        QSignalSpy trims(&page, &LevelPage::sigCail);
        page.onMessage(quint8(param), quint8(op), quint16(reply.size()),
                       reinterpret_cast<const uchar *>(reply.constData()));
        QCOMPARE(page.gainEdit(0)->text(), QStringLiteral("-12.0"));
        QCOMPARE(page.record(0).gain, -12.0f);
        QCOMPARE(page.record(0).mute, false);
        QCOMPARE(page.record(0).group, quint8(0));
        QCOMPARE(page.source(0), quint8(0));
        QCOMPARE(mutes.count(), 0);
        QCOMPARE(trims.count(), 0);
    }

    void gainEntry_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("accepted");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<float>("sent");

        QTest::newRow("5.55 rounds to 5.6") << "5.55" << "5.55" << "5.6" << 5.6f;
        QTest::newRow("-70 accepted") << "-70" << "-70" << "-70.0" << -70.0f;
        QTest::newRow("-70.5 pulled up to -70") << "-70.5" << "-70.5" << "-70.0" << -70.0f;
        QTest::newRow("-100 pulled up to -70") << "-100" << "-100" << "-70.0" << -70.0f;
        QTest::newRow("13 pulled down to 12") << "13" << "13" << "12.0" << 12.0f;
        QTest::newRow("12") << "12" << "12" << "12.0" << 12.0f;
        QTest::newRow("-0.5") << "-0.5" << "-0.5" << "-0.5" << -0.5f;
        QTest::newRow("letters refused") << "a-9" << "-9" << "-9.0" << -9.0f;
    }
    void gainEntry()
    {
        QFETCH(QString, typed);
        QFETCH(float, sent);
        PageRig<QInLevel> rig;
        QVERIFY(rig.connect());
        rig.page.show();
        QLineEdit *edit = rig.page.gainEdit(2);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, typed);
        QTEST(edit->text(), "accepted");
        QTest::keyClick(edit, Qt::Key_Return);
        QTEST(edit->text(), "shown");
        QCOMPARE(rig.page.record(2).gain, sent);
        QCOMPARE(rig.page.fader(2)->valueInUnits(), sent);
        QCOMPARE(rig.sets(), QStringList{frameText(1, 3, 1, bytes({2}) + f32(sent))});
    }

    void gainEntryOnAGroupAppliesToTheGroup()
    {
        PageRig<QOutLevel> rig;
        QVERIFY(rig.connect());
        rig.report(5, bytes({0, 2}));
        rig.report(5, bytes({3, 2}));
        typeAndReturn(rig.page.gainEdit(3), QStringLiteral("-6.5"));
        QCOMPARE(rig.page.record(0).gain, -6.5f);
        QCOMPARE(rig.page.gainEdit(0)->text(), QStringLiteral("-6.5"));
        QCOMPARE(rig.page.record(1).gain, 0.0f);
        QCOMPARE(rig.sets(), QStringList{frameText(9, 3, 1, bytes({3}) + f32(-6.5f))});
    }

    void outputFieldShowsTheFirstReplyEvenAtZero()
    {
        QOutLevel page(nullptr);
        page.timer()->stop();
        QCOMPARE(page.gainEdit(0)->text(), QStringLiteral("-70.0"));
        const QByteArray zero = bytes({0}) + f32(0.0f);
        page.onMessage(3, 0x80, 5, reinterpret_cast<const uchar *>(zero.constData()));
        QCOMPARE(page.gainEdit(0)->text(), QStringLiteral("0.0"));
    }

    void sourceChangeShowsOnBothInputsOfThePair()
    {
        PageRig<QInLevel> rig;
        QVERIFY(rig.connect());
        QVERIFY(!rig.page.sourceSelector(0)->isVisibleTo(&rig.page));
        rig.page.setSourceVisible(true);
        QVERIFY(rig.page.sourceSelector(0)->isVisibleTo(&rig.page));
        QCOMPARE(rig.page.sourceText(0)->text(), QStringLiteral("Analog"));

        rig.page.sourceSelector(0)->setCurrentIndex(1);
        QCOMPARE(rig.sets(), QStringList{QStringLiteral("3/1/7/1:0001")});
        QCOMPARE(rig.page.sourceText(0)->text(), QStringLiteral("AES"));
        QCOMPARE(rig.page.source(1), quint8(1));
        QCOMPARE(rig.page.source(2), quint8(0));

        rig.page.sourceSelector(1)->setCurrentIndex(1);
        rig.sets();
        rig.report(7, bytes({1, 0}));
        QCOMPARE(rig.page.sourceSelector(0)->currentText(), QStringLiteral("AES"));
        QCOMPARE(rig.page.sourceText(0)->text(), QStringLiteral("AES"));
        QCOMPARE(rig.page.sourceSelector(1)->currentText(), QStringLiteral("Analog"));
        QCOMPARE(rig.page.sourceText(1)->text(), QStringLiteral("Analog"));
        QCOMPARE(rig.page.source(3), quint8(0));
        QVERIFY(rig.sets().isEmpty());
    }

    void calibrationRepliesAreRelayed()
    {
        QOutLevel page(nullptr);
        page.timer()->stop();
        QSignalSpy trims(&page, &LevelPage::sigCail);
        const QByteArray reply = bytes({7}) + f32(-3.5f);
        page.onMessage(32, 0x80, 5, reinterpret_cast<const uchar *>(reply.constData()));
        QCOMPARE(trims.count(), 1);
        QCOMPARE(trims.at(0).at(0).value<uchar>(), uchar(7));
        QCOMPARE(trims.at(0).at(1).toFloat(), -3.5f);
    }

    void overviewMuteIsShownNotSent()
    {
        PageRig<QInLevel> rig;
        QVERIFY(rig.connect());
        QSignalSpy mutes(&rig.page, &LevelPage::sigMute);
        rig.page.setMute(3, true);
        rig.page.setMute(3, true);
        QVERIFY(rig.page.muteButton(3)->isChecked());
        QCOMPARE(mutes.count(), 1);
        QVERIFY(rig.sets().isEmpty());
    }

    void resetMetersDropsToTheFloor()
    {
        QOutLevel page(nullptr);
        page.timer()->stop();
        const QByteArray report = bytes({-3, -3, -3, -3, -3, -3, -3, -3});
        page.onMessage(1, 0x80, 8, reinterpret_cast<const uchar *>(report.constData()));
        QSignalSpy relayed(&page, &LevelPage::sigMeter);
        page.resetMeters();
        QCOMPARE(relayed.count(), 8);
        QCOMPARE(relayed.at(7).at(1).toInt(), -100);
        QCOMPARE(page.meterLabel(7)->text(), QStringLiteral("-60dB"));
        QCOMPARE(page.meter(7)->value(), -60);
    }

    void polling_data()
    {
        QTest::addColumn<bool>("output");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QString>("queries");

        QTest::newRow("input, 5th tick, hidden")
            << false << false << 5 << "3/1/1/0: 3/1/2/0:00 3/1/2/0:01 3/1/2/0:02 3/1/2/0:03";
        QTest::newRow("input, 10th tick, hidden")
            << false << false << 10 << "3/1/1/0: 3/1/2/0:00 3/1/2/0:01 3/1/2/0:02 3/1/2/0:03";
        QTest::newRow("input, 10th tick, shown")
            << false << true << 10
            << "3/1/1/0: 3/1/2/0:00 3/1/2/0:01 3/1/2/0:02 3/1/2/0:03 2/5/3/0: "
               "3/1/3/0:00 3/1/4/0:00 3/1/5/0:00 3/1/3/0:01 3/1/4/0:01 3/1/5/0:01 "
               "3/1/3/0:02 3/1/4/0:02 3/1/5/0:02 3/1/3/0:03 3/1/4/0:03 3/1/5/0:03 3/1/7/0:";
        QTest::newRow("output, 10th tick, shown")
            << true << true << 10
            << "3/9/1/0: 3/9/2/0:00 3/9/2/0:01 3/9/2/0:02 3/9/2/0:03 3/9/2/0:04 3/9/2/0:05 3/9/2/0:06 "
               "3/9/2/0:07 2/5/11/0: "
               "3/9/3/0:00 3/9/4/0:00 3/9/5/0:00 3/9/3/0:01 3/9/4/0:01 3/9/5/0:01 "
               "3/9/3/0:02 3/9/4/0:02 3/9/5/0:02 3/9/3/0:03 3/9/4/0:03 3/9/5/0:03 "
               "3/9/3/0:04 3/9/4/0:04 3/9/5/0:04 3/9/3/0:05 3/9/4/0:05 3/9/5/0:05 "
               "3/9/3/0:06 3/9/4/0:06 3/9/5/0:06 3/9/3/0:07 3/9/4/0:07 3/9/5/0:07";
    }
    void polling()
    {
        QFETCH(bool, output);
        QFETCH(bool, visible);
        QFETCH(int, ticks);
        auto run = [&](auto &rig) {
            QVERIFY(rig.connect());
            if (visible)
                rig.page.show();
            rig.tick(ticks - 1);
            rig.sent();
            rig.tick();
            QTEST(describeFrames(rig.sent()), "queries");
        };
        if (output) {
            PageRig<QOutLevel> rig;
            run(rig);
        } else {
            PageRig<QInLevel> rig;
            run(rig);
        }
    }

    void lockStates()
    {
        QInLevel page(nullptr);
        page.timer()->stop();
        page.resize(900, 500);
        page.show();
        QWidget *strip = page.stripContent(2);
        page.setSecurityState(2, 1);
        QVERIFY(strip->isVisible());
        QVERIFY(!strip->isEnabled());
        QVERIFY(!page.fader(2)->isEnabled());
        page.setSecurityState(2, 2);
        QVERIFY(!strip->isVisible());
        QVERIFY(!page.meter(2)->isVisible());
        QVERIFY(!page.muteButton(2)->isVisible());
        // The other strips keep their places.
        const QPoint faderD = page.fader(3)->mapTo(&page, QPoint());
        page.setSecurityState(2, 0);
        QVERIFY(strip->isVisible());
        QVERIFY(page.fader(2)->isEnabled());
        QCOMPARE(page.fader(3)->mapTo(&page, QPoint()), faderD);
        page.setSecurityState(0, 7); // any other value hides
        QVERIFY(!page.stripContent(0)->isVisible());
    }

    // Channel selection.

    void channelSelectReturnsTheMasks()
    {
        QChannelSelect dialog;
        whenChannelSelectShows([](QChannelSelect *d) {
            QVERIFY(!d->outputButton(2)->isEnabled());
            QVERIFY(d->inputButton(0)->isEnabled());
            d->inputButton(0)->click();
            d->inputButton(2)->click();
            d->outputButton(7)->click();
            d->okButton()->click();
        });
        QVERIFY(dialog.run(QChannelSelect::FirstOutputSource + 2));
        QCOMPARE(dialog.inputMask(), quint8(0x05));
        QCOMPARE(dialog.outputMask(), quint8(0x80));

        // The next run starts empty, with the former source enabled again.
        whenChannelSelectShows([](QChannelSelect *d) {
            for (int i = 0; i < QChannelSelect::Inputs; ++i)
                QVERIFY(!d->inputButton(i)->isChecked());
            for (int o = 0; o < QChannelSelect::Outputs; ++o)
                QVERIFY(!d->outputButton(o)->isChecked());
            QVERIFY(d->outputButton(2)->isEnabled());
            QVERIFY(!d->inputButton(1)->isEnabled());
            d->outputButton(0)->click();
            d->cancelButton()->click();
        });
        QVERIFY(!dialog.run(1));
        QCOMPARE(dialog.inputMask(), quint8(0));
        QCOMPARE(dialog.outputMask(), quint8(0));
    }

    void channelSelectWithoutOutputs()
    {
        whenChannelSelectShows([](QChannelSelect *d) {
            QVERIFY(!d->outputButton(0)->isVisible());
            d->inputButton(3)->click();
            d->okButton()->click();
        });
        QChannelSelect::Selection selection;
        QVERIFY(QChannelSelect::select(nullptr, 0, &selection, false));
        QCOMPARE(selection.inputMask, quint8(0x08));
        QCOMPARE(selection.outputMask, quint8(0));
    }

    // Calibration dialog.

    void cailInputLinkSendsFour()
    {
        PageRig<QCailHost> rig;
        QVERIFY(rig.connect());
        rig.page.show();
        rig.page.timer()->stop();
        rig.page.inputLinkButton()->click();
        typeAndReturn(rig.page.inEdit(1), QStringLiteral("-3.5"));
        QStringList expected;
        for (int c = 0; c < 4; ++c)
            expected << frameText(1, 32, 1, bytes({c}) + f32(-3.5f));
        QCOMPARE(rig.sets(), expected);
        for (int c = 0; c < 4; ++c) {
            QCOMPARE(rig.page.inEdit(c)->text(), QStringLiteral("-3.5"));
            QCOMPARE(rig.page.inFader(c)->valueInUnits(), -3.5f);
        }
        QVERIFY(!rig.page.inEdit(1)->hasFocus());
    }

    void cailFaderSendsOneChannelAfterItStops()
    {
        PageRig<QCailHost> rig;
        QVERIFY(rig.connect());
        rig.page.show();
        rig.page.timer()->stop();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.page));
        dragFader(rig, rig.page.outFader(5), 40, 12);
        const float trim = rig.page.outTrim(5);
        QVERIFY(trim < 0.0f);
        QCOMPARE(rig.page.outTrim(4), 0.0f);
        rig.tick(4);
        QVERIFY(rig.sets().isEmpty());
        // A reply while busy is dropped.
        rig.page.setOutCail(5, 1.0f);
        QCOMPARE(rig.page.outTrim(5), trim);
        rig.tick();
        QCOMPARE(rig.sets(), QStringList{frameText(9, 32, 1, bytes({5}) + f32(trim))});
        rig.tick(5);
        rig.page.setOutCail(5, 1.0f);
        QCOMPARE(rig.page.outTrim(5), 1.0f);
        QCOMPARE(rig.page.outEdit(5)->text(), QStringLiteral("1.0"));
    }

    void cailPollsOnlyWhileShown()
    {
        PageRig<QCailHost> rig;
        QVERIFY(rig.connect());
        QVERIFY(!rig.page.timer()->isActive());
        rig.page.show();
        QVERIFY(rig.page.timer()->isActive());
        rig.page.timer()->stop();
        rig.tick(10);
        QStringList got;
        for (const UnitFrame &f : rig.sent())
            got << frameText(f.module, f.param, f.op, f.payload);
        QCOMPARE(got.size(), 12);
        QCOMPARE(got.first(), QStringLiteral("3/1/32/0:00"));
        QCOMPARE(got.last(), QStringLiteral("3/9/32/0:07"));
        rig.page.hide();
        QVERIFY(!rig.page.timer()->isActive());
    }

    void cailMix()
    {
        PageRig<QCailHost> rig;
        QVERIFY(rig.connect());
        rig.page.mixButton()->click();
        QStringList expected;
        for (int o = 0; o < 8; ++o)
            expected << frameText(7, 1, 1, bytes({o, 0, 1, 2, 3, 1}));
        QCOMPARE(rig.sets(), expected);
        rig.page.mixButton()->click();
        QCOMPARE(rig.sets().last(), frameText(7, 1, 1, bytes({7, 0, 1, 2, 3, 0})));
    }

    void cailSystemResetAsksFirst()
    {
        PageRig<QCailHost> rig;
        QVERIFY(rig.connect());
        ScriptedPrompt prompt;
        rig.page.setPrompt(&prompt);
        prompt.answers = {1};
        rig.page.systemResetButton()->click();
        QCOMPARE(prompt.asked.size(), 1);
        QCOMPARE(prompt.asked.at(0).title, QStringLiteral("warning"));
        QCOMPARE(prompt.asked.at(0).text, QStringLiteral("Reset system all config?"));
        QCOMPARE(prompt.asked.at(0).buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("Cancle")}));
        QVERIFY(rig.sent().isEmpty());

        prompt.answers = {0};
        rig.page.systemResetButton()->click();
        const QList<UnitFrame> sent = rig.sent();
        QCOMPARE(sent.size(), 1);
        QCOMPARE(int(sent.at(0).cls), 2);
        QCOMPARE(int(sent.at(0).module), 1);
        QCOMPARE(int(sent.at(0).param), 1);
        QCOMPARE(int(sent.at(0).op), 1);
        QCOMPARE(sent.at(0).payload, QByteArray("SYS_RST*"));
        QCOMPARE(rig.page.systemResetButton()->text(), QStringLiteral("System \nReset"));
        QCOMPARE(rig.unit.system().configResets, 1);
    }

    void cailGeometryIsKept()
    {
        ScratchDir dir(false);
        QSettings settings(dir.filePath(QStringLiteral("geometry.ini")), QSettings::IniFormat);
        QRect shown;
        {
            QCail cail(nullptr);
            cail.setSettings(&settings);
            QCOMPARE(cail.size(), QSize(1000, 340));
            cail.setGeometry(120, 80, 1010, 360);
            cail.show();
            QVERIFY(QTest::qWaitForWindowExposed(&cail));
            shown = cail.geometry();
            cail.hide();
        }
        QVERIFY(settings.contains(QStringLiteral("CailGeometry")));
        QCail again(nullptr);
        again.setSettings(&settings);
        QCOMPARE(again.size(), shown.size());
    }

    // Keyboard reach: Tab goes strip by strip, each stop named for its channel.

    void tabStopsFollowTheLayout_data()
    {
        QTest::addColumn<QByteArray>("surface");
        QTest::addColumn<int>("from");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("input level") << QByteArray("in") << 0
                                     << nameList({"IN A and IN B source", "IN A link group", "IN A gain in dB",
                                                    "IN A gain fader", "IN A mute", "IN A polarity invert",
                                                    "IN B link group", "IN B gain in dB", "IN B gain fader",
                                                    "IN B mute", "IN B polarity invert", "IN C and IN D source"});
        QTest::newRow("output level") << QByteArray("out") << 0
                                      << nameList({"OUT 1 link group", "OUT 1 gain in dB", "OUT 1 gain fader",
                                                     "OUT 1 mute", "OUT 1 polarity invert", "OUT 2 link group"});
        QTest::newRow("calibration trims") << QByteArray("cail") << 0
                                           << nameList({"IN A trim in dB", "IN A trim fader", "IN B trim in dB",
                                                          "IN B trim fader", "IN C trim in dB"});
        QTest::newRow("calibration buttons after the trims")
            << QByteArray("cail") << 24 << nameList({"Input Link", "Output Link", "Mix", "System Reset"});
        QTest::newRow("channel select") << QByteArray("select") << 2
                                        << nameList({"Input 3", "Input 4", "Output 1", "Output 2", "Output 3"});
        QTest::newRow("channel select ends with OK") << QByteArray("select") << 11
                                                     << nameList({"Output 8", "OK", "Cancel"});
    }
    void tabStopsFollowTheLayout()
    {
        QFETCH(QByteArray, surface);
        QFETCH(int, from);
        QFETCH(QStringList, expected);
        Link link;
        QScopedPointer<QWidget> root;
        if (surface == "in") {
            auto *page = new QInLevel(&link);
            page->setSourceVisible(true);
            root.reset(page);
        } else if (surface == "out") {
            root.reset(new QOutLevel(&link));
        } else if (surface == "cail") {
            root.reset(new QCail(&link));
        } else {
            root.reset(new QChannelSelect);
        }
        // A channel's own label shows on screen but never changes its name.
        if (auto *page = qobject_cast<ModulePage *>(root.data())) {
            page->timer()->stop();
            page->setInLabel(1, QStringLiteral("Vocal"));
            page->setOutLabel(0, QStringLiteral("Sub"));
        }
        const QStringList names = tabStopNames(root.data());
        QCOMPARE(names.mid(from, expected.size()), expected);
    }

    // Return finishes what is being typed or answers the dialog; it never
    // presses a switch that merely sits next in the tab chain.
    void returnNeverPressesASwitchButton()
    {
        QCail cail(nullptr);
        cail.show();
        QVERIFY(QTest::qWaitForWindowExposed(&cail));
        cail.activateWindow();
        cail.inEdit(0)->setFocus(Qt::TabFocusReason);
        cail.inEdit(0)->selectAll();
        QTest::keyClicks(cail.inEdit(0), QStringLiteral("3"));
        QTest::keyClick(cail.inEdit(0), Qt::Key_Return);
        QCOMPARE(cail.inTrim(0), 3.0f);
        QVERIFY(!cail.inputLinkButton()->isChecked());
        QVERIFY(!cail.mixButton()->isChecked());
        QVERIFY(cail.isVisible());
        cail.hide();

        QChannelSelect dialog;
        whenChannelSelectShows([](QChannelSelect *d) {
            QPushButton *first = d->inputButton(1);
            d->activateWindow();
            first->setFocus(Qt::TabFocusReason);
            QTest::keyClick(first, Qt::Key_Space);
            QTest::keyClick(first, Qt::Key_Return);
            // Should Return fail to answer, the run must still end.
            if (d->isVisible())
                d->reject();
        });
        QVERIFY(dialog.run(0));
        QCOMPARE(dialog.inputMask(), quint8(0x02));
    }
};

QTEST_MAIN(TestLevels)
#include "tst_levels.moc"
