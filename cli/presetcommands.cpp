// preset ..., backup and restore.

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "backgroundwriter.h"
#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "core/state/statediff.h"
#include "core/state/statejson.h"
#include "exitcode.h"
#include "statefiles.h"
#include "unitchanges.h"
#include "unitsession.h"

namespace {

constexpr int Slots = PresetTransfer::Slots;

QString slotFileName(int slot)
{
    return QStringLiteral("slot-%1.pst1").arg(slot + 1, 2, 10, QLatin1Char('0'));
}

const QString SlotsFile = QStringLiteral("slots.json");
const QString StateFile = QStringLiteral("state.json");
const QString InfoFile = QStringLiteral("info.json");

// "1".."32" to 0..31; -1 otherwise.
int slotOf(const QString &text)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n >= 1 && n <= Slots ? n - 1 : -1;
}

QJsonObject slotsJson(const PresetList &list)
{
    QJsonArray slotArray;
    for (int i = 0; i < PresetList::Slots; ++i) {
        const PresetSlotInfo &s = UnitChanges::slotAt(list, i);
        slotArray.append(QJsonObject{{QStringLiteral("slot"), i + 1},
                                 {QStringLiteral("used"), s.used},
                                 {QStringLiteral("name"), s.name},
                                 {QStringLiteral("file"), s.used ? slotFileName(i) : QString()}});
    }
    return QJsonObject{{QStringLiteral("current"), list.current < 0 ? QJsonValue() : QJsonValue(list.current + 1)},
                       {QStringLiteral("slots"), slotArray}};
}

// Runs one transfer with a progress bar on a terminal; -1 when done.
template <typename Start>
int transfer(Console &console, UnitSession &session, const QString &what, Start start)
{
    PresetTransfer *t = session.client().presetTransfer();
    TerminalProgress progress(console);
    t->setProgress(&progress);
    t->setProgressLabels(what, what);
    if (!start(t)) {
        t->setProgress(nullptr);
        console.error(what + QStringLiteral(": the transfer did not start"));
        return ExitUsage;
    }
    const PresetTransfer::Outcome outcome = t->waitForFinished();
    t->setProgress(nullptr);
    return session.transferFailed(outcome, what);
}

// Each slot comes into memory and goes to `writer`, which flushes it to
// disk while the next one travels.
int exportUsed(Console &console, UnitSession &session, const PresetList &list, const QString &dir,
               BackgroundWriter &writer)
{
    for (int slot = 0; slot < Slots; ++slot) {
        if (!UnitChanges::slotAt(list, slot).used)
            continue;
        const int code = transfer(console, session, QStringLiteral("export of slot %1").arg(slot + 1),
                                  [&](PresetTransfer *t) { return t->exportSlotToMemory(slot); });
        if (code >= 0)
            return code;
        writer.write(QDir(dir).filePath(slotFileName(slot)), session.client().presetTransfer()->exportedImage());
    }
    return -1;
}

// Waits for `writer`, then writes the slot list, so that a folder with a
// slots.json holds every slot it names. -1 when every file was written.
int finishWriting(Console &console, BackgroundWriter &writer, const QString &dir, const PresetList &list)
{
    QStringList errors = writer.finish();
    QString error;
    if (errors.isEmpty()
        && !StateFiles::writeFile(QDir(dir).filePath(SlotsFile), QJsonDocument(slotsJson(list)).toJson(), &error))
        errors.append(error);
    for (const QString &e : errors)
        console.error(e);
    return errors.isEmpty() ? -1 : int(ExitFile);
}

int makeFolder(Console &console, const QString &dir)
{
    if (QDir().mkpath(dir) && QFileInfo(dir).isWritable())
        return -1;
    console.error(QStringLiteral("cannot write into the folder %1; check that it can be made and written").arg(dir));
    return ExitFile;
}

