// The security page: lock grid, overlay, polling, and the lock signals that
// reach every function page.

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "core/link/link.h"
#include "routingrig.h"
#include "securitymodule.h"
#include "testsupport.h"
#include "ui/modules/qgate.h"
#include "ui/pages/funcwidget.h"
#include "ui/pages/qlock.h"
#include "ui/pages/qsecurity.h"

namespace {

using SecurityRig = PageRig<QSecurity>;

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

void report(FuncWidget &f, quint8 param, const QByteArray &payload, quint8 op = 0x80)
{
    f.onSystemModuleMessage(5, param, op, quint16(payload.size()),
                            reinterpret_cast<const uchar *>(payload.constData()));
}

QStringList describe(const QList<UnitFrame> &frames)
{
    return describeFrames(frames).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

class TestSecurity : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void gateLockReachesTheGatePage()
    {
        Link link;
        ScriptedPrompt prompt;
        FuncWidget f(&link, &prompt);
        report(f, 4, bytes({0, 1, 2, 0}));
        QGate *gate = f.gate();
        QCOMPARE(gate->securityState(0), uchar(0));
        QCOMPARE(gate->securityState(1), uchar(1));
        QCOMPARE(gate->securityState(2), uchar(2));
        QCOMPARE(gate->securityState(3), uchar(0));
        QVERIFY(!gate->enableButton(0)->isHidden() && gate->enableButton(0)->isEnabled());
        QVERIFY(!gate->enableButton(1)->isHidden() && !gate->enableButton(1)->isEnabled());
        QVERIFY(gate->enableButton(2)->isHidden());
        QVERIFY(!gate->enableButton(3)->isHidden() && gate->enableButton(3)->isEnabled());
        QCOMPARE(f.security()->cell(4, 1)->state(), uchar(1));

        // Reports of the wrong length or op change nothing.
        report(f, 4, bytes({2, 2, 2}));
        report(f, 4, bytes({2, 2, 2, 2, 2, 2, 2, 2}));
        report(f, 4, bytes({2, 2, 2, 2}), 0);
        QCOMPARE(gate->securityState(0), uchar(0));
    }

    void everyPageGetsItsLocks_data()
    {
        QTest::addColumn<int>("param");
        QTest::addColumn<int>("channels");
        QTest::addColumn<QString>("page");
        QTest::newRow("input level") << 3 << 4 << QStringLiteral("inLevel");
        QTest::newRow("feedback") << 5 << 4 << QStringLiteral("feedback");
        QTest::newRow("input limiter") << 7 << 4 << QStringLiteral("inLimiter");
        QTest::newRow("input delay") << 8 << 4 << QStringLiteral("inDelay");
        QTest::newRow("matrix") << 9 << 8 << QStringLiteral("mixer");
        QTest::newRow("signal generator") << 10 << 8 << QStringLiteral("sigGenerator");
        QTest::newRow("output level") << 11 << 8 << QStringLiteral("outLevel");
        QTest::newRow("output limiter") << 13 << 8 << QStringLiteral("outLimiter");
        QTest::newRow("output delay") << 14 << 8 << QStringLiteral("outDelay");
        QTest::newRow("dynamic EQ") << 16 << 4 << QStringLiteral("deq");
        QTest::newRow("FIR") << 17 << 8 << QStringLiteral("fir");
    }
    void everyPageGetsItsLocks()
    {
        QFETCH(int, param);
        QFETCH(int, channels);
        QFETCH(QString, page);
        Link link;
        ScriptedPrompt prompt;
        FuncWidget f(&link, &prompt);
        const QHash<QString, ModulePage *> pages{
            {QStringLiteral("inLevel"), f.pageForModule(1)},     {QStringLiteral("feedback"), f.pageForModule(3)},
            {QStringLiteral("inLimiter"), f.pageForModule(5)},   {QStringLiteral("inDelay"), f.pageForModule(6)},
            {QStringLiteral("mixer"), f.pageForModule(7)},       {QStringLiteral("sigGenerator"), f.pageForModule(8)},
            {QStringLiteral("outLevel"), f.pageForModule(9)},    {QStringLiteral("outLimiter"), f.pageForModule(11)},
            {QStringLiteral("outDelay"), f.pageForModule(12)},   {QStringLiteral("deq"), f.pageForModule(16)},
            {QStringLiteral("fir"), f.pageForModule(17)},
        };
        ModulePage *target = pages.value(page);
        QVERIFY(target);
        QByteArray states(channels, '\0');
        for (int ch = 0; ch < channels; ++ch)
            states[ch] = char(ch % 3);
        report(f, quint8(param), states);
        for (int ch = 0; ch < channels; ++ch)
            QCOMPARE(int(target->securityState(uchar(ch))), ch % 3);
    }

    void filterLocksSignalTheEntry()
    {
        Link link;
        QSecurity page(&link);
        QSignalSpy graph(&page, &QSecurity::outFilterGraphLockChanged);
        QSignalSpy band(&page, &QSecurity::outFilterBandLockChanged);
        QSignalSpy inBand(&page, &QSecurity::inFilterBandLockChanged);
        QByteArray record(20, '\0');
        record[0] = 5;      // output 6
        record[1] = 1;      // graph read-only
        record[1 + 3 + 15] = 2; // band 16 hidden
        const auto deliver = [&](const QByteArray &r) {
            page.onMessage(12, 0x80, quint16(r.size()), reinterpret_cast<const uchar *>(r.constData()));
        };
        deliver(record);
        QCOMPARE(graph.size(), 1);
        QCOMPARE(graph.at(0).at(0).toInt(), 5);
        QCOMPARE(band.size(), 1);
        QCOMPARE(band.at(0).at(0).toInt(), 5);
        QCOMPARE(band.at(0).at(1).toInt(), 15);
        QCOMPARE(page.filterLockState(12, 5, 18), uchar(2));
        QCOMPARE(page.filterCell(12, 5, 0)->state(), uchar(1));
        deliver(record); // unchanged: no signal
        QCOMPARE(graph.size(), 1);
        record[0] = 8; // no output 9
        deliver(record);
        deliver(record.left(19));
        QCOMPARE(band.size(), 1);
        QVERIFY(inBand.isEmpty());
    }

    void clickSendsTheNextState_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("next");
        QTest::newRow("Free") << 0 << 1;
        QTest::newRow("Read-only") << 1 << 2;
        QTest::newRow("Hidden") << 2 << 0;
        QTest::newRow("other value, shown as Hidden") << 7 << 0;
    }
    void clickSendsTheNextState()
    {
        QFETCH(int, state);
        QFETCH(int, next);
        SecurityRig rig;
        QVERIFY(rig.connect());
        rig.report(1, bytes({0}));
        rig.report(4, bytes({0, 0, state, 0}));
        QCOMPARE(rig.page.cell(4, 2)->stateName(rig.page.cell(4, 2)->state()),
                 state == 0 ? QStringLiteral("Free") : state == 1 ? QStringLiteral("Read-only") : QStringLiteral("Hidden"));
        rig.page.show();
        QTest::mouseClick(rig.page.cell(4, 2), Qt::LeftButton);
        QCOMPARE(describe(rig.sent()), QStringList{QStringLiteral("2/5/4/1:02%1").arg(next, 2, 16, QLatin1Char('0'))});
        // The cell shows the unit's state, not the one asked for.
        QCOMPARE(int(rig.page.cell(4, 2)->state()), state);

        // A filter entry sends the whole 19-entry record with that one changed.
        QByteArray record(20, '\0');
        record[0] = 1;
        record[1 + 4] = char(state); // band 2 of input B
        record[1 + 18] = 1;
        rig.report(6, record);
        QTest::mouseClick(rig.page.filterCell(6, 1, 4), Qt::LeftButton);
        QByteArray expected = record;
        expected[1 + 4] = char(next);
        QCOMPARE(describe(rig.sent()), QStringList{QStringLiteral("2/5/6/1:") + QString::fromLatin1(expected.toHex())});
    }

