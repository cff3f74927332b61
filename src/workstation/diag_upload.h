#pragma once
// The silent upload of the DiagData record to the support service, and the
// report that action 2 shows about its outcome.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

#include "platform/http_client.h"
#include "workstation/main_fields.h"

namespace pralix {

inline constexpr char kDiagDataAccept[] = "text/html, */*";
inline constexpr char kDiagDataUserAgent[] =
    "Mozilla/5.0 (Windows NT 6.1; rv:29.0) Gecko/20100101 Firefox/29.0";
inline constexpr char kFormContentType[] = "application/x-www-form-urlencoded";

// One name or value of a form: A-Z a-z 0-9 * - . _ stay, a space becomes "+",
// every other character goes as its UTF-8 bytes, each "%XX" in upper case.
QByteArray EncodeFormComponent(const QString& text);

// The request body: each line split at its first "=" into name and value,
// both encoded, joined by "=", the fields by "&".  A line without "=" is a
// name with an empty value.
QByteArray EncodeDiagDataForm(const QStringList& record);

// The headers every DiagData POST carries: Accept, User-Agent, Content-Type.
HttpHeaders DiagDataHeaders();

// 200 to 299: the service has taken the record.
bool IsSuccessStatus(int status);

// Clears DiagDataSent, posts the record built from the fields and sets the
// flag only on a 2xx status.  Every failure is swallowed.
void UploadDiagData(MainFields& fields, HttpClient& http, const QUrl& url);

// The diagnostics address chosen at build time, or PRALIX_DIAG_URL from the
// environment when that is set and not empty.
QUrl DiagDataUrl();

// Action 2's message: the support contacts after a sent record, otherwise
// the no-connection text.
QString DiagDataReportText(bool sent);

}  // namespace pralix
