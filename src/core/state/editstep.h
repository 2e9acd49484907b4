#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

#include "core/state/parametercatalog.h"
#include "core/state/statediff.h"

// One step of an operator's edit history: the parameters one edit (one
// click, one finished field, one whole drag) changed, each with its value
// before and after. A plain value; the window keeps one list of them per
// unit.
struct EditStep
{
    QDateTime time;
    QVector<StateChange> changes;

    bool isEmpty() const { return changes.isEmpty(); }
    QStringList paths() const;

    // The values that take the unit back (`undo`) or forward again.
    QVector<PathValue> values(bool undo) const;
    // The parameters whose value in `current` is not the one this step left
    // (undo) or found (redo): something other than this history changed them
    // since, and the step must not overwrite that without a word.
    QStringList conflicts(const UnitState &current, bool undo) const;

    // Whether `next` continues this step's gesture: the same parameters,
    // within `windowMs` of this step's last change while the gesture lasts.
    bool continuedBy(const EditStep &next, int windowMs) const;
    // Takes in a continuation: the earliest before, the latest after.
    void absorb(const EditStep &next);

    // "OUT 3 gain -6.0 dB" (and "+2 more" when the step changed several).
    QString summary() const;
    // "23:04:05  OUT 3 gain: 0.0 -> -6.0 dB" (one line per step).
    QString historyLine() const;

    // A path as operators read it: "out.3.gain_db" -> "OUT 3 gain",
    // "matrix.out.2.in.A.enable" -> "matrix OUT 2 IN A enable".
    static QString parameterName(const QString &path);
    // A value with the parameter's unit: "-6.0 dB".
    static QString valueText(const QString &path, const QString &text);
};
