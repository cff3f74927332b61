#include "http/security_headers.h"

namespace pralix::desk {
namespace {

// The pages are plain HTML with their own stylesheet and inline SVG: no
// script at all, no frame, forms only to the desk itself.
const QList<QPair<QByteArray, QByteArray>> kSecurityHeaders = {
    {"Content-Security-Policy",
     "default-src 'none'; style-src 'self'; img-src 'self' data:; form-action 'self'; frame-ancestors 'none'; "
     "base-uri 'none'"},
    {"X-Frame-Options", "DENY"},
    {"X-Content-Type-Options", "nosniff"},
    {"Referrer-Policy", "no-referrer"},
};

bool Has(const HttpAnswer& answer, const QByteArray& name) {
  for (const auto& header : answer.headers)
    if (header.first.compare(name, Qt::CaseInsensitive) == 0) return true;
  return false;
}

void Remove(HttpAnswer& answer, const QByteArray& name) {
  answer.headers.removeIf([&](const QPair<QByteArray, QByteArray>& header) {
    return header.first.compare(name, Qt::CaseInsensitive) == 0;
  });
}

}  // namespace

void AddSecurityHeaders(HttpAnswer& answer, bool privateAnswer) {
  for (const auto& header : kSecurityHeaders) {
    Remove(answer, header.first);
    answer.headers.append(header);
  }
  if (privateAnswer && !Has(answer, "Cache-Control")) answer.headers.emplaceBack("Cache-Control", "no-store");
}

}  // namespace pralix::desk
