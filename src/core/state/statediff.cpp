#include "statediff.h"

#include "core/state/parametercatalog.h"

QString StateChange::line() const
{
    // Values that print alike (two coefficient sets of one length, numbers
    // apart beyond the shown decimals) still say that they differ.
    const QString suffix = beforeText == afterText ? QStringLiteral(" (changed)") : QString();
    return path + QStringLiteral(": ") + beforeText + QStringLiteral(" -> ") + afterText + suffix;
}

QVector<StateChange> StateDiff::between(const UnitState &before, const UnitState &after)
{
    const ParameterCatalog &was = ParameterCatalog::of(before);
    const ParameterCatalog &now = ParameterCatalog::of(after);
    QVector<StateChange> changes;
    auto change = [&](const Parameter *b, const Parameter *a) {
        StateChange c;
        c.path = (a ? a : b)->path;
        if (b)
            c.before = b->value(before);
        if (a)
            c.after = a->value(after);
        const Parameter *shown = a ? a : b;
        c.beforeText = shown->format(c.before);
        c.afterText = shown->format(c.after);
        changes.append(c);
    };
    if (was.family() == now.family()) {
        for (const Parameter &p : now.parameters()) {
            if (!p.same(before, after))
                change(&p, &p);
        }
        return changes;
    }
    // Across families: the 96 kHz catalog holds every path of the 48 kHz one,
    // in the same order.
    const ParameterCatalog &all = ParameterCatalog::of(UnitFamily::Sharc96k);
    for (const Parameter &p : all.parameters()) {
        const Parameter *b = was.find(p.path);
        const Parameter *a = now.find(p.path);
        if (!b || !a || !p.same(before, after))
            change(b, a);
    }
    return changes;
}

QStringList StateDiff::lines(const QVector<StateChange> &changes)
{
    QStringList out;
    out.reserve(changes.size());
    for (const StateChange &c : changes)
        out.append(c.line());
    return out;
}
