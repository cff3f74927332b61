#include "store/fleet_sort_indexes.h"

namespace pralix::desk {

// The fleet page sorts by any column with ibfm breaking ties, and reads one
// page of it: an index of (column, ibfm) hands out the page in order without
// sorting the rows that share a value (thousands share a tax group or a
// firmware).  The nullable numbers are indexed by the same expression the
// query sorts by (SortExpression in sql_fleet_queries.cpp), which puts an
// unreadable value below every number on both databases.  The one-column
// indexes of migration 1 are covered by these and go.
Migration FleetSortIndexes() {
  QStringList statements;
  const char* const columns[] = {"pib", "fw", "jx", "tg", "cp", "last_seen", "record_count"};
  for (const char* column : columns) {
    statements += QStringLiteral("CREATE INDEX printers_sorted_by_%1 ON printers (%1, ibfm)").arg(QLatin1String(column));
    statements += QStringLiteral("DROP INDEX printers_by_%1").arg(QLatin1String(column));
  }
  const char* const nullable[] = {"free_daily_reports", "articles", "clock_minutes"};
  for (const char* column : nullable) {
    statements += QStringLiteral("CREATE INDEX printers_sorted_by_%1 ON printers ((COALESCE(%1, -2147483649)), ibfm)")
                      .arg(QLatin1String(column));
    statements += QStringLiteral("DROP INDEX printers_by_%1").arg(QLatin1String(column));
  }
  return {3, "fleet sort indexes", statements};
}

}  // namespace pralix::desk
