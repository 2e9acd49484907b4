#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

class UnitState;

// One set frame for the unit: class, module, param and payload (channel
// byte included where the param has one); the op is always Set.
struct PathFrame
{
    quint8 cls = 0;
    quint8 module = 0;
    quint8 param = 0;
    QByteArray payload;

    bool operator==(const PathFrame &other) const
    {
        return cls == other.cls && module == other.module && param == other.param && payload == other.payload;
    }
};

// The set frames that give a unit the values a UnitState holds at given
// parameter paths, with the payloads the pages send for the same edit (the
// whole record for the gate, limiter, delay and FIR, one section or band for
// the filters and dynamic EQ, one cross-point for the matrix). Undo, redo
// and sending prepared settings go out this way, so the unit sees exactly
// what an operator edit would have sent.
//
// Paths outside what travels as an operator edit (locks, the unit family,
// input sources, trims, panel lock and LCD page) have no frame here.
class PathFrames
{
public:
    static std::optional<PathFrame> frameFor(const UnitState &state, const QString &path);
    // One frame per record, in the order of the paths (give them in catalog
    // order: a generator's source goes before its frequency); `skipped`
    // receives the paths that have none.
    static QVector<PathFrame> framesFor(const UnitState &state, const QStringList &paths,
                                        QStringList *skipped = nullptr);
    // Whether a set frame of this class and module can change `path`.
    static bool carries(quint8 cls, quint8 module, const QString &path);
};
