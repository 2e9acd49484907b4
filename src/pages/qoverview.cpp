#include "qoverview.h"

QOverView::QOverView(Link *link, QWidget *parent)
    : QWidget(parent)
    , m_link(link)
{
    setObjectName(QStringLiteral("overView"));
}

QOverView::~QOverView() = default;

void QOverView::refreshState() {}
void QOverView::reset() {}
void QOverView::setInMeter(uchar, int) {}
void QOverView::setInMute(uchar, bool) {}
void QOverView::setGateState(uchar, bool) {}
void QOverView::setInCompMeter(uchar, int) {}
void QOverView::setOutMeter(uchar, int) {}
void QOverView::setOutMute(uchar, bool) {}
void QOverView::setOutCompMeter(uchar, int) {}
void QOverView::setModel(QString) {}
void QOverView::setArmVer(QString) {}
void QOverView::setDspVer(QString) {}
void QOverView::setLocation(QString) {}
void QOverView::setDescription(QString) {}
void QOverView::setIPAddrState(uint) {}
void QOverView::setAllMute(bool) {}
void QOverView::setDspRes(float, float) {}
