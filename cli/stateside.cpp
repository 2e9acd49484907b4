#include "stateside.h"

#include <QFileInfo>
#include <QHostAddress>

#include "console.h"
#include "core/state/statejson.h"
#include "exitcode.h"
#include "statefiles.h"
#include "unitsession.h"

int StateSide::open(Console &console, const QString &argument)
{
    m_name = argument;
    const QHostAddress address(argument);
    if (argument != QLatin1String("-") && !QFileInfo::exists(argument)
        && address.protocol() == QAbstractSocket::IPv4Protocol) {
        m_kind = Kind::Unit;
        return -1;
    }
    QString error;
    if (!StateFiles::readInput(argument, &m_bytes, &error)) {
        console.error(error + QStringLiteral(" (neither a file nor an IPv4 address)"));
        return ExitFile;
    }
    PresetImage::Variant variant;
    if (PresetImage::variantOfSize(m_bytes.size(), &variant)) {
        m_kind = Kind::PresetFile;
        m_family = variant == PresetImage::Sharc96k ? UnitFamily::Sharc96k : UnitFamily::Sharc48k;
        return -1;
    }
    m_kind = Kind::Json;
    if (!StateFiles::parseJson(m_bytes, argument, &m_json, &error)) {
        console.error(error + QStringLiteral(" (nor an offline preset file of %1 or %2 bytes)")
                                  .arg(PresetImage::Size48k)
                                  .arg(PresetImage::Size96k));
        return ExitFile;
    }
    m_family = StateJson::familyOf(m_json, UnitFamily::Sharc96k);
    return -1;
}

int StateSide::readUnit(Console &console, const CommonOptions &options)
{
    UnitSession session(console, options);
    const int code = session.open(m_name);
    if (code >= 0)
        return code;
    return session.readState(&m_unitState);
}

int StateSide::resolve(Console &console, UnitState *out) const
{
    if (m_kind == Kind::Unit) {
        *out = m_unitState;
        return -1;
    }
    return resolve(console, UnitState(m_family), out);
}

int StateSide::resolve(Console &console, const UnitState &base, UnitState *out) const
{
    *out = base;
    switch (m_kind) {
    case Kind::Unit:
        *out = m_unitState;
        return -1;
    case Kind::PresetFile:
        StateFiles::loadPreset(m_bytes, out);
        return -1;
    case Kind::Json: {
        QStringList warnings;
        QStringList errors;
        StateFiles::describeResults(StateJson::read(m_json, out), &warnings, &errors);
        for (const QString &w : warnings)
            console.warning(w);
        for (const QString &e : errors)
            console.error(m_name + QStringLiteral(": ") + e);
        return errors.isEmpty() ? -1 : ExitUsage;
    }
    }
    return -1;
}
