// The DiagData form encoding.  Property: decoding the body the way a web
// server does gives back every line's name and value, and the body holds
// only characters that need no further escaping.

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <cstdint>

#include "fuzz_check.h"
#include "workstation/diag_upload.h"

namespace {

QString DecodeComponent(QByteArray part) {
  part.replace('+', ' ');
  return QString::fromUtf8(QByteArray::fromPercentEncoding(part));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pralix;
  // Valid UTF-8 only: the record is the tool's own text.
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
  const QStringList record = text.split(u'\n');
  const QByteArray body = EncodeDiagDataForm(record);

  for (const char c : body) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       QByteArray("*-._+%=&").contains(c);
    FUZZ_CHECK(plain);
  }
  const QByteArrayList fields = body.split('&');
  FUZZ_CHECK(fields.size() == record.size());
  for (qsizetype i = 0; i < record.size(); ++i) {
    const QByteArrayList pair = fields[i].split('=');
    FUZZ_CHECK(pair.size() == 2);
    const QString& line = record[i];
    const qsizetype equals = line.indexOf(u'=');
    FUZZ_CHECK(DecodeComponent(pair[0]) == (equals < 0 ? line : line.left(equals)));
    FUZZ_CHECK(DecodeComponent(pair[1]) == (equals < 0 ? QString() : line.mid(equals + 1)));
  }
  return 0;
}
