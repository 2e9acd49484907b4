// orvalix-soak-driver: the application under a long run, with a scripted
// operator. Started by tests/soak.sh next to a virtual unit that streams
// meters and cycles through its faults; prints a report at the end.
//
//   orvalix-soak-driver --unit ADDRESS --port PORT --discovery-port PORT --minutes M
//
// The operator visits every page in turn and, several times a second, turns
// a knob, drags a fader or slider, toggles a button, steps a choice or types
// into a field of the page shown (the settings page's network fields and the
// security page, which would cut the link or lock the run, excepted). Every
// so often it starts a DSP firmware upload and cancels it if it stalls.
//
// Exit status: 0 when memory grew by at most 10% after the warm-up (every
// page shown once), the window never stalled for long, no warning was logged
// and the link was up again at the end; 1 otherwise.

#include <QAbstractButton>
#include <QApplication>
#include <QCommandLineParser>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProgressDialog>
#include <QRandomGenerator>
#include <QSettings>
#include <QStackedWidget>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>

#include <cstdio>

#include "core/link/link.h"
#include "ui/common/prompt.h"
#include "ui/controls/knob.h"
#include "ui/controls/qfader.h"
#include "ui/controls/qhslider.h"
#include "ui/devices/qdevtable.h"
#include "ui/pages/firmwareupload.h"
#include "ui/pages/funcwidget.h"
#include "ui/pages/qsecurity.h"
#include "ui/pages/qsetup.h"
#include "ui/window/mainwindow.h"

namespace {

constexpr int EditMs = 150;
constexpr int PageMs = 8000;
constexpr int UploadEveryMs = 45000;
constexpr int UploadStallMs = 5000;
constexpr int StallWatchMs = 10;
constexpr double MaxGrowth = 0.10;
constexpr qint64 MaxStallMs = 2000;

int warnings = 0;
QStringList firstWarnings;

void countWarnings(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    // The offscreen platform cannot do everything a desktop does.
    if (message.contains(QLatin1String("This plugin does not support")))
        return;
    ++warnings;
    if (firstWarnings.size() < 10)
        firstWarnings << message;
}

qint64 residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// File dialogs answer with the firmware image while an upload is being
// started; every box is closed without a choice.
class SoakPrompt final : public Prompt
{
public:
    QString image;
    using Prompt::ask;
    int ask(QWidget *, Icon, const QString &, const QString &, const QStringList &, int) override { return -1; }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override { return image; }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString existingDirectory(QWidget *, const QString &, const QString &) override { return {}; }
};

class Operator : public QObject
{
public:
    Operator(mainWindow *window, SoakPrompt *prompt, const QString &image)
        : m_window(window)
        , m_prompt(prompt)
        , m_image(image)
    {
        m_rng.seed(20240601);
    }

    int edits = 0;
    int uploadsStarted = 0;
    int uploadsCancelled = 0;

    void edit()
    {
        QWidget *page = m_window->funcWidget()->stack()->currentWidget();
        if (!page || qobject_cast<QSecurity *>(page))
            return;
        QList<QWidget *> controls;
        for (QWidget *w : page->findChildren<QWidget *>()) {
            if (!w->isVisible() || !w->isEnabled())
                continue;
            if (qobject_cast<Knob *>(w) || qobject_cast<QFader *>(w) || qobject_cast<QHSlider *>(w)
                || qobject_cast<QComboBox *>(w))
                controls << w;
            else if (auto *button = qobject_cast<QAbstractButton *>(w); button && button->isCheckable())
                controls << w;
            else if (qobject_cast<QLineEdit *>(w) && !qobject_cast<QSetup *>(page) && !w->inherits("QSpinBox"))
                controls << w;
        }
        if (controls.isEmpty())
            return;
        QWidget *w = controls.at(int(m_rng.bounded(quint32(controls.size()))));
        if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            button->click();
        } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
            if (combo->count() > 1) {
                // As the operator's choice: activated() and the index change.
                const int index = int(m_rng.bounded(quint32(combo->count())));
                combo->setCurrentIndex(index);
                Q_EMIT combo->activated(index);
            }
        } else if (auto *edit = qobject_cast<QLineEdit *>(w)) {
            edit->setText(QString::number(m_rng.bounded(-20, 20)));
            Q_EMIT edit->editingFinished();
        } else {
            const QPoint centre = w->rect().center();
            const int steps = m_rng.bounded(2) ? 120 : -120;
            QWheelEvent wheel(QPointF(centre), QPointF(w->mapToGlobal(centre)), QPoint(), QPoint(0, steps),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(w, &wheel);
        }
        ++edits;
    }

