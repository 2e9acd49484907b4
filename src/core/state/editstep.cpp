#include "editstep.h"

#include <QSet>

QStringList EditStep::paths() const
{
    QStringList out;
    out.reserve(changes.size());
    for (const StateChange &change : changes)
        out.append(change.path);
    return out;
}

QVector<PathValue> EditStep::values(bool undo) const
{
    QVector<PathValue> out;
    out.reserve(changes.size());
    for (const StateChange &change : changes) {
        const QJsonValue &value = undo ? change.before : change.after;
        if (!value.isUndefined())
            out.append(PathValue{change.path, value});
    }
    return out;
}

QStringList EditStep::conflicts(const UnitState &current, bool undo) const
{
    QStringList out;
    for (const StateChange &change : changes) {
        const QJsonValue &expected = undo ? change.after : change.before;
        if (ParameterCatalog::get(current, change.path) != expected)
            out.append(change.path);
    }
    return out;
}

bool EditStep::continuedBy(const EditStep &next, int windowMs) const
{
    if (changes.size() != next.changes.size() || !time.isValid() || !next.time.isValid())
        return false;
    if (time.msecsTo(next.time) > windowMs || time.msecsTo(next.time) < 0)
        return false;
    for (int i = 0; i < changes.size(); ++i) {
        if (changes.at(i).path != next.changes.at(i).path)
            return false;
    }
    return true;
}

void EditStep::absorb(const EditStep &next)
{
    for (int i = 0; i < changes.size() && i < next.changes.size(); ++i) {
        changes[i].after = next.changes.at(i).after;
        changes[i].afterText = next.changes.at(i).afterText;
    }
    time = next.time;
}

QString EditStep::parameterName(const QString &path)
{
    const QStringList segments = path.split(QLatin1Char('.'));
    QStringList words;
    for (int i = 0; i < segments.size(); ++i) {
        const QString &s = segments.at(i);
        const bool channel = i + 1 < segments.size()
                             && (s == QLatin1String("in") || s == QLatin1String("out"))
                             && segments.at(i + 1).size() == 1;
        if (channel) {
            words.append(s.toUpper() + QLatin1Char(' ') + segments.at(i + 1));
            ++i;
            continue;
        }
        QString word = s;
        for (const char *suffix : {"_db", "_hz", "_ms"}) {
            if (word.endsWith(QLatin1String(suffix)))
                word.chop(3);
        }
        if (word == QLatin1String("peq") || word == QLatin1String("deq") || word == QLatin1String("hpf")
            || word == QLatin1String("lpf") || word == QLatin1String("fir"))
            word = word.toUpper();
        words.append(word.replace(QLatin1Char('_'), QLatin1Char(' ')));
    }
    return words.join(QLatin1Char(' '));
}

QString EditStep::valueText(const QString &path, const QString &text)
{
    const ParameterCatalog &catalog = ParameterCatalog::of(UnitFamily::Sharc96k);
    const Parameter *parameter = catalog.find(path);
    if (!parameter || parameter->unit.isEmpty() || text.isEmpty())
        return text;
    return text + QLatin1Char(' ') + parameter->unit;
}

QString EditStep::summary() const
{
    if (changes.isEmpty())
        return QString();
    const StateChange &first = changes.first();
    QString text = parameterName(first.path) + QLatin1Char(' ') + valueText(first.path, first.afterText);
    if (changes.size() > 1)
        text += QStringLiteral(" (+%1)").arg(changes.size() - 1);
    return text;
}

QString EditStep::historyLine() const
{
    if (changes.isEmpty())
        return QString();
    const StateChange &first = changes.first();
    QString line = time.toLocalTime().toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("  ")
                   + parameterName(first.path) + QStringLiteral(": ") + valueText(first.path, first.beforeText)
                   + QStringLiteral(" -> ") + valueText(first.path, first.afterText);
    if (changes.size() > 1)
        line += QStringLiteral(" (+%1)").arg(changes.size() - 1);
    return line;
}
