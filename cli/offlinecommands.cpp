// offline to-json / from-json, and diff.

#include <QCommandLineOption>
#include <QJsonArray>
#include <QJsonDocument>

#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "core/state/statediff.h"
#include "core/state/statejson.h"
#include "exitcode.h"
#include "statefiles.h"
#include "stateside.h"

namespace {

int toJson(Console &console, const QStringList &arguments)
{
    CommandLine line(console, QStringLiteral("offline to-json"), QStringLiteral("FILE"),
                     QStringLiteral("Prints an offline preset file (either layout, told apart by its size) as "
                                    "JSON: the parameters the file carries and unit.family, which tells "
                                    "from-json the layout."),
                     0);
    const int code = line.parse(arguments, 1, 1);
    if (code >= 0)
        return code;
    const QString path = line.positional().first();
    QByteArray bytes;
    QString error;
    if (!StateFiles::readInput(path, &bytes, &error)) {
        console.error(error);
        return ExitFile;
    }
    PresetImage::Variant variant;
    if (!PresetImage::variantOfSize(bytes.size(), &variant)) {
        console.error(QStringLiteral("%1 is no offline preset file: it has %2 bytes, a file has %3 (48 kHz) or "
                                     "%4 (96 kHz)")
                          .arg(path)
                          .arg(bytes.size())
                          .arg(PresetImage::Size48k)
                          .arg(PresetImage::Size96k));
        return ExitFile;
    }
    UnitState state(variant == PresetImage::Sharc96k ? UnitFamily::Sharc96k : UnitFamily::Sharc48k);
    StateFiles::loadPreset(bytes, &state);
    // Values the pages would not show as stored (out of range, unknown
    // types) are read the way the pages read them; say so, since such a
    // file does not come back byte for byte.
    if (state.dsp.pack(variant) != bytes)
        console.warning(QStringLiteral("%1 holds values outside what the pages take; they are shown as the pages "
                                       "would take them, and from-json writes them so")
                            .arg(path));
    console.write(QJsonDocument(StateFiles::presetJson(state)).toJson(QJsonDocument::Indented));
    return ExitDone;
}

int fromJson(Console &console, const QStringList &arguments)
{
    const QCommandLineOption family(QStringLiteral("family"),
                                    QStringLiteral("Layout to write: 48k or 96k (default: unit.family of the JSON, "
                                                   "else 96k)."),
                                    QStringLiteral("48k|96k"));
    CommandLine line(console, QStringLiteral("offline from-json"), QStringLiteral("JSON OUT"),
                     QStringLiteral("Writes an offline preset file from JSON (nested or flat paths, whole or in "
                                    "part; - reads standard input). What the JSON leaves out keeps a fresh "
                                    "unit's value."),
                     0);
    line.addOption(family);
    const int code = line.parse(arguments, 2, 2);
    if (code >= 0)
        return code;
    const QString input = line.positional().at(0);
    const QString output = line.positional().at(1);
    QByteArray bytes;
    QString error;
    QJsonObject object;
    if (!StateFiles::readInput(input, &bytes, &error) || !StateFiles::parseJson(bytes, input, &object, &error)) {
        console.error(error);
        return ExitFile;
    }
    UnitFamily chosen = StateJson::familyOf(object, UnitFamily::Sharc96k);
    if (line.isSet(family)) {
        const QString name = line.value(family).toLower();
        if (name != QLatin1String("48k") && name != QLatin1String("96k"))
            return line.usageError(QStringLiteral("--family takes 48k or 96k, not '%1'").arg(line.value(family)));
        chosen = name == QLatin1String("48k") ? UnitFamily::Sharc48k : UnitFamily::Sharc96k;
        // The family given wins over the one in the JSON.
        QJsonObject unit = object.value(QStringLiteral("unit")).toObject();
        unit.remove(QStringLiteral("family"));
        object.remove(QStringLiteral("unit.family"));
        if (unit.isEmpty())
            object.remove(QStringLiteral("unit"));
        else
            object.insert(QStringLiteral("unit"), unit);
    }
    UnitState state(chosen);
    QStringList warnings;
    QStringList errors;
    QVector<PathValue> values = StateJson::flatten(object);
    if (line.isSet(family)) {
        // Converting between layouts: what the chosen family lacks (input
        // delays, for 48 kHz) is left out, and said so once.
        const ParameterCatalog &catalog = ParameterCatalog::of(chosen);
        const ParameterCatalog &other = ParameterCatalog::of(
            chosen == UnitFamily::Sharc96k ? UnitFamily::Sharc48k : UnitFamily::Sharc96k);
        QStringList dropped;
        for (int i = values.size() - 1; i >= 0; --i) {
            if (!catalog.find(values.at(i).path) && other.find(values.at(i).path))
                dropped.prepend(values.takeAt(i).path);
        }
        if (!dropped.isEmpty())
            console.warning(QStringLiteral("left out %1 that %2 units do not have: %3")
                                .arg(dropped.size() == 1 ? QStringLiteral("a setting") : QStringLiteral("%1 settings").arg(dropped.size()),
                                     UnitState::familyName(chosen), dropped.join(QStringLiteral(", "))));
    }
    StateFiles::describeResults(ParameterCatalog::apply(state, values), &warnings, &errors);
    for (const QString &w : warnings)
        console.warning(w);
    if (!errors.isEmpty()) {
        for (const QString &e : errors)
            console.error(input + QStringLiteral(": ") + e);
        console.note(QStringLiteral("Nothing was written."));
        return ExitUsage;
    }
    if (!StateFiles::writeFile(output, state.dsp.pack(UnitState::presetVariant(chosen)), &error)) {
        console.error(error);
        return ExitFile;
    }
    return ExitDone;
}

} // namespace

