#pragma once
// GET /login shows the form with a fresh CSRF token, also set as a short-
// lived cookie; POST /login takes user, password, csrf (and next) as a form.
// A csrf that does not match the cookie is refused with 403 and stores
// nothing; an attempt the slow-down refuses answers 429 with Retry-After
// without a look at the password; a wrong user and a wrong password get the
// same 403 and the same words.  Success: the session cookie and 303 to next
// (a path on this desk) or "/".

#include <QHostAddress>
#include <QList>

#include "auth/login_service.h"
#include "auth/password_check_runner.h"
#include "auth/random_source.h"
#include "http/http_exchange.h"

namespace pralix::desk {

// A login form is a few hundred bytes; anything much larger is not one.
inline constexpr qsizetype kMaxLoginBodyBytes = 8 * 1024;

class LoginEndpoint : public HttpRequestHandler {
 public:
  LoginEndpoint(LoginService& logins, PasswordCheckRunner& checks, RandomSource& random,
                QList<QHostAddress> trustedProxies);

  void handle(const HttpRequest& request, AnswerFunction answer) override;

 private:
  HttpAnswer form(const HttpRequest& request, int status, const QString& next, const QString& message);
  void attempt(const HttpRequest& request, AnswerFunction answer);

  LoginService& logins_;
  PasswordCheckRunner& checks_;
  RandomSource& random_;
  QList<QHostAddress> trustedProxies_;
};

}  // namespace pralix::desk
