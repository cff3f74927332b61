#include "auth/login_service.h"

#include <algorithm>

namespace pralix::desk {

LoginService::LoginService(AccountStore& store, Sessions& sessions, Clock now, ThrottleRule rule,
                           QByteArray standInHash)
    : store_(store), sessions_(sessions), now_(std::move(now)), rule_(rule), standInHash_(std::move(standInHash)) {}

LoginService::Admission LoginService::admit(const QString& user, const QString& clientAddress) {
  const qint64 now = now_();
  const qint64 since = now - rule_.windowMs;
  const std::optional<qint64> accountWait =
      WaitBeforeAttemptMs(store_.failuresOfAccount(user, since, rule_.maxFailures), now, rule_);
  const std::optional<qint64> addressWait =
      WaitBeforeAttemptMs(store_.failuresOfAddress(clientAddress, since, rule_.maxFailures), now, rule_);
  Admission admission;
  if (accountWait || addressWait) {
    admission.waitMs = std::max(accountWait.value_or(0), addressWait.value_or(0));
    return admission;
  }
  const std::optional<QByteArray> hash = store_.passwordHashOf(user);
  admission.userKnown = hash.has_value();
  admission.hashToCheck = hash.value_or(standInHash_);
  return admission;
}

std::optional<Sessions::Started> LoginService::conclude(const QString& user, const QString& clientAddress,
                                                        bool userKnown, bool passwordMatched) {
  if (userKnown && passwordMatched) {
    store_.clearFailuresOfAccount(user);
    return sessions_.start(user);
  }
  const qint64 now = now_();
  store_.addLoginFailure(user, clientAddress, now, now - rule_.windowMs);
  return std::nullopt;
}

}  // namespace pralix::desk
