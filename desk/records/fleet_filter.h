#pragma once
// What a view of the fleet asks for, read from a URL's query: a search
// text, one finding, "not seen for N days", a sort column and order, and a
// page.  The fleet page, the API and the CSV export read the same
// parameters here; a value that is not understood falls back to its default,
// so a hand-edited link still shows a page.

#include <QByteArray>
#include <QString>
#include <optional>

namespace pralix::desk {

inline constexpr int kFleetPageSize = 100;
// Longer search texts are cut: no serial or PIB is this long.
inline constexpr int kMaxSearchLength = 64;
inline constexpr int kMaxNotSeenDays = 36500;
inline constexpr int kMaxPage = 1000000;

// The judgements of value_judgement.h, as the fleet filters by them.
enum class Finding { FreeZLow, ArticlesHigh, SerialUnknown, ClockOff, FirmwareUnknown };
inline constexpr Finding kAllFindings[] = {Finding::FreeZLow, Finding::ArticlesHigh, Finding::SerialUnknown,
                                           Finding::ClockOff, Finding::FirmwareUnknown};

// The fleet table's columns, each sortable.
enum class FleetColumn { Ibfm, Pib, Firmware, Jx, FreeZ, Articles, TaxGroups, ClockDifference, Port, LastTest, Records };
inline constexpr FleetColumn kAllFleetColumns[] = {
    FleetColumn::Ibfm,     FleetColumn::Pib,       FleetColumn::Firmware,        FleetColumn::Jx,
    FleetColumn::FreeZ,    FleetColumn::Articles,  FleetColumn::TaxGroups,       FleetColumn::ClockDifference,
    FleetColumn::Port,     FleetColumn::LastTest,  FleetColumn::Records};

struct FleetFilter {
  QString search;                   // in the serial or the PIB; empty: every printer
  std::optional<Finding> finding;   // only printers with this finding
  std::optional<int> notSeenDays;   // only printers last seen more than N days ago
  FleetColumn sort = FleetColumn::Ibfm;
  bool descending = false;
  int page = 1;                     // 1-based, pages of kFleetPageSize

  bool operator==(const FleetFilter&) const = default;
};

// Parameter names and values: q, finding, not_seen_days, sort, order, page.
FleetFilter ParseFleetFilter(const QByteArray& query);
// The query (without "?") that ParseFleetFilter reads back as the filter;
// parameters at their default are left out.
QByteArray FleetQuery(const FleetFilter& filter);

// "free_z_low", "articles_high", "serial_unknown", "clock_off", "firmware_unknown".
QByteArray FindingName(Finding finding);
// "ibfm", "pib", "fw", "jx", "bpdi", "plu", "tg", "diff", "cp", "last_seen", "records":
// the names the command line's JSON gives these values.
QByteArray ColumnName(FleetColumn column);

// The first value of a parameter in a query, decoded (a "+" is a space, as
// HTML forms send it); nothing when it is absent.
std::optional<QString> QueryValue(const QByteArray& query, const QByteArray& name);

}  // namespace pralix::desk
