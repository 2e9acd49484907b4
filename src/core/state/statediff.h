#pragma once

#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <QVector>

class UnitState;

// One parameter that differs between two states.
struct StateChange
{
    QString path;
    QJsonValue before; // Undefined where the family has no such parameter
    QJsonValue after;
    QString beforeText; // as the command line prints values
    QString afterText;

    // "in.A.gain_db: 0.0 -> -6.0"
    QString line() const;
};

// What differs between two states, parameter by parameter, in the
// catalog's order (the unit, inputs, matrix, generator, outputs). A FIR's
// coefficients count as one parameter. Cheap enough to run on every edit:
// it compares stored fields and makes values only for what differs.
class StateDiff
{
public:
    static QVector<StateChange> between(const UnitState &before, const UnitState &after);
    static QStringList lines(const QVector<StateChange> &changes);
};
