// The unit driven without a window: a UnitClient against the virtual unit
// over loopback. States written and read back whole, sets pulled into range
// as the pages pull them, the frames a set makes written out by hand, and a
// clear error for every way a unit can fail a controller.

#include <QTimer>
#include <QtTest>

#include "core/client/stateframes.h"
#include "core/client/unitclient.h"
#include "core/link/frame.h"
#include "core/records/wirefloat.h"
#include "core/state/parametercatalog.h"
#include "core/transfers/presettransfer.h"
#include "coresupport.h"
#include "levelmodule.h"
#include "presetmodule.h"
#include "securitymodule.h"
#include "systemmodule.h"
#include "virtualunit.h"

namespace {

// Long enough for a loaded machine; the failures that wait it out are few.
constexpr int TimeoutMs = 1000;
const QString LockPassword = QStringLiteral("123456");

using Settings = QVector<QPair<const char *, const char *>>;

VirtualUnit::Options unitOptions(UnitFamily family, const QString &password = QString())
{
    VirtualUnit::Options o;
    o.address = uniqueLoopback();
    o.port = 0;
    o.family = family == UnitFamily::Sharc96k ? 1 : 2;
    o.password = password;
    return o;
}

// A state with the settings made one after another as an operator makes them.
UnitState stateWith(UnitFamily family, const Settings &settings)
{
    UnitState state(family);
    for (const auto &s : settings) {
        const SetResult r =
            ParameterCatalog::setFromText(state, QString::fromLatin1(s.first), QString::fromLatin1(s.second));
        if (!r.ok())
            qWarning() << "setting" << s.first << r.message;
    }
    return state;
}

// Many values away from the defaults, in every module the families share.
// The gains come before the groups, so a group holds members that differ.
Settings manySettings()
{
    return {
        {"unit.location", "Stage left"},    {"unit.description", "Fills"},
        {"unit.panel_lock", "on"},          {"unit.all_mute", "on"},
        {"in.A.label", "Vocal"},            {"out.8.label", "Sub R"},
        {"in.C.source", "aes"},             {"in.B.trim_db", "-3.5"},
        {"out.2.trim_db", "1.5"},           {"in.A.gain_db", "-6"},
        {"in.B.gain_db", "-9.5"},           {"in.A.mute", "on"},
        {"in.A.group", "1"},                {"in.B.group", "1"},
        {"out.5.group", "3"},               {"out.6.group", "3"},
        {"out.3.invert", "on"},             {"in.D.gate.enable", "on"},
        {"in.D.gate.threshold_db", "-40"},  {"in.D.gate.attack_ms", "25"},
        {"in.D.gate.decay_ms", "300"},      {"in.B.feedback.enable", "on"},
        {"in.A.hpf.enable", "on"},          {"in.A.hpf.type", "link-riley"},
        {"in.A.hpf.slope", "24db/oct"},     {"in.A.hpf.freq_hz", "80"},
        {"out.7.lpf.freq_hz", "1200"},      {"out.7.peq.16.enable", "on"},
        {"out.7.peq.16.gain_db", "-7.5"},   {"out.7.peq.16.freq_hz", "3150"},
        {"out.7.peq.16.type", "highshelf"}, {"in.C.peq.3.q", "2"},
        {"in.D.deq.2.enable", "on"},        {"in.D.deq.2.mode", "cut-above"},
        {"in.D.deq.2.threshold_db", "-20"}, {"in.D.deq.2.ratio", "4"},
        {"in.B.limiter.enable", "on"},      {"in.B.limiter.threshold_db", "-12.5"},
        {"out.4.limiter.ratio", "8"},       {"out.4.limiter.decay_ms", "250"},
        {"out.1.delay_ms", "12.34"},        {"out.8.delay_ms", "100"},
        {"matrix.out.1.in.A.enable", "on"}, {"matrix.out.1.in.B.enable", "on"},
        {"matrix.out.1.in.A.gain_db", "-6"}, {"matrix.out.1.in.B.gain_db", "-12"},
        {"matrix.out.8.in.D.gain_db", "5"}, {"generator.source", "pinknoise"},
        {"generator.gain_db", "-20"},       {"generator.mute", "on"},
        {"generator.out.2.enable", "on"},   {"out.2.fir.enable", "on"},
        {"out.2.fir.type", "low-pass"},     {"out.2.fir.low_freq_hz", "800"},
        {"out.2.fir.window", "hamming"},    {"out.5.lock.level", "read-only"},
        {"in.C.lock.gate", "hidden"},       {"out.1.lock.peq.4", "read-only"},
        {"in.B.lock.graph", "hidden"},      {"out.6.lock.matrix", "read-only"},
        {"out.7.lock.level", "hidden"},     {"out.1.lock.level", "read-only"},
    };
}

Settings familyOneSettings()
{
    return {{"unit.lcd_page", "preset"}, {"in.C.delay_ms", "7.5"}, {"in.A.lock.deq", "read-only"},
            {"out.3.lock.fir", "hidden"}};
}

// What the virtual unit holds when it starts: factory settings and the
// texts of its stand.
UnitState unitDefaults(UnitFamily family)
{
    UnitState state(family);
    state.location = QStringLiteral("Main hall");
    state.description = QStringLiteral("Left array");
    return state;
}

QString diffText(const UnitState &a, const UnitState &b)
{
    return StateDiff::lines(StateDiff::between(a, b)).mid(0, 8).join(QLatin1Char('\n'));
}

QByteArray f32(float value)
{
    uchar raw[4];
    WireFloat::write(raw, value);
    return QByteArray(reinterpret_cast<const char *>(raw), 4);
}

struct Rig
{
    explicit Rig(UnitFamily family = UnitFamily::Sharc96k, const QString &password = QString())
        : unit(unitOptions(family, password))
    {
        client.setTimeout(TimeoutMs);
    }

