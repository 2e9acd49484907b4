#include "qoutlimiter.h"

#include "core/link/frame.h"
#include "core/protocol/protocol.h"

namespace {

LimiterPage::Setup outputSetup()
{
    LimiterPage::Setup setup;
    setup.moduleId = Frame::OutLimiter;
    setup.channels = QOutLimiter::Channels;
    setup.lockParam = Protocol::Security::lockParam(Frame::OutLimiter);
    setup.inputs = false;
    return setup;
}

} // namespace

QOutLimiter::QOutLimiter(Link *link, QWidget *parent)
    : LimiterPage(link, outputSetup(), parent)
{
    // The function pages know this page by this name.
    setObjectName(QStringLiteral("Out Limiter"));
}

QOutLimiter::~QOutLimiter() = default;

void QOutLimiter::setOutLabel(uchar channel, const QString &label)
{
    setChannelLabel(channel, label);
}

void QOutLimiter::emitCopy(uchar mask, char *record)
{
    Q_EMIT sigInCopy(mask, record);
}
