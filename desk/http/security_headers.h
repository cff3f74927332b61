#pragma once
// The headers every answer of the desk carries, set in this one place.

#include "http/http_exchange.h"

namespace pralix::desk {

// Sets the security headers (replacing any the handler set) and, when
// private (anything behind the gate, the login form too), Cache-Control:
// no-store unless the handler chose its own.
void AddSecurityHeaders(HttpAnswer& answer, bool privateAnswer);

}  // namespace pralix::desk
