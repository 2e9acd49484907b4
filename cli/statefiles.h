#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QVector>

#include "core/state/parametercatalog.h"
#include "core/state/unitstate.h"

// Reading and writing the files the command line takes: offline preset
// files (either layout), JSON states, and any output written whole.
namespace StateFiles {

// Whether an offline preset file of the family's layout carries the
// parameter. Labels, trims, input sources, link groups, locks and the
// unit's own settings stay on the unit; the 48 kHz layout also leaves out
// the dynamic EQ and the FIR.
bool presetCarries(const Parameter &parameter, UnitFamily family);

// The parameters an offline preset file carries, with "unit.family" so the
// layout can be chosen again when it is turned back into a file.
QJsonObject presetJson(const UnitState &state);

// Reads the whole file; false with `error` naming the file and the reason.
bool readFile(const QString &path, QByteArray *bytes, QString *error);
// "-" reads standard input.
bool readInput(const QString &path, QByteArray *bytes, QString *error);

// Writes through a temporary file beside `path` that takes its name only
// when complete, so an interrupted run leaves no half file there.
bool writeFile(const QString &path, const QByteArray &bytes, QString *error);

// An offline preset file loaded over `state` (whose family stays): what the
// layout does not carry keeps the value `state` had. False when the size is
// neither layout's.
bool isPresetSize(qint64 size);
bool loadPreset(const QByteArray &bytes, UnitState *state);

// A JSON document's object; false with `error` saying where it broke.
bool parseJson(const QByteArray &bytes, const QString &name, QJsonObject *object, QString *error);

// The warnings and errors of an apply, one line each; true when none failed.
bool describeResults(const QVector<SetResult> &results, QStringList *warnings, QStringList *errors);

} // namespace StateFiles
