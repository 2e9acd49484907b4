#pragma once

#include <QtGlobal>

#include <cstddef>
#include <stdexcept>

#include "core/link/frame.h"

// The pieces the protocol table (protocol.h) is made of: what a module and a
// param of the control link look like, how their payloads are addressed and
// how long they are.
namespace Protocol {

// The two unit families, told apart by the major number of the ARM firmware
// version (status param 2): 1 is the 96 kHz family, every other major the
// 48 kHz family.
enum class Family : quint8 { Hz96k = 1, Hz48k = 2 };

constexpr Family familyOfArm(quint8 armMajor)
{
    return armMajor == 1 ? Family::Hz96k : Family::Hz48k;
}

// The families a module or param exists in.
enum class FamilyMask : quint8 { Both = 0x03, Only96k = 0x01, Only48k = 0x02 };

constexpr bool contains(FamilyMask mask, Family family)
{
    return (quint8(mask) & quint8(family)) != 0;
}

// What a param is for, so a client can walk "every setting of every channel".
enum class Kind : quint8 {
    Setting,  // part of the unit's state: read back for a complete snapshot, written to change it
    Live,     // measured or counted by the unit (meters, gate lamps, run time, faults): read only
    Info,     // what the unit says about itself and its store (model, versions, preset list)
    Action,   // a command with an effect (copy, reset, recall, log in); nothing to read back
    Transfer, // one step of a block transfer (presets, firmware), each led by the last reply
};

// How a param's payloads name what they are about.
enum class Scope : quint8 {
    // One value; queries are empty, sets and reports carry the value alone.
    Unit,
    // One value per channel: queries are [channel], sets and the reports that
    // answer queries are [channel, value].
    Channel,
    // One value per band of a channel: [channel, band], then the value.
    Band,
    // One value per channel, read together: the query is empty and the report
    // holds every channel's value in channel order (Param::report gives one
    // channel's share); a set names one channel first, [channel, value].
    AllChannels,
};

// What the channel byte counts.
enum class Channels : quint8 {
    Module,  // (params only) what the module's channel byte counts
    None,    // no channel byte
    Inputs,  // IN A..D, 0..3
    Outputs, // OUT 1..8, 0..7
    Pairs,   // input pairs: 0 is IN A and IN B, 1 is IN C and IN D
    Slots,   // the unit's preset slots, 0..31
};

constexpr int count(Channels channels)
{
    switch (channels) {
    case Channels::Inputs: return 4;
    case Channels::Outputs: return 8;
    case Channels::Pairs: return 2;
    case Channels::Slots: return 32;
    case Channels::Module:
    case Channels::None: return 0;
    }
    return 0;
}

// The layout of what follows the addressing bytes. Multi-byte fields are
// little-endian, floats IEEE-754 single precision.
enum class Value : quint8 {
    None,          // nothing
    Bool,          // u8, 0 off, anything else on
    U8,
    I8,
    U16,
    U32,
    I32,
    F32,
    Meter,         // i8, a level in dB
    LevelPair,     // i8 input level, i8 output level (dB)
    Lock,          // u8 lock state: 0 free, 1 read-only, anything else hidden
    Text,          // local 8-bit text; reports end it with a NUL inside the payload
    Password,      // Latin-1 bytes, no terminator, at most 8
    Label,         // a 16-byte text field, NUL-terminated unless all 16 bytes are text
    Version,       // u8 major, minor, patch (`firmware`)
    Network,       // u32 address, u32 mask, u32 gateway; first octet in the top byte
    CodeNumber,    // three u16
    DspLoad,       // two f32, percent
    FactorySetup,  // FactoryRecord: 89 bytes, or its first 49 for family-1 units
    FilterSection, // enable u8, type u8, slope u8, frequency f32 (Hz)
    FilterBand,    // enable u8, type u8, frequency f32 (Hz), gain f32 (dB), Q index u8
    FilterLocks,   // 19 lock states: graph, high-pass, low-pass, 16 bands
    Gate,          // GateRecord
    Limiter,       // LimiterRecord
    DeqBand,       // DeqBand
    FirChannel,    // FirChannel
    MixerEnables,  // u8 per input 0..3
    MixerGains,    // i8 dB per input 0..3
    MixerSet,      // the inputs set (1 to 4 bytes, 0..3), then one value for all of them
    CopyMasks,     // u8 input mask, u8 output mask (bit i = channel i)
    InputMask,     // u8 (bit i = input i)
    SlotList,      // i8 current slot (-1 none), then 32 x (u8 used, 16-byte name)
    SlotName,      // 1..16 bytes of local 8-bit text, no terminator
    Progress,      // u8 0..100
    Block,         // u16 block number
    BlockData,     // u16 block number, then the block's bytes
    Bytes,         // opaque bytes
};

// A payload length in bytes: exact (min == max), a range, or "not used" when
// the param has no message of that op.
struct Length
{
    quint16 min = 1;
    quint16 max = 0;

