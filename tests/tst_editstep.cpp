// The pieces of the edit history that need no window: the frame that takes
// a parameter to the unit (bytes written out from the protocol tables), the
// names and merging of steps, and the check that a step still holds.

#include <QtTest>

#include "core/state/editstep.h"
#include "core/state/parametercatalog.h"
#include "core/state/pathframes.h"

class TestEditStep : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void frames_data();
    void frames();
    void oneFramePerRecord();
    void names_data();
    void names();
    void continuation_data();
    void continuation();
    void conflicts();
};

void TestEditStep::frames_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("frame"); // class, module, param, payload; empty: no frame

    QTest::newRow("input gain") << "in.A.gain_db" << "-6" << QByteArray("\x03\x01\x03\x00\x00\x00\xc0\xc0", 8);
    QTest::newRow("output mute") << "out.3.mute" << "on" << QByteArray("\x03\x09\x02\x02\x01", 5);
    QTest::newRow("output group") << "out.2.group" << "3" << QByteArray("\x03\x09\x05\x01\x03", 5);
    QTest::newRow("feedback") << "in.D.feedback.enable" << "on" << QByteArray("\x03\x03\x01\x03\x01", 5);
    QTest::newRow("matrix gain") << "matrix.out.2.in.C.gain_db" << "-6"
                                 << QByteArray("\x03\x07\x02\x01\x02\xfa", 6);
    QTest::newRow("matrix enable") << "matrix.out.8.in.A.enable" << "on"
                                   << QByteArray("\x03\x07\x01\x07\x00\x01", 6);
    QTest::newRow("generator frequency") << "generator.freq_hz" << "1000"
                                         << QByteArray("\x03\x08\x02\x00\x00\x7a\x44", 7);
    QTest::newRow("generator output") << "generator.out.4.enable" << "on" << QByteArray("\x03\x08\x01\x03\x01", 5);
    QTest::newRow("output delay") << "out.1.delay_ms" << "2" << QByteArray("\x03\x0c\x01\x00\x00\x00\x00\x40", 8);
    QTest::newRow("input label") << "in.B.label" << "Vox" << QByteArray("\x02\x03\x01\x01Vox", 7);
    QTest::newRow("location") << "unit.location" << "Hall" << QByteArray("\x02\x02\x0aHall", 7);
    QTest::newRow("all mute") << "unit.all_mute" << "on" << QByteArray("\x02\x02\x0f\x01", 4);
    QTest::newRow("lock: none") << "in.A.lock.level" << "read-only" << QByteArray();
    QTest::newRow("panel lock: none") << "unit.panel_lock" << "on" << QByteArray();
}

void TestEditStep::frames()
{
    QFETCH(QString, path);
    QFETCH(QString, value);
    QFETCH(QByteArray, frame);
    UnitState state;
    QVERIFY(ParameterCatalog::setFromText(state, path, value).ok());
    const std::optional<PathFrame> made = PathFrames::frameFor(state, path);
    QCOMPARE(made.has_value(), !frame.isEmpty());
    if (!made)
        return;
    const QByteArray bytes = QByteArray(1, char(made->cls)) + char(made->module) + char(made->param) + made->payload;
    QCOMPARE(bytes.toHex(' '), frame.toHex(' '));
    QVERIFY(PathFrames::carries(made->cls, made->module, path));
    QVERIFY(!PathFrames::carries(made->cls, quint8(made->module + 1), path));
}

void TestEditStep::oneFramePerRecord()
{
    UnitState state;
    const QStringList paths{QStringLiteral("out.2.limiter.threshold_db"), QStringLiteral("out.2.limiter.ratio"),
                            QStringLiteral("in.A.gate.enable"), QStringLiteral("in.A.lock.gate"),
                            QStringLiteral("out.2.peq.3.q"), QStringLiteral("out.2.peq.4.q")};
    QStringList skipped;
    const QVector<PathFrame> frames = PathFrames::framesFor(state, paths, &skipped);
    QCOMPARE(frames.size(), 4); // the limiter once, the gate, two bands
    QCOMPARE(skipped, QStringList{QStringLiteral("in.A.lock.gate")});
    QCOMPARE(frames.at(0).payload.size(), 1 + 17);
    QCOMPARE(frames.at(2).payload.left(2), QByteArray("\x01\x02", 2));
}

