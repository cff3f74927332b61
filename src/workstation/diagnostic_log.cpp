#include "workstation/diagnostic_log.h"

#include <QDir>

#include "interfaces/file_copy.h"
#include "workstation/ansi_text.h"
#include "workstation/log_file_writes.h"
#include "workstation/model_catalogue.h"

namespace pralix {
namespace {

// Short counts are filled on the left to four characters; longer ones stay
// whole, so -1 becomes 00-1 and 12345 stays 12345.
QString ZeroFilled(const QString& text) {
  constexpr qsizetype kWidth = 4;
  return text.size() < kWidth ? QString(kWidth - text.size(), u'0') + text : text;
}

}  // namespace

QByteArray DiagnosticLogLine(const MainFields& fields, const QDate& today) {
  // The model code is single-byte text already and goes in as it is.
  const QByteArray serial = ModelCode(fields) + EncodeAnsiText(fields.LEIBFM.text.mid(2, 6));
  const QStringList rest = {
      fields.LEPIB.text,
      fields.LEFirmware.text.left(6),
      QStringLiteral("PDI=") + ZeroFilled(fields.LEBPDI.text),
      QStringLiteral("PLU=") + ZeroFilled(fields.LEPluNumber.text),
      fields.LETax.text,
      fields.LEDTDiff.text.left(5),  // hh:nn, or "Dana:" for a day count
      fields.LEFPPort.text,
      today.toString(QStringLiteral("yyyy-MM-dd")),
  };
  return serial + ", " + EncodeAnsiText(rest.join(QStringLiteral(", ")));
}

void WriteDiagnosticLogs(const MainFields& fields, const Clock& clock,
                         const QString& workingDirectory, const DiagnosticLogSources& sources) {
  const QDir dir(workingDirectory);
  const QString logPath = dir.filePath(QString::fromLatin1(kSummaryLogName));
  const QString failure = AppendLogLine(logPath, DiagnosticLogLine(fields, clock.now().date()));
  if (!failure.isEmpty()) {
    throw DiagnosticLogError(
        QStringLiteral("Cannot create file \"%1\". %2").arg(QDir::toNativeSeparators(logPath), failure).toStdString());
  }
  CopyFileOver(sources.fiscalLinkVersionIni, dir.filePath(QString::fromLatin1(kFiscalLinkVersionCopyName)));
  CopyFileOver(sources.kuvoVersionIni, dir.filePath(QString::fromLatin1(kKuvoVersionCopyName)));
}

}  // namespace pralix
