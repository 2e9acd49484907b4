// What the edit history costs: an undo reaching the unit against the edit it
// undoes (operator action to frame received by the virtual unit, same run),
// and a history of 10 000 steps: its memory, and the cost of one more edit
// with the history full against empty.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTextStream>
#include <QUndoGroup>
#include <QUndoStack>

#include <algorithm>
#include <vector>

#include "core/link/link.h"
#include "core/settings/appoptions.h"
#include "ui/common/prompt.h"
#include "ui/modules/qoutlevel.h"
#include "ui/pages/funcwidget.h"
#include "ui/pages/unithistory.h"
#include "ui/window/mainwindow.h"
#include "virtualunit.h"

namespace {

class SilentPrompt final : public Prompt
{
public:
    int ask(QWidget *, Icon, const QString &, const QString &, const QStringList &, int) override { return 0; }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString existingDirectory(QWidget *, const QString &, const QString &) override { return {}; }
};

bool waitFor(const std::function<bool()> &condition, int timeoutMs = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return true;
}

// Resident memory in bytes.
qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLongLong() * 4096 : 0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values.at(values.size() / 2);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    // The window keeps its files in the working folder.
    QDir::setCurrent(dir.path());
    QSettings settings(dir.filePath(QStringLiteral("bench.ini")), QSettings::IniFormat);

    VirtualUnit::Options options;
    options.address = QHostAddress(QStringLiteral("127.77.21.1"));
    options.port = 0;
    VirtualUnit unit(options);
    if (!unit.start()) {
        out << "virtual unit did not start\n";
        return 1;
    }
    AppOptions appOptions;
    appOptions.controlPort = unit.port();
    appOptions.discoveryPort = 0;
    appOptions.commandAddress = unit.address().toString();
    appOptions.commandPort = 0;
    SilentPrompt prompt;
    mainWindow window(appOptions, &prompt, &settings);
    window.show();
    QTcpSocket socket;
    window.link()->setCurrentSocket(&socket, 7, unit.address().toIPv4Address());
    if (!waitFor([&] { return window.link()->isLoggedIn(); })) {
        out << "no login\n";
        return 1;
    }
    UnitHistory *history = window.history();
    QPushButton *mute = window.funcWidget()->outLevel()->muteButton(0);

    // One mute click and its undo, each timed until the unit has the frame.
    int received = 0;
    QObject::connect(&unit, &VirtualUnit::frameReceived, [&](const UnitFrame &) { ++received; });
    auto timed = [&](const std::function<void()> &act) {
        const int before = received;
        QElapsedTimer clock;
        clock.start();
        act();
        waitFor([&] { return received > before; });
        return double(clock.nsecsElapsed()) / 1000.0;
    };
    std::vector<double> edits;
    std::vector<double> undos;
    constexpr int Rounds = 200;
    for (int i = 0; i < Rounds; ++i) {
        history->newGesture();
        edits.push_back(timed([&] { mute->click(); }));
        undos.push_back(timed([&] { history->group()->undo(); }));
    }
    out << "edit to unit (mute click):  median " << median(edits) << " us\n";
    out << "undo to unit:               median " << median(undos) << " us  (ratio undo/edit "
        << median(undos) / median(edits) << ")\n";

    // A new edit's own cost: from the click to the step on the history.
    auto editCost = [&](int count) {
        std::vector<double> times;
        for (int i = 0; i < count; ++i) {
            history->newGesture();
            QElapsedTimer clock;
            clock.start();
            mute->click();
            times.push_back(double(clock.nsecsElapsed()) / 1000.0);
        }
        return median(times);
    };
    history->stack()->clear();
    QCoreApplication::processEvents();
    const double emptyCost = editCost(200);
    const qint64 rssBefore = residentBytes();
    constexpr int Steps = 10000;
    for (int i = history->stack()->count(); i < Steps; ++i) {
        history->newGesture();
        mute->click();
        if (i % 500 == 0)
            QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    const qint64 rssAfter = residentBytes();
    const int steps = history->stack()->count();
    const double fullCost = editCost(200);
    out << "history of " << steps << " steps: " << double(rssAfter - rssBefore) / (1024.0 * 1024.0)
        << " MB resident more (target < 10 MB)\n";
    out << "new edit, empty history:    median " << emptyCost << " us\n";
    out << "new edit, full history:     median " << fullCost << " us  (ratio full/empty " << fullCost / emptyCost
        << ")\n";
    window.link()->setCurrentSocket(nullptr, 0, 0);
    return 0;
}
