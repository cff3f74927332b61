#pragma once
// The one handler in front of every other: it finds the path's handler and
// lets a request through only with what that path needs.
//   /dijagnostika and /login: open (they check their own methods);
//   pages: Open, or a live session (without one a GET goes 303 to
//     /login?next=..., a POST is refused with 403; a POST's csrf field must
//     match the session's token);
//   /api/...: GET only, with a valid Authorization: Bearer token or a
//     session (without one 401 with WWW-Authenticate: Bearer).
// Unknown paths answer 404, other methods 405 with Allow; a database that
// fails while the gate asks answers 503.  Every answer leaves with the
// security headers, and everything but an open page with no-store.

#include <QByteArrayList>
#include <memory>
#include <vector>

#include "http/access_check.h"
#include "http/http_exchange.h"
#include "http/page_handler.h"

namespace pralix::desk {

inline constexpr char kApiPrefix[] = "/api/";

class DeskRouter : public HttpRequestHandler, public PageRegistry {
 public:
  // ingest takes /dijagnostika, login /login; both must outlive the router.
  DeskRouter(HttpRequestHandler& ingest, HttpRequestHandler& login, AccessCheck& access);

  void addPage(PathMatch match, const QString& path, std::shared_ptr<PageHandler> handler,
               PageAccess access = PageAccess::Session, const QByteArrayList& methods = {"GET"}) override;
  // Every path under /api/; the viewer is the session's, or for a token
  // an empty one.
  void setApi(std::shared_ptr<PageHandler> api);

  void handle(const HttpRequest& request, AnswerFunction answer) override;

 private:
  struct Route {
    PathMatch match;
    QString path;
    std::shared_ptr<PageHandler> handler;
    PageAccess access;
    QByteArrayList methods;
  };

  const Route* find(const QString& path) const;
  HttpAnswer page(const Route& route, const HttpRequest& request);
  HttpAnswer api(const HttpRequest& request);

  HttpRequestHandler& ingest_;
  HttpRequestHandler& login_;
  AccessCheck& access_;
  std::vector<Route> routes_;
  std::shared_ptr<PageHandler> api_;
};

}  // namespace pralix::desk
