// Login flow and password changes: the window against the virtual unit.

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

#include <memory>

#include "core/link/link.h"
#include "securitymodule.h"
#include "systemmodule.h"
#include "tabchain.h"
#include "testsupport.h"
#include "ui/pages/qlockpwdmoddialog.h"
#include "ui/pages/qlogin.h"
#include "ui/pages/qoverview.h"
#include "ui/pages/funcwidget.h"
#include "ui/pages/qpwdmoddialog.h"
#include "ui/pages/qsecurity.h"
#include "ui/window/mainwindow.h"
#include "virtualunit.h"

namespace {

VirtualUnit::Options unitOptions(const QString &password)
{
    VirtualUnit::Options o;
    o.address = uniqueLoopback();
    o.port = 0;
    o.password = password;
    return o;
}

struct LoginRig
{
    ScratchDir dir;
    VirtualUnit unit;
    ScriptedPrompt prompt;
    QSettings settings;
    std::unique_ptr<mainWindow> window;
    std::unique_ptr<QTcpSocket> socket;
    QSignalSpy *loginReports = nullptr;

    explicit LoginRig(const QString &password = QString())
        : unit(unitOptions(password))
        , settings(dir.filePath(QStringLiteral("store.ini")), QSettings::IniFormat)
    {
        unit.start();
        AppOptions options;
        options.controlPort = unit.port();
        window = std::make_unique<mainWindow>(options, &prompt, &settings);
    }
    ~LoginRig() { window->link()->setCurrentSocket(nullptr, 0, 0); }

    QLogin *login() const { return window->loginDialog(); }
    Link *link() const { return window->link(); }

    // A fresh connection to the unit, as unit `id`; waits for its login report.
    bool connectAs(quint32 id)
    {
        link()->setCurrentSocket(nullptr, 0, 0);
        socket = std::make_unique<QTcpSocket>();
        int reports = 0;
        auto counter = QObject::connect(link(), &Link::systemMessage, [&reports](quint8 module) {
            if (module == 1)
                ++reports;
        });
        link()->setCurrentSocket(socket.get(), id, unit.address().toIPv4Address());
        const bool ok = waitUntil([&] { return reports > 0; });
        QObject::disconnect(counter);
        return ok;
    }

    void enterPassword(const QString &text)
    {
        QTest::keyClicks(login()->passwordEdit(), text);
        QTest::mouseClick(login()->buttonBox()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    }

    // Once the unit has this query, it has every frame the window sent before.
    void barrier()
    {
        const int before = unit.receivedMatching(2, 2, 8).size();
        link()->sendFrame(2, 2, 8, 0, nullptr, 0);
        waitUntil([&] { return unit.receivedMatching(2, 2, 8).size() > before; });
    }

    QStringList loginAttempts() const
    {
        QStringList out;
        for (const UnitFrame &f : unit.receivedMatching(2, 1, 1, 1))
            out << QString::fromLatin1(f.payload);
        return out;
    }
};

// Runs `answer` on the next modal dialog, then lets `action` open it.
void withModal(const std::function<void(QWidget *)> &answer, const std::function<void()> &action)
{
    QTimer::singleShot(0, [answer] {
        if (QWidget *modal = QApplication::activeModalWidget())
            answer(modal);
    });
    action();
}

} // namespace

class TestLogin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loginDialog()
    {
        QLogin dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Login"));
        QCOMPARE(dialog.passwordEdit()->maxLength(), 8);
        QCOMPARE(dialog.passwordEdit()->echoMode(), QLineEdit::Password);
        QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
        QSignalSpy entered(&dialog, &QLogin::EnterPassword);
        dialog.show();
        QTest::keyClicks(dialog.passwordEdit(), QStringLiteral("abcdefghij"));
        QTest::mouseClick(dialog.buttonBox()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        QCOMPARE(entered.size(), 1);
        QCOMPARE(dialog.password(), QStringLiteral("abcdefgh"));
        QVERIFY(dialog.passwordEdit()->text().isEmpty());
        QVERIFY(!dialog.isVisible());
        // Closed by the window on acceptance: nothing is entered again.
        dialog.show();
        dialog.accept();
        QCOMPARE(entered.size(), 1);
    }

