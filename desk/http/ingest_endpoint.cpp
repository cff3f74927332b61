#include "http/ingest_endpoint.h"

namespace pralix::desk {
namespace {

HttpAnswer Text(int status, const QByteArray& text) { return {status, text + '\n', {}}; }

}  // namespace

IngestEndpoint::IngestEndpoint(RecordWriter& writer, IngestSettings settings, Clock now)
    : writer_(writer), settings_(std::move(settings)), now_(std::move(now)) {}

void IngestEndpoint::handle(const HttpRequest& request, AnswerFunction answer) {
  if (request.path != QLatin1String(kDiagDataPath)) return answer(Text(404, "not found"));
  if (request.method != "POST") {
    HttpAnswer notAllowed = Text(405, "only POST");
    notAllowed.headers.append(qMakePair(QByteArray("Allow"), QByteArray("POST")));
    return answer(notAllowed);
  }
  const ReceivedPost post{request.headers, request.body, request.peer, now_()};
  IngestVerdict verdict = JudgeDiagDataPost(post, settings_);
  if (!verdict.accepted()) return answer(Text(verdict.status, verdict.reason));
  writer_.submit(std::move(verdict.record),
                 [answer = std::move(answer)](const RecordWriter::Outcome& outcome) { answer(AnswerForOutcome(outcome)); });
}

HttpAnswer AnswerForOutcome(const RecordWriter::Outcome& outcome) {
  if (!outcome) return Text(503, "the database failed; send the record again later");
  switch (*outcome) {
    case StoreOutcome::Stored: return Text(200, "stored");
    case StoreOutcome::AlreadyStored: return Text(200, "already stored");
    case StoreOutcome::KeyConflict: return Text(422, "this Idempotency-Key came before with another body");
  }
  return Text(503, "the database failed; send the record again later");
}

}  // namespace pralix::desk
