#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QScrollBar>
#include <QSettings>
#include <QStackedWidget>
#include <QTabBar>
#include <QtTest>

#include "testsupport.h"
#include "ui/controls/keyboardaccess.h"
#include "ui/controls/knob.h"
#include "ui/controls/qfader.h"
#include "ui/controls/qhslider.h"
#include "ui/devices/qdevicelist.h"
#include "ui/pages/funcwidget.h"
#include "ui/pages/qoverview.h"
#include "ui/window/mainwindow.h"

// Every control of every page and dialog can be reached with Tab and tells an
// assistive tool what it is, uniquely within its page; tab order follows the
// layout.
namespace {

// A widget the operator works with, as opposed to a part of one (a spin
// box's editor, a scroll bar of a scroll area, a tab bar's scroll buttons).
bool isControl(const QWidget *w)
{
    if (qobject_cast<const QScrollBar *>(w))
        return false;
    const QWidget *parent = w->parentWidget();
    if (parent
        && (qobject_cast<const QAbstractSpinBox *>(parent) || qobject_cast<const QComboBox *>(parent)
            || qobject_cast<const QTabBar *>(parent)))
        return false;
    return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QAbstractSlider *>(w)
           || qobject_cast<const QAbstractSpinBox *>(w) || qobject_cast<const QComboBox *>(w)
           || qobject_cast<const QLineEdit *>(w) || qobject_cast<const Knob *>(w)
           || qobject_cast<const QFader *>(w) || qobject_cast<const QHSlider *>(w)
           || qobject_cast<const QAbstractItemView *>(w) || (w->focusPolicy() & Qt::TabFocus);
}

QString accessibleName(QWidget *w)
{
    // Qt on Unix reports a combo box's current text as its name and carries
    // its label as a relation instead; the name the page gave it is what a
    // screen reader announces elsewhere and what must be unique.
    if (qobject_cast<QComboBox *>(w) && !w->accessibleName().trimmed().isEmpty())
        return w->accessibleName().trimmed();
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name).trimmed() : QString();
}

QString describeWidget(const QWidget *w)
{
    QStringList path;
    for (const QWidget *p = w; p; p = p->parentWidget()) {
        path.prepend(QString::fromLatin1(p->metaObject()->className())
                     + (p->objectName().isEmpty() ? QString() : QLatin1Char('#') + p->objectName()));
        if (p->isWindow() || qobject_cast<const QStackedWidget *>(p->parentWidget()))
            break;
    }
    return path.join(QLatin1Char('/'));
}

// The controls under `root` that show when `root` shows, in the order of
// the focus chain. Windows under `root` (dialogs) are separate surfaces.
QList<QWidget *> controlsOf(QWidget *root)
{
    QList<QWidget *> out;
    const QList<QWidget *> all = root->findChildren<QWidget *>();
    QSet<QWidget *> wanted;
    for (QWidget *w : all) {
        if (w->window() != root->window() || !w->isVisibleTo(root) || !isControl(w))
            continue;
        bool inNestedWindow = false;
        for (QWidget *p = w->parentWidget(); p && p != root; p = p->parentWidget())
            inNestedWindow = inNestedWindow || p->isWindow();
        if (!inNestedWindow)
            wanted.insert(w);
    }
    QWidget *w = root;
    do {
        if (wanted.remove(w))
            out << w;
        w = w->nextInFocusChain();
    } while (w && w != root);
    for (QWidget *rest : qAsConst(wanted)) // not in the chain: reported by the caller
        out << rest;
    return out;
}

// QTest cuts long failure messages: every fault goes to the log, one a line.
bool reportFaults(const QStringList &faults)
{
    for (const QString &fault : faults)
        qInfo().noquote() << fault;
    return faults.isEmpty();
}

struct Surface
{
    QString name;
    QWidget *root;
};

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

    ScratchDir m_dir;
    ScriptedPrompt m_prompt;
    mainWindow *m_window = nullptr;

    // The device list and overview, every page of both page sets, and every
    // dialog the window owns.
    QList<Surface> surfaces(bool family1)
    {
        FuncWidget *func = m_window->funcWidget();
        func->setFamily(family1);
        QList<Surface> out;
        out.append({QStringLiteral("device list"), static_cast<QWidget *>(m_window->deviceList())});
        out.append({QStringLiteral("overview"), static_cast<QWidget *>(m_window->overView())});
        for (int i = 0; i < func->stack()->count(); ++i) {
            QWidget *page = func->stack()->widget(i);
            out.append({QString::fromLatin1(page->metaObject()->className()), page});
        }
        for (QDialog *dialog : m_window->findChildren<QDialog *>())
            out.append({QString::fromLatin1(dialog->metaObject()->className()), dialog});
        return out;
    }

private Q_SLOTS:
    void initTestCase()
    {
        AppOptions options;
        options.discoveryPort = 0;
        options.commandAddress = uniqueLoopback().toString();
        m_window = new mainWindow(options, &m_prompt,
                                  new QSettings(m_dir.filePath(QStringLiteral("store.ini")), QSettings::IniFormat, this));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }
    void cleanupTestCase() { delete m_window; }

    void everyControlIsNamedUniquely_data()
    {
        QTest::addColumn<bool>("family1");
        QTest::newRow("48 kHz pages") << false;
        QTest::newRow("96 kHz pages") << true;
    }
    void everyControlIsNamedUniquely()
    {
        QFETCH(bool, family1);
        QStringList faults;
        for (const Surface &surface : surfaces(family1)) {
            QHash<QString, QWidget *> names;
            for (QWidget *w : controlsOf(surface.root)) {
                const QString name = accessibleName(w);
                if (name.isEmpty())
                    faults << surface.name + QLatin1String(": no name: ") + describeWidget(w);
                else if (names.contains(name))
                    faults << surface.name + QLatin1String(": \"") + name + QLatin1String("\" twice: ")
                                  + describeWidget(w);
                else
                    names.insert(name, w);
            }
        }
        QVERIFY2(reportFaults(faults), qPrintable(QString::number(faults.size()) + QLatin1String(" faults, listed above")));
    }

    // A control the keyboard cannot reach cannot be operated without a mouse.
    void everyControlTakesTab_data() { everyControlIsNamedUniquely_data(); }
    void everyControlTakesTab()
    {
        QFETCH(bool, family1);
        QStringList faults;
        for (const Surface &surface : surfaces(family1)) {
            for (QWidget *w : controlsOf(surface.root)) {
                if (!(w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() && !KeyboardAccess::isMouseOnly(w))
                    faults << surface.name + QLatin1String(": no tab stop: ") + describeWidget(w) + QLatin1String(" \"")
                                  + accessibleName(w) + QLatin1Char('"');
            }
        }
        QVERIFY2(reportFaults(faults), qPrintable(QString::number(faults.size()) + QLatin1String(" faults, listed above")));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
