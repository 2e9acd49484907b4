// The overview strip: meters and their floor, mutes and what they send, the
// state label and the link-lost reset.

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QtTest>

#include "core/link/link.h"
#include "systemmodule.h"
#include "tabchain.h"
#include "testsupport.h"
#include "ui/controls/qmeterwidget.h"
#include "ui/pages/qoverview.h"
#include "virtualunit.h"

namespace {

// An overview whose link is connected to a virtual unit on loopback.
struct Connected
{
    VirtualUnit unit;
    Link link;
    QTcpSocket socket;
    QOverView overview;

    static VirtualUnit::Options options(const QString &password)
    {
        VirtualUnit::Options o;
        o.address = uniqueLoopback();
        o.port = 0;
        o.password = password;
        return o;
    }

    explicit Connected(const QString &password = QString())
        : unit(options(password))
        , overview(&link)
    {
    }

    bool connect()
    {
        if (!unit.start())
            return false;
        link.setControlPort(unit.port());
        QObject::connect(&link, &Link::systemMessage, &overview,
                         [this](quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload) {
                             if (module == 1 && param == 1 && op == 0x80 && length == 1) {
                                 link.setLoggedIn(payload[0] != 0);
                                 overview.refreshState();
                             }
                         });
        link.setCurrentSocket(&socket, 1, unit.address().toIPv4Address());
        if (!waitUntil([this] { return unit.hasClient() && socket.state() == QAbstractSocket::ConnectedState; }))
            return false;
        // The unit's login report comes first.
        if (!waitUntil([this] { return unit.system().password.isEmpty() ? link.isLoggedIn() : true; }))
            return false;
        unit.clearReceived();
        return true;
    }

    ~Connected() { link.setCurrentSocket(nullptr, 0, 0); }
};

void activate(QWidget *w)
{
    w->show();
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
}

} // namespace

