#include "protocol.h"

#include <cstring>

// The table checks itself when it is built: every fixed layout agrees with
// its length, and the records' own sizes agree with the table.
namespace Protocol {
namespace {

constexpr bool lengthFits(const Payload &payload, int address, bool share = false)
{
    if (!payload.used())
        return true;
    const int size = valueSize(payload.value);
    if (size < 0)
        return payload.length.min >= address;
    const int whole = share ? size : address + size;
    // A report read "at least" at its layout may be longer.
    return payload.length.min == whole
        && (payload.length.max == whole || payload.length.max == MaxLength);
}

constexpr bool rowAgrees(const Param &p)
{
    // An all-channels report gives one channel's share.
    const bool share = p.scope == Scope::AllChannels;
    return lengthFits(p.query, p.queryAddressSize()) && lengthFits(p.set, p.setAddressSize())
        && lengthFits(p.report, share ? 0 : p.reportAddressSize(), share)
        && (p.isQueried() || p.isSettable());
}

constexpr bool sameText(const char *a, const char *b)
{
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

constexpr bool tablesAgree()
{
    for (const Module &m : Modules) {
        for (const Param &p : m) {
            if (!rowAgrees(p))
                return false;
            // Per-band params need bands, per-channel ones something to count.
            if (p.scope == Scope::Band && m.bands == 0)
                return false;
            if (p.scope != Scope::Unit && count(m.channelsOf(p)) == 0)
                return false;
            for (const Param *q = &p + 1; q != m.end(); ++q) {
                if (q->id == p.id || sameText(q->name, p.name))
                    return false;
            }
        }
        for (const Module *n = &m + 1; n != std::end(Modules); ++n) {
            if ((n->cls == m.cls && n->id == m.id) || (n->cls == m.cls && sameText(n->name, m.name)))
                return false;
        }
    }
    return true;
}

static_assert(tablesAgree(), "a row of the protocol table contradicts its layout, or repeats a number or name");

// Lengths as the message tables give them, against the records.
static_assert(find(Limiter::params, Limiter::Record).set.length.size() == 18, "limiter set [channel, 17 bytes]");
static_assert(find(Gate::params, Gate::Record).report.length.size() == 14, "gate report [channel, 13 bytes]");
static_assert(find(DynamicEq::params, DynamicEq::Band).report.length.size() == 33, "DEQ band [ch, band, 31]");
static_assert(find(Fir::params, Fir::Record).set.length.size() == 2067, "FIR set [channel, 2066 bytes]");
static_assert(find(Filter::params, Filter::HighPass).report.length.size() == 8, "filter section [ch, 7 bytes]");
static_assert(find(Filter::params, Filter::Band).set.length.size() == 13, "filter band [ch, band, 11 bytes]");
static_assert(find(Delay::params, Delay::Milliseconds).report.length.size() == 5, "delay [channel, f32]");
static_assert(find(Mixer::params, Mixer::Gain).report.length.size() == 5, "mixer row [output, 4 gains]");
static_assert(find(Presets::params, Presets::List).report.length.size() == 545, "slot list");
static_assert(find(Security::params, Security::InFilter).report.length.size() == 20, "filter locks");

static_assert(FilterChannel::BandCount == 16 && DeqBand::BandsPerChannel == 3, "bands per channel");
static_assert(module(Frame::InFilter)->bands == FilterChannel::BandCount, "filter bands");
static_assert(module(Frame::DynamicEq)->bands == DeqBand::BandsPerChannel, "DEQ bands");
static_assert(DeqBand::ChannelSize == DeqBand::Size * DeqBand::BandsPerChannel, "DEQ channel record");
static_assert(FirChannel::MaxTaps == familyInfo(Family::Hz96k).firTaps, "FIR records hold the 96 kHz taps");
static_assert(familyInfo(Family::Hz48k).firTaps < FirChannel::MaxTaps, "48 kHz FIR taps");
static_assert(FirChannel::HeaderSize == 18, "FIR header");
static_assert(MixerOutput::InputCount == count(Channels::Inputs), "matrix inputs");
static_assert(GeneratorRecord::OutputCount == module(Frame::SignalGenerator)->channelCount(Family::Hz48k),
              "generator outputs");
static_assert(find(Status::params, Status::FactorySetup).set.length.fits(FactoryRecord::Size)
                  && find(Status::params, Status::FactorySetup).set.length.fits(FactoryRecord::ShortSize),
              "factory record, both forms");
static_assert(module(Frame::InDelay)->channelCount(Family::Hz48k) == 0, "48 kHz units have no input delay");
static_assert(find(Security::params, Security::InDelay).in(Family::Hz96k)
                  && !find(Security::params, Security::InDelay).in(Family::Hz48k),
              "input-delay locks on 96 kHz units only");

// Lock params follow the module ids.
static_assert(Security::lockParam(Frame::InLevel) == Security::InLevel, "in level lock");
static_assert(Security::lockParam(Frame::Gate) == Security::Gate, "gate lock");
static_assert(Security::lockParam(Frame::Feedback) == Security::Feedback, "feedback lock");
static_assert(Security::lockParam(Frame::InFilter) == Security::InFilter, "in filter lock");
static_assert(Security::lockParam(Frame::InLimiter) == Security::InLimiter, "in limiter lock");
static_assert(Security::lockParam(Frame::InDelay) == Security::InDelay, "in delay lock");
static_assert(Security::lockParam(Frame::MatrixMixer) == Security::Matrix, "matrix lock");
static_assert(Security::lockParam(Frame::SignalGenerator) == Security::Generator, "generator lock");
static_assert(Security::lockParam(Frame::OutLevel) == Security::OutLevel, "out level lock");
static_assert(Security::lockParam(Frame::OutFilter) == Security::OutFilter, "out filter lock");
static_assert(Security::lockParam(Frame::OutLimiter) == Security::OutLimiter, "out limiter lock");
static_assert(Security::lockParam(Frame::OutDelay) == Security::OutDelay, "out delay lock");
static_assert(Security::lockParam(Frame::DynamicEq) == Security::DynamicEq, "DEQ lock");
static_assert(Security::lockParam(Frame::Fir) == Security::Fir, "FIR lock");

} // namespace
} // namespace Protocol
