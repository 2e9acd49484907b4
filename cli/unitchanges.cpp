#include "unitchanges.h"

#include "console.h"
#include "core/client/stateframes.h"
#include "core/state/statediff.h"
#include "exitcode.h"
#include "unitsession.h"

int UnitChanges::confirm(Console &console, bool yes, const QString &question)
{
    if (yes)
        return -1;
    switch (console.ask(question)) {
    case Console::Answer::Yes:
        return -1;
    case Console::Answer::No:
        console.note(QStringLiteral("Nothing was changed."));
        return ExitUsage;
    case Console::Answer::NoTerminal:
        console.error(QStringLiteral("standard input is not a terminal, so there is no one to ask; nothing was "
                                     "changed. Add --yes to go ahead without asking."));
        return ExitUsage;
    }
    return ExitUsage;
}

int UnitChanges::send(Console &console, UnitSession &session, const UnitState &current, const UnitState &target,
                      const QString &lockPassword, bool print)
{
    const QVector<StateChange> changes = StateDiff::between(current, target);
    if (changes.isEmpty()) {
        console.note(QStringLiteral("The unit already holds these values; nothing to send."));
        return ExitDone;
    }
    bool locksChange = false;
    for (const StateChange &c : changes)
        locksChange = locksChange || StateFrames::isLockPath(c.path);
    if (locksChange && lockPassword.isEmpty()) {
        console.error(QStringLiteral("security locks differ (%1, ...); changing them needs the security page's "
                                     "password: give it with --lock-password. Nothing was changed.")
                          .arg([&] {
                              for (const StateChange &c : changes) {
                                  if (StateFrames::isLockPath(c.path))
                                      return c.path;
                              }
                              return QString();
                          }()));
        return ExitUsage;
    }
    UnitClient &client = session.client();
    if (!lockPassword.isEmpty() && !client.openSecurity(lockPassword))
        return session.fail(QStringLiteral("the security page did not open"));
    QVector<StateChange> sent;
    const bool applied = client.apply(target, &sent);
    // The error of the apply is reported before closing the page can replace it.
    const int code = applied ? int(ExitDone) : session.fail(QStringLiteral("the unit was not changed"));
    if (client.isSecurityOpen())
        client.closeSecurity();
    if (!applied)
        return code;
    if (print) {
        for (const QString &l : StateDiff::lines(sent))
            console.print(l);
    }
    return ExitDone;
}

const PresetSlotInfo &UnitChanges::slotAt(const PresetList &list, int slot)
{
    return list.entries.at(slot);
}

PresetSlotInfo &UnitChanges::slotAt(PresetList &list, int slot)
{
    return list.entries[slot];
}
