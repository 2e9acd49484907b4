// orvalix-cli end to end: the built program run as a process against an
// in-process virtual unit on a loopback address of its own.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

#include "coresupport.h"
#include "core/presets/presetimage.h"
#include "core/state/parametercatalog.h"
#include "core/state/statejson.h"
#include "firmwaremodule.h"
#include "presetmodule.h"
#include "securitymodule.h"
#include "statefiles.h"
#include "systemmodule.h"
#include "unitannouncer.h"
#include "virtualunit.h"

namespace {

struct Run
{
    int code = -1;
    QByteArray out;
    QByteArray err;
};

enum class Setup { None, Password, Silent, Locked, WrongOp, GoneMidExport, UsedSlot, Family48k };

// Settings away from the defaults in most modules.
const char *const someSettings[][2] = {
    {"in.A.gain_db", "-6"},           {"in.B.mute", "on"},         {"in.D.gate.threshold_db", "-40"},
    {"in.A.peq.4.freq_hz", "250"},    {"in.C.deq.2.enable", "on"}, {"in.B.limiter.threshold_db", "-12.5"},
    {"in.C.delay_ms", "7.5"},         {"out.3.delay_ms", "12.34"}, {"out.3.limiter.threshold_db", "-3"},
    {"matrix.out.3.in.A.gain_db", "-6"}, {"generator.freq_hz", "440"}, {"out.2.fir.enable", "on"},
    {"out.7.lpf.freq_hz", "1200"},    {"out.5.invert", "on"},
};

UnitState changedState(UnitFamily family)
{
    UnitState state(family);
    for (const auto &s : someSettings)
        ParameterCatalog::setFromText(state, QLatin1String(s[0]), QLatin1String(s[1]));
    return state;
}

class Rig
{
public:
    explicit Rig(const QString &password = QString(), int family = 1)
        : unit(options(password, family))
    {
    }

    static VirtualUnit::Options options(const QString &password, int family)
    {
        VirtualUnit::Options o;
        o.address = uniqueLoopback();
        o.port = 0;
        o.password = password;
        o.family = family;
        return o;
    }

    // %A the unit's address, %X an address nothing listens on, %D the scratch
    // folder; the unit's port follows every argument list that names %A.
    QStringList expand(const QStringList &arguments) const
    {
        QStringList out;
        for (QString a : arguments) {
            a.replace(QLatin1String("%A"), unit.address().toString());
            a.replace(QLatin1String("%X"), nowhere.toString());
            a.replace(QLatin1String("%D"), dir.path());
            out.append(a);
        }
        if (arguments.join(QLatin1Char(' ')).contains(QLatin1String("%A")))
            out << QStringLiteral("--port") << QString::number(unit.port()) << QStringLiteral("--timeout")
                << QStringLiteral("2");
        return out;
    }

    Run run(const QStringList &arguments, const QByteArray &input = QByteArray()) const
    {
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.start(QStringLiteral(ORVALIX_CLI_PATH), expand(arguments));
        Run r;
        if (!process.waitForStarted(5000))
            return r;
        process.write(input);
        process.closeWriteChannel();
        // The unit lives in this process: keep its event loop turning.
        if (!waitUntil([&] { return process.state() == QProcess::NotRunning; }, 30000))
            process.kill();
        process.waitForFinished(1000);
        r.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        r.out = process.readAllStandardOutput();
        r.err = process.readAllStandardError();
        return r;
    }

    PresetModule &presets() { return *unit.findModule<PresetModule>(); }

    VirtualUnit unit;
    QHostAddress nowhere = uniqueLoopback();
    QTemporaryDir dir;
};

} // namespace

Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(UnitFamily)

