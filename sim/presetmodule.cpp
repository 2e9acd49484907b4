#include "presetmodule.h"

#include <QtEndian>

#include <cstring>

#include "delaymodule.h"
#include "deqmodule.h"
#include "filtermodule.h"
#include "firmodule.h"
#include "gatemodule.h"
#include "generatormodule.h"
#include "levelmodule.h"
#include "limitermodule.h"
#include "core/link/frame.h"
#include "core/protocol/protocol.h"
#include "core/records/wirefloat.h"
#include "mixermodule.h"
#include "virtualunit.h"

namespace {

namespace P = Protocol::Presets;
constexpr quint8 ListParam = P::List;
constexpr quint8 SaveParam = P::Save;
constexpr quint8 EraseParam = P::Erase;
constexpr quint8 RenameParam = P::Rename;
constexpr quint8 ExportAllBlockParam = P::ExportAllBlock;
constexpr quint8 ImportAllBlockParam = P::ImportAllBlock;
constexpr quint8 RecallParam = P::Recall;
constexpr quint8 ExportParam = P::Export;
constexpr quint8 ExportAllParam = P::ExportAll;
constexpr quint8 ExportChunkParam = P::ExportChunk;
constexpr quint8 ImportParam = P::Import;
constexpr quint8 ImportAllParam = P::ImportAll;
constexpr quint8 ImportChunkParam = P::ImportChunk;

constexpr int ListSize = Protocol::ReportSize<P::params, P::List>;
constexpr int BlockNumberSize = P::BlockNumberSize;
constexpr int SlotSetSize = Protocol::SetSize<P::params, P::Save>;

constexpr quint8 FormatVersion = 1;
const QByteArray SlotMagic = QByteArrayLiteral("OXPS");
const QByteArray AllMagic = QByteArrayLiteral("OXPA");
constexpr int MagicSize = 4;
constexpr int ChecksumSize = 2;

// Settings layout: a level channel is its file record plus the link group.
constexpr int LevelSize = LevelRecord::FileSize + 1;
constexpr int GeneratorSize = 1 + 2 + 1 + 4 + GeneratorRecord::OutputCount;
constexpr int MixerSize = 2 * MixerOutput::InputCount;
constexpr int Inputs = 4;
constexpr int Outputs = 8;
constexpr int DeqBands = DeqBand::BandsPerChannel;

constexpr int SettingsSize = (Inputs + Outputs) * LevelSize + 2                        // levels, sources
                             + Inputs * GateRecord::WireSize + Inputs                    // gates, feedback
                             + (Inputs + Outputs) * LimiterRecord::Size                  // limiters
                             + (Inputs + Outputs) * FilterChannel::Size                  // filters
                             + (Inputs + Outputs) * 4                                    // delays
                             + Outputs * MixerSize + GeneratorSize                       // matrix, generator
                             + Inputs * DeqBands * DeqBand::Size + Outputs * FirChannel::Size;

constexpr int SlotHeaderSize = MagicSize + 1 + 1 + PresetModule::NameSize;
constexpr int SlotImageSize = SlotHeaderSize + SettingsSize + ChecksumSize;
constexpr int AllHeaderSize = MagicSize + 1 + 1;
constexpr int AllImageSize = AllHeaderSize + PresetModule::Slots * SlotImageSize + ChecksumSize;

quint16 checksum(const QByteArray &bytes, int length)
{
    return qChecksum(bytes.constData(), uint(length));
}

void appendChecksum(QByteArray *bytes)
{
    uchar sum[2];
    qToLittleEndian<quint16>(checksum(*bytes, bytes->size()), sum);
    bytes->append(reinterpret_cast<const char *>(sum), 2);
}

bool checksumHolds(const QByteArray &bytes)
{
    const int body = bytes.size() - ChecksumSize;
    return body >= 0 && qFromLittleEndian<quint16>(bytes.constData() + body) == checksum(bytes, body);
}

// Appends `size` bytes written by `write`.
template <typename Write>
void put(QByteArray *out, int size, Write write)
{
    const int at = out->size();
    out->resize(at + size);
    write(reinterpret_cast<uchar *>(out->data()) + at);
}

class Reader
{
public:
    explicit Reader(const QByteArray &bytes) : m_in(reinterpret_cast<const uchar *>(bytes.constData())) {}
    const uchar *take(int size)
    {
        const uchar *at = m_in + m_at;
        m_at += size;
        return at;
    }

private:
    const uchar *m_in;
    int m_at = 0;
};

QByteArray u32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian<quint32>(value, bytes.data());
    return bytes;
}

} // namespace

