#include "auth/cookies.h"

namespace pralix::desk {

std::optional<QByteArray> HeaderValue(const HttpRequest& request, const QByteArray& name) {
  for (const auto& header : request.headers)
    if (header.first.compare(name, Qt::CaseInsensitive) == 0) return header.second.trimmed();
  return std::nullopt;
}

std::optional<QByteArray> CookieValue(const HttpRequest& request, const QByteArray& name) {
  for (const auto& header : request.headers) {
    if (header.first.compare("Cookie", Qt::CaseInsensitive) != 0) continue;
    for (const QByteArray& pair : header.second.split(';')) {
      const qsizetype equals = pair.indexOf('=');
      if (equals > 0 && pair.left(equals).trimmed() == name) return pair.mid(equals + 1).trimmed();
    }
  }
  return std::nullopt;
}

QByteArray SetCookie(const QByteArray& name, const QByteArray& value, const QByteArray& path, int maxAgeSeconds,
                     bool secure) {
  QByteArray cookie = name + '=' + value + "; HttpOnly; SameSite=Strict; Path=" + path;
  if (maxAgeSeconds >= 0) cookie += "; Max-Age=" + QByteArray::number(maxAgeSeconds);
  if (secure) cookie += "; Secure";
  return cookie;
}

bool CameOverTls(const HttpRequest& request, const QList<QHostAddress>& trustedProxies) {
  bool trusted = false;
  for (const QHostAddress& proxy : trustedProxies)
    trusted = trusted || proxy.isEqual(request.peer, QHostAddress::TolerantConversion);
  if (!trusted) return false;
  const std::optional<QByteArray> proto = HeaderValue(request, "X-Forwarded-Proto");
  return proto && proto->compare("https", Qt::CaseInsensitive) == 0;
}

}  // namespace pralix::desk
