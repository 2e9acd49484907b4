#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include "commandline.h"
#include "core/state/unitstate.h"

class Console;

// One side of a diff or push: an offline preset file, a JSON state (whole
// or in part, as `get` prints it) or a unit's address.
//
// Files and JSON carry only part of a state, so they are laid over a base:
// the unit's state when the other side is a unit (a preset file then
// changes nothing the file does not hold, such as labels and locks), or a
// fresh state of their own family.
class StateSide
{
public:
    enum class Kind { Unit, PresetFile, Json };

    // Tells an address from a file and reads the file. Returns -1 on
    // success, else the exit code (the message is printed).
    int open(Console &console, const QString &argument);

    Kind kind() const { return m_kind; }
    QString name() const { return m_name; }
    // The family the file or JSON names (a preset file by its size).
    UnitFamily family() const { return m_family; }

    // A unit side: reads the unit's whole state.
    int readUnit(Console &console, const CommonOptions &options);
    const UnitState &unitState() const { return m_unitState; }

    // The state this side stands for over `base`. -1 on success, else the
    // exit code (the message is printed).
    int resolve(Console &console, const UnitState &base, UnitState *out) const;
    // Over a fresh state of its own family, or the unit's state.
    int resolve(Console &console, UnitState *out) const;

private:
    Kind m_kind = Kind::Json;
    QString m_name;
    QByteArray m_bytes;
    QJsonObject m_json;
    UnitFamily m_family = UnitFamily::Sharc96k;
    UnitState m_unitState;
};
