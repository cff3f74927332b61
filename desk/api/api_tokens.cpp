#include "api/api_tokens.h"

#include "auth/cookies.h"
#include "auth/secret_text.h"
#include "auth/session_policy.h"

namespace pralix::desk {

QByteArray NewApiToken(RandomSource& random) { return kApiTokenPrefix + NewSecret(random); }

std::optional<QByteArray> BearerToken(const HttpRequest& request) {
  const std::optional<QByteArray> authorization = HeaderValue(request, "Authorization");
  if (!authorization) return std::nullopt;
  const qsizetype space = authorization->indexOf(' ');
  if (space < 0 || authorization->left(space).compare("Bearer", Qt::CaseInsensitive) != 0) return QByteArray();
  return authorization->mid(space + 1).trimmed();
}

ApiTokens::ApiTokens(AccountStore& store, Clock now) : store_(store), now_(std::move(now)) {}

std::optional<QString> ApiTokens::check(const QByteArray& token) {
  if (!token.startsWith(kApiTokenPrefix)) return std::nullopt;
  // Looked up by hash: the comparison's time tells nothing of the token.
  const std::optional<TokenEntry> entry = store_.tokenByHash(Sha256Hex(token));
  if (!entry) return std::nullopt;
  const qint64 now = now_();
  if (!entry->lastUsedMs || now >= *entry->lastUsedMs + kTokenTouchEveryMs) store_.touchToken(entry->name, now);
  return entry->name;
}

}  // namespace pralix::desk