    void unitWithoutPasswordShowsNoDialog()
    {
        LoginRig rig;
        QVERIFY(rig.connectAs(7));
        QVERIFY(rig.link()->isLoggedIn());
        QVERIFY(!rig.login()->isVisible());
        QCOMPARE(rig.window->overView()->stateLabel()->text(), QStringLiteral("Connected"));
    }

    void rejectedLoginShowsTheDialogAgain()
    {
        LoginRig rig(QStringLiteral("secret"));
        QVERIFY(rig.connectAs(7));
        QVERIFY(waitUntil([&] { return rig.login()->isVisible(); }));
        QCOMPARE(rig.window->overView()->stateLabel()->text(), QStringLiteral("Unconnected"));

        QVERIFY(!rig.login()->refusedLabel()->isVisibleTo(rig.login())); // asked for, not refused yet
        rig.enterPassword(QStringLiteral("wrong"));
        QVERIFY(!rig.login()->isVisible());
        QVERIFY(waitUntil([&] { return rig.login()->isVisible(); }));
        QCOMPARE(rig.loginAttempts(), QStringList{QStringLiteral("wrong")});
        QVERIFY(rig.login()->refusedLabel()->isVisibleTo(rig.login()));
        QCOMPARE(rig.login()->refusedLabel()->text(), QStringLiteral("Wrong password: the unit refused it."));

        QTest::mouseClick(rig.login()->buttonBox()->button(QDialogButtonBox::Cancel), Qt::LeftButton);
        QVERIFY(!rig.login()->isVisible());
        QVERIFY(!rig.login()->refusedLabel()->isVisibleTo(rig.login()));
        rig.barrier();
        QCOMPARE(rig.socket->state(), QAbstractSocket::ConnectedState);
        QVERIFY(rig.unit.hasClient());
        QVERIFY(!rig.link()->isLoggedIn());
        QCOMPARE(rig.window->overView()->stateLabel()->text(), QStringLiteral("Unconnected"));

        // The dialog comes back with the next rejection; the right password
        // closes it by itself.
        rig.link()->sendFrame(2, 1, 1, 1, "bad", 3);
        QVERIFY(waitUntil([&] { return rig.login()->isVisible(); }));
        rig.enterPassword(QStringLiteral("secret"));
        QVERIFY(waitUntil([&] { return rig.link()->isLoggedIn(); }));
        QVERIFY(!rig.login()->isVisible());
        QCOMPARE(rig.window->overView()->stateLabel()->text(), QStringLiteral("Connected"));
    }

    void reconnectTriesTheRememberedPassword_data()
    {
        QTest::addColumn<quint32>("unitId");
        QTest::addColumn<QString>("unitPassword");
        QTest::addColumn<QStringList>("attempts");
        QTest::addColumn<bool>("loggedIn");
        QTest::newRow("same unit") << 7u << QStringLiteral("secret") << QStringList{QStringLiteral("secret")} << true;
        QTest::newRow("other unit") << 8u << QStringLiteral("secret") << QStringList{} << false;
        // Tried once per connection, not again after every rejection.
        QTest::newRow("password changed on the unit")
            << 7u << QStringLiteral("other") << QStringList{QStringLiteral("secret")} << false;
    }
    void reconnectTriesTheRememberedPassword()
    {
        QFETCH(quint32, unitId);
        QFETCH(QString, unitPassword);
        QFETCH(QStringList, attempts);
        QFETCH(bool, loggedIn);
        LoginRig rig(QStringLiteral("secret"));
        QVERIFY(rig.connectAs(7));
        QVERIFY(waitUntil([&] { return rig.login()->isVisible(); }));
        rig.enterPassword(QStringLiteral("secret"));
        QVERIFY(waitUntil([&] { return rig.link()->isLoggedIn(); }));

        rig.unit.system().password = unitPassword;
        int loginReports = 0;
        connect(rig.link(), &Link::systemMessage, this, [&loginReports](quint8 module) {
            loginReports += module == 1;
        });
        rig.unit.clearReceived();
        QVERIFY(rig.connectAs(unitId));
        if (loggedIn) {
            QVERIFY(waitUntil([&] { return rig.link()->isLoggedIn(); }));
        } else {
            QVERIFY(waitUntil([&] { return rig.login()->isVisible(); }));
            // Let the answer to a retry come back before counting.
            QVERIFY(waitUntil([&] { return loginReports >= (attempts.isEmpty() ? 1 : 2); }));
            rig.barrier();
        }
        QCOMPARE(rig.loginAttempts(), attempts);
        QCOMPARE(rig.link()->isLoggedIn(), loggedIn);
        QCOMPARE(rig.login()->isVisible(), !loggedIn);
    }

