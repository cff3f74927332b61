#include "records/request_headers.h"

#include "diagdata/diagdata_fields.h"

namespace pralix::desk {
namespace {

bool IsPrintableAscii(char c) { return c >= 0x20 && c <= 0x7E; }

QHostAddress Plain(const QHostAddress& address) {
  bool isIpv4 = false;
  const quint32 ipv4 = address.toIPv4Address(&isIpv4);
  return isIpv4 ? QHostAddress(ipv4) : address;
}

}  // namespace

bool IsAcceptedFormContentType(const QByteArray& contentType) {
  const QList<QByteArray> parts = contentType.split(';');
  if (parts.first().trimmed().compare(kFormContentType, Qt::CaseInsensitive) != 0) return false;
  if (parts.size() == 1) return true;
  if (parts.size() > 2) return false;
  const QByteArray parameter = parts.at(1).trimmed();
  const int equals = parameter.indexOf('=');
  if (equals < 0 || parameter.left(equals).trimmed().compare("charset", Qt::CaseInsensitive) != 0) return false;
  QByteArray charset = parameter.mid(equals + 1).trimmed();
  if (charset.size() >= 2 && charset.startsWith('"') && charset.endsWith('"')) charset = charset.mid(1, charset.size() - 2);
  return charset.compare("utf-8", Qt::CaseInsensitive) == 0;
}

std::optional<qint64> ParseContentLength(const QByteArray& value) {
  if (value.isEmpty() || value.size() > 18) return std::nullopt;
  qint64 length = 0;
  for (const char c : value) {
    if (c < '0' || c > '9') return std::nullopt;
    length = length * 10 + (c - '0');
  }
  return length;
}

IdempotencyKeyReading ReadIdempotencyKey(const QByteArray& value) {
  QByteArray key;
  if (value.startsWith('"')) {
    int i = 1;
    for (; i < value.size() && value.at(i) != '"'; ++i) {
      char c = value.at(i);
      if (c == '\\') {
        if (++i == value.size() || (value.at(i) != '"' && value.at(i) != '\\'))
          return {false, QString(), QStringLiteral("a bad escape in the quoted key")};
        c = value.at(i);
      }
      if (!IsPrintableAscii(c)) return {false, QString(), QStringLiteral("a character that is not printable ASCII")};
      key += c;
    }
    if (i != value.size() - 1) return {false, QString(), QStringLiteral("the quoted key does not end with its quote")};
  } else {
    for (const char c : value)
      if (!IsPrintableAscii(c)) return {false, QString(), QStringLiteral("a character that is not printable ASCII")};
    key = value;
  }
  if (key.isEmpty()) return {false, QString(), QStringLiteral("an empty key")};
  if (key.size() > kMaxIdempotencyKeyLength)
    return {false, QString(), QStringLiteral("a key longer than %1 characters").arg(kMaxIdempotencyKeyLength)};
  return {true, QString::fromLatin1(key), QString()};
}

QString ReadToolVersion(const QByteArray& value) {
  if (value.isEmpty() || value.size() > kMaxToolVersionLength) return QString();
  for (const char c : value)
    if (!IsPrintableAscii(c)) return QString();
  return QString::fromLatin1(value);
}

QString ClientAddress(const QHostAddress& peer, const QList<QByteArray>& forwardedFor,
                      const QList<QHostAddress>& trustedProxies) {
  const QHostAddress plainPeer = Plain(peer);
  bool trusted = false;
  for (const QHostAddress& proxy : trustedProxies) trusted = trusted || Plain(proxy) == plainPeer;
  if (trusted && !forwardedFor.isEmpty()) {
    const QHostAddress lastHop(QString::fromLatin1(forwardedFor.last().split(',').last().trimmed()));
    if (!lastHop.isNull()) return Plain(lastHop).toString();
  }
  return plainPeer.toString();
}

}  // namespace pralix::desk
