#pragma once
// The tool as the user knows it: the main window and its event loop.

namespace pralix {

// pralix [--trace FILE]
// Returns the process exit status: 0 when the window was closed or the PC
// has no serial port, 1 when start-up failed with an error, 2 for a usage
// error.
int RunMainWindow(int argc, char** argv);

}  // namespace pralix
