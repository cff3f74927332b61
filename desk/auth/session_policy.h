#pragma once
// How long a session lives: it ends after kSessionIdleMs without a request
// or kSessionLifetimeMs after the login, whichever comes first.  Its last
// use is written at most once a minute, not on every page.

#include <QtGlobal>

#include "store/account_store.h"

namespace pralix::desk {

inline constexpr qint64 kSessionIdleMs = 12LL * 60 * 60 * 1000;
inline constexpr qint64 kSessionLifetimeMs = 7LL * 24 * 60 * 60 * 1000;
inline constexpr qint64 kSessionTouchEveryMs = 60 * 1000;
// The same for an API token's last use.
inline constexpr qint64 kTokenTouchEveryMs = 60 * 1000;

inline bool SessionAlive(const SessionEntry& session, qint64 nowMs) {
  return nowMs < session.createdMs + kSessionLifetimeMs && nowMs < session.lastUsedMs + kSessionIdleMs;
}

inline bool SessionNeedsTouch(const SessionEntry& session, qint64 nowMs) {
  return nowMs >= session.lastUsedMs + kSessionTouchEveryMs;
}

}  // namespace pralix::desk
