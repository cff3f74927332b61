#pragma once
// What a page of the desk plugs into.  The gate (DeskRouter) stands in front
// of every page: a page handler is called only for a request with a valid
// session (or for a path registered as open), only for the methods it was
// registered with, and for a POST only once the form's "csrf" field matched
// the session's token.  The gate adds the security headers to every answer
// (Content-Security-Policy default-src 'none'; style-src 'self'; img-src
// 'self' data:; form-action 'self'; frame-ancestors 'none'; base-uri 'none'
// — so no inline style or script), so pages set only their own headers
// (Content-Type above all: the adapter's default is text/plain).
//
// Handlers run on the event loop's thread, one request at a time; Qt SQL
// connections belong to the thread that opened them, so a page opens its
// own connection there (PageContext::database; the schema is migrated
// before pages are added).

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <functional>
#include <memory>

#include "http/http_exchange.h"
#include "store/database_url.h"

namespace pralix::desk {

inline constexpr char kLoginPath[] = "/login";
inline constexpr char kLogoutPath[] = "/logout";
// The form field that carries the session's CSRF token in every POST form
// (the logout button too: <form method="post" action="/logout">).
inline constexpr char kCsrfField[] = "csrf";

// Who is looking.  Empty for a page registered as open.
struct Viewer {
  QString user;
  QByteArray csrfToken;  // URL-safe characters only: fit for a hidden field as it is
};

class PageHandler {
 public:
  virtual ~PageHandler() = default;
  virtual HttpAnswer handle(const HttpRequest& request, const Viewer& viewer) = 0;
};

enum class PathMatch {
  Exact,   // "/" is the root only; "/printers.csv" that file only
  Prefix,  // "/printers/" is every path that starts with it
};

enum class PageAccess {
  Session,  // a signed-in user: without a session a GET goes to /login, a POST is refused
  Open,     // anyone, e.g. the stylesheet the login page uses too; the viewer is empty
};

class PageRegistry {
 public:
  virtual ~PageRegistry() = default;
  // Another method on the path answers 405 with Allow.  An exact path wins
  // over a prefix; a longer prefix over a shorter one.
  virtual void addPage(PathMatch match, const QString& path, std::shared_ptr<PageHandler> handler,
                       PageAccess access = PageAccess::Session, const QByteArrayList& methods = {"GET"}) = 0;
};

// What the serve command gives the pages' registration function.
struct PageContext {
  DatabaseUrl database;
  std::function<qint64()> now;  // milliseconds since 1970 UTC
};

// The pages' side provides the registration function, e.g.
//   void AddDeskPages(PageRegistry& registry, const PageContext& context);
// in desk/pages/, and serve calls it once before it listens; it may throw
// StoreFailure when the database cannot be reached.

}  // namespace pralix::desk
