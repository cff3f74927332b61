#pragma once
// Who a request comes from, as the gate asks it: a signed-in session, or a
// caller of the API with a token.

#include <QString>
#include <optional>

#include "http/http_exchange.h"
#include "http/page_handler.h"

namespace pralix::desk {

class AccessCheck {
 public:
  virtual ~AccessCheck() = default;
  // The viewer of the request's live session.  Throws StoreFailure.
  virtual std::optional<Viewer> viewer(const HttpRequest& request) = 0;
  enum class Bearer { None, Valid, Invalid };
  // Whether the request names an API token (Authorization: Bearer) and
  // whether it is a valid one.  Throws StoreFailure.
  virtual Bearer bearer(const HttpRequest& request) = 0;
};

}  // namespace pralix::desk
