#include "workstation/diag_outbox_record.h"

#include <QCryptographicHash>

namespace pralix {
namespace {

constexpr char kFirstLine[] = "PRALIX-DIAGDATA-RECORD 1\n";
constexpr char kLastLine[] = "\nEND-PRALIX-DIAGDATA-RECORD\n";

QByteArray BodyDigest(const QByteArray& body) {
  return QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex();
}

// A header line must not be able to end the head or start a new line.
bool SafeHeaderText(const QByteArray& text) { return !text.contains('\n') && !text.contains('\r'); }

}  // namespace

QByteArray SerializeOutboxRecord(const OutboxRecord& record) {
  QByteArray file = kFirstLine;
  file += "test-time: " + record.testTime.toString(Qt::ISODateWithMs).toLatin1() + '\n';
  for (const auto& [name, value] : record.headers) {
    if (SafeHeaderText(name) && SafeHeaderText(value) && !name.contains(':')) file += "header: " + name + ": " + value + '\n';
  }
  file += "body-length: " + QByteArray::number(record.body.size()) + '\n';
  file += "body-sha256: " + BodyDigest(record.body) + '\n';
  file += '\n';
  file += record.body;
  file += kLastLine;
  return file;
}

std::optional<OutboxRecord> ParseOutboxRecord(const QByteArray& file) {
  if (!file.startsWith(kFirstLine) || !file.endsWith(kLastLine)) return std::nullopt;
  const qsizetype headStart = qsizetype(sizeof kFirstLine) - 1;
  const qsizetype headEnd = file.indexOf("\n\n", headStart);
  if (headEnd < 0) return std::nullopt;

  OutboxRecord record;
  qint64 length = -1;
  QByteArray digest;
  const QByteArray head = file.mid(headStart, headEnd - headStart);
  for (const QByteArray& line : head.split('\n')) {
    const qsizetype colon = line.indexOf(": ");
    if (colon < 0) return std::nullopt;
    const QByteArray key = line.left(colon);
    const QByteArray value = line.mid(colon + 2);
    if (key == "test-time") {
      record.testTime = QDateTime::fromString(QString::fromLatin1(value), Qt::ISODateWithMs);
    } else if (key == "header") {
      const qsizetype split = value.indexOf(": ");
      if (split <= 0) return std::nullopt;
      record.headers.append({value.left(split), value.mid(split + 2)});
    } else if (key == "body-length") {
      bool ok = false;
      length = value.toLongLong(&ok);
      if (!ok) return std::nullopt;
    } else if (key == "body-sha256") {
      digest = value;
    } else {
      return std::nullopt;
    }
  }
  const qsizetype bodyStart = headEnd + 2;
  const qsizetype bodyLength = file.size() - bodyStart - (qsizetype(sizeof kLastLine) - 1);
  if (!record.testTime.isValid() || length < 0 || bodyLength != length) return std::nullopt;
  record.body = file.mid(bodyStart, bodyLength);
  if (BodyDigest(record.body) != digest) return std::nullopt;
  return record;
}

}  // namespace pralix
