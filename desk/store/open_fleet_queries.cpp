#include "store/open_fleet_queries.h"

#include "store/sql_fleet_queries.h"

namespace pralix::desk {
namespace {

// Holds the connection until a read fails; the next read connects anew, so
// one database outage costs the pages only while it lasts.
class ReconnectingFleetQueries : public FleetQueries {
 public:
  explicit ReconnectingFleetQueries(DatabaseUrl url) : url_(std::move(url)) {}

 private:
  // Defined before its users: they deduce their return type from it.
  template <typename Read>
  auto read(Read&& reading) {
    if (!queries_) {
      std::unique_ptr<SqlDialect> dialect = DialectFor(url_.kind);
      auto connection = std::make_unique<SqlConnection>(url_, *dialect);
      queries_ = std::make_unique<SqlFleetQueries>(std::move(dialect), std::move(connection));
    }
    try {
      return reading(*queries_);
    } catch (const StoreFailure&) {
      queries_.reset();
      throw;
    }
  }

 public:
  FleetCounts counts(qint64 notSeenBeforeMs) override {
    return read([&](FleetQueries& q) { return q.counts(notSeenBeforeMs); });
  }
  qint64 countMatching(const FleetFilter& filter, qint64 nowMs) override {
    return read([&](FleetQueries& q) { return q.countMatching(filter, nowMs); });
  }
  std::vector<PrinterSummary> printers(const FleetFilter& filter, qint64 nowMs, qint64 offset, int limit) override {
    return read([&](FleetQueries& q) { return q.printers(filter, nowMs, offset, limit); });
  }
  std::optional<PrinterSummary> printer(const QString& ibfm) override {
    return read([&](FleetQueries& q) { return q.printer(ibfm); });
  }
  std::vector<ListedRecord> recentRecords(const QString& ibfm, qint64 offset, int limit) override {
    return read([&](FleetQueries& q) { return q.recentRecords(ibfm, offset, limit); });
  }
  std::optional<QByteArray> rawBody(const QString& ibfm, qint64 recordId) override {
    return read([&](FleetQueries& q) { return q.rawBody(ibfm, recordId); });
  }

 private:
  DatabaseUrl url_;
  std::unique_ptr<FleetQueries> queries_;
};

}  // namespace

std::unique_ptr<FleetQueries> OpenFleetQueries(const DatabaseUrl& url) {
  return std::make_unique<ReconnectingFleetQueries>(url);
}

}  // namespace pralix::desk
