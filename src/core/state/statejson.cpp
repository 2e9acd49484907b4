#include "statejson.h"

namespace {

struct Entry
{
    const QStringList *segments;
    QJsonValue value;
};

// The catalog keeps the members of every group side by side (the parameter
// test checks it), so each object is built once, bottom-up, from a run of
// entries.
QJsonObject nest(const QVector<Entry> &entries, int begin, int end, int depth)
{
    QJsonObject object;
    int i = begin;
    while (i < end) {
        const QString &key = entries.at(i).segments->at(depth);
        int j = i + 1;
        while (j < end && entries.at(j).segments->at(depth) == key)
            ++j;
        if (entries.at(i).segments->size() == depth + 1)
            object.insert(key, entries.at(i).value);
        else
            object.insert(key, nest(entries, i, j, depth + 1));
        i = j;
    }
    return object;
}

void collect(const QJsonObject &object, const QString &prefix, QVector<PathValue> *out)
{
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        const QString path = prefix.isEmpty() ? it.key() : prefix + QLatin1Char('.') + it.key();
        if (it.value().isObject())
            collect(it.value().toObject(), path, out);
        else
            out->append({path, it.value()});
    }
}

} // namespace

QJsonObject StateJson::write(const UnitState &state, const QString &prefix, QString *error)
{
    const ParameterCatalog &catalog = ParameterCatalog::of(state);
    const QVector<int> selected = catalog.under(prefix);
    if (selected.isEmpty()) {
        if (error)
            *error = catalog.unknownPathMessage(prefix);
        return QJsonObject();
    }
    QVector<Entry> entries;
    entries.reserve(selected.size());
    for (int index : selected) {
        const Parameter &p = catalog.parameters().at(index);
        entries.append({&p.segments, p.value(state)});
    }
    return nest(entries, 0, entries.size(), 0);
}

QVector<PathValue> StateJson::flatten(const QJsonObject &object)
{
    QVector<PathValue> out;
    collect(object, QString(), &out);
    return out;
}

QVector<SetResult> StateJson::read(const QJsonObject &object, UnitState *state)
{
    return ParameterCatalog::apply(*state, flatten(object));
}

UnitFamily StateJson::familyOf(const QJsonObject &object, UnitFamily fallback)
{
    QJsonValue name = object.value(QStringLiteral("unit.family"));
    if (name.isUndefined())
        name = object.value(QStringLiteral("unit")).toObject().value(QStringLiteral("family"));
    for (UnitFamily family : {UnitFamily::Sharc48k, UnitFamily::Sharc96k}) {
        if (name.toString() == UnitState::familyName(family))
            return family;
    }
    return fallback;
}
