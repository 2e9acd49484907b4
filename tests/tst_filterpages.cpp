// The input and output filter pages: what they send and when, which replies
// they take, copy, reset and locks; end to end against the virtual unit.

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTimer>
#include <QValidator>
#include <QtTest>

#include <functional>

#include "core/link/link.h"
#include "filtermodule.h"
#include "routingrig.h"
#include "tabchain.h"
#include "testsupport.h"
#include "ui/controls/knob.h"
#include "ui/modules/filtergraph.h"
#include "ui/modules/qchannelselect.h"
#include "ui/modules/qinfilter.h"
#include "ui/modules/qoutfilter.h"
#include "ui/resources/resources.h"
#include "virtualunit.h"

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

void feed(FilterPage &page, quint8 param, const QByteArray &payload, quint8 op = 0x80)
{
    page.onMessage(param, op, quint16(payload.size()), reinterpret_cast<const uchar *>(payload.constData()));
}

void lockReport(FilterPage &page, const QByteArray &payload)
{
    page.onLockReport(quint16(payload.size()), reinterpret_cast<const uchar *>(payload.constData()));
}

QByteArray recordBytes(const FilterChannel &r)
{
    QByteArray out(FilterChannel::Size, '\0');
    r.encode(reinterpret_cast<uchar *>(out.data()));
    return out;
}

void type(QLineEdit *edit, const QString &text)
{
    edit->clear();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

// Answers the next channel-select dialog: ticks inputs and outputs (bit
// masks) and presses OK, or Cancel when `accept` is false. `seen` gets the
// dialog's disabled source button as 0..11 (-1 for none).
void answerChannelSelect(quint8 inputs, quint8 outputs, bool accept = true, int *seen = nullptr)
{
    QTimer::singleShot(0, [=] {
        auto *dialog = qobject_cast<QChannelSelect *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (seen) {
            *seen = -1;
            for (int i = 0; i < 12; ++i) {
                QPushButton *b = i < 4 ? dialog->inputButton(i) : dialog->outputButton(i - 4);
                if (!b->isEnabled())
                    *seen = i;
            }
        }
        for (int i = 0; i < 4; ++i)
            if (inputs & (1u << i))
                dialog->inputButton(i)->click();
        for (int i = 0; i < 8; ++i)
            if (outputs & (1u << i))
                dialog->outputButton(i)->click();
        (accept ? dialog->okButton() : dialog->cancelButton())->click();
    });
}

// Both filter pages on one link to a virtual unit on loopback, wired to each
// other as FuncWidget wires them, with their timers stopped so tests tick
// them by hand.
struct Rig
{
    VirtualUnit unit;
    Link link;
    QTcpSocket socket;
    ScriptedPrompt prompt;
    QInFilter in;
    QOutFilter out;

    static VirtualUnit::Options options()
    {
        VirtualUnit::Options o;
        o.address = uniqueLoopback();
        o.port = 0;
        return o;
    }

    Rig()
        : unit(options())
        , in(&link)
        , out(&link)
    {
        in.timer()->stop();
        out.timer()->stop();
        in.setPrompt(&prompt);
        out.setPrompt(&prompt);
        QObject::connect(&in, &QInFilter::sigOutCopy, &out, &QOutFilter::channelCopy);
        QObject::connect(&out, &QOutFilter::sigInCopy, &in, &QInFilter::channelCopy);
        QObject::connect(&link, &Link::moduleMessage, &in,
                         [this](quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload) {
                             if (module == 4)
                                 in.onMessage(param, op, length, payload);
                             else if (module == 10)
                                 out.onMessage(param, op, length, payload);
                         });
    }

    ~Rig() { link.setCurrentSocket(nullptr, 0, 0); }

    bool connect()
    {
        if (!unit.start())
            return false;
        link.setControlPort(unit.port());
        link.setCurrentSocket(&socket, 1, unit.address().toIPv4Address());
        if (!waitUntil([this] { return socket.state() == QAbstractSocket::ConnectedState && unit.hasClient(); }))
            return false;
        unit.clearReceived();
        return true;
    }

    // Everything the pages sent since the last call.
    QList<UnitFrame> sent() { return takeSent(link, unit); }

    // The class-3 sets among them.
    QList<UnitFrame> sets()
    {
        QList<UnitFrame> out;
        for (const UnitFrame &f : sent())
            if (f.cls == 3 && f.op == 1)
                out.append(f);
        return out;
    }
};


} // namespace

class TestFilterPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<char *>("char*"); }

    void initialState()
    {
        Link link;
        QInFilter in(&link);
        QOutFilter out(&link);
        QCOMPARE(in.objectName(), QStringLiteral("In Filter"));
        QVERIFY(in.findChild<QWidget *>(QStringLiteral("inFilterWidget")));
        QVERIFY(out.findChild<QWidget *>(QStringLiteral("outFilterWidget")));
        QCOMPARE(in.channelButton(3)->text(), QStringLiteral("IN D"));
        QCOMPARE(out.channelButton(7)->text(), QStringLiteral("OUT 8"));
        QVERIFY(!in.channelButton(4));
        QVERIFY(in.channelButton(0)->isChecked());
        QVERIFY(in.bandControls().buttons[0]->isChecked());
        QCOMPARE(in.sectionControls(FilterPage::HighPass).freqEdit->text(), QStringLiteral("20"));
        QCOMPARE(in.sectionControls(FilterPage::LowPass).freqEdit->text(), QStringLiteral("20000"));
        QCOMPARE(in.bandControls().freqEdit->text(), QStringLiteral("40"));
        QCOMPARE(in.bandControls().gainEdit->text(), QStringLiteral("0.0"));
        QCOMPARE(in.bandControls().qEdit->text(), QStringLiteral("6.00"));
        QVERIFY(in.bandControls().qEdit->isReadOnly());
        QCOMPARE(in.bandControls().qKnob->value(), 43.0f);
        QCOMPARE(in.bandControls().gainKnob->minimum(), -200.0f);
        QCOMPARE(in.bandControls().type->count(), 5);
        QCOMPARE(in.bandControls().type->itemText(3), QStringLiteral("Allpass180"));
        QCOMPARE(in.sectionControls(FilterPage::HighPass).slope->itemText(5), QStringLiteral("-48dB/oct"));
        QCOMPARE(in.graph()->dbMax(), 20);
        QCOMPARE(in.graph()->dbMin(), -20);
        QVERIFY(in.record(3) == FilterChannel());
    }

    void validators_data()
    {
        QTest::addColumn<bool>("gain");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("acceptable");
        QTest::newRow("freq 20000") << false << "20000" << true;
        QTest::newRow("freq 19999") << false << "19999" << true;
        QTest::newRow("freq 10") << false << "10" << true;
        QTest::newRow("freq 20001") << false << "20001" << true;
        QTest::newRow("freq 99999") << false << "99999" << true;
        QTest::newRow("freq 123456") << false << "123456" << true;
        QTest::newRow("freq -5") << false << "-5" << true;
        QTest::newRow("gain 20") << true << "20" << true;
        QTest::newRow("gain -20") << true << "-20" << true;
        QTest::newRow("gain 19.9") << true << "19.9" << true;
        QTest::newRow("gain -0.5") << true << "-0.5" << true;
        QTest::newRow("gain 21") << true << "21" << true;
        QTest::newRow("gain 5.55") << true << "5.55" << true;
        QTest::newRow("gain 20.5") << true << "20.5" << true;
        QTest::newRow("gain -25") << true << "-25" << true;
    }
    void validators()
    {
        QFETCH(bool, gain);
        QFETCH(QString, text);
        QFETCH(bool, acceptable);
        Link link;
        QInFilter in(&link);
        for (QLineEdit *edit : {gain ? in.bandControls().gainEdit : in.bandControls().freqEdit,
                                gain ? in.bandControls().gainEdit : in.sectionControls(FilterPage::LowPass).freqEdit}) {
            int pos = 0;
            QCOMPARE(edit->validator()->validate(text, pos) == QValidator::Acceptable, acceptable);
        }
    }

    void typedValuesAreClampedAndSent_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("param");
        QTest::addColumn<QByteArray>("payload"); // empty: nothing sent
        // Payloads: ch, enable, type, slope, freq f32 / ch, band, enable, type, freq f32, gain f32, Q index.
        QTest::newRow("high-pass 10 stores and sends 20") << "hp" << "10" << "20" << 1 << hex("00 00 00 00 0000a041");
        QTest::newRow("high-pass unchanged still sent") << "hp" << "20" << "20" << 1 << hex("00 00 00 00 0000a041");
        QTest::newRow("low-pass 0 stores and sends 20") << "lp" << "0" << "20" << 2 << hex("00 00 00 00 0000a041");
        QTest::newRow("low-pass 2500") << "lp" << "2500" << "2500" << 2 << hex("00 00 00 00 00401c45");
        QTest::newRow("band 10 stores and sends 20")
            << "band" << "10" << "20" << 3 << hex("00 00 01 00 0000a041 00000000 2b");
        QTest::newRow("gain -20") << "gain" << "-20" << "-20.0" << 3 << hex("00 00 01 00 00002042 0000a0c1 2b");
        QTest::newRow("gain 5.5") << "gain" << "5.5" << "5.5" << 3 << hex("00 00 01 00 00002042 0000b040 2b");
        QTest::newRow("emptied frequency restores and sends nothing") << "lp" << "" << "20000" << 0 << QByteArray();
    }
    void typedValuesAreClampedAndSent()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, param);
        QFETCH(QByteArray, payload);
        Rig rig;
        QVERIFY(rig.connect());
        QLineEdit *edit = field == QLatin1String("hp")     ? rig.in.sectionControls(FilterPage::HighPass).freqEdit
                          : field == QLatin1String("lp")   ? rig.in.sectionControls(FilterPage::LowPass).freqEdit
                          : field == QLatin1String("band") ? rig.in.bandControls().freqEdit
                                                           : rig.in.bandControls().gainEdit;
        type(edit, typed);
        QCOMPARE(edit->text(), shown);
        const QList<UnitFrame> sets = rig.sets();
        if (payload.isEmpty()) {
            QVERIFY2(sets.isEmpty(), qPrintable(describeFrames(sets)));
            return;
        }
        QCOMPARE(sets.size(), 1);
        QCOMPARE(int(sets.at(0).module), 4);
        QCOMPARE(int(sets.at(0).param), param);
        QCOMPARE(sets.at(0).payload.toHex(), payload.toHex());
        // The knob follows the typed value.
        if (field == QLatin1String("gain"))
            QCOMPARE(rig.in.bandControls().gainKnob->value(), shown.toFloat() * 10.0f);
    }

    void knobTurnSendsOnceFiveTicksAfterItStops_data()
    {
        QTest::addColumn<QString>("knob");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("param");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QByteArray>("staleReply");
        QTest::addColumn<QString>("edit");
        // Frequency knobs step by 1/24 octave, at least 1 Hz: from 20 Hz,
        // 1 Hz a step up to 35 Hz; from 20 kHz, 15 steps down are 5/8 octave.
        QTest::newRow("high-pass frequency")
            << "hp" << int(Qt::Key_Up) << 1 << hex("00 00 00 00 00000c42") << hex("00 00 00 00 0000a041") << "35";
        QTest::newRow("low-pass frequency")
            << "lp" << int(Qt::Key_Down) << 2 << hex("00 00 00 00 00a04a46") << hex("00 00 00 00 00409c46") << "12968";
        QTest::newRow("band gain") << "gain" << int(Qt::Key_Up) << 3 << hex("00 00 01 00 00002042 0000c03f 2b")
                                   << hex("00 00 01 00 00002042 00000000 2b") << "1.5";
        QTest::newRow("band Q") << "q" << int(Qt::Key_Up) << 3 << hex("00 00 01 00 00002042 00000000 3a")
                                << hex("00 00 01 00 00002042 00000000 2b") << "14.00";
    }
    void knobTurnSendsOnceFiveTicksAfterItStops()
    {
        QFETCH(QString, knob);
        QFETCH(int, key);
        QFETCH(int, param);
        QFETCH(QByteArray, payload);
        QFETCH(QByteArray, staleReply);
        QFETCH(QString, edit);
        Rig rig;
        QVERIFY(rig.connect());
        FilterPage &page = rig.in;
        Knob *k = knob == QLatin1String("hp")   ? page.sectionControls(FilterPage::HighPass).freqKnob
                  : knob == QLatin1String("lp") ? page.sectionControls(FilterPage::LowPass).freqKnob
                  : knob == QLatin1String("gain") ? page.bandControls().gainKnob
                                                  : page.bandControls().qKnob;
        QLineEdit *e = knob == QLatin1String("hp")   ? page.sectionControls(FilterPage::HighPass).freqEdit
                       : knob == QLatin1String("lp") ? page.sectionControls(FilterPage::LowPass).freqEdit
                       : knob == QLatin1String("gain") ? page.bandControls().gainEdit
                                                       : page.bandControls().qEdit;

        // 300 ms of turning: one step per 20 ms tick, with the unit's answers
        // to earlier polls arriving in between.
        for (int step = 0; step < 15; ++step) {
            page.timeOut20ms();
            QTest::keyClick(k, Qt::Key(key));
            feed(page, quint8(param), staleReply);
        }
        QCOMPARE(e->text(), edit);
        for (int tick = 1; tick <= 4; ++tick) {
            page.timeOut20ms();
            feed(page, quint8(param), staleReply);
        }
        QVERIFY2(rig.sets().isEmpty(), "nothing before the fifth tick");
        page.timeOut20ms();
        const QList<UnitFrame> sets = rig.sets();
        QCOMPARE(sets.size(), 1);
        QCOMPARE(int(sets.at(0).param), param);
        QCOMPARE(sets.at(0).payload.toHex(), payload.toHex());

        // Replies stay ignored until ten ticks after the last step ...
        for (int tick = 6; tick <= 9; ++tick) {
            page.timeOut20ms();
            feed(page, quint8(param), staleReply);
        }
        QCOMPARE(e->text(), edit);
        // ... and are taken again from then on.
        page.timeOut20ms();
        QVERIFY(!page.isHoldingReplies());
        feed(page, quint8(param), staleReply);
        QVERIFY(e->text() != edit);
        QVERIFY(rig.sets().isEmpty());
    }

    void changingChannelSendsWhatIsPendingAtOnce()
    {
        Rig rig;
        QVERIFY(rig.connect());
        Knob *knob = rig.in.sectionControls(FilterPage::HighPass).freqKnob;
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(knob, Qt::Key_Up);
        rig.in.channelButton(1)->click();
        QCOMPARE(rig.in.currentChannel(), uchar(1));
        QList<UnitFrame> sets = rig.sets();
        QCOMPARE(sets.size(), 1);
        QCOMPARE(sets.at(0).payload.toHex(), hex("00 00 00 00 0000b841").toHex());
        for (int i = 0; i < 12; ++i)
            rig.in.timeOut20ms();
        sets = rig.sets();
        QVERIFY2(sets.isEmpty(), qPrintable(describeFrames(sets)));
        QCOMPARE(rig.in.sectionControls(FilterPage::HighPass).freqEdit->text(), QStringLiteral("20"));
    }

    void replyForAChannelNotShownUpdatesOnlyItsRecord()
    {
        Link link;
        QInFilter in(&link);
        // Channel 2, band 0: bypassed low shelf at 1234.7 Hz (stored as 1234), -7.5 dB, Q index 10.
        feed(in, 3, hex("02 00 00 01 66569a44 0000f0c0 0a"));
        QCOMPARE(in.record(2).bandFreq[0], quint16(1234));
        QCOMPARE(in.record(2).bandGain[0], -7.5f);
        QCOMPARE(in.record(2).bandType[0], quint8(1));
        QCOMPARE(in.record(2).bandEnable[0], quint8(0));
        QCOMPARE(in.record(2).bandQIndex[0], quint8(10));
        QVERIFY(in.record(0) == FilterChannel());
        QCOMPARE(in.bandControls().freqEdit->text(), QStringLiteral("40"));
        QCOMPARE(in.graph()->params().bands[0].freq, 40.0f);

        in.channelButton(2)->click();
        QCOMPARE(in.bandControls().freqEdit->text(), QStringLiteral("1234"));
        QCOMPARE(in.bandControls().gainEdit->text(), QStringLiteral("-7.5"));
        QCOMPARE(in.bandControls().gainKnob->value(), -75.0f);
        QCOMPARE(in.bandControls().type->currentIndex(), 1);
        QVERIFY(!in.bandControls().enable->isChecked());
        QCOMPARE(in.bandControls().qEdit->text(), QStringLiteral("0.89"));
        // A shelf is drawn with Q 0.67 whatever its index says.
        QCOMPARE(in.graph()->params().bands[0].q, 0.67f);
        QVERIFY(in.graph()->params().bands[0].bypass);
        QVERIFY(in.channelButton(2)->isChecked());
        QVERIFY(!in.channelButton(0)->isChecked());
    }

    void repliesOutsideTheTablesAreRefusedWhole_data()
    {
        QTest::addColumn<int>("param");
        QTest::addColumn<int>("op");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<bool>("applied");
        QTest::newRow("high-pass applied") << 1 << 0x80 << hex("00 07 01 03 00007a44") << true;
        QTest::newRow("low-pass applied") << 2 << 0x80 << hex("00 01 02 05 00007a44") << true;
        QTest::newRow("section type 3") << 1 << 0x80 << hex("00 01 03 03 00007a44") << false;
        QTest::newRow("slope 6") << 2 << 0x80 << hex("00 01 01 06 00007a44") << false;
        QTest::newRow("section of 7 bytes") << 1 << 0x80 << hex("00 01 01 03 00007a") << false;
        QTest::newRow("section of 9 bytes") << 1 << 0x80 << hex("00 01 01 03 00007a44 00") << false;
        QTest::newRow("input channel 4") << 1 << 0x80 << hex("04 01 01 03 00007a44") << false;
        QTest::newRow("set, not a report") << 1 << 0x01 << hex("00 01 01 03 00007a44") << false;
        QTest::newRow("frequency NaN") << 1 << 0x80 << hex("00 01 01 03 0000c07f") << false;
        QTest::newRow("band applied") << 3 << 0x80 << hex("00 05 01 02 00007a44 0000c040 0c") << true;
        QTest::newRow("band type 5") << 3 << 0x80 << hex("00 05 00 05 00007a44 0000c040 0c") << false;
        QTest::newRow("Q index 65") << 3 << 0x80 << hex("00 05 00 02 00007a44 0000c040 41") << false;
        QTest::newRow("band 16") << 3 << 0x80 << hex("00 10 00 02 00007a44 0000c040 0c") << false;
        QTest::newRow("band of 12 bytes") << 3 << 0x80 << hex("00 05 00 02 00007a44 0000c040") << false;
        QTest::newRow("gain NaN") << 3 << 0x80 << hex("00 05 00 02 00007a44 0000c07f 0c") << false;
        QTest::newRow("copy param is not a report") << 4 << 0x80 << hex("00 01 02") << false;
    }
    void repliesOutsideTheTablesAreRefusedWhole()
    {
        QFETCH(int, param);
        QFETCH(int, op);
        QFETCH(QByteArray, payload);
        QFETCH(bool, applied);
        Link link;
        QInFilter in(&link);
        const QByteArray before = recordBytes(in.record(0));
        const ResponseCurve curve = in.graph()->response();
        feed(in, quint8(param), payload, quint8(op));
        QCOMPARE(recordBytes(in.record(0)) != before, applied);
        QCOMPARE(in.graph()->response() != curve, applied);
        if (applied && param == 1) {
            QCOMPARE(in.record(0).hpEnable, quint8(1)); // any non-zero enable is 1
            QVERIFY(in.sectionControls(FilterPage::HighPass).enable->isChecked());
            QCOMPARE(in.sectionControls(FilterPage::HighPass).type->currentIndex(), 1);
            QCOMPARE(in.sectionControls(FilterPage::HighPass).freqEdit->text(), QStringLiteral("1000"));
        }
    }

    void shelvesAreDrawnWithQ067()
    {
        Rig rig;
        QVERIFY(rig.connect());
        QComboBox *type = rig.in.bandControls().type;
        QTest::keyClick(type, Qt::Key_Down); // LowShelf
        QCOMPARE(rig.in.record(0).bandType[0], quint8(1));
        QCOMPARE(rig.in.graph()->params().bands[0].q, 0.67f);
        QCOMPARE(rig.in.record(0).bandQIndex[0], quint8(43));
        QTest::keyClick(type, Qt::Key_Down); // HighShelf
        QCOMPARE(rig.in.graph()->params().bands[0].q, 0.67f);
        QTest::keyClick(type, Qt::Key_Up);
        QTest::keyClick(type, Qt::Key_Up); // PEQ
        QCOMPARE(rig.in.graph()->params().bands[0].q, 6.0f);
        const QList<UnitFrame> sets = rig.sets();
        QCOMPARE(sets.size(), 4);
        // The Q index stays stored and is still sent with a shelf.
        QCOMPARE(sets.at(0).payload.toHex(), hex("00 00 01 01 00002042 00000000 2b").toHex());
        QCOMPARE(sets.at(1).payload.toHex(), hex("00 00 01 02 00002042 00000000 2b").toHex());
    }

    void pollsOneChannelEverySecondTick_data()
    {
        QTest::addColumn<bool>("output");
        QTest::newRow("inputs") << false;
        QTest::newRow("outputs") << true;
    }
    void pollsOneChannelEverySecondTick()
    {
        QFETCH(bool, output);
        Rig rig;
        QVERIFY(rig.connect());
        FilterPage &page = output ? static_cast<FilterPage &>(rig.out) : rig.in;
        const int channels = output ? 8 : 4;
        const quint8 module = output ? 10 : 4;
        const quint8 lockItem = output ? 12 : 6;

        page.timeOut20ms();
        page.timeOut20ms();
        QVERIFY2(rig.sent().isEmpty(), "a hidden page does not poll");

        page.resize(1024, 600);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        for (int round = 1; round <= channels + 1; ++round) {
            page.timeOut20ms();
            QVERIFY(rig.sent().isEmpty());
            page.timeOut20ms();
            const QList<UnitFrame> frames = rig.sent();
            const char ch = char(round % channels);
            QCOMPARE(frames.size(), 19);
            QCOMPARE(int(frames.at(0).cls), 2);
            QCOMPARE(int(frames.at(0).module), 5);
            QCOMPARE(int(frames.at(0).param), int(lockItem));
            QCOMPARE(frames.at(0).payload, QByteArray(1, ch));
            for (int i = 1; i < 19; ++i) {
                const UnitFrame &f = frames.at(i);
                QCOMPARE(int(f.cls), 3);
                QCOMPARE(int(f.module), int(module));
                QCOMPARE(int(f.op), 0);
                QCOMPARE(int(f.param), i < 3 ? i : 3);
                QCOMPARE(f.payload, i < 3 ? QByteArray(1, ch) : QByteArray(1, ch) + char(i - 3));
            }
        }
    }

    void dragAboveThePlotSendsPlus20Once()
    {
        Rig rig;
        QVERIFY(rig.connect());
        rig.in.resize(1024, 600);
        rig.in.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.in));
        FilterGraph *graph = rig.in.graph();
        // Band 3 (index 2) is not the current band: dragging it selects it.
        const QPoint from = graph->handleRect(2).center().toPoint();
        QTest::mousePress(graph, Qt::LeftButton, Qt::NoModifier, from);
        QCOMPARE(rig.in.currentBand(), uchar(2));
        for (int y = from.y(); y > -40; y -= 25) {
            QMouseEvent move(QEvent::MouseMove, QPoint(from.x(), y), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(graph, &move);
            rig.in.timeOut20ms();
        }
        QTest::mouseRelease(graph, Qt::LeftButton, Qt::NoModifier, QPoint(from.x(), -40));
        QCOMPARE(rig.in.bandControls().gainEdit->text(), QStringLiteral("20.0"));
        QCOMPARE(rig.in.bandControls().gainKnob->value(), 200.0f);
        for (int i = 0; i < 5; ++i)
            rig.in.timeOut20ms();
        const QList<UnitFrame> sets = rig.sets();
        QCOMPARE(sets.size(), 1);
        const QByteArray p = sets.at(0).payload;
        QCOMPARE(p.size(), 13);
        QCOMPARE(p.left(4).toHex(), hex("00 02 01 00").toHex());
        QCOMPARE(p.mid(8, 4).toHex(), hex("0000a041").toHex()); // +20.0 dB
        QCOMPARE(rig.in.record(0).bandGain[2], 20.0f);
        // The frequency is what the handle's column reads, about 80 Hz.
        QVERIFY(qAbs(int(rig.in.record(0).bandFreq[2]) - 80) <= 2);
    }

    void copyWithNothingTickedSendsZeroMasksAndCopiesNothing()
    {
        Rig rig;
        QVERIFY(rig.connect());
        rig.in.sectionControls(FilterPage::HighPass).enable->click();
        rig.sets();
        QSignalSpy toOutputs(&rig.in, &QInFilter::sigOutCopy);
        answerChannelSelect(0, 0);
        rig.in.copyButton()->click();
        const QList<UnitFrame> sets = rig.sets();
        QCOMPARE(sets.size(), 1);
        QCOMPARE(int(sets.at(0).param), 4);
        QCOMPARE(sets.at(0).payload.toHex(), hex("00 00 00").toHex());
        QVERIFY(toOutputs.isValid());
        QCOMPARE(toOutputs.size(), 0);
        for (int ch = 1; ch < 4; ++ch)
            QVERIFY(rig.in.record(ch) == FilterChannel());
        for (int ch = 0; ch < 8; ++ch)
            QVERIFY(rig.out.record(ch) == FilterChannel());

        // Cancel sends nothing at all.
        answerChannelSelect(0x0F, 0xFF, false);
        rig.in.copyButton()->click();
        QVERIFY(rig.sets().isEmpty());
    }

    void copyReachesBothPages()
    {
        Rig rig;
        QVERIFY(rig.connect());
        type(rig.in.bandControls().gainEdit, QStringLiteral("-3.5"));
        rig.in.sectionControls(FilterPage::LowPass).enable->click();
        rig.sets();
        int source = -2;
        answerChannelSelect(0x04, 0x02, true, &source);
        rig.in.copyButton()->click();
        QCOMPARE(source, 0);
        QList<UnitFrame> sets = rig.sets();
        QCOMPARE(sets.size(), 1);
        QCOMPARE(sets.at(0).payload.toHex(), hex("00 04 02").toHex());
        QVERIFY(rig.in.record(2) == rig.in.record(0));
        QVERIFY(rig.out.record(1) == rig.in.record(0));
        QVERIFY(rig.in.record(1) == FilterChannel());
        QVERIFY(rig.out.record(0) == FilterChannel());

        // From OUT 3 onto IN A, which is shown: the page follows.
        rig.out.channelButton(2)->click();
        type(rig.out.bandControls().freqEdit, QStringLiteral("3000"));
        rig.sets();
        answerChannelSelect(0x01, 0x00, true, &source);
        rig.out.copyButton()->click();
        QCOMPARE(source, 6);
        sets = rig.sets();
        QCOMPARE(sets.size(), 1);
        QCOMPARE(int(sets.at(0).module), 10);
        QCOMPARE(sets.at(0).payload.toHex(), hex("02 01 00").toHex());
        QVERIFY(rig.in.record(0) == rig.out.record(2));
        QCOMPARE(rig.in.bandControls().freqEdit->text(), QStringLiteral("3000"));
    }

    void resetAsksFirst()
    {
        Rig rig;
        QVERIFY(rig.connect());
        rig.in.channelButton(1)->click();
        rig.in.sectionControls(FilterPage::HighPass).enable->click();
        rig.sets();
        const FilterChannel edited = rig.in.record(1);

        rig.prompt.answers = {1}; // "Cancle"
        rig.in.resetButton()->click();
        QCOMPARE(rig.prompt.asked.size(), 1);
        QCOMPARE(rig.prompt.asked.at(0).title, QStringLiteral("warning"));
        QCOMPARE(rig.prompt.asked.at(0).text, QStringLiteral("Clear all setting?"));
        QCOMPARE(rig.prompt.asked.at(0).buttons, QStringList({QStringLiteral("OK"), QStringLiteral("Cancle")}));
        QVERIFY(rig.sets().isEmpty());
        QVERIFY(rig.in.record(1) == edited);

        rig.prompt.answers = {0}; // "OK"
        rig.in.resetButton()->click();
        const QList<UnitFrame> sets = rig.sets();
        QCOMPARE(sets.size(), 1);
        QCOMPARE(int(sets.at(0).param), 5);
        QCOMPARE(sets.at(0).payload.toHex(), hex("01").toHex());
        QVERIFY(rig.in.record(1) == FilterChannel());
        QVERIFY(!rig.in.sectionControls(FilterPage::HighPass).enable->isChecked());
    }

    void locksActOnControlsAndGraph()
    {
        Link link;
        QInFilter in(&link);
        feed(in, 1, hex("00 01 01 03 00007a44"));
        QVERIFY(in.graph()->response()[0] < -40.0);

        // Channel 1's locks do not touch the page while channel 0 is shown.
        lockReport(in, hex("01 02 02 02") + QByteArray(16, '\x02'));
        QVERIFY(!in.graph()->isHidden());
        QVERIFY(!in.sectionControls(FilterPage::HighPass).group->isHidden());

        // Channel 0: graph read-only, high-pass hidden, low-pass read-only,
        // band 1 (current) read-only, band 6 hidden.
        QByteArray locks = hex("00 01 02 01") + QByteArray(16, '\0');
        locks[4] = 1;
        locks[9] = 2;
        lockReport(in, locks);
        QVERIFY(!in.graph()->isHidden());
        QVERIFY(!in.graph()->isEnabled());
        QVERIFY(in.sectionControls(FilterPage::HighPass).group->isHidden());
        QVERIFY(in.graph()->handleRect(FilterGraph::HighPassHandle).isEmpty());
        QCOMPARE(in.graph()->response()[0], 0.0); // the hidden high-pass is out of the curve
        QVERIFY(!in.sectionControls(FilterPage::LowPass).group->isHidden());
        QVERIFY(!in.sectionControls(FilterPage::LowPass).group->isEnabled());
        QVERIFY(!in.graph()->isLowPassEditable());
        QVERIFY(!in.graph()->handleRect(FilterGraph::LowPassHandle).isEmpty());
        QVERIFY(!in.bandControls().editor->isEnabled());
        QVERIFY(!in.graph()->isBandEditable(0));
        QVERIFY(in.graph()->handleRect(5).isEmpty());
        QVERIFY(in.bandControls().buttons[5]->isEnabled());

        // Choosing band 6 brings its lock to the band controls.
        in.bandControls().buttons[5]->click();
        QVERIFY(in.bandControls().editor->isHidden());
        in.bandControls().buttons[1]->click();
        QVERIFY(!in.bandControls().editor->isHidden());
        QVERIFY(in.bandControls().editor->isEnabled());

        // Channel 1 shown: everything hidden.
        in.channelButton(1)->click();
        QVERIFY(in.graph()->isHidden());
        QVERIFY(in.sectionControls(FilterPage::LowPass).group->isHidden());
        QVERIFY(in.bandControls().editor->isHidden());
        // Back to free by the report the page hears on the link, the way the
        // unit answers the page's own lock poll.
        const QByteArray free = hex("01") + QByteArray(19, '\0');
        Q_EMIT link.systemMessage(5, 6, 0x80, quint16(free.size()), reinterpret_cast<const uchar *>(free.constData()));
        QVERIFY(!in.graph()->isHidden());
        QVERIFY(in.graph()->isEnabled());
        QVERIFY(in.bandControls().editor->isEnabled());
        QCOMPARE(in.lockState(1, 3), uchar(0));
        // The output page's item is not the input page's.
        Q_EMIT link.systemMessage(5, 12, 0x80, 20, reinterpret_cast<const uchar *>(hex("01 02").leftJustified(20, '\x02').constData()));
        QVERIFY(!in.graph()->isHidden());
    }

    void lockSlotsActOnlyOnTheShownChannel()
    {
        Link link;
        QOutFilter out(&link);
        QByteArray locks = hex("03 02 00 00") + QByteArray(16, '\0');
        lockReport(out, locks);
        QCOMPARE(out.lockState(3, 0), uchar(2));
        out.setFilterGraphSecurityState(3);
        QVERIFY(!out.graph()->isHidden());
        out.selectChannel(3);
        QVERIFY(out.graph()->isHidden());
        out.selectChannel(0);
        QVERIFY(!out.graph()->isHidden());
        // A slot for the shown channel applies what the page holds for it.
        out.graph()->hide();
        out.setFilterGraphSecurityState(0);
        QVERIFY(!out.graph()->isHidden());
        out.setFilterBandSecurityState(0, 200); // out of range: nothing
    }

    void virtualUnitFilterTables_data()
    {
        QTest::addColumn<QByteArrayList>("frames"); // "module/param:hex", all sets
        QTest::addColumn<int>("module");
        QTest::addColumn<int>("channel");
        QTest::addColumn<QString>("check");
        QTest::newRow("band set stored")
            << QByteArrayList{"4/3:0102000100404c4500004040 05"} << 4 << 1 << "band 2 type 1 freq 3268 gain 3 q 5";
        QTest::newRow("band set of 12 bytes ignored")
            << QByteArrayList{"4/3:0102000100404c4500004040"} << 4 << 1 << "default";
        QTest::newRow("band type 5 ignored") << QByteArrayList{"4/3:0102000500004040 00004040 05"} << 4 << 1
                                             << "default";
        QTest::newRow("copy input 0 to input 3 and outputs 1, 8")
            << QByteArrayList{"4/1:00010203 00007a44", "4/4:000881"} << 10 << 7 << "hp 1 2 3 1000";
        QTest::newRow("copy from an output to input 1")
            << QByteArrayList{"10/2:05010104 00007a44", "10/4:050200"} << 4 << 1 << "lp 1 1 4 1000";
        QTest::newRow("reset") << QByteArrayList{"10/2:05010104 00007a44", "10/5:05"} << 10 << 5 << "default";
        QTest::newRow("channel out of range ignored") << QByteArrayList{"4/1:04010203 00007a44"} << 4 << 3
                                                      << "default";
    }
    void virtualUnitFilterTables()
    {
        QFETCH(QByteArrayList, frames);
        QFETCH(int, module);
        QFETCH(int, channel);
        QFETCH(QString, check);
        VirtualUnit unit;
        FilterModule filters;
        for (const QByteArray &f : frames) {
            const QByteArrayList parts = f.split(':');
            const QByteArrayList head = parts.at(0).split('/');
            UnitFrame frame;
            frame.cls = 3;
            frame.module = quint8(head.at(0).toUInt());
            frame.param = quint8(head.at(1).toUInt());
            frame.op = 1;
            frame.payload = QByteArray::fromHex(parts.at(1));
            QVERIFY(filters.handle(unit, frame));
        }
        const FilterChannel &r = *filters.record(quint8(module), channel);
        FilterChannel expected;
        if (check.startsWith(QLatin1String("band"))) {
            expected.bandEnable[2] = 0;
            expected.bandType[2] = 1;
            expected.bandFreq[2] = 3268;
            expected.bandGain[2] = 3.0f;
            expected.bandQIndex[2] = 5;
        } else if (check.startsWith(QLatin1String("hp"))) {
            expected.hpEnable = 1;
            expected.hpType = 2;
            expected.hpSlope = 3;
            expected.hpFreq = 1000;
        } else if (check.startsWith(QLatin1String("lp"))) {
            expected.lpEnable = 1;
            expected.lpType = 1;
            expected.lpSlope = 4;
            expected.lpFreq = 1000;
        }
        QCOMPARE(recordBytes(r).toHex(), recordBytes(expected).toHex());
    }

    // For review: ORVALIX_GRAB_DIR=/some/dir renders both pages with a few
    // bands set, in the application's style, to PNG files there.
    void grabPages()
    {
        const QString dir = qEnvironmentVariable("ORVALIX_GRAB_DIR");
        if (dir.isEmpty())
            QSKIP("set ORVALIX_GRAB_DIR to render the pages");
        Resources::applyStyleSheet(qApp);
        Link link;
        QInFilter in(&link);
        QOutFilter out(&link);
        feed(in, 1, hex("00 01 01 03 0000c842"));       // high-pass 100 Hz, Butterworth 24 dB/oct
        feed(in, 3, hex("00 02 01 00 00002043 0000c040 0c")); // band 3: 160 Hz +6 dB Q 1
        feed(in, 3, hex("00 05 01 00 00007a44 000040c1 1a")); // band 6: 1 kHz -12 dB Q 2.2
        feed(in, 3, hex("00 0f 01 02 00401c46 00004040 2b")); // band 16: high shelf 10 kHz +3 dB
        feed(in, 2, hex("00 01 02 04 00409c46"));       // low-pass 20 kHz
        in.selectBand(5);
        feed(out, 2, hex("00 01 01 05 00c0da45"));      // low-pass 7 kHz, 48 dB/oct
        feed(out, 3, hex("00 00 01 01 00004842 00008040 2b")); // low shelf 50 Hz +4 dB
        feed(out, 3, hex("00 09 00 00 00002f44 000080c0 20"));  // band 10 bypassed
        QByteArray locks = hex("00 00 00 01") + QByteArray(16, '\0');
        locks[4 + 9] = 2;
        lockReport(out, locks);
        for (FilterPage *page : std::initializer_list<FilterPage *>{&in, &out}) {
            page->timer()->stop();
            page->resize(1024, 600);
            page->show();
            QVERIFY(QTest::qWaitForWindowExposed(page));
            QVERIFY(page->grab().save(dir + QLatin1Char('/') + page->objectName().remove(QLatin1Char(' ')) + QStringLiteral(".png")));
        }
    }

    void bandEditedOnThePageIsStoredAndReportedBack()
    {
        Rig rig;
        QVERIFY(rig.connect());
        rig.in.bandControls().buttons[3]->click();
        type(rig.in.bandControls().freqEdit, QStringLiteral("2500"));
        type(rig.in.bandControls().gainEdit, QStringLiteral("-7.5"));
        QTest::keyClick(rig.in.bandControls().type, Qt::Key_Down);
        for (int i = 0; i < 6; ++i)
            QTest::keyClick(rig.in.bandControls().qKnob, Qt::Key_Down);
        for (int i = 0; i < 5; ++i)
            rig.in.timeOut20ms();
        rig.out.channelButton(4)->click();
        rig.out.sectionControls(FilterPage::LowPass).enable->click();
        type(rig.out.sectionControls(FilterPage::LowPass).freqEdit, QStringLiteral("12000"));
        QVERIFY(!rig.sets().isEmpty());

        // Fresh pages on the same link learn everything back from the unit.
        QInFilter in2(&rig.link);
        QOutFilter out2(&rig.link);
        for (FilterPage *page : std::initializer_list<FilterPage *>{&in2, &out2}) {
            page->timer()->stop();
            page->resize(1024, 600);
            page->show();
        }
        QObject::connect(&rig.link, &Link::moduleMessage, &in2,
                         [&](quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload) {
                             if (module == 4)
                                 in2.onMessage(param, op, length, payload);
                             else if (module == 10)
                                 out2.onMessage(param, op, length, payload);
                         });
        QVERIFY(rig.in.record(0) != FilterChannel());
        const bool same = waitUntil(
            [&] {
                in2.timeOut20ms();
                out2.timeOut20ms();
                return in2.record(0) == rig.in.record(0) && out2.record(4) == rig.out.record(4);
            },
            10000);
        QVERIFY2(same, qPrintable(QString::fromLatin1(recordBytes(in2.record(0)).toHex() + " vs "
                                                      + recordBytes(rig.in.record(0)).toHex())));
        QCOMPARE(in2.record(0).bandFreq[3], quint16(2500));
        QCOMPARE(in2.record(0).bandGain[3], -7.5f);
        QCOMPARE(in2.record(0).bandType[3], quint8(1));
        QCOMPARE(in2.record(0).bandQIndex[3], quint8(37));
        QCOMPARE(out2.record(4).lpFreq, quint16(12000));

        // Copy and reset act in the unit too.
        answerChannelSelect(0x00, 0x01);
        rig.in.copyButton()->click();
        rig.prompt.answers = {0};
        rig.out.resetButton()->click();
        QVERIFY(waitUntil(
            [&] {
                in2.timeOut20ms();
                out2.timeOut20ms();
                return out2.record(0) == rig.in.record(0) && out2.record(4) == FilterChannel();
            },
            10000));
    }
    // Tab follows the layout: channels, copy and reset, then high-pass, the
    // band buttons and editor, low-pass. The editors are named after the
    // channel and band they act on, and renamed when the selection moves.
    void tabStopsFollowTheLayout_data()
    {
        QTest::addColumn<bool>("inputs");
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("band");
        QTest::addColumn<QStringList>("expected"); // a run of stops, from its first name on
        QTest::newRow("input page")
            << true << 0 << 0
            << nameList({"IN A", "IN B", "IN C", "IN D", "Copy to", "Reset", "IN A high-pass enable",
                         "IN A high-pass type", "IN A high-pass slope", "IN A high-pass frequency knob",
                         "IN A high-pass frequency in Hz", "Band 1", "Band 2"});
        QTest::newRow("band editor of OUT 3 band 5")
            << false << 2 << 4
            << nameList({"Band 16", "OUT 3 band 5 enable", "OUT 3 band 5 type", "OUT 3 band 5 frequency knob",
                         "OUT 3 band 5 frequency in Hz", "OUT 3 band 5 gain knob", "OUT 3 band 5 gain in dB",
                         "OUT 3 band 5 Q knob", "OUT 3 band 5 Q", "OUT 3 low-pass enable"});
    }
    void tabStopsFollowTheLayout()
    {
        QFETCH(bool, inputs);
        QFETCH(int, channel);
        QFETCH(int, band);
        QFETCH(QStringList, expected);
        Link link;
        QScopedPointer<FilterPage> page(inputs ? static_cast<FilterPage *>(new QInFilter(&link))
                                               : static_cast<FilterPage *>(new QOutFilter(&link)));
        page->timer()->stop();
        // An operator's label goes to the tool tip, never into a name.
        page->setInLabel(0, QStringLiteral("Lead"));
        page->setOutLabel(0, QStringLiteral("Lead"));
        page->selectChannel(channel);
        page->selectBand(band);
        const QStringList names = tabStopNames(page.data());
        const int from = names.indexOf(expected.first());
        QVERIFY2(from >= 0, qPrintable(names.join(QLatin1String(" | "))));
        QCOMPARE(names.mid(from, expected.size()), expected);
        // Abbreviated captions are spelled out.
        QCOMPARE(page->bandControls().qEdit->toolTip(), QStringLiteral("Quality factor: centre frequency over bandwidth"));
        QCOMPARE(page->sectionControls(FilterPage::HighPass).freqLabel->toolTip(), QStringLiteral("Frequency in Hz"));
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Resources::init();
    TestFilterPages test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_filterpages.moc"
