#pragma once
// This test program started again as a child by the process tests.  Its
// part is picked by its arguments, or, for a copy started through the shell
// with arguments of the shell's choosing, by the copy's file name.

#include <string>

namespace pralix::wintest {

// "<program> --child-hold PREFIX": sets the event PREFIX-started, waits for
// PREFIX-release and then sets PREFIX-finished.
inline constexpr char kHoldArgument[] = "--child-hold";
// "<program> --child-linger": waits until it is killed (or two minutes).
inline constexpr char kLingerArgument[] = "--child-linger";

// A copy named like one of these records how it was started: its arguments
// and its show mode go to kRecordFileName beside it, then kRecordedEvent is
// set.  "taskkill.exe" stands in for the system's taskkill.
inline constexpr const wchar_t* kRecorderNames[] = {L"taskkill.exe", L"PralixOpenedDocument.exe"};
inline constexpr wchar_t kRecordFileName[] = L"started-with.txt";
inline constexpr wchar_t kRecordedEvent[] = L"PralixWinTests-recorded";

// What a recorder wrote: the arguments, a line break, and the show mode in
// decimal ("none" when the starter gave none).
struct StartRecord {
  std::wstring arguments;
  std::wstring showMode;
};
StartRecord ReadStartRecord(const std::wstring& folder);

// The child's part when this run is a child; -1 when it is the test run.
int RunAsChildIfAsked(int argc, char** argv);

}  // namespace pralix::wintest
