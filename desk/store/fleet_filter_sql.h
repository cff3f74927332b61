#pragma once
// What every reader of the printers table shares: a fleet filter as SQL
// terms with their bound values (the texts stay data), the printers row as a
// PrinterSummary.  The pages' queries and the CSV export read through it.

#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include "records/fleet_filter.h"
#include "store/desk_store.h"
#include "store/sql_dialect.h"

namespace pralix::desk {

// The columns PrinterAt reads, in its order, for a SELECT list.
QString PrinterColumns();
// A printer from a row that starts with PrinterColumns().
PrinterSummary PrinterAt(const QSqlQuery& query);

QString FindingColumn(Finding finding);

struct FilterSql {
  QStringList terms;    // to be joined by AND
  QVariantList values;  // in bind order

  // " WHERE ..." or nothing.
  QString where() const;
};

// The search's values come from ContainsPattern (sql_fleet_queries.h).
// indexed false: the finding and day terms are written so that no index
// serves them ("+column", the same value), which leaves the sort's index
// to walk.  The search looks at every row whichever way.
FilterSql FilterTerms(const FleetFilter& filter, qint64 nowMs, const SqlDialect& dialect, bool indexed = true);

}  // namespace pralix::desk
