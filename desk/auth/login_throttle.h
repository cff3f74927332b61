#pragma once
// Failed logins slow the next ones down, per account and per client
// address: after kMaxFailures failures within the window, every further
// attempt is refused unheard until enough of them have left the window.
// The failures are counted in the database, so every desk on it agrees.

#include <QtGlobal>
#include <optional>
#include <vector>

namespace pralix::desk {

struct ThrottleRule {
  int maxFailures = 5;
  qint64 windowMs = 15 * 60 * 1000;
};

// failures: the times of the newest failures within the window, newest
// first (at least rule.maxFailures of them when there are that many).
// Nothing: the attempt may go ahead; otherwise how long to wait, at least
// one second.
std::optional<qint64> WaitBeforeAttemptMs(const std::vector<qint64>& failures, qint64 nowMs, const ThrottleRule& rule);

}  // namespace pralix::desk
