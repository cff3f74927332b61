#include "auth/login_throttle.h"

#include <algorithm>

namespace pralix::desk {

std::optional<qint64> WaitBeforeAttemptMs(const std::vector<qint64>& failures, qint64 nowMs, const ThrottleRule& rule) {
  if (rule.maxFailures <= 0 || int(failures.size()) < rule.maxFailures) return std::nullopt;
  // With the maxFailures-th newest failure out of the window, fewer than
  // maxFailures remain in it.
  const qint64 leaves = failures[std::size_t(rule.maxFailures - 1)] + rule.windowMs;
  if (leaves <= nowMs) return std::nullopt;
  return std::max<qint64>(leaves - nowMs, 1000);
}

}  // namespace pralix::desk
