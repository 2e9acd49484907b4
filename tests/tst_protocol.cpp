#include <QSignalSpy>
#include <QTcpSocket>
#include <QtTest>

#include <cstring>

#include "core/link/frame.h"
#include "core/link/link.h"
#include "core/protocol/protocol.h"
#include "core/records/deqband.h"
#include "core/records/firchannel.h"
#include "core/records/gaterecord.h"
#include "core/records/limiterrecord.h"
#include "core/records/wirefloat.h"
#include "securitymodule.h"
#include "testsupport.h"
#include "virtualunit.h"

// The protocol table against the virtual unit: a walk of every queryable
// param of every channel and a set and read-back of every setting, for both
// families; and frames written out by hand from the message tables, which
// the table must accept and the unit must answer byte for byte.

namespace {

using Protocol::Family;

struct Report
{
    quint8 cls;
    quint8 module;
    quint8 param;
    QByteArray payload;
};

QByteArray f32(float value)
{
    QByteArray bytes(4, '\0');
    WireFloat::write(reinterpret_cast<uchar *>(bytes.data()), value);
    return bytes;
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

template <class Record>
QByteArray encoded(const Record &record, int size)
{
    QByteArray out(size, '\0');
    record.encode(reinterpret_cast<uchar *>(out.data()));
    return out;
}

// A value for every setting the walk writes, different from the unit's
// defaults and inside every range the unit keeps (the 48 kHz output delays
// included). Keyed by class, module and param.
QMap<QString, QByteArray> settingSamples()
{
    GateRecord gate;
    gate.enable = true;
    gate.threshold = -40;
    gate.attack = 10;
    gate.decay = 200;
    LimiterRecord limiter;
    limiter.enable = true;
    limiter.threshold = -10.5f;
    limiter.ratio = 4;
    limiter.attack = 20;
    limiter.decay = 100;
    DeqBand deq = DeqBand::defaults(1);
    deq.bypass = 0;
    deq.type = DeqBand::HighShelf;
    deq.gain = 6.0f;
    deq.threshold = -20.0f;
    deq.ratio = 3.0f;
    deq.mode = DeqBand::CutAbove;
    FirChannel fir;
    fir.taps = 128;
    fir.firType = FirChannel::LowPass;
    fir.lowFreq = 1200.0f;
    fir.enable = 1;
    fir.coefficients[0] = 0.5f;
    fir.coefficients[1] = -0.25f;

    const QByteArray level[] = {bytes({1}), f32(-6.5f), bytes({1}), bytes({1}), bytes({1}), f32(-2.5f)};
    QMap<QString, QByteArray> out;
    auto put = [&out](int cls, int module, int param, const QByteArray &value) {
        out.insert(QStringLiteral("%1/%2/%3").arg(cls).arg(module).arg(param), value);
    };
    for (int module : {Frame::InLevel, Frame::OutLevel}) {
        const quint8 params[] = {Protocol::Level::Mute,  Protocol::Level::Gain,   Protocol::Level::Invert,
                                 Protocol::Level::Group, Protocol::Level::Source, Protocol::Level::Trim};
        for (int i = 0; i < 6; ++i)
            put(3, module, params[i], level[i]);
    }
    put(3, Frame::Gate, Protocol::Gate::Record, encoded(gate, GateRecord::WireSize));
    put(3, Frame::Feedback, Protocol::Feedback::Enable, bytes({1}));
    for (int module : {Frame::InFilter, Frame::OutFilter}) {
        put(3, module, Protocol::Filter::HighPass, bytes({1, 1, 3}) + f32(120.0f));
        put(3, module, Protocol::Filter::LowPass, bytes({1, 2, 2}) + f32(8000.0f));
        put(3, module, Protocol::Filter::Band, bytes({1, 2}) + f32(2500.0f) + f32(-4.5f) + bytes({20}));
    }
    for (int module : {Frame::InLimiter, Frame::OutLimiter})
        put(3, module, Protocol::Limiter::Record, encoded(limiter, LimiterRecord::Size));
    for (int module : {Frame::InDelay, Frame::OutDelay})
        put(3, module, Protocol::Delay::Milliseconds, f32(12.5f));
    put(3, Frame::MatrixMixer, Protocol::Mixer::Enable, bytes({2, 1}));
    put(3, Frame::MatrixMixer, Protocol::Mixer::Gain, bytes({1, -12}));
    put(3, Frame::SignalGenerator, Protocol::Generator::Output, bytes({1}));
    put(3, Frame::SignalGenerator, Protocol::Generator::Frequency, f32(440.0f));
    put(3, Frame::SignalGenerator, Protocol::Generator::Source, bytes({2}));
    put(3, Frame::SignalGenerator, Protocol::Generator::Gain, f32(-12.0f));
    put(3, Frame::SignalGenerator, Protocol::Generator::Mute, bytes({1}));
    put(3, Frame::DynamicEq, Protocol::DynamicEq::Band, encoded(deq, DeqBand::Size));
    put(3, Frame::Fir, Protocol::Fir::Record, fir.toBytes());
    put(2, Frame::Status, Protocol::Status::Location, QByteArrayLiteral("Stage left"));
    put(2, Frame::Status, Protocol::Status::Description, QByteArrayLiteral("Rack 2"));
    put(2, Frame::Status, Protocol::Status::Network, bytes({1, 0, 0, 127, 0, 0, 0, 255, 254, 0, 0, 127}));
    put(2, Frame::Status, Protocol::Status::AllMute, bytes({1}));
    put(2, Frame::Status, Protocol::Status::PanelLock, bytes({1}));
    put(2, Frame::Status, Protocol::Status::LcdPage, bytes({2}));
    put(2, Frame::Labels, Protocol::Labels::Inputs, QByteArrayLiteral("Vocal"));
    put(2, Frame::Labels, Protocol::Labels::Outputs, QByteArrayLiteral("Sub"));
    for (const Protocol::Param &row : Protocol::Security::params) {
        if (row.kind == Protocol::Kind::Setting)
            put(2, Frame::Security, row.id, row.scope == Protocol::Scope::Channel
                                                ? QByteArray(Protocol::Security::FilterEntries, '\1')
                                                : bytes({2}));
    }
    return out;
}

// Hand-written frames: hex bytes, spaces ignored; "XX*N" is N bytes XX.
QByteArray hex(const char *text)
{
    QByteArray out;
    for (const QByteArray &token : QByteArray(text).simplified().split(' ')) {
        const int star = token.indexOf('*');
        if (star < 0)
            out += QByteArray::fromHex(token);
        else
            out += QByteArray(token.mid(star + 1).toInt(), char(QByteArray::fromHex(token.left(star)).at(0)));
    }
    return out;
}

// What the unit says first on every connection, with no login password set.
const char *const LoginAccepted = "827d 0000 02 01 01 80 0100 01 7d82";

struct Frame_
{
    quint8 cls, module, param, op;
    QByteArray payload;
};

// Cuts hand-written bytes into frames; false when they are not whole frames.
bool splitFrames(const QByteArray &bytes, QList<Frame_> *frames)
{
    int at = 0;
    while (at < bytes.size()) {
        if (bytes.size() - at < Frame::Overhead)
            return false;
        const auto *p = reinterpret_cast<const uchar *>(bytes.constData()) + at;
        const int length = Frame::readU16(p + 8);
        if (Frame::readU16(p) != Frame::Head || bytes.size() - at < length + Frame::Overhead
            || Frame::readU16(p + 10 + length) != Frame::Tail)
            return false;
        frames->append({p[4], p[5], p[6], p[7], bytes.mid(at + 10, length)});
        at += length + Frame::Overhead;
    }
    return true;
}

// Whether the table takes `frame`: a known param, an op it has, a length it
// allows, a channel and band it counts.
QString tableRefuses(const Frame_ &frame, Family family)
{
    const Protocol::Module *module = Protocol::module(frame.cls, frame.module);
    const Protocol::Param *row = Protocol::param(module, frame.param);
    if (!row)
        return QStringLiteral("no such param");
    if (!module->in(family) || !row->in(family))
        return QStringLiteral("not in this family");
    const int channels = module->channelCount(*row, family);
    Protocol::Length length;
    int address = 0;
    switch (frame.op) {
    case Frame::Query:
        length = row->query.length;
        address = row->queryAddressSize();
        break;
    case Frame::Set:
        length = row->set.length;
        address = row->setAddressSize();
        break;
    case Frame::Report:
        length = row->reportLength(channels);
        address = row->reportAddressSize();
        break;
    default: return QStringLiteral("op %1").arg(frame.op);
    }
    if (!length.fits(frame.payload.size()))
        return QStringLiteral("op %1 length %2 outside %3..%4")
            .arg(frame.op).arg(frame.payload.size()).arg(length.min).arg(length.max);
    if (address >= 1 && quint8(frame.payload.at(0)) >= channels)
        return QStringLiteral("channel %1 of %2").arg(quint8(frame.payload.at(0))).arg(channels);
    if (address == 2 && quint8(frame.payload.at(1)) >= module->bands)
        return QStringLiteral("band %1 of %2").arg(quint8(frame.payload.at(1))).arg(module->bands);
    return QString();
}

VirtualUnit::Options unitOptions(int family)
{
    VirtualUnit::Options options;
    options.address = uniqueLoopback();
    options.port = 0;
    options.family = family;
    return options;
}

} // namespace

class TestProtocol : public QObject
{
    Q_OBJECT

