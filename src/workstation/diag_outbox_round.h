#pragma once
// Sending the kept DiagData records later, and the upload of a new record
// that keeps it in the outbox when the service does not take it.

#include <QUrl>
#include <chrono>

#include "interfaces/clock.h"
#include "interfaces/http_client.h"
#include "workstation/diag_outbox.h"
#include "workstation/main_fields.h"

namespace pralix {

// Kept records sent before a new one, so that a test never waits long.
inline constexpr int kKeptRecordsPerUpload = 20;

struct OutboxRound {
  int sent = 0;    // answered 2xx (and removed, unless the removal failed)
  int failed = 0;  // 1 when a record was refused or not answered, else 0
  int kept = 0;    // records left in the outbox afterwards
};

// Sends up to maxRecords kept records, oldest first, each with the headers
// and body of its first try; a file is removed only after a 2xx answer.  The
// first failure ends the round, and so does the budget: the requests share
// it, each given what is left of it.
OutboxRound SendKeptRecords(DiagOutbox& outbox, HttpClient& http, const QUrl& url, const Clock& clock,
                            int maxRecords, std::chrono::milliseconds budget);

// The upload of the test's record with the outbox: first the kept records
// (at most kKeptRecordsPerUpload, within one request's bound), then the new
// one unless a kept one failed.  DiagDataSent speaks of the new record only;
// when it was not sent it is kept.  Nothing is raised.
void UploadDiagDataKeepingFailures(MainFields& fields, HttpClient& http, const QUrl& url, DiagOutbox& outbox,
                                   const Clock& clock);

}  // namespace pralix
