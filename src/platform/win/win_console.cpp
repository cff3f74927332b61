#include "platform/win/win_console.h"

#include <cstdio>

#include "interfaces/console.h"
#include "platform/win/win_api.h"

namespace pralix::win {
namespace {

// A handle the C runtime can write through: a file, a pipe or a console.
bool IsUsable(DWORD which) {
  const HANDLE handle = GetStdHandle(which);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

}  // namespace

bool AttachParentConsole() {
  const bool inUsable = IsUsable(STD_INPUT_HANDLE);
  const bool outUsable = IsUsable(STD_OUTPUT_HANDLE);
  const bool errUsable = IsUsable(STD_ERROR_HANDLE);
  if (inUsable && outUsable && errUsable) return false;
  // Fails when we already have a console or the parent has none (a
  // double-click from Explorer): then there is nowhere to print.
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
  FILE* ignored = nullptr;
  if (!inUsable) freopen_s(&ignored, "CONIN$", "r", stdin);
  if (!outUsable) freopen_s(&ignored, "CONOUT$", "w", stdout);
  if (!errUsable) freopen_s(&ignored, "CONOUT$", "w", stderr);
  return true;
}

}  // namespace pralix::win

namespace pralix {

void UseParentConsole() { win::AttachParentConsole(); }

}  // namespace pralix