// The slot files of an export-all folder, checked before anything is sent:
// slots.json when there is one, else every slot-NN.pst1 present.
int readFolder(Console &console, const QString &dir, PresetList *wanted, QVector<int> *files)
{
    if (!QFileInfo(dir).isDir()) {
        console.error(QStringLiteral("%1 is not a folder").arg(dir));
        return ExitFile;
    }
    const QString listPath = QDir(dir).filePath(SlotsFile);
    if (QFileInfo::exists(listPath)) {
        QByteArray bytes;
        QString error;
        QJsonObject object;
        if (!StateFiles::readFile(listPath, &bytes, &error) || !StateFiles::parseJson(bytes, listPath, &object, &error)) {
            console.error(error);
            return ExitFile;
        }
        const QJsonArray slotArray = object.value(QStringLiteral("slots")).toArray();
        for (const QJsonValue &v : slotArray) {
            const int slot = v[QStringLiteral("slot")].toInt() - 1;
            if (slot < 0 || slot >= Slots) {
                console.error(QStringLiteral("%1: slot %2 is outside 1-32").arg(listPath).arg(slot + 1));
                return ExitFile;
            }
            UnitChanges::slotAt(*wanted, slot).used = v[QStringLiteral("used")].toBool();
            UnitChanges::slotAt(*wanted, slot).name = v[QStringLiteral("name")].toString();
        }
    } else {
        for (int slot = 0; slot < Slots; ++slot)
            UnitChanges::slotAt(*wanted, slot).used = QFileInfo::exists(QDir(dir).filePath(slotFileName(slot)));
    }
    for (int slot = 0; slot < Slots; ++slot) {
        if (!UnitChanges::slotAt(*wanted, slot).used)
            continue;
        const QString path = QDir(dir).filePath(slotFileName(slot));
        if (!QFileInfo(path).isReadable()) {
            console.error(QStringLiteral("%1 is missing or unreadable").arg(path));
            return ExitFile;
        }
        files->append(slot);
    }
    return -1;
}

// Imports the slot files and gives the slots their names again (a unit's
// image may not carry it); with `clearOthers`, slots not in use in the
// folder are deleted.
int importFolder(Console &console, UnitSession &session, const QString &dir, const PresetList &wanted,
                 const QVector<int> &files, bool clearOthers)
{
    for (int slot : files) {
        const QString path = QDir(dir).filePath(slotFileName(slot));
        const int code = transfer(console, session, QStringLiteral("import of slot %1").arg(slot + 1),
                                  [&](PresetTransfer *t) { return t->importSlot(slot, path); });
        if (code >= 0)
            return code;
    }
    PresetList now;
    if (!session.client().readPresets(&now))
        return session.fail(QStringLiteral("cannot read the preset list"));
    for (int slot = 0; slot < Slots; ++slot) {
        const PresetSlotInfo &want = UnitChanges::slotAt(wanted, slot);
        if (want.used && !want.name.isEmpty() && UnitChanges::slotAt(now, slot).name != want.name
            && !session.client().renamePreset(slot, want.name))
            return session.fail(QStringLiteral("cannot rename slot %1").arg(slot + 1));
        if (clearOthers && !want.used && UnitChanges::slotAt(now, slot).used && !session.client().deletePreset(slot))
            return session.fail(QStringLiteral("cannot delete slot %1").arg(slot + 1));
    }
    return -1;
}