    constexpr bool used() const { return min <= max; }
    constexpr bool exact() const { return used() && min == max; }
    constexpr bool fits(int length) const { return used() && length >= min && length <= max; }
    // The exact length; asked of a length that varies it does not compile
    // (in a constant expression) or throws.
    constexpr int size() const { return exact() ? int(min) : throw std::logic_error("length varies"); }
    // `count` shares of this length (an all-channels report).
    constexpr Length times(int count) const
    {
        return used() ? Length{quint16(min * count), quint16(max * count)} : Length{};
    }
};

constexpr int MaxLength = 0xFFFF;

struct Payload
{
    Length length;
    Value value = Value::None;

    constexpr bool used() const { return length.used(); }
};

// Table rows are written with these.
constexpr Payload none{};
constexpr Payload exactly(int length, Value value = Value::None)
{
    return {{quint16(length), quint16(length)}, value};
}
constexpr Payload between(int min, int max, Value value)
{
    return {{quint16(min), quint16(max)}, value};
}
constexpr Payload atLeast(int min, Value value)
{
    return {{quint16(min), quint16(MaxLength)}, value};
}

// One param of a module: its number, what it is for, and the payloads of its
// query (op 0), set (op 1) and report (op 0x80). A payload that is not used
// means the param has no message of that op. Lengths count the whole
// payload, addressing bytes included.
struct Param
{
    quint8 id;
    const char *name; // stable, lower case, unit in the leaf ("gain_db")
    Kind kind;
    Scope scope;
    Payload query;
    Payload set;
    Payload report;
    Channels channels = Channels::Module;
    FamilyMask families = FamilyMask::Both;

    constexpr bool isQueried() const { return query.used(); }
    constexpr bool isSettable() const { return set.used(); }
    constexpr bool isReported() const { return report.used(); }
    constexpr bool in(Family family) const { return contains(families, family); }

    // The addressing bytes in front of the value: [channel] or [channel,
    // band] in queries of one channel or band, in sets of one, and in the
    // reports that answer such queries. A report of a param that is never
    // queried (an action's progress, a transfer's reply) carries its value
    // alone, as do all-channels reports.
    constexpr int queryAddressSize() const { return scope == Scope::Channel ? 1 : scope == Scope::Band ? 2 : 0; }
    constexpr int setAddressSize() const { return scope == Scope::Unit ? 0 : scope == Scope::Band ? 2 : 1; }
    constexpr int reportAddressSize() const { return isQueried() ? queryAddressSize() : 0; }
    // The whole report of `count` channels (for all-channels params; the
    // report as it is otherwise).
    constexpr Length reportLength(int count) const
    {
        return scope == Scope::AllChannels ? report.length.times(count) : report.length;
    }
};

// One module: its class and id, the channel byte's meaning, the families that
// have it, the bands per channel of its per-band params, and its params.
struct Module
{
    Frame::Class cls;
    quint8 id;
    const char *name; // stable, lower case ("in_level")
    Channels channels;
    FamilyMask families;
    quint8 bands;
    const Param *params;
    std::size_t paramCount;

    template <std::size_t N>
    constexpr Module(Frame::Class cls, quint8 id, const char *name, Channels channels, FamilyMask families,
                     quint8 bands, const Param (&params)[N])
        : cls(cls), id(id), name(name), channels(channels), families(families), bands(bands), params(params),
          paramCount(N)
    {
    }

    constexpr const Param *begin() const { return params; }
    constexpr const Param *end() const { return params + paramCount; }
    constexpr bool in(Family family) const { return contains(families, family); }

    // The channels the module has in `family` (0: the family lacks it).
    constexpr int channelCount(Family family) const { return in(family) ? count(channels) : 0; }

    // What the channel byte of `param` counts, and how many there are in
    // `family` (0: the family lacks the param, or it has no channel byte).
    constexpr Channels channelsOf(const Param &param) const
    {
        return param.channels == Channels::Module ? channels : param.channels;
    }
    constexpr int channelCount(const Param &param, Family family) const
    {
        return in(family) && param.in(family) ? count(channelsOf(param)) : 0;
    }

    constexpr const Param *find(quint8 param) const
    {
        for (const Param &p : *this) {
            if (p.id == param)
                return &p;
        }
        return nullptr;
    }
};

// The row of `param` in a module's table, for constants taken from it at
// compile time; a param the table lacks does not compile.
template <std::size_t N>
constexpr const Param &find(const Param (&table)[N], quint8 param)
{
    for (const Param &p : table) {
        if (p.id == param)
            return p;
    }
    throw std::logic_error("no such param");
}

// The exact payload sizes of a row, fixed at compile time, for senders and
// receivers: Protocol::ReportSize<Protocol::Limiter::params, Protocol::Limiter::Record>.
// An all-channels report gives one channel's share.
template <const auto &Table, quint8 P>
constexpr int QuerySize = find(Table, P).query.length.size();
template <const auto &Table, quint8 P>
constexpr int SetSize = find(Table, P).set.length.size();
template <const auto &Table, quint8 P>
constexpr int ReportSize = find(Table, P).report.length.size();

} // namespace Protocol
