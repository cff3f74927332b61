#pragma once
// The gate's questions answered from the database: sessions and API tokens.

#include "api/api_tokens.h"
#include "auth/sessions.h"
#include "http/access_check.h"

namespace pralix::desk {

class DatabaseAccessCheck : public AccessCheck {
 public:
  DatabaseAccessCheck(Sessions& sessions, ApiTokens& tokens) : sessions_(sessions), tokens_(tokens) {}

  std::optional<Viewer> viewer(const HttpRequest& request) override { return sessions_.viewerOf(request); }
  Bearer bearer(const HttpRequest& request) override {
    const std::optional<QByteArray> token = BearerToken(request);
    if (!token) return Bearer::None;
    return tokens_.check(*token) ? Bearer::Valid : Bearer::Invalid;
  }

 private:
  Sessions& sessions_;
  ApiTokens& tokens_;
};

}  // namespace pralix::desk
