#pragma once

#include <QLoggingCategory>
#include <QString>

Q_DECLARE_LOGGING_CATEGORY(lcLink)
Q_DECLARE_LOGGING_CATEGORY(lcDevices)
Q_DECLARE_LOGGING_CATEGORY(lcPages)
Q_DECLARE_LOGGING_CATEGORY(lcPresets)
Q_DECLARE_LOGGING_CATEGORY(lcUnit)

namespace Logging {

// Sends the debug log to `path` in addition to stderr. Returns false when the
// file cannot be opened (the log then stays on stderr only).
bool installLogFile(const QString &path);

} // namespace Logging
