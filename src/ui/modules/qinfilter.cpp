#include "qinfilter.h"

#include "core/link/frame.h"
#include "core/protocol/protocol.h"

namespace {

const FilterPage::Variant InputVariant{
    Frame::InFilter,
    Protocol::count(Protocol::Channels::Inputs),
    true,
    Protocol::Security::lockParam(Frame::InFilter),
    0, // inputs are buttons 0..3 of the channel-select dialog
    QT_TRANSLATE_NOOP("FilterPage", "Input Channel"),
    "inFilterWidget",
};

} // namespace

QInFilter::QInFilter(Link *link, QWidget *parent)
    : FilterPage(link, InputVariant, parent)
{
    setObjectName(QStringLiteral("In Filter"));
}

QInFilter::~QInFilter() = default;

void QInFilter::emitCopyToTwin(uchar select, char *args)
{
    Q_EMIT sigOutCopy(select, args);
}
