#pragma once
// The diagnostic logs a test leaves in the working directory: one summary
// line per test in "Pralix_log.txt", and copies of two version files.

#include <QByteArray>
#include <QDate>
#include <QString>
#include <stdexcept>

#include "interfaces/clock.h"
#include "workstation/main_fields.h"

namespace pralix {

inline constexpr char kSummaryLogName[] = "Pralix_log.txt";
inline constexpr char kFiscalLinkVersionCopyName[] = "Pralix2_log.txt";
inline constexpr char kKuvoVersionCopyName[] = "Pralix3_log.txt";

// Local paths of the two version files that are copied (the caller maps the
// fixed Windows paths onto this PC).
struct DiagnosticLogSources {
  QString fiscalLinkVersionIni;  // C:\Belmora\Appl\Version.ini
  QString kuvoVersionIni;        // C:\Kuvo\ApplInit\IniFiles\Kuvo_Version.ini
};

// The summary log cannot be written; what() is the text of the standard
// error box that ends the test.
class DiagnosticLogError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Serial, PIB, firmware, PDI=, PLU=, tax groups, clock difference, port and
// today's date, joined by ", "; single-byte ANSI text without a line end.
QByteArray DiagnosticLogLine(const MainFields& fields, const QDate& today);

// Appends today's line to the summary log, then replaces the two copies.
// Throws DiagnosticLogError when the line cannot be added, before any copy;
// missing or failed copies are ignored.
void WriteDiagnosticLogs(const MainFields& fields, const Clock& clock,
                         const QString& workingDirectory, const DiagnosticLogSources& sources);

}  // namespace pralix
