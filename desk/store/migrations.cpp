#include "store/migrations.h"

namespace pralix::desk {
namespace {

// Times are integer milliseconds since 1970 UTC.  seen_at is the time a
// record stands for: tested_at, or received_at when the tool sent no time.
Migration RecordsAndPrinters() {
  return {1, "records and printers", {
      QStringLiteral(
          "CREATE TABLE records ("
          " id {id},"
          " idempotency_key TEXT UNIQUE,"
          " received_at {int64} NOT NULL,"
          " tested_at {int64},"
          " seen_at {int64} NOT NULL,"
          " client_address TEXT NOT NULL,"
          " tool_version TEXT,"
          " raw_body {blob} NOT NULL,"
          " ibfm TEXT {bytewise} NOT NULL, pib TEXT NOT NULL, fw TEXT NOT NULL, jx TEXT NOT NULL,"
          " tg TEXT NOT NULL, bpdi TEXT NOT NULL, plu TEXT NOT NULL, cp TEXT NOT NULL,"
          " diff TEXT NOT NULL, h6l TEXT NOT NULL)"),
      QStringLiteral("CREATE INDEX records_by_printer ON records (ibfm, seen_at, id)"),
      // One row per printer: the values of its latest record and the numbers
      // and findings the fleet is sorted and filtered by.
      QStringLiteral(
          "CREATE TABLE printers ("
          " ibfm TEXT {bytewise} PRIMARY KEY,"
          " pib TEXT NOT NULL, fw TEXT NOT NULL, jx TEXT NOT NULL, tg TEXT NOT NULL,"
          " bpdi TEXT NOT NULL, plu TEXT NOT NULL, cp TEXT NOT NULL, diff TEXT NOT NULL, h6l TEXT NOT NULL,"
          " last_record_id {int64} NOT NULL REFERENCES records (id),"
          " last_tested_at {int64},"
          " last_received_at {int64} NOT NULL,"
          " tool_version TEXT,"
          " client_address TEXT NOT NULL,"
          " first_seen {int64} NOT NULL,"
          " last_seen {int64} NOT NULL,"
          " record_count {int64} NOT NULL,"
          " free_daily_reports INTEGER,"
          " articles INTEGER,"
          " clock_minutes INTEGER,"
          " free_daily_reports_low INTEGER NOT NULL,"
          " articles_high INTEGER NOT NULL,"
          " serial_unknown INTEGER NOT NULL,"
          " clock_off INTEGER NOT NULL,"
          " firmware_unknown INTEGER NOT NULL,"
          " findings INTEGER NOT NULL)"),
      // The fleet page sorts by any column and filters by findings.
      QStringLiteral("CREATE INDEX printers_by_pib ON printers (pib)"),
      QStringLiteral("CREATE INDEX printers_by_fw ON printers (fw)"),
      QStringLiteral("CREATE INDEX printers_by_jx ON printers (jx)"),
      QStringLiteral("CREATE INDEX printers_by_tg ON printers (tg)"),
      QStringLiteral("CREATE INDEX printers_by_cp ON printers (cp)"),
      QStringLiteral("CREATE INDEX printers_by_tool_version ON printers (tool_version)"),
      QStringLiteral("CREATE INDEX printers_by_first_seen ON printers (first_seen)"),
      QStringLiteral("CREATE INDEX printers_by_last_seen ON printers (last_seen)"),
      QStringLiteral("CREATE INDEX printers_by_record_count ON printers (record_count)"),
      QStringLiteral("CREATE INDEX printers_by_free_daily_reports ON printers (free_daily_reports)"),
      QStringLiteral("CREATE INDEX printers_by_articles ON printers (articles)"),
      QStringLiteral("CREATE INDEX printers_by_clock_minutes ON printers (clock_minutes)"),
      QStringLiteral("CREATE INDEX printers_by_findings ON printers (findings, last_seen)"),
      QStringLiteral("CREATE INDEX printers_free_daily_reports_low ON printers (free_daily_reports_low, last_seen)"),
      QStringLiteral("CREATE INDEX printers_articles_high ON printers (articles_high, last_seen)"),
      QStringLiteral("CREATE INDEX printers_serial_unknown ON printers (serial_unknown, last_seen)"),
      QStringLiteral("CREATE INDEX printers_clock_off ON printers (clock_off, last_seen)"),
      QStringLiteral("CREATE INDEX printers_firmware_unknown ON printers (firmware_unknown, last_seen)"),
  }};
}

}  // namespace

std::vector<Migration> DeskMigrations() { return {RecordsAndPrinters()}; }

int LatestSchemaVersion() { return DeskMigrations().back().version; }

}  // namespace pralix::desk
