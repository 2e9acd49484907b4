// info, get, set, mute/unmute and push: a unit's information and state.

#include <QCommandLineOption>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "core/state/statediff.h"
#include "core/state/statejson.h"
#include "exitcode.h"
#include "statefiles.h"
#include "stateside.h"
#include "unitchanges.h"
#include "unitsession.h"

namespace {

QJsonObject infoJson(const UnitInfo &info)
{
    QJsonArray slotArray;
    for (int i = 0; i < PresetList::Slots; ++i) {
        const PresetSlotInfo &s = UnitChanges::slotAt(info.presets, i);
        if (s.used)
            slotArray.append(QJsonObject{{QStringLiteral("slot"), i + 1}, {QStringLiteral("name"), s.name}});
    }
    return QJsonObject{
        {QStringLiteral("model"), info.model},
        {QStringLiteral("serial"), info.serial},
        {QStringLiteral("family"), UnitState::familyName(info.family())},
        {QStringLiteral("arm_version"), info.armVersionText()},
        {QStringLiteral("dsp_version"), info.dspVersionText()},
        {QStringLiteral("inputs"), info.channelConfig & 0xFF},
        {QStringLiteral("outputs"), info.channelConfig >> 8},
        {QStringLiteral("device_id"), info.deviceId},
        {QStringLiteral("address"), info.ipText()},
        {QStringLiteral("subnet_mask"), info.maskText()},
        {QStringLiteral("gateway"), info.gatewayText()},
        {QStringLiteral("location"), info.location},
        {QStringLiteral("description"), info.description},
        {QStringLiteral("current_preset"), info.presets.current < 0 ? QJsonValue() : QJsonValue(info.presets.current + 1)},
        {QStringLiteral("presets"), slotArray},
    };
}

// Nested objects merged key by key (several `get` paths into one document).
void merge(QJsonObject &into, const QJsonObject &from)
{
    for (auto it = from.constBegin(); it != from.constEnd(); ++it) {
        if (it.value().isObject() && into.value(it.key()).isObject()) {
            QJsonObject child = into.value(it.key()).toObject();
            merge(child, it.value().toObject());
            into.insert(it.key(), child);
        } else {
            into.insert(it.key(), it.value());
        }
    }
}

const QCommandLineOption lockPasswordOption(QStringLiteral("lock-password"),
                                            QStringLiteral("Password of the unit's security page, needed to change "
                                                           "security locks."),
                                            QStringLiteral("TEXT"));

} // namespace

QJsonObject UnitChanges::infoToJson(const UnitInfo &info)
{
    return infoJson(info);
}

int Commands::info(Console &console, const QStringList &arguments)
{
    CommandLine line(console, QStringLiteral("info"), QStringLiteral("ADDRESS"),
                     QStringLiteral("Prints what the unit says about itself: model, serial number, versions, "
                                    "network settings, location, description and the preset slots in use."),
                     CommandLine::Unit | CommandLine::Json);
    int code = line.parse(arguments, 1, 1);
    if (code >= 0)
        return code;
    UnitSession session(console, line.common());
    if ((code = session.open(line.positional().first())) >= 0)
        return code;
    UnitInfo info;
    if (!session.client().readInfo(&info))
        return session.fail(QStringLiteral("cannot read the unit's information"));
    const QJsonObject object = infoJson(info);
    if (line.common().json) {
        console.write(QJsonDocument(object).toJson(QJsonDocument::Indented));
        return ExitDone;
    }
    const char *const order[] = {"model", "serial", "family", "arm_version", "dsp_version", "inputs", "outputs",
                                 "device_id", "address", "subnet_mask", "gateway", "location", "description",
                                 "current_preset"};
    for (const char *key : order) {
        const QJsonValue v = object.value(QLatin1String(key));
        const QString text = v.isDouble() ? QString::number(v.toDouble()) : v.isNull() ? QStringLiteral("-")
                                                                                        : v.toString();
        console.print(QString(QLatin1String(key) + QLatin1Char(':')).leftJustified(17) + text);
    }
    for (const QJsonValue &slot : object.value(QStringLiteral("presets")).toArray()) {
        const QString key = QStringLiteral("preset %1:").arg(slot[QStringLiteral("slot")].toInt());
        console.print(key.leftJustified(17) + slot[QStringLiteral("name")].toString());
    }
    return ExitDone;
}

