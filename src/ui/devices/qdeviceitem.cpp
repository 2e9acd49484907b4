#include "qdeviceitem.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolTip>
#include <QVBoxLayout>

#include "core/devices/broadcastmsg.h"
#include "ui/controls/keyboardaccess.h"

namespace {

const char LampOff[] = "border-radius:5px;padding:2px 4px;background-color:#707070";
const char OnlineOn[] = "border-radius:5px;padding:2px 4px;background-color:#00FF00";
const char FaultOn[] = "border-radius:5px;padding:2px 4px;background-color:#FF0000";
const char LabelSelected[] = "color: rgb(255, 255, 255);";
const char LabelUnselected[] = "color: rgb(171, 171, 171);";
constexpr int ShownTextBytes = 16;

QLabel *centredLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QLatin1String(LabelUnselected));
    return label;
}

QPushButton *lamp(QWidget *parent)
{
    auto *button = new QPushButton(parent);
    button->setFixedSize(10, 10);
    button->setEnabled(false);
    button->setFocusPolicy(Qt::NoFocus);
    button->setStyleSheet(QLatin1String(LampOff));
    return button;
}

// At most the first 16 bytes in the local code page, as the tile has room for.
QString shown(const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    if (bytes.size() <= ShownTextBytes)
        return text;
    return QString::fromLocal8Bit(bytes.left(ShownTextBytes));
}

} // namespace

QDeviceItem::QDeviceItem(QWidget *parent)
    : QWidget(parent)
    , m_modelLabel(centredLabel(this))
    , m_ipLabel(centredLabel(this))
    , m_presetLabel(centredLabel(this))
    , m_faultLamp(lamp(this))
    , m_onlineLamp(lamp(this))
    , m_menu(new QMenu(this))
{
    setObjectName(QStringLiteral("deviceItem"));
    // A tab stop: Space or Enter chooses the unit as a click does; the menu
    // key or Shift+F10 opens the tile's menu.
    setFocusPolicy(Qt::StrongFocus);
    // The lamps only show state; the tile's description reads it out.
    KeyboardAccess::markMouseOnly(m_faultLamp);
    KeyboardAccess::markMouseOnly(m_onlineLamp);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    layout->addWidget(m_modelLabel);
    layout->addWidget(m_ipLabel);
    layout->addWidget(m_presetLabel);
    auto *lamps = new QHBoxLayout;
    lamps->setContentsMargins(0, 0, 0, 0);
    lamps->addStretch();
    lamps->addWidget(m_faultLamp);
    lamps->addWidget(m_onlineLamp);
    layout->addLayout(lamps);

    m_ipAction = m_menu->addAction(QString());
    m_removeAction = m_menu->addAction(QString());
    connect(m_ipAction, &QAction::triggered, this, &QDeviceItem::ipClicked);
    connect(m_removeAction, &QAction::triggered, this, &QDeviceItem::Remove);

    setAutoFillBackground(true);
    applyStyle();
    retranslate();
}

QDeviceItem::~QDeviceItem() = default;

void QDeviceItem::setModel(const QString &model)
{
    m_modelLabel->setText(shown(model));
    describe();
}

void QDeviceItem::setIpAddress(quint32 ipaddress)
{
    m_ipLabel->setText(broadcastMsg::addressText(ipaddress));
    describe();
}

void QDeviceItem::setPreset(const QString &preset)
{
    m_presetLabel->setText(shown(preset));
}

QString QDeviceItem::modelText() const
{
    return m_modelLabel->text();
}

QString QDeviceItem::ipText() const
{
    return m_ipLabel->text();
}

QString QDeviceItem::presetText() const
{
    return m_presetLabel->text();
}

void QDeviceItem::setOnline(bool on)
{
    m_online = on;
    m_onlineLamp->setStyleSheet(QLatin1String(on ? OnlineOn : LampOff));
    describe();
}

void QDeviceItem::setFault(bool on)
{
    m_fault = on;
    m_faultLamp->setStyleSheet(QLatin1String(on ? FaultOn : LampOff));
    describe();
}

void QDeviceItem::setSelected(bool selected)
{
    if (m_selected == selected)
        return;
    m_selected = selected;
    applyStyle();
}

void QDeviceItem::setLanguageFontFamily(const QString &family)
{
    if (!family.isEmpty())
        m_menu->setFont(QFont(family, 8));
}

void QDeviceItem::applyStyle()
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, m_selected ? QColor(21, 148, 192) : QColor(48, 50, 52));
    setPalette(pal);
    const QString style = QLatin1String(m_selected ? LabelSelected : LabelUnselected);
    m_modelLabel->setStyleSheet(style);
    m_ipLabel->setStyleSheet(style);
    m_presetLabel->setStyleSheet(style);
}

void QDeviceItem::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    if (!m_selected) {
        setSelected(true);
        Q_EMIT Selected();
    }
}

void QDeviceItem::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        event->accept();
    else
        QWidget::mouseReleaseEvent(event);
}

void QDeviceItem::contextMenuEvent(QContextMenuEvent *event)
{
    m_menu->exec(event->globalPos());
}

void QDeviceItem::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        if (!m_selected) {
            setSelected(true);
            Q_EMIT Selected();
        }
        return;
    case Qt::Key_F10:
        // The menu key itself arrives as a context-menu event from the
        // platform; Shift+F10 is the usual other way there.
        if (event->modifiers() == Qt::ShiftModifier) {
            event->accept();
            m_menu->exec(mapToGlobal(rect().center()));
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void QDeviceItem::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (!hasFocus())
        return;
    // The tile has no frame of its own; the keyboard focus gets one.
    QPainter painter(this);
    painter.setPen(QPen(QColor(228, 236, 238), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
}

bool QDeviceItem::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        QLabel *under = nullptr;
        for (QLabel *label : {m_modelLabel, m_ipLabel, m_presetLabel}) {
            if (label->geometry().contains(help->pos()))
                under = label;
        }
        if (under && !under->text().isEmpty())
            QToolTip::showText(help->globalPos(), under->text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void QDeviceItem::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void QDeviceItem::retranslate()
{
    m_ipAction->setText(tr("IP Setting"));
    m_removeAction->setText(tr("Remove Device"));
    describe();
}

// Named by model and address (the address keeps tiles apart); the lamps'
// states are read out as the tile's description.
void QDeviceItem::describe()
{
    const QString ip = m_ipLabel->text();
    const QString model = m_modelLabel->text();
    KeyboardAccess::describe(this, model.isEmpty() ? tr("Device at %1").arg(ip) : tr("Device %1 at %2").arg(model, ip));
    KeyboardAccess::describe(m_faultLamp, tr("Device at %1 fault").arg(ip));
    KeyboardAccess::describe(m_onlineLamp, tr("Device at %1 online").arg(ip));
    QStringList states;
    states << (m_online ? tr("online") : tr("offline"));
    if (m_fault)
        states << tr("fault");
    setAccessibleDescription(states.join(QStringLiteral(", ")));
}
