#pragma once
// Where the made-up fleet goes: records in the order the desk received them,
// each with the id the desk would have given it, then one row per printer.
// Only the implementations know SQL.

#include <vector>

#include "records/diag_record.h"

namespace pralix::desk::fill {

struct NumberedRecord {
  qint64 id;
  DiagRecord record;
};

// A printer as the desk's store leaves it after all its records: the values
// of its latest record (by test time, else arrival; a later arrival wins a
// tie) and what all of them add up to.
struct FleetPrinter {
  DiagRecord latest;
  qint64 latestId = 0;
  qint64 firstSeenMs = 0;
  qint64 lastSeenMs = 0;
  qint64 recordCount = 0;
};

class FleetSink {
 public:
  virtual ~FleetSink() = default;
  // One batch, in id order, as one transaction.
  virtual void addRecords(const std::vector<NumberedRecord>& records) = 0;
  virtual void addPrinters(const std::vector<FleetPrinter>& printers) = 0;
  // After the last batch: what the database needs to go on as the desk's
  // (the next id after the last one given).
  virtual void finish() = 0;
};

}  // namespace pralix::desk::fill
