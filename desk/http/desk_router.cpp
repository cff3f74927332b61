#include "http/desk_router.h"

#include <QUrl>

#include "auth/secret_text.h"
#include "http/ingest_endpoint.h"
#include "http/security_headers.h"
#include "records/fleet_filter.h"
#include "records/ingest_rules.h"
#include "store/desk_store.h"

namespace pralix::desk {
namespace {

HttpAnswer Plain(int status, const QByteArray& text) { return {status, text + '\n', {}}; }

HttpAnswer NotAllowed(const QByteArrayList& methods) {
  HttpAnswer answer = Plain(405, "method not allowed");
  answer.headers.emplaceBack("Allow", methods.join(", "));
  return answer;
}

// /login?next= the path and query asked for, so the login leads back there.
HttpAnswer ToLogin(const HttpRequest& request) {
  QByteArray wanted = QUrl::toPercentEncoding(request.path, "/");
  if (!request.query.isEmpty()) wanted += '?' + request.query;
  HttpAnswer answer = Plain(303, "sign in first");
  answer.headers.emplaceBack("Location", QByteArray(kLoginPath) + "?next=" + QUrl::toPercentEncoding(QString::fromLatin1(wanted)));
  return answer;
}

bool Matches(PathMatch match, const QString& routePath, const QString& path) {
  return match == PathMatch::Exact ? path == routePath : path.startsWith(routePath);
}

}  // namespace

DeskRouter::DeskRouter(HttpRequestHandler& ingest, HttpRequestHandler& login, AccessCheck& access)
    : ingest_(ingest), login_(login), access_(access) {}

void DeskRouter::addPage(PathMatch match, const QString& path, std::shared_ptr<PageHandler> handler, PageAccess access,
                         const QByteArrayList& methods) {
  routes_.push_back({match, path, std::move(handler), access, methods});
}

void DeskRouter::setApi(std::shared_ptr<PageHandler> api) { api_ = std::move(api); }

const DeskRouter::Route* DeskRouter::find(const QString& path) const {
  const Route* best = nullptr;
  for (const Route& route : routes_) {
    if (!Matches(route.match, route.path, path)) continue;
    if (route.match == PathMatch::Exact) return &route;
    if (!best || route.path.size() > best->path.size()) best = &route;
  }
  return best;
}

void DeskRouter::handle(const HttpRequest& request, AnswerFunction answer) {
  const Route* route = nullptr;
  const bool isApi = request.path.startsWith(QLatin1String(kApiPrefix)) && api_;
  if (!isApi) route = find(request.path);
  const bool privateAnswer = !(route && route->access == PageAccess::Open);
  AnswerFunction secured = [answer = std::move(answer), privateAnswer](const HttpAnswer& given) {
    HttpAnswer sent = given;
    AddSecurityHeaders(sent, privateAnswer);
    answer(sent);
  };
  try {
    if (request.path == QLatin1String(kDiagDataPath)) return ingest_.handle(request, std::move(secured));
    if (request.path == QLatin1String(kLoginPath)) return login_.handle(request, std::move(secured));
    if (isApi) return secured(api(request));
    if (!route) return secured(Plain(404, "not found"));
    secured(page(*route, request));
  } catch (const StoreFailure&) {
    secured(Plain(503, "the database failed; try again later"));
  }
}

HttpAnswer DeskRouter::page(const Route& route, const HttpRequest& request) {
  if (!route.methods.contains(request.method)) return NotAllowed(route.methods);
  if (route.access == PageAccess::Open) return route.handler->handle(request, Viewer{});
  const std::optional<Viewer> viewer = access_.viewer(request);
  if (!viewer) return request.method == "GET" ? ToLogin(request) : Plain(403, "sign in first");
  if (request.method == "POST") {
    const QByteArray sent = QueryValue(request.body, kCsrfField).value_or(QString()).toUtf8();
    if (!ConstantTimeEquals(sent, viewer->csrfToken)) return Plain(403, "the form's csrf token does not match the session");
  }
  return route.handler->handle(request, *viewer);
}

HttpAnswer DeskRouter::api(const HttpRequest& request) {
  std::optional<Viewer> viewer;
  switch (access_.bearer(request)) {
    case AccessCheck::Bearer::Valid: viewer = Viewer{}; break;
    case AccessCheck::Bearer::Invalid: break;
    case AccessCheck::Bearer::None: viewer = access_.viewer(request); break;
  }
  if (!viewer) {
    HttpAnswer refused = Plain(401, "an API token is needed: Authorization: Bearer TOKEN");
    refused.headers.emplaceBack("WWW-Authenticate", "Bearer realm=\"pralix-desk\"");
    return refused;
  }
  if (request.method != "GET") return NotAllowed({"GET"});
  return api_->handle(request, *viewer);
}

}  // namespace pralix::desk