    void lockedPageAndPassword()
    {
        SecurityRig rig;
        QVERIFY(rig.connect());
        rig.page.show();
        QVERIFY(rig.page.isLocked());
        QVERIFY(rig.page.overlay()->isVisible());
        QVERIFY(!rig.page.grid()->isEnabled());
        QTest::mouseClick(rig.page.cell(3, 0), Qt::LeftButton);
        QVERIFY(rig.sent().isEmpty());

        QTest::keyClicks(rig.page.passwordEdit(), QStringLiteral("1234567890"));
        QTest::keyClick(rig.page.passwordEdit(), Qt::Key_Return);
        QCOMPARE(describe(rig.sent()), QStringList{QStringLiteral("2/5/1/1:") + QString::fromLatin1(QByteArray("12345678").toHex())});
        QVERIFY(rig.page.passwordEdit()->text().isEmpty());

        rig.report(1, bytes({0}));
        QVERIFY(!rig.page.overlay()->isVisible());
        QVERIFY(rig.page.grid()->isEnabled());
        QTest::mouseClick(rig.page.quitButton(), Qt::LeftButton);
        QCOMPARE(describe(rig.sent()), QStringList{QStringLiteral("2/5/1/1:aabb")});
        rig.report(1, bytes({1}));
        QVERIFY(rig.page.overlay()->isVisible());
    }

