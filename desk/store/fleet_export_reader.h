#pragma once
// The fleet as the CSV export reads it: every printer that matches a
// filter, in its order, a batch at a time after the last row of the batch
// before (keyset pagination), so the 100 000th row costs what the first
// did and rows that arrive meanwhile neither repeat nor push others out.

#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

#include "records/fleet_filter.h"
#include "store/desk_store.h"

namespace pralix::desk {

// Where a batch ended: the sort column's value and the IBFM of its last row.
struct FleetCursor {
  QVariant sortKey;
  QString ibfm;
};

struct FleetBatch {
  std::vector<PrinterSummary> printers;
  std::optional<FleetCursor> last;  // nothing when the batch is empty
};

class FleetExportReader {
 public:
  virtual ~FleetExportReader() = default;
  // At most limit printers after the cursor (from the first without one);
  // the filter's page is not used.  Throws StoreFailure.
  virtual FleetBatch batchAfter(const FleetFilter& filter, qint64 nowMs, const std::optional<FleetCursor>& after,
                                int limit) = 0;
};

}  // namespace pralix::desk
