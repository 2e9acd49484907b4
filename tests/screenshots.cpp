// Takes the README screenshots from the running application connected to an
// in-process virtual unit on loopback:  orvalix-screenshots OUTPUT_DIR
// Run it from the build's bin/ folder parent or set ORVALIX_RUN_DIR to the
// run folder (translations/ and image/ are copied into a scratch working
// directory, so no cfg.dat or device.db of the operator is touched).
#include <QAbstractScrollArea>
#include <QApplication>
#include <QScrollBar>
#include <QDir>
#include <QPushButton>
#include <QSettings>
#include <QTcpSocket>
#include <QTest>

#include <cstdio>
#include <memory>

#include "core/link/link.h"
#include "testsupport.h"
#include "ui/devices/qdevtable.h"
#include "ui/modules/qinfilter.h"
#include "ui/modules/qinlevel.h"
#include "ui/modules/qmixer.h"
#include "ui/modules/qoutlevel.h"
#include "ui/pages/funcwidget.h"
#include "ui/pages/qpreset.h"
#include "ui/pages/qsecurity.h"
#include "ui/pages/qsetup.h"
#include "ui/resources/resources.h"
#include "ui/window/mainwindow.h"
#include "unitannouncer.h"
#include "virtualunit.h"

namespace {

void pause(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QTest::qWait(20);
}

bool save(QWidget *widget, const QString &path)
{
    const bool ok = widget->grab().save(path, "PNG", 9);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: orvalix-screenshots OUTPUT_DIR\n");
        return 2;
    }
    const QString outDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(outDir);
    if (qEnvironmentVariableIsEmpty("ORVALIX_RUN_DIR"))
        qputenv("ORVALIX_RUN_DIR", QFile::encodeName(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin")));
    Resources::applyStyleSheet(&app);

    ScratchDir dir;
    VirtualUnit::Options unitOptions;
    unitOptions.address = uniqueLoopback();
    unitOptions.port = 0;
    VirtualUnit unit(unitOptions);
    if (!unit.start()) {
        std::fprintf(stderr, "the virtual unit did not start on %s\n", qPrintable(unit.address().toString()));
        return 1;
    }

    AppOptions options;
    options.controlPort = unit.port();
    options.discoveryPort = 0;
    options.commandAddress = unit.address().toString();
    options.commandPort = 0;
    ScriptedPrompt prompt;
    QSettings settings(dir.filePath(QStringLiteral("store.ini")), QSettings::IniFormat);
    mainWindow w(options, &prompt, &settings);
    w.resize(1024, 600);
    w.show();

    // The unit announces itself to this window only, so the device lists
    // show it as on a real network.
    UnitAnnouncer::Options announce;
    announce.announceTo = unit.address();
    announce.announcePort = w.devTable()->boundDiscoveryPort();
    announce.bindAddress = unit.address();
    announce.commandPort = 0;
    UnitAnnouncer announcer(&unit, announce);
    announcer.start();

    QTcpSocket socket;
    w.link()->setCurrentSocket(&socket, 1, unit.address().toIPv4Address());
    if (!waitUntil([&] { return w.link()->isLoggedIn() && w.funcWidget()->hasInputDelayPage(); }, 10000))
        std::fprintf(stderr, "warning: the unit's version report did not arrive\n");
    pause(1500);

    FuncWidget *pages = w.funcWidget();
    const struct
    {
        QWidget *page;
        const char *file;
    } shots[] = {
        {pages->inLevel(), "in-level.png"},   {pages->inFilter(), "in-filter.png"},
        {pages->mixer(), "matrix.png"},       {pages->outLevel(), "out-level.png"},
        {pages->setup(), "settings.png"},     {pages->security(), "security.png"},
        {pages->preset(), "preset.png"},
    };
    bool ok = true;
    for (const auto &shot : shots) {
        if (QPushButton *button = pages->pageButton(shot.page))
            button->click();
        pause(700);
        ok = save(&w, outDir + QLatin1Char('/') + QLatin1String(shot.file)) && ok;
    }

    // The table's own link column stays "Unconnected": the window above was
    // connected directly, not through a click in the device list.
    w.devTable()->resize(1024, 300);
    w.devTable()->show();
    pause(700);
    if (auto *area = qobject_cast<QAbstractScrollArea *>(w.devTable()))
        area->horizontalScrollBar()->setValue(0);
    for (auto *area : w.devTable()->findChildren<QAbstractScrollArea *>())
        area->horizontalScrollBar()->setValue(0);
    pause(100);
    ok = save(w.devTable(), outDir + QStringLiteral("/device-list.png")) && ok;

    w.link()->setCurrentSocket(nullptr, 0, 0);
    return ok ? 0 : 1;
}