void TestEditStep::names_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("summary");
    QTest::newRow("gain") << "out.3.gain_db" << "-6" << "OUT 3 gain -6.0 dB";
    QTest::newRow("band") << "in.A.peq.2.freq_hz" << "2500" << "IN A PEQ 2 freq 2500 Hz";
    QTest::newRow("matrix") << "matrix.out.2.in.C.enable" << "on" << "matrix OUT 2 IN C enable on";
    QTest::newRow("generator") << "generator.source" << "pinknoise" << "generator source pinknoise";
}

void TestEditStep::names()
{
    QFETCH(QString, path);
    QFETCH(QString, after);
    QFETCH(QString, summary);
    UnitState before;
    UnitState changed;
    QVERIFY(ParameterCatalog::setFromText(changed, path, after).ok());
    const EditStep step{QDateTime::currentDateTimeUtc(), StateDiff::between(before, changed)};
    QCOMPARE(step.changes.size(), 1);
    QCOMPARE(step.summary(), summary);
    QVERIFY(step.historyLine().contains(QStringLiteral(" -> ")));
}

void TestEditStep::continuation_data()
{
    QTest::addColumn<QString>("nextPath");
    QTest::addColumn<int>("afterMs");
    QTest::addColumn<bool>("continued");
    QTest::newRow("same fader, soon") << "out.1.gain_db" << 100 << true;
    QTest::newRow("same fader, much later") << "out.1.gain_db" << 5000 << false;
    QTest::newRow("other fader") << "out.2.gain_db" << 100 << false;
}

void TestEditStep::continuation()
{
    QFETCH(QString, nextPath);
    QFETCH(int, afterMs);
    QFETCH(bool, continued);
    const QString path = QStringLiteral("out.1.gain_db");
    UnitState a;
    UnitState b = a;
    ParameterCatalog::set(b, path, -3.0);
    UnitState c = b;
    ParameterCatalog::set(c, nextPath, -9.0);
    const QDateTime t0 = QDateTime::currentDateTimeUtc();
    EditStep first{t0, StateDiff::between(a, b)};
    const EditStep next{t0.addMSecs(afterMs), StateDiff::between(b, c)};
    QCOMPARE(first.continuedBy(next, 1500), continued);
    if (!continued)
        return;
    first.absorb(next);
    // One step from where the gesture began to where it ended.
    QCOMPARE(first.values(true).first().value.toDouble(), 0.0);
    QCOMPARE(first.values(false).first().value.toDouble(), -9.0);
}

void TestEditStep::conflicts()
{
    UnitState before;
    UnitState after = before;
    ParameterCatalog::set(after, QStringLiteral("out.3.gain_db"), -6.0);
    ParameterCatalog::set(after, QStringLiteral("out.3.mute"), true);
    const EditStep step{QDateTime::currentDateTimeUtc(), StateDiff::between(before, after)};
    QCOMPARE(step.conflicts(after, true), QStringList());
    QCOMPARE(step.conflicts(before, false), QStringList());
    UnitState elsewhere = after;
    ParameterCatalog::set(elsewhere, QStringLiteral("out.3.gain_db"), -20.0);
    QCOMPARE(step.conflicts(elsewhere, true), QStringList{QStringLiteral("out.3.gain_db")});
    QCOMPARE(step.conflicts(elsewhere, false).size(), 2);
}

QTEST_GUILESS_MAIN(TestEditStep)
#include "tst_editstep.moc"
