#include <QAbstractScrollArea>
#include <QApplication>
#include <QAction>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

#include "core/link/link.h"
#include "systemmodule.h"
#include "testsupport.h"
#include "ui/pages/funcwidget.h"
#include "ui/window/mainwindow.h"
#include "virtualunit.h"

namespace {

QList<QAction *> languageActions(mainWindow &w)
{
    QList<QAction *> out;
    for (int i = 1; i <= 5; ++i) {
        if (auto *a = w.findChild<QAction *>(QStringLiteral("language%1").arg(i)))
            out << a;
    }
    return out;
}

QByteArray languageDat(int count)
{
    QByteArray out = "lang:orvalix_en.qm;font:Arial;\n";
    for (int i = 1; i < count; ++i)
        out += "lang:orvalix_chinese.qm;font:Arial;\n";
    return out;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

    QSettings *freshSettings(ScratchDir &dir)
    {
        return new QSettings(dir.filePath(QStringLiteral("store.ini")), QSettings::IniFormat, this);
    }

private Q_SLOTS:
    void languageMenuEntries_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("actions");
        QTest::newRow("one language: no submenu") << 1 << 0;
        QTest::newRow("two") << 2 << 2;
        QTest::newRow("three") << 3 << 3;
    }
    void languageMenuEntries()
    {
        QFETCH(int, count);
        QFETCH(int, actions);
        ScratchDir dir;
        dir.write(QStringLiteral("translations/language.dat"), languageDat(count));
        ScriptedPrompt prompt;
        mainWindow w(AppOptions(), &prompt, freshSettings(dir));
        QCOMPARE(languageActions(w).size(), actions);
        bool hasLanguageMenu = false;
        for (QAction *a : w.menu()->actions())
            hasLanguageMenu = hasLanguageMenu || (a->menu() && a->menu()->actions().value(0)
                                                  && a->menu()->actions().value(0)->objectName() == QLatin1String("language1"));
        QCOMPARE(hasLanguageMenu, actions > 0);
    }

    void menuOrderAndHighDpiActions()
    {
        ScratchDir dir;
        ScriptedPrompt prompt;
        mainWindow w(AppOptions(), &prompt, freshSettings(dir));
        QStringList texts;
        for (QAction *a : w.menu()->actions())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(texts, (QStringList{QStringLiteral("Update ARM Firmware"), QStringLiteral("Update DSP Firmware"),
                                     QStringLiteral("Modify login password"),
                                     QStringLiteral("Modify security lock password"), QStringLiteral("Reset"),
                                     QStringLiteral("Language"), QStringLiteral("Device list"), QStringLiteral("-"),
                                     QStringLiteral("High DPI Scaling")}));
        auto *on = w.findChild<QAction *>(QStringLiteral("1"));
        auto *off = w.findChild<QAction *>(QStringLiteral("0"));
        QVERIFY(on && off);
        QVERIFY(on->isChecked());
        QVERIFY(!off->isChecked());
    }

    void chooseLanguageTwoWritesConfigAndTranslates()
    {
        ScratchDir dir;
        ScriptedPrompt prompt;
        mainWindow w(AppOptions(), &prompt, freshSettings(dir));
        QCOMPARE(w.windowTitle(), QStringLiteral("Digital Audio Processor"));
        auto *action = w.findChild<QAction *>(QStringLiteral("language2"));
        QVERIFY(action);
        // The current language carries the check mark, and only it.
        auto checkMarks = [&w] {
            QList<bool> out;
            for (QAction *a : languageActions(w))
                out << (a->isCheckable() && a->isChecked());
            return out;
        };
        QCOMPARE(checkMarks(), (QList<bool>{true, false}));
        action->trigger();
        QCOMPARE(w.currentLanguage(), 1);
        QCOMPARE(checkMarks(), (QList<bool>{false, true}));
        action->trigger(); // choosing it again keeps the mark
        QCOMPARE(checkMarks(), (QList<bool>{false, true}));
        QVERIFY(dir.read(QStringLiteral("cfg.dat")).startsWith("current lang:1\r\n"));
        QCoreApplication::processEvents();
        // The Chinese translation renders the menu in Chinese.
        QVERIFY(w.menu()->title() != QLatin1String("Menu"));
        QVERIFY(w.windowTitle() != QLatin1String("Digital Audio Processor"));
        w.findChild<QAction *>(QStringLiteral("language1"))->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(w.menu()->title(), QStringLiteral("Menu"));
    }

