#include "unitsession.h"

#include <QHostAddress>

#include "console.h"
#include "exitcode.h"

UnitSession::UnitSession(Console &console, const CommonOptions &options)
    : m_console(console)
    , m_options(options)
{
    m_client.setTimeout(options.timeoutMs);
}

int UnitSession::exitCodeOf(UnitClient::Error error)
{
    switch (error) {
    case UnitClient::Error::None:
        return ExitDone;
    case UnitClient::Error::NotConnected:
    case UnitClient::Error::Unreachable:
    case UnitClient::Error::Timeout:
    case UnitClient::Error::LinkLost:
        return ExitUnreachable;
    case UnitClient::Error::LoginRefused:
    case UnitClient::Error::PasswordRefused:
    case UnitClient::Error::Locked:
    case UnitClient::Error::Failed:
        return ExitRefused;
    case UnitClient::Error::Malformed:
        return ExitMalformed;
    case UnitClient::Error::InvalidValue:
    case UnitClient::Error::UnknownPath:
        return ExitUsage;
    }
    return ExitRefused;
}

int UnitSession::fail(const QString &what)
{
    const QString reason = m_client.errorText().isEmpty() ? UnitClient::errorName(m_client.error())
                                                          : m_client.errorText();
    m_console.error(QStringLiteral("%1 (%2): %3").arg(what, m_address, reason));
    const int code = exitCodeOf(m_client.error());
    return code == ExitDone ? ExitRefused : code;
}

int UnitSession::open(const QString &address)
{
    m_address = address;
    const QHostAddress host(address);
    if (host.protocol() != QAbstractSocket::IPv4Protocol) {
        m_console.error(QStringLiteral("'%1' is not an IPv4 address (such as 192.168.1.100); "
                                       "'orvalix-cli discover' lists the units on the network")
                            .arg(address));
        return ExitUsage;
    }
    if (!m_client.connectToUnit(host, m_options.port))
        return fail(QStringLiteral("cannot connect to port %1").arg(m_options.port));
    if (!m_client.login(m_options.password)) {
        const int code = fail(QStringLiteral("login refused"));
        if (m_client.error() == UnitClient::Error::LoginRefused)
            m_console.note(m_options.password.isEmpty()
                               ? QStringLiteral("The unit asks for a password: give it with --password.")
                               : QStringLiteral("Check the password given with --password."));
        return code;
    }
    return -1;
}

int UnitSession::readState(UnitState *state)
{
    if (!m_client.readState(state))
        return fail(QStringLiteral("cannot read the unit's state"));
    return -1;
}

int UnitSession::transferFailed(PresetTransfer::Outcome outcome, const QString &what)
{
    using O = PresetTransfer::Outcome;
    QString reason;
    int code = ExitUnreachable;
    switch (outcome) {
    case O::Done:
        return -1;
    case O::Cancelled:
        reason = QStringLiteral("the transfer was cancelled");
        code = ExitRefused;
        break;
    case O::LinkLost:
        reason = QStringLiteral("the connection was lost part way; nothing was written under the final name");
        break;
    case O::NoReply:
        reason = QStringLiteral("the unit stopped answering; check it and try again (--timeout waits longer)");
        break;
    case O::SizeMismatch:
        reason = QStringLiteral("the file is not the size the unit expects; it is not a preset image of this unit");
        code = ExitFile;
        break;
    case O::FileUnreadable:
        reason = QStringLiteral("the file cannot be read");
        code = ExitFile;
        break;
    case O::FileUnwritable:
        reason = QStringLiteral("the file cannot be written; check the folder exists and is writable");
        code = ExitFile;
        break;
    case O::UnitEndedEarly:
        reason = QStringLiteral("the unit ended the transfer early");
        code = ExitMalformed;
        break;
    case O::TooLarge:
        reason = QStringLiteral("the image is larger than a transfer can address");
        code = ExitMalformed;
        break;
    }
    m_console.error(QStringLiteral("%1 (%2): %3").arg(what, m_address, reason));
    return code;
}
