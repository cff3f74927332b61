#pragma once
// Borrowing the console of the program that started us (cmd.exe,
// PowerShell): a GUI-subsystem program gets none of its own.

namespace pralix::win {

// Attaches to the parent's console when there is one and points the C
// streams that have no usable handle at it; redirected handles stay.  True
// when a console was attached.
bool AttachParentConsole();

}  // namespace pralix::win
