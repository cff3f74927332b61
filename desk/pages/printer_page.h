#pragma once
// A printer's page (GET /printers/IBFM): who it is, its receipt header, the
// free Z chart with the day fiscal memory runs out, the clock chart, and its
// records a hundred at a time with what changed since the one before.
// Only the last kChartRecords records are read for the charts and the
// forecast, and the page says so.

#include <QString>
#include <vector>

#include "store/desk_store.h"
#include "store/fleet_queries.h"

namespace pralix::desk {

inline constexpr int kChartRecords = 365;
inline constexpr int kRecordPageSize = 100;

struct PrinterView {
  PrinterSummary printer;
  // Newest first: the last kChartRecords records.
  std::vector<ListedRecord> chartRecords;
  // Newest first: the table page's rows, then the record just before the
  // last of them when there is one (what its change marks compare with).
  std::vector<ListedRecord> tableRecords;
  int tablePage = 1;
  qint64 nowMs = 0;
};

// The main content (ids: identity, header-lines, forecast, chart-free-z,
// chart-clock, records, records-rows, prev, next).
QString PrinterPageMain(const PrinterView& view);

QString RawRecordLink(const QString& ibfm, qint64 recordId);

}  // namespace pralix::desk
