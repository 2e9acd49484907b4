#include "qoutfilter.h"

#include "core/link/frame.h"
#include "core/protocol/protocol.h"

namespace {

const FilterPage::Variant OutputVariant{
    Frame::OutFilter,
    Protocol::count(Protocol::Channels::Outputs),
    false,
    Protocol::Security::lockParam(Frame::OutFilter),
    4,  // outputs are buttons 4..11 of the channel-select dialog
    QT_TRANSLATE_NOOP("FilterPage", "Output Channel"),
    "outFilterWidget",
};

} // namespace

QOutFilter::QOutFilter(Link *link, QWidget *parent)
    : FilterPage(link, OutputVariant, parent)
{
    setObjectName(QStringLiteral("Out Filter"));
}

QOutFilter::~QOutFilter() = default;

void QOutFilter::emitCopyToTwin(uchar select, char *args)
{
    Q_EMIT sigInCopy(select, args);
}
