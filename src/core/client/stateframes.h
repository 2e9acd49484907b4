#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QtGlobal>

#include "core/state/locktable.h"
#include "core/state/statediff.h"
#include "core/state/unitstate.h"

// One frame to the unit, before the link wraps it: class, module, param,
// op and the whole payload (addressing bytes included).
struct WireFrame
{
    quint8 cls = 0;
    quint8 module = 0;
    quint8 param = 0;
    quint8 op = 0;
    QByteArray payload;

    bool operator==(const WireFrame &other) const
    {
        return cls == other.cls && module == other.module && param == other.param && op == other.op
            && payload == other.payload;
    }
    bool operator!=(const WireFrame &other) const { return !(*this == other); }
};

// What the wire carries for a UnitState, without a socket: the frames that
// set parameters on a unit, the queries that read a family's complete state,
// and the folding of the unit's reports into a state. Numbers and lengths
// come from the protocol table, values from the records' encoders.
//
// A record frame carries several parameters (a whole gate, limiter, filter
// band, DEQ band or FIR channel); a set sends each touched record once with
// every field of it taken from the target state.
class StateFrames
{
public:
    // Where a parameter travels: the module and param of its frame, the
    // channel (and band) it addresses, and for a matrix cross-point the input.
    struct Address
    {
        quint8 cls = 0;
        quint8 module = 0;
        quint8 param = 0;
        int channel = -1; // -1: the param has no channel byte
        int band = -1;
        int input = -1; // matrix cross-points

        bool valid() const { return cls != 0; }
    };

    // The frame a catalog path travels in; invalid for a path the unit does
    // not store (the read-only family) or that the family lacks.
    static Address addressOf(UnitFamily family, const QString &path);

    // The frames that take a unit holding `current` to `target` for the
    // named paths, in an order the unit takes: a link group is undone
    // before its members get values that differ and made again after, the
    // generator's source goes before its frequency, locks go last. Paths
    // the family does not know are left out and listed in `unknown`.
    static QVector<WireFrame> setFrames(const UnitState &current, const UnitState &target, const QStringList &paths,
                                        QStringList *unknown = nullptr);
    static QVector<WireFrame> setFrames(const UnitState &current, const UnitState &target,
                                        const QVector<StateChange> &changes);
    // Everything that differs (StateDiff).
    static QVector<WireFrame> diffFrames(const UnitState &current, const UnitState &target);

    // The queries that read every setting of a unit of `family` that a
    // UnitState holds: each module and channel the family has.
    static QVector<WireFrame> stateQueries(UnitFamily family);
    // The queries that read back the frames of `paths`.
    static QVector<WireFrame> queriesFor(UnitFamily family, const QStringList &paths);

    enum class Fold : quint8 {
        Applied,   // a report of a setting; the state now holds it
        Other,     // not a report of a setting a UnitState holds
        Malformed, // a report of a setting with a length or op the table does not allow
    };
    // Takes a frame from the unit into `state` as the pages take it: values
    // are limited as the records limit replies.
    static Fold fold(UnitState &state, quint8 cls, quint8 module, quint8 param, quint8 op, const uchar *payload,
                     int length);

    // Pairs a report with the query it answers: equal keys for a query and
    // its report (class, module, param and the addressing bytes).
    static QByteArray queryKey(const WireFrame &query);
    // Empty when the frame answers no query (an unasked report, a report
    // too short for its addressing bytes still gives its key when it has them).
    static QByteArray reportKey(quint8 cls, quint8 module, quint8 param, const uchar *payload, int length);

    // The security lock over `path` in `state` (Free for what no lock
    // guards: the unit's texts and switches, labels, sources, trims, the
    // generator's own settings and the locks themselves).
    static LockState lockOf(const UnitState &state, const QString &path);
    static bool isLockPath(const QString &path);
};
