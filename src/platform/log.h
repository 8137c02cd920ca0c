#pragma once

#include <functional>

#include <QString>

namespace vimora {

/// The system log: one line per message on standard error.
void logLine(const QString &message);

/// Tests capture the log: every line also goes to the sink while one is set.
using LogSink = std::function<void(const QString &)>;
void setLogSink(LogSink sink);

} // namespace vimora
