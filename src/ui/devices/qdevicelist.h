#pragma once

#include <QAbstractSocket>
#include <QList>
#include <QScrollArea>

#include "core/devices/broadcastmsg.h"

class QDeviceItem;
class QVBoxLayout;

// The column of unit tiles on the left of the main window, one per entry of
// the device table, in the same order and with the same indexes. Clicking a
// tile chooses that unit.
class QDeviceList : public QScrollArea
{
    Q_OBJECT
    Q_DISABLE_COPY(QDeviceList)

public:
    static constexpr int TileHeight = 67;

    explicit QDeviceList(QWidget *parent = nullptr);
    ~QDeviceList() override;

    int count() const { return m_items.size(); }
    int selectedRow() const { return m_selectedRow; }
    QDeviceItem *itemAt(int row) const;
    QWidget *container() const { return m_container; }

    // Chooses `row` as a click on its tile would (nothing when it is already
    // chosen or out of range).
    void selectRow(int row);
    void setLanguageFontFamily(const QString &family);

public Q_SLOTS:
    void removeRow(int row);
    void addItem(const broadcastMsg *msg);
    void setFaultState(uint row, uchar fault);
    void setNetState(int row, QAbstractSocket::SocketState state);
    void setIpaddr(uint row, uint dwIpaddr);
    void setDeviceModel(uint row, QString string);
    void setDevicePreset(uint row, QString string);
    void setNetBrowsingState(int row, bool isFound);

Q_SIGNALS:
    void sig_devChanged(int index);
    void sig_devChanged2(int index);
    void sig_ipClicked(int index);
    void sig_removeRow(int index);

protected:
    void resizeEvent(QResizeEvent *event) override;

private Q_SLOTS:
    void itemClicked();
    void ipClicked();
    void removeClicked();

private:
    int rowOf(QObject *item) const;
    void fitContainer();

    QWidget *m_container;
    QVBoxLayout *m_layout;
    QList<QDeviceItem *> m_items;
    int m_selectedRow = -1;
    QString m_fontFamily;
};
