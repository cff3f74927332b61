#pragma once
// Read-only API tokens: "pdt_" and 32 random bytes in base64url, shown once
// when made and kept only as their SHA-256.  A request names one with
// Authorization: Bearer TOKEN.

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

#include "auth/random_source.h"
#include "http/http_exchange.h"
#include "store/account_store.h"

namespace pralix::desk {

inline constexpr char kApiTokenPrefix[] = "pdt_";

QByteArray NewApiToken(RandomSource& random);

// The token of an Authorization: Bearer header (scheme in any case); an
// empty one when the header is there but names no bearer token; nothing
// without the header.
std::optional<QByteArray> BearerToken(const HttpRequest& request);

class ApiTokens {
 public:
  using Clock = std::function<qint64()>;
  ApiTokens(AccountStore& store, Clock now);
  // The token's name when it is a valid one (its last use noted, at most
  // once a minute).  Throws StoreFailure.
  std::optional<QString> check(const QByteArray& token);

 private:
  AccountStore& store_;
  Clock now_;
};

}  // namespace pralix::desk
