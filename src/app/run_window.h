#pragma once
// The tool as the user knows it: the main window and its event loop.

#include "app/window_options.h"

namespace pralix {

// pralix [--trace FILE] [--exit-when-shown] [Qt options], already parsed.
// Returns the process exit status: 0 when the window was closed or the PC
// has no serial port, 1 when start-up failed with an error, 2 when there is
// no display to open the window on.
int RunMainWindow(int argc, char** argv, const WindowOptions& options);

}  // namespace pralix
