#include <QAbstractScrollArea>
#include <QApplication>
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTextDocument>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

#include <algorithm>

#include "core/link/frame.h"
#include "core/link/link.h"
#include "core/protocol/protocol.h"
#include "systemmodule.h"
#include "testsupport.h"
#include "ui/controls/dragscrollarea.h"
#include "ui/controls/qfader.h"
#include "ui/controls/qmeterwidget.h"
#include "ui/modules/qgate.h"
#include "ui/modules/qinlevel.h"
#include "ui/modules/qoutlevel.h"
#include "ui/pages/funcwidget.h"
#include "ui/pages/linkbanner.h"
#include "ui/pages/pagebuttonbar.h"
#include "ui/pages/qoverview.h"
#include "ui/window/mainwindow.h"
#include "virtualunit.h"

namespace {

// Push buttons and one-line labels under `root` whose text is wider than
// they are. Labels meant to clip (with the whole text in their tool tip)
// are left out, and so are buttons that paint their own face (the lock
// cells' text is their name, not what they show).
QStringList cutTexts(QWidget *root)
{
    QStringList cut;
    for (QPushButton *button : root->findChildren<QPushButton *>()) {
        const QString text = QString(button->text()).remove(QLatin1Char('&'));
        if (button->isVisibleTo(root) && !text.isEmpty()
            && button->fontMetrics().horizontalAdvance(text) > button->contentsRect().width())
            cut << QStringLiteral("button \"%1\" %2 px").arg(text).arg(button->width());
    }
    for (QLabel *label : root->findChildren<QLabel *>()) {
        if (!label->isVisibleTo(root) || label->wordWrap() || label->textFormat() == Qt::RichText
            || label->sizePolicy().horizontalPolicy() == QSizePolicy::Ignored || label->text().isEmpty()
            || Qt::mightBeRichText(label->text()))
            continue;
        if (label->fontMetrics().horizontalAdvance(label->text()) > label->contentsRect().width())
            cut << QStringLiteral("label \"%1\" %2 px").arg(label->text()).arg(label->width());
    }
    return cut;
}

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
    // of both page sets, in both languages: the overview's twelve strips and
    // every page button stay whole and in place, and only the page area
    // scrolls, far enough to bring every page fully into view. On a large
    // screen the faders and meters take the room.
    void everyPageFitsASmallScreen_data()
    {
        QTest::addColumn<bool>("family1");
        QTest::addColumn<int>("language");
        QTest::addColumn<QSize>("size");
        QTest::newRow("48 kHz pages, English, 1024 x 600") << false << 0 << QSize(1024, 600);
        QTest::newRow("96 kHz pages, English, 1024 x 600") << true << 0 << QSize(1024, 600);
        QTest::newRow("96 kHz pages, Chinese, 1024 x 600") << true << 1 << QSize(1024, 600);
        QTest::newRow("96 kHz pages, English, 1920 x 1080") << true << 0 << QSize(1920, 1080);
    }
    void everyPageFitsASmallScreen()
    {
        QFETCH(bool, family1);
        QFETCH(int, language);
        QFETCH(QSize, size);
        ScratchDir dir;
        ScriptedPrompt prompt;
        AppOptions options;
        options.discoveryPort = 0;
        options.commandAddress = uniqueLoopback().toString();
        mainWindow w(options, &prompt, freshSettings(dir));
        w.setLanguage(language);
        w.funcWidget()->setFamily(family1);
        w.resize(size);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCoreApplication::processEvents();
        const QSize minimum = w.minimumSizeHint().expandedTo(w.minimumSize());
        QVERIFY2(minimum.width() <= 1024 && minimum.height() <= 600,
                 qPrintable(QStringLiteral("minimum %1 x %2").arg(minimum.width()).arg(minimum.height())));

        // Whole: inside the window and at least as large as the widget asks.
        auto whole = [&w](QWidget *widget) {
            const QRect inWindow(widget->mapTo(&w, QPoint(0, 0)), widget->size());
            return widget->isVisible() && w.rect().contains(inWindow)
                && widget->width() >= widget->minimumSizeHint().width()
                && widget->height() >= widget->minimumSizeHint().height();
        };
        QList<QWidget *> fixedParts;
        for (QFrame *strip : w.overView()->findChildren<QFrame *>(QRegularExpression(QStringLiteral("^(in|out)BgWidget$"))))
            fixedParts << strip;
        QCOMPARE(fixedParts.size(), 12);
        const QList<QPushButton *> buttons = w.funcWidget()->pageButtonBar()->buttons();
        QCOMPARE(buttons.size(), family1 ? 17 : 16);
        for (QPushButton *button : buttons) {
            fixedParts << button;
            // The text is not cut.
            QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) < button->width(),
                     qPrintable(button->text()));
        }
        QList<QPoint> places;
        for (QWidget *part : fixedParts)
            places << part->mapTo(&w, QPoint(0, 0));

        QAbstractScrollArea *scroll = w.funcWidget()->pageArea();
        QStackedWidget *stack = w.funcWidget()->stack();
        for (int i = 0; i < stack->count(); ++i) {
            QWidget *page = stack->widget(i);
            w.funcWidget()->pageButton(page)->click();
            QCoreApplication::processEvents();
            const QString name = QString::fromLatin1(page->metaObject()->className());
            QCOMPARE(w.size(), size);
            const QStringList cut = cutTexts(page);
            QVERIFY2(cut.isEmpty(), qPrintable(name + QLatin1String(": ") + cut.join(QLatin1String("; "))));
            for (int p = 0; p < fixedParts.size(); ++p) {
                QVERIFY2(whole(fixedParts.at(p)), qPrintable(name + QLatin1Char(' ') + fixedParts.at(p)->objectName()));
                QCOMPARE(fixedParts.at(p)->mapTo(&w, QPoint(0, 0)), places.at(p));
            }
            // The page lies inside the scrolled stack, which the scroll bars
            // can bring wholly into view.
            QVERIFY2(page->width() >= page->minimumSizeHint().width(), qPrintable(name));
            QVERIFY2(page->height() >= page->minimumSizeHint().height(), qPrintable(name));
            const QSize viewport = scroll->viewport()->size();
            QVERIFY2(scroll->horizontalScrollBar()->maximum() >= stack->width() - viewport.width(), qPrintable(name));
            QVERIFY2(scroll->verticalScrollBar()->maximum() >= stack->height() - viewport.height(), qPrintable(name));
        }
        const bool large = size.height() > 600;
        w.funcWidget()->pageButton(w.funcWidget()->outLevel())->click();
        QCoreApplication::processEvents();
        auto *fader = w.funcWidget()->outLevel()->findChild<QFader *>();
        QVERIFY(fader);
        QCOMPARE(fader->height() > 300, large);
        QCOMPARE(w.overView()->meterHeight() > QOverView::MinMeterHeight, large);
    }

    // Without a unit, or before the unit accepts the login, the banner over
    // the pages says which, and the pages are greyed but still take changes;
    // meters and gate lamps go dark when the link goes.
    void bannerFollowsTheLink_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("whileConnected"); // LinkBanner::State
        QTest::newRow("unit without password") << QString() << int(LinkBanner::State::Online);
        QTest::newRow("unit waiting for the login") << QStringLiteral("secret")
                                                   << int(LinkBanner::State::NotLoggedIn);
    }
    void bannerFollowsTheLink()
    {
        QFETCH(QString, password);
        QFETCH(int, whileConnected);
        ScratchDir dir;
        VirtualUnit::Options unitOptions;
        unitOptions.address = uniqueLoopback();
        unitOptions.port = 0;
        unitOptions.password = password;
        VirtualUnit unit(unitOptions);
        QVERIFY(unit.start());
        ScriptedPrompt prompt;
        AppOptions options;
        options.controlPort = unit.port();
        options.discoveryPort = 0;
        options.commandAddress = unitOptions.address.toString();
        mainWindow w(options, &prompt, freshSettings(dir));
        w.show();
        FuncWidget *pages = w.funcWidget();
        auto state = [&] { return int(pages->banner()->state()); };
        auto dark = [&] {
            const auto meters = w.findChildren<QMeterWidget *>();
            const bool allDark = std::all_of(meters.begin(), meters.end(), [](QMeterWidget *m) { return m->isDark(); });
            const bool noneDark = std::none_of(meters.begin(), meters.end(), [](QMeterWidget *m) { return m->isDark(); });
            return allDark ? 1 : noneDark ? 0 : -1;
        };

        QCOMPARE(state(), int(LinkBanner::State::NoUnit));
        QVERIFY(pages->banner()->isVisible());
        QVERIFY(pages->isGreyed());
        QCOMPARE(dark(), 1);
        // Greyed, not disabled: a change can still be made.
        QVERIFY(pages->inLevel()->isEnabled() && w.overView()->inMuteButton(0)->isEnabled());

        QTcpSocket socket;
        connect(&socket, &QTcpSocket::stateChanged, w.link(),
                [&](QAbstractSocket::SocketState s) { w.link()->socketStateChanged(&socket, s); });
        w.link()->setCurrentSocket(&socket, 7, unitOptions.address.toIPv4Address());
        QVERIFY(waitUntil([&] { return state() == whileConnected; }));
        QTest::qWait(100);
        QCOMPARE(state(), whileConnected);
        const bool online = whileConnected == int(LinkBanner::State::Online);
        QCOMPARE(pages->banner()->isVisible(), !online);
        QCOMPARE(pages->isGreyed(), !online);
        QCOMPARE(dark(), 0);

        // A lit gate lamp and a live meter, then the unit goes away.
        const uchar open[4] = {1, 0, 0, 0};
        pages->onModuleMessage(Frame::Gate, Protocol::Gate::Open, Frame::Report, sizeof open, open);
        w.overView()->setInMeter(0, -6);
        QVERIFY(pages->gate()->isOpen(0));
        unit.dropClient();
        QVERIFY(waitUntil([&] { return state() == int(LinkBanner::State::NoUnit); }));
        QVERIFY(pages->banner()->isVisible());
        QVERIFY(pages->isGreyed());
        QCOMPARE(dark(), 1);
        QVERIFY(!pages->gate()->isOpen(0));
        QCOMPARE(w.overView()->gateLamp(0)->styleSheet(), w.overView()->gateLamp(1)->styleSheet());
        QCOMPARE(w.overView()->inLevelMeter(0)->value(), w.overView()->inLevelMeter(0)->minimum());
        w.link()->setCurrentSocket(nullptr, 0, 0);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
