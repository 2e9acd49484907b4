// The function pages: the page sets of the two unit families, routing by
// module id, calibration access and the relays and wiring between pages.

#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QtTest>

#include "core/link/link.h"
#include "testsupport.h"
#include "ui/modules/deqwidget.h"
#include "ui/modules/firwidget.h"
#include "ui/modules/qcail.h"
#include "ui/modules/qgate.h"
#include "ui/modules/qindelay.h"
#include "ui/modules/qinlevel.h"
#include "ui/modules/qinlimiter.h"
#include "ui/modules/qmixer.h"
#include "ui/modules/qoutlevel.h"
#include "ui/modules/qoutlimiter.h"
#include "ui/pages/funcwidget.h"
#include "ui/pages/pagebuttonbar.h"
#include "ui/pages/qoverview.h"
#include "ui/pages/qsecurity.h"
#include "ui/pages/qsetup.h"
#include "ui/window/mainwindow.h"

namespace {

QStringList stackNames(FuncWidget &f)
{
    QStringList names;
    for (int i = 0; i < f.stack()->count(); ++i)
        names << f.stack()->widget(i)->objectName();
    return names;
}

void armReport(FuncWidget &f, quint8 major, quint8 minor = 0, quint8 patch = 0)
{
    const uchar payload[3] = {major, minor, patch};
    f.onSystemModuleMessage(2, 2, 0x80, 3, payload);
}

QStringList withoutDelay()
{
    QStringList names;
    for (const char *name : {"inLevelWidget", "gateWidget", "feedbackWidget", "In Filter", "In Limiter", "Mix Mtx",
                             "Signal", "Out Level", "Out Filter", "Out Limiter", "Out Delay", "Preset", "Settings",
                             "Security", "DEQWidget", "FirWidget"})
        names << QString::fromLatin1(name);
    return names;
}

} // namespace

class TestFuncWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The page buttons take as few rows as keep every text whole.
    void pageButtonRows_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("needed");
        QTest::addColumn<int>("rows");
        QTest::newRow("wide window: one row") << 1900 << 17 << 60 << 1;
        QTest::newRow("exactly one row") << 17 * 60 + 16 << 17 << 60 << 1;
        QTest::newRow("one pixel short: two rows") << 17 * 60 + 15 << 17 << 60 << 2;
        QTest::newRow("eighteen buttons at 1024 x 600") << 900 << 18 << 60 << 2;
        QTest::newRow("too narrow even for three rows") << 300 << 17 << 60 << 3;
    }
    void pageButtonRows()
    {
        QFETCH(int, width);
        QFETCH(int, count);
        QFETCH(int, needed);
        QFETCH(int, rows);
        QCOMPARE(PageButtonBar::rowsFor(width, count, needed, 1, 3), rows);
    }

    void routingByModuleId_data()
    {
        QTest::addColumn<int>("module");
        QTest::addColumn<QString>("page");
        const QList<QPair<int, const char *>> used = {
            {1, "inLevelWidget"}, {2, "gateWidget"}, {3, "feedbackWidget"}, {4, "In Filter"},
            {5, "In Limiter"}, {6, "In Delay"}, {7, "Mix Mtx"}, {8, "Signal"}, {9, "Out Level"},
            {10, "Out Filter"}, {11, "Out Limiter"}, {12, "Out Delay"}, {16, "DEQWidget"},
            {17, "FirWidget"}, {32, "Preset"}};
        for (const auto &u : used)
            QTest::addRow("module %d", u.first) << u.first << QString::fromLatin1(u.second);
        for (int unused : {0, 13, 14, 15, 18, 31, 33, 255})
            QTest::addRow("unused id %d", unused) << unused << QString();
    }
    void routingByModuleId()
    {
        QFETCH(int, module);
        QFETCH(QString, page);
        Link link;
        ScriptedPrompt prompt;
        FuncWidget f(&link, &prompt);
        ModulePage *target = f.pageForModule(quint8(module));
        QCOMPARE(target ? target->objectName() : QString(), page);
        if (target)
            QCOMPARE(int(target->moduleId()), module);
        // Unknown ids are dropped without touching anything.
        const uchar payload[4] = {1, 2, 3, 4};
        f.onModuleMessage(quint8(module), 1, 0x80, sizeof payload, payload);
    }

    void initialPageSet()
    {
        Link link;
        ScriptedPrompt prompt;
        FuncWidget f(&link, &prompt);
        QCOMPARE(stackNames(f), withoutDelay());
        QVERIFY(!f.hasInputDelayPage());
        QVERIFY(f.pageButton(f.inDelay())->isHidden());
        QVERIFY(f.pageButton(f.inLevel())->isChecked());
        QCOMPARE(f.stack()->currentWidget(), static_cast<QWidget *>(f.inLevel()));
        QCOMPARE(f.buttonGroup()->buttons().size(), 16);
        for (int id = 0; id < 16; ++id)
            QCOMPARE(f.buttonGroup()->button(id), static_cast<QAbstractButton *>(f.pageButton(f.stack()->widget(id))));
    }

    void familySwitchesBothWaysWithoutMovingOnRepeats()
    {
        Link link;
        ScriptedPrompt prompt;
        FuncWidget f(&link, &prompt);
        f.resize(1000, 500);
        f.show();
        QSignalSpy version(&f, &FuncWidget::sigArmVer);

        armReport(f, 1, 4, 26);
        QStringList with = withoutDelay();
        with.insert(5, QStringLiteral("In Delay"));
        QCOMPARE(stackNames(f), with);
        QVERIFY(f.pageButton(f.inDelay())->isVisible());
        // The button row: In Delay right after In Limiter.
        QPushButton *limiterButton = f.pageButton(f.inLimiter());
        QPushButton *delayButton = f.pageButton(f.inDelay());
        QPushButton *matrixButton = f.pageButton(f.mixer());
        QVERIFY(limiterButton->x() < delayButton->x() && delayButton->x() < matrixButton->x());
        QCOMPARE(f.buttonGroup()->id(delayButton), 5);
        QCOMPARE(f.buttonGroup()->buttons().size(), 17);
        QCOMPARE(version.last().at(0).toString(), QStringLiteral("V1.4.26"));

        // The operator goes to Matrix; the next reports of the same family leave it there.
        QTest::mouseClick(matrixButton, Qt::LeftButton);
        QCOMPARE(f.stack()->currentWidget(), static_cast<QWidget *>(f.mixer()));
        armReport(f, 1, 4, 26);
        armReport(f, 1, 5, 0);
        QCOMPARE(f.stack()->currentWidget(), static_cast<QWidget *>(f.mixer()));
        QVERIFY(matrixButton->isChecked());

        // The other family removes the page and starts on In Level.
        armReport(f, 2, 1, 0);
        QCOMPARE(stackNames(f), withoutDelay());
        QVERIFY(f.pageButton(f.inDelay())->isHidden());
        QCOMPARE(f.stack()->currentWidget(), static_cast<QWidget *>(f.inLevel()));
        QCOMPARE(f.buttonGroup()->buttons().size(), 16);
        QCOMPARE(f.buttonGroup()->id(matrixButton), 5);

        QTest::mouseClick(f.pageButton(f.gate()), Qt::LeftButton);
        armReport(f, 2, 1, 0);
        QCOMPARE(f.stack()->currentWidget(), static_cast<QWidget *>(f.gate()));
        QCOMPARE(version.size(), 5);
        armReport(f, 0, 0, 0);
        QCOMPARE(version.last().at(0).toString(), QString());
    }

    // Screen readers "toggle" a checkable button instead of clicking it.
    void assistiveToggleShowsThePage_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::newRow("Gate, then Out Level") << 1 << 7;
        QTest::newRow("the shown page stays") << 0 << 0;
    }
    void assistiveToggleShowsThePage()
    {
        QFETCH(int, first);
        QFETCH(int, second);
        Link link;
        ScriptedPrompt prompt;
        FuncWidget f(&link, &prompt);
        for (int id : {first, second}) {
            QAccessibleActionInterface *action =
                QAccessible::queryAccessibleInterface(f.buttonGroup()->button(id))->actionInterface();
            QVERIFY(action);
            action->doAction(QAccessibleActionInterface::toggleAction());
            QCOMPARE(f.stack()->currentIndex(), id);
            QCOMPARE(f.buttonGroup()->checkedId(), id);
        }
    }

    void stackAsksForTheShownPageOnly()
    {
        Link link;
        ScriptedPrompt prompt;
        FuncWidget f(&link, &prompt);
        // A page wider than any other, shown or not.
        f.pageForModule(16)->setMinimumWidth(3000);
        QVERIFY(f.stack()->minimumSizeHint().width() < 3000);
        QTest::mouseClick(f.pageButton(f.deq()), Qt::LeftButton);
        QCOMPARE(f.stack()->minimumSizeHint().width(), 3000);
        QTest::mouseClick(f.pageButton(f.setup()), Qt::LeftButton);
        QCOMPARE(f.stack()->minimumSizeHint(), f.setup()->minimumSizeHint());
    }

    void calibrationOnlyFromInLevel()
    {
        Link link;
        ScriptedPrompt prompt;
        FuncWidget f(&link, &prompt);
        f.show();
        QApplication::setActiveWindow(&f);
        QVERIFY(QTest::qWaitForWindowActive(&f));

        QTest::mouseClick(f.pageButton(f.gate()), Qt::LeftButton);
        QTest::keyClick(&f, Qt::Key_J, Qt::ControlModifier);
        QVERIFY(!f.cailDialog()->isVisible());

        QTest::mouseClick(f.pageButton(f.inLevel()), Qt::LeftButton);
        QTest::keyClick(&f, Qt::Key_T, Qt::ControlModifier);
        QVERIFY(f.cailDialog()->isVisible());
        f.cailDialog()->hide();
        QApplication::setActiveWindow(&f);
        QTest::keyClick(&f, Qt::Key_J, Qt::ControlModifier);
        QVERIFY(f.cailDialog()->isVisible());
    }

    // Every button that clears a page, or the unit's whole configuration,
    // asks first with the refusal as the default: Enter alone clears nothing.
    void clearingQuestionsDefaultToTheRefusal_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("question");
        QTest::newRow("in filter") << "In Filter" << "Reset" << "Clear all setting?";
        QTest::newRow("out filter") << "Out Filter" << "Reset" << "Clear all setting?";
        QTest::newRow("in limiter") << "In Limiter" << "Reset" << "Clear all setting?";
        QTest::newRow("out limiter") << "Out Limiter" << "Reset" << "Clear all setting?";
        QTest::newRow("dynamic EQ") << "DEQWidget" << "Reset" << "Clear all setting?";
        QTest::newRow("FIR") << "FirWidget" << "Clear" << "Clear all setting?";
        QTest::newRow("matrix reset") << "Mix Mtx" << "Reset" << "Disable all mixer and set their value to 0dB?";
        QTest::newRow("matrix all mix") << "Mix Mtx" << "All Mix" << "Enable all mixer and set their value to 0dB?";
        QTest::newRow("calibration") << "" << "System \nReset" << "Reset system all config?";
    }
    void clearingQuestionsDefaultToTheRefusal()
    {
        QFETCH(QString, page);
        QFETCH(QString, button);
        QFETCH(QString, question);
        Link link;
        ScriptedPrompt prompt;
        prompt.defaultAnswer = ScriptedPrompt::Enter;
        FuncWidget f(&link, &prompt);
        QWidget *owner = f.cailDialog();
        for (int i = 0; i < f.stack()->count(); ++i) {
            if (!page.isEmpty() && f.stack()->widget(i)->objectName() == page)
                owner = f.stack()->widget(i);
        }
        QPushButton *target = nullptr;
        for (QPushButton *b : owner->findChildren<QPushButton *>()) {
            if (b->text() == button)
                target = b;
        }
        QVERIFY(target);
        owner->show();
        target->setEnabled(true);
        target->click();
        QCOMPARE(prompt.asked.size(), 1);
        QCOMPARE(prompt.asked.at(0).text, question);
        QCOMPARE(prompt.asked.at(0).defaultButton, 1);
    }

    void securityLocksReachThePages()
    {
        Link link;
        ScriptedPrompt prompt;
        FuncWidget f(&link, &prompt);
        Q_EMIT f.security()->gateLockChanged(2, 2);
        Q_EMIT f.security()->outlevelLockChanged(7, 1);
        Q_EMIT f.security()->indelayLockChanged(0, 1);
        Q_EMIT f.security()->outFIRLockChanged(3, 2);
        QCOMPARE(f.gate()->securityState(2), uchar(2));
        QCOMPARE(f.outLevel()->securityState(7), uchar(1));
        QCOMPARE(f.inDelay()->securityState(0), uchar(1));
        QCOMPARE(f.fir()->securityState(3), uchar(2));
        QCOMPARE(f.inLevel()->securityState(2), uchar(0));
    }

    void relaysReachTheOverview()
    {
        ScratchDir dir;
        ScriptedPrompt prompt;
        // Nothing leaves loopback: no discovery port of the product, commands to loopback.
        AppOptions options;
        options.discoveryPort = 0;
        options.commandAddress = QStringLiteral("127.0.0.1");
        mainWindow w(options, &prompt,
                     new QSettings(dir.filePath(QStringLiteral("store.ini")), QSettings::IniFormat, this));
        FuncWidget *f = w.funcWidget();
        QOverView *o = w.overView();

        Q_EMIT f->inLevel()->sigMeter(2, -12);
        Q_EMIT f->outLevel()->sigMeter(7, 3);
        Q_EMIT f->inLimiter()->sigMeter(1, 6);
        Q_EMIT f->outLimiter()->sigMeter(0, 9);
        Q_EMIT f->gate()->sigOpenState(3, true);
        Q_EMIT f->inLevel()->sigMute(0, true);
        Q_EMIT f->outLevel()->sigMute(5, true);
        QCOMPARE(o->inLevelLabel(2)->text(), QStringLiteral("-12"));
        QCOMPARE(o->outLevelLabel(7)->text(), QStringLiteral("3"));
        QCOMPARE(o->inCompLabel(1)->text(), QStringLiteral("6"));
        QCOMPARE(o->outCompLabel(0)->text(), QStringLiteral("9"));
        QVERIFY(o->gateLamp(3)->styleSheet().contains(QLatin1String("#00FF00")));
        QVERIFY(o->inMuteButton(0)->isChecked());
        QVERIFY(o->outMuteButton(5)->isChecked());

        const auto feed = [f](quint8 param, const QByteArray &payload) {
            f->onSystemModuleMessage(2, param, 0x80, quint16(payload.size()),
                                     reinterpret_cast<const uchar *>(payload.constData()));
        };
        feed(1, QByteArray("OVX-480\0", 8));
        feed(2, QByteArray("\x01\x02\x03", 3));
        feed(27, QByteArray("\x01", 1));
        feed(3, QByteArray("\x01\x00\x05", 3));
        feed(10, QByteArray("Hall\0", 5));
        feed(11, QByteArray("Left\0", 5));
        feed(12, QByteArray::fromHex("1401a8c000ffffff0101a8c0"));
        feed(16, QByteArray::fromHex("0000bc410000f841"));
        feed(15, QByteArray("\x01", 1));
        QCOMPARE(o->modelLabel()->text(), QStringLiteral("OVX-480"));
        QCOMPARE(o->armVersionLabel()->text(), QStringLiteral("V1.2.3"));
        QCOMPARE(o->dspVersionLabel()->text(), QStringLiteral("V1.0.5-2906"));
        QCOMPARE(o->locationLabel()->text(), QStringLiteral("Hall"));
        QCOMPARE(o->descriptionLabel()->text(), QStringLiteral("Left"));
        QCOMPARE(o->ipLabel()->text(), QStringLiteral("192.168.1.20"));
        QCOMPARE(o->dspLoadLabel()->text(), QStringLiteral("23.5%-31.0%"));
        QVERIFY(o->allMuteButton()->isChecked());

        // A fault report reaches the main window's fault box.
        feed(13, QByteArray("\x02", 1));
        QCOMPARE(w.funcWidget()->faultByte(), uchar(0x02));
        QVERIFY(w.faultBox()->isVisible());
    }
};

QTEST_MAIN(TestFuncWidget)
#include "tst_funcwidget.moc"
