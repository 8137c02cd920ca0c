#pragma once

#include <QString>

namespace vimora {

/// Starts the application and runs its event loop; returns the exit code.
int runApplication(int argc, char **argv);

/// The log file of an application home.
QString logFileIn(const QString &home);
/// Logs to the home's log file, and to standard error as well when verbose (--verbose).
void startLogging(bool verbose);

} // namespace vimora