    QList<Report> reports;

    // The unit's answer to a query, or a null array after a second.
    QByteArray ask(Link &link, const Protocol::Param &row, quint8 cls, quint8 module, const QByteArray &query)
    {
        reports.clear();
        link.sendFrame(cls, module, row.id, Frame::Query, query.constData(), quint16(query.size()));
        const QByteArray address = query.left(row.reportAddressSize());
        QByteArray answer;
        waitUntil(
            [&] {
                for (const Report &r : qAsConst(reports)) {
                    if (r.cls == cls && r.module == module && r.param == row.id && r.payload.startsWith(address)) {
                        answer = r.payload.isNull() ? QByteArray("") : r.payload;
                        return true;
                    }
                }
                return false;
            },
            1000);
        return answer;
    }

private Q_SLOTS:
    void walk_data();
    void walk();
    void handWritten_data();
    void handWritten();
};

void TestProtocol::walk_data()
{
    QTest::addColumn<int>("family");
    QTest::newRow("96 kHz") << 1;
    QTest::newRow("48 kHz") << 2;
}

void TestProtocol::walk()
{
    QFETCH(int, family);
    const Family unitFamily = family == 1 ? Family::Hz96k : Family::Hz48k;
    VirtualUnit unit(unitOptions(family));
    QVERIFY(unit.start());
    Link link;
    link.setControlPort(unit.port());
    QTcpSocket socket;
    auto collect = [this](quint8 cls) {
        return [this, cls](quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload) {
            if (op == Frame::Report)
                reports.append({cls, module, param, QByteArray(reinterpret_cast<const char *>(payload), length)});
        };
    };
    connect(&link, &Link::systemMessage, this, collect(Frame::System));
    connect(&link, &Link::moduleMessage, this, collect(Frame::Module));
    link.setCurrentSocket(&socket, 1, unit.address().toIPv4Address());
    QVERIFY(waitUntil([&] { return socket.state() == QAbstractSocket::ConnectedState && unit.hasClient(); }));
    // A set and its read-back query go out back to back; without this the
    // query waits for the set's acknowledgement.
    socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    // Lock states change only while the security page is open.
    const QByteArray password = unit.findModule<SecurityModule>()->lockPassword;
    link.sendFrame(Frame::System, Frame::Security, Protocol::Security::Page, Frame::Set, password.constData(),
                   quint16(password.size()));
    QVERIFY(waitUntil([&] { return !unit.findModule<SecurityModule>()->locked; }));

    const QMap<QString, QByteArray> samples = settingSamples();
    int queried = 0;
    int written = 0;
    for (const Protocol::Module &module : Protocol::Modules) {
        if (module.cls == Frame::Firmware || !module.in(unitFamily))
            continue;
        for (const Protocol::Param &row : module) {
            if (!row.in(unitFamily) || !row.isQueried() || row.kind == Protocol::Kind::Transfer)
                continue;
            const QString what = QStringLiteral("%1.%2").arg(QLatin1String(module.name), QLatin1String(row.name));
            const int channels = module.channelCount(row, unitFamily);
            // Every address the param has: one for the unit or all channels.
            QList<QByteArray> addresses;
            if (row.scope == Protocol::Scope::Channel || row.scope == Protocol::Scope::Band) {
                for (int c = 0; c < channels; ++c) {
                    if (row.scope == Protocol::Scope::Channel)
                        addresses << bytes({c});
                    for (int b = 0; row.scope == Protocol::Scope::Band && b < module.bands; ++b)
                        addresses << bytes({c, b});
                }
            } else {
                addresses << QByteArray();
            }
            const Protocol::Length reportLength = row.reportLength(channels);
            for (const QByteArray &address : qAsConst(addresses)) {
                const QByteArray answer = ask(link, row, module.cls, module.id, address);
                QVERIFY2(!answer.isNull(),
                         qPrintable(what + QStringLiteral(" unanswered at ") + QString::fromLatin1(address.toHex())));
                QVERIFY2(reportLength.fits(answer.size()),
                         qPrintable(what + QStringLiteral(" answered with %1 bytes").arg(answer.size())));
                ++queried;
            }
            if (row.kind != Protocol::Kind::Setting || !row.isSettable())
                continue;

            const QString key = QStringLiteral("%1/%2/%3").arg(module.cls).arg(module.id).arg(row.id);
            QVERIFY2(samples.contains(key), qPrintable(what + QStringLiteral(" has no sample value")));
            const QByteArray value = samples.value(key);
            // All-channels params are set one channel at a time.
            QList<QByteArray> targets = addresses;
            if (row.scope == Protocol::Scope::AllChannels) {
                targets.clear();
                for (int c = 0; c < channels; ++c)
                    targets << bytes({c});
            }
            for (const QByteArray &target : qAsConst(targets)) {
                const QByteArray set = target + value;
                QVERIFY2(row.set.length.fits(set.size()), qPrintable(what));
                link.sendFrame(module.cls, module.id, row.id, Frame::Set, set.constData(), quint16(set.size()));
                const QByteArray query = row.scope == Protocol::Scope::AllChannels ? QByteArray() : target;
                const QByteArray answer = ask(link, row, module.cls, module.id, query);
                QVERIFY2(reportLength.fits(answer.size()), qPrintable(what));
                QByteArray readBack = answer.mid(row.reportAddressSize());
                QByteArray expected = value;
                if (row.scope == Protocol::Scope::AllChannels) {
                    const int share = row.report.length.size();
                    readBack = readBack.mid(quint8(target.at(0)) * share, share);
                }
                if (row.set.value == Protocol::Value::Text) {
                    readBack = readBack.left(readBack.indexOf('\0'));
                } else if (row.set.value == Protocol::Value::MixerSet) {
                    // [inputs..., value]: the row holds the value at each input.
                    readBack = readBack.mid(quint8(value.at(0)), 1);
                    expected = value.right(1);
                }
                QVERIFY2(readBack == expected,
                         qPrintable(QStringLiteral("%1 at %2: wrote %3, read %4")
                                        .arg(what, QString::fromLatin1(target.toHex()),
                                             QString::fromLatin1(expected.toHex()),
                                             QString::fromLatin1(readBack.toHex()))));
                ++written;
            }
        }
    }
    // Every channel of every module, not a handful.
    QVERIFY(queried > 300);
    QVERIFY(written > 150);
    link.setCurrentSocket(nullptr, 0, 0);
}

void TestProtocol::handWritten_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QByteArray>("answer");