int Commands::get(Console &console, const QStringList &arguments)
{
    CommandLine line(console, QStringLiteral("get"), QStringLiteral("ADDRESS [PATH...]"),
                     QStringLiteral("Prints the unit's state as JSON: all of it, or the parts named (in.A, "
                                    "out.3.limiter, out.3.delay_ms, ...). 'orvalix-cli set ADDRESS -' takes it back."),
                     CommandLine::Unit);
    int code = line.parse(arguments, 1);
    if (code >= 0)
        return code;
    UnitSession session(console, line.common());
    if ((code = session.open(line.positional().first())) >= 0)
        return code;
    UnitState state;
    if ((code = session.readState(&state)) >= 0)
        return code;
    const QStringList paths = line.positional().mid(1);
    QJsonObject object;
    if (paths.isEmpty())
        object = StateJson::write(state);
    for (const QString &path : paths) {
        QString error;
        const QJsonObject part = StateJson::write(state, path, &error);
        if (!error.isEmpty()) {
            console.error(error);
            return ExitUsage;
        }
        merge(object, part);
    }
    console.write(QJsonDocument(object).toJson(QJsonDocument::Indented));
    return ExitDone;
}

int Commands::set(Console &console, const QStringList &arguments)
{
    const QCommandLineOption from(QStringLiteral("from"),
                                  QStringLiteral("Take the values from a JSON file as 'get' prints it (nested or "
                                                 "flat paths; - for standard input)."),
                                  QStringLiteral("FILE"));
    CommandLine line(console, QStringLiteral("set"), QStringLiteral("ADDRESS PATH=VALUE... | ADDRESS -"),
                     QStringLiteral("Sets values on the unit and prints what changed. A value outside the range is "
                                    "pulled in, with a warning naming the limit; an unknown path or unreadable "
                                    "value changes nothing. 'set ADDRESS -' reads JSON from standard input."),
                     CommandLine::Unit);
    line.addOption(from);
    line.addOption(lockPasswordOption);
    int code = line.parse(arguments, 1);
    if (code >= 0)
        return code;
    QStringList assignments = line.positional().mid(1);
    QString jsonInput = line.isSet(from) ? line.value(from) : QString();
    if (assignments == QStringList{QStringLiteral("-")}) {
        jsonInput = QStringLiteral("-");
        assignments.clear();
    }
    if (assignments.isEmpty() && jsonInput.isEmpty())
        return line.usageError(QStringLiteral("set needs PATH=VALUE pairs, or JSON with --from FILE or -"));
    QJsonObject json;
    if (!jsonInput.isEmpty()) {
        QByteArray bytes;
        QString error;
        if (!StateFiles::readInput(jsonInput, &bytes, &error)
            || !StateFiles::parseJson(bytes, jsonInput == QLatin1String("-") ? QStringLiteral("standard input")
                                                                              : jsonInput,
                                      &json, &error)) {
            console.error(error);
            return ExitFile;
        }
    }
    for (const QString &a : assignments) {
        if (a.indexOf(QLatin1Char('=')) <= 0)
            return line.usageError(QStringLiteral("'%1' is not PATH=VALUE (such as out.3.gain_db=-6)").arg(a));
    }

    UnitSession session(console, line.common());
    if ((code = session.open(line.positional().first())) >= 0)
        return code;
    UnitState current;
    if ((code = session.readState(&current)) >= 0)
        return code;
    UnitState target = current;
    QStringList warnings;
    QStringList errors;
    if (!json.isEmpty())
        StateFiles::describeResults(StateJson::read(json, &target), &warnings, &errors);
    for (const QString &a : assignments) {
        const int eq = a.indexOf(QLatin1Char('='));
        const SetResult r = ParameterCatalog::setFromText(target, a.left(eq).trimmed(), a.mid(eq + 1));
        StateFiles::describeResults({r}, &warnings, &errors);
    }
    for (const QString &w : warnings)
        console.warning(w);
    if (!errors.isEmpty()) {
        for (const QString &e : errors)
            console.error(e);
        console.note(QStringLiteral("Nothing was changed."));
        return ExitUsage;
    }
    return UnitChanges::send(console, session, current, target, line.value(lockPasswordOption), true);
}

