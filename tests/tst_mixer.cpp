// The matrix mixer page: choosing the current output, switching cross-points
// only by double click, entries, faders, "All Mix" / "Reset" and replies.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "routingrig.h"
#include "tabchain.h"
#include "ui/controls/qfader.h"
#include "ui/modules/qmixbutton.h"
#include "ui/modules/qmixer.h"
#include "ui/modules/qmixrect.h"

namespace {

struct MixerRig : PageRig<QMixer>
{
    ScriptedPrompt prompt;

    MixerRig()
    {
        page.setPrompt(&prompt);
        page.show();
        QApplication::setActiveWindow(&page);
    }
};

const QString LitStyle = QStringLiteral("background: rgb(21, 148, 192);color: rgb(228, 236, 238);"
                                        "border: 1px solid rgb(60, 60, 60);border-radius: 2px;");
const QString DarkSelectedStyle = QStringLiteral("background-color: rgb(75, 74, 74);color: rgb(171, 171, 171);"
                                                 "border: 1px solid rgb(255, 0, 0);border-radius:2px;");

} // namespace

class TestMixer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void doubleClickMakesTheOutputCurrentThenToggles()
    {
        MixerRig rig;
        QVERIFY(QTest::qWaitForWindowActive(&rig.page));
        QVERIFY(rig.connect());
        QSignalSpy outputs(&rig.page, &QMixer::outputChanged);
        QMixButton *button = rig.page.mixButton(3, 1);
        // The output must already be current when the cross-point changes.
        bool currentWhenToggled = false;
        connect(button, &QMixButton::DoubleClick, this,
                [&](bool) { currentWhenToggled = rig.page.currentOutput() == 3; });

        QTest::mouseDClick(button, Qt::LeftButton);
        QVERIFY(currentWhenToggled);
        QCOMPARE(outputs.size(), 1);
        QCOMPARE(outputs.at(0).at(0).value<uchar>(), uchar(3));
        QVERIFY(button->isLit());
        QVERIFY(rig.page.output(3).enable[1]);
        QVERIFY(rig.page.enableButton(1)->isChecked());
        QVERIFY(rig.page.outputRow(3)->isCurrent());
        QVERIFY(!rig.page.outputRow(0)->isCurrent());
        QCOMPARE(rig.sets(), QStringList{frameText(7, 1, 1, QByteArray::fromHex("030101"))});

        QTest::mouseDClick(button, Qt::LeftButton);
        QVERIFY(!button->isLit());
        QCOMPARE(rig.sets(), QStringList{frameText(7, 1, 1, QByteArray::fromHex("030100"))});
    }

    void singleClickAndKeysNeverToggle()
    {
        MixerRig rig;
        QVERIFY(QTest::qWaitForWindowActive(&rig.page));
        QVERIFY(rig.connect());
        QSignalSpy outputs(&rig.page, &QMixer::outputChanged);
        QMixButton *button = rig.page.mixButton(5, 2);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(rig.page.currentOutput(), 5);
        QCOMPARE(outputs.size(), 1);
        QVERIFY(button->isSelected());
        QCOMPARE(button->styleSheet(), DarkSelectedStyle);
        QTest::keyClick(button, Qt::Key_Space);
        QTest::keyClick(button, Qt::Key_Return);
        QVERIFY(!button->isLit());
        QVERIFY(!rig.page.output(5).enable[2]);
        QCOMPARE(rig.sets(), QStringList());

        // Clicking the row of the current output still reports it.
        QTest::mouseClick(rig.page.outputRow(5), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QCOMPARE(outputs.size(), 2);
        QTest::mouseClick(rig.page.outputRow(6), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QCOMPARE(rig.page.currentOutput(), 6);
        QVERIFY(!button->isSelected());
    }

    void entriesAreClampedAndSentAtOnce_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArray>("payload");
        QTest::newRow("20 gives 12") << "20" << "12" << QByteArray::fromHex("00020c");
        QTest::newRow("-80 gives -70") << "-80" << "-70" << QByteArray::fromHex("0002ba");
        QTest::newRow("-6") << "-6" << "-6" << QByteArray::fromHex("0002fa");
        QTest::newRow("minus alone restores 0, sends nothing") << "-" << "0" << QByteArray();
    }
    void entriesAreClampedAndSentAtOnce()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QByteArray, payload);
        MixerRig rig;
        QVERIFY(rig.connect());
        typeAndReturn(rig.page.gainEdit(2), typed);
        QCOMPARE(rig.page.gainEdit(2)->text(), shown);
        QCOMPARE(rig.page.fader(2)->value(), shown.toInt());
        QCOMPARE(rig.page.mixButton(0, 2)->text(), shown + QStringLiteral("dB"));
        QCOMPARE(rig.sets(), payload.isEmpty() ? QStringList() : QStringList{frameText(7, 2, 1, payload)});
    }

    void allMixSendsRowsThenTheCurrentGainsSingly()
    {
        MixerRig rig;
        QVERIFY(rig.connect());
        QTest::mouseClick(rig.page.outputRow(2), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));

        rig.prompt.answers = {1}; // "Cancel"
        QTest::mouseClick(rig.page.allMixButton(), Qt::LeftButton);
        QCOMPARE(rig.prompt.asked.size(), 1);
        QCOMPARE(rig.prompt.asked.at(0).title, QStringLiteral("All Mix"));
        QCOMPARE(rig.prompt.asked.at(0).text, QStringLiteral("Enable all mixer and set their value to 0dB?"));
        QCOMPARE(rig.prompt.asked.at(0).buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("Cancel")}));
        rig.tick(10);
        QCOMPARE(rig.sets(), QStringList());
        QVERIFY(!rig.page.output(0).enable[0]);

        rig.prompt.answers = {0};
        QTest::mouseClick(rig.page.allMixButton(), Qt::LeftButton);
        QStringList expected;
        for (int o = 0; o < 8; ++o) {
            expected << frameText(7, 1, 1, QByteArray::fromHex(QByteArray::number(o).rightJustified(2, '0') + "0001020301"))
                     << frameText(7, 2, 1, QByteArray::fromHex(QByteArray::number(o).rightJustified(2, '0') + "0001020300"));
        }
        QCOMPARE(rig.sets(), expected);
        for (int o = 0; o < 8; ++o) {
            QVERIFY(rig.page.mixButton(o, 3)->isLit());
            QCOMPARE(rig.page.mixButton(o, 3)->text(), QStringLiteral("0dB"));
        }
        QCOMPARE(rig.page.mixButton(7, 0)->styleSheet(), LitStyle);
        QVERIFY(rig.page.enableButton(0)->isChecked());
        rig.tick(4);
        QCOMPARE(rig.sets(), QStringList());
        rig.tick(1);
        QCOMPARE(rig.sets(), (QStringList{frameText(7, 2, 1, QByteArray::fromHex("020000")),
                                          frameText(7, 2, 1, QByteArray::fromHex("020100")),
                                          frameText(7, 2, 1, QByteArray::fromHex("020200")),
                                          frameText(7, 2, 1, QByteArray::fromHex("020300"))}));

        rig.prompt.answers = {0};
        QTest::mouseClick(rig.page.resetButton(), Qt::LeftButton);
        QCOMPARE(rig.prompt.asked.last().title, QStringLiteral("Reset"));
        QCOMPARE(rig.prompt.asked.last().text, QStringLiteral("Disable all mixer and set their value to 0dB?"));
        const QStringList reset = rig.sets();
        QCOMPARE(reset.size(), 16);
        QCOMPARE(reset.first(), frameText(7, 1, 1, QByteArray::fromHex("000001020300")));
        QVERIFY(!rig.page.enableButton(0)->isChecked());
    }

    void faderIsDebouncedAndFlushedOnOutputChange()
    {
        MixerRig rig;
        QVERIFY(rig.connect());
        QFader *fader = rig.page.fader(1);
        const QPoint handle = fader->handleRect().center().toPoint();
        dragMouse(fader, handle, handle + QPoint(0, 40));
        const int gain = fader->value();
        QVERIFY(gain < 0);
        QCOMPARE(rig.page.mixButton(0, 1)->text(), QStringLiteral("%1dB").arg(gain));
        QCOMPARE(rig.page.gainEdit(1)->text(), QString::number(gain));
        rig.tick(4);
        QCOMPARE(rig.sets(), QStringList());
        rig.tick(1);
        QCOMPARE(rig.sets(), QStringList{frameText(7, 2, 1, QByteArray::fromHex("0001") + QByteArray(1, char(gain)))});

        // A move still waiting when another output is chosen goes out for
        // the output it was made on.
        dragMouse(fader, fader->handleRect().center().toPoint(), fader->handleRect().center().toPoint() + QPoint(0, 20));
        const int second = fader->value();
        QTest::mouseClick(rig.page.outputRow(4), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QCOMPARE(rig.sets(), QStringList{frameText(7, 2, 1, QByteArray::fromHex("0001") + QByteArray(1, char(second)))});
        QCOMPARE(fader->value(), 0);
        rig.tick(10);
        QCOMPARE(rig.sets(), QStringList());
        QCOMPARE(rig.page.output(0).gain[1], qint8(second));
    }

    void repliesUpdateOnlyWhatTheyConcern()
    {
        MixerRig rig;
        QVERIFY(rig.connect());
        // A gain reply for a non-current output: its cross-point texts only.
        rig.report(2, QByteArray::fromHex("04f6fa0c00")); // -10, -6, 12, 0
        QCOMPARE(rig.page.mixButton(4, 0)->text(), QStringLiteral("-10dB"));
        QCOMPARE(rig.page.mixButton(4, 2)->text(), QStringLiteral("12dB"));
        QCOMPARE(rig.page.fader(0)->value(), 0);
        QCOMPARE(rig.page.gainEdit(0)->text(), QStringLiteral("0"));

        rig.report(1, QByteArray::fromHex("0001000100"));
        QVERIFY(rig.page.enableButton(0)->isChecked());
        QVERIFY(!rig.page.enableButton(1)->isChecked());
        QVERIFY(rig.page.mixButton(0, 2)->isLit());
        rig.report(2, QByteArray::fromHex("0080000000")); // -128 is pulled to -70
        QCOMPARE(rig.page.fader(0)->value(), -70);
        QCOMPARE(rig.page.gainEdit(0)->text(), QStringLiteral("-70"));

        // Malformed: output 8, short, wrong op.
        rig.report(1, QByteArray::fromHex("0801010101"));
        rig.report(1, QByteArray::fromHex("01010101"));
        rig.report(1, QByteArray::fromHex("0101010101"), 0x01);
        QVERIFY(!rig.page.mixButton(1, 0)->isLit());

        // While a fader moves, replies wait.
        dragMouse(rig.page.fader(3), rig.page.fader(3)->handleRect().center().toPoint(),
                  rig.page.fader(3)->handleRect().center().toPoint() + QPoint(0, 30));
        rig.report(1, QByteArray::fromHex("0000000000"));
        QVERIFY(rig.page.enableButton(0)->isChecked());
        rig.tick(10);
        rig.report(1, QByteArray::fromHex("0000000000"));
        QVERIFY(!rig.page.enableButton(0)->isChecked());
        QCOMPARE(rig.sets().size(), 1); // the fader, nothing for the replies
    }

    void locksActOnRowsAndOnTheStripsOfTheCurrentOutput()
    {
        MixerRig rig;
        rig.page.setSecurityState(3, 2);
        QVERIFY(!rig.page.outputRow(3)->isVisible());
        QVERIFY(rig.page.fader(0)->isVisible());
        rig.page.setSecurityState(0, 1);
        QVERIFY(!rig.page.outputRow(0)->isEnabled());
        QVERIFY(!rig.page.fader(0)->isEnabled());
        QTest::mouseClick(rig.page.outputRow(1), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QVERIFY(rig.page.fader(0)->isEnabled());
        rig.page.setSecurityState(1, 2);
        QVERIFY(!rig.page.fader(2)->isVisible());
    }

    void pollsEveryOutputWhileShown()
    {
        MixerRig rig;
        QVERIFY(rig.connect());
        rig.tick(10);
        const QList<UnitFrame> frames = rig.sent();
        QCOMPARE(frames.size(), 17);
        QCOMPARE(describeFrames(frames.mid(0, 3)), QStringLiteral("2/5/9/0: 3/7/1/0:00 3/7/2/0:00"));
        QCOMPARE(describeFrames(frames.mid(15)), QStringLiteral("3/7/1/0:07 3/7/2/0:07"));
        rig.page.hide();
        rig.tick(10);
        QCOMPARE(rig.sent().size(), 0);
    }

    // Tab reads the matrix row by row, then the buttons and strips beside it;
    // the strips are named for the output they currently edit.
    void tabStopsFollowTheLayout_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("from");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("matrix") << 0 << 0
                                << nameList({"IN A to OUT 1 cross-point", "IN B to OUT 1 cross-point",
                                             "IN C to OUT 1 cross-point", "IN D to OUT 1 cross-point",
                                             "IN A to OUT 2 cross-point"});
        QTest::newRow("end of matrix, then the strips") << 0 << 30
                                                        << nameList({"IN C to OUT 8 cross-point",
                                                                     "IN D to OUT 8 cross-point", "All Mix",
                                                                     "Reset mixer", "IN A to OUT 1 gain in dB",
                                                                     "IN A to OUT 1 gain fader",
                                                                     "IN A to OUT 1 enable",
                                                                     "IN B to OUT 1 gain in dB"});
        QTest::newRow("strips of OUT 6") << 5 << 34
                                         << nameList({"IN A to OUT 6 gain in dB", "IN A to OUT 6 gain fader",
                                                      "IN A to OUT 6 enable", "IN B to OUT 6 gain in dB"});
    }
    void tabStopsFollowTheLayout()
    {
        QFETCH(int, current);
        QFETCH(int, from);
        QFETCH(QStringList, expected);
        Link link;
        QMixer page(&link);
        page.timer()->stop();
        QTest::mouseClick(page.outputRow(current), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QCOMPARE(page.currentOutput(), current);
        QCOMPARE(tabStopNames(&page).mid(from, expected.size()), expected);
        // The fader beside each field is named too, for a pointer user's reader.
        QCOMPARE(page.fader(1)->accessibleName(), QStringLiteral("IN B to OUT %1 gain fader").arg(current + 1));
    }
};

QTEST_MAIN(TestMixer)
#include "tst_mixer.moc"