    // module: what. Frames: head, code, class, module, param, op, length,
    // payload, tail. The PC's code is 1, the unit's 0.
    auto row = [](const char *name, int family, const char *sent, const char *answer) {
        QTest::newRow(name) << family << hex(sent) << hex(answer);
    };
    row("in_level: gain of IN B set to -6 dB and read back", 1,
        "827d 0100 03 01 03 01 0500 01 0000c0c0 7d82"
        "827d 0100 03 01 03 00 0100 01 7d82",
        "827d 0000 03 01 03 80 0500 01 0000c0c0 7d82");
    row("in_level: input sources, one byte per pair", 1,
        "827d 0100 03 01 07 01 0200 01 01 7d82"
        "827d 0100 03 01 07 00 0000 7d82",
        "827d 0000 03 01 07 80 0200 00 01 7d82");
    row("in_level: calibration trim of IN D", 2,
        "827d 0100 03 01 20 01 0500 03 0000c03f 7d82"
        "827d 0100 03 01 20 00 0100 03 7d82",
        "827d 0000 03 01 20 80 0500 03 0000c03f 7d82");
    row("gate: default record of IN A", 1,
        "827d 0100 03 02 02 00 0100 00 7d82",
        "827d 0000 03 02 02 80 0e00 00 00 000082c2 0000803f 0000a041 7d82");
    row("feedback: IN C switched on", 1,
        "827d 0100 03 03 01 01 0200 02 01 7d82"
        "827d 0100 03 03 01 00 0100 02 7d82",
        "827d 0000 03 03 01 80 0200 02 01 7d82");
    row("in_filter: default high-pass of IN A", 1,
        "827d 0100 03 04 01 00 0100 00 7d82",
        "827d 0000 03 04 01 80 0800 00 00 00 00 0000a041 7d82");
    row("in_filter: band 3 of IN B set and read back", 2,
        "827d 0100 03 04 03 01 0d00 01 02 01 00 00007a44 000060c0 14 7d82"
        "827d 0100 03 04 03 00 0200 01 02 7d82",
        "827d 0000 03 04 03 80 0d00 01 02 01 00 00007a44 000060c0 14 7d82");
    row("in_limiter: default record of IN A", 1,
        "827d 0100 03 05 01 00 0100 00 7d82",
        "827d 0000 03 05 01 80 1200 00 00 00000000 00000040 0000803f 0000a040 7d82");
    row("in_limiter: IN A copied to OUT 3", 1,
        "827d 0100 03 05 01 01 1200 00 01 000020c1 00008040 00002041 0000c842 7d82"
        "827d 0100 03 05 02 01 0300 00 00 04 7d82"
        "827d 0100 03 0b 01 00 0100 02 7d82",
        "827d 0000 03 0b 01 80 1200 02 01 000020c1 00008040 00002041 0000c842 7d82");
    row("in_delay: IN A delayed 10 ms", 1,
        "827d 0100 03 06 01 01 0500 00 00002041 7d82"
        "827d 0100 03 06 01 00 0100 00 7d82",
        "827d 0000 03 06 01 80 0500 00 00002041 7d82");
    row("matrix: IN B onto OUT 4", 1,
        "827d 0100 03 07 01 01 0300 03 01 01 7d82"
        "827d 0100 03 07 01 00 0100 03 7d82",
        "827d 0000 03 07 01 80 0500 03 00 01 00 00 7d82");
    row("matrix: all four gains of OUT 1 at -6 dB", 2,
        "827d 0100 03 07 02 01 0600 00 00 01 02 03 fa 7d82"
        "827d 0100 03 07 02 00 0100 00 7d82",
        "827d 0000 03 07 02 80 0500 00 fa fa fa fa 7d82");
    row("generator: default frequency, no channel byte", 1,
        "827d 0100 03 08 02 00 0000 7d82",
        "827d 0000 03 08 02 80 0400 00007a44 7d82");
    row("generator: onto OUT 2, pink noise", 1,
        "827d 0100 03 08 01 01 0200 01 01 7d82"
        "827d 0100 03 08 03 01 0100 00 7d82"
        "827d 0100 03 08 01 00 0100 01 7d82"
        "827d 0100 03 08 03 00 0000 7d82",
        "827d 0000 03 08 01 80 0200 01 01 7d82"
        "827d 0000 03 08 03 80 0100 00 7d82");
    row("out_level: OUT 8 inverted", 1,
        "827d 0100 03 09 04 01 0200 07 01 7d82"
        "827d 0100 03 09 04 00 0100 07 7d82",
        "827d 0000 03 09 04 80 0200 07 01 7d82");
    row("out_filter: default low-pass of OUT 8", 1,
        "827d 0100 03 0a 02 00 0100 07 7d82",
        "827d 0000 03 0a 02 80 0800 07 00 00 00 00409c46 7d82");
    row("out_limiter: OUT 3 set, then reset", 2,
        "827d 0100 03 0b 01 01 1200 02 01 000020c1 00008040 00002041 0000c842 7d82"
        "827d 0100 03 0b 01 00 0100 02 7d82"
        "827d 0100 03 0b 03 01 0100 02 7d82"
        "827d 0100 03 0b 01 00 0100 02 7d82",
        "827d 0000 03 0b 01 80 1200 02 01 000020c1 00008040 00002041 0000c842 7d82"
        "827d 0000 03 0b 01 80 1200 02 00 00000000 00000040 0000803f 0000a040 7d82");
    row("out_delay: OUT 1 at 1500 ms", 1,
        "827d 0100 03 0c 01 01 0500 00 0080bb44 7d82"
        "827d 0100 03 0c 01 00 0100 00 7d82",
        "827d 0000 03 0c 01 80 0500 00 0080bb44 7d82");
    row("out_delay: OUT 5 at 100 ms on a 48 kHz unit", 2,
        "827d 0100 03 0c 01 01 0500 04 0000c842 7d82"
        "827d 0100 03 0c 01 00 0100 04 7d82",
        "827d 0000 03 0c 01 80 0500 04 0000c842 7d82");
    row("deq: default band 2 of IN A", 1,
        "827d 0100 03 10 01 00 0200 00 01 7d82",
        "827d 0000 03 10 01 80 2100 00 01 01 00 00009643 00000000 0000c040 00000000 0000803f 0000803f 0000803f 01"
        " 7d82");
    row("fir: a 128-tap low pass on OUT 1", 2,
        "827d 0100 03 11 01 01 1308 00 00 8000 01 00007a44 00409c45 02 00002041 01 0000003f 0000803e 00*2040 7d82"
        "827d 0100 03 11 01 00 0100 00 7d82",
        "827d 0000 03 11 01 80 1308 00 00 8000 01 00007a44 00409c45 02 00002041 01 0000003f 0000803e 00*2040 7d82");
    row("presets: list of an empty unit", 1,
        "827d 0100 03 20 01 00 0000 7d82",
        "827d 0000 03 20 01 80 2102 ff 00*544 7d82");
    row("presets: slot 4 saved, named and recalled", 1,
        "827d 0100 03 20 02 01 0100 03 7d82"
        "827d 0100 03 20 05 01 0500 03 53686f77 7d82"
        "827d 0100 03 20 01 00 0000 7d82"
        "827d 0100 03 20 09 01 0100 03 7d82",
        "827d 0000 03 20 01 80 2102 03 00*51 01 53686f77 00*12 00*476 7d82"
        "827d 0000 03 20 09 80 0100 00 7d82");
    row("login: a wrong password, then none", 1,
        "827d 0100 02 01 01 01 0400 6e6f7065 7d82"
        "827d 0100 02 01 01 01 0000 7d82",
        "827d 0000 02 01 01 80 0100 00 7d82"
        "827d 0000 02 01 01 80 0100 01 7d82");
    row("status: ARM version of a 96 kHz unit", 1,
        "827d 0100 02 02 02 00 0000 7d82",
        "827d 0000 02 02 02 80 0300 01 02 03 7d82");
    row("status: location set and read back", 2,
        "827d 0100 02 02 0a 01 0400 48616c6c 7d82"
        "827d 0100 02 02 0a 00 0000 7d82",
        "827d 0000 02 02 0a 80 0500 48616c6c 00 7d82");
    row("status: all-mute on, LCD page polling, DSP model", 1,
        "827d 0100 02 02 0f 01 0100 01 7d82"
        "827d 0100 02 02 0f 00 0000 7d82"
        "827d 0100 02 02 16 00 0000 7d82"
        "827d 0100 02 02 1b 00 0000 7d82",
        "827d 0000 02 02 0f 80 0100 01 7d82"
        "827d 0000 02 02 16 80 0100 ff 7d82"
        "827d 0000 02 02 1b 80 0100 00 7d82");
    row("labels: IN B renamed", 1,
        "827d 0100 02 03 01 01 0500 01 4b69636b 7d82"
        "827d 0100 02 03 01 00 0000 7d82",
        "827d 0000 02 03 01 80 4000 494e2041 00*12 4b69636b 00*12 494e2043 00*12 494e2044 00*12 7d82");
    row("code: three words", 1,
        "827d 0100 02 04 01 00 0000 7d82",
        "827d 0000 02 04 01 80 0600 3930 a602 0200 7d82");
    row("security: page opened, gate lock of IN C, filter locks of OUT 2, quit", 1,
        "827d 0100 02 05 01 00 0000 7d82"
        "827d 0100 02 05 01 01 0600 313233343536 7d82"
        "827d 0100 02 05 04 01 0200 02 01 7d82"
        "827d 0100 02 05 0c 00 0100 01 7d82"
        "827d 0100 02 05 01 01 0200 aabb 7d82",
        "827d 0000 02 05 01 80 0100 01 7d82"
        "827d 0000 02 05 01 80 0100 00 7d82"
        "827d 0000 02 05 04 80 0400 00 00 01 00 7d82"
        "827d 0000 02 05 0c 80 1400 01 00*19 7d82"
        "827d 0000 02 05 01 80 0100 01 7d82");
    row("dsp_firmware: block 0 acknowledged", 1,
        "827d 0100 01 02 01 01 0500 0000 aabbcc 7d82",
        "827d 0000 01 02 01 80 0200 0000 7d82");
}

