#pragma once
// The silent upload of the DiagData record to the support service, and the
// report that action 2 shows about its outcome.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QUrl>

#include "diagdata/diagdata_fields.h"
#include "diagdata/diagdata_form.h"
#include "interfaces/http_client.h"
#include "workstation/main_fields.h"

namespace pralix {

inline constexpr char kDiagDataAccept[] = "text/html, */*";
inline constexpr char kDiagDataUserAgent[] =
    "Mozilla/5.0 (Windows NT 6.1; rv:29.0) Gecko/20100101 Firefox/29.0";
// The headers every DiagData POST carries: Accept, User-Agent, Content-Type.
HttpHeaders DiagDataHeaders();

// Those and what the desk learns of the record beside its body: a new random
// Idempotency-Key, the test's time (RFC 3339, UTC) and the tool's version.
// Made once per record; a resend from the outbox carries the same ones.
HttpHeaders DiagDataRecordHeaders(const QDateTime& testTime);

// 200 to 299: the service has taken the record.
bool IsSuccessStatus(int status);

// Clears DiagDataSent, posts the record built from the fields (a test run at
// testTime) and sets the flag only on a 2xx status.  Every failure is swallowed.
void UploadDiagData(MainFields& fields, HttpClient& http, const QUrl& url, const QDateTime& testTime);

// The diagnostics address chosen at build time, or PRALIX_DIAG_URL from the
// environment when that is set and not empty.
QUrl DiagDataUrl();

// Action 2's message: the support contacts after a sent record, otherwise
// the no-connection text.
QString DiagDataReportText(bool sent);

}  // namespace pralix
