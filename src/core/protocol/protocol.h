#pragma once

#include "moduletables.h"
#include "systemtables.h"

// The control link's protocol in one place: every module a unit has, what
// its channel byte counts in each unit family, and for every param its
// number, what it is for (Kind), how its payloads are addressed (Scope), the
// payload length and layout (Value) of its query (op 0), set (op 1) and
// report (op 0x80).
//
// Reading a row: lengths count the whole payload, addressing bytes included;
// a param of Scope::Channel is queried with [channel] and reported as
// [channel, value]; Scope::Band with [channel, band]; Scope::AllChannels is
// queried with an empty payload and reported as every channel's share in
// channel order (the row gives one share, Param::reportLength() the whole);
// Scope::Unit carries the value alone. A report answers a query with the same
// class, module and param; reports may also come unasked.
//
// Names: the param numbers are constants per module (Protocol::Level::Gain,
// Protocol::Status::AllMute), for switch statements; the tables are
// `params` in the same namespaces; module(), param() and find() look rows
// up. Names of modules and params are stable interface (lower case, unit in
// the leaf) for tools that address them by name.
//
// Walking a unit: for each module in the unit's family, each param of Kind
// Setting (or Live, Info) that is queried, and each channel (and band) it
// addresses, send the query and read the report. That is the unit's complete
// state.
namespace Protocol {

// What tells the two families apart beyond the modules they have.
struct FamilyInfo
{
    Family family;
    const char *name;
    int sampleRate;          // Hz, for FIR design
    int firTaps;             // FIR records hold at most this many taps in use
    bool reducedOutputDelay; // outputs 1-4 up to 218 ms, 5-8 up to 148 ms, in 0.02 ms steps
};

inline constexpr FamilyInfo Families[] = {
    {Family::Hz96k, "96k", 96000, 512, false},
    {Family::Hz48k, "48k", 48000, 256, true},
};

constexpr const FamilyInfo &familyInfo(Family family)
{
    return family == Family::Hz96k ? Families[0] : Families[1];
}

inline constexpr Module Modules[] = {
    {Frame::Module, Frame::InLevel, "in_level", Channels::Inputs, FamilyMask::Both, 0, Level::params},
    {Frame::Module, Frame::Gate, "gate", Channels::Inputs, FamilyMask::Both, 0, Gate::params},
    {Frame::Module, Frame::Feedback, "feedback", Channels::Inputs, FamilyMask::Both, 0, Feedback::params},
    {Frame::Module, Frame::InFilter, "in_filter", Channels::Inputs, FamilyMask::Both, FilterChannel::BandCount,
     Filter::params},
    {Frame::Module, Frame::InLimiter, "in_limiter", Channels::Inputs, FamilyMask::Both, 0, Limiter::params},
    {Frame::Module, Frame::InDelay, "in_delay", Channels::Inputs, FamilyMask::Only96k, 0, Delay::params},
    {Frame::Module, Frame::MatrixMixer, "matrix", Channels::Outputs, FamilyMask::Both, 0, Mixer::params},
    {Frame::Module, Frame::SignalGenerator, "generator", Channels::Outputs, FamilyMask::Both, 0, Generator::params},
    {Frame::Module, Frame::OutLevel, "out_level", Channels::Outputs, FamilyMask::Both, 0, Level::outputs.rows},
    {Frame::Module, Frame::OutFilter, "out_filter", Channels::Outputs, FamilyMask::Both, FilterChannel::BandCount,
     Filter::params},
    {Frame::Module, Frame::OutLimiter, "out_limiter", Channels::Outputs, FamilyMask::Both, 0, Limiter::params},
    {Frame::Module, Frame::OutDelay, "out_delay", Channels::Outputs, FamilyMask::Both, 0, Delay::params},
    {Frame::Module, Frame::DynamicEq, "deq", Channels::Inputs, FamilyMask::Both, DeqBand::BandsPerChannel,
     DynamicEq::params},
    {Frame::Module, Frame::Fir, "fir", Channels::Outputs, FamilyMask::Both, 0, Fir::params},
    {Frame::Module, Frame::Presets, "presets", Channels::Slots, FamilyMask::Both, 0, Presets::params},
    {Frame::System, Frame::Login, "login", Channels::None, FamilyMask::Both, 0, Login::params},
    {Frame::System, Frame::Status, "status", Channels::None, FamilyMask::Both, 0, Status::params},
    {Frame::System, Frame::Labels, "labels", Channels::None, FamilyMask::Both, 0, Labels::params},
    {Frame::System, Frame::CodeNumber, "code", Channels::None, FamilyMask::Both, 0, Code::params},
    {Frame::System, Frame::Security, "security", Channels::None, FamilyMask::Both, 0, Security::params},
    {Frame::Firmware, Firmware::Arm, "arm_firmware", Channels::None, FamilyMask::Both, 0, Firmware::params},
    {Frame::Firmware, Firmware::Dsp, "dsp_firmware", Channels::None, FamilyMask::Both, 0, Firmware::params},
};

constexpr const Module *module(quint8 cls, quint8 id)
{
    for (const Module &m : Modules) {
        if (m.cls == cls && m.id == id)
            return &m;
    }
    return nullptr;
}

// A class-3 module.
constexpr const Module *module(quint8 id)
{
    return module(Frame::Module, id);
}

constexpr const Param *param(const Module *module, quint8 param)
{
    return module ? module->find(param) : nullptr;
}

constexpr const Param *param(quint8 cls, quint8 module, quint8 param)
{
    // Not through the pointer overload: a null test on the address of a
    // table row is no constant expression to a compiler checking for UB.
    for (const Module &m : Modules) {
        if (m.cls == cls && m.id == module)
            return m.find(param);
    }
    return nullptr;
}

// A param of a class-3 module.
constexpr const Param *param(quint8 module, quint8 param)
{
    return Protocol::param(Frame::Module, module, param);
}

// The size of a value of fixed layout; -1 when it varies.
constexpr int valueSize(Value value)
{
    switch (value) {
    case Value::None: return 0;
    case Value::Bool:
    case Value::U8:
    case Value::I8:
    case Value::Meter:
    case Value::Lock:
    case Value::InputMask:
    case Value::Progress: return 1;
    case Value::U16:
    case Value::LevelPair:
    case Value::CopyMasks:
    case Value::Block: return 2;
    case Value::Version: return 3;
    case Value::U32:
    case Value::I32:
    case Value::F32: return 4;
    case Value::MixerEnables:
    case Value::MixerGains: return MixerOutput::ReportSize;
    case Value::CodeNumber: return 3 * 2;
    case Value::DspLoad: return 2 * 4;
    case Value::Network: return 3 * 4;
    case Value::Label: return Labels::LabelSize;
    case Value::FilterSection: return Filter::SectionSize;
    case Value::FilterBand: return Filter::BandSize;
    case Value::FilterLocks: return Security::FilterEntries;
    case Value::Gate: return GateRecord::WireSize;
    case Value::Limiter: return LimiterRecord::Size;
    case Value::DeqBand: return DeqBand::Size;
    case Value::FirChannel: return FirChannel::Size;
    case Value::SlotList: return Presets::ListSize;
    case Value::Text:
    case Value::Password:
    case Value::FactorySetup:
    case Value::MixerSet:
    case Value::SlotName:
    case Value::BlockData:
    case Value::Bytes: return -1;
    }
    return -1;
}

} // namespace Protocol