void TestProtocol::handWritten()
{
    QFETCH(int, family);
    QFETCH(QByteArray, sent);
    QFETCH(QByteArray, answer);
    const Family unitFamily = family == 1 ? Family::Hz96k : Family::Hz48k;

    QList<Frame_> frames;
    QVERIFY2(splitFrames(sent, &frames) && splitFrames(answer, &frames), "not whole frames");
    for (const Frame_ &frame : qAsConst(frames)) {
        const QString refused = tableRefuses(frame, unitFamily);
        QVERIFY2(refused.isEmpty(), qPrintable(QStringLiteral("%1/%2/%3 op %4: %5")
                                                   .arg(frame.cls).arg(frame.module).arg(frame.param)
                                                   .arg(frame.op).arg(refused)));
    }

    VirtualUnit unit(unitOptions(family));
    QVERIFY(unit.start());
    QTcpSocket socket;
    socket.connectToHost(unit.address(), unit.port());
    const QByteArray expected = hex(LoginAccepted) + answer;
    QByteArray received;
    auto receive = [&] {
        received += socket.readAll();
        return received.size() >= expected.size();
    };
    QVERIFY(waitUntil([&] { return socket.state() == QAbstractSocket::ConnectedState; }));
    socket.write(sent);
    QVERIFY2(waitUntil(receive, 3000), qPrintable(QString::fromLatin1(received.toHex(' '))));
    QCOMPARE(received.left(expected.size()).toHex(' '), expected.toHex(' '));
}

QTEST_GUILESS_MAIN(TestProtocol)
#include "tst_protocol.moc"
