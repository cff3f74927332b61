#pragma once
// POST /logout (its csrf checked by the gate): the session's row goes, the
// cookie is cleared, and the browser goes 303 to /login.

#include <QHostAddress>
#include <QList>

#include "auth/sessions.h"
#include "http/page_handler.h"

namespace pralix::desk {

class LogoutPage : public PageHandler {
 public:
  LogoutPage(Sessions& sessions, QList<QHostAddress> trustedProxies)
      : sessions_(sessions), trustedProxies_(std::move(trustedProxies)) {}

  HttpAnswer handle(const HttpRequest& request, const Viewer& viewer) override;

 private:
  Sessions& sessions_;
  QList<QHostAddress> trustedProxies_;
};

}  // namespace pralix::desk
