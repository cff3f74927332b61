#include "workstation/diag_upload.h"

#include <QUuid>

#include "build_config.h"
#include "workstation/diag_data.h"

namespace pralix {

HttpHeaders DiagDataHeaders() {
  return {
      {"Accept", kDiagDataAccept},
      {"User-Agent", kDiagDataUserAgent},
      {"Content-Type", kFormContentType},
  };
}

HttpHeaders DiagDataRecordHeaders(const QDateTime& testTime) {
  HttpHeaders headers = DiagDataHeaders();
  headers.append({QByteArray(kIdempotencyKeyHeader), QUuid::createUuid().toByteArray(QUuid::WithoutBraces)});
  headers.append({QByteArray(kTestedAtHeader), testTime.toUTC().toString(Qt::ISODateWithMs).toLatin1()});
  headers.append({QByteArray(kToolVersionHeader), QByteArray(PRALIX_VERSION)});
  return headers;
}

bool IsSuccessStatus(int status) { return status >= 200 && status <= 299; }

void UploadDiagData(MainFields& fields, HttpClient& http, const QUrl& url, const QDateTime& testTime) {
  fields.DiagDataSent = false;
  try {
    const QByteArray body = EncodeDiagDataForm(BuildDiagData(fields));
    fields.DiagDataSent = IsSuccessStatus(http.post(url, DiagDataRecordHeaders(testTime), body));
  } catch (...) {
    // The upload is silent: its outcome is only the flag, which stays false.
  }
}

QUrl DiagDataUrl() {
  const QString fromEnvironment = qEnvironmentVariable("PRALIX_DIAG_URL");
  return QUrl(fromEnvironment.isEmpty() ? QString::fromUtf8(PRALIX_DIAG_URL) : fromEnvironment);
}

QString DiagDataReportText(bool sent) {
  if (!sent) return QStringLiteral("Nema internet konekcije!\n\n----------\n\nNo internet connection!");
  const QString contacts =
      QString::fromUtf8(PRALIX_SUPPORT_EMAIL) + QStringLiteral(" , ") + QString::fromUtf8(PRALIX_SUPPORT_PHONE);
  return QString::fromUtf8("Podaci iz DiagData poslati u Ostrik Support Center!\n\nPodrška na:\n\n") + contacts +
         QStringLiteral("\n\n----------\n\nDiagData are sent to Ostrik Support Center!\n\nFor support, contact us:\n\n") +
         contacts;
}

}  // namespace pralix
