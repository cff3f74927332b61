// A POST to the desk's DiagData address judged by its ingest rules: the
// strict form decoding of the body and the headers around it.
// Input: header lines "Name: value" up to the first empty line, then the
// body; an input without an empty line is a body alone, sent with the
// tool's Content-Type.
// Properties, against a reading of the body of its own (split at "&" and
// the first "=", "+" a space, Qt's lenient percent-decoding, Qt's UTF-8
// decoder as the judge of UTF-8):
// - the body is taken exactly when that reading finds the ten names once
//   each, every "%" followed by two hex digits, valid UTF-8 and no NUL, and
//   the headers are acceptable (one form Content-Type, no Content-Length
//   over 64 KiB, at most one well-formed Idempotency-Key);
// - taken: the record holds the body byte for byte and the ten values that
//   reading gives; the values re-encoded by the tool's EncodeDiagDataForm
//   decode to the same values, and encode again to the same bytes; the key
//   and version are printable ASCII or absent;
// - refused: 400, 413 or 415 with a reason of one short line (no control
//   character), and no record.

#include <QByteArray>
#include <QByteArrayList>
#include <QHostAddress>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

#include "diagdata/diagdata_form.h"
#include "diagdata/diagdata_form_decode.h"
#include "fuzz_check.h"
#include "records/ingest_rules.h"

namespace {

using namespace pralix;
using namespace pralix::desk;

constexpr qint64 kReceivedAtMs = 1796803200000;  // 2026-12-09T08:00:00Z

struct Post {
  HeaderList headers;
  QByteArray body;
};

Post ReadInput(const QByteArray& input) {
  const qsizetype blank = input.indexOf("\n\n");
  if (blank < 0) return {{{"Content-Type", kFormContentType}}, input};
  Post post{{}, input.mid(blank + 2)};
  for (const QByteArray& line : input.left(blank).split('\n')) {
    const qsizetype colon = line.indexOf(':');
    if (colon > 0) post.headers += qMakePair(line.left(colon), line.mid(colon + 1));
  }
  return post;
}

QList<QByteArray> Values(const HeaderList& headers, const QByteArray& name) {
  QList<QByteArray> values;
  for (const auto& header : headers)
    if (header.first.toLower() == name.toLower()) values += header.second.trimmed();
  return values;
}

// The media type before any parameter.
bool IsFormType(const QByteArray& contentType) {
  return contentType.split(';').first().trimmed().toLower() == kFormContentType;
}

bool PrintableAscii(const QString& text) {
  for (const QChar c : text)
    if (c.unicode() < 0x20 || c.unicode() > 0x7E) return false;
  return true;
}

bool WellEscaped(const QByteArray& encoded) {
  const auto hex = [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); };
  for (qsizetype i = 0; i < encoded.size(); ++i) {
    if (encoded.at(i) != '%') continue;
    if (i + 2 >= encoded.size() || !hex(encoded.at(i + 1)) || !hex(encoded.at(i + 2))) return false;
    i += 2;
  }
  return true;
}

// One name or value, or nothing when it is not a valid one.
std::optional<QString> ReadComponent(QByteArray encoded) {
  if (!WellEscaped(encoded)) return std::nullopt;
  const QByteArray bytes = QByteArray::fromPercentEncoding(encoded.replace('+', ' '));
  const QString text = QString::fromUtf8(bytes);
  if (text.toUtf8() != bytes || bytes.contains('\0')) return std::nullopt;  // not UTF-8 (U+FFFD put in), or NUL
  return text;
}

// The ten values in field order, or nothing when the body is not a record.
std::optional<DiagValues> ReadBody(const QByteArray& body) {
  if (body.isEmpty()) return std::nullopt;
  DiagValues values;
  std::array<bool, kDiagDataFieldCount> seen{};
  for (const QByteArray& part : body.split('&')) {
    const qsizetype equals = part.indexOf('=');
    if (equals < 0) return std::nullopt;
    const std::optional<QString> name = ReadComponent(part.left(equals));
    const std::optional<QString> value = ReadComponent(part.mid(equals + 1));
    if (!name || !value) return std::nullopt;
    int index = -1;
    for (int i = 0; i < kDiagDataFieldCount; ++i)
      if (*name == QLatin1String(kDiagDataFieldNames[i])) index = i;
    if (index < 0 || seen[index]) return std::nullopt;
    seen[index] = true;
    values[index] = *value;
  }
  for (const bool one : seen)
    if (!one) return std::nullopt;
  return values;
}

bool SameValues(const DiagValues& a, const std::array<QString, kDiagDataFieldCount>& b) {
  for (int i = 0; i < kDiagDataFieldCount; ++i)
    if (a[i] != b[i]) return false;
  return true;
}

