#pragma once
// Where a headless command's output goes.  A Windows program built for the
// window has no console of its own: started from cmd.exe or PowerShell it
// borrows that console, so that "pralix test" prints where it was typed.

namespace pralix {

// Makes standard input, output and error usable for a headless command.
// Handles the caller redirected (a file, a pipe) are kept as they are.
void UseParentConsole();

}  // namespace pralix
