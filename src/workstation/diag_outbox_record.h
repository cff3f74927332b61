#pragma once
// One DiagData record kept in the outbox, as one file: a first line that
// names the format, the time of the test, the headers of the first try, the
// body's length and SHA-256, a blank line, the body byte for byte, and a
// closing line.  A file cut short or not written by the tool fails to parse.

#include <QByteArray>
#include <QDateTime>
#include <optional>

#include "interfaces/http_client.h"

namespace pralix {

struct OutboxRecord {
  QDateTime testTime;
  HttpHeaders headers;  // as the first try sent them
  QByteArray body;      // the exact form body of the first try
};

QByteArray SerializeOutboxRecord(const OutboxRecord& record);

// The record, or nothing when the bytes are not a whole record file.
std::optional<OutboxRecord> ParseOutboxRecord(const QByteArray& file);

}  // namespace pralix