    void titlesFromConfig_data()
    {
        QTest::addColumn<QByteArray>("cfg");
        QTest::addColumn<QString>("title");
        QTest::newRow("english title") << QByteArray("current lang:0\r\nEN:Rack A\r\nCN:Tai\r\n") << QStringLiteral("Rack A");
        QTest::newRow("chinese title") << QByteArray("current lang:1\r\nEN:Rack A\r\nCN:Tai\r\n") << QStringLiteral("Tai");
        QTest::newRow("empty chinese title")
            << QByteArray("current lang:1\r\nEN:Rack A\r\nCN:\r\n") << QStringLiteral("数字音频处理器");
        QTest::newRow("index beyond the list") << QByteArray("current lang:9\r\nEN:Rack A\r\n") << QStringLiteral("Rack A");
    }
    void titlesFromConfig()
    {
        QFETCH(QByteArray, cfg);
        QFETCH(QString, title);
        ScratchDir dir;
        dir.write(QStringLiteral("cfg.dat"), cfg);
        ScriptedPrompt prompt;
        mainWindow w(AppOptions(), &prompt, freshSettings(dir));
        QCOMPARE(w.windowTitle(), title);
    }

    void firstStartSizeAndGeometryKept()
    {
        ScratchDir dir;
        ScriptedPrompt prompt;
        QSettings *settings = freshSettings(dir);
        {
            mainWindow w(AppOptions(), &prompt, settings);
            QCOMPARE(w.size(), QSize(1024, 600));
            w.resize(900, 560);
        }
        QVERIFY(!settings->value(QStringLiteral("WindowGeometry")).toByteArray().isEmpty());
        mainWindow again(AppOptions(), &prompt, settings);
        QCOMPARE(again.size(), QSize(900, 560));
    }

