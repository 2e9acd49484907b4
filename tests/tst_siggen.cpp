// The signal generator page: global params without a channel byte, the
// sine's 1000 Hz, entries, the fader's debounce and the lock poll.

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "routingrig.h"
#include "tabchain.h"
#include "ui/controls/qfader.h"
#include "ui/modules/qsiggenerator.h"

class TestSigGenerator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sourceChoice_data()
    {
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QStringList>("sent");
        QTest::newRow("Sine at 440 Hz") << 1
                                        << QStringList{frameText(8, 2, 1, QByteArray::fromHex("00007a44")),
                                                       frameText(8, 3, 1, QByteArray::fromHex("01"))};
        QTest::newRow("PinkNoise") << 0 << QStringList{frameText(8, 3, 1, QByteArray::fromHex("00"))};
        QTest::newRow("WhiteNoise") << 2 << QStringList{frameText(8, 3, 1, QByteArray::fromHex("02"))};
    }
    void sourceChoice()
    {
        QFETCH(int, chosen);
        QFETCH(QStringList, sent);
        PageRig<QSigGenerator> rig;
        QVERIFY(rig.connect());
        rig.report(2, QByteArray::fromHex("0000dc43")); // 440 Hz
        rig.report(3, QByteArray::fromHex(chosen == 2 ? "00" : "02"));
        QCOMPARE(rig.page.frequencyEdit()->text(), QStringLiteral("440"));
        QCOMPARE(rig.sets(), QStringList());

        rig.page.sourceBox()->setCurrentIndex(chosen);
        QCOMPARE(rig.sets(), sent);
        QCOMPARE(rig.page.frequencyEdit()->text(), chosen == 1 ? QStringLiteral("1000") : QStringLiteral("440"));
        QCOMPARE(int(rig.page.record().source), chosen);
    }

    void sineAtThousandSendsOnlyTheSource()
    {
        PageRig<QSigGenerator> rig;
        QVERIFY(rig.connect());
        rig.report(3, QByteArray::fromHex("00"));
        rig.page.sourceBox()->setCurrentIndex(1);
        QCOMPARE(rig.sets(), QStringList{frameText(8, 3, 1, QByteArray::fromHex("01"))});
    }

    void frequencyEntry_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArray>("payload");
        QTest::newRow("1000.5 rounds to 1001") << "1000.5" << "1001" << QByteArray::fromHex("00407a44");
        QTest::newRow("440") << "440" << "440" << QByteArray::fromHex("0000dc43");
        QTest::newRow("below the audio band") << "5" << "20" << QByteArray::fromHex("0000a041");
        QTest::newRow("above it") << "99999" << "20000" << QByteArray::fromHex("00409c46");
    }
    void frequencyEntry()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QByteArray, payload);
        PageRig<QSigGenerator> rig;
        QVERIFY(rig.connect());
        typeAndReturn(rig.page.frequencyEdit(), typed);
        QCOMPARE(rig.page.frequencyEdit()->text(), shown);
        QCOMPARE(QString::number(rig.page.record().frequency), shown);
        QCOMPARE(rig.sets(), QStringList{frameText(8, 2, 1, payload)});
    }

    // With no knob, the frequency field steps like a frequency knob: 1/24
    // octave a key or notch, Shift a tenth, Ctrl ten times, at least 1 Hz.
    void frequencySteps_data()
    {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<int>("key"); // 0: a wheel notch up
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArray>("payload");
        const QByteArray kHz = QByteArray::fromHex("00007a44");
        QTest::newRow("up") << kHz << int(Qt::Key_Up) << int(Qt::NoModifier) << "1029"
                            << QByteArray::fromHex("00a08044");
        QTest::newRow("wheel") << kHz << 0 << int(Qt::NoModifier) << "1029" << QByteArray::fromHex("00a08044");
        QTest::newRow("Shift up") << kHz << int(Qt::Key_Up) << int(Qt::ShiftModifier) << "1003"
                                  << QByteArray::fromHex("00c07a44");
        QTest::newRow("Ctrl down") << kHz << int(Qt::Key_Down) << int(Qt::ControlModifier) << "749"
                                   << QByteArray::fromHex("00403b44");
        QTest::newRow("up from 20 Hz") << QByteArray::fromHex("0000a041") << int(Qt::Key_Up) << int(Qt::NoModifier)
                                       << "21" << QByteArray::fromHex("0000a841");
    }
    void frequencySteps()
    {
        QFETCH(QByteArray, start);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, shown);
        QFETCH(QByteArray, payload);
        PageRig<QSigGenerator> rig;
        QVERIFY(rig.connect());
        rig.report(2, start);
        QLineEdit *edit = rig.page.frequencyEdit();
        rig.page.show();
        rig.page.activateWindow();
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus()); // the wheel steps only a field in use
        if (key) {
            QTest::keyClick(edit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        } else {
            const QPointF centre = edit->rect().center();
            QWheelEvent wheel(centre, edit->mapToGlobal(centre.toPoint()), QPoint(), QPoint(0, 120), Qt::NoButton,
                              Qt::KeyboardModifiers(modifiers), Qt::NoScrollPhase, false);
            QApplication::sendEvent(edit, &wheel);
        }
        QCOMPARE(edit->text(), shown);
        QCOMPARE(rig.sets(), QStringList{frameText(8, 2, 1, payload)});
    }

    void gainEntry_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("inField"); // after typing, before Return
        QTest::addColumn<QStringList>("sent");
        QTest::newRow("-12") << "-12" << "-12" << QStringList{frameText(8, 4, 1, QByteArray::fromHex("000040c1"))};
        QTest::newRow("-75 pulled in") << "-75" << "-75" << QStringList{frameText(8, 4, 1, QByteArray::fromHex("00008cc2"))};
        QTest::newRow("13 pulled in") << "13" << "13" << QStringList{frameText(8, 4, 1, QByteArray::fromHex("00004041"))};
        QTest::newRow("5.5 rounds") << "5.5" << "5.5" << QStringList{frameText(8, 4, 1, QByteArray::fromHex("0000c040"))};
    }
    void gainEntry()
    {
        QFETCH(QString, typed);
        QFETCH(QString, inField);
        QFETCH(QStringList, sent);
        PageRig<QSigGenerator> rig;
        QVERIFY(rig.connect());
        QLineEdit *edit = rig.page.gainEdit();
        edit->clear();
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), inField);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(rig.sets(), sent);
        QCOMPARE(rig.page.gainFader()->value(), int(rig.page.record().gain));
    }

    void faderIsDebouncedAndHoldsOffGainReplies()
    {
        PageRig<QSigGenerator> rig;
        QVERIFY(rig.connect());
        QFader *fader = rig.page.gainFader();
        const QPoint handle = fader->handleRect().center().toPoint();
        dragMouse(fader, handle, handle + QPoint(0, 30));
        const int dB = fader->value();
        QVERIFY(dB < -30);
        QCOMPARE(rig.page.gainEdit()->text(), QString::number(dB));
        rig.report(4, QByteArray::fromHex("00000000")); // 0 dB, ignored while busy
        QCOMPARE(fader->value(), dB);
        rig.report(5, QByteArray::fromHex("01"));       // mute is not held off
        QVERIFY(rig.page.muteButton()->isChecked());
        rig.tick(4);
        QCOMPARE(rig.sets(), QStringList());
        rig.tick(1);
        QCOMPARE(rig.sets(), QStringList{frameText(8, 4, 1, f32(float(dB)))});
        rig.tick(5);
        rig.report(4, QByteArray::fromHex("00000000"));
        QCOMPARE(fader->value(), 0);
        QCOMPARE(rig.page.gainEdit()->text(), QStringLiteral("0"));
        QCOMPARE(rig.sets(), QStringList());
    }

    void routingAndMute()
    {
        PageRig<QSigGenerator> rig;
        QVERIFY(rig.connect());
        QTest::mouseClick(rig.page.outputButton(4), Qt::LeftButton);
        QTest::mouseClick(rig.page.muteButton(), Qt::LeftButton);
        QCOMPARE(rig.sets(), (QStringList{frameText(8, 1, 1, QByteArray::fromHex("0401")),
                                          frameText(8, 5, 1, QByteArray::fromHex("01"))}));
        rig.report(1, QByteArray::fromHex("0701"));
        QVERIFY(rig.page.outputButton(7)->isChecked());
        rig.report(1, QByteArray::fromHex("0801"));
        rig.report(3, QByteArray::fromHex("03"));
        rig.report(2, QByteArray::fromHex("0000c07f")); // NaN
        QCOMPARE(rig.page.sourceBox()->currentIndex(), 1);
        QCOMPARE(rig.page.frequencyEdit()->text(), QStringLiteral("1000"));
        rig.report(2, QByteArray::fromHex("66569a44")); // 1234.7 -> 1234
        QCOMPARE(rig.page.frequencyEdit()->text(), QStringLiteral("1234"));
        QCOMPARE(rig.sets(), QStringList());
    }

    void lockIsPolledEvenWhileHidden()
    {
        PageRig<QSigGenerator> rig;
        QVERIFY(rig.connect());
        rig.tick(9);
        QCOMPARE(rig.sent().size(), 0);
        rig.tick(1);
        QCOMPARE(describeFrames(rig.sent()), QStringLiteral("2/5/10/0:"));
        rig.page.show();
        rig.tick(10);
        QCOMPARE(describeFrames(rig.sent()),
                 QStringLiteral("2/5/10/0: 3/8/1/0:00 3/8/1/0:01 3/8/1/0:02 3/8/1/0:03 3/8/1/0:04 3/8/1/0:05 "
                                "3/8/1/0:06 3/8/1/0:07 3/8/2/0: 3/8/3/0: 3/8/5/0: 3/8/4/0:"));
    }

    void lockActsOnOutputButtons()
    {
        PageRig<QSigGenerator> rig;
        rig.page.show();
        rig.page.setSecurityState(6, 1);
        QVERIFY(!rig.page.outputButton(6)->isEnabled());
        rig.page.setSecurityState(6, 2);
        QVERIFY(!rig.page.outputButton(6)->isVisible());
        QVERIFY(rig.page.outputButton(5)->isVisible());
    }

    // Tab goes down the generator column, then along the output buttons row
    // by row; a labelled output keeps its fixed name.
    void tabStopsFollowTheLayout_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("generator") << 0
                                   << nameList({"Generator signal", "Generator frequency in Hz",
                                                "Generator gain in dB", "Generator gain fader", "Generator mute",
                                                "Test signal to OUT 1"});
        QTest::newRow("outputs") << 5
                                 << nameList({"Test signal to OUT 1", "Test signal to OUT 2", "Test signal to OUT 3",
                                              "Test signal to OUT 4", "Test signal to OUT 5", "Test signal to OUT 6",
                                              "Test signal to OUT 7", "Test signal to OUT 8"});
    }
    void tabStopsFollowTheLayout()
    {
        QFETCH(int, from);
        QFETCH(QStringList, expected);
        PageRig<QSigGenerator> rig;
        rig.page.setOutLabel(0, QStringLiteral("Sub"));
        const QStringList names = tabStopNames(&rig.page);
        QCOMPARE(names.mid(from, expected.size()), expected);
        QCOMPARE(names.size(), 5 + QSigGenerator::OutputCount);
        QCOMPARE(rig.page.outputButton(0)->text(), QStringLiteral("Sub"));
    }
};

QTEST_MAIN(TestSigGenerator)
#include "tst_siggen.moc"
