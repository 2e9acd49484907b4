// Takes the screenshots of every page from the running application connected
// to an in-process virtual unit on loopback:  orvalix-screenshots OUTPUT_DIR
// It writes OUTPUT_DIR/<language>-<width>x<height>/<page>.png for English
// and Chinese at 1024 x 600 and 1920 x 1080, the device table beside them,
// and "offline.png": the window after the unit went away.
// Run it from the build's bin/ folder parent or set ORVALIX_RUN_DIR to the
// run folder (translations/ and image/ are copied into a scratch working
// directory, so no cfg.dat or device.db of the operator is touched).
#include <QAbstractScrollArea>
#include <QCheckBox>
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
#include "ui/pages/pagebuttonbar.h"
#include "ui/pages/qpreset.h"
#include "ui/pages/qsecurity.h"
#include "ui/pages/qsetup.h"
#include "ui/pages/systempage.h"
#include "ui/resources/resources.h"
#include "ui/window/mainwindow.h"
#include "unitannouncer.h"
#include "filtermodule.h"
#include "mixermodule.h"
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

    // A two-way system for the System page: IN A feeds OUT 1 (high part,
    // Linkwitz-Riley 24 dB/oct above 1.2 kHz) and OUT 2 (low part, a 2 dB
    // dip at 120 Hz), IN B feeds OUT 3 and OUT 4 the same way.
    if (auto *mixer = unit.findModule<MixerModule>()) {
        for (int o = 0; o < 4; ++o)
            mixer->outputs[size_t(o)].enable[size_t(o / 2)] = true;
    }
    if (auto *filters = unit.findModule<FilterModule>()) {
        for (int o = 0; o < 4; ++o) {
            FilterChannel &f = filters->outputs[size_t(o)];
            const bool high = o % 2 == 0;
            (high ? f.hpEnable : f.lpEnable) = 1;
            (high ? f.hpType : f.lpType) = 2;
            (high ? f.hpSlope : f.lpSlope) = 3;
            (high ? f.hpFreq : f.lpFreq) = 1200;
            if (!high) {
                f.bandFreq[0] = 120;
                f.bandGain[0] = -2.0f;
            }
        }
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
    const QList<QPushButton *> buttons = pages->pageButtonBar()->buttons();
    // File names from the English button texts: "Out Delay" -> out-delay.png.
    w.setLanguage(0);
    QStringList stems;
    for (QPushButton *button : buttons)
        stems << button->text().toLower().replace(QLatin1Char(' '), QLatin1Char('-'));

    // The crossover's two parts and their sum.
    if (auto *system = pages->findChild<SystemPage *>()) {
        system->curveBox(1)->setChecked(true);
        system->curveBox(SystemResponse::Outputs)->setChecked(true);
    }

    const struct
    {
        int language;
        const char *name;
    } languages[] = {{0, "en"}, {1, "zh"}};
    const QSize sizes[] = {{1024, 600}, {1920, 1080}};
    auto folder = [&](const char *language, QSize size) {
        const QString path = outDir + QStringLiteral("/%1-%2x%3/").arg(QLatin1String(language)).arg(size.width()).arg(size.height());
        QDir().mkpath(path);
        return path;
    };
    auto showAt = [&](int language, QSize size) {
        w.setLanguage(language);
        w.resize(size);
        pause(300);
        if (w.size() != size)
            std::fprintf(stderr, "warning: the window is %d x %d, not %d x %d\n", w.width(), w.height(),
                         size.width(), size.height());
    };

    bool ok = true;
    for (const auto &language : languages) {
        for (const QSize &size : sizes) {
            showAt(language.language, size);
            const QString path = folder(language.name, size);
            for (int i = 0; i < buttons.size(); ++i) {
                buttons.at(i)->click();
                pause(500);
                ok = save(&w, path + stems.at(i) + QStringLiteral(".png")) && ok;
            }
            // The table's own link column stays "Unconnected": the window
            // above was connected directly, not through the device list.
            w.devTable()->resize(size.width() < 1200 ? QSize(1000, 300) : QSize(1600, 500));
            w.devTable()->show();
            pause(500);
            for (auto *area : w.devTable()->findChildren<QAbstractScrollArea *>())
                area->horizontalScrollBar()->setValue(0);
            pause(100);
            ok = save(w.devTable(), path + QStringLiteral("device-list.png")) && ok;
            w.devTable()->hide();
        }
    }

    // The unit goes away: banner over the pages, pages greyed, meters dark.
    buttons.first()->click();
    w.devChanged(-1);
    for (const auto &language : languages) {
        for (const QSize &size : sizes) {
            showAt(language.language, size);
            ok = save(&w, folder(language.name, size) + QStringLiteral("offline.png")) && ok;
        }
    }
    return ok ? 0 : 1;
}
