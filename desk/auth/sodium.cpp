#include "auth/sodium.h"

#include <sodium.h>

#include <stdexcept>

namespace pralix::desk {

bool StartSodium() { return sodium_init() >= 0; }

QByteArray SodiumRandom::bytes(int count) {
  QByteArray bytes(count, Qt::Uninitialized);
  randombytes_buf(bytes.data(), size_t(count));
  return bytes;
}

QByteArray SodiumPasswordHasher::hash(const QByteArray& password) {
  char text[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(text, password.constData(), quint64(password.size()), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                        crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
    throw std::runtime_error("not enough memory to hash the password");
  return QByteArray(text);
}

bool SodiumPasswordHasher::verify(const QByteArray& hash, const QByteArray& password) {
  // The stored text must end inside the buffer libsodium reads.
  if (hash.size() >= crypto_pwhash_STRBYTES) return false;
  return crypto_pwhash_str_verify(hash.constData(), password.constData(), quint64(password.size())) == 0;
}

}  // namespace pralix::desk
