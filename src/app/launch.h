#pragma once

#include <QString>

namespace vimora {

/// Starts the application and runs its event loop; returns the exit code.
int runApplication(int argc, char **argv);

/// Lets the allocator keep the memory of freed full-size pictures (a 2000 x 1500 photo is
/// 12 MB) for the next one, instead of returning it to the system and faulting fresh pages
/// in for every picture a tap makes. Called once, before any picture is made.
void keepPictureMemory();

/// The log file of an application home.
QString logFileIn(const QString &home);
/// Logs to the home's log file, and to standard error as well when verbose (--verbose).
void startLogging(bool verbose);

} // namespace vimora