int Commands::offline(Console &console, const QStringList &arguments)
{
    const QString verb = arguments.value(1);
    if (verb == QLatin1String("to-json"))
        return toJson(console, arguments.mid(1));
    if (verb == QLatin1String("from-json"))
        return fromJson(console, arguments.mid(1));
    CommandLine line(console, QStringLiteral("offline"), QStringLiteral("to-json FILE | from-json JSON OUT"),
                     QStringLiteral("Offline preset files, made and read without a unit.\n"
                                    "  to-json FILE         print the file as JSON\n"
                                    "  from-json JSON OUT   write a file from JSON"),
                     0);
    const int code = line.parse(arguments, 0);
    if (code >= 0)
        return code;
    return line.usageError(verb.isEmpty() ? QStringLiteral("offline needs to-json or from-json")
                                          : QStringLiteral("unknown offline subcommand '%1'").arg(verb));
}

int Commands::diff(Console &console, const QStringList &arguments)
{
    CommandLine line(console, QStringLiteral("diff"), QStringLiteral("A B"),
                     QStringLiteral("Prints one line per parameter that differs, 'path: A -> B'. Each side is an "
                                    "offline preset file, a JSON state (- for standard input) or a unit's "
                                    "IPv4 address. A file laid against a unit is compared on what the file "
                                    "carries."),
                     CommandLine::Unit | CommandLine::Json);
    const int code = line.parse(arguments, 2, 2);
    if (code >= 0)
        return code;
    StateSide sides[2];
    for (int i = 0; i < 2; ++i) {
        int result = sides[i].open(console, line.positional().at(i));
        if (result < 0 && sides[i].kind() == StateSide::Kind::Unit)
            result = sides[i].readUnit(console, line.common());
        if (result >= 0)
            return result;
    }
    // A file or JSON side lies over the other side's unit, if there is one.
    UnitState states[2];
    for (int i = 0; i < 2; ++i) {
        const StateSide &other = sides[1 - i];
        const int result = other.kind() == StateSide::Kind::Unit
            ? sides[i].resolve(console, other.unitState(), &states[i])
            : sides[i].resolve(console, &states[i]);
        if (result >= 0)
            return result;
    }
    const QVector<StateChange> changes = StateDiff::between(states[0], states[1]);
    if (line.common().json) {
        QJsonArray array;
        for (const StateChange &c : changes)
            array.append(QJsonObject{{QStringLiteral("path"), c.path},
                                     {QStringLiteral("before"), c.before.isUndefined() ? QJsonValue() : c.before},
                                     {QStringLiteral("after"), c.after.isUndefined() ? QJsonValue() : c.after}});
        console.write(QJsonDocument(array).toJson(QJsonDocument::Indented));
    } else {
        for (const QString &l : StateDiff::lines(changes))
            console.print(l);
    }
    return ExitDone;
}