    void nextPage()
    {
        FuncWidget *func = m_window->funcWidget();
        func->setCurrentIndex((func->stack()->currentIndex() + 1) % func->stack()->count());
    }

    void upload()
    {
        QProgressDialog *progress = m_window->progressDialog();
        if (progress->isVisible()) {
            if (progress->value() == m_lastValue && m_stalled.elapsed() > UploadStallMs) {
                progress->cancel();
                ++uploadsCancelled;
            } else if (progress->value() != m_lastValue) {
                m_lastValue = progress->value();
                m_stalled.restart();
            }
            return;
        }
        if (!m_window->link()->isLoggedIn() || (m_sinceUpload.isValid() && m_sinceUpload.elapsed() < UploadEveryMs))
            return;
        m_prompt->image = m_image;
        m_window->dspUpdateClicked();
        m_prompt->image.clear();
        m_sinceUpload.start();
        m_stalled.start();
        m_lastValue = -1;
        ++uploadsStarted;
    }

private:
    mainWindow *m_window;
    SoakPrompt *m_prompt;
    QString m_image;
    QRandomGenerator m_rng;
    QElapsedTimer m_sinceUpload;
    QElapsedTimer m_stalled;
    int m_lastValue = -1;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption unitOption(QStringLiteral("unit"), QStringLiteral("Address of the unit."),
                                        QStringLiteral("ADDRESS"));
    const QCommandLineOption portOption(QStringLiteral("port"), QStringLiteral("Its control port."),
                                        QStringLiteral("PORT"));
    const QCommandLineOption discoveryOption(QStringLiteral("discovery-port"),
                                             QStringLiteral("Where its status records arrive."),
                                             QStringLiteral("PORT"));
    const QCommandLineOption minutesOption(QStringLiteral("minutes"), QStringLiteral("Length of the run."),
                                           QStringLiteral("M"), QStringLiteral("5"));
    parser.addOptions({unitOption, portOption, discoveryOption, minutesOption});
    parser.process(app);
    const QHostAddress unit(parser.value(unitOption));
    const quint16 port = quint16(parser.value(portOption).toUInt());
    const quint16 discoveryPort = quint16(parser.value(discoveryOption).toUInt());
    const double minutes = parser.value(minutesOption).toDouble();
    if (!unit.isLoopback() || port == 0 || discoveryPort == 0 || minutes <= 0) {
        std::fprintf(stderr, "usage: %s --unit LOOPBACK-ADDRESS --port PORT --discovery-port PORT --minutes M\n",
                     argv[0]);
        return 2;
    }
    qInstallMessageHandler(countWarnings);

    QTemporaryDir scratch;
    QDir::setCurrent(scratch.path());
    QByteArray imageBytes(64 * 1024, '\0');
    for (int i = 0; i < imageBytes.size(); ++i)
        imageBytes[i] = char(i * 31);
    const QString image = scratch.filePath(QStringLiteral("dsp.ldr"));
    {
        QFile file(image);
        if (!file.open(QIODevice::WriteOnly) || file.write(imageBytes) != imageBytes.size())
            return 2;
    }

    SoakPrompt prompt;
    AppOptions options;
    options.controlPort = port;
    options.discoveryPort = discoveryPort;
    options.commandAddress = unit.toString();
    options.connectAddress = unit.toString();
    QSettings settings(scratch.filePath(QStringLiteral("store.ini")), QSettings::IniFormat);
    mainWindow window(options, &prompt, &settings);
    window.show();

