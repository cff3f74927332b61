#include "support/sample_records.h"

#include <QStringList>

#include "diagdata/diagdata_form.h"

namespace pralix::desk::test {

DiagValues SampleValues(const QString& ibfm, int n) {
  return {ibfm,
          QStringLiteral("123456789"),
          QStringLiteral("1.22SR 09NOV03 1230,BB78"),
          QStringLiteral("10.0/10.2.5"),
          QStringLiteral("010110000"),
          QString::number(900 - n),
          QStringLiteral("150"),
          QStringLiteral("COM3/Ser"),
          QStringLiteral("00:02"),
          QString::fromUtf8("PRODAVNICA %1\r\nŠumadijska 1\r\nBeograd\r\nPIB 123456789\r\n\r\nHVALA\r\nDIAG\n").arg(n)};
}

QByteArray BodyOf(const DiagValues& values) {
  QStringList lines;
  for (int i = 0; i < kDiagDataFieldCount; ++i) lines += QLatin1String(kDiagDataFieldNames[i]) + QLatin1Char('=') + values[i];
  return EncodeDiagDataForm(lines);
}

QByteArray SampleBody(const QString& ibfm, int n) { return BodyOf(SampleValues(ibfm, n)); }

DiagRecord SampleRecord(const QString& ibfm, int n, const QString& key, qint64 receivedAtMs,
                        std::optional<qint64> testedAtMs) {
  DiagRecord record;
  record.values = SampleValues(ibfm, n);
  record.rawBody = BodyOf(record.values);
  record.receivedAtMs = receivedAtMs;
  record.testedAtMs = testedAtMs;
  record.clientAddress = QStringLiteral("192.0.2.7");
  record.idempotencyKey = key;
  record.toolVersion = QStringLiteral("10.2.350");
  return record;
}

}  // namespace pralix::desk::test
