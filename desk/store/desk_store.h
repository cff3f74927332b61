#pragma once
// The one interface to the desk's database: records in, the fleet and a
// printer's history out.  Only its implementations know SQL.

#include <QString>
#include <stdexcept>
#include <vector>

#include "records/diag_record.h"
#include "records/printer_findings.h"

namespace pralix::desk {

// A database that could not be reached or refused a statement; what was in
// the failed transaction is not stored.
class StoreFailure : public std::runtime_error {
 public:
  explicit StoreFailure(const QString& message) : std::runtime_error(message.toStdString()) {}
  QString message() const { return QString::fromStdString(what()); }
};

enum class StoreOutcome {
  Stored,         // a new record, committed
  AlreadyStored,  // its key was stored before with the same body: nothing new
  KeyConflict,    // its key was stored before with another body: nothing stored
};

// One printer of the fleet: the values of its last record (by test time,
// else arrival) and what all its records add up to.
struct PrinterSummary {
  DiagValues values;
  QString toolVersion;
  qint64 firstSeenMs = 0;
  qint64 lastSeenMs = 0;
  qint64 recordCount = 0;
  PrinterFindings findings;
};

class DeskStore {
 public:
  virtual ~DeskStore() = default;

  // Stores the records in one transaction, in order, and gives each one's
  // outcome; a record repeats a key stored earlier in the same call just as
  // one stored before.  Throws StoreFailure when the transaction failed:
  // then none of them is stored.
  virtual std::vector<StoreOutcome> store(const std::vector<DiagRecord>& records) = 0;

  // Every printer, by ibfm (byte order).
  virtual std::vector<PrinterSummary> printers() = 0;
  // One printer's records, oldest first by the time they stand for.
  virtual std::vector<DiagRecord> recordsOf(const QString& ibfm) = 0;
  virtual qint64 recordCount() = 0;
};

}  // namespace pralix::desk