int PresetModule::settingsSize()
{
    return SettingsSize;
}

int PresetModule::slotImageSize()
{
    return SlotImageSize;
}

int PresetModule::allImageSize()
{
    return AllImageSize;
}

QByteArray PresetModule::captureSettings(const VirtualUnit &unit)
{
    const auto *level = unit.findModule<LevelModule>();
    const auto *gate = unit.findModule<GateModule>();
    const auto *limiter = unit.findModule<LimiterModule>();
    const auto *filter = unit.findModule<FilterModule>();
    const auto *delay = unit.findModule<DelayModule>();
    const auto *mixer = unit.findModule<MixerModule>();
    const auto *generator = unit.findModule<GeneratorModule>();
    const auto *deq = unit.findModule<DeqModule>();
    const auto *fir = unit.findModule<FirModule>();
    if (!level || !gate || !limiter || !filter || !delay || !mixer || !generator || !deq || !fir)
        return QByteArray();

    QByteArray out;
    out.reserve(SettingsSize);
    auto putLevel = [&out](const LevelRecord &r) {
        put(&out, LevelSize, [&r](uchar *p) {
            r.encode(p);
            p[LevelRecord::FileSize] = r.group;
        });
    };
    for (const LevelRecord &r : level->inputs)
        putLevel(r);
    for (const LevelRecord &r : level->outputs)
        putLevel(r);
    out.append(char(level->sources[0])).append(char(level->sources[1]));
    for (const GateRecord &r : gate->gates)
        put(&out, GateRecord::WireSize, [&r](uchar *p) { r.encode(p); });
    for (bool on : gate->feedback)
        out.append(char(on ? 1 : 0));
    for (const LimiterRecord &r : limiter->inputs)
        put(&out, LimiterRecord::Size, [&r](uchar *p) { r.encode(p); });
    for (const LimiterRecord &r : limiter->outputs)
        put(&out, LimiterRecord::Size, [&r](uchar *p) { r.encode(p); });
    for (const FilterChannel &r : filter->inputs)
        put(&out, FilterChannel::Size, [&r](uchar *p) { r.encode(p); });
    for (const FilterChannel &r : filter->outputs)
        put(&out, FilterChannel::Size, [&r](uchar *p) { r.encode(p); });
    for (float ms : delay->inputs)
        put(&out, 4, [ms](uchar *p) { WireFloat::write(p, ms); });
    for (float ms : delay->outputs)
        put(&out, 4, [ms](uchar *p) { WireFloat::write(p, ms); });
    for (const MixerOutput &m : mixer->outputs)
        put(&out, MixerSize, [&m](uchar *p) {
            m.encodeEnables(p);
            m.encodeGains(p + MixerOutput::InputCount);
        });
    const GeneratorRecord &g = generator->generator;
    put(&out, GeneratorSize, [&g](uchar *p) {
        p[0] = g.mute ? 1 : 0;
        qToLittleEndian<quint16>(g.frequency, p + 1);
        p[3] = g.source;
        WireFloat::write(p + 4, g.gain);
        for (int o = 0; o < GeneratorRecord::OutputCount; ++o)
            p[8 + o] = g.output[size_t(o)] ? 1 : 0;
    });
    for (const auto &channel : deq->bands) {
        for (const DeqBand &b : channel)
            put(&out, DeqBand::Size, [&b](uchar *p) { b.encode(p); });
    }
    for (const QByteArray &record : fir->records)
        out.append(record.leftJustified(FirChannel::Size, '\0', true));
    Q_ASSERT(out.size() == SettingsSize);
    return out;
}

