#include "parametertable.h"

#include <QMap>
#include <QStringList>
#include <QVector>

#include "core/state/parametercatalog.h"

const char *const ParameterTable::BeginMarker = "<!-- parameter table: begin (generated, see tests/tst_parameters.cpp) -->";
const char *const ParameterTable::EndMarker = "<!-- parameter table: end -->";

namespace {

// "1-4", "A-B", "1, 3": the channel names a range applies to.
QString runs(const QStringList &names)
{
    QStringList parts;
    int i = 0;
    while (i < names.size()) {
        int j = i + 1;
        auto code = [&](int k) {
            const QString &n = names.at(k);
            return n.size() == 1 && n.at(0).isLetter() ? int(n.at(0).unicode()) : n.toInt();
        };
        while (j < names.size() && code(j) == code(j - 1) + 1)
            ++j;
        parts.append(j - i > 1 ? names.at(i) + QLatin1Char('-') + names.at(j - 1) : names.at(i));
        i = j;
    }
    return parts.join(QStringLiteral(", "));
}

// The range of one pattern in one family: one text, or one per group of
// channels when they differ ("out 1-4: ...; out 5-8: ...").
QString familyRange(const ParameterCatalog &catalog, const QString &pattern)
{
    QStringList texts;
    QMap<QString, QStringList> channels; // range text -> channel names
    int placeholder = -1;
    const QStringList patternSegments = pattern.split(QLatin1Char('.'));
    for (int s = 0; s < patternSegments.size() && placeholder < 0; ++s) {
        if (patternSegments.at(s).startsWith(QLatin1Char('<')))
            placeholder = s;
    }
    for (const Parameter &p : catalog.parameters()) {
        if (p.pattern != pattern)
            continue;
        const QString text = p.rangeText();
        if (!texts.contains(text))
            texts.append(text);
        if (placeholder >= 0) {
            const QString name = p.path.section(QLatin1Char('.'), placeholder, placeholder);
            if (!channels[text].contains(name))
                channels[text].append(name);
        }
    }
    if (texts.size() <= 1)
        return texts.value(0);
    const QString owner = placeholder > 0 ? patternSegments.at(placeholder - 1) + QLatin1Char(' ') : QString();
    QStringList parts;
    for (const QString &text : qAsConst(texts))
        parts.append(owner + runs(channels.value(text)) + QStringLiteral(": ") + text);
    return parts.join(QStringLiteral("; "));
}

} // namespace

QString ParameterTable::markdown()
{
    const ParameterCatalog &full = ParameterCatalog::of(UnitFamily::Sharc96k);
    const ParameterCatalog &small = ParameterCatalog::of(UnitFamily::Sharc48k);
    QStringList patterns;
    QMap<QString, const Parameter *> first;
    for (const Parameter &p : full.parameters()) {
        if (!first.contains(p.pattern)) {
            first.insert(p.pattern, &p);
            patterns.append(p.pattern);
        }
    }

    QString out = QStringLiteral("| Path | Kind | Range and unit | Description |\n|---|---|---|---|\n");
    for (const QString &pattern : qAsConst(patterns)) {
        const Parameter &p = *first.value(pattern);
        const QString full96 = familyRange(full, pattern);
        const QString small48 = familyRange(small, pattern);
        QString range = full96;
        QString description = p.description;
        if (small48.isEmpty())
            description += QStringLiteral(". 96 kHz units only");
        else if (small48 != full96)
            range = QStringLiteral("96 kHz: %1; 48 kHz: %2").arg(full96, small48);
        if (p.readOnly)
            description += QStringLiteral(". Read only");
        out += QStringLiteral("| `%1` | %2 | %3 | %4 |\n").arg(pattern, p.kindName(), range, description);
    }
    return out;
}

QString ParameterTable::extract(const QString &document)
{
    const QString begin = QLatin1String(BeginMarker);
    const int start = document.indexOf(begin);
    const int end = document.indexOf(QLatin1String(EndMarker));
    if (start < 0 || end < start)
        return QString();
    const int from = start + begin.size() + 1; // after the marker's line break
    return document.mid(from, end - from);
}

bool ParameterTable::replaceIn(QString *document)
{
    const QString begin = QLatin1String(BeginMarker);
    const int start = document->indexOf(begin);
    const int end = document->indexOf(QLatin1String(EndMarker));
    if (start < 0 || end < start)
        return false;
    const int from = start + begin.size();
    document->replace(from, end - from, QLatin1Char('\n') + markdown());
    return true;
}
