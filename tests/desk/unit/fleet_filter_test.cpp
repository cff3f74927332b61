// The fleet's query parameters: what each reads as, the defaults a bad
// value falls back to, and search texts that must stay data.

#include <gtest/gtest.h>

#include "records/fleet_filter.h"
#include "store/sql_fleet_queries.h"

namespace pralix::desk {
namespace {

FleetFilter With(void (*change)(FleetFilter&)) {
  FleetFilter filter;
  change(filter);
  return filter;
}

struct FilterCase {
  const char* query;
  FleetFilter expected;
};

TEST(ParseFleetFilter, ReadsEachParameterAndFallsBackOnAnythingElse) {
  const FilterCase cases[] = {
      {"", FleetFilter()},
      {"q=AG12&finding=clock_off&not_seen_days=90&sort=bpdi&order=desc&page=3", With([](FleetFilter& f) {
         f.search = QStringLiteral("AG12"), f.finding = Finding::ClockOff, f.notSeenDays = 90;
         f.sort = FleetColumn::FreeZ, f.descending = true, f.page = 3;
       })},
      {"q=+%C5%A0abac+12+&q=second", With([](FleetFilter& f) { f.search = QString::fromUtf8("Šabac 12"); })},
      {"q=a%00b%0D%0Ac", With([](FleetFilter& f) { f.search = QStringLiteral("abc"); })},
      {"q=%FF", With([](FleetFilter& f) { f.search = QString(QChar(0xFFFD)); })},
      {"finding=FREE_Z_LOW&sort=pib%3B+DROP+TABLE+printers&order=DESC", FleetFilter()},
      {"sort=ibfm&order=asc", FleetFilter()},
      {"sort=last_seen&sort=records", With([](FleetFilter& f) { f.sort = FleetColumn::LastTest; })},
      {"not_seen_days=-1&page=0", FleetFilter()},
      {"not_seen_days=0&page=1000000", With([](FleetFilter& f) { f.notSeenDays = 0, f.page = kMaxPage; })},
      {"not_seen_days=36501&page=1000001", FleetFilter()},
      {"not_seen_days=9x&page=2.5", FleetFilter()},
      {"not_seen_days=99999999999999999999&page=+3", FleetFilter()},
      {"page&sort=&=x&&finding", FleetFilter()},
  };
  for (const FilterCase& c : cases) EXPECT_EQ(ParseFleetFilter(c.query), c.expected) << c.query;
}

TEST(ParseFleetFilter, CutsALongSearchAndKeepsHostileTextAsData) {
  EXPECT_EQ(ParseFleetFilter("q=" + QByteArray(200, '7')).search.size(), kMaxSearchLength);
  const char* const hostile[] = {"%", "_", "'", "\"; DROP TABLE records; --", "AG' OR '1'='1", "<script>"};
  for (const char* text : hostile) {
    FleetFilter filter;
    filter.search = QString::fromUtf8(text);
    filter.finding = Finding::FirmwareUnknown;
    filter.sort = FleetColumn::Records;
    EXPECT_EQ(ParseFleetFilter(FleetQuery(filter)), filter) << text;
  }
}

TEST(FleetQuery, NamesEveryColumnAndFindingAndReadsBack) {
  for (const FleetColumn column : kAllFleetColumns)
    for (const bool descending : {false, true}) {
      FleetFilter filter;
      filter.sort = column;
      filter.descending = descending;
      filter.page = 7;
      EXPECT_EQ(ParseFleetFilter(FleetQuery(filter)), filter) << ColumnName(column).constData();
      EXPECT_FALSE(SortExpression(column).isEmpty());
    }
  for (const Finding finding : kAllFindings) {
    FleetFilter filter;
    filter.finding = finding;
    EXPECT_EQ(FleetQuery(filter), "finding=" + FindingName(finding));
  }
  EXPECT_EQ(FleetQuery(FleetFilter()), QByteArray());
}

TEST(ContainsPattern, TakesLikesWildcardsAndItsEscapeLiterallyAndUpperCasesAscii) {
  EXPECT_EQ(ContainsPattern(QString::fromUtf8("50%_x!š'\"")), QString::fromUtf8("%50!%!_X!!š'\"%"));
}

}  // namespace
}  // namespace pralix::desk
