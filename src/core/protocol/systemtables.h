#pragma once

#include "core/records/factoryrecord.h"
#include "protocoltypes.h"

// The class-2 (unit) tables and the class-1 (firmware) table. Class-2
// payloads carry no channel byte except where a param says so; texts the PC
// sends have no terminator, texts the unit reports end with a NUL. Where a
// report's length is given as "at least", a longer report is read at its
// layout and a shorter one is ignored.
namespace Protocol {

// Login (class 2, module 1). The unit reports the login state by itself right
// after a connection is made and after every attempt; it is never queried.
namespace Login {
constexpr quint8 Password = 1;

constexpr int MaxPasswordLength = 8;

inline constexpr Param params[] = {
    // The calibration dialog's configuration reset travels here too: an
    // eight-character keyword in place of the password.
    {Password, "login", Kind::Action, Scope::Unit, none, between(0, MaxPasswordLength, Value::Password),
     exactly(1, Value::Bool)},
};
} // namespace Login

// Unit status and settings (class 2, module 2).
namespace Status {
constexpr quint8 Model = 1;
constexpr quint8 ArmVersion = 2;
constexpr quint8 DspVersion = 3;
constexpr quint8 Serial = 4;
constexpr quint8 ChannelConfig = 5; // low byte inputs, high byte outputs
constexpr quint8 RunTime = 6;
constexpr quint8 TotalTime = 7;
constexpr quint8 BootCount = 8;
constexpr quint8 Temperature = 9;
constexpr quint8 Location = 10;
constexpr quint8 Description = 11;
constexpr quint8 Network = 12;
constexpr quint8 Fault = 13; // bit 0 DSP, 1 Flash, 2 Temp, 3 DAC
constexpr quint8 LoginPassword = 14;
constexpr quint8 AllMute = 15;
constexpr quint8 DspLoad = 16;
constexpr quint8 FactoryReset = 17; // restore factory settings and format the unit's storage
constexpr quint8 PanelLock = 20;
constexpr quint8 LcdPage = 22; // -1 polling, 0..5 fixed on one page
constexpr quint8 DeviceId = 26;
constexpr quint8 DspModel = 27; // 0 "-5310", 1 "-2906"
constexpr quint8 FactorySetup = 80;

constexpr int TextSize = 16; // location and description

inline constexpr Param params[] = {
    {Model, "model", Kind::Info, Scope::Unit, exactly(0), none, atLeast(1, Value::Text)},
    {ArmVersion, "arm_version", Kind::Info, Scope::Unit, exactly(0), none, atLeast(3, Value::Version)},
    {DspVersion, "dsp_version", Kind::Info, Scope::Unit, exactly(0), none, atLeast(3, Value::Version)},
    {Serial, "serial", Kind::Info, Scope::Unit, exactly(0), none, atLeast(1, Value::Text)},
    {ChannelConfig, "channel_config", Kind::Info, Scope::Unit, exactly(0), none, atLeast(2, Value::U16)},
    {RunTime, "run_time_s", Kind::Live, Scope::Unit, exactly(0), none, atLeast(4, Value::U32)},
    {TotalTime, "total_time_s", Kind::Live, Scope::Unit, exactly(0), none, atLeast(4, Value::U32)},
    {BootCount, "boot_count", Kind::Live, Scope::Unit, exactly(0), none, atLeast(4, Value::U32)},
    {Temperature, "temperature_c", Kind::Live, Scope::Unit, exactly(0), none, atLeast(4, Value::F32)},
    {Location, "location", Kind::Setting, Scope::Unit, exactly(0), between(0, TextSize, Value::Text),
     atLeast(1, Value::Text)},
    {Description, "description", Kind::Setting, Scope::Unit, exactly(0), between(0, TextSize, Value::Text),
     atLeast(1, Value::Text)},
    {Network, "network", Kind::Setting, Scope::Unit, exactly(0), exactly(12, Value::Network),
     atLeast(12, Value::Network)},
    {Fault, "fault", Kind::Live, Scope::Unit, exactly(0), none, atLeast(1, Value::U8)},
    {LoginPassword, "login_password", Kind::Action, Scope::Unit, none,
     between(1, Login::MaxPasswordLength, Value::Password), none},
    {AllMute, "all_mute", Kind::Setting, Scope::Unit, exactly(0), exactly(1, Value::Bool), atLeast(1, Value::Bool)},
    {DspLoad, "dsp_load_pct", Kind::Live, Scope::Unit, exactly(0), none, atLeast(8, Value::DspLoad)},
    {FactoryReset, "factory_reset", Kind::Action, Scope::Unit, none, exactly(0), none},
    {PanelLock, "panel_lock", Kind::Setting, Scope::Unit, exactly(0), exactly(1, Value::Bool),
     atLeast(1, Value::Bool)},
    {LcdPage, "lcd_page", Kind::Setting, Scope::Unit, exactly(0), exactly(1, Value::I8), atLeast(1, Value::I8)},
    {DeviceId, "device_id", Kind::Info, Scope::Unit, exactly(0), none, atLeast(4, Value::I32)},
    // Set once at the factory, with the factory set-up record.
    {DspModel, "dsp_model", Kind::Info, Scope::Unit, exactly(0), exactly(1, Value::U8), exactly(1, Value::U8)},
    // Family-1 units take the record without its two LCD lines.
    {FactorySetup, "factory_setup", Kind::Action, Scope::Unit, none,
     between(FactoryRecord::ShortSize, FactoryRecord::Size, Value::FactorySetup), none},
};
} // namespace Status

// Channel labels (class 2, module 3): read all at once, renamed one by one.
namespace Labels {
constexpr quint8 Inputs = 1;
constexpr quint8 Outputs = 2;

constexpr int LabelSize = 16;

inline constexpr Param params[] = {
    {Inputs, "inputs", Kind::Setting, Scope::AllChannels, exactly(0), between(1, 1 + LabelSize, Value::Text),
     exactly(LabelSize, Value::Label), Channels::Inputs},
    {Outputs, "outputs", Kind::Setting, Scope::AllChannels, exactly(0), between(1, 1 + LabelSize, Value::Text),
     exactly(LabelSize, Value::Label), Channels::Outputs},
};
} // namespace Labels

// The unit's code number (class 2, module 4).
namespace Code {
constexpr quint8 Number = 1;

inline constexpr Param params[] = {
    {Number, "code", Kind::Info, Scope::Unit, exactly(0), none, atLeast(6, Value::CodeNumber)},
};
} // namespace Code

// Security locks (class 2, module 5). The unit checks the lock password and
// decides every state; lock states change only while the security page is
// open.
namespace Security {
constexpr quint8 Page = 1;        // the lock password opens the page, QuitCode closes it
constexpr quint8 NewPassword = 2; // right after the current lock password on Page
constexpr quint8 InLevel = 3;
constexpr quint8 Gate = 4;
constexpr quint8 Feedback = 5;
constexpr quint8 InFilter = 6;
constexpr quint8 InLimiter = 7;
constexpr quint8 InDelay = 8;
constexpr quint8 Matrix = 9;
constexpr quint8 Generator = 10;
constexpr quint8 OutLevel = 11;
constexpr quint8 OutFilter = 12;
constexpr quint8 OutLimiter = 13;
constexpr quint8 OutDelay = 14;
constexpr quint8 DynamicEq = 16;
constexpr quint8 Fir = 17;

constexpr uchar QuitCode[2] = {0xAA, 0xBB};
// A filter page's lock record per channel: graph, high-pass, low-pass and
// the sixteen bands, in this order.
constexpr int FilterEntries = 19;
constexpr int FilterGraphEntry = 0;
constexpr int FilterHighPassEntry = 1;
constexpr int FilterLowPassEntry = 2;
constexpr int FilterFirstBandEntry = 3;

// The lock param of the page that edits class-3 module `moduleId`.
constexpr quint8 lockParam(quint8 moduleId)
{
    return moduleId <= Frame::OutDelay ? quint8(moduleId + 2) : moduleId;
}

inline constexpr Param params[] = {
    {Page, "page", Kind::Action, Scope::Unit, exactly(0), between(1, Login::MaxPasswordLength, Value::Password),
     exactly(1, Value::Bool)},
    {NewPassword, "new_password", Kind::Action, Scope::Unit, none,
     between(1, Login::MaxPasswordLength, Value::Password), none},
    {InLevel, "in_level", Kind::Setting, Scope::AllChannels, exactly(0), exactly(2, Value::Lock),
     exactly(1, Value::Lock), Channels::Inputs},
    {Gate, "gate", Kind::Setting, Scope::AllChannels, exactly(0), exactly(2, Value::Lock), exactly(1, Value::Lock),
     Channels::Inputs},
    {Feedback, "feedback", Kind::Setting, Scope::AllChannels, exactly(0), exactly(2, Value::Lock),
     exactly(1, Value::Lock), Channels::Inputs},
    {InFilter, "in_filter", Kind::Setting, Scope::Channel, exactly(1), exactly(1 + FilterEntries, Value::FilterLocks),
     exactly(1 + FilterEntries, Value::FilterLocks), Channels::Inputs},
    {InLimiter, "in_limiter", Kind::Setting, Scope::AllChannels, exactly(0), exactly(2, Value::Lock),
     exactly(1, Value::Lock), Channels::Inputs},
    {InDelay, "in_delay", Kind::Setting, Scope::AllChannels, exactly(0), exactly(2, Value::Lock),
     exactly(1, Value::Lock), Channels::Inputs, FamilyMask::Only96k},
    {Matrix, "matrix", Kind::Setting, Scope::AllChannels, exactly(0), exactly(2, Value::Lock),
     exactly(1, Value::Lock), Channels::Outputs},
    {Generator, "generator", Kind::Setting, Scope::AllChannels, exactly(0), exactly(2, Value::Lock),
     exactly(1, Value::Lock), Channels::Outputs},
    {OutLevel, "out_level", Kind::Setting, Scope::AllChannels, exactly(0), exactly(2, Value::Lock),
     exactly(1, Value::Lock), Channels::Outputs},
    {OutFilter, "out_filter", Kind::Setting, Scope::Channel, exactly(1),
     exactly(1 + FilterEntries, Value::FilterLocks), exactly(1 + FilterEntries, Value::FilterLocks),
     Channels::Outputs},
    {OutLimiter, "out_limiter", Kind::Setting, Scope::AllChannels, exactly(0), exactly(2, Value::Lock),
     exactly(1, Value::Lock), Channels::Outputs},
    {OutDelay, "out_delay", Kind::Setting, Scope::AllChannels, exactly(0), exactly(2, Value::Lock),
     exactly(1, Value::Lock), Channels::Outputs},
    {DynamicEq, "deq", Kind::Setting, Scope::AllChannels, exactly(0), exactly(2, Value::Lock),
     exactly(1, Value::Lock), Channels::Inputs, FamilyMask::Only96k},
    {Fir, "fir", Kind::Setting, Scope::AllChannels, exactly(0), exactly(2, Value::Lock), exactly(1, Value::Lock),
     Channels::Outputs, FamilyMask::Only96k},
};
} // namespace Security

// Firmware upload (class 1; module 1 the ARM image, 2 the DSP image). The
// unit acknowledges every block with its number; the next block goes only
// then, and the end of the image is recognised by the unit itself.
namespace Firmware {
constexpr quint8 Arm = 1;
constexpr quint8 Dsp = 2;
constexpr quint8 Block = 1;

constexpr int BlockSize = 1024;

inline constexpr Param params[] = {
    {Block, "block", Kind::Transfer, Scope::Unit, none, between(2 + 1, 2 + BlockSize, Value::BlockData),
     exactly(2, Value::Block)},
};
} // namespace Firmware

} // namespace Protocol