int presetVerb(Console &console, const QString &verb, const QStringList &arguments)
{
    struct Verb
    {
        const char *name;
        const char *arguments;
        int min;
        int max;
        const char *description;
    };
    static const Verb verbs[] = {
        {"list", "ADDRESS", 1, 1, "Lists the 32 slots: number, name, in use, current."},
        {"recall", "ADDRESS N", 2, 2, "Recalls slot N (1-32) and waits until the unit has applied it."},
        {"save", "ADDRESS N [NAME]", 2, 3, "Saves the unit's settings into slot N, and names it."},
        {"rename", "ADDRESS N NAME", 3, 3, "Renames slot N (at most 16 bytes)."},
        {"delete", "ADDRESS N", 2, 2, "Erases slot N."},
        {"export", "ADDRESS N FILE", 3, 3, "Copies slot N into a .pst1 file, as the window's Export does."},
        {"export-all", "ADDRESS DIR", 2, 2,
         "Copies every used slot into DIR as slot-NN.pst1, with slots.json naming them."},
        {"import", "ADDRESS N FILE", 3, 3, "Copies a .pst1 file into slot N, as the window's Import does."},
        {"import-all", "ADDRESS DIR", 2, 2, "Copies the slot files of an export-all folder back into their slots."},
    };
    const Verb *chosen = nullptr;
    for (const Verb &v : verbs) {
        if (verb == QLatin1String(v.name))
            chosen = &v;
    }
    if (!chosen) {
        CommandLine line(console, QStringLiteral("preset"), QStringLiteral("SUBCOMMAND ADDRESS ..."),
                         QStringLiteral("The unit's 32 preset slots (numbered 1-32):\n"
                                        "  list ADDRESS\n  recall ADDRESS N\n  save ADDRESS N [NAME]\n"
                                        "  rename ADDRESS N NAME\n  delete ADDRESS N\n  export ADDRESS N FILE\n"
                                        "  export-all ADDRESS DIR\n  import ADDRESS N FILE\n  import-all ADDRESS DIR"),
                         0);
        const int code = line.parse(arguments, 0);
        if (code >= 0)
            return code;
        return line.usageError(verb.isEmpty() ? QStringLiteral("preset needs a subcommand")
                                              : QStringLiteral("unknown preset subcommand '%1'").arg(verb));
    }
    CommandLine line(console, QStringLiteral("preset ") + verb, QLatin1String(chosen->arguments),
                     QLatin1String(chosen->description),
                     CommandLine::Unit | (verb == QLatin1String("list") ? CommandLine::Json : 0u));
    int code = line.parse(arguments, chosen->min, chosen->max);
    if (code >= 0)
        return code;
    const QStringList &p = line.positional();
    int slot = -1;
    if (chosen->min >= 2 && !verb.endsWith(QLatin1String("-all"))) {
        slot = slotOf(p.at(1));
        if (slot < 0)
            return line.usageError(QStringLiteral("'%1' is no slot; slots are 1 to 32").arg(p.at(1)));
    }
    const QString name = verb == QLatin1String("save") || verb == QLatin1String("rename") ? p.value(2) : QString();
    if (name.toLocal8Bit().size() > 16)
        return line.usageError(QStringLiteral("the name '%1' is longer than 16 bytes").arg(name));
    if (verb == QLatin1String("rename") && name.isEmpty())
        return line.usageError(QStringLiteral("the name is empty"));
    if (verb == QLatin1String("import") && !QFileInfo(p.at(2)).isReadable()) {
        console.error(QStringLiteral("cannot read %1").arg(p.at(2)));
        return ExitFile;
    }
    PresetList wanted;
    QVector<int> files;
    if (verb == QLatin1String("import-all") && (code = readFolder(console, p.at(1), &wanted, &files)) >= 0)
        return code;
    if (verb == QLatin1String("export-all") && (code = makeFolder(console, p.at(1))) >= 0)
        return code;

    UnitSession session(console, line.common());
    if ((code = session.open(p.first())) >= 0)
        return code;
    UnitClient &client = session.client();
    if (verb == QLatin1String("list")) {
        PresetList list;
        if (!client.readPresets(&list))
            return session.fail(QStringLiteral("cannot read the preset list"));
        if (line.common().json) {
            console.write(QJsonDocument(slotsJson(list)).toJson(QJsonDocument::Indented));
            return ExitDone;
        }
        for (int i = 0; i < Slots; ++i) {
            const PresetSlotInfo &s = UnitChanges::slotAt(list, i);
            console.print(QStringLiteral("%1  %2%3")
                              .arg(i + 1, 2)
                              .arg(s.used ? s.name : QStringLiteral("-"), -16)
                              .arg(i == list.current ? QStringLiteral("  (current)") : QString()));
        }
        return ExitDone;
    }
    if (verb == QLatin1String("recall"))
        return client.recallPreset(slot) ? int(ExitDone) : session.fail(QStringLiteral("recall of slot %1").arg(slot + 1));
    if (verb == QLatin1String("save")) {
        if (!client.savePreset(slot))
            return session.fail(QStringLiteral("save into slot %1").arg(slot + 1));
        if (!name.isEmpty() && !client.renamePreset(slot, name))
            return session.fail(QStringLiteral("naming slot %1").arg(slot + 1));
        return ExitDone;
    }
    if (verb == QLatin1String("rename"))
        return client.renamePreset(slot, name) ? int(ExitDone) : session.fail(QStringLiteral("rename of slot %1").arg(slot + 1));
    if (verb == QLatin1String("delete"))
        return client.deletePreset(slot) ? int(ExitDone) : session.fail(QStringLiteral("delete of slot %1").arg(slot + 1));
    if (verb == QLatin1String("export")) {
        code = transfer(console, session, QStringLiteral("export of slot %1").arg(slot + 1),
                        [&](PresetTransfer *t) { return t->exportSlot(slot, p.at(2)); });
        return code >= 0 ? code : int(ExitDone);
    }
    if (verb == QLatin1String("import")) {
        code = transfer(console, session, QStringLiteral("import of slot %1").arg(slot + 1),
                        [&](PresetTransfer *t) { return t->importSlot(slot, p.at(2)); });
        return code >= 0 ? code : int(ExitDone);
    }
    if (verb == QLatin1String("export-all")) {
        PresetList list;
        if (!client.readPresets(&list))
            return session.fail(QStringLiteral("cannot read the preset list"));
        BackgroundWriter writer;
        if ((code = exportUsed(console, session, list, p.at(1), writer)) >= 0)
            return code;
        code = finishWriting(console, writer, p.at(1), list);
        return code >= 0 ? code : int(ExitDone);
    }
    // import-all
    code = importFolder(console, session, p.at(1), wanted, files, false);
    return code >= 0 ? code : int(ExitDone);
}

} // namespace

