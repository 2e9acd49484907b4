#include "modulepage.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimer>

#include "core/link/frame.h"
#include "core/link/link.h"
#include "core/link/logging.h"

ModulePage::ModulePage(Link *link, quint8 moduleId, int channelCount, int tickMs, QWidget *parent)
    : QWidget(parent)
    , m_link(link)
    , m_timer(new QTimer(this))
    , m_security(qMax(channelCount, 0), 0)
    , m_moduleId(moduleId)
{
    connect(m_timer, &QTimer::timeout, this, &ModulePage::timeOut20ms);
    m_timer->start(tickMs);
    noteCurrentUnit();
}

ModulePage::~ModulePage()
{
    detachEditors(this);
}

void ModulePage::detachEditors(QWidget *page)
{
    // ~QWidget hides the page; a field that loses focus then still reports
    // "editing finished" to a page whose own members are already destroyed.
    const QList<QWidget *> editors = page->findChildren<QWidget *>();
    for (QWidget *editor : editors) {
        if (qobject_cast<QLineEdit *>(editor) || qobject_cast<QAbstractSpinBox *>(editor))
            QObject::disconnect(editor, nullptr, page, nullptr);
    }
}

void ModulePage::onMessage(quint8, quint8, quint16, const uchar *) {}
void ModulePage::setInLabel(uchar, const QString &) {}
void ModulePage::setOutLabel(uchar, const QString &) {}

uchar ModulePage::securityState(uchar channel) const
{
    return channel < m_security.size() ? m_security.at(channel) : 0;
}

void ModulePage::setSecurityState(uchar channel, uchar state)
{
    if (channel >= m_security.size() || m_security.at(channel) == state)
        return;
    m_security[channel] = state;
    applySecurityState(channel, state);
}

void ModulePage::applyLock(QWidget *widget, uchar state)
{
    if (!widget)
        return;
    switch (state) {
    case 0:
        widget->setVisible(true);
        widget->setEnabled(true);
        break;
    case 1:
        widget->setVisible(true);
        widget->setEnabled(false);
        break;
    default:
        widget->setVisible(false);
        break;
    }
}

void ModulePage::setCheckedQuietly(QAbstractButton *button, bool checked)
{
    if (!button || button->isChecked() == checked)
        return;
    const QSignalBlocker blocker(button);
    button->setChecked(checked);
}

void ModulePage::setIndexQuietly(QComboBox *combo, int index)
{
    if (!combo || combo->currentIndex() == index)
        return;
    const QSignalBlocker blocker(combo);
    combo->setCurrentIndex(index);
}

void ModulePage::setTextQuietly(QLineEdit *edit, const QString &text)
{
    if (!edit || edit->hasFocus() || edit->text() == text)
        return;
    const QSignalBlocker blocker(edit);
    edit->setText(text);
}

void ModulePage::setTextIfChanged(QLabel *label, const QString &text)
{
    if (label && label->text() != text)
        label->setText(text);
}

bool ModulePage::noteCurrentUnit()
{
    if (!m_link)
        return false;
    const void *socket = m_link->currentSocket();
    const quint32 id = m_link->currentUnitId();
    if (socket == m_unitSocket && id == m_unitId)
        return false;
    m_unitSocket = socket;
    m_unitId = id;
    return true;
}

void ModulePage::timeOut20ms()
{
    ++m_ticks;
    // Choosing a first unit is not a change of unit: nothing was edited on
    // another one.
    const bool hadUnit = m_unitSocket != nullptr;
    if (noteCurrentUnit() && hadUnit) {
        m_unitChanged = true;
        m_unitChangedTick = m_ticks;
    }
    m_inAdvance = true;
    advance();
    m_inAdvance = false;
    if (isVisible())
        poll(m_ticks);
}

bool ModulePage::dropsDeferredSend(quint8 param) const
{
    if (m_inAdvance && m_unitChanged && m_ticks - m_unitChangedTick < quint32(UnitChangeHoldTicks)) {
        qCDebug(lcPages, "module %d param %d: edit made on the previous unit not sent", m_moduleId, param);
        return true;
    }
    return false;
}

bool ModulePage::sendSet(quint8 param, quint8 channel, const void *bytes, quint16 count)
{
    if (dropsDeferredSend(param))
        return false;
    return m_link && m_link->sendModuleFrame(m_moduleId, param, channel, bytes, count);
}

bool ModulePage::sendSet(quint8 param, quint8 channel, const QByteArray &bytes)
{
    return sendSet(param, channel, bytes.constData(), quint16(qMin(bytes.size(), 0xFFFF)));
}

bool ModulePage::queryChannel(quint8 param, quint8 channel)
{
    return m_link && m_link->sendChannelQuery(m_moduleId, param, channel);
}

bool ModulePage::queryAll(quint8 param)
{
    return m_link && m_link->sendQuery(Frame::Module, m_moduleId, param);
}
