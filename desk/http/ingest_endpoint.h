#pragma once
// The desk's HTTP surface: POST /dijagnostika takes a DiagData record; the
// answer is 200 only once the record is committed.  Refused requests are
// answered at once and store nothing; a database failure answers 503.

#include <functional>

#include "http/http_exchange.h"
#include "records/ingest_rules.h"
#include "store/record_writer.h"

namespace pralix::desk {

inline constexpr char kDiagDataPath[] = "/dijagnostika";

class IngestEndpoint : public HttpRequestHandler {
 public:
  using Clock = std::function<qint64()>;  // milliseconds since 1970 UTC

  IngestEndpoint(RecordWriter& writer, IngestSettings settings, Clock now);

  void handle(const HttpRequest& request, AnswerFunction answer) override;

 private:
  RecordWriter& writer_;
  IngestSettings settings_;
  Clock now_;
};

// The answer for a record's outcome in the store (nothing: the database failed).
HttpAnswer AnswerForOutcome(const RecordWriter::Outcome& outcome);

}  // namespace pralix::desk
