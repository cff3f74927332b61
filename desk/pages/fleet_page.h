#pragma once
// The fleet page (GET /): the counts that filter, the search and filter
// form, one sortable row per printer, pages of a hundred, and the CSV of
// the same view.  Built from what the store read, so it is tested without one.

#include <QString>
#include <vector>

#include "records/fleet_filter.h"
#include "store/desk_store.h"
#include "store/fleet_queries.h"

namespace pralix::desk {

// "Not seen for N days" in the counts when the filter names no other N.
inline constexpr int kDefaultNotSeenDays = 90;

struct FleetView {
  FleetFilter filter;  // its page within 1..pages
  FleetCounts counts;  // the whole fleet's
  int notSeenDays = kDefaultNotSeenDays;
  qint64 matching = 0;  // printers the filter finds
  std::vector<PrinterSummary> printers;  // this page's
};

inline constexpr char kFleetTitle[] = "Štampači / Printers";

// The page's main content (ids: counts, count-*, filter, q, rows, csv, fleet, prev, next).
QString FleetPageMain(const FleetView& view);

// The link that shows the fleet with this filter: "/" or "/?...".
QString FleetLink(const FleetFilter& filter);
// The printer's page: "/printers/" and the ibfm URL-encoded.
QString PrinterLink(const QString& ibfm);

}  // namespace pralix::desk