int Commands::preset(Console &console, const QStringList &arguments)
{
    return presetVerb(console, arguments.value(1), arguments.mid(1));
}

int Commands::backup(Console &console, const QStringList &arguments)
{
    CommandLine line(console, QStringLiteral("backup"), QStringLiteral("ADDRESS DIR"),
                     QStringLiteral("Saves a unit into DIR: info.json (what it says about itself), state.json (its "
                                    "whole state, as 'get' prints it), slots.json and a slot-NN.pst1 file per used "
                                    "preset slot. 'orvalix-cli restore DIR ADDRESS' puts it back."),
                     CommandLine::Unit);
    int code = line.parse(arguments, 2, 2);
    if (code >= 0)
        return code;
    const QString dir = line.positional().at(1);
    if ((code = makeFolder(console, dir)) >= 0)
        return code;
    UnitSession session(console, line.common());
    if ((code = session.open(line.positional().at(0))) >= 0)
        return code;
    UnitInfo info;
    if (!session.client().readInfo(&info))
        return session.fail(QStringLiteral("cannot read the unit's information"));
    BackgroundWriter writer;
    writer.write(QDir(dir).filePath(InfoFile), QJsonDocument(UnitChanges::infoToJson(info)).toJson());
    UnitState state;
    if ((code = session.readState(&state)) >= 0)
        return code;
    writer.write(QDir(dir).filePath(StateFile), QJsonDocument(StateJson::write(state)).toJson());
    if ((code = exportUsed(console, session, info.presets, dir, writer)) >= 0)
        return code;
    code = finishWriting(console, writer, dir, info.presets);
    return code >= 0 ? code : int(ExitDone);
}