    // The real message box behind the prompt: Enter presses the default
    // button, Escape the refusal; tell()'s single button is translated.
    void dialogPromptKeys_data()
    {
        QTest::addColumn<int>("defaultButton");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("chosen");
        QTest::newRow("Enter, first button default") << 0 << int(Qt::Key_Return) << 0;
        QTest::newRow("Enter, refusal default") << 1 << int(Qt::Key_Return) << 1;
        QTest::newRow("Escape") << 0 << int(Qt::Key_Escape) << 1;
        QTest::newRow("Escape, refusal default") << 1 << int(Qt::Key_Escape) << 1;
    }
    void dialogPromptKeys()
    {
        QFETCH(int, defaultButton);
        QFETCH(int, key);
        QFETCH(int, chosen);
        QStringList shown;
        QTimer::singleShot(0, [&shown, key] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                for (QAbstractButton *b : box->buttons())
                    shown << b->text();
                QTest::keyClick(box, Qt::Key(key));
            }
        });
        DialogPrompt prompt;
        QCOMPARE(prompt.ask(nullptr, Prompt::Icon::Warning, QStringLiteral("t"), QStringLiteral("Erase?"),
                            {QStringLiteral("Yes"), QStringLiteral("No")}, defaultButton),
                 chosen);
        QCOMPARE(shown.size(), 2);
    }

    void tellsOkInTheCurrentLanguage()
    {
        ScratchDir dir;
        ScriptedPrompt prompt;
        mainWindow w(AppOptions(), &prompt, freshSettings(dir));
        w.findChild<QAction *>(QStringLiteral("language2"))->trigger();
        prompt.tell(nullptr, Prompt::Icon::Information, QStringLiteral("t"), QStringLiteral("x"));
        QCOMPARE(prompt.asked.at(0).buttons, QStringList{QStringLiteral("确定")});
        w.findChild<QAction *>(QStringLiteral("language1"))->trigger();
        prompt.tell(nullptr, Prompt::Icon::Information, QStringLiteral("t"), QStringLiteral("x"));
        QCOMPARE(prompt.asked.at(1).buttons, QStringList{QStringLiteral("OK")});
    }

    void faultBox()
    {
        ScratchDir dir;
        ScriptedPrompt prompt;
        mainWindow w(AppOptions(), &prompt, freshSettings(dir));
        // As English shows it (the window loads its English file).
        QCOMPARE(mainWindow::faultText(0x09),
                 QStringLiteral("Faults found :\n\nDSP, DAC\n\nSee the Settings page for details."));
        QCOMPARE(mainWindow::faultText(0x0F),
                 QStringLiteral("Faults found :\n\nDSP, DAC, Flash, Temp\n\nSee the Settings page for details."));
        w.setFault(0x04);
        QVERIFY(w.faultTimer()->isActive());
        QCOMPARE(w.faultTimer()->interval(), 120000);
        QVERIFY(w.faultBox()->isVisible());
        QCOMPARE(w.faultBox()->windowTitle(), QStringLiteral("Device Fault"));
        w.setFault(0x10);
        QVERIFY(!w.faultTimer()->isActive());
        QVERIFY(!w.faultBox()->isVisible());
    }

    void highDpiSwitch()
    {
        ScratchDir dir;
        ScriptedPrompt prompt;
        prompt.defaultAnswer = 1; // "No, take effect at next startup"
        mainWindow w(AppOptions(), &prompt, freshSettings(dir));
        const QByteArray before = dir.read(QStringLiteral("cfg.dat"));
        w.findChild<QAction *>(QStringLiteral("1"))->trigger();
        QVERIFY(prompt.asked.isEmpty());
        QCOMPARE(dir.read(QStringLiteral("cfg.dat")), before);

        w.findChild<QAction *>(QStringLiteral("0"))->trigger();
        QCOMPARE(prompt.asked.size(), 1);
        QVERIFY(prompt.asked.at(0).text.startsWith(QLatin1String("Without high DPI scaling")));
        QVERIFY(dir.read(QStringLiteral("cfg.dat")).contains("HighDpiScaling:0\r\n"));
        QVERIFY(w.findChild<QAction *>(QStringLiteral("0"))->isChecked());
        QVERIFY(!w.findChild<QAction *>(QStringLiteral("1"))->isChecked());
    }

    void resetNeedsLoginAndConfirmation()
    {
        ScratchDir dir;
        VirtualUnit::Options options;
        options.address = uniqueLoopback();
        options.port = 0;
        VirtualUnit unit(options);
        QVERIFY(unit.start());

        ScriptedPrompt prompt;
        AppOptions appOptions;
        appOptions.controlPort = unit.port();
        mainWindow w(appOptions, &prompt, freshSettings(dir));

        // Before login nothing is asked and nothing is sent.
        w.resetClicked();
        QVERIFY(prompt.asked.isEmpty());

        QTcpSocket socket;
        w.link()->setCurrentSocket(&socket, 7, options.address.toIPv4Address());
        QVERIFY(waitUntil([&] { return w.link()->isLoggedIn(); }));

        prompt.answers = {1, ScriptedPrompt::Enter}; // "Cancle", then Enter alone
        w.resetClicked();
        w.resetClicked();
        QCOMPARE(prompt.asked.size(), 2);
        // In English as the window's English file shows it.
        QCOMPARE(prompt.asked.at(0).title, QStringLiteral("Warning"));
        QCOMPARE(prompt.asked.at(0).buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("Cancel")}));
        QVERIFY(prompt.asked.at(0).text.contains(QLatin1String("Restoring the factory settings deletes all user data!")));
        QCOMPARE(prompt.asked.at(0).defaultButton, 1);

        prompt.answers = {0};
        w.resetClicked();
        QVERIFY(waitUntil([&] { return unit.system().factoryResets == 1; }));
        QCOMPARE(unit.receivedMatching(2, 2, 17).size(), 1); // Cancle and Enter sent nothing
        QCOMPARE(unit.receivedMatching(2, 2, 17).at(0).payload.size(), 0);
        w.link()->setCurrentSocket(nullptr, 0, 0);
    }
    // On a 1024 x 600 netbook screen the window keeps its size on every page
    // of both page sets, and every page can be scrolled fully into view.
    void everyPageFitsASmallScreen_data()
    {
        QTest::addColumn<bool>("family1");
        QTest::newRow("48 kHz pages") << false;
        QTest::newRow("96 kHz pages") << true;
    }
    void everyPageFitsASmallScreen()
    {
        QFETCH(bool, family1);
        ScratchDir dir;
        ScriptedPrompt prompt;
        AppOptions options;
        options.discoveryPort = 0;
        options.commandAddress = uniqueLoopback().toString();
        mainWindow w(options, &prompt, freshSettings(dir));
        w.funcWidget()->setFamily(family1);
        w.resize(1024, 600);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QSize minimum = w.minimumSizeHint().expandedTo(w.minimumSize());
        QVERIFY2(minimum.width() <= 1024 && minimum.height() <= 600,
                 qPrintable(QStringLiteral("minimum %1 x %2").arg(minimum.width()).arg(minimum.height())));
        auto *scroll = w.findChild<QAbstractScrollArea *>(QStringLiteral("rightScrollArea"));
        auto *content = w.findChild<QWidget *>(QStringLiteral("rightWidget"));
        QVERIFY(scroll && content);
        QStackedWidget *stack = w.funcWidget()->stack();
        for (int i = 0; i < stack->count(); ++i) {
            QWidget *page = stack->widget(i);
            w.funcWidget()->pageButton(page)->click();
            QCoreApplication::processEvents();
            const QString name = QString::fromLatin1(page->metaObject()->className());
            QCOMPARE(w.size(), QSize(1024, 600));
            // The page lies inside the scrolled content, which the scroll
            // bars can bring wholly into view.
            const QRect onContent(page->mapTo(content, QPoint(0, 0)), page->size());
            QVERIFY2(content->rect().contains(onContent), qPrintable(name));
            QVERIFY2(page->width() >= page->minimumSizeHint().width(), qPrintable(name));
            const QSize viewport = scroll->viewport()->size();
            QVERIFY2(scroll->horizontalScrollBar()->maximum() >= content->width() - viewport.width(), qPrintable(name));
            QVERIFY2(scroll->verticalScrollBar()->maximum() >= content->height() - viewport.height(), qPrintable(name));
        }
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
