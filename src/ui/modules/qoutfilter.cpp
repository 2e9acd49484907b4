#include "qoutfilter.h"

#include "core/link/frame.h"

namespace {

const FilterPage::Variant OutputVariant{
    Frame::OutFilter,
    8,
    false,
    12, // lock item of the output filter page
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
