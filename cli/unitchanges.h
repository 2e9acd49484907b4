#pragma once

#include <QJsonObject>
#include <QString>

#include "core/client/unitinfo.h"
#include "core/state/unitstate.h"

class Console;
class UnitSession;

// What the commands that change a unit share: asking first, and sending a
// target state as the differences from the unit's.
namespace UnitChanges {

// -1 to go on: `yes` was given or the operator said yes. Otherwise the exit
// code, with the reason on standard error; without a terminal to ask on,
// nothing is changed.
int confirm(Console &console, bool yes, const QString &question);

// Brings the unit from `current` to `target`, opening the security page
// with `lockPassword` when locks change. Prints the changes sent when
// `print` is true. -1 never; the exit code.
int send(Console &console, UnitSession &session, const UnitState &current, const UnitState &target,
         const QString &lockPassword, bool print);

QJsonObject infoToJson(const UnitInfo &info);

// Slot 0..31 of a preset list.
const PresetSlotInfo &slotAt(const PresetList &list, int slot);
PresetSlotInfo &slotAt(PresetList &list, int slot);

} // namespace UnitChanges
