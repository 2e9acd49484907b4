#include "qindelay.h"

#include "core/link/frame.h"
#include "core/protocol/protocol.h"

namespace {

constexpr quint8 LockParam = Protocol::Security::lockParam(Frame::InDelay);

} // namespace

QInDelay::QInDelay(Link *link, QWidget *parent)
    : DelayPage(link, Frame::InDelay, InputCount, LockParam, DelayRecord::InputMaxMs,
                QStringLiteral("inDelayWidget"), QStringLiteral("inDelayCtrlBgWidget"), parent)
{
    setObjectName(QStringLiteral("In Delay"));
    for (int input = 0; input < InputCount; ++input)
        setTitle(input, QString());
}

QInDelay::~QInDelay() = default;

QString QInDelay::defaultTitle(int channel) const
{
    return QStringLiteral("IN %1").arg(QChar(QLatin1Char('A').unicode() + channel));
}

void QInDelay::setInLabel(uchar channel, const QString &label)
{
    setTitle(channel, label);
}
