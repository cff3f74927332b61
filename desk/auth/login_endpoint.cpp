#include "auth/login_endpoint.h"

#include <QUrl>

#include "auth/cookies.h"
#include "auth/login_page.h"
#include "auth/secret_text.h"
#include "http/page_handler.h"
#include "records/fleet_filter.h"
#include "records/received_post.h"
#include "records/request_headers.h"

namespace pralix::desk {
namespace {

const QString kWrongCredentials =
    QStringLiteral("Pogre\u0161an korisnik ili lozinka. / Wrong user or password.");
const QString kFormExpired =
    QStringLiteral("Obrazac je istekao, poku\u0161ajte ponovo. / The form expired; please try again.");

QString TooManyFailures(qint64 waitSeconds) {
  const qint64 minutes = (waitSeconds + 59) / 60;
  return QStringLiteral("Previ\u0161e neuspelih prijava; poku\u0161ajte ponovo za %1 min. / "
                        "Too many failed logins; try again in %1 min.")
      .arg(minutes);
}

// What may stay as it is in a Location: the characters of a path and a
// query (escapes included); anything else, such as UTF-8, is percent-encoded.
const QByteArray kPathCharacters = "/?&=%:@+,;!$'()*~";

HttpAnswer Plain(int status, const QByteArray& text) { return {status, text + '\n', {}}; }

}  // namespace

LoginEndpoint::LoginEndpoint(LoginService& logins, PasswordCheckRunner& checks, RandomSource& random,
                             QList<QHostAddress> trustedProxies)
    : logins_(logins), checks_(checks), random_(random), trustedProxies_(std::move(trustedProxies)) {}

void LoginEndpoint::handle(const HttpRequest& request, AnswerFunction answer) {
  if (request.method == "GET") {
    return answer(form(request, 200, QueryValue(request.query, "next").value_or(QStringLiteral("/")), QString()));
  }
  if (request.method == "POST") return attempt(request, std::move(answer));
  HttpAnswer notAllowed = Plain(405, "only GET and POST");
  notAllowed.headers.emplaceBack("Allow", "GET, POST");
  answer(notAllowed);
}

HttpAnswer LoginEndpoint::form(const HttpRequest& request, int status, const QString& next, const QString& message) {
  const QByteArray token = NewSecret(random_);
  HttpAnswer page{status, LoginPageHtml(token, next, message), {}};
  page.headers.emplaceBack("Content-Type", "text/html; charset=utf-8");
  page.headers.append(
      {"Set-Cookie", SetCookie(kLoginCookie, token, kLoginPath, kLoginCookieSeconds, CameOverTls(request, trustedProxies_))});
  return page;
}

void LoginEndpoint::attempt(const HttpRequest& request, AnswerFunction answer) {
  if (!IsAcceptedFormContentType(HeaderValue(request, "Content-Type").value_or(QByteArray())))
    return answer(Plain(415, "the login form comes as application/x-www-form-urlencoded"));
  if (request.body.size() > kMaxLoginBodyBytes) return answer(Plain(413, "the login form is too large"));
  const QString next = QueryValue(request.body, "next").value_or(QStringLiteral("/"));
  const QByteArray sent = QueryValue(request.body, kCsrfField).value_or(QString()).toUtf8();
  const std::optional<QByteArray> expected = CookieValue(request, kLoginCookie);
  if (!expected || expected->isEmpty() || !ConstantTimeEquals(sent, *expected))
    return answer(form(request, 403, next, kFormExpired));

  const QString user = QueryValue(request.body, "user").value_or(QString());
  const QByteArray password = QueryValue(request.body, "password").value_or(QString()).toUtf8();
  const QString address = ClientAddress(request.peer, HeaderValues(request.headers, "X-Forwarded-For"), trustedProxies_);
  const LoginService::Admission admission = logins_.admit(user, address);
  if (admission.waitMs) {
    const qint64 seconds = (*admission.waitMs + 999) / 1000;
    HttpAnswer refused = form(request, 429, next, TooManyFailures(seconds));
    refused.headers.emplaceBack("Retry-After", QByteArray::number(seconds));
    return answer(refused);
  }
  const bool secure = CameOverTls(request, trustedProxies_);
  checks_.check(admission.hashToCheck, password,
                [this, request, user, address, next, secure, userKnown = admission.userKnown,
                 answer = std::move(answer)](bool matched) {
                  std::optional<Sessions::Started> session;
                  try {
                    session = logins_.conclude(user, address, userKnown, matched);
                  } catch (const StoreFailure&) {
                    return answer(Plain(503, "the database failed; try again later"));
                  }
                  if (!session) return answer(form(request, 403, next, kWrongCredentials));
                  HttpAnswer welcome = Plain(303, "signed in");
                  welcome.headers.emplaceBack("Location", QUrl::toPercentEncoding(SafeLocalPath(next), kPathCharacters));
                  welcome.headers.emplaceBack("Set-Cookie", SetCookie(kSessionCookie, session->id, "/", -1, secure));
                  welcome.headers.emplaceBack("Set-Cookie", SetCookie(kLoginCookie, "", kLoginPath, 0, secure));
                  answer(welcome);
                });
}

}  // namespace pralix::desk
