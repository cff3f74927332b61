#include "workstation/diag_upload.h"

#include "build_config.h"
#include "workstation/diag_data.h"

namespace pralix {
namespace {

bool StaysAsItIs(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '*' ||
         c == '-' || c == '.' || c == '_';
}

}  // namespace

QByteArray EncodeFormComponent(const QString& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  QByteArray encoded;
  for (const char c : text.toUtf8()) {
    const auto byte = static_cast<unsigned char>(c);
    if (StaysAsItIs(c)) {
      encoded += c;
    } else if (c == ' ') {
      encoded += '+';
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 0x0F];
    }
  }
  return encoded;
}

QByteArray EncodeDiagDataForm(const QStringList& record) {
  QByteArrayList fields;
  for (const QString& line : record) {
    const qsizetype equals = line.indexOf(u'=');
    const QString name = equals < 0 ? line : line.left(equals);
    const QString value = equals < 0 ? QString() : line.mid(equals + 1);
    fields += EncodeFormComponent(name) + '=' + EncodeFormComponent(value);
  }
  return fields.join('&');
}

HttpHeaders DiagDataHeaders() {
  return {
      {"Accept", kDiagDataAccept},
      {"User-Agent", kDiagDataUserAgent},
      {"Content-Type", kFormContentType},
  };
}

bool IsSuccessStatus(int status) { return status >= 200 && status <= 299; }

void UploadDiagData(MainFields& fields, HttpClient& http, const QUrl& url) {
  fields.DiagDataSent = false;
  try {
    const QByteArray body = EncodeDiagDataForm(BuildDiagData(fields));
    fields.DiagDataSent = IsSuccessStatus(http.post(url, DiagDataHeaders(), body));
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
