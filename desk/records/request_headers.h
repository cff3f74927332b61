#pragma once
// The rules for the headers of a DiagData POST other than its body: the
// content type, the declared length, the idempotency key, the tool's version
// and the client's address behind a trusted proxy.

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QString>
#include <optional>

namespace pralix::desk {

inline constexpr int kMaxIdempotencyKeyLength = 255;
inline constexpr int kMaxToolVersionLength = 64;

// Exactly application/x-www-form-urlencoded (any case), optionally with the
// one parameter charset=utf-8 (any case, quoted or not).
bool IsAcceptedFormContentType(const QByteArray& contentType);

// A Content-Length value as a non-negative number; nothing when it is not one.
std::optional<qint64> ParseContentLength(const QByteArray& value);

struct IdempotencyKeyReading {
  bool valid = false;
  QString key;     // the key, unquoted when it came as a quoted string
  QString reason;  // why it is malformed
};

// The key as a bare token ("8e03978e-...") or a quoted string
// ("\"8e03978e-...\"", as the IETF draft writes it, with \" and \\ escapes):
// 1 to 255 printable ASCII characters, no control character.
IdempotencyKeyReading ReadIdempotencyKey(const QByteArray& value);

// The tool's version as text when it is 1 to 64 printable ASCII characters;
// otherwise nothing (the record is kept, without a version).
QString ReadToolVersion(const QByteArray& value);

// The client's address: the peer's, unless the peer is one of the trusted
// proxies and sent X-Forwarded-For, whose last hop then stands for it.
// IPv4-mapped IPv6 addresses are shown as IPv4.
QString ClientAddress(const QHostAddress& peer, const QList<QByteArray>& forwardedFor,
                      const QList<QHostAddress>& trustedProxies);

}  // namespace pralix::desk
