#include "statefiles.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSaveFile>

#include <cstdio>
#include <functional>

#include "core/state/statejson.h"

namespace StateFiles {

bool presetCarries(const Parameter &parameter, UnitFamily family)
{
    const QStringList &s = parameter.segments;
    if (s.isEmpty() || s.first() == QLatin1String("unit") || s.contains(QStringLiteral("lock")))
        return false;
    const QString &leaf = s.last();
    if (leaf == QLatin1String("label") || leaf == QLatin1String("trim_db") || leaf == QLatin1String("group")
        || (s.first() == QLatin1String("in") && leaf == QLatin1String("source")))
        return false;
    // The 48 kHz layout has no dynamic EQ and no FIR.
    return family == UnitFamily::Sharc96k
        || !(s.contains(QStringLiteral("deq")) || s.contains(QStringLiteral("fir")));
}

QJsonObject presetJson(const UnitState &state)
{
    QJsonObject object = StateJson::write(state);
    QJsonObject unit;
    unit.insert(QStringLiteral("family"), UnitState::familyName(state.family()));
    object.insert(QStringLiteral("unit"), unit);

    // Prune what the file does not carry, innermost first.
    const ParameterCatalog &catalog = ParameterCatalog::of(state);
    for (const Parameter &p : catalog.parameters()) {
        if (presetCarries(p, state.family()) || p.segments.first() == QLatin1String("unit"))
            continue;
        std::function<void(QJsonObject &, int)> remove = [&](QJsonObject &node, int depth) {
            const QString &key = p.segments.at(depth);
            if (depth + 1 == p.segments.size()) {
                node.remove(key);
                return;
            }
            QJsonObject child = node.value(key).toObject();
            remove(child, depth + 1);
            if (child.isEmpty())
                node.remove(key);
            else
                node.insert(key, child);
        };
        remove(object, 0);
    }
    return object;
}

bool readFile(const QString &path, QByteArray *bytes, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool readInput(const QString &path, QByteArray *bytes, QString *error)
{
    if (path != QLatin1String("-"))
        return readFile(path, bytes, error);
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read standard input");
        return false;
    }
    *bytes = in.readAll();
    return true;
}

bool writeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    return true;
}

bool isPresetSize(qint64 size)
{
    PresetImage::Variant variant;
    return PresetImage::variantOfSize(size, &variant);
}

bool loadPreset(const QByteArray &bytes, UnitState *state)
{
    return state->dsp.unpack(bytes);
}

bool parseJson(const QByteArray &bytes, const QString &name, QJsonObject *object, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        // The line of the offset, for an editor.
        const int line = 1 + bytes.left(parseError.offset).count('\n');
        *error = QStringLiteral("%1 is not valid JSON: %2 at line %3").arg(name, parseError.errorString()).arg(line);
        return false;
    }
    if (!document.isObject()) {
        *error = QStringLiteral("%1 holds no JSON object; expected {\"in\": {...}, ...} or {\"in.A.gain_db\": -6, ...}")
                     .arg(name);
        return false;
    }
    *object = document.object();
    return true;
}

bool describeResults(const QVector<SetResult> &results, QStringList *warnings, QStringList *errors)
{
    for (const SetResult &r : results) {
        if (r.outcome == SetResult::Outcome::Adjusted)
            warnings->append(r.message);
        else if (r.outcome == SetResult::Outcome::Failed)
            errors->append(r.message.startsWith(r.path) ? r.message : r.path + QStringLiteral(": ") + r.message);
    }
    return errors->isEmpty();
}

} // namespace StateFiles
