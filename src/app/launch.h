#pragma once

namespace vimora {

/// Starts the application and runs its event loop; returns the exit code.
int runApplication(int argc, char **argv);

} // namespace vimora
