#pragma once
// What the desk's pages (and its API and CSV export) read: the fleet
// filtered, sorted and paged, its counts, and one printer's recent records.
// Every read is bounded: the fleet reads only the printers table, a page at
// a time; a printer's records are read newest first, as many as are shown.

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "records/diag_record.h"
#include "records/fleet_filter.h"
#include "store/desk_store.h"

namespace pralix::desk {

// The whole fleet's counts, each a link that filters by it.
struct FleetCounts {
  qint64 printers = 0;
  qint64 freeZLow = 0;
  qint64 articlesHigh = 0;
  qint64 serialUnknown = 0;
  qint64 clockOff = 0;
  qint64 firmwareUnknown = 0;
  qint64 notSeen = 0;  // last seen before the time asked for

  qint64 of(Finding finding) const;
};

// A record as a printer's page lists it: its values and times, without the
// raw body (read alone, on demand).
struct ListedRecord {
  qint64 id = 0;
  DiagValues values;
  qint64 receivedAtMs = 0;
  std::optional<qint64> testedAtMs;
  QString toolVersion;

  qint64 shownAtMs() const { return testedAtMs.value_or(receivedAtMs); }
};

class FleetQueries {
 public:
  virtual ~FleetQueries() = default;

  // notSeenBeforeMs: the time before which a printer counts as not seen.
  // Each call throws StoreFailure when the database failed.
  virtual FleetCounts counts(qint64 notSeenBeforeMs) = 0;
  // The printers matching the filter (its page is ignored): how many, and
  // limit of them from offset, in the filter's order with ibfm breaking ties.
  virtual qint64 countMatching(const FleetFilter& filter, qint64 nowMs) = 0;
  virtual std::vector<PrinterSummary> printers(const FleetFilter& filter, qint64 nowMs, qint64 offset, int limit) = 0;

  virtual std::optional<PrinterSummary> printer(const QString& ibfm) = 0;
  // Its records newest first (by the time they stand for, then arrival order).
  virtual std::vector<ListedRecord> recentRecords(const QString& ibfm, qint64 offset, int limit) = 0;
  // The body exactly as it came, when the record belongs to that printer.
  virtual std::optional<QByteArray> rawBody(const QString& ibfm, qint64 recordId) = 0;
};

// The time before which "not seen for N days" counts a printer.
qint64 NotSeenBeforeMs(qint64 nowMs, int days);

}  // namespace pralix::desk