bool PresetModule::applySettings(VirtualUnit &unit, const QByteArray &settings)
{
    auto *level = unit.findModule<LevelModule>();
    auto *gate = unit.findModule<GateModule>();
    auto *limiter = unit.findModule<LimiterModule>();
    auto *filter = unit.findModule<FilterModule>();
    auto *delay = unit.findModule<DelayModule>();
    auto *mixer = unit.findModule<MixerModule>();
    auto *generator = unit.findModule<GeneratorModule>();
    auto *deq = unit.findModule<DeqModule>();
    auto *fir = unit.findModule<FirModule>();
    if (settings.size() != SettingsSize || !level || !gate || !limiter || !filter || !delay || !mixer || !generator
        || !deq || !fir)
        return false;

    Reader in(settings);
    auto takeLevel = [&in](LevelRecord *r) {
        const uchar *p = in.take(LevelSize);
        *r = LevelRecord::decode(p);
        r->group = p[LevelRecord::FileSize];
    };
    for (LevelRecord &r : level->inputs)
        takeLevel(&r);
    for (LevelRecord &r : level->outputs)
        takeLevel(&r);
    level->sources[0] = *in.take(1);
    level->sources[1] = *in.take(1);
    for (GateRecord &r : gate->gates)
        r = GateRecord::decode(in.take(GateRecord::WireSize));
    for (bool &on : gate->feedback)
        on = *in.take(1) != 0;
    for (LimiterRecord &r : limiter->inputs)
        r = LimiterRecord::decode(in.take(LimiterRecord::Size));
    for (LimiterRecord &r : limiter->outputs)
        r = LimiterRecord::decode(in.take(LimiterRecord::Size));
    for (FilterChannel &r : filter->inputs)
        r = FilterChannel::decode(in.take(FilterChannel::Size));
    for (FilterChannel &r : filter->outputs)
        r = FilterChannel::decode(in.take(FilterChannel::Size));
    for (float &ms : delay->inputs)
        ms = WireFloat::read(in.take(4));
    for (float &ms : delay->outputs)
        ms = WireFloat::read(in.take(4));
    for (MixerOutput &m : mixer->outputs) {
        const uchar *p = in.take(MixerSize);
        m.decodeEnables(p);
        m.decodeGains(p + MixerOutput::InputCount);
    }
    GeneratorRecord &g = generator->generator;
    const uchar *p = in.take(GeneratorSize);
    g.mute = p[0] != 0;
    g.frequency = qFromLittleEndian<quint16>(p + 1);
    g.source = p[3];
    g.gain = WireFloat::read(p + 4);
    for (int o = 0; o < GeneratorRecord::OutputCount; ++o)
        g.output[size_t(o)] = p[8 + o] != 0;
    for (auto &channel : deq->bands) {
        for (int b = 0; b < DeqBands; ++b)
            channel[size_t(b)] = DeqBand::decode(in.take(DeqBand::Size), b);
    }
    for (QByteArray &record : fir->records)
        record = QByteArray(reinterpret_cast<const char *>(in.take(FirChannel::Size)), FirChannel::Size);
    return true;
}

QByteArray PresetModule::slotImage(const Slot &slot)
{
    QByteArray out = SlotMagic;
    out.append(char(FormatVersion));
    out.append(char(slot.used ? 1 : 0));
    out.append(slot.name.leftJustified(NameSize, '\0', true));
    out.append(slot.settings.size() == SettingsSize ? slot.settings : QByteArray(SettingsSize, '\0'));
    appendChecksum(&out);
    Q_ASSERT(out.size() == SlotImageSize);
    return out;
}

bool PresetModule::readSlotImage(const QByteArray &image, Slot *slot)
{
    if (image.size() != SlotImageSize || !image.startsWith(SlotMagic) || quint8(image.at(MagicSize)) != FormatVersion
        || !checksumHolds(image))
        return false;
    slot->used = image.at(MagicSize + 1) != 0;
    slot->name = image.mid(MagicSize + 2, NameSize);
    slot->settings = slot->used ? image.mid(SlotHeaderSize, SettingsSize) : QByteArray();
    return true;
}

