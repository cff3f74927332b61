#include "workstation/diag_outbox_round.h"

#include <algorithm>

#include "workstation/diag_data.h"
#include "workstation/diag_upload.h"

namespace pralix {
namespace {

using std::chrono::milliseconds;

milliseconds Elapsed(const QDateTime& start, const Clock& clock) {
  // A clock set back meanwhile counts as no time passed.
  return milliseconds(std::max<qint64>(0, start.msecsTo(clock.now())));
}

}  // namespace

OutboxRound SendKeptRecords(DiagOutbox& outbox, HttpClient& http, const QUrl& url, const Clock& clock,
                            int maxRecords, milliseconds budget) {
  OutboxRound round;
  const QList<KeptRecord> kept = outbox.records();
  int removed = 0;
  const QDateTime start = clock.now();
  for (const KeptRecord& record : kept) {
    if (round.sent >= maxRecords) break;
    const milliseconds left = budget - std::min(budget, Elapsed(start, clock));
    if (left <= milliseconds::zero()) break;
    int status = HttpClient::kTransportFailure;
    try {
      status = http.postWithin(url, record.record.headers, record.record.body, left);
    } catch (...) {
      // A client that fails in its own way is one more failure.
    }
    if (!IsSuccessStatus(status)) {
      round.failed = 1;
      break;
    }
    ++round.sent;
    // A file that cannot be removed is sent again next time: a duplicate is
    // better than a loss.
    if (outbox.remove(record)) ++removed;
  }
  round.kept = int(kept.size()) - removed;
  return round;
}

void UploadDiagDataKeepingFailures(MainFields& fields, HttpClient& http, const QUrl& url, DiagOutbox& outbox,
                                   const Clock& clock) {
  fields.DiagDataSent = false;
  try {
    const QDateTime testTime = clock.now();
    const OutboxRecord record{testTime, DiagDataRecordHeaders(testTime), EncodeDiagDataForm(BuildDiagData(fields))};
    const OutboxRound round =
        SendKeptRecords(outbox, http, url, clock, kKeptRecordsPerUpload, http.requestBound());
    if (round.failed == 0) {
      try {
        fields.DiagDataSent = IsSuccessStatus(http.post(url, record.headers, record.body));
      } catch (...) {
        // Silent, as every upload failure; the record is kept below.
      }
    }
    if (!fields.DiagDataSent) outbox.keep(record);
  } catch (...) {
    // The upload is silent: its outcome is only the flag.
  }
}

}  // namespace pralix
