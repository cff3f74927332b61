#pragma once
// The printer paths: /printers/IBFM and /printers/IBFM/records/ID/raw, the
// IBFM percent-decoded (a serial may hold "/", "%" or anything else a till
// sent), the record id a positive decimal number.

#include <QString>
#include <optional>

namespace pralix::desk {

inline constexpr char kPrintersPrefix[] = "/printers/";

struct PrinterPath {
  QString ibfm;
  std::optional<qint64> rawRecordId;  // set for .../records/ID/raw
};

// Nothing for any other path under the prefix.  The path may come with its
// segments percent-encoded or already decoded where that is unambiguous
// (Qt leaves %2F and %25 encoded).
std::optional<PrinterPath> ParsePrinterPath(const QString& path);

}  // namespace pralix::desk
