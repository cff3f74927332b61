#pragma once
// Signed-in sessions, kept in the database so that every desk behind one
// proxy knows them.  The browser holds a random id; the database only its
// SHA-256, with the session's own CSRF token for the forms it is shown.

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

#include "auth/random_source.h"
#include "http/page_handler.h"
#include "store/account_store.h"

namespace pralix::desk {

class Sessions {
 public:
  using Clock = std::function<qint64()>;  // milliseconds since 1970 UTC

  Sessions(AccountStore& store, RandomSource& random, Clock now);

  struct Started {
    QByteArray id;  // for the cookie; never stored
    QByteArray csrfToken;
  };
  // A new session for the user (who must exist); sessions past their time go.
  // Throws StoreFailure.
  Started start(const QString& user);
  // The viewer of the request's session cookie; nothing without a live
  // session (an expired one is deleted).  Throws StoreFailure.
  std::optional<Viewer> viewerOf(const HttpRequest& request);
  // Deletes the request's session.  Throws StoreFailure.
  void end(const HttpRequest& request);

 private:
  AccountStore& store_;
  RandomSource& random_;
  Clock now_;
};

}  // namespace pralix::desk