int Commands::restore(Console &console, const QStringList &arguments)
{
    const QCommandLineOption lockPassword(QStringLiteral("lock-password"),
                                          QStringLiteral("Password of the unit's security page, needed when the "
                                                         "backup's security locks differ from the unit's."),
                                          QStringLiteral("TEXT"));
    CommandLine line(console, QStringLiteral("restore"), QStringLiteral("DIR ADDRESS"),
                     QStringLiteral("Puts a backup made by 'orvalix-cli backup' back onto a unit: its state (only "
                                    "what differs is sent) and its preset slots (slots unused in the backup are "
                                    "deleted). Shows what will change and asks first, unless --yes."),
                     CommandLine::Unit | CommandLine::Yes);
    line.addOption(lockPassword);
    int code = line.parse(arguments, 2, 2);
    if (code >= 0)
        return code;
    const QString dir = line.positional().at(0);
    PresetList wanted;
    QVector<int> files;
    if ((code = readFolder(console, dir, &wanted, &files)) >= 0)
        return code;
    const QString statePath = QDir(dir).filePath(StateFile);
    QByteArray bytes;
    QString error;
    QJsonObject stateJson;
    if (!StateFiles::readFile(statePath, &bytes, &error) || !StateFiles::parseJson(bytes, statePath, &stateJson, &error)) {
        console.error(error);
        return ExitFile;
    }

    UnitSession session(console, line.common());
    if ((code = session.open(line.positional().at(1))) >= 0)
        return code;
    UnitState current;
    if ((code = session.readState(&current)) >= 0)
        return code;
    const UnitFamily family = StateJson::familyOf(stateJson, current.family());
    if (family != current.family()) {
        console.error(QStringLiteral("the backup is of a %1 unit, %2 is a %3 unit; nothing was changed")
                          .arg(UnitState::familyName(family), session.address(),
                               UnitState::familyName(current.family())));
        return ExitUsage;
    }
    UnitState target = current;
    QStringList warnings;
    QStringList errors;
    StateFiles::describeResults(StateJson::read(stateJson, &target), &warnings, &errors);
    for (const QString &w : warnings)
        console.warning(w);
    if (!errors.isEmpty()) {
        for (const QString &e : errors)
            console.error(statePath + QStringLiteral(": ") + e);
        return ExitFile;
    }
    PresetList now;
    if (!session.client().readPresets(&now))
        return session.fail(QStringLiteral("cannot read the preset list"));

    const QVector<StateChange> changes = StateDiff::between(current, target);
    for (const QString &l : StateDiff::lines(changes))
        console.print(l);
    int deletions = 0;
    for (int slot = 0; slot < Slots; ++slot) {
        if (UnitChanges::slotAt(wanted, slot).used)
            console.print(QStringLiteral("preset %1: import %2 \"%3\"")
                              .arg(slot + 1)
                              .arg(slotFileName(slot), UnitChanges::slotAt(wanted, slot).name));
        else if (UnitChanges::slotAt(now, slot).used) {
            console.print(QStringLiteral("preset %1: delete \"%2\"").arg(slot + 1).arg(UnitChanges::slotAt(now, slot).name));
            ++deletions;
        }
    }
    if ((code = UnitChanges::confirm(console, line.common().yes,
                                     QStringLiteral("Restore %1 onto %2: %3 parameter changes, %4 preset slots "
                                                    "imported, %5 deleted?")
                                         .arg(dir, session.address())
                                         .arg(changes.size())
                                         .arg(files.size())
                                         .arg(deletions)))
        >= 0)
        return code;
    // Slots first: importing one does not touch the running settings, and
    // the state then comes last, as the backup saw it.
    if ((code = importFolder(console, session, dir, wanted, files, true)) >= 0)
        return code;
    return UnitChanges::send(console, session, current, target, line.value(lockPassword), false);
}
