#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QJsonValue>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTimer>

#include <optional>

#include "core/state/editstep.h"
#include "core/state/unitstate.h"

class FuncWidget;
class Link;
class ProgressSteps;
class Prompt;
class QUndoGroup;
class QUndoStack;

// The operator's edits as an undo history, one per unit, and the settings
// prepared without a unit until they reach one.
//
// Edits are found where they end: every set frame the pages hand to the
// link. At that moment the pages already hold the new value, so the
// difference between what the pages showed before and show now, limited to
// the module the frame is for, is the edit. Values the unit reports
// change the pages too; they are taken as the unit's own once the operator
// has let go of the controls (no press, key, wheel or send for QuietMs),
// so a deferred send is never mistaken for a report.
//
// Undo and redo put the values back on the pages and send the frames an
// edit of them would send (PathFrames). A step whose parameters no longer
// hold what the step left is skipped with a message: the unit was changed
// by other means. Actions that change the unit wholesale (preset recall,
// preset transfers, firmware, factory reset, network settings, passwords)
// close the history with a line saying so.
//
// Edits made while no unit is connected, and an offline import, are
// "prepared": kept apart from what the unit reports, and on the next
// connection (or "Send to unit...") compared with the unit's settings and
// either sent or dropped, as the operator answers.
class UnitHistory : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(UnitHistory)

public:
    // A gesture's sends within this long of each other make one step.
    static constexpr int GestureWindowMs = 1500;
    // Reports are taken as the unit's this long after the operator's last
    // touch.
    static constexpr int QuietMs = 400;
    // Reading the unit's settings ends this long after the last report.
    static constexpr int ReadSettleMs = 300;
    static constexpr int ReadLimitMs = 8000;

    UnitHistory(FuncWidget *pages, Link *link, Prompt *prompt, QObject *parent = nullptr);
    ~UnitHistory() override;

    QUndoGroup *group() const { return m_group; }
    // The history of the current unit (unit id 0: no unit chosen).
    QUndoStack *stack() const;
    QUndoStack *stackFor(quint32 unit);
    quint32 currentUnit() const { return m_unit; }
    // The line that closed the current unit's earlier history, or empty.
    QString closingLine() const;
    // What the pages showed after the last edit or report taken in.
    const UnitState &shown() const { return m_shown; }

    void setProgress(ProgressSteps *progress) { m_progress = progress; }

    // Operator actions.
    // Every parameter changed in this session back to its value when the
    // unit was chosen, after asking; one undoable step.
    void backToConnect();
    // Reads the unit, shows the differences from the prepared settings and
    // sends them when the operator agrees.
    void sendToUnit();
    bool hasPrepared() const { return m_prepared.has_value(); }
    std::optional<UnitState> prepared() const { return m_prepared; }
    bool isReading() const { return m_reading != Reading::None; }

    // Closes the current unit's history with `line`.
    void close(const QString &line);

    // Takes what the pages show as the unit's now (what the quiet timer
    // does), for tests that change the unit behind the pages' back.
    void settle();
    // Starts a new gesture, as a press does.
    void newGesture() { ++m_gesture; }
    // Ends reading the unit at once (tests; the timer does it otherwise).
    void finishReading();

Q_SIGNALS:
    // A step skipped, the history closed, settings sent: for the status bar.
    void message(const QString &text);
    void preparedChanged(bool prepared);
    void currentUnitChanged(quint32 unit);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class EditCommand;
    enum class Reading { None, OnConnect, ForSend };

    bool unitConnected() const;
    void setOffered(quint8 cls, quint8 module, quint8 param, const uchar *payload, quint16 length, bool written);
    void reportReceived(quint8 cls, quint8 module, quint8 param);
    void quietTimeout();
    void noteUnit();
    // Applies `values` to the pages and the unit; false when nothing was
    // applied.
    bool applyStep(const EditStep &step, bool undo);
    void sendValues(const UnitState &target, const QStringList &paths, bool withProgress);
    void startReading(Reading why);
    void readingDone();
    void sendPrepared(const QVector<StateChange> &changes);
    void setPrepared(const std::optional<UnitState> &state);
    QString closingLineFor(quint8 cls, quint8 module, quint8 param, const uchar *payload, quint16 length) const;
    void pushStep(const EditStep &step, const QString &text = QString());

    FuncWidget *m_pages;
    Link *m_link;
    Prompt *m_prompt;
    ProgressSteps *m_progress = nullptr;
    QUndoGroup *m_group;
    QHash<quint32, QUndoStack *> m_stacks;
    QHash<quint32, QString> m_closingLines;
    // Per unit: each parameter changed in this session, with its value
    // before the first change.
    QHash<quint32, QHash<QString, QJsonValue>> m_connectValues;
    quint32 m_unit = 0;
    bool m_unitKnown = false;
    UnitState m_shown;
    std::optional<UnitState> m_prepared;
    // Offline edits prepare the parameters they change; an import prepares
    // all a preset file holds.
    QSet<QString> m_preparedPaths;
    bool m_preparedAll = false;
    QTimer m_quiet;
    QTimer m_readTimer;
    QElapsedTimer m_sinceTouch;
    QElapsedTimer m_readClock;
    Reading m_reading = Reading::None;
    quint64 m_gesture = 0;
    bool m_applying = false;
};
