#pragma once

#include "core/records/delayrecord.h"
#include "core/records/deqband.h"
#include "core/records/filterchannel.h"
#include "core/records/firchannel.h"
#include "core/records/gaterecord.h"
#include "core/records/generatorrecord.h"
#include "core/records/limiterrecord.h"
#include "core/records/mixerrecord.h"
#include "protocoltypes.h"

// The class-3 (DSP module) tables. Each namespace holds a module's param
// numbers, usable in switch statements, and its table; twin modules (input
// and output level, filter, limiter, delay) share theirs. protocol.h lists
// the modules with their ids and channels.
namespace Protocol {

namespace Detail {

// `table` without the row of `param`, for a twin that lacks one.
template <std::size_t N>
struct Without
{
    Param rows[N - 1];
};

template <std::size_t N>
constexpr Without<N> without(const Param (&table)[N], quint8 param)
{
    Without<N> out{};
    std::size_t at = 0;
    for (const Param &p : table) {
        if (p.id != param)
            out.rows[at++] = p;
    }
    return at == N - 1 ? out : throw std::logic_error("no such param");
}

} // namespace Detail

// Input level (module 1) and output level (module 9).
namespace Level {
constexpr quint8 Meters = 1;
constexpr quint8 Mute = 2;
constexpr quint8 Gain = 3;
constexpr quint8 Invert = 4;
constexpr quint8 Group = 5;
constexpr quint8 Source = 7; // input level only: "Analog" 0 or "AES" 1 per input pair
constexpr quint8 Trim = 32;  // calibration trim, beside the operator's gain

inline constexpr Param params[] = {
    {Meters, "meter_db", Kind::Live, Scope::AllChannels, exactly(0), none, exactly(1, Value::Meter)},
    {Mute, "mute", Kind::Setting, Scope::Channel, exactly(1), exactly(2, Value::Bool), exactly(2, Value::Bool)},
    {Gain, "gain_db", Kind::Setting, Scope::Channel, exactly(1), exactly(5, Value::F32), exactly(5, Value::F32)},
    {Invert, "invert", Kind::Setting, Scope::Channel, exactly(1), exactly(2, Value::Bool), exactly(2, Value::Bool)},
    // 0 is no group; inputs have groups 1 and 2, outputs 1 to 4.
    {Group, "group", Kind::Setting, Scope::Channel, exactly(1), exactly(2, Value::U8), exactly(2, Value::U8)},
    {Source, "source", Kind::Setting, Scope::AllChannels, exactly(0), exactly(2, Value::U8), exactly(1, Value::U8),
     Channels::Pairs},
    {Trim, "trim_db", Kind::Setting, Scope::Channel, exactly(1), exactly(5, Value::F32), exactly(5, Value::F32)},
};
inline constexpr auto outputs = Detail::without(params, Source);
} // namespace Level

// Noise gate (module 2).
namespace Gate {
constexpr quint8 Open = 1;
constexpr quint8 Record = 2;

inline constexpr Param params[] = {
    {Open, "open", Kind::Live, Scope::AllChannels, exactly(0), none, exactly(1, Value::Bool)},
    {Record, "gate", Kind::Setting, Scope::Channel, exactly(1), exactly(1 + GateRecord::WireSize, Value::Gate),
     exactly(1 + GateRecord::WireSize, Value::Gate)},
};
} // namespace Gate

// Feedback suppressor (module 3).
namespace Feedback {
constexpr quint8 Enable = 1;

inline constexpr Param params[] = {
    {Enable, "enable", Kind::Setting, Scope::Channel, exactly(1), exactly(2, Value::Bool), exactly(2, Value::Bool)},
};
} // namespace Feedback

// Input filter (module 4) and output filter (module 10): high-pass, low-pass
// and sixteen bands per channel.
namespace Filter {
constexpr quint8 HighPass = 1;
constexpr quint8 LowPass = 2;
constexpr quint8 Band = 3;
constexpr quint8 Copy = 4;  // the unit copies the channel to the inputs and outputs in the masks
constexpr quint8 Reset = 5; // the unit restores the channel's defaults

constexpr int SectionSize = 7; // enable, type, slope, frequency f32
constexpr int BandSize = 11;   // enable, type, frequency f32, gain f32, Q index

inline constexpr Param params[] = {
    {HighPass, "high_pass", Kind::Setting, Scope::Channel, exactly(1), exactly(1 + SectionSize, Value::FilterSection),
     exactly(1 + SectionSize, Value::FilterSection)},
    {LowPass, "low_pass", Kind::Setting, Scope::Channel, exactly(1), exactly(1 + SectionSize, Value::FilterSection),
     exactly(1 + SectionSize, Value::FilterSection)},
    {Band, "band", Kind::Setting, Scope::Band, exactly(2), exactly(2 + BandSize, Value::FilterBand),
     exactly(2 + BandSize, Value::FilterBand)},
    {Copy, "copy", Kind::Action, Scope::Channel, none, exactly(3, Value::CopyMasks), none},
    {Reset, "reset", Kind::Action, Scope::Channel, none, exactly(1), none},
};
} // namespace Filter

// Input limiter (module 5) and output limiter (module 11).
namespace Limiter {
constexpr quint8 Record = 1;
constexpr quint8 Copy = 2;  // the first mask names inputs, the second outputs, in both modules
constexpr quint8 Reset = 3;
constexpr quint8 Levels = 4;

inline constexpr Param params[] = {
    {Record, "limiter", Kind::Setting, Scope::Channel, exactly(1), exactly(1 + LimiterRecord::Size, Value::Limiter),
     exactly(1 + LimiterRecord::Size, Value::Limiter)},
    {Copy, "copy", Kind::Action, Scope::Channel, none, exactly(3, Value::CopyMasks), none},
    {Reset, "reset", Kind::Action, Scope::Channel, none, exactly(1), none},
    {Levels, "levels_db", Kind::Live, Scope::AllChannels, exactly(0), none, exactly(2, Value::LevelPair)},
};
} // namespace Limiter

// Input delay (module 6, family 1 only) and output delay (module 12).
namespace Delay {
constexpr quint8 Milliseconds = 1;

inline constexpr Param params[] = {
    {Milliseconds, "delay_ms", Kind::Setting, Scope::Channel, exactly(1),
     exactly(1 + DelayRecord::WireSize, Value::F32), exactly(1 + DelayRecord::WireSize, Value::F32)},
};
} // namespace Delay

// Matrix mixer (module 7). The channel byte is the output; a set lists the
// inputs it changes and then one value for all of them.
namespace Mixer {
constexpr quint8 Enable = 1;
constexpr quint8 Gain = 2;

constexpr int RowSize = 1 + MixerOutput::ReportSize;
constexpr int MinSetSize = 1 + 1 + 1;
constexpr int MaxSetSize = 1 + MixerOutput::InputCount + 1;

inline constexpr Param params[] = {
    {Enable, "enable", Kind::Setting, Scope::Channel, exactly(1), between(MinSetSize, MaxSetSize, Value::MixerSet),
     exactly(RowSize, Value::MixerEnables)},
    {Gain, "gain_db", Kind::Setting, Scope::Channel, exactly(1), between(MinSetSize, MaxSetSize, Value::MixerSet),
     exactly(RowSize, Value::MixerGains)},
};
} // namespace Mixer

// Signal generator (module 8). Only the routing onto an output carries a
// channel byte; the rest is the generator's own and travels without one.
namespace Generator {
constexpr quint8 Output = 1;
constexpr quint8 Frequency = 2;
constexpr quint8 Source = 3; // 0 "PinkNoise", 1 "Sine", 2 "WhiteNoise"
constexpr quint8 Gain = 4;
constexpr quint8 Mute = 5;

inline constexpr Param params[] = {
    {Output, "output", Kind::Setting, Scope::Channel, exactly(1),
     exactly(1 + GeneratorRecord::RoutingSize, Value::Bool), exactly(1 + GeneratorRecord::RoutingSize, Value::Bool)},
    {Frequency, "freq_hz", Kind::Setting, Scope::Unit, exactly(0), exactly(GeneratorRecord::FrequencySize, Value::F32),
     exactly(GeneratorRecord::FrequencySize, Value::F32)},
    {Source, "source", Kind::Setting, Scope::Unit, exactly(0), exactly(GeneratorRecord::SourceSize, Value::U8),
     exactly(GeneratorRecord::SourceSize, Value::U8)},
    {Gain, "gain_db", Kind::Setting, Scope::Unit, exactly(0), exactly(GeneratorRecord::GainSize, Value::F32),
     exactly(GeneratorRecord::GainSize, Value::F32)},
    {Mute, "mute", Kind::Setting, Scope::Unit, exactly(0), exactly(GeneratorRecord::MuteSize, Value::Bool),
     exactly(GeneratorRecord::MuteSize, Value::Bool)},
};
} // namespace Generator

// Dynamic EQ (module 16): three bands per input.
namespace DynamicEq {
constexpr quint8 Band = 1;
constexpr quint8 Copy = 2; // to the inputs in the mask
constexpr quint8 Reset = 3;

inline constexpr Param params[] = {
    {Band, "band", Kind::Setting, Scope::Band, exactly(2), exactly(2 + DeqBand::Size, Value::DeqBand),
     exactly(2 + DeqBand::Size, Value::DeqBand)},
    {Copy, "copy", Kind::Action, Scope::Channel, none, exactly(2, Value::InputMask), none},
    {Reset, "reset", Kind::Action, Scope::Channel, none, exactly(1), none},
};
} // namespace DynamicEq

// FIR (module 17): a channel's whole record, coefficients included, in one
// frame each way.
namespace Fir {
constexpr quint8 Record = 1;
constexpr quint8 Clear = 2; // the unit restores the channel's defaults

inline constexpr Param params[] = {
    {Record, "fir", Kind::Setting, Scope::Channel, exactly(1), exactly(1 + FirChannel::Size, Value::FirChannel),
     exactly(1 + FirChannel::Size, Value::FirChannel)},
    {Clear, "clear", Kind::Action, Scope::Channel, none, exactly(1), none},
};
} // namespace Fir

// Presets stored on the unit (module 32). The slot travels in the channel
// position. Transfers go in chunks the PC asks for; the images are the
// unit's own and the PC keeps them byte for byte.
namespace Presets {
constexpr quint8 List = 1;
constexpr quint8 Save = 2;
constexpr quint8 Erase = 4;
constexpr quint8 Rename = 5;
constexpr quint8 ExportAllBlock = 6;
constexpr quint8 ImportAllBlock = 7; // sent with op 0, data and all
constexpr quint8 Recall = 9;
constexpr quint8 Export = 10;
constexpr quint8 ExportAll = 11;
constexpr quint8 ExportChunk = 12;
constexpr quint8 Import = 13;
constexpr quint8 ImportAll = 14;
constexpr quint8 ImportChunk = 15;

constexpr int Slots = 32;
constexpr int NameSize = 16;
constexpr int ChunkSize = 1024;
constexpr int ListSize = 1 + Slots * (1 + NameSize);
constexpr int BlockNumberSize = 2;
constexpr int SizeReportSize = 4;

inline constexpr Param params[] = {
    {List, "list", Kind::Info, Scope::Unit, exactly(0), none, exactly(ListSize, Value::SlotList)},
    {Save, "save", Kind::Action, Scope::Channel, none, exactly(1), none},
    {Erase, "erase", Kind::Action, Scope::Channel, none, exactly(1), none},
    {Rename, "rename", Kind::Action, Scope::Channel, none, between(2, 1 + NameSize, Value::SlotName), none},
    // The reply names the block asked for, then up to a chunk; a shorter
    // block is the last.
    {ExportAllBlock, "export_all_block", Kind::Transfer, Scope::Unit, none, exactly(BlockNumberSize, Value::Block),
     between(BlockNumberSize, BlockNumberSize + ChunkSize, Value::BlockData)},
    {ImportAllBlock, "import_all_block", Kind::Transfer, Scope::Unit,
     between(BlockNumberSize + 1, BlockNumberSize + ChunkSize, Value::BlockData), none,
     exactly(BlockNumberSize, Value::Block)},
    // Unasked reports follow a recall: 0 opens the progress, 100 ends it.
    {Recall, "recall", Kind::Action, Scope::Channel, none, exactly(1), exactly(1, Value::Progress)},
    {Export, "export", Kind::Transfer, Scope::Channel, none, exactly(1), exactly(SizeReportSize, Value::U32)},
    {ExportAll, "export_all", Kind::Transfer, Scope::Unit, none, exactly(0), exactly(SizeReportSize, Value::U32)},
    {ExportChunk, "export_chunk", Kind::Transfer, Scope::Unit, none, exactly(4, Value::U32),
     between(0, ChunkSize, Value::Bytes)},
    {Import, "import", Kind::Transfer, Scope::Channel, none, exactly(1), exactly(SizeReportSize, Value::U32)},
    {ImportAll, "import_all", Kind::Transfer, Scope::Unit, none, exactly(0), exactly(SizeReportSize, Value::U32)},
    {ImportChunk, "import_chunk", Kind::Transfer, Scope::Unit, none, between(1, ChunkSize, Value::Bytes),
     exactly(SizeReportSize, Value::U32)},
};
} // namespace Presets

} // namespace Protocol
