#include "diagdata/diagdata_form.h"

namespace pralix {
namespace {

bool StaysAsItIs(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '*' ||
         c == '-' || c == '.' || c == '_';
}

}  // namespace

QByteArray EncodeFormComponent(const QString& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  QByteArray encoded;
  for (const char c : text.toUtf8()) {
    const auto byte = static_cast<unsigned char>(c);
    if (StaysAsItIs(c)) {
      encoded += c;
    } else if (c == ' ') {
      encoded += '+';
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 0x0F];
    }
  }
  return encoded;
}

QByteArray EncodeDiagDataForm(const QStringList& record) {
  QByteArrayList fields;
  for (const QString& line : record) {
    const qsizetype equals = line.indexOf(u'=');
    const QString name = equals < 0 ? line : line.left(equals);
    const QString value = equals < 0 ? QString() : line.mid(equals + 1);
    fields += EncodeFormComponent(name) + '=' + EncodeFormComponent(value);
  }
  return fields.join('&');
}

}  // namespace pralix
