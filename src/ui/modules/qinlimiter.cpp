#include "qinlimiter.h"

#include "core/link/frame.h"
#include "core/protocol/protocol.h"

namespace {

LimiterPage::Setup inputSetup()
{
    LimiterPage::Setup setup;
    setup.moduleId = Frame::InLimiter;
    setup.channels = QInLimiter::Channels;
    setup.lockParam = Protocol::Security::lockParam(Frame::InLimiter);
    setup.inputs = true;
    return setup;
}

} // namespace

QInLimiter::QInLimiter(Link *link, QWidget *parent)
    : LimiterPage(link, inputSetup(), parent)
{
    // The function pages know this page by this name.
    setObjectName(QStringLiteral("In Limiter"));
}

QInLimiter::~QInLimiter() = default;

void QInLimiter::setInLabel(uchar channel, const QString &label)
{
    setChannelLabel(channel, label);
}

void QInLimiter::emitCopy(uchar mask, char *record)
{
    Q_EMIT sigOutCopy(mask, record);
}
