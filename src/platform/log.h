#pragma once

#include <functional>

#include <QString>

namespace vimora {

/// The system log: one line per message. Lines go to the log file once one is set (see
/// setLogFile) and to standard error only while that is switched on; before either, a line
/// goes nowhere but to the sink.
void logLine(const QString &message);

/// Tests capture the log: every line also goes to the sink while one is set.
using LogSink = std::function<void(const QString &)>;
void setLogSink(LogSink sink);

/// The application's log file. When a line would take the file past maxBytes, the file is
/// renamed to path + ".1" (replacing the previous one) and a new file begins, so the log
/// never holds more than about twice maxBytes. An empty path stops file logging. False when
/// the file cannot be opened; lines then go only to the other destinations.
inline constexpr qint64 kLogFileMaxBytes = 1024 * 1024;
bool setLogFile(const QString &path, qint64 maxBytes = kLogFileMaxBytes);
/// The file set by setLogFile (empty when none).
QString logFilePath();
/// Copies every line to standard error (the application's --verbose).
void setLogToStandardError(bool on);

/// Sends Qt's own warnings (a codec's complaint about a damaged file) to the log as well,
/// instead of straight to standard error.
void routeQtMessagesToLog();

} // namespace vimora
