#pragma once

#include <QJsonObject>
#include <QString>
#include <QVector>

#include "core/state/parametercatalog.h"

// A UnitState, or part of it, as JSON, nested by the segments of its paths:
// {"in": {"A": {"gain_db": -6, "mute": false, ...}}, "out": {...}}.
// Numbers are the shortest decimals that read back to the same float, so a
// state written and read back is the same state.
class StateJson
{
public:
    // The parameters at or below `prefix` ("in.A", "out.3.limiter"; all
    // for an empty prefix). An empty object with `error` set when the prefix
    // names nothing.
    static QJsonObject write(const UnitState &state, const QString &prefix = QString(), QString *error = nullptr);

    // The path/value pairs of a nested object, a flat one
    // ({"in.A.gain_db": -6}) or any mix of the two.
    static QVector<PathValue> flatten(const QJsonObject &object);

    // Sets every value of `object` on `state` with the checks of a set, all
    // or nothing (ParameterCatalog::apply).
    static QVector<SetResult> read(const QJsonObject &object, UnitState *state);

    // The family an object names in "unit.family", or `fallback` when it
    // names none (or none known).
    static UnitFamily familyOf(const QJsonObject &object, UnitFamily fallback);
};
