#include "qdevicelist.h"

#include <QResizeEvent>
#include <QScrollBar>
#include <QVBoxLayout>

#include "qdeviceitem.h"

QDeviceList::QDeviceList(QWidget *parent)
    : QScrollArea(parent)
    , m_container(new QWidget)
    , m_layout(new QVBoxLayout(m_container))
{
    setObjectName(QStringLiteral("deviceListScrollArea"));
    m_container->setObjectName(QStringLiteral("deviceListContainer"));
    setMinimumWidth(140);
    setFont(QFont(QStringLiteral("Arial"), 9));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_layout->setContentsMargins(1, 1, 1, 1);
    m_layout->setSpacing(1);
    m_layout->setAlignment(Qt::AlignTop);
    setWidget(m_container);
    fitContainer();
}

QDeviceList::~QDeviceList() = default;

QDeviceItem *QDeviceList::itemAt(int row) const
{
    return row >= 0 && row < m_items.size() ? m_items.at(row) : nullptr;
}

int QDeviceList::rowOf(QObject *item) const
{
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i) == item)
            return i;
    }
    return -1;
}

void QDeviceList::fitContainer()
{
    m_container->setFixedHeight(m_items.size() * TileHeight);
    const QScrollBar *bar = verticalScrollBar();
    const int width = bar && bar->isVisible() ? viewport()->width() - bar->width() - 2 : viewport()->width() - 1;
    m_container->setMinimumWidth(qMax(0, width));
    m_container->resize(qMax(0, width), m_container->height());
}

void QDeviceList::setLanguageFontFamily(const QString &family)
{
    m_fontFamily = family;
    for (QDeviceItem *item : qAsConst(m_items))
        item->setLanguageFontFamily(family);
}

void QDeviceList::addItem(const broadcastMsg *msg)
{
    auto *item = new QDeviceItem(m_container);
    m_items.append(item);
    m_layout->addWidget(item);
    fitContainer();
    if (msg) {
        item->setModel(QString::fromLocal8Bit(broadcastMsg::fieldText(msg->model, broadcastMsg::ModelSize, 16)));
        item->setIpAddress(msg->ipaddress);
        item->setPreset(QString::fromLocal8Bit(broadcastMsg::fieldText(msg->presetName, broadcastMsg::TextSize, 16)));
        // The record's fault byte is only signalled again when it changes; a
        // unit that is already at fault when first heard must show it now.
        item->setFault(msg->fault != 0);
    }
    item->setLanguageFontFamily(m_fontFamily);
    item->show();
    connect(item, &QDeviceItem::Selected, this, &QDeviceList::itemClicked);
    connect(item, &QDeviceItem::Remove, this, &QDeviceList::removeClicked);
    connect(item, &QDeviceItem::ipClicked, this, &QDeviceList::ipClicked);
}

void QDeviceList::removeRow(int row)
{
    if (row < 0 || row >= m_items.size())
        return;
    if (row < m_selectedRow) {
        --m_selectedRow;
        Q_EMIT sig_devChanged2(m_selectedRow);
    } else if (row == m_selectedRow) {
        m_selectedRow = -1;
        Q_EMIT sig_devChanged(-1);
    }
    QDeviceItem *item = m_items.takeAt(row);
    m_layout->removeWidget(item);
    // The tile may be the sender of the signal that led here (its menu).
    item->hide();
    item->deleteLater();
    fitContainer();
}

void QDeviceList::selectRow(int row)
{
    QDeviceItem *item = itemAt(row);
    if (!item || item->isSelected())
        return;
    item->setSelected(true);
    Q_EMIT item->Selected();
}

void QDeviceList::itemClicked()
{
    const int row = rowOf(sender());
    if (row < 0)
        return;
    if (QDeviceItem *previous = itemAt(m_selectedRow); previous && m_selectedRow != row)
        previous->setSelected(false);
    m_selectedRow = row;
    ensureWidgetVisible(m_items.at(row));
    Q_EMIT sig_devChanged(row);
}

void QDeviceList::ipClicked()
{
    const int row = rowOf(sender());
    if (row >= 0)
        Q_EMIT sig_ipClicked(row);
}

void QDeviceList::removeClicked()
{
    const int row = rowOf(sender());
    if (row < 0)
        return;
    removeRow(row);
    Q_EMIT sig_removeRow(row);
}

void QDeviceList::setFaultState(uint row, uchar fault)
{
    if (QDeviceItem *item = itemAt(int(row)))
        item->setFault(fault != 0);
}

void QDeviceList::setNetState(int row, QAbstractSocket::SocketState state)
{
    if (QDeviceItem *item = itemAt(row))
        item->setOnline(state != QAbstractSocket::UnconnectedState);
}

void QDeviceList::setIpaddr(uint row, uint dwIpaddr)
{
    if (QDeviceItem *item = itemAt(int(row)))
        item->setIpAddress(dwIpaddr);
}

void QDeviceList::setDeviceModel(uint row, QString string)
{
    if (QDeviceItem *item = itemAt(int(row)))
        item->setModel(string);
}

void QDeviceList::setDevicePreset(uint row, QString string)
{
    if (QDeviceItem *item = itemAt(int(row)))
        item->setPreset(string);
}

void QDeviceList::setNetBrowsingState(int row, bool isFound)
{
    QDeviceItem *item = itemAt(row);
    if (!item)
        return;
    item->setOnline(isFound);
    // A chosen unit that comes back is reconnected from scratch.
    if (isFound && row == m_selectedRow)
        Q_EMIT sig_devChanged(row);
}

void QDeviceList::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    fitContainer();
}