int Commands::mute(Console &console, const QStringList &arguments)
{
    const bool on = arguments.value(0) == QLatin1String("mute");
    CommandLine line(console, arguments.value(0), QStringLiteral("ADDRESS CHANNEL..."),
                     on ? QStringLiteral("Mutes channels: inputs A-D, outputs 1-8, or all of them.")
                        : QStringLiteral("Unmutes channels: inputs A-D, outputs 1-8, or all of them."),
                     CommandLine::Unit);
    int code = line.parse(arguments, 2);
    if (code >= 0)
        return code;
    QStringList paths;
    for (const QString &channel : line.positional().mid(1)) {
        const QString c = channel.toUpper();
        if (c == QLatin1String("ALL")) {
            for (const char *in : {"A", "B", "C", "D"})
                paths.append(QStringLiteral("in.%1.mute").arg(QLatin1String(in)));
            for (int out = 1; out <= UnitState::Outputs; ++out)
                paths.append(QStringLiteral("out.%1.mute").arg(out));
        } else if (c.size() == 1 && c.at(0) >= QLatin1Char('A') && c.at(0) <= QLatin1Char('D')) {
            paths.append(QStringLiteral("in.%1.mute").arg(c));
        } else if (c.size() == 1 && c.at(0) >= QLatin1Char('1') && c.at(0) <= QLatin1Char('8')) {
            paths.append(QStringLiteral("out.%1.mute").arg(c));
        } else {
            return line.usageError(
                QStringLiteral("'%1' is no channel: inputs are A-D, outputs 1-8, or 'all'").arg(channel));
        }
    }
    UnitSession session(console, line.common());
    if ((code = session.open(line.positional().first())) >= 0)
        return code;
    UnitState current;
    if ((code = session.readState(&current)) >= 0)
        return code;
    UnitState target = current;
    QVector<PathValue> values;
    for (const QString &p : paths)
        values.append({p, on});
    QStringList warnings;
    QStringList errors;
    StateFiles::describeResults(ParameterCatalog::apply(target, values), &warnings, &errors);
    for (const QString &e : errors)
        console.error(e);
    if (!errors.isEmpty())
        return ExitUsage;
    return UnitChanges::send(console, session, current, target, QString(), true);
}

int Commands::push(Console &console, const QStringList &arguments)
{
    CommandLine line(console, QStringLiteral("push"), QStringLiteral("FILE ADDRESS"),
                     QStringLiteral("Sends an offline-prepared state (an offline preset file or JSON) to a unit: "
                                    "shows what differs, asks, and sends only that. What the file does not "
                                    "carry stays as the unit has it."),
                     CommandLine::Unit | CommandLine::Yes);
    line.addOption(lockPasswordOption);
    int code = line.parse(arguments, 2, 2);
    if (code >= 0)
        return code;
    StateSide side;
    if ((code = side.open(console, line.positional().at(0))) >= 0)
        return code;
    if (side.kind() == StateSide::Kind::Unit)
        return line.usageError(QStringLiteral("push takes a file first: an offline preset file or JSON"));
    UnitSession session(console, line.common());
    if ((code = session.open(line.positional().at(1))) >= 0)
        return code;
    UnitState current;
    if ((code = session.readState(&current)) >= 0)
        return code;
    UnitState target;
    if ((code = side.resolve(console, current, &target)) >= 0)
        return code;
    const QVector<StateChange> changes = StateDiff::between(current, target);
    if (changes.isEmpty()) {
        console.note(QStringLiteral("The unit already holds this state; nothing to send."));
        return ExitDone;
    }
    for (const QString &l : StateDiff::lines(changes))
        console.print(l);
    if ((code = UnitChanges::confirm(console, line.common().yes,
                                     QStringLiteral("Send these %1 changes to %2?").arg(changes.size()).arg(
                                         session.address())))
        >= 0)
        return code;
    return UnitChanges::send(console, session, current, target, line.value(lockPasswordOption), false);
}
