#include "support/unprivileged_file_access.h"

#include <sys/fsuid.h>
#include <unistd.h>

namespace pralix::test {
namespace {
constexpr unsigned kNobody = 65534;
}

UnprivilegedFileAccess::UnprivilegedFileAccess() {
  if (geteuid() != 0) return;
  setfsgid(kNobody);
  setfsuid(kNobody);  // drops the file capabilities of root for this thread
  switched_ = true;
}

UnprivilegedFileAccess::~UnprivilegedFileAccess() {
  if (!switched_) return;
  setfsuid(0);
  setfsgid(0);
}

}  // namespace pralix::test
