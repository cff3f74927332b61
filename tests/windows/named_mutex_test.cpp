// The named mutex as other programs see it: OpenMutexW finds it while the
// tool holds it, and the name is gone once the last handle is closed.
// Ownership belongs to threads, so other holders are played by threads.

#include <thread>
#include <gtest/gtest.h>

#include "platform/win/win_named_mutex.h"
#include "scratch.h"

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

TEST(NamedMutex, IsHeldWhileOpenAndGoneAfterClose) {
  EXPECT_FALSE(NameExists());
  WinNamedMutex mutex;
  ASSERT_TRUE(mutex.create(kName));
  EXPECT_TRUE(NameExists());
  EXPECT_FALSE(FreeForAnotherThread());  // created with ownership
  mutex.close();
  EXPECT_FALSE(NameExists());
}

TEST(NamedMutex, HeldElsewhereIsOpenedWithoutWaiting) {
  WinNamedMutex holder;
  ASSERT_TRUE(holder.create(kName));

  // A second dialog while the first holds the mutex: opened, never waited for.
  WinNamedMutex second;
  bool created = false;
  std::thread other([&] { created = second.create(kName); });
  other.join();
  EXPECT_TRUE(created);

  holder.close();
  EXPECT_TRUE(NameExists());             // the second handle keeps the name alive
  EXPECT_TRUE(FreeForAnotherThread());   // and the second never got ownership
  second.close();
  EXPECT_FALSE(NameExists());
}

TEST(NamedMutex, CloseWithoutCreateAndTwiceDoesNothing) {
  WinNamedMutex mutex;
  mutex.close();
  ASSERT_TRUE(mutex.create(kName));
  mutex.close();
  mutex.close();
  EXPECT_FALSE(NameExists());
}

TEST(NamedMutex, CreatedAgainReplacesTheFormerHandle) {
  WinNamedMutex mutex;
  ASSERT_TRUE(mutex.create(kName));
  ASSERT_TRUE(mutex.create(kName));  // one handle only: the first was closed
  mutex.close();
  EXPECT_FALSE(NameExists());
}

TEST(NamedMutex, FromTheFactoryIsTheSystemOne) {
  std::unique_ptr<NamedMutex> mutex = CreateSystemNamedMutex();
  ASSERT_TRUE(mutex->create(kName));
  EXPECT_TRUE(NameExists());
  mutex.reset();  // destruction closes it
  EXPECT_FALSE(NameExists());
}

}  // namespace pralix::wintest
