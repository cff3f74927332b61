#pragma once
// The fleet's reads over Qt SQL, on SQLite or PostgreSQL alike.  Sorting
// and filtering go through fixed column names and bound values only: the
// filter's texts never become SQL.  Each sort runs down an index of
// (column, ibfm), so a page costs its hundred rows whatever the fleet's size.

#include <QStringList>
#include <memory>

#include "store/fleet_queries.h"
#include "store/sql_connection.h"
#include "store/sql_dialect.h"

namespace pralix::desk {

// How a page of the fleet is read: down the sort's index, each row checked
// against the filter (cheap when many match), or the filter's index finds
// the few that match and they are sorted (cheap when few do).  SQLite
// without statistics guesses which wrongly often enough to be told.
enum class FleetPlan { WalkSortIndex, NarrowThenSort };
inline constexpr qint64 kFewMatches = 2000;

class SqlFleetQueries : public FleetQueries {
 public:
  // The connection's schema must be current (MigrateSchema).
  // fewMatches: up to this many printers matching a filter are found first
  // and sorted; more, and the sort's index is walked.
  SqlFleetQueries(std::unique_ptr<SqlDialect> dialect, std::unique_ptr<SqlConnection> connection,
                  qint64 fewMatches = kFewMatches);

  FleetCounts counts(qint64 notSeenBeforeMs) override;
  qint64 countMatching(const FleetFilter& filter, qint64 nowMs) override;
  std::vector<PrinterSummary> printers(const FleetFilter& filter, qint64 nowMs, qint64 offset, int limit) override;
  std::optional<PrinterSummary> printer(const QString& ibfm) override;
  std::vector<ListedRecord> recentRecords(const QString& ibfm, qint64 offset, int limit) override;
  std::optional<QByteArray> rawBody(const QString& ibfm, qint64 recordId) override;

 private:
  // How many printers a filter finds; for a search that finds few, which.
  struct Matches {
    FleetFilter filter;  // its page 1
    qint64 nowMs;
    qint64 count;
    std::optional<QStringList> ibfms;
  };
  Matches findMatches(const FleetFilter& filter, qint64 nowMs);
  qint64 count(const QString& where, const QVariantList& values);

  std::unique_ptr<SqlDialect> dialect_;
  std::unique_ptr<SqlConnection> connection_;
  qint64 fewMatches_;
  std::optional<Matches> lastMatches_;
};

// The SQL expression a fleet column sorts by.  The nullable numbers sort an
// unreadable value below every number on both databases (each orders NULL
// differently), through the same expression their index is made of.
QString SortExpression(FleetColumn column);

// The ORDER BY of the filter's sort, ibfm breaking ties.
QString FleetOrderBy(const FleetFilter& filter, FleetPlan plan = FleetPlan::WalkSortIndex);
bool SortsAsText(FleetColumn column);

// A LIKE pattern that finds the text anywhere, its own %, _ and ! taken
// literally (ESCAPE '!'), ASCII letters upper-cased (likeIgnoringAsciiCase).
QString ContainsPattern(const QString& text);


}  // namespace pralix::desk
