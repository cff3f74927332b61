#include "auth/secret_text.h"

#include <QCryptographicHash>

#include "auth/random_source.h"

namespace pralix::desk {

QByteArray Base64Url(const QByteArray& bytes) {
  return bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

QByteArray Sha256Hex(const QByteArray& bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex(); }

QByteArray NewSecret(RandomSource& random) { return Base64Url(random.bytes(32)); }

bool ConstantTimeEquals(const QByteArray& a, const QByteArray& b) {
  if (a.size() != b.size()) return false;
  // volatile: the compiler may not stop at the first difference.
  volatile unsigned char difference = 0;
  for (qsizetype i = 0; i < a.size(); ++i) difference = difference | (static_cast<unsigned char>(a[i]) ^ static_cast<unsigned char>(b[i]));
  return difference == 0;
}

}  // namespace pralix::desk