    void onlyPasswordsFromTheDialogAreRemembered()
    {
        LoginRig rig(QStringLiteral("secret"));
        QVERIFY(rig.connectAs(7));
        QVERIFY(waitUntil([&] { return rig.login()->isVisible(); }));
        rig.enterPassword(QStringLiteral("secret"));
        QVERIFY(waitUntil([&] { return rig.link()->isLoggedIn(); }));

        // Another unit without a password accepts at once: that proves
        // nothing about the password, which stays remembered for unit 7.
        rig.unit.system().password.clear();
        QVERIFY(rig.connectAs(8));
        QVERIFY(rig.link()->isLoggedIn());

        rig.unit.system().password = QStringLiteral("secret");
        QVERIFY(rig.connectAs(7));
        QVERIFY(waitUntil([&] { return rig.link()->isLoggedIn(); }));
        QVERIFY(!rig.login()->isVisible());
    }

    void loginPasswordChangeEnablesOk_data()
    {
        QTest::addColumn<QString>("first");  // typed into "New password :"
        QTest::addColumn<QString>("second"); // then into "Confirm :"
        QTest::addColumn<bool>("enabled");
        QTest::newRow("equal") << QStringLiteral("abc") << QStringLiteral("abc") << true;
        QTest::newRow("shorter") << QStringLiteral("abc") << QStringLiteral("ab") << false;
        QTest::newRow("different") << QStringLiteral("abc") << QStringLiteral("abd") << false;
        QTest::newRow("both empty") << QString() << QString() << false;
    }
    void loginPasswordChangeEnablesOk()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, enabled);
        QPwdModDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Modify password"));
        QVERIFY(!dialog.okButton()->isEnabled());
        QTest::keyClicks(dialog.newEdit(), first);
        QTest::keyClicks(dialog.confirmEdit(), second);
        QCOMPARE(dialog.okButton()->isEnabled(), enabled);
    }

    void lockPasswordChangeEnablesOk_data()
    {
        QTest::addColumn<QString>("lock");
        QTest::addColumn<QString>("next");
        QTest::addColumn<QString>("verify");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("complete") << QStringLiteral("1") << QStringLiteral("ab") << QStringLiteral("ab") << true;
        QTest::newRow("no lock password") << QString() << QStringLiteral("ab") << QStringLiteral("ab") << false;
        QTest::newRow("not verified") << QStringLiteral("1") << QStringLiteral("ab") << QStringLiteral("a") << false;
        QTest::newRow("new empty") << QStringLiteral("1") << QString() << QString() << false;
    }
    void lockPasswordChangeEnablesOk()
    {
        QFETCH(QString, lock);
        QFETCH(QString, next);
        QFETCH(QString, verify);
        QFETCH(bool, enabled);
        QlockPwdModDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Modify lock password"));
        QTest::keyClicks(dialog.lockEdit(), lock);
        QTest::keyClicks(dialog.newEdit(), next);
        QTest::keyClicks(dialog.verifyEdit(), verify);
        QCOMPARE(dialog.okButton()->isEnabled(), enabled);
    }

    void passwordChangesNeedTheLogin()
    {
        LoginRig rig(QStringLiteral("secret"));
        QVERIFY(rig.connectAs(7));
        QVERIFY(waitUntil([&] { return rig.login()->isVisible(); }));
        bool opened = false;
        auto closeAny = [&opened](QWidget *modal) {
            opened = true;
            modal->close();
        };
        withModal(closeAny, [&] { rig.window->pwdModClicked(); });
        withModal(closeAny, [&] { rig.window->lockPwdModClicked(); });
        QTest::qWait(20);
        QVERIFY(!opened);
    }

    void loginPasswordChange()
    {
        LoginRig rig;
        QVERIFY(rig.connectAs(7));
        withModal([](QWidget *) {}, [] {});
        // "Cancle" path first: nothing is sent.
        withModal([&](QWidget *) { rig.window->pwdModDialog()->cancelButton()->click(); },
                  [&] { rig.window->pwdModClicked(); });
        withModal(
            [&](QWidget *) {
                QPwdModDialog *d = rig.window->pwdModDialog();
                QTest::keyClicks(d->newEdit(), QStringLiteral("n3w"));
                QTest::keyClicks(d->confirmEdit(), QStringLiteral("n3w"));
                d->okButton()->click();
            },
            [&] { rig.window->pwdModClicked(); });
        rig.barrier();
        const QList<UnitFrame> sets = rig.unit.receivedMatching(2, 2, 14);
        QCOMPARE(sets.size(), 1);
        QCOMPARE(sets.at(0).op, quint8(1));
        QCOMPARE(sets.at(0).payload, QByteArray("n3w"));
        QCOMPARE(rig.unit.system().password, QStringLiteral("n3w"));
        QVERIFY(rig.window->pwdModDialog()->newEdit()->text().isEmpty());
    }

    void wrongLockPasswordSaysSo()
    {
        LoginRig rig;
        QVERIFY(rig.connectAs(7));
        QSecurity *page = rig.window->funcWidget()->security();
        auto enter = [page](const QString &text) {
            QTest::keyClicks(page->passwordEdit(), text);
            QTest::keyClick(page->passwordEdit(), Qt::Key_Return);
        };
        QVERIFY(!page->refusedLabel()->isVisibleTo(page));
        enter(QStringLiteral("654321"));
        QVERIFY(waitUntil([&] { return page->refusedLabel()->isVisibleTo(page); }));
        QCOMPARE(page->refusedLabel()->text(), QStringLiteral("Wrong lock password"));
        QVERIFY(page->isLocked());
        enter(QStringLiteral("123456"));
        QVERIFY(waitUntil([&] { return !page->isLocked(); }));
        QVERIFY(!page->overlay()->isVisibleTo(page));
        QVERIFY(!page->refusedLabel()->isVisibleTo(page));
    }

    // A password change is confirmed only by what the unit answers: a login
    // with the new password, or the answer to the current lock password.
    void passwordChangesSayHowTheyWent_data()
    {
        QTest::addColumn<bool>("lock");
        QTest::addColumn<bool>("pageOpen");    // lock: the security page was open before
        QTest::addColumn<bool>("unitTakesIt"); // login: the unit takes logins; lock: the current password is right
        QTest::addColumn<QString>("text");
        const QString loginDone = QStringLiteral("The login password was changed.");
        const QString loginRefused =
            QStringLiteral("The unit did not take the new login password: the old one still holds.");
        const QString lockDone = QStringLiteral("The lock password was changed.");
        const QString lockRefused = QStringLiteral("Wrong lock password: the lock password was not changed.");
        QTest::newRow("login changed") << false << false << true << loginDone;
        QTest::newRow("login refused") << false << false << false << loginRefused;
        QTest::newRow("lock changed") << true << false << true << lockDone;
        QTest::newRow("lock, wrong current") << true << false << false << lockRefused;
        QTest::newRow("lock, page open, changed") << true << true << true << lockDone;
        QTest::newRow("lock, page open, wrong current") << true << true << false << lockRefused;
    }
    void passwordChangesSayHowTheyWent()
    {
        QFETCH(bool, lock);
        QFETCH(bool, pageOpen);
        QFETCH(bool, unitTakesIt);
        QFETCH(QString, text);
        LoginRig rig;
        QVERIFY(rig.connectAs(7));
        QSecurity *page = rig.window->funcWidget()->security();
        if (pageOpen) {
            QTest::keyClicks(page->passwordEdit(), QStringLiteral("123456"));
            QTest::keyClick(page->passwordEdit(), Qt::Key_Return);
            QVERIFY(waitUntil([&] { return !page->isLocked(); }));
        }
        if (lock) {
            withModal(
                [&](QWidget *) {
                    QlockPwdModDialog *d = rig.window->lockPwdModDialog();
                    QTest::keyClicks(d->lockEdit(), unitTakesIt ? QStringLiteral("123456") : QStringLiteral("1234"));
                    QTest::keyClicks(d->newEdit(), QStringLiteral("4321"));
                    QTest::keyClicks(d->verifyEdit(), QStringLiteral("4321"));
                    d->okButton()->click();
                },
                [&] { rig.window->lockPwdModClicked(); });
        } else {
            rig.unit.system().rejectLogins = !unitTakesIt;
            withModal(
                [&](QWidget *) {
                    QPwdModDialog *d = rig.window->pwdModDialog();
                    QTest::keyClicks(d->newEdit(), QStringLiteral("n3w"));
                    QTest::keyClicks(d->confirmEdit(), QStringLiteral("n3w"));
                    d->okButton()->click();
                },
                [&] { rig.window->pwdModClicked(); });
        }
        QVERIFY(waitUntil([&] { return !rig.prompt.asked.isEmpty(); }));
        QCOMPARE(rig.prompt.asked.size(), 1);
        QCOMPARE(rig.prompt.asked.at(0).text, text);
        QCOMPARE(rig.prompt.asked.at(0).icon, unitTakesIt ? Prompt::Icon::Information : Prompt::Icon::Warning);
        if (lock)
            QCOMPARE(rig.unit.findModule<SecurityModule>()->lockPassword,
                     unitTakesIt ? QByteArray("4321") : QByteArray("123456"));
    }

    void lockPasswordChangeSendsTwoFramesInOrder()
    {
        LoginRig rig;
        QVERIFY(rig.connectAs(7));
        rig.unit.clearReceived();
        withModal(
            [&](QWidget *) {
                QlockPwdModDialog *d = rig.window->lockPwdModDialog();
                QTest::keyClicks(d->lockEdit(), QStringLiteral("123456"));
                QTest::keyClicks(d->newEdit(), QStringLiteral("4321"));
                QTest::keyClicks(d->verifyEdit(), QStringLiteral("4321"));
                d->okButton()->click();
            },
            [&] { rig.window->lockPwdModClicked(); });
        rig.barrier();
        QStringList module5;
        for (const UnitFrame &f : rig.unit.received())
            if (f.cls == 2 && f.module == 5)
                module5 << QStringLiteral("%1/%2:%3").arg(f.param).arg(f.op).arg(QString::fromLatin1(f.payload));
        QCOMPARE(module5, (QStringList{QStringLiteral("1/1:123456"), QStringLiteral("2/1:4321")}));
        QCOMPARE(rig.unit.findModule<SecurityModule>()->lockPassword, QByteArray("4321"));
    }

    // Each password dialog is driven by keyboard alone: its fields in order,
    // named for what they hold, then the buttons.
    void tabStopsFollowTheLayout_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("login") << "login" << nameList({"Password", "OK", "Cancel"});
        QTest::newRow("password change") << "password" << nameList({"New password", "Confirm new password"});
        QTest::newRow("lock password change")
            << "lock" << nameList({"Current lock password", "New lock password", "Verify new lock password"});
    }
    void tabStopsFollowTheLayout()
    {
        QFETCH(QString, dialog);
        QFETCH(QStringList, expected);
        std::unique_ptr<QDialog> d;
        if (dialog == QLatin1String("login"))
            d.reset(new QLogin);
        else if (dialog == QLatin1String("password"))
            d.reset(new QPwdModDialog);
        else
            d.reset(new QlockPwdModDialog);
        QCOMPARE(tabStopNames(d.get()).mid(0, expected.size()), expected);
    }
};

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
