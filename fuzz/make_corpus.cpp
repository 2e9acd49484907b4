// Writes the seed corpora of the fuzz targets: orvalix-fuzz-corpus OUTPUT_DIR
//
// The link seeds are the reports a virtual unit (in-process, on loopback)
// sends while the main window visits every page, one file per class and
// module, plus hand-made firmware acknowledgements and preset transfer
// replies. The other seeds come from the codecs and a few written-out files.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QLoggingCategory>
#include <QSettings>
#include <QStackedWidget>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <cstdio>

#include "core/devices/broadcastmsg.h"
#include "core/files/firfiles.h"
#include "core/link/frame.h"
#include "core/link/link.h"
#include "core/presets/presetimage.h"
#include "systemmodule.h"
#include "ui/common/prompt.h"
#include "ui/pages/funcwidget.h"
#include "ui/window/mainwindow.h"
#include "virtualunit.h"

namespace {

class ClosingPrompt final : public Prompt
{
public:
    using Prompt::ask;
    int ask(QWidget *, Icon, const QString &, const QString &, const QStringList &, int) override { return -1; }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString existingDirectory(QWidget *, const QString &, const QString &) override { return {}; }
};

QDir outDir;

void write(const QString &target, const QString &name, const QByteArray &bytes)
{
    outDir.mkpath(target);
    QFile file(outDir.filePath(target + QLatin1Char('/') + name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
    file.write(bytes);
}

QByteArray frame(quint8 cls, quint8 module, quint8 param, quint8 op, const QByteArray &payload)
{
    QByteArray out(payload.size() + Frame::Overhead, '\0');
    Frame::encode(reinterpret_cast<uchar *>(out.data()), 1, cls, module, param, op, payload.constData(),
                  quint16(payload.size()));
    return out;
}

QByteArray u16(quint16 v) { return QByteArray(1, char(v & 0xFF)) + char(v >> 8); }
QByteArray u32(quint32 v) { return u16(quint16(v & 0xFFFF)) + u16(quint16(v >> 16)); }

void spin(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

void linkCorpus()
{
    QTemporaryDir scratch;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(scratch.path());

    VirtualUnit::Options unitOptions;
    unitOptions.address = QHostAddress(QStringLiteral("127.0.0.77"));
    unitOptions.port = 0;
    VirtualUnit unit(unitOptions);
    if (!unit.start())
        std::exit(1);

    ClosingPrompt prompt;
    AppOptions options;
    options.controlPort = unit.port();
    options.discoveryPort = 0;
    options.commandAddress = QStringLiteral("127.0.0.1");
    QSettings settings(scratch.filePath(QStringLiteral("store.ini")), QSettings::IniFormat);
    mainWindow window(options, &prompt, &settings);
    window.show();

    // Every report once per class, module, param, op and length, in arrival order.
    QMap<QPair<int, int>, QByteArray> files;
    QSet<QString> seen;
    auto collect = [&](quint8 cls) {
        return [&, cls](quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload) {
            const QString key = QStringLiteral("%1/%2/%3/%4/%5").arg(cls).arg(module).arg(param).arg(op).arg(length);
            if (seen.contains(key))
                return;
            seen.insert(key);
            files[qMakePair(int(cls), int(module))]
                += frame(cls, module, param, op, QByteArray(reinterpret_cast<const char *>(payload), length));
        };
    };
    QObject::connect(window.link(), &Link::systemMessage, collect(2));
    QObject::connect(window.link(), &Link::moduleMessage, collect(3));

    QTcpSocket socket;
    QObject::connect(&socket, &QTcpSocket::stateChanged, window.link(),
                     [&](QAbstractSocket::SocketState state) { window.link()->socketStateChanged(&socket, state); });
    window.link()->setCurrentSocket(&socket, 1, unitOptions.address.toIPv4Address());
    spin(1500);
    FuncWidget *func = window.funcWidget();
    for (int i = 0; i < func->stack()->count(); ++i) {
        func->setCurrentIndex(i);
        spin(700);
    }
    window.link()->setCurrentSocket(nullptr, 0, 0);

    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        const QString name = QStringLiteral("class%1_module%2").arg(it.key().first).arg(it.key().second);
        write(QStringLiteral("fuzz_link"), name, QByteArray(1, '\0') + it.value());
        // The same reports folded into a state of the unit's family (96 kHz).
        write(QStringLiteral("fuzz_stateframes"), name, QByteArray(1, '\1') + it.value());
    }

    // Firmware acknowledgements (class 1) and the unit's side of the preset
    // transfers (module 32), written out from their tables.
    write(QStringLiteral("fuzz_link"), QStringLiteral("firmware_acks"),
          QByteArray(1, '\0') + frame(1, 1, 1, 0x80, u16(0)) + frame(1, 2, 1, 0x80, u16(7))
              + frame(1, 1, 1, 0x80, u16(0xFFFF)));
    write(QStringLiteral("fuzz_link"), QStringLiteral("preset_transfers"),
          QByteArray(1, '\0') + frame(3, 32, 9, 0x80, QByteArray(1, 0)) + frame(3, 32, 9, 0x80, QByteArray(1, 50))
              + frame(3, 32, 9, 0x80, QByteArray(1, 100)) + frame(3, 32, 10, 0x80, u32(3000))
              + frame(3, 32, 12, 0x80, QByteArray(1024, 'p')) + frame(3, 32, 11, 0x80, u32(70000))
              + frame(3, 32, 6, 0x80, u16(0) + QByteArray(1024, 'a')) + frame(3, 32, 6, 0x80, u16(1))
              + frame(3, 32, 13, 0x80, u32(3000)) + frame(3, 32, 15, 0x80, u32(1024))
              + frame(3, 32, 14, 0x80, u32(70000)) + frame(3, 32, 7, 0x80, u16(0)));
    // The same replies meeting a page that waits for them: the first byte's
    // top bits start an export of one slot, an import of one slot (a file of
    // 3000 bytes) or an export of all slots.
    write(QStringLiteral("fuzz_link"), QStringLiteral("export_one"),
          QByteArray(1, char(0x40)) + frame(3, 32, 10, 0x80, u32(3000)) + frame(3, 32, 12, 0x80, QByteArray(1024, 'e'))
              + frame(3, 32, 12, 0x80, QByteArray(1024, 'f')) + frame(3, 32, 12, 0x80, QByteArray(952, 'g')));
    write(QStringLiteral("fuzz_link"), QStringLiteral("import_one"),
          QByteArray(1, char(0x80)) + frame(3, 32, 13, 0x80, u32(3000)) + frame(3, 32, 15, 0x80, u32(1024))
              + frame(3, 32, 15, 0x80, u32(1024)) + frame(3, 32, 15, 0x80, u32(952)));
    write(QStringLiteral("fuzz_link"), QStringLiteral("export_all"),
          QByteArray(1, char(0xC0)) + frame(3, 32, 11, 0x80, u32(2100))
              + frame(3, 32, 6, 0x80, u16(0) + QByteArray(1024, 'a'))
              + frame(3, 32, 6, 0x80, u16(1) + QByteArray(1024, 'b')) + frame(3, 32, 6, 0x80, u16(2) + QByteArray(52, 'c')));
    // Resynchronisation: garbage, a bad tail, a frame cut across reads of 3 bytes.
    QByteArray bad = frame(2, 1, 1, 0x80, QByteArray(1, 1));
    bad[bad.size() - 1] = 0;
    write(QStringLiteral("fuzz_link"), QStringLiteral("garbage_and_bad_tail"),
          QByteArray(1, 3) + QByteArray("\x00\x82\x82\x7d\x11", 5) + bad + frame(2, 1, 1, 0x80, QByteArray(1, 1))
              + frame(3, 13, 1, 0x80, QByteArray(1, 0)) + frame(4, 1, 1, 0x80, QByteArray()));
    QDir::setCurrent(previous);
}

void discoveryCorpus()
{
    broadcastMsg record;
    record.machineid = 100077;
    record.ipaddress = 0x7F00004D;
    record.runTime = 3723;
    record.totalTime = 3 * 86400 + 3723;
    record.statusFlag = 1;
    broadcastMsg::setFieldText(record.sn, broadcastMsg::SnSize, "CN-0000-1A2B-07xx");
    broadcastMsg::setFieldText(record.model, broadcastMsg::ModelSize, "OVX-480");
    broadcastMsg::setFieldText(record.ARMFirmware, broadcastMsg::FirmwareSize, "V1.2.3");
    broadcastMsg::setFieldText(record.DSPFirmware, broadcastMsg::FirmwareSize, "V1.0.5");
    broadcastMsg::setFieldText(record.location, broadcastMsg::TextSize, "Main hall");
    broadcastMsg::setFieldText(record.description, broadcastMsg::TextSize, "Left array");
    broadcastMsg::setFieldText(record.presetName, broadcastMsg::TextSize, "Default");
    write(QStringLiteral("fuzz_discovery"), QStringLiteral("one_unit"), record.encode());

    // The same unit again with every field changed (the merge path), and a
    // location longer than what is kept.
    broadcastMsg changed = record;
    changed.ipaddress = 0x7F00004E;
    changed.statusFlag = 0;
    changed.fault = 0x05;
    broadcastMsg::setFieldText(changed.model, broadcastMsg::ModelSize, "OVX-260");
    broadcastMsg::setFieldText(changed.ARMFirmware, broadcastMsg::FirmwareSize, "V2.0.0");
    broadcastMsg::setFieldText(changed.DSPFirmware, broadcastMsg::FirmwareSize, "V2.0.1");
    broadcastMsg::setFieldText(changed.location, broadcastMsg::TextSize, "Balcony left-rear 19");
    broadcastMsg::setFieldText(changed.description, broadcastMsg::TextSize, "It's \"quoted\"; --");
    broadcastMsg::setFieldText(changed.sn, broadcastMsg::SnSize, "SN-2");
    broadcastMsg::setFieldText(changed.presetName, broadcastMsg::TextSize, "Speech");
    write(QStringLiteral("fuzz_discovery"), QStringLiteral("unit_changes"),
          record.encode() + changed.encode() + changed.encode());

    broadcastMsg other = record;
    other.machineid = 32215;
    other.ipaddress = 0x7F00004F;
    write(QStringLiteral("fuzz_discovery"), QStringLiteral("two_units_and_short"),
          record.encode() + other.encode() + record.encode() + QByteArray(20, 'x'));
}

void presetCorpus()
{
    PresetImage image;
    image.gates[1].threshold = -65;
    image.inputLevels[2].gain = -12.5f;
    image.outputDelays[3] = 300.0f;
    image.feedback[0] = true;
    write(QStringLiteral("fuzz_preset"), QStringLiteral("defaults_48k"), QByteArray(1, 0) + PresetImage().pack48k());
    write(QStringLiteral("fuzz_preset"), QStringLiteral("edited_48k"), QByteArray(1, 0) + image.pack48k());
    write(QStringLiteral("fuzz_preset"), QStringLiteral("edited_96k"), QByteArray(1, 1) + image.pack96k());
}

void firCorpus()
{
    FirChannel design;
    design.taps = 256;
    design.firType = FirChannel::LowPass;
    design.lowFreq = 1000.0f;
    design.highFreq = 2000.0f;
    design.window = 7;
    design.kaiserBeta = 6.0f;
    write(QStringLiteral("fuzz_firfiles"), QStringLiteral("design_256"), QByteArray(1, 0) + design.headerBytes());
    design.taps = 512;
    design.firType = FirChannel::BandPass;
    write(QStringLiteral("fuzz_firfiles"), QStringLiteral("design_512"), QByteArray(1, 2) + design.headerBytes());
    const float taps[5] = {0.001f, -0.25f, 0.5f, -0.25f, 0.001f};
    write(QStringLiteral("fuzz_firfiles"), QStringLiteral("companion_text"),
          QByteArray(1, 1) + FirFiles::coefficientText(taps, 5));
    write(QStringLiteral("fuzz_firfiles"), QStringLiteral("external_text"),
          QByteArray(1, 3) + QByteArray("  1.5e-3\n-0.125\r\n\t0.75 \n2\n-1e-7"));
}

void localFilesCorpus()
{
    write(QStringLiteral("fuzz_localfiles"), QStringLiteral("cfg"),
          QByteArray(1, 0) + "current lang:1\r\ncode:7;\r\nEN:Hall processor\r\nCN:\xe5\xa4\xa7\xe5\x8e\x85\r\nHighDpiScaling:0\r\n");
    write(QStringLiteral("fuzz_localfiles"), QStringLiteral("cfg_damaged"),
          QByteArray(1, 0) + "current lang:\ncode:x\nEN:\nHighDpiScaling:\ncode:70000\r\n");
    write(QStringLiteral("fuzz_localfiles"), QStringLiteral("language"),
          QByteArray(1, 1) + "lang:english.qm;font:Arial;\r\nfont:SimSun;lang:chinese.qm;\r\nlang:x\r\n\r\n");
}

void firmwareCorpus()
{
    QByteArray arm("\x7f\x8c\x20\x00\x10\x00\x00\x00", 8);
    arm += QByteArray(16, '\x5a') + QByteArray("\xf0\x7f\x8c\xf0", 4);
    write(QStringLiteral("fuzz_firmware"), QStringLiteral("arm"), QByteArray(1, 0) + arm);
    write(QStringLiteral("fuzz_firmware"), QStringLiteral("dsp"), QByteArray(1, 1) + QByteArray(40, '\x11'));
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("orvalix.*.debug=false"));
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    outDir = QDir(QString::fromLocal8Bit(argv[1]));
    outDir.mkpath(QStringLiteral("."));
    discoveryCorpus();
    presetCorpus();
    firCorpus();
    localFilesCorpus();
    firmwareCorpus();
    linkCorpus();
    return 0;
}