class tst_Cli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exitCodes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out"); // a part of standard output
        QTest::addColumn<QString>("err"); // a part of standard error

        const auto row = [](const char *name, const QString &args, Setup setup, int code, const char *out,
                            const char *err) {
            QTest::newRow(name) << args.split(QLatin1Char(' ')) << setup << code << QString::fromUtf8(out)
                                << QString::fromUtf8(err);
        };
        const auto none = Setup::None;
        row("help", QStringLiteral("--help"), none, 0, "Exit codes", "");
        row("unknown subcommand", QStringLiteral("frobnicate"), none, 1, "", "unknown subcommand 'frobnicate'");
        row("subcommand help", QStringLiteral("get --help"), none, 0, "ADDRESS [PATH...]", "");
        row("unknown option", QStringLiteral("info %A --colour"), none, 1, "", "--help");
        row("bad port", QStringLiteral("info 127.0.0.1 --port 70000"), none, 1, "", "--port");
        row("not an address", QStringLiteral("info unit-7 --port 1"), none, 1, "", "IPv4");
        row("info", QStringLiteral("info %A"), none, 0, "model:", "");
        row("info json", QStringLiteral("info %A --json"), none, 0, "\"arm_version\": \"V1.2.3\"", "");
        row("get part", QStringLiteral("get %A out.3.limiter generator.freq_hz"), none, 0, "\"threshold_db\"", "");
        // Names scripts are promised.
        row("get promised names",
            QStringLiteral("get %A in.A.gain_db in.A.mute in.A.invert in.A.gate.threshold_db in.A.peq.4.freq_hz "
                           "out.3.gain_db out.3.mute out.3.delay_ms out.3.limiter.threshold_db "
                           "matrix.out.3.in.A.gain_db generator.freq_hz"),
            none, 0, "\"threshold_db\": -65", "");
        row("get unknown path", QStringLiteral("get %A out.3.limiter.thresold_db"), none, 1, "",
            "out.3.limiter.threshold_db");
        row("set out of range", QStringLiteral("set %A out.3.gain_db=20"), none, 0, "out.3.gain_db: 0.0 -> 12.0",
            "maximum 12.0 dB");
        row("set unknown path", QStringLiteral("set %A in.A.gane_db=3 out.1.mute=on"), none, 1, "", "in.A.gain_db");
        row("set unreadable value", QStringLiteral("set %A in.A.mute=perhaps"), none, 1, "", "in.A.mute");
        row("set without =", QStringLiteral("set %A in.A.mute"), none, 1, "", "PATH=VALUE");
        row("set bad JSON", QStringLiteral("set %A --from %D/bad.json"), none, 4, "", "not valid JSON");
        row("mute all", QStringLiteral("mute %A all"), none, 0, "out.8.mute: off -> on", "");
        row("unmute one", QStringLiteral("unmute %A B"), none, 0, "", "nothing to send");
        row("mute no channel", QStringLiteral("mute %A 9"), none, 1, "", "outputs 1-8");
        row("unreachable", QStringLiteral("info %X --port 2699"), none, 2, "", "cannot connect");
        row("silent unit", QStringLiteral("get %A"), Setup::Silent, 2, "", "");
        row("wrong password", QStringLiteral("info %A --password nope"), Setup::Password, 3, "", "password");
        row("right password", QStringLiteral("info %A --password secret"), Setup::Password, 0, "model:", "");
        row("locked channel", QStringLiteral("set %A out.3.gain_db=-3"), Setup::Locked, 3, "", "out.3.gain_db");
        row("lock without its password", QStringLiteral("set %A out.3.lock.level=hidden"), none, 1, "",
            "--lock-password");
        row("lock with its password", QStringLiteral("set %A out.3.lock.level=hidden --lock-password 123456"),
            none, 0, "out.3.lock.level: free -> hidden", "");
        row("malformed replies", QStringLiteral("get %A"), Setup::WrongOp, 5, "", "");
        row("preset list", QStringLiteral("preset list %A"), Setup::UsedSlot, 0, " 1  Intro", "");
        row("preset bad slot", QStringLiteral("preset recall %A 33"), none, 1, "", "1 to 32");
        row("preset recall unused", QStringLiteral("preset recall %A 2"), none, 1, "", "empty");
        row("preset export", QStringLiteral("preset export %A 1 %D/one.pst1"), Setup::UsedSlot, 0, "", "");
        row("preset export unwritable", QStringLiteral("preset export %A 1 %D/no/such/one.pst1"), Setup::UsedSlot, 4,
            "", "cannot be written");
        row("unit gone mid-transfer", QStringLiteral("preset export %A 1 %D/one.pst1"), Setup::GoneMidExport, 2, "",
            "lost part way");
        row("import missing file", QStringLiteral("preset import %A 1 %D/none.pst1"), none, 4, "", "none.pst1");
        row("backup unwritable folder", QStringLiteral("backup %A /proc/orvalix-backup"), none, 4, "",
            "/proc/orvalix-backup");
        row("restore without a terminal", QStringLiteral("restore %D/bk %A"), none, 1, "", "--yes");
        row("push without a terminal", QStringLiteral("push %D/p.json %A"), none, 1, "out.3.delay_ms: 0.00 -> 12.34",
            "--yes");
        row("push", QStringLiteral("push %D/p.json %A --yes"), none, 0, "out.3.delay_ms: 0.00 -> 12.34", "");
        row("offline wrong size", QStringLiteral("offline to-json %D/bad.json"), none, 4, "", "19642");
        row("offline missing", QStringLiteral("offline to-json %D/none.pst1"), none, 4, "", "none.pst1");
        row("from-json bad JSON", QStringLiteral("offline from-json %D/bad.json %D/x.pst1"), none, 4, "", "line 1");
        row("from-json bad value", QStringLiteral("offline from-json %D/badvalue.json %D/x.pst1"), none, 1, "",
            "in.A.hpf.type");
        row("diff of a file and a unit", QStringLiteral("diff %D/p.json %A"), none, 0,
            "out.3.delay_ms: 12.34 -> 0.00", "");
        row("bad timeout", QStringLiteral("info 127.0.0.1 --timeout 0"), none, 1, "", "--timeout");
        row("discover bad seconds", QStringLiteral("discover --seconds soon"), none, 1, "", "--seconds");
        row("name too long", QStringLiteral("preset rename %A 1 ABCDEFGHIJKLMNOPQ"), Setup::UsedSlot, 1, "",
            "16 bytes");
        row("set from flat JSON", QStringLiteral("set %A --from %D/p.json"), none, 0, "out.3.delay_ms: 0.00 -> 12.34", "");
        row("diff as JSON", QStringLiteral("diff %A %D/p.json --json"), none, 0, "\"after\": 12.34", "");
        row("48 kHz unit lacks input delay", QStringLiteral("get %A in.A.delay_ms"), Setup::Family48k, 1, "",
            "96 kHz");
        row("48 kHz unit's delay limit", QStringLiteral("set %A out.6.delay_ms=200"), Setup::Family48k, 0,
            "out.6.delay_ms: 0.00 -> 148.00", "148");
        row("backup of one family onto another", QStringLiteral("restore %D/bk96 %A --yes"), Setup::Family48k, 1, "",
            "96k");
        row("export-all then import-all", QStringLiteral("preset export-all %A %D/all"), Setup::UsedSlot, 0, "", "");
        row("firmware without target", QStringLiteral("firmware %A %D/fw.bin"), none, 1, "", "--target");
        row("firmware bad header", QStringLiteral("firmware %A %D/fw.bin --target arm"), none, 4, "", "7F 8C");
        row("firmware", QStringLiteral("firmware %A %D/fw.bin --target dsp"), none, 0, "", "");
    }

    void exitCodes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Setup, setup);
        QFETCH(int, code);
        QFETCH(QString, out);
        QFETCH(QString, err);

        Rig rig(setup == Setup::Password ? QStringLiteral("secret") : QString(), setup == Setup::Family48k ? 2 : 1);
        QVERIFY(rig.unit.start());
        const auto write = [&](const QString &name, const QByteArray &bytes) {
            QFile file(rig.dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        };
        write(QStringLiteral("bad.json"), "{\"in\": {\"A\": {\"gain_db\": }}");
        write(QStringLiteral("badvalue.json"), "{\"in.A.hpf.type\": \"chebyshev\"}");
        write(QStringLiteral("p.json"), "{\"out\": {\"3\": {\"delay_ms\": 12.34}}}");
        write(QStringLiteral("fw.bin"), QByteArray(5000, '\x5A'));
        QDir(rig.dir.path()).mkpath(QStringLiteral("bk"));
        write(QStringLiteral("bk/state.json"), "{\"in.A.gain_db\": -3}");
        QDir(rig.dir.path()).mkpath(QStringLiteral("bk96"));
        write(QStringLiteral("bk96/state.json"), "{\"unit\": {\"family\": \"96k\"}}");

        switch (setup) {
        case Setup::Silent:
            rig.unit.setSilent(true);
            break;
        case Setup::Locked:
            rig.unit.findModule<SecurityModule>()->setPageLock(Protocol::Security::OutLevel, 2,
                                                               quint8(LockState::ReadOnly));
            break;
        case Setup::WrongOp:
            rig.unit.setReportFault(VirtualUnit::ReportFault::WrongOp);
            break;
        case Setup::GoneMidExport:
            connect(&rig.unit, &VirtualUnit::frameReceived, &rig.unit, [&rig](const UnitFrame &f) {
                if (f.cls == 3 && f.module == Frame::Presets && f.param == Protocol::Presets::ExportChunk
                    && rig.unit.receivedMatching(3, Frame::Presets, Protocol::Presets::ExportChunk).size() == 5)
                    rig.unit.dropClient();
            });
            Q_FALLTHROUGH();
        case Setup::UsedSlot:
            rig.presets().save(rig.unit, 0);
            rig.presets().rename(0, "Intro");
            break;
        case Setup::None:
        case Setup::Password:
        case Setup::Family48k:
            break;
        }

        const Run r = rig.run(arguments);
        QVERIFY2(r.code == code, qPrintable(QStringLiteral("exit %1, expected %2; stderr: %3")
                                                .arg(r.code)
                                                .arg(code)
                                                .arg(QString::fromUtf8(r.err))));
        QVERIFY2(QString::fromUtf8(r.out).contains(out), r.out.constData());
        QVERIFY2(QString::fromUtf8(r.err).contains(err), r.err.constData());
        // Messages never go to standard output, nor results to standard error.
        if (code != 0)
            QVERIFY(!r.err.isEmpty());
        // A failed export leaves no file under its name, whole or partial.
        if (setup == Setup::GoneMidExport)
            QVERIFY(!QFileInfo::exists(rig.dir.filePath(QStringLiteral("one.pst1"))));
        if (QTest::currentDataTag() == QByteArray("export-all then import-all")) {
            rig.presets().erase(0);
            const Run back = rig.run({QStringLiteral("preset"), QStringLiteral("import-all"), QStringLiteral("%A"),
                                      QStringLiteral("%D/all")});
            QVERIFY2(back.code == 0, back.err.constData());
            QVERIFY(rig.presets().slotTable[0].used);
            QCOMPARE(rig.presets().slotTable[0].name.left(5), QByteArray("Intro"));
        }
        if (QTest::currentDataTag() == QByteArray("firmware"))
            QCOMPARE(rig.unit.findModule<FirmwareModule>()->imageSize(Protocol::Firmware::Dsp), 5000);
    }

    // What get prints, set takes back: a second unit given the first one's
    // JSON holds the same state.
    void getThenSetCopiesTheState()
    {
        Rig a;
        Rig b;
        QVERIFY(a.unit.start() && b.unit.start());
        Run r = a.run({QStringLiteral("set"), QStringLiteral("%A"), QStringLiteral("in.A.gain_db=-6"),
                       QStringLiteral("out.3.delay_ms=12.34"), QStringLiteral("matrix.out.3.in.A.gain_db=-6"),
                       QStringLiteral("in.A.peq.4.freq_hz=250"), QStringLiteral("generator.freq_hz=440"),
                       QStringLiteral("out.3.limiter.threshold_db=-3"), QStringLiteral("in.A.gate.threshold_db=-40"),
                       QStringLiteral("out.3.mute=on"), QStringLiteral("in.A.invert=on")});
        QCOMPARE(r.code, 0);
        const Run got = a.run({QStringLiteral("get"), QStringLiteral("%A")});
        QCOMPARE(got.code, 0);
        r = b.run({QStringLiteral("set"), QStringLiteral("%A"), QStringLiteral("-")}, got.out);
        QVERIFY2(r.code == 0, r.err.constData());
        QVERIFY(r.out.contains("out.3.delay_ms: 0.00 -> 12.34"));
        QCOMPARE(b.run({QStringLiteral("get"), QStringLiteral("%A")}).out, got.out);
        QCOMPARE(b.run({QStringLiteral("diff"), QStringLiteral("%A"), a.unit.address().toString()}).out, QByteArray());
    }

    void offlineFilesComeBackByteForByte_data()
    {
        QTest::addColumn<UnitFamily>("family");
        QTest::newRow("48 kHz") << UnitFamily::Sharc48k;
        QTest::newRow("96 kHz") << UnitFamily::Sharc96k;
    }

    void offlineFilesComeBackByteForByte()
    {
        QFETCH(UnitFamily, family);
        Rig rig;
        const QByteArray image = changedState(family).dsp.pack(UnitState::presetVariant(family));
        QFile file(rig.dir.filePath(QStringLiteral("show.pst1")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(image) == image.size());
        file.close();

        const Run json = rig.run({QStringLiteral("offline"), QStringLiteral("to-json"), QStringLiteral("%D/show.pst1")});
        QCOMPARE(json.code, 0);
        QVERIFY(json.err.isEmpty());
        QVERIFY(json.out.contains("\"family\": \"" + UnitState::familyName(family).toLatin1() + '"'));
        // Only what the file carries: no labels, locks or unit texts.
        QVERIFY(!json.out.contains("\"label\"") && !json.out.contains("\"lock\"") && !json.out.contains("location"));
        const Run back = rig.run({QStringLiteral("offline"), QStringLiteral("from-json"), QStringLiteral("-"),
                                  QStringLiteral("%D/again.pst1")},
                                 json.out);
        QVERIFY2(back.code == 0, back.err.constData());
        QFile again(rig.dir.filePath(QStringLiteral("again.pst1")));
        QVERIFY(again.open(QIODevice::ReadOnly));
        QCOMPARE(again.readAll(), image);
        // Two files differ where the states do.
        QVERIFY(rig.run({QStringLiteral("offline"), QStringLiteral("from-json"), QStringLiteral("-"),
                         QStringLiteral("%D/p.pst1"), QStringLiteral("--family"), UnitState::familyName(family)},
                        "{\"in.A.gain_db\": -6}")
                    .code
                == 0);
        const QByteArray lines = rig.run({QStringLiteral("diff"), QStringLiteral("%D/show.pst1"),
                                          QStringLiteral("%D/p.pst1")})
                                     .out;
        QVERIFY2(lines.contains("in.B.mute: on -> off\n"), lines.constData());
        QVERIFY2(!QByteArray(QByteArrayLiteral("\n") + lines).contains("\nin.A.gain_db:"), lines.constData());
    }

    // export then import gives the same slot; backup then restore gives
    // the same unit.
    void slotsAndBackupsComeBack()
    {
        Rig rig;
        QVERIFY(rig.unit.start());
        QVERIFY(rig.run({QStringLiteral("set"), QStringLiteral("%A"), QStringLiteral("out.3.delay_ms=12.34"),
                         QStringLiteral("in.C.delay_ms=7.5")})
                    .code
                == 0);
        QCOMPARE(rig.run({QStringLiteral("preset"), QStringLiteral("save"), QStringLiteral("%A"), QStringLiteral("2"),
                          QStringLiteral("Verse")})
                     .code,
                 0);
        QCOMPARE(rig.run({QStringLiteral("preset"), QStringLiteral("export"), QStringLiteral("%A"),
                          QStringLiteral("2"), QStringLiteral("%D/two.pst1")})
                     .code,
                 0);
        QCOMPARE(rig.run({QStringLiteral("preset"), QStringLiteral("import"), QStringLiteral("%A"),
                          QStringLiteral("7"), QStringLiteral("%D/two.pst1")})
                     .code,
                 0);
        QCOMPARE(rig.presets().slotTable[6].settings, rig.presets().slotTable[1].settings);
        QCOMPARE(rig.presets().slotTable[6].name, rig.presets().slotTable[1].name);

        const Run backup = rig.run({QStringLiteral("backup"), QStringLiteral("%A"), QStringLiteral("%D/bk")});
        QVERIFY2(backup.code == 0, backup.err.constData());
        const QStringList files = QDir(rig.dir.filePath(QStringLiteral("bk"))).entryList(QDir::Files);
        QCOMPARE(files, (QStringList{QStringLiteral("info.json"), QStringLiteral("slot-02.pst1"),
                                     QStringLiteral("slot-07.pst1"), QStringLiteral("slots.json"),
                                     QStringLiteral("state.json")}));
        const QByteArray before = rig.run({QStringLiteral("get"), QStringLiteral("%A")}).out;

        // Change the unit, then put the backup back.
        rig.presets().erase(1);
        rig.presets().save(rig.unit, 9);
        QVERIFY(rig.run({QStringLiteral("set"), QStringLiteral("%A"), QStringLiteral("out.3.delay_ms=1"),
                         QStringLiteral("in.A.label=Kick")})
                    .code
                == 0);
        const Run restore = rig.run({QStringLiteral("restore"), QStringLiteral("%D/bk"), QStringLiteral("%A"),
                                     QStringLiteral("--yes")});
        QVERIFY2(restore.code == 0, restore.err.constData());
        QVERIFY(restore.out.contains("out.3.delay_ms: 1.00 -> 12.34"));
        QVERIFY(restore.out.contains("preset 10: delete"));
        QCOMPARE(rig.run({QStringLiteral("get"), QStringLiteral("%A")}).out, before);
        QVERIFY(rig.presets().slotTable[1].used && !rig.presets().slotTable[9].used);
        QCOMPARE(rig.presets().slotTable[1].settings, rig.presets().slotTable[6].settings);
    }

    void discoverListensOnly()
    {
        Rig rig;
        QVERIFY(rig.unit.start());
        // A port of its own from the process id, so parallel runs do not meet.
        const quint16 port = quint16(40000 + QCoreApplication::applicationPid() % 20000);
        UnitAnnouncer::Options options;
        options.announceTo = QHostAddress(QHostAddress::LocalHost);
        options.announcePort = port;
        options.bindAddress = rig.unit.address();
        options.commandPort = 0;
        options.intervalMs = 200;
        UnitAnnouncer announcer(&rig.unit, options);
        QVERIFY(announcer.start());
        const Run r = rig.run({QStringLiteral("discover"), QStringLiteral("--seconds"), QStringLiteral("1"),
                               QStringLiteral("--discovery-port"), QString::number(port), QStringLiteral("--json")});
        QCOMPARE(r.code, 0);
        const QJsonArray units = QJsonDocument::fromJson(r.out).array();
        QCOMPARE(units.size(), 1);
        QCOMPARE(units.at(0)[QStringLiteral("model")].toString(), QStringLiteral("OVX-480"));
        QCOMPARE(units.at(0)[QStringLiteral("location")].toString(), QStringLiteral("Main hall"));
        QVERIFY(units.at(0)[QStringLiteral("online")].toBool());
    }

    // The parameters to-json writes are exactly those the file changes with.
    void presetFilesCarryWhatTheySay_data()
    {
        offlineFilesComeBackByteForByte_data();
    }

    void presetFilesCarryWhatTheySay()
    {
        QFETCH(UnitFamily, family);
        const ParameterCatalog &catalog = ParameterCatalog::of(family);
        const UnitState base(family);
        const QByteArray image = base.dsp.pack(UnitState::presetVariant(family));
        for (const Parameter &p : catalog.parameters()) {
            if (p.readOnly || p.kind == Parameter::Kind::Text || p.kind == Parameter::Kind::Coefficients)
                continue;
            UnitState changed = base;
            const double now = p.number(base);
            const double value = p.kind == Parameter::Kind::Bool ? 1 - now
                : p.kind == Parameter::Kind::Choice              ? double((int(now) + 1) % p.choices.size())
                : now == p.maximum                               ? p.minimum
                                                                 : p.maximum;
            p.setNumber(changed, value);
            const bool inFile = changed.dsp.pack(UnitState::presetVariant(family)) != image;
            QVERIFY2(inFile == StateFiles::presetCarries(p, family), qPrintable(p.path));
        }
    }
};

QTEST_GUILESS_MAIN(tst_Cli)
#include "tst_cli.moc"
