#pragma once
// This test program started again as a child, to be started, found or
// killed by the process tests.  The child's part is picked by its arguments,
// or by its file name when it is opened through the shell without any.

#include <string>

namespace pralix::wintest {

// "<program> --child-hold PREFIX": sets the event PREFIX-started, waits for
// PREFIX-release and then sets PREFIX-finished.
inline constexpr char kHoldArgument[] = "--child-hold";
// "<program> --child-linger": waits until it is killed.
inline constexpr char kLingerArgument[] = "--child-linger";
// A copy of the program under this name, run without arguments, sets the
// event kOpenedEvent and ends.
inline constexpr wchar_t kOpenedProgramName[] = L"PralixOpenedChild.exe";
inline constexpr wchar_t kOpenedEvent[] = L"PralixWinTests-opened";

// The child's part when this run is a child; -1 when it is the test run.
int RunAsChildIfAsked(int argc, char** argv);

}  // namespace pralix::wintest