    bool start() { return unit.start() && connect(client); }
    bool connect(UnitClient &c) { return c.connectToUnit(unit.address(), unit.port()); }
    int framesOf(quint8 cls, quint8 module) const
    {
        int n = 0;
        for (const UnitFrame &f : unit.received())
            n += f.cls == cls && f.module == module ? 1 : 0;
        return n;
    }

    VirtualUnit unit;
    UnitClient client;
};

} // namespace

Q_DECLARE_METATYPE(UnitFamily)
Q_DECLARE_METATYPE(UnitClient::Error)
Q_DECLARE_METATYPE(Settings)

class TestUnitClient : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data()
    {
        QTest::addColumn<UnitFamily>("family");
        QTest::newRow("96k") << UnitFamily::Sharc96k;
        QTest::newRow("48k") << UnitFamily::Sharc48k;
    }
    void roundTrip()
    {
        QFETCH(UnitFamily, family);
        Rig rig(family);
        QVERIFY(rig.start());

        UnitState fresh;
        QVERIFY2(rig.client.readState(&fresh), qPrintable(rig.client.errorText()));
        QCOMPARE(fresh.family(), family);
        QVERIFY2(fresh == unitDefaults(family), qPrintable(diffText(unitDefaults(family), fresh)));

        Settings settings = manySettings();
        if (family == UnitFamily::Sharc96k)
            settings += familyOneSettings();
        const UnitState target = stateWith(family, settings);
        QVERIFY(StateDiff::between(fresh, target).size() >= settings.size());
        QCOMPARE(target.dsp.inputLevels[0].group, target.dsp.inputLevels[1].group);
        QVERIFY(target.dsp.inputLevels[0].gain != target.dsp.inputLevels[1].gain);

        // Locks change only while the security page is open.
        QVERIFY(!rig.client.apply(target));
        QCOMPARE(rig.client.error(), UnitClient::Error::Locked);
        QVERIFY2(rig.client.openSecurity(LockPassword), qPrintable(rig.client.errorText()));
        QVector<StateChange> sent;
        QVERIFY2(rig.client.apply(target, &sent), qPrintable(rig.client.errorText()));
        QCOMPARE(sent.size(), StateDiff::between(fresh, target).size());
        QVERIFY(rig.client.closeSecurity());
        // The unit's own records, not only what a client reads back.
        QCOMPARE(rig.unit.system().location, QByteArray("Stage left"));
        QCOMPARE(rig.unit.findModule<LevelModule>()->inputs[1].gain, -9.5f);

        UnitClient second;
        second.setTimeout(TimeoutMs);
        QVERIFY(rig.connect(second));
        UnitState read(family == UnitFamily::Sharc96k ? UnitFamily::Sharc48k : UnitFamily::Sharc96k);
        QVERIFY2(second.readState(&read), qPrintable(second.errorText()));
        QVERIFY2(read == target, qPrintable(diffText(target, read)));

        // Nothing differs: nothing is sent.
        rig.unit.clearReceived();
        QVERIFY(second.apply(target, &sent));
        QVERIFY(sent.isEmpty());
        QTest::qWait(20);
        QCOMPARE(rig.unit.received().size(), 0);
    }

    void setLimits_data()
    {
        QTest::addColumn<UnitFamily>("family");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("held");
        QTest::addColumn<bool>("adjusted");
        const auto k96 = UnitFamily::Sharc96k;
        const auto k48 = UnitFamily::Sharc48k;
        QTest::newRow("gain above the top") << k96 << QStringLiteral("out.3.gain_db") << QStringLiteral("20") << 12.0 << true;
        QTest::newRow("gain between steps") << k96 << QStringLiteral("in.B.gain_db") << QStringLiteral("-6.04") << -6.0 << true;
        QTest::newRow("gain in range") << k96 << QStringLiteral("in.B.gain_db") << QStringLiteral("-6.5dB") << -6.5 << false;
        QTest::newRow("input delay above") << k96 << QStringLiteral("in.A.delay_ms") << QStringLiteral("5000") << 1000.0 << true;
        QTest::newRow("48k rear delay") << k48 << QStringLiteral("out.6.delay_ms") << QStringLiteral("500") << 148.0 << true;
        QTest::newRow("48k odd hundredths") << k48 << QStringLiteral("out.1.delay_ms") << QStringLiteral("10.01") << 10.02 << true;
        QTest::newRow("cross-point below") << k96 << QStringLiteral("matrix.out.4.in.C.gain_db") << QStringLiteral("-99") << -70.0 << true;
        QTest::newRow("q onto the table") << k96 << QStringLiteral("out.2.peq.5.q") << QStringLiteral("7") << 7.1 << true;
        QTest::newRow("gate threshold") << k48 << QStringLiteral("in.A.gate.threshold_db") << QStringLiteral("10") << 0.0 << true;
        QTest::newRow("limiter ratio") << k96 << QStringLiteral("out.8.limiter.ratio") << QStringLiteral("250") << 100.0 << true;
        QTest::newRow("generator freq") << k96 << QStringLiteral("generator.freq_hz") << QStringLiteral("20000.9") << 20000.0 << true;
    }
    void setLimits()
    {
        QFETCH(UnitFamily, family);
        QFETCH(QString, path);
        QFETCH(QString, text);
        QFETCH(double, held);
        QFETCH(bool, adjusted);
        Rig rig(family);
        QVERIFY(rig.start());
        const SetResult r = rig.client.setFromText(path, text);
        QVERIFY2(r.ok(), qPrintable(r.message));
        QCOMPARE(r.outcome == SetResult::Outcome::Adjusted, adjusted);
        QCOMPARE(r.value.toDouble(), held);

        // A fresh client reads what the unit holds.
        UnitClient second;
        second.setTimeout(TimeoutMs);
        UnitState read;
        QVERIFY(rig.connect(second));
        QVERIFY2(second.readState(&read), qPrintable(second.errorText()));
        QCOMPARE(ParameterCatalog::get(read, path).toDouble(), held);
        QVERIFY2(read == rig.client.state(), qPrintable(diffText(rig.client.state(), read)));
    }

    void refusedWithoutSending_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("text");
        QTest::addColumn<UnitClient::Error>("error");
        QTest::newRow("unknown path") << QStringLiteral("in.E.gain_db") << QStringLiteral("-6") << UnitClient::Error::UnknownPath;
        QTest::newRow("mistyped leaf") << QStringLiteral("out.3.gain") << QStringLiteral("-6") << UnitClient::Error::UnknownPath;
        QTest::newRow("unreadable value") << QStringLiteral("in.A.mute") << QStringLiteral("maybe") << UnitClient::Error::InvalidValue;
        QTest::newRow("unknown choice") << QStringLiteral("in.A.hpf.type") << QStringLiteral("chebyshev") << UnitClient::Error::InvalidValue;
        QTest::newRow("read-only family") << QStringLiteral("unit.family") << QStringLiteral("48k") << UnitClient::Error::InvalidValue;
        QTest::newRow("locked page") << QStringLiteral("in.B.gain_db") << QStringLiteral("-3") << UnitClient::Error::Locked;
        QTest::newRow("locked band") << QStringLiteral("out.2.peq.3.gain_db") << QStringLiteral("3") << UnitClient::Error::Locked;
        QTest::newRow("lock while closed") << QStringLiteral("in.A.lock.level") << QStringLiteral("free") << UnitClient::Error::Locked;
    }
    void refusedWithoutSending()
    {
        QFETCH(QString, path);
        QFETCH(QString, text);
        QFETCH(UnitClient::Error, error);
        Rig rig;
        auto *security = rig.unit.findModule<SecurityModule>();
        security->setPageLock(Protocol::Security::InLevel, 1, 1);
        security->setFilterLock(Protocol::Security::OutFilter, 1, Protocol::Security::FilterFirstBandEntry + 2, 2);
        QVERIFY(rig.start());
        QVERIFY(rig.client.readState(nullptr));
        QTest::qWait(10);
        rig.unit.clearReceived();
        const SetResult r = rig.client.setFromText(path, text);
        QVERIFY(!r.ok());
        QCOMPARE(rig.client.error(), error);
        QVERIFY(!r.message.isEmpty());
        QVERIFY2(r.message.contains(path) || error == UnitClient::Error::InvalidValue, qPrintable(r.message));
        QTest::qWait(20);
        QCOMPARE(rig.unit.received().size(), 0);
    }

    // The bytes a set sends, written out from the protocol tables.
    void setFrames_data()
    {
        QTest::addColumn<Settings>("before");
        QTest::addColumn<Settings>("after");
        QTest::addColumn<QByteArrayList>("frames"); // "cls module param payload-hex", op 1
        QTest::newRow("gain") << Settings{} << Settings{{"in.A.gain_db", "-6"}}
                              << QByteArrayList{"3 1 3 00" + f32(-6.0f).toHex()};
        QTest::newRow("one gate frame for three fields")
            << Settings{} << Settings{{"in.B.gate.enable", "on"}, {"in.B.gate.threshold_db", "-40"}, {"in.B.gate.attack_ms", "2"}}
            << QByteArrayList{"3 2 2 01" "01" "000020c2" "00000040" "0000a041"};
        QTest::newRow("cross-points by value")
            << Settings{}
            << Settings{{"matrix.out.2.in.A.enable", "on"}, {"matrix.out.2.in.C.enable", "on"}, {"matrix.out.2.in.D.enable", "on"}}
            << QByteArrayList{"3 7 1 0100020301"};
        QTest::newRow("cross-point gains differ")
            << Settings{} << Settings{{"matrix.out.1.in.A.gain_db", "-3"}, {"matrix.out.1.in.B.gain_db", "4"}}
            << QByteArrayList{"3 7 2 0000fd", "3 7 2 000104"};
        QTest::newRow("group with one value: one frame")
            << Settings{{"out.1.group", "2"}, {"out.4.group", "2"}} << Settings{{"out.1.group", "2"}, {"out.4.group", "2"}, {"out.4.mute", "on"}}
            << QByteArrayList{"3 9 2 0001"};
        QTest::newRow("group with two values: undone and remade")
            << Settings{{"in.A.group", "1"}, {"in.B.group", "1"}}
            << Settings{{"in.A.gain_db", "-6"}, {"in.A.group", "1"}, {"in.B.group", "1"}}
            << QByteArrayList{"3 1 5 0000", "3 1 5 0100", "3 1 3 00" + f32(-6.0f).toHex(), "3 1 5 0001", "3 1 5 0101"};
        QTest::newRow("source before frequency")
            << Settings{{"generator.source", "pinknoise"}}
            << Settings{{"generator.source", "sine"}, {"generator.freq_hz", "440"}}
            << QByteArrayList{"3 8 3 01", "3 8 2 " + f32(440.0f).toHex()};
        QTest::newRow("filter band")
            << Settings{} << Settings{{"out.3.peq.2.gain_db", "-4.5"}}
            << QByteArrayList{"3 10 3 020101" "00" + f32(60.0f).toHex() + f32(-4.5f).toHex() + "2b"};
        QTest::newRow("texts and locks last")
            << Settings{} << Settings{{"in.C.lock.limiter", "read-only"}, {"unit.location", "Hall"}, {"out.2.label", "Top"}}
            << QByteArrayList{"2 2 10 48616c6c", "2 3 2 01546f70", "2 5 7 0201"};
    }
    void setFrames()
    {
        QFETCH(Settings, before);
        QFETCH(Settings, after);
        QFETCH(QByteArrayList, frames);
        const UnitState current = stateWith(UnitFamily::Sharc96k, before);
        const UnitState target = stateWith(UnitFamily::Sharc96k, after);
        QByteArrayList got;
        for (const WireFrame &f : StateFrames::diffFrames(current, target)) {
            QCOMPARE(f.op, quint8(Frame::Set));
            got << QByteArray::number(f.cls) + ' ' + QByteArray::number(f.module) + ' ' + QByteArray::number(f.param)
                    + ' ' + f.payload.toHex();
        }
        QCOMPARE(got, frames);
    }

    void errors_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<UnitClient::Error>("error");
        QTest::newRow("nothing listening") << QStringLiteral("unreachable") << UnitClient::Error::Unreachable;
        QTest::newRow("wrong password") << QStringLiteral("password") << UnitClient::Error::LoginRefused;
        QTest::newRow("wrong lock password") << QStringLiteral("lock password") << UnitClient::Error::PasswordRefused;
        QTest::newRow("silent from the start") << QStringLiteral("silent") << UnitClient::Error::Timeout;
        QTest::newRow("falls silent mid-read") << QStringLiteral("silent mid-read") << UnitClient::Error::Timeout;
        QTest::newRow("drops the link mid-read") << QStringLiteral("drop mid-read") << UnitClient::Error::LinkLost;
        QTest::newRow("closes mid-frame") << QStringLiteral("close mid-frame") << UnitClient::Error::LinkLost;
        QTest::newRow("report a byte short") << QStringLiteral("short") << UnitClient::Error::Malformed;
        QTest::newRow("report a byte long") << QStringLiteral("long") << UnitClient::Error::Malformed;
        QTest::newRow("report with op 1") << QStringLiteral("wrong op") << UnitClient::Error::Malformed;
        QTest::newRow("garbage between frames") << QStringLiteral("garbage") << UnitClient::Error::None;
        QTest::newRow("not connected") << QStringLiteral("not connected") << UnitClient::Error::NotConnected;
    }
    void errors()
    {
        QFETCH(QString, scenario);
        QFETCH(UnitClient::Error, error);
        Rig rig(UnitFamily::Sharc96k, scenario == QLatin1String("password") ? QStringLiteral("secret") : QString());
        UnitClient &c = rig.client;
        QVERIFY(rig.unit.start());
        const QHostAddress address = rig.unit.address();
        const quint16 port = rig.unit.port();

        if (scenario == QLatin1String("unreachable")) {
            rig.unit.stop();
            QVERIFY(!c.connectToUnit(address, port));
        } else if (scenario == QLatin1String("silent")) {
            rig.unit.setSilent(true);
            QVERIFY(!c.connectToUnit(address, port));
        } else if (scenario == QLatin1String("not connected")) {
            QVERIFY(!c.readState(nullptr));
        } else {
            QVERIFY2(c.connectToUnit(address, port), qPrintable(c.errorText()));
            int seen = 0;
            auto after = [&](int frames, const std::function<void()> &fault) {
                QObject::connect(&rig.unit, &VirtualUnit::frameReceived, &rig.unit, [&seen, frames, fault] {
                    if (++seen == frames)
                        QTimer::singleShot(0, fault);
                });
            };
            if (scenario == QLatin1String("password")) {
                QVERIFY(!c.isLoggedIn());
                QVERIFY(c.login(QStringLiteral("secret")));
                QVERIFY(!c.login(QStringLiteral("Secret")));
            } else if (scenario == QLatin1String("lock password")) {
                c.openSecurity(QStringLiteral("654321"));
                QVERIFY(!c.isSecurityOpen());
            } else {
                if (scenario == QLatin1String("silent mid-read"))
                    after(100, [&] { rig.unit.setSilent(true); });
                else if (scenario == QLatin1String("drop mid-read"))
                    after(100, [&] { rig.unit.dropClient(); });
                else if (scenario == QLatin1String("close mid-frame"))
                    after(100, [&] { rig.unit.closeMidFrame(); });
                else if (scenario == QLatin1String("short"))
                    rig.unit.setReportFault(VirtualUnit::ReportFault::ShorterByOne);
                else if (scenario == QLatin1String("long"))
                    rig.unit.setReportFault(VirtualUnit::ReportFault::LongerByOne);
                else if (scenario == QLatin1String("wrong op"))
                    rig.unit.setReportFault(VirtualUnit::ReportFault::WrongOp);
                else if (scenario == QLatin1String("garbage"))
                    rig.unit.setGarbageBetweenFrames(7);
                UnitState state;
                state.location = QStringLiteral("untouched");
                const bool ok = c.readState(&state);
                QCOMPARE(ok, error == UnitClient::Error::None);
                // A failed read never hands out part of a state.
                if (!ok) {
                    QCOMPARE(state.location, QStringLiteral("untouched"));
                    QVERIFY(!c.hasState());
                } else {
                    QVERIFY(state == unitDefaults(UnitFamily::Sharc96k));
                }
            }
        }
        QCOMPARE(c.error(), error);
        QCOMPARE(c.errorText().isEmpty(), error == UnitClient::Error::None);
    }

    void infoPresetsAndTransfer()
    {
        Rig rig;
        ScratchDir dir(false);
        QVERIFY(rig.start());
        auto *store = rig.unit.findModule<PresetModule>();
        UnitInfo info;
        QVERIFY(rig.client.readInfo(&info));
        QCOMPARE(info.model, QStringLiteral("OVX-480"));
        QCOMPARE(info.armVersionText(), QStringLiteral("V1.2.3"));
        QCOMPARE(info.dspVersionText(), QStringLiteral("V1.0.5-5310"));
        QCOMPARE(info.family(), UnitFamily::Sharc96k);
        QCOMPARE(info.ipText(), rig.unit.address().toString());
        QCOMPARE(info.location, QStringLiteral("Main hall"));
        QCOMPARE(info.presets.current, -1);
        QVERIFY(!info.presets.entries.at(0).used);

        QVERIFY(rig.client.setFromText(QStringLiteral("in.A.gain_db"), QStringLiteral("-12")).ok());
        QVERIFY(rig.client.savePreset(4));
        QVERIFY(rig.client.renamePreset(4, QStringLiteral("Speech")));
        QVERIFY(!rig.client.renamePreset(4, QStringLiteral("Seventeen chars!!")));
        QCOMPARE(rig.client.error(), UnitClient::Error::InvalidValue);
        QVERIFY(!rig.client.recallPreset(9));
        QCOMPARE(rig.client.error(), UnitClient::Error::InvalidValue);
        QVERIFY(!rig.client.deletePreset(32));
        QCOMPARE(rig.client.error(), UnitClient::Error::InvalidValue);

        QVERIFY(rig.client.setFromText(QStringLiteral("in.A.gain_db"), QStringLiteral("0")).ok());
        rig.client.setTimeout(3000); // a recall takes the unit about a second
        QVERIFY2(rig.client.recallPreset(4), qPrintable(rig.client.errorText()));
        UnitState state;
        QVERIFY(rig.client.readState(&state));
        QCOMPARE(state.dsp.inputLevels[0].gain, -12.0f);
        PresetList list;
        QVERIFY(rig.client.readPresets(&list));
        QCOMPARE(list.current, 4);
        QCOMPARE(list.entries.at(4).name, QStringLiteral("Speech"));

        // A slot exported over the client's own connection.
        PresetTransfer *transfer = rig.client.presetTransfer();
        QVERIFY(transfer->exportSlot(4, dir.filePath(QStringLiteral("speech.pst1"))));
        QCOMPARE(transfer->waitForFinished(), PresetTransfer::Outcome::Done);
        QCOMPARE(dir.read(QStringLiteral("speech.pst1")), PresetModule::slotImage(store->slotTable[4]));

        QVERIFY(rig.client.deletePreset(4));
        QVERIFY(!store->slotTable[4].used);
    }
};

QTEST_GUILESS_MAIN(TestUnitClient)
#include "tst_unitclient.moc"
