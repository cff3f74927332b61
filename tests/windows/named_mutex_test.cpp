// The named mutex as other programs see it: OpenMutexW finds it while the
// tool holds it, and the name is gone once the last handle is closed.
// Ownership belongs to threads, so other holders are played by threads.

#include <thread>

#include "platform/win/win_named_mutex.h"
#include "scratch.h"
#include "test_harness.h"

namespace pralix::wintest {

namespace {

constexpr char kName[] = "PralixWinTestsYellowMsg";
constexpr wchar_t kWideName[] = L"PralixWinTestsYellowMsg";

bool NameExists() {
  const HANDLE opened = OpenMutexW(SYNCHRONIZE, FALSE, kWideName);
  if (opened == nullptr) return false;
  CloseHandle(opened);
  return true;
}

// Whether a thread other than the caller could take the mutex now (and
// gives it back at once).
bool FreeForAnotherThread() {
  bool free = false;
  std::thread([&free] {
    const HANDLE opened = OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kWideName);
    if (opened == nullptr) return;
    const DWORD waited = WaitForSingleObject(opened, 0);
    free = waited == WAIT_OBJECT_0;
    if (free) ReleaseMutex(opened);
    CloseHandle(opened);
  }).join();
  return free;
}

}  // namespace

WIN_TEST(NamedMutexIsHeldWhileOpenAndGoneAfterClose) {
  CHECK(!NameExists());
  WinNamedMutex mutex;
  REQUIRE(mutex.create(kName));
  CHECK(NameExists());
  CHECK(!FreeForAnotherThread());  // created with ownership
  mutex.close();
  CHECK(!NameExists());
}

WIN_TEST(NamedMutexHeldElsewhereIsOpenedWithoutWaiting) {
  WinNamedMutex holder;
  REQUIRE(holder.create(kName));

  // A second dialog while the first holds the mutex: opened, never waited for.
  WinNamedMutex second;
  bool created = false;
  std::thread other([&] { created = second.create(kName); });
  other.join();
  CHECK(created);

  holder.close();
  CHECK(NameExists());             // the second handle keeps the name alive
  CHECK(FreeForAnotherThread());   // and the second never got ownership
  second.close();
  CHECK(!NameExists());
}

WIN_TEST(NamedMutexCloseWithoutCreateAndTwiceDoesNothing) {
  WinNamedMutex mutex;
  mutex.close();
  REQUIRE(mutex.create(kName));
  mutex.close();
  mutex.close();
  CHECK(!NameExists());
}

WIN_TEST(NamedMutexCreatedAgainReplacesTheFormerHandle) {
  WinNamedMutex mutex;
  REQUIRE(mutex.create(kName));
  REQUIRE(mutex.create(kName));  // one handle only: the first was closed
  mutex.close();
  CHECK(!NameExists());
}

WIN_TEST(NamedMutexFromTheFactoryIsTheSystemOne) {
  std::unique_ptr<NamedMutex> mutex = CreateSystemNamedMutex();
  REQUIRE(mutex->create(kName));
  CHECK(NameExists());
  mutex.reset();  // destruction closes it
  CHECK(!NameExists());
}

}  // namespace pralix::wintest
