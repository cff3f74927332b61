#pragma once
// The desk's cookies: the session's and the login form's, read from the
// request and set with HttpOnly, SameSite=Strict and, when the browser came
// over TLS, Secure.

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <optional>

#include "http/http_exchange.h"

namespace pralix::desk {

inline constexpr char kSessionCookie[] = "pralix_desk_session";
// The login form's CSRF token, double-submitted: the form's field must equal it.
inline constexpr char kLoginCookie[] = "pralix_desk_login";
inline constexpr int kLoginCookieSeconds = 60 * 60;

// The value of the first cookie of that name in the request's Cookie headers.
std::optional<QByteArray> CookieValue(const HttpRequest& request, const QByteArray& name);

// Set-Cookie values.  maxAgeSeconds < 0: a cookie for the browser's session;
// 0: deletes it.
QByteArray SetCookie(const QByteArray& name, const QByteArray& value, const QByteArray& path, int maxAgeSeconds,
                     bool secure);

// True when the browser's connection was TLS: the desk itself speaks plain
// HTTP, so only a trusted proxy's X-Forwarded-Proto: https says so.
bool CameOverTls(const HttpRequest& request, const QList<QHostAddress>& trustedProxies);

// The value of the request's first header of that name (case-insensitive).
std::optional<QByteArray> HeaderValue(const HttpRequest& request, const QByteArray& name);

}  // namespace pralix::desk