QByteArray PresetModule::allImage() const
{
    QByteArray out = AllMagic;
    out.append(char(FormatVersion));
    out.append(char(qint8(current)));
    for (const Slot &slot : slotTable)
        out.append(slotImage(slot));
    appendChecksum(&out);
    Q_ASSERT(out.size() == AllImageSize);
    return out;
}

bool PresetModule::readAllImage(const QByteArray &image)
{
    if (image.size() != AllImageSize || !image.startsWith(AllMagic) || quint8(image.at(MagicSize)) != FormatVersion
        || !checksumHolds(image))
        return false;
    std::array<Slot, Slots> read;
    for (int s = 0; s < Slots; ++s) {
        if (!readSlotImage(image.mid(AllHeaderSize + s * SlotImageSize, SlotImageSize), &read[size_t(s)]))
            return false;
    }
    slotTable = read;
    const int stored = qint8(image.at(MagicSize + 1));
    current = stored >= 0 && stored < Slots ? stored : -1;
    return true;
}

void PresetModule::save(const VirtualUnit &unit, int slot)
{
    if (slot < 0 || slot >= Slots)
        return;
    Slot &s = slotTable[size_t(slot)];
    s.used = true;
    s.settings = captureSettings(unit);
    current = slot;
}

void PresetModule::erase(int slot)
{
    if (slot < 0 || slot >= Slots)
        return;
    slotTable[size_t(slot)] = Slot();
    if (current == slot)
        current = -1;
}

void PresetModule::rename(int slot, const QByteArray &name)
{
    if (slot < 0 || slot >= Slots || name.isEmpty() || name.size() > NameSize)
        return;
    slotTable[size_t(slot)].name = name.leftJustified(NameSize, '\0');
}

bool PresetModule::recallNow(VirtualUnit &unit, int slot)
{
    if (slot < 0 || slot >= Slots || !slotTable[size_t(slot)].used
        || !applySettings(unit, slotTable[size_t(slot)].settings))
        return false;
    current = slot;
    ++recallsApplied;
    return true;
}

QByteArray PresetModule::currentName() const
{
    if (current < 0 || current >= Slots || !slotTable[size_t(current)].used)
        return {};
    const QByteArray &name = slotTable[size_t(current)].name;
    const int end = name.indexOf('\0');
    return end < 0 ? name : name.left(end);
}

void PresetModule::reportList(VirtualUnit &unit)
{
    QByteArray out;
    out.reserve(ListSize);
    out.append(char(qint8(current)));
    for (const Slot &slot : slotTable) {
        out.append(char(slot.used ? 1 : 0));
        out.append(slot.name.leftJustified(NameSize, '\0', true));
    }
    unit.sendReport(Frame::Module, Frame::Presets, ListParam, out);
}

void PresetModule::reportSize(VirtualUnit &unit, quint8 param, int size)
{
    unit.sendReport(Frame::Module, Frame::Presets, param, u32(quint32(size)));
}

void PresetModule::finishSingleImport()
{
    Slot slot;
    if (m_importSlot >= 0 && readSlotImage(m_import, &slot)) {
        slotTable[size_t(m_importSlot)] = slot;
        if (!slot.used && current == m_importSlot)
            current = -1;
        ++importsApplied;
    } else {
        ++importsRefused;
    }
    m_importSlot = -1;
    m_import.clear();
}

void PresetModule::finishAllImport()
{
    if (readAllImage(m_importAll))
        ++importsApplied;
    else
        ++importsRefused;
    m_importAll.clear();
    m_importAllEnd = -1;
}