    quint64 framesIn = 0;
    quint64 bytesOut = 0;
    int logins = 0;
    int linkLosses = 0;
    auto countFrame = [&](quint8, quint8, quint8, quint16, const uchar *) { ++framesIn; };
    QObject::connect(window.link(), &Link::systemMessage, countFrame);
    QObject::connect(window.link(), &Link::moduleMessage, countFrame);
    QObject::connect(window.link(), &Link::upgradeAck, countFrame);
    QObject::connect(window.link(), &Link::loggedInChanged, [&](bool in) { logins += in ? 1 : 0; });
    QObject::connect(window.link(), &Link::linkLost, [&] { ++linkLosses; });
    QObject::connect(window.devTable(), &QDevTable::sigAddDev, [&] {
        QTcpSocket *socket = window.devTable()->socketAt(window.devTable()->count() - 1);
        QObject::connect(socket, &QTcpSocket::bytesWritten, [&](qint64 n) { bytesOut += quint64(n); });
    });

    Operator op(&window, &prompt, image);
    QTimer editTimer;
    QObject::connect(&editTimer, &QTimer::timeout, [&] { op.edit(); });
    editTimer.start(EditMs);
    QTimer pageTimer;
    QObject::connect(&pageTimer, &QTimer::timeout, [&] { op.nextPage(); });
    pageTimer.start(PageMs);
    QTimer uploadTimer;
    QObject::connect(&uploadTimer, &QTimer::timeout, [&] { op.upload(); });
    uploadTimer.start(500);

    // How late a 10 ms timer fires: the longest the window was unresponsive.
    QElapsedTimer watch;
    watch.start();
    qint64 maxStall = 0;
    QTimer stallTimer;
    QObject::connect(&stallTimer, &QTimer::timeout, [&] {
        maxStall = qMax(maxStall, watch.restart() - StallWatchMs);
    });
    stallTimer.start(StallWatchMs);

    const qint64 runMs = qint64(minutes * 60000);
    // Warm-up: until every page has been shown once (the first showing of a
    // page builds its pixmaps and caches), at most half the run.
    const qint64 pagesRoundMs = qint64(window.funcWidget()->stack()->count()) * PageMs + 5000;
    const qint64 warmUpMs = qMin<qint64>(pagesRoundMs, runMs / 2);
    const qint64 startKb = residentKb();
    qint64 baselineKb = -1;
    QTimer::singleShot(int(warmUpMs), [&] {
        baselineKb = residentKb();
        maxStall = 0; // start-up work is not a stall
    });
    // Memory every half minute, to tell a level from a trend.
    QList<qint64> samples;
    QTimer sampleTimer;
    QObject::connect(&sampleTimer, &QTimer::timeout, [&] { samples << residentKb(); });
    sampleTimer.start(30000);
    QTimer::singleShot(int(runMs), &app, &QCoreApplication::quit);
    app.exec();

    // The unit's faults are cycling: give the link a moment to come back.
    editTimer.stop();
    QElapsedTimer grace;
    grace.start();
    while (!window.link()->isLoggedIn() && grace.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const qint64 endKb = residentKb();
    const double growth = baselineKb > 0 ? double(endKb - baselineKb) / double(baselineKb) : 1.0;
    const bool linkBack = window.link()->isLoggedIn();

    std::printf("soak: %.1f minutes\n", minutes);
    std::printf("memory: %lld kB at start, %lld kB after %lld s warm-up, %lld kB at the end (%+.1f%%)\n",
                startKb, baselineKb, warmUpMs / 1000, endKb, growth * 100.0);
    QStringList trend;
    for (qint64 kb : qAsConst(samples))
        trend << QString::number(kb);
    std::printf("memory every 30 s (kB): %s\n", qPrintable(trend.join(QLatin1Char(' '))));
    std::printf("frames received: %llu; bytes sent: %llu; logins: %d; link losses: %d\n",
                static_cast<unsigned long long>(framesIn), static_cast<unsigned long long>(bytesOut), logins,
                linkLosses);
    std::printf("operator edits: %d; firmware uploads started: %d, cancelled when stalled: %d\n", op.edits,
                op.uploadsStarted, op.uploadsCancelled);
    std::printf("longest stall of the window: %lld ms\n", maxStall);
    std::printf("warnings logged: %d\n", warnings);
    for (const QString &w : qAsConst(firstWarnings))
        std::printf("  %s\n", qPrintable(w));
    std::printf("link up at the end: %s\n", linkBack ? "yes" : "no");

    const bool ok = growth <= MaxGrowth && maxStall <= MaxStallMs && warnings == 0 && linkBack && framesIn > 0;
    std::printf("%s\n", ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
}
