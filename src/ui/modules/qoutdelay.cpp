#include "qoutdelay.h"

#include "core/link/frame.h"
#include "core/protocol/protocol.h"

namespace {

constexpr quint8 LockParam = Protocol::Security::lockParam(Frame::OutDelay);
constexpr double FullStep = 0.01;
constexpr double ReducedStep = 0.02;

} // namespace

QOutDelay::QOutDelay(Link *link, QWidget *parent)
    : DelayPage(link, Frame::OutDelay, OutputCount, LockParam, DelayRecord::OutputMaxMs,
                QStringLiteral("outDelayWidget"), QStringLiteral("delayCtrlBgWidget"), parent)
{
    setObjectName(QStringLiteral("Out Delay"));
    for (int output = 0; output < OutputCount; ++output)
        setTitle(output, QString());
}

QOutDelay::~QOutDelay() = default;

QString QOutDelay::defaultTitle(int channel) const
{
    return QStringLiteral("OUT %1").arg(channel + 1);
}

void QOutDelay::setOutLabel(uchar channel, const QString &label)
{
    setTitle(channel, label);
}

void QOutDelay::setReducedRange(bool reduced)
{
    if (reduced == m_reducedRange)
        return;
    m_reducedRange = reduced;
    // The slider's wheel step follows the spin box's: with 0.01 ms steps a
    // notch down would land on an odd hundredth and be snapped straight back.
    for (int output = 0; output < OutputCount; ++output)
        setRowRange(output, DelayRecord::outputMaxMs(output, reduced), reduced ? ReducedStep : FullStep);
}

double QOutDelay::acceptedValue(double ms) const
{
    return m_reducedRange ? DelayRecord::snapToEvenHundredths(ms) : ms;
}