    void pollingOrder()
    {
        SecurityRig rig;
        QVERIFY(rig.connect());
        rig.tick(10);
        QVERIFY(rig.sent().isEmpty()); // hidden: no polling
        rig.page.show();
        rig.tick(9);
        QVERIFY(rig.sent().isEmpty());
        rig.tick();
        QStringList expected;
        const auto query = [&](int param, const QString &payload = QString()) {
            expected << QStringLiteral("2/5/%1/0:%2").arg(param).arg(payload);
        };
        query(1);
        query(3);
        query(4);
        query(5);
        for (int ch = 0; ch < 4; ++ch)
            query(6, QStringLiteral("0%1").arg(ch));
        query(16);
        query(7);
        query(8);
        query(9);
        query(10);
        query(11);
        for (int ch = 0; ch < 8; ++ch)
            query(12, QStringLiteral("0%1").arg(ch));
        query(17);
        query(13);
        query(14);
        QCOMPARE(describe(rig.sent()), expected);
    }

    void familyRows()
    {
        Link link;
        ScriptedPrompt prompt;
        FuncWidget f(&link, &prompt);
        QSecurity *page = f.security();
        const auto familyReport = [&](quint8 major) {
            const uchar version[3] = {major, 0, 0};
            f.onSystemModuleMessage(2, 2, 0x80, 3, version);
        };
        for (quint8 major : {quint8(1), quint8(2), quint8(1)}) {
            familyReport(major);
            for (quint8 param : {quint8(8), quint8(16), quint8(17)})
                QCOMPARE(page->isRowShown(param), major == 1);
            QVERIFY(page->isRowShown(4));
            QVERIFY(page->isRowShown(14));
        }
    }

    // Against the virtual unit: the page opens with the lock password, a
    // click changes the unit's table, and the unit's report updates the grid.
    void unlockAndSetALockOnTheUnit()
    {
        SecurityRig rig;
        QObject::connect(&rig.link, &Link::systemMessage, &rig.page,
                         [&rig](quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload) {
                             if (module == 5)
                                 rig.page.onMessage(param, op, length, payload);
                         });
        QVERIFY(rig.connect());
        SecurityModule *unitLocks = rig.unit.findModule<SecurityModule>();
        rig.page.show();
        QTest::keyClicks(rig.page.passwordEdit(), QStringLiteral("wrong"));
        QTest::keyClick(rig.page.passwordEdit(), Qt::Key_Return);
        rig.sent();
        QVERIFY(rig.page.isLocked());
        QTest::keyClicks(rig.page.passwordEdit(), QString::fromLatin1(unitLocks->lockPassword));
        QTest::keyClick(rig.page.passwordEdit(), Qt::Key_Return);
        QVERIFY(waitUntil([&] { return !rig.page.isLocked(); }));

        QTest::mouseClick(rig.page.cell(13, 7), Qt::LeftButton);
        QVERIFY(waitUntil([&] { return rig.page.cell(13, 7)->state() == 1; }));
        QCOMPARE(unitLocks->pageLocks(13), bytes({0, 0, 0, 0, 0, 0, 0, 1}));
        QTest::mouseClick(rig.page.filterCell(12, 2, 1), Qt::LeftButton);
        QVERIFY(waitUntil([&] { return rig.page.filterLockState(12, 2, 1) == 1; }));
        QCOMPARE(unitLocks->filterLocks(12, 2).at(1), char(1));

        QTest::mouseClick(rig.page.quitButton(), Qt::LeftButton);
        QVERIFY(waitUntil([&] { return rig.page.isLocked(); }));
        // Closed again: the unit refuses changes.
        rig.link.sendFrame(2, 5, 13, 1, "\x07\x02", 2);
        rig.sent();
        QCOMPARE(unitLocks->pageLocks(13).at(7), char(1));
    }
};

QTEST_MAIN(TestSecurity)
#include "tst_security.moc"