QByteArray Encode(const DiagValues& values) {
  QStringList lines;
  for (int i = 0; i < kDiagDataFieldCount; ++i) lines += QLatin1String(kDiagDataFieldNames[i]) + QLatin1Char('=') + values[i];
  return EncodeDiagDataForm(lines);
}

void CheckTaken(const Post& post, const IngestVerdict& verdict, const DiagValues& expected) {
  const DiagRecord& record = verdict.record;
  FUZZ_CHECK(record.rawBody == post.body);
  FUZZ_CHECK(SameValues(record.values, expected));
  for (const QString& value : record.values) FUZZ_CHECK(!value.isNull() && !value.contains(QChar(0)));
  FUZZ_CHECK(record.receivedAtMs == kReceivedAtMs);
  FUZZ_CHECK(record.idempotencyKey.isNull() || (!record.idempotencyKey.isEmpty() && record.idempotencyKey.size() <= 255 &&
                                                PrintableAscii(record.idempotencyKey)));
  FUZZ_CHECK(record.idempotencyKey.isNull() == Values(post.headers, "Idempotency-Key").isEmpty());
  FUZZ_CHECK(record.toolVersion.isNull() || (record.toolVersion.size() <= 64 && PrintableAscii(record.toolVersion)));
  FUZZ_CHECK(!record.testedAtMs || Values(post.headers, "Pralix-Tested-At").size() == 1);
  FUZZ_CHECK(!QHostAddress(record.clientAddress).isNull());

  // The tool's encoder writes the values so that they read back the same,
  // and what it writes is its own fixed point.
  const QByteArray reencoded = Encode(record.values);
  const DiagDataFormDecoding again = DecodeDiagDataForm(reencoded);
  FUZZ_CHECK(again.ok());
  FUZZ_CHECK(SameValues(record.values, again.values));
  FUZZ_CHECK(Encode(again.values) == reencoded);
}

void CheckRefused(const Post& post, const IngestVerdict& verdict) {
  FUZZ_CHECK(verdict.status == 400 || verdict.status == 413 || verdict.status == 415);
  // One short line: the name of an unknown field is the client's and is quoted in it.
  FUZZ_CHECK(!verdict.reason.isEmpty() && verdict.reason.size() <= 600);
  for (const char c : verdict.reason) FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
  const DiagRecord& record = verdict.record;
  FUZZ_CHECK(record.rawBody.isEmpty() && record.idempotencyKey.isNull() && record.clientAddress.isNull());
  for (const QString& value : record.values) FUZZ_CHECK(value.isNull());
  if (verdict.status == 415) {
    const QList<QByteArray> types = Values(post.headers, "Content-Type");
    FUZZ_CHECK(types.size() != 1 || !IsFormType(types.first()) || types.first().contains(';'));
  }
  if (verdict.status == 413) {
    bool declaredOver = false;
    for (const QByteArray& length : Values(post.headers, "Content-Length"))
      declaredOver = declaredOver || length.toLongLong() > kMaxBodyBytes;
    FUZZ_CHECK(declaredOver || post.body.size() > kMaxBodyBytes);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Post post = ReadInput(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
  IngestSettings settings;
  settings.trustedProxies += QHostAddress(QHostAddress::LocalHost);  // so that X-Forwarded-For counts
  const IngestVerdict verdict =
      JudgeDiagDataPost(ReceivedPost{post.headers, post.body, QHostAddress(QHostAddress::LocalHost), kReceivedAtMs}, settings);

  // The strict decoder alone agrees with the reading above.
  const std::optional<DiagValues> expected = ReadBody(post.body);
  const DiagDataFormDecoding decoded = DecodeDiagDataForm(post.body);
  FUZZ_CHECK(decoded.ok() == expected.has_value());
  FUZZ_CHECK(decoded.ok() == decoded.explanation().isEmpty());
  if (expected) FUZZ_CHECK(SameValues(*expected, decoded.values));

  if (verdict.accepted()) {
    FUZZ_CHECK(expected.has_value());
    const QList<QByteArray> types = Values(post.headers, "Content-Type");
    FUZZ_CHECK(types.size() == 1 && IsFormType(types.first()));
    FUZZ_CHECK(Values(post.headers, "Idempotency-Key").size() <= 1);
    for (const QByteArray& length : Values(post.headers, "Content-Length"))
      FUZZ_CHECK(!length.isEmpty() && length.size() <= 18 && length.toLongLong() <= kMaxBodyBytes);
    CheckTaken(post, verdict, *expected);
  } else {
    CheckRefused(post, verdict);
  }
  return 0;
}
