#pragma once

#include <QHash>
#include <QJsonValue>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include "core/state/parameter.h"
#include "core/state/unitstate.h"

// A value for a path, as a command line or a JSON file names it.
struct PathValue
{
    QString path;
    QJsonValue value;
};

// What became of one set.
struct SetResult
{
    enum class Outcome : quint8 {
        Set,      // stored as given (or already held)
        Adjusted, // stored after being pulled into range or onto a step; `message` says how
        Failed,   // nothing stored; `message` says why
    };
    // Which limit an adjusted value met.
    enum class Limit : quint8 { None, Minimum, Maximum, Step, Length };

    QString path;
    Outcome outcome = Outcome::Set;
    Limit limit = Limit::None;
    QJsonValue value;   // what the parameter holds afterwards
    bool changed = false;
    // For Adjusted: "out.3.gain_db: 20 is above the maximum 12.0 dB; set to
    // 12.0". For Failed: the reason, naming the valid choices or the nearest
    // paths.
    QString message;
    QStringList suggestions; // unknown path: the nearest valid paths
    // Other parameters the set changed as the unit does: the rest of a link
    // group, the generator frequency when the sine starts, a FIR's
    // coefficients when it is designed anew.
    QStringList followers;

    bool ok() const { return outcome != Outcome::Failed; }
};

// The names of everything an operator sets on a unit: one path per
// parameter of a UnitState, with its range, unit, step and description,
// and get and set by path with the limits and rounding the pages apply.
//
// Paths are dotted and lower case with the unit in the leaf
// ("out.3.delay_ms"); inputs are A-D, outputs 1-8, bands count from 1.
// Top-level families: "unit" (the unit's own texts and switches), "in",
// "matrix", "generator" and "out", listed in that order, which is the order
// of the signal. The names are a promise to users: change none.
//
// One catalog per unit family, built on first use; a parameter the family
// lacks (input delay on 48 kHz units) is not in its catalog.
class ParameterCatalog
{
public:
    static const ParameterCatalog &of(UnitFamily family);
    static const ParameterCatalog &of(const UnitState &state) { return of(state.family()); }

    UnitFamily family() const { return m_family; }
    const QVector<Parameter> &parameters() const { return m_parameters; }
    int size() const { return m_parameters.size(); }
    // Null for an unknown path.
    const Parameter *find(const QString &path) const;
    int indexOf(const QString &path) const { return m_index.value(path, -1); }
    // The parameters at or below `prefix`, whole segments only ("in.A" holds
    // "in.A.gain_db" but "in.A.gain" holds nothing); all for an empty prefix.
    QVector<int> under(const QString &prefix) const;
    // The nearest valid paths to a mistyped one: the same path in another
    // case, paths it begins, then the closest by edit distance.
    QStringList suggestions(const QString &path, int count = 5) const;
    // Why `path` names nothing here: unknown (with suggestions unless
    // `suggest` is false) or a parameter of the other family.
    QString unknownPathMessage(const QString &path, QStringList *suggestions = nullptr, bool suggest = true) const;

    // The value at `path`; Undefined with `error` set for an unknown path.
    static QJsonValue get(const UnitState &state, const QString &path, QString *error = nullptr);

    // Sets one parameter the way the page does: a number outside the range
    // or between the steps is brought in and the result says so; an
    // unreadable value, an unknown choice or an unknown path fails and
    // changes nothing. A gain, mute or invert of a grouped channel applies
    // to its whole link group, as the unit applies it.
    static SetResult set(UnitState &state, const QString &path, const QJsonValue &value);
    // The same from command-line text ("-6", "-6dB", "on", "butterworth").
    static SetResult setFromText(UnitState &state, const QString &path, const QString &text);
    // Sets several at once, in catalog order whatever their order here, so
    // that a FIR's type comes before its coefficients and the generator's
    // source before its frequency. Effects on other channels leave alone
    // what the list itself sets, so applying every value of a state
    // reproduces that state exactly. All or nothing: when one fails, the
    // state is left as it was; the results say which.
    static QVector<SetResult> apply(UnitState &state, const QVector<PathValue> &values);
    static bool allOk(const QVector<SetResult> &results);

private:
    explicit ParameterCatalog(UnitFamily family);

    SetResult setOne(UnitState &state, const Parameter &parameter, const QJsonValue &value,
                     const QSet<QString> &batch) const;

    UnitFamily m_family;
    QVector<Parameter> m_parameters;
    QHash<QString, int> m_index;
};
