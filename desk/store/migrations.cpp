#include "store/migrations.h"

#include "store/fleet_sort_indexes.h"

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

// The people who sign in, their sessions (only a SHA-256 of the session id
// is kept, so a copy of the database signs no one in), the failed logins
// that slow the next ones down for every desk on the database, and the
// read-only API tokens (again only their SHA-256).
Migration AccountsSessionsAndTokens() {
  return {2, "accounts, sessions, login failures and API tokens", {
      QStringLiteral(
          "CREATE TABLE users ("
          " id {id},"
          " name TEXT {bytewise} NOT NULL UNIQUE,"
          " password_hash TEXT NOT NULL,"
          " created_at {int64} NOT NULL)"),
      QStringLiteral(
          "CREATE TABLE sessions ("
          " id_hash TEXT PRIMARY KEY,"
          " user_id {int64} NOT NULL REFERENCES users (id) ON DELETE CASCADE,"
          " csrf_token TEXT NOT NULL,"
          " created_at {int64} NOT NULL,"
          " last_used_at {int64} NOT NULL)"),
      QStringLiteral("CREATE INDEX sessions_by_user ON sessions (user_id)"),
      QStringLiteral("CREATE INDEX sessions_by_last_use ON sessions (last_used_at)"),
      QStringLiteral(
          "CREATE TABLE login_failures ("
          " id {id},"
          " account TEXT {bytewise} NOT NULL,"
          " client_address TEXT NOT NULL,"
          " failed_at {int64} NOT NULL)"),
      QStringLiteral("CREATE INDEX login_failures_by_account ON login_failures (account, failed_at)"),
      QStringLiteral("CREATE INDEX login_failures_by_address ON login_failures (client_address, failed_at)"),
      QStringLiteral("CREATE INDEX login_failures_by_time ON login_failures (failed_at)"),
      QStringLiteral(
          "CREATE TABLE api_tokens ("
          " id {id},"
          " name TEXT {bytewise} NOT NULL UNIQUE,"
          " token_hash TEXT NOT NULL UNIQUE,"
          " created_at {int64} NOT NULL,"
          " last_used_at {int64})"),
  }};
}

}  // namespace

std::vector<Migration> DeskMigrations() { return {RecordsAndPrinters(), AccountsSessionsAndTokens(), FleetSortIndexes()}; }

int LatestSchemaVersion() { return DeskMigrations().back().version; }

}  // namespace pralix::desk
