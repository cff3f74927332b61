#pragma once
// The rules of a login, apart from HTTP and from where the slow password
// hash runs: first admit() says whether the attempt may be heard at all
// (the slow-down) and which hash to check the password against, then,
// once the password was checked, conclude() counts a failure or starts the
// session.  An unknown user is checked against a stand-in hash, so the
// answer and its time are the same as for a wrong password.

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

#include "auth/login_throttle.h"
#include "auth/sessions.h"
#include "store/account_store.h"

namespace pralix::desk {

class LoginService {
 public:
  using Clock = std::function<qint64()>;

  // standInHash: a hash of a password no one knows, checked for unknown users.
  LoginService(AccountStore& store, Sessions& sessions, Clock now, ThrottleRule rule, QByteArray standInHash);

  struct Admission {
    std::optional<qint64> waitMs;  // set: refused unheard, try again after this
    QByteArray hashToCheck;
    bool userKnown = false;
  };
  // Throws StoreFailure.
  Admission admit(const QString& user, const QString& clientAddress);
  // The new session when the password matched a known user; otherwise the
  // failure is counted for the account and the address.  Throws StoreFailure.
  std::optional<Sessions::Started> conclude(const QString& user, const QString& clientAddress, bool userKnown,
                                            bool passwordMatched);

 private:
  AccountStore& store_;
  Sessions& sessions_;
  Clock now_;
  ThrottleRule rule_;
  QByteArray standInHash_;
};

}  // namespace pralix::desk
