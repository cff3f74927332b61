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

std::wstring FileNameOf(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

bool SameNameIgnoringCase(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) == CSTR_EQUAL;
}

// The command line after the program's own name, as the starter wrote it.
std::wstring ArgumentsOfCommandLine() {
  const std::wstring line = GetCommandLineW();
  std::size_t i = 0;
  if (!line.empty() && line[0] == L'"') {
    i = line.find(L'"', 1);
    i = i == std::wstring::npos ? line.size() : i + 1;
  } else {
    while (i < line.size() && line[i] != L' ' && line[i] != L'\t') ++i;
  }
  while (i < line.size() && (line[i] == L' ' || line[i] == L'\t')) ++i;
  return line.substr(i);
}

int Record() {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  const std::wstring showMode =
      (startup.dwFlags & STARTF_USESHOWWINDOW) ? std::to_wstring(startup.wShowWindow) : std::wstring(L"none");
  const std::wstring record = ArgumentsOfCommandLine() + L"\n" + showMode;
  WriteFileBytes(FolderOf(OwnProgramPath()) + L"\\" + kRecordFileName, Utf8Bytes(record));
  SetNamedEvent(kRecordedEvent);
  return 0;
}

}  // namespace

StartRecord ReadStartRecord(const std::wstring& folder) {
  const std::wstring text = WideFromUtf8(ReadFileBytes(folder + L"\\" + kRecordFileName));
  const std::size_t lineBreak = text.find(L'\n');
  if (lineBreak == std::wstring::npos) return {text, L""};
  return {text.substr(0, lineBreak), text.substr(lineBreak + 1)};
}

int RunAsChildIfAsked(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], kHoldArgument) == 0) return Hold(argv[2]);
  if (argc == 2 && std::strcmp(argv[1], kLingerArgument) == 0) {
    Sleep(kChildLifetimeMs);
    return 0;
  }
  const std::wstring ownName = FileNameOf(OwnProgramPath());
  for (const wchar_t* recorderName : kRecorderNames)
    if (SameNameIgnoringCase(ownName, recorderName)) return Record();
  return -1;
}

}  // namespace pralix::wintest
