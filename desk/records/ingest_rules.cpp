#include "records/ingest_rules.h"

#include "diagdata/diagdata_fields.h"
#include "diagdata/diagdata_form_decode.h"
#include "records/request_headers.h"
#include "records/utc_time.h"

namespace pralix::desk {
namespace {

// The longest reason the answer carries: a refused body's field name is
// quoted in it, and a name can be most of 64 KiB.
constexpr int kMaxReasonCharacters = 200;

IngestVerdict Refuse(int status, const QByteArray& reason) {
  IngestVerdict verdict;
  verdict.status = status;
  verdict.reason = reason;
  return verdict;
}

// The decoder's explanation as one line of the answer: the field name it
// quotes came from the client and may hold line breaks or control
// characters (each becomes "?"), and is cut short when it is long.
QByteArray OneLine(QString text) {
  for (QChar& c : text)
    if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = QLatin1Char('?');
  if (text.size() > kMaxReasonCharacters) text = text.left(kMaxReasonCharacters - 3) + QStringLiteral("...");
  return text.toUtf8();
}

}  // namespace

IngestVerdict JudgeDiagDataPost(const ReceivedPost& post, const IngestSettings& settings) {
  // The size first: the declared length and what really came (the HTTP server
  // sets no limit of its own).
  for (const QByteArray& declared : HeaderValues(post.headers, "Content-Length")) {
    const std::optional<qint64> length = ParseContentLength(declared);
    if (!length) return Refuse(400, "bad Content-Length");
    if (*length > kMaxBodyBytes) return Refuse(413, "body over 64 KiB");
  }
  if (post.body.size() > kMaxBodyBytes) return Refuse(413, "body over 64 KiB");

  const QList<QByteArray> contentTypes = HeaderValues(post.headers, "Content-Type");
  if (contentTypes.size() != 1 || !IsAcceptedFormContentType(contentTypes.first()))
    return Refuse(415, "expected Content-Type: application/x-www-form-urlencoded");

  DiagRecord record;
  const QList<QByteArray> keys = HeaderValues(post.headers, kIdempotencyKeyHeader);
  if (keys.size() > 1) return Refuse(400, "more than one Idempotency-Key");
  if (keys.size() == 1) {
    const IdempotencyKeyReading key = ReadIdempotencyKey(keys.first());
    if (!key.valid) return Refuse(400, "malformed Idempotency-Key: " + key.reason.toUtf8());
    record.idempotencyKey = key.key;
  }

  const DiagDataFormDecoding decoded = DecodeDiagDataForm(post.body);
  if (!decoded.ok()) return Refuse(400, OneLine(decoded.explanation()));

  record.rawBody = post.body;
  record.values = decoded.values;
  record.receivedAtMs = post.receivedAtMs;
  const QList<QByteArray> testedAt = HeaderValues(post.headers, kTestedAtHeader);
  if (testedAt.size() == 1) record.testedAtMs = ParseRfc3339(testedAt.first());
  const QList<QByteArray> versions = HeaderValues(post.headers, kToolVersionHeader);
  if (versions.size() == 1) record.toolVersion = ReadToolVersion(versions.first());
  record.clientAddress = ClientAddress(post.peer, HeaderValues(post.headers, "X-Forwarded-For"), settings.trustedProxies);

  IngestVerdict verdict;
  verdict.record = std::move(record);
  return verdict;
}

}  // namespace pralix::desk
