#include "auth/sessions.h"

#include "auth/cookies.h"
#include "auth/secret_text.h"
#include "auth/session_policy.h"

namespace pralix::desk {

Sessions::Sessions(AccountStore& store, RandomSource& random, Clock now)
    : store_(store), random_(random), now_(std::move(now)) {}

Sessions::Started Sessions::start(const QString& user) {
  const qint64 now = now_();
  store_.removeSessionsBefore(now - kSessionLifetimeMs, now - kSessionIdleMs);
  Started started{NewSecret(random_), NewSecret(random_)};
  store_.addSession(Sha256Hex(started.id), user, started.csrfToken, now);
  return started;
}

std::optional<Viewer> Sessions::viewerOf(const HttpRequest& request) {
  const std::optional<QByteArray> id = CookieValue(request, kSessionCookie);
  if (!id || id->isEmpty()) return std::nullopt;
  // The lookup is by hash, so the comparison's time tells nothing of the id.
  const QByteArray idHash = Sha256Hex(*id);
  const std::optional<SessionEntry> session = store_.session(idHash);
  if (!session) return std::nullopt;
  const qint64 now = now_();
  if (!SessionAlive(*session, now)) {
    store_.removeSession(idHash);
    return std::nullopt;
  }
  if (SessionNeedsTouch(*session, now)) store_.touchSession(idHash, now);
  return Viewer{session->user, session->csrfToken};
}

void Sessions::end(const HttpRequest& request) {
  const std::optional<QByteArray> id = CookieValue(request, kSessionCookie);
  if (id && !id->isEmpty()) store_.removeSession(Sha256Hex(*id));
}

}  // namespace pralix::desk
