// Starting programs through the shell: the start returns while the program
// still runs; taskkill and the shell's open get the arguments and show
// modes the tool means, as a stand-in program named like them records; and,
// on real Windows, "taskkill /IM Ostrik* /F" ends exactly the processes
// whose image name begins with Ostrik.  The programs are copies of this one
// (child_program.h).  Waits are bounded only so that a fault cannot hang
// the run; nothing here depends on how fast anything is.

#include <gtest/gtest.h>

#include "child_program.h"
#include "platform/win/win_file_copy.h"
#include "platform/win/win_processes.h"
#include "scratch.h"

#include <tlhelp32.h>  // after <windows.h>, which it needs

namespace pralix::wintest {

namespace {

constexpr DWORD kBoundMs = 60000;

class Event {
 public:
  explicit Event(const std::wstring& name) : handle_(CreateEventW(nullptr, TRUE, FALSE, name.c_str())) {}
  ~Event() {
    if (handle_ != nullptr) CloseHandle(handle_);
  }
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;
  bool isSet() const { return WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0; }
  bool waitSet() const { return WaitForSingleObject(handle_, kBoundMs) == WAIT_OBJECT_0; }
  void set() const { SetEvent(handle_); }
  bool valid() const { return handle_ != nullptr; }

 private:
  HANDLE handle_;
};

// A copy of this program started with arguments; killed at the end of the
// test if still running.
class ChildProcess {
 public:
  ChildProcess(const std::wstring& program, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &info)) {
      CloseHandle(info.hThread);
      process_ = info.hProcess;
    }
  }
  ~ChildProcess() {
    if (process_ == nullptr) return;
    if (isRunning()) {
      TerminateProcess(process_, 9);
      WaitForSingleObject(process_, kBoundMs);
    }
    CloseHandle(process_);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return process_ != nullptr; }
  bool isRunning() const { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
  bool waitEnded() const { return WaitForSingleObject(process_, kBoundMs) == WAIT_OBJECT_0; }

 private:
  HANDLE process_ = nullptr;
};

bool ProcessRunsNamed(const std::wstring& imageName) {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  bool found = false;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
    found = CompareStringOrdinal(entry.szExeFile, -1, imageName.c_str(), -1, TRUE) == CSTR_EQUAL;
  CloseHandle(snapshot);
  return found;
}

// taskkill runs on its own; this waits until it has come and gone.
bool WaitUntilNoProcessNamed(const std::wstring& imageName) {
  for (DWORD waited = 0; waited < kBoundMs; waited += 50) {
    if (!ProcessRunsNamed(imageName)) return true;
    Sleep(50);
  }
  return false;
}

// The shell looks for a bare program name in the current folder first.
class CurrentFolderSwitch {
 public:
  explicit CurrentFolderSwitch(const std::wstring& folder) {
    wchar_t current[MAX_PATH + 1];
    former_.assign(current, GetCurrentDirectoryW(MAX_PATH + 1, current));
    switched_ = SetCurrentDirectoryW(folder.c_str()) != FALSE;
  }
  ~CurrentFolderSwitch() { SetCurrentDirectoryW(former_.c_str()); }
  CurrentFolderSwitch(const CurrentFolderSwitch&) = delete;
  CurrentFolderSwitch& operator=(const CurrentFolderSwitch&) = delete;
  bool switched() const { return switched_; }

 private:
  std::wstring former_;
  bool switched_ = false;
};

bool RunningUnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace

TEST(ShellStart, ReturnsWhileTheProgramStillRuns) {
  const std::wstring prefix = L"PralixWinTests-hold";
  const Event started(prefix + L"-started");
  const Event release(prefix + L"-release");
  const Event finished(prefix + L"-finished");
  ASSERT_TRUE(started.valid() && release.valid() && finished.valid());

  EXPECT_TRUE(win::ShellStart(L"open", OwnProgramPath(), L"--child-hold " + prefix, SW_SHOWDEFAULT));
  // The child cannot finish before it is released, and it is released only
  // now: a start that waited for it would never have come back.
  EXPECT_FALSE(finished.isSet());
  EXPECT_TRUE(started.waitSet());
  release.set();
  EXPECT_TRUE(finished.waitSet());
}

TEST(ShellStart, OfAMissingProgramReportsFailure) {
  EXPECT_FALSE(win::ShellStart(L"open", L"C:\\PralixNoSuchFolder\\NoSuchProgram.exe", L"", SW_SHOWNORMAL));
}

TEST(Taskkill, IsStartedForEveryOstrikProcessInTheDefaultShowMode) {
  ScratchFolder folder(L"TaskkillStandIn");
  ASSERT_TRUE(win::CopyFileOver(OwnProgramPath(), folder.file(L"taskkill.exe")));
  const Event recorded(kRecordedEvent);
  ASSERT_TRUE(recorded.valid());
  {
    const CurrentFolderSwitch here(folder.path());
    ASSERT_TRUE(here.switched());
    win::StartTaskkillOfFiscalLink();
  }
  ASSERT_TRUE(recorded.waitSet());
  const StartRecord record = ReadStartRecord(folder.path());
  EXPECT_EQ(record.arguments, std::wstring(L"/IM Ostrik* /F"));
  EXPECT_EQ(record.showMode, std::wstring(L"10"));  // SW_SHOWDEFAULT
}

TEST(ShellOpen, HandsTheTargetToItsHandlerShownNormally) {
  ScratchFolder folder(L"ShellOpen");
  const std::wstring document = folder.file(L"PralixOpenedDocument.exe");
  ASSERT_TRUE(win::CopyFileOver(OwnProgramPath(), document));
  const Event recorded(kRecordedEvent);
  ASSERT_TRUE(recorded.valid());
  win::ShellOpen(document);
  ASSERT_TRUE(recorded.waitSet());
  const StartRecord record = ReadStartRecord(folder.path());
  EXPECT_EQ(record.arguments, std::wstring());
  EXPECT_EQ(record.showMode, std::wstring(L"1"));  // SW_SHOWNORMAL
}

TEST(Taskkill, EndsEveryProcessWhoseNameBeginsWithOstrik) {
  if (RunningUnderWine()) GTEST_SKIP() << "Wine's taskkill matches /IM names only whole, without wildcards";
  ScratchFolder folder(L"Taskkill");
  const std::wstring names[] = {L"Ostrik10.exe", L"ostrikLink.exe", L"NotOstrik.exe"};
  for (const std::wstring& name : names) ASSERT_TRUE(win::CopyFileOver(OwnProgramPath(), folder.file(name)));
  {
    const ChildProcess fiscalLink(folder.file(names[0]), L"--child-linger");
    const ChildProcess lowerCase(folder.file(names[1]), L"--child-linger");
    const ChildProcess bystander(folder.file(names[2]), L"--child-linger");
    ASSERT_TRUE(fiscalLink.started() && lowerCase.started() && bystander.started());

    win::StartTaskkillOfFiscalLink();
    EXPECT_TRUE(fiscalLink.waitEnded());
    EXPECT_TRUE(lowerCase.waitEnded());  // image names match ignoring case
    EXPECT_TRUE(WaitUntilNoProcessNamed(L"taskkill.exe"));
    EXPECT_TRUE(bystander.isRunning());  // "Ostrik*" is a prefix, not a part of the name
  }
}

}  // namespace pralix::wintest
