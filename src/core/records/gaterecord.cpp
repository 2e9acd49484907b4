#include "gaterecord.h"

#include "wirefloat.h"

namespace {

constexpr int EnableAt = 0;
constexpr int ThresholdAt = 1;
constexpr int AttackAt = 5;
constexpr int DecayAt = 9;

static_assert(DecayAt + 4 == GateRecord::WireSize, "gate record layout");

} // namespace

void GateRecord::encode(uchar *out) const
{
    out[EnableAt] = enable ? 1 : 0;
    WireFloat::write(out + ThresholdAt, threshold);
    WireFloat::write(out + AttackAt, attack);
    WireFloat::write(out + DecayAt, decay);
}

GateRecord GateRecord::decode(const uchar *in)
{
    GateRecord r;
    r.enable = in[EnableAt] != 0;
    r.threshold = qint8(WireFloat::truncateBounded(WireFloat::read(in + ThresholdAt), MinThreshold, MaxThreshold,
                                                   DefaultThreshold));
    r.attack = quint16(WireFloat::truncateBounded(WireFloat::read(in + AttackAt), MinAttack, MaxAttack, MinAttack));
    r.decay = quint16(WireFloat::truncateBounded(WireFloat::read(in + DecayAt), MinDecay, MaxDecay, MinDecay));
    return r;
}

qint8 GateRecord::boundThreshold(int dB)
{
    return qint8(qBound(MinThreshold, dB, MaxThreshold));
}

quint16 GateRecord::boundAttack(int ms)
{
    return quint16(qBound(MinAttack, ms, MaxAttack));
}

quint16 GateRecord::boundDecay(int ms)
{
    return quint16(qBound(MinDecay, ms, MaxDecay));
}

bool GateRecord::operator==(const GateRecord &other) const
{
    return enable == other.enable && threshold == other.threshold && attack == other.attack && decay == other.decay;
}
