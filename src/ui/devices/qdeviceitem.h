#pragma once

#include <QWidget>

class QLabel;
class QMenu;
class QAction;
class QPushButton;

// One unit's tile in the device list: model, address and current preset, the
// fault and online lamps, and the "IP Setting" / "Remove Device" menu.
class QDeviceItem : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(QDeviceItem)

public:
    explicit QDeviceItem(QWidget *parent = nullptr);
    ~QDeviceItem() override;

    void setModel(const QString &model);
    void setIpAddress(quint32 ipaddress);
    void setPreset(const QString &preset);
    void setOnline(bool on);
    void setFault(bool on);
    void setSelected(bool selected);
    void setLanguageFontFamily(const QString &family);

    bool isSelected() const { return m_selected; }
    bool isOnline() const { return m_online; }
    bool hasFault() const { return m_fault; }
    QString modelText() const;
    QString ipText() const;
    QString presetText() const;
    QMenu *contextMenu() const { return m_menu; }
    QAction *ipSettingAction() const { return m_ipAction; }
    QAction *removeAction() const { return m_removeAction; }

Q_SIGNALS:
    void Selected();
    void ipClicked();
    void Remove();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyStyle();
    void retranslate();
    void describe();

    QLabel *m_modelLabel;
    QLabel *m_ipLabel;
    QLabel *m_presetLabel;
    QPushButton *m_faultLamp;
    QPushButton *m_onlineLamp;
    QMenu *m_menu;
    QAction *m_ipAction;
    QAction *m_removeAction;
    bool m_selected = false;
    bool m_online = false;
    bool m_fault = false;
};