class TestOverview : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void meterFloor_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("atMinus60");
        QTest::addColumn<QString>("atMinus100");
        QTest::newRow("-80 is below the -60 floor") << -80 << "-60" << "-80";
        QTest::newRow("-120 is below both floors") << -120 << "-60" << "-100";
        QTest::newRow("-20 is above both") << -20 << "-20" << "-20";
        QTest::newRow("+30 is shown as received") << 30 << "30" << "30";
    }
    void meterFloor()
    {
        QFETCH(int, value);
        QFETCH(QString, atMinus60);
        QFETCH(QString, atMinus100);
        Link link;
        QOverView o(&link);
        activate(&o);
        QCOMPARE(o.meterFloor(), -60);
        o.setInMeter(1, value);
        o.setOutMeter(6, value);
        QCOMPARE(o.inLevelLabel(1)->text(), atMinus60);
        QCOMPARE(o.outLevelLabel(6)->text(), atMinus60);
        QCOMPARE(o.inLevelMeter(1)->value(), qBound(-60, value, int(QOverView::MeterTop)));

        QTest::keyClick(&o, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(o.meterFloor(), -100);
        QCOMPARE(o.inLevelLabel(1)->text(), atMinus100);
        QCOMPARE(o.outLevelLabel(6)->text(), atMinus100);
        QCOMPARE(o.inLevelMeter(1)->minimum(), -100);

        QTest::keyClick(&o, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(o.meterFloor(), -60);
        QCOMPARE(o.inLevelLabel(1)->text(), atMinus60);
    }

    void compMetersAlwaysUpdate()
    {
        Link link;
        QOverView o(&link);
        QCOMPARE(o.inCompLabel(0)->text(), QStringLiteral("-60"));
        o.setInCompMeter(0, 7);
        o.setOutCompMeter(7, 12);
        QCOMPARE(o.inCompLabel(0)->text(), QStringLiteral("7"));
        QCOMPARE(o.outCompLabel(7)->text(), QStringLiteral("12"));
    }

    void mutesSendThroughTheLevelModules_data()
    {
        QTest::addColumn<bool>("input");
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("module");
        QTest::newRow("output 3") << false << 2 << 9;
        QTest::newRow("output 8") << false << 7 << 9;
        QTest::newRow("input B") << true << 1 << 1;
    }
    void mutesSendThroughTheLevelModules()
    {
        QFETCH(bool, input);
        QFETCH(int, channel);
        QFETCH(int, module);
        Connected c;
        QVERIFY(c.connect());
        QSignalSpy changed(&c.overview, input ? &QOverView::inMuteChanged : &QOverView::outMuteChanged);
        QPushButton *button = input ? c.overview.inMuteButton(channel) : c.overview.outMuteButton(channel);
        c.overview.show();
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(waitUntil([&] { return !c.unit.receivedMatching(3, quint8(module), 2).isEmpty(); }));
        const UnitFrame frame = c.unit.receivedMatching(3, quint8(module), 2).first();
        QCOMPARE(int(frame.op), 1);
        QCOMPARE(frame.payload, QByteArray(1, char(channel)) + QByteArray("\x01", 1));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(1).toBool(), true);

        // The level page's report sets the button without sending.
        c.unit.clearReceived();
        if (input)
            c.overview.setInMute(uchar(channel), false);
        else
            c.overview.setOutMute(uchar(channel), false);
        QVERIFY(!button->isChecked());
        QCOMPARE(changed.size(), 1);
        QTest::qWait(50);
        QVERIFY(c.unit.received().isEmpty());
    }

    void allMute()
    {
        Connected c;
        QVERIFY(c.connect());
        activate(&c.overview);

        // Reports equal to the state change nothing and send nothing.
        c.overview.setAllMute(false);
        c.overview.setAllMute(true);
        QVERIFY(c.overview.allMuteButton()->isChecked());
        c.overview.setAllMute(true);
        QTest::qWait(50);
        QVERIFY(c.unit.received().isEmpty());

        // The button sends its state, Ctrl+M the inverse of the flag.
        QTest::mouseClick(c.overview.allMuteButton(), Qt::LeftButton);
        QVERIFY(!c.overview.allMute());
        QTest::keyClick(&c.overview, Qt::Key_M, Qt::ControlModifier);
        QVERIFY(c.overview.allMute());
        QVERIFY(c.overview.allMuteButton()->isChecked());
        QVERIFY(waitUntil([&] { return c.unit.receivedMatching(2, 2, 15, 1).size() == 2; }));
        const QList<UnitFrame> sets = c.unit.receivedMatching(2, 2, 15, 1);
        QCOMPARE(sets.at(0).payload, QByteArray(1, '\0'));
        QCOMPARE(sets.at(1).payload, QByteArray(1, '\1'));
        QVERIFY(c.unit.system().allMute);
    }

    // Each strip reads top down: title, mute, gate lamp, meters.
    void stripOrder()
    {
        Link link;
        QOverView o(&link);
        o.resize(900, 200);
        o.show();
        QVERIFY(QTest::qWaitForWindowExposed(&o));
        auto top = [&o](QWidget *widget) { return widget->mapTo(&o, QPoint(0, 0)).y(); };
        for (int i = 0; i < QOverView::Inputs; ++i) {
            QLabel *title = o.inMuteButton(i)->parentWidget()->findChild<QLabel *>(QStringLiteral("titleLabel"));
            QVERIFY(title);
            QVERIFY(top(title) < top(o.inMuteButton(i)));
            QVERIFY(top(o.inMuteButton(i)) < top(o.gateLamp(i)));
            QVERIFY(top(o.gateLamp(i)) < top(o.inLevelMeter(i)));
        }
        QCOMPARE(top(o.outMuteButton(0)), top(o.inMuteButton(0)));
        QCOMPARE(top(o.outLevelMeter(7)), top(o.inLevelMeter(0)));
    }

    void gateLamp()
    {
        Link link;
        QOverView o(&link);
        const QString off = QStringLiteral("border-radius:5px;padding:2px 4px;background-color:#707070");
        const QString on = QStringLiteral("border-radius:5px;padding:2px 4px;background-color:#00FF00");
        QCOMPARE(o.gateLamp(2)->styleSheet(), off);
        o.setGateState(2, true);
        QCOMPARE(o.gateLamp(2)->styleSheet(), on);
        QCOMPARE(o.gateLamp(1)->styleSheet(), off);
        o.setGateState(2, false);
        QCOMPARE(o.gateLamp(2)->styleSheet(), off);
    }

    void stateLabel_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("style");
        QTest::newRow("unit without password") << "" << "Connected" << "color: rgb(167,167,167);";
        QTest::newRow("TCP up but not logged in") << "secret" << "Unconnected" << "color: rgb(255,0,0);";
    }
    void stateLabel()
    {
        QFETCH(QString, password);
        QFETCH(QString, state);
        QFETCH(QString, style);
        Connected c(password);
        QCOMPARE(c.overview.stateLabel()->text(), QStringLiteral("Unconnected"));
        QVERIFY(c.connect());
        // Give the login report time to arrive in both cases.
        QTest::qWait(100);
        QCOMPARE(c.overview.stateLabel()->text(), state);
        QCOMPARE(c.overview.stateLabel()->styleSheet(), style);
    }

    void texts()
    {
        Link link;
        QOverView o(&link);
        o.setIPAddrState(0xC0A8010Au);
        o.setDspRes(23.46f, 100.0f);
        o.setModel(QStringLiteral("A very long model name indeed"));
        QCOMPARE(o.ipLabel()->text(), QStringLiteral("192.168.1.10"));
        QCOMPARE(o.dspLoadLabel()->text(), QStringLiteral("23.5%-100.0%"));
        QCOMPARE(o.modelLabel()->toolTip(), QStringLiteral("A very long model name indeed"));
        QCOMPARE(o.versionTitle()->text(), QStringLiteral("V3.1.30"));
    }

    void linkLostReset()
    {
        Link link;
        QOverView o(&link);
        o.setInMeter(0, -3);
        o.setOutMeter(7, 2);
        o.setInCompMeter(2, 9);
        o.setOutCompMeter(3, 4);
        o.setDspRes(10.0f, 20.0f);
        o.setAllMute(true);
        o.setGateState(1, true);
        o.setModel(QStringLiteral("OVX-480"));
        o.setArmVer(QStringLiteral("V1.2.3"));
        o.reset();
        QCOMPARE(o.inLevelLabel(0)->text(), QStringLiteral("-60"));
        QCOMPARE(o.outLevelLabel(7)->text(), QStringLiteral("-60"));
        QCOMPARE(o.inLevelMeter(0)->value(), -60);
        QCOMPARE(o.inCompLabel(2)->text(), QStringLiteral("0"));
        QCOMPARE(o.outCompLabel(3)->text(), QStringLiteral("0"));
        QCOMPARE(o.gateLamp(1)->styleSheet(), o.gateLamp(0)->styleSheet());
        QCOMPARE(o.dspLoadLabel()->text(), QString());
        QVERIFY(!o.allMute());
        QVERIFY(!o.allMuteButton()->isChecked());
        QCOMPARE(o.modelLabel()->text(), QStringLiteral("OVX-480"));
        QCOMPARE(o.armVersionLabel()->text(), QStringLiteral("V1.2.3"));
        // With the wider floor the reset value shows as it is.
        o.CtrlNClicked();
        QCOMPARE(o.inLevelLabel(0)->text(), QStringLiteral("-100"));
    }

    // The strip's mutes in screen order, the all-mute between inputs and
    // outputs; the abbreviated info titles are spelled out in tool tips.
    void tabStopsFollowTheLayout_data()
    {
        QTest::addColumn<QStringList>("expected"); // a run of stops, from its first name on
        QTest::newRow("inputs") << nameList({"IN A mute", "IN B mute", "IN C mute", "IN D mute", "Mute all"});
        QTest::newRow("outputs") << nameList({"Mute all", "OUT 1 mute", "OUT 2 mute", "OUT 3 mute", "OUT 4 mute",
                                              "OUT 5 mute", "OUT 6 mute", "OUT 7 mute", "OUT 8 mute"});
    }
    void tabStopsFollowTheLayout()
    {
        QFETCH(QStringList, expected);
        Link link;
        QOverView o(&link);
        const QStringList names = tabStopNames(&o);
        const int from = names.indexOf(expected.first());
        QVERIFY2(from >= 0, qPrintable(names.join(QLatin1String(" | "))));
        QCOMPARE(names.mid(from, expected.size()), expected);
        QStringList tips;
        for (QLabel *label : o.findChildren<QLabel *>()) {
            if (label->text() == QLatin1String("Loca :") || label->text() == QLatin1String("Desc :"))
                tips << label->toolTip();
        }
        tips.sort();
        QCOMPARE(tips, QStringList({QStringLiteral("Description"), QStringLiteral("Location")}));
    }
};

QTEST_MAIN(TestOverview)
#include "tst_overview.moc"
