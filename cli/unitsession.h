#pragma once

#include <QString>

#include "commandline.h"
#include "core/client/unitclient.h"
#include "core/transfers/presettransfer.h"

class Console;

// A UnitClient for one command: connects and logs in with the common
// options, and turns what fails into a message on standard error and an
// exit code.
class UnitSession
{
public:
    UnitSession(Console &console, const CommonOptions &options);

    // Connects to `address` (an IPv4 address) and logs in. -1 on success,
    // else the exit code.
    int open(const QString &address);

    UnitClient &client() { return m_client; }
    QString address() const { return m_address; }

    // The client's last error as a message and its exit code.
    int fail(const QString &what);
    static int exitCodeOf(UnitClient::Error error);
    // A preset transfer's outcome; -1 when Done.
    int transferFailed(PresetTransfer::Outcome outcome, const QString &what);

    int readState(UnitState *state);

private:
    Console &m_console;
    CommonOptions m_options;
    UnitClient m_client;
    QString m_address;
};
