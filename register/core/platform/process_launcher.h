#pragma once
// Starting a viewer or an entry as a separate process.
#include "core/platform/error.h"

#include <string>

namespace ombriel {

// How the started program's window is shown.
enum class WindowState {
    Normal,    // in its normal size, activated
    Maximized, // maximised, activated
};

struct LaunchRequest {
    std::string program;     // the executable that must start, UTF-8; never searched for
    std::string commandLine; // the full command line, program token first, UTF-8
    WindowState windowState = WindowState::Normal;
};

class ProcessLauncher {
  public:
    virtual ~ProcessLauncher() = default;
    // Starts the program and returns at once; the process is not waited for.
    virtual Error Launch(const LaunchRequest& request) = 0;
};

// Starts processes on the system the program runs on (Windows only).
ProcessLauncher& SystemLauncher();

} // namespace ombriel
