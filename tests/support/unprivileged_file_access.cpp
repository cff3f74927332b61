#include "support/unprivileged_file_access.h"

#ifdef __linux__
#include <sys/fsuid.h>
#include <unistd.h>
#endif

namespace pralix::test {
UnprivilegedFileAccess::UnprivilegedFileAccess() {
#ifdef __linux__
  constexpr unsigned kNobody = 65534;
  if (geteuid() != 0) return;
  setfsgid(kNobody);
  setfsuid(kNobody);  // drops the file capabilities of root for this thread
  switched_ = true;
#endif
}

UnprivilegedFileAccess::~UnprivilegedFileAccess() {
  if (!switched_) return;
#ifdef __linux__
  setfsuid(0);
  setfsgid(0);
#endif
}

}  // namespace pralix::test