bool PresetModule::handle(VirtualUnit &unit, const UnitFrame &frame)
{
    if (frame.cls != Frame::Module || frame.module != Frame::Presets)
        return false;
    const QByteArray &p = frame.payload;
    const auto *bytes = reinterpret_cast<const uchar *>(p.constData());
    auto slotOf = [&p]() { return p.isEmpty() ? -1 : (quint8(p.at(0)) < Slots ? int(quint8(p.at(0))) : -1); };

    // The all-slots import is the one transfer the PC sends as a query (op 0).
    if (frame.param == ImportAllBlockParam) {
        if (p.size() < BlockNumberSize || p.size() > BlockNumberSize + ChunkSize || m_importAllEnd < 0)
            return true;
        const int block = qFromLittleEndian<quint16>(bytes);
        const int at = block * ChunkSize;
        const int count = qMin(p.size() - BlockNumberSize, qMax(0, m_importAll.size() - at));
        if (count > 0)
            std::memcpy(m_importAll.data() + at, p.constData() + BlockNumberSize, size_t(count));
        unit.sendReport(Frame::Module, Frame::Presets, ImportAllBlockParam, p.left(BlockNumberSize));
        m_importAllEnd = qMax(m_importAllEnd, at + count);
        if (m_importAllEnd >= m_importAll.size())
            finishAllImport();
        return true;
    }
    if (frame.op == Frame::Query) {
        if (frame.param == ListParam)
            reportList(unit);
        return true;
    }
    if (frame.op != Frame::Set)
        return true;

    switch (frame.param) {
    case SaveParam:
        if (p.size() == SlotSetSize)
            save(unit, slotOf());
        break;
    case EraseParam:
        if (p.size() == SlotSetSize)
            erase(slotOf());
        break;
    case RenameParam:
        rename(slotOf(), p.mid(1));
        break;
    case RecallParam: {
        const int slot = slotOf();
        if (p.size() != SlotSetSize || slot < 0 || !slotTable[size_t(slot)].used)
            break;
        m_recallSlot = slot;
        m_recallProgress = 0;
        unit.sendReport(Frame::Module, Frame::Presets, RecallParam, QByteArray(1, '\0'));
        break;
    }
    case ExportParam: {
        const int slot = slotOf();
        if (p.size() != SlotSetSize || slot < 0)
            break;
        m_export = slotImage(slotTable[size_t(slot)]);
        m_exportCursor = 0;
        reportSize(unit, ExportParam, m_export.size());
        break;
    }
    case ExportChunkParam: {
        if (p.size() != Protocol::SetSize<P::params, P::ExportChunk>)
            break;
        const quint32 wanted = qFromLittleEndian<quint32>(bytes);
        const int count = int(qMin<quint32>(wanted, quint32(qMax(0, m_export.size() - m_exportCursor))));
        unit.sendReport(Frame::Module, Frame::Presets, ExportChunkParam, m_export.mid(m_exportCursor, count));
        m_exportCursor += count;
        break;
    }
    case ExportAllParam:
        m_exportAll = allImage();
        reportSize(unit, ExportAllParam, m_exportAll.size());
        break;
    case ExportAllBlockParam: {
        if (p.size() != Protocol::SetSize<P::params, P::ExportAllBlock>)
            break;
        const int block = qFromLittleEndian<quint16>(bytes);
        QByteArray reply = p;
        reply.append(m_exportAll.mid(block * ChunkSize, ChunkSize));
        unit.sendReport(Frame::Module, Frame::Presets, ExportAllBlockParam, reply);
        break;
    }
    case ImportParam: {
        const int slot = slotOf();
        if (p.size() != SlotSetSize || slot < 0)
            break;
        m_importSlot = slot;
        m_import.clear();
        reportSize(unit, ImportParam, SlotImageSize);
        break;
    }
    case ImportChunkParam: {
        if (m_importSlot < 0 || p.size() > ChunkSize)
            break;
        const int accepted = qMin(p.size(), SlotImageSize - m_import.size());
        m_import.append(p.left(accepted));
        reportSize(unit, ImportChunkParam, accepted);
        if (m_import.size() == SlotImageSize)
            finishSingleImport();
        break;
    }
    case ImportAllParam:
        m_importAll = QByteArray(AllImageSize, '\0');
        m_importAllEnd = 0;
        reportSize(unit, ImportAllParam, AllImageSize);
        break;
    default:
        break;
    }
    return true;
}

void PresetModule::tick(VirtualUnit &unit)
{
    if (m_recallSlot < 0)
        return;
    m_recallProgress += 10;
    if (m_recallProgress >= 100) {
        const int slot = m_recallSlot;
        m_recallSlot = -1;
        recallNow(unit, slot);
        m_recallProgress = 100;
    }
    unit.sendReport(Frame::Module, Frame::Presets, RecallParam, QByteArray(1, char(m_recallProgress)));
}
