#include "child_program.h"

#include <cstring>

#include "platform/win/win_api.h"
#include "scratch.h"

namespace pralix::wintest {

namespace {

// A child never outlives a test run that went wrong by more than this.
constexpr DWORD kChildLifetimeMs = 120000;

void SetNamedEvent(const std::wstring& name) {
  const HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, name.c_str());
  if (event == nullptr) return;
  SetEvent(event);
  CloseHandle(event);
}

int Hold(const char* prefixArgument) {
  const std::wstring prefix(prefixArgument, prefixArgument + std::strlen(prefixArgument));
  const HANDLE release = OpenEventW(SYNCHRONIZE, FALSE, (prefix + L"-release").c_str());
  if (release == nullptr) return 2;
  SetNamedEvent(prefix + L"-started");
  const DWORD waited = WaitForSingleObject(release, kChildLifetimeMs);
  CloseHandle(release);
  if (waited != WAIT_OBJECT_0) return 3;
  SetNamedEvent(prefix + L"-finished");
  return 0;
}

bool EndsWithIgnoringCase(const std::wstring& text, const std::wstring& end) {
  return text.size() >= end.size() &&
         CompareStringOrdinal(text.c_str() + text.size() - end.size(), int(end.size()), end.c_str(), int(end.size()),
                              TRUE) == CSTR_EQUAL;
}

}  // namespace

int RunAsChildIfAsked(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], kHoldArgument) == 0) return Hold(argv[2]);
  if (argc == 2 && std::strcmp(argv[1], kLingerArgument) == 0) {
    Sleep(kChildLifetimeMs);
    return 0;
  }
  if (argc == 1 && EndsWithIgnoringCase(OwnProgramPath(), std::wstring(L"\\") + kOpenedProgramName)) {
    SetNamedEvent(kOpenedEvent);
    return 0;
  }
  return -1;
}

}  // namespace pralix::wintest
