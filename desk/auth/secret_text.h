#pragma once
// How the desk's secrets are written and compared: base64url without
// padding for what goes into a cookie, a header or a form; the hex of a
// SHA-256 for what goes into the database; a comparison whose time does
// not tell how many leading bytes matched.

#include <QByteArray>

namespace pralix::desk {

QByteArray Base64Url(const QByteArray& bytes);
QByteArray Sha256Hex(const QByteArray& bytes);
// Equal length and bytes; the time depends on the lengths only.
bool ConstantTimeEquals(const QByteArray& a, const QByteArray& b);

}  // namespace pralix::desk
