#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>
#include <QWidget>

#include "core/link/frame.h"

class Link;
class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QTimer;

// Base of every page that edits one DSP module (and of the preset and
// security pages, which poll the same way).
//
// What a page gets from here:
// - its link and module id, with send and query helpers;
// - one timer (20 ms; the FIR page asks for 150 ms) that runs for the life of
//   the page. Each tick calls advance() (pending sends, reply hold-offs) and,
//   only while the page is visible, poll() with the tick count. Tests drive a
//   page tick by tick through timeOut20ms() after stopping timer();
// - the receive entry onMessage() that FuncWidget calls for the page's
//   module id (the page checks op and length itself);
// - per-channel lock states (0 free, 1 read-only, anything else hidden) with
//   applyLock() for the usual show/enable rule;
// - setters that apply a unit reply to a control with the control's own
//   signals held off, so a reply is never sent back to the unit, and that do
//   nothing when the control already shows the value.
//
// For "send N ticks after the last change" and "ignore replies for N ticks"
// use PendingSend and ReplyHoldOff from pages/tickers.h, advanced from
// advance().
class ModulePage : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(ModulePage)

public:
    static constexpr int DefaultTickMs = 20;
    // A deferred send (one made from advance(), where PendingSend fires)
    // belongs to the unit the operator was editing. When the current unit
    // changes from one unit to another (or to none), the deferred sends of
    // the next this-many ticks (the longest send delay in use) are dropped,
    // so an edit made on one unit is never applied to the next one chosen.
    static constexpr int UnitChangeHoldTicks = 10;

    ModulePage(Link *link, quint8 moduleId, int channelCount, int tickMs = DefaultTickMs,
               QWidget *parent = nullptr);
    ~ModulePage() override;

    quint8 moduleId() const { return m_moduleId; }
    Link *link() const { return m_link; }
    QTimer *timer() const { return m_timer; }
    quint32 tickCount() const { return m_ticks; }
    int channelCount() const { return m_security.size(); }

    // A class-3 frame of this page's module (any op; pages accept only 0x80).
    virtual void onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload);

    // Channel names from the settings page; pages that title channels override.
    virtual void setInLabel(uchar channel, const QString &label);
    virtual void setOutLabel(uchar channel, const QString &label);

    // The last lock state set for `channel` (0 when out of range).
    uchar securityState(uchar channel) const;

    // Cuts the fields' signals to `page`, for its destructor: see ModulePage's.
    static void detachEditors(QWidget *page);

    // The usual effect of a lock state on a group of controls.
    static void applyLock(QWidget *widget, uchar state);

    // Reply helpers: no signals, no change when equal.
    static void setCheckedQuietly(QAbstractButton *button, bool checked);
    static void setIndexQuietly(QComboBox *combo, int index);
    // Leaves a field alone while the operator is typing in it.
    static void setTextQuietly(QLineEdit *edit, const QString &text);
    static void setTextIfChanged(QLabel *label, const QString &text);

public Q_SLOTS:
    // One tick of the page timer.
    void timeOut20ms();
    // Stores the state and calls applySecurityState() when it changed.
    virtual void setSecurityState(uchar channel, uchar state);

protected:
    // Every tick, visible or not.
    virtual void advance() {}
    // Every tick while the page is visible; `tick` counts from 1.
    virtual void poll(quint32 tick) { Q_UNUSED(tick) }
    virtual void applySecurityState(uchar channel, uchar state) { Q_UNUSED(channel) Q_UNUSED(state) }

    bool sendSet(quint8 param, quint8 channel, const void *bytes, quint16 count);
    bool sendSet(quint8 param, quint8 channel, const QByteArray &bytes);
    // True (and logged) when a send made now is a deferred edit of the unit
    // chosen before: the sends above drop it; pages that send frames of
    // their own ask the same.
    bool dropsDeferredSend(quint8 param) const;
    bool queryChannel(quint8 param, quint8 channel);
    bool queryAll(quint8 param);

    static bool isReport(quint8 op) { return op == Frame::Report; }

private:
    // Whether the link's current unit differs from the one seen last tick.
    bool noteCurrentUnit();

    Link *m_link;
    QTimer *m_timer;
    QVector<uchar> m_security;
    quint32 m_ticks = 0;
    quint8 m_moduleId;
    // Compared, never dereferenced.
    const void *m_unitSocket = nullptr;
    quint32 m_unitId = 0;
    quint32 m_unitChangedTick = 0;
    bool m_unitChanged = false;
    bool m_inAdvance = false;
};
