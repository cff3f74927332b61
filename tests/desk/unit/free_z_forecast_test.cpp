// The free-Z forecast and the change marks between a printer's records.

#include <gtest/gtest.h>

#include "records/free_z_forecast.h"
#include "records/record_changes.h"
#include "records/utc_time.h"

namespace pralix::desk {
namespace {

constexpr qint64 kDay = 24LL * 60 * 60 * 1000;
constexpr qint64 kT0 = 1796803200000;  // 2026-12-09T08:00:00Z

std::vector<FreeZPoint> Points(std::initializer_list<std::pair<double, int>> dayAndFreeZ) {
  std::vector<FreeZPoint> points;
  for (const auto& [day, freeZ] : dayAndFreeZ) points.push_back({kT0 + qint64(day * kDay), freeZ});
  return points;
}

TEST(ForecastFreeZ, AFallingLineGivesTheDaysItCrosses45And0) {
  // One Z a day, newest first in the input: 100 on day 0, so 45 on day 55 and 0 on day 100.
  const auto forecast = ForecastFreeZ(Points({{0, 100}, {-10, 110}, {-30, 130}}));
  ASSERT_TRUE(forecast);
  EXPECT_DOUBLE_EQ(forecast->perDay, -1.0);
  EXPECT_EQ(FormatDay(forecast->reachesLimitMs), FormatDay(kT0 + 55 * kDay));
  EXPECT_EQ(FormatDay(forecast->runsOutMs), FormatDay(kT0 + 100 * kDay));
  EXPECT_EQ(forecast->windowStartMs, kT0 - 30 * kDay);
  EXPECT_DOUBLE_EQ(forecast->valueAt(kT0 + 20 * kDay), 80);

  // A scattered line: least squares, not the two ends.
  const auto scattered = ForecastFreeZ(Points({{0, 50}, {-1, 58}, {-2, 52}, {-3, 56}}));
  ASSERT_TRUE(scattered);
  EXPECT_NEAR(scattered->perDay, -1.2, 1e-9);  // the two ends alone would say -2
  // Points older than 90 days before the newest are left out.
  const auto recent = ForecastFreeZ(Points({{0, 100}, {-10, 110}, {-91, 5000}}));
  ASSERT_TRUE(recent);
  EXPECT_DOUBLE_EQ(recent->perDay, -1.0);
}

TEST(ForecastFreeZ, NoForecastWithoutAFallingLineOverEnoughDays) {
  const struct {
    const char* what;
    std::vector<FreeZPoint> points;
  } cases[] = {
      {"nothing", {}},
      {"one point", Points({{0, 100}})},
      {"flat", Points({{0, 100}, {-10, 100}, {-20, 100}})},
      {"rising", Points({{0, 120}, {-10, 100}})},
      {"under three days apart", Points({{0, 100}, {-2.9, 103}})},
      {"one in the window", Points({{0, 100}, {-95, 195}})},
      {"same time twice", Points({{0, 100}, {0, 99}})},
  };
  for (const auto& c : cases) EXPECT_FALSE(ForecastFreeZ(c.points)) << c.what;
  EXPECT_TRUE(ForecastFreeZ(Points({{0, 100}, {-3, 103}})));
}

DiagValues Values(const char* pib, const char* fw, const char* bpdi) {
  DiagValues values;
  values[kPib] = QString::fromLatin1(pib);
  values[kFw] = QString::fromLatin1(fw);
  values[kBpdi] = QString::fromLatin1(bpdi);
  return values;
}

TEST(ChangesSince, MarksAnotherPibFirmwareAndZJumpsBeyondOnePerDay) {
  const qint64 late = kT0 + 14 * 60 * 60 * 1000;  // 22:00 the same day
  const struct {
    const char* what;
    DiagValues before;
    qint64 beforeAt;
    DiagValues after;
    qint64 afterAt;
    bool pib, firmware, jump;
  } cases[] = {
      {"nothing", Values("1", "a", "100"), kT0, Values("1", "a", "100"), kT0 + kDay, false, false, false},
      {"another PIB", Values("1", "a", "100"), kT0, Values("2", "a", "100"), kT0 + kDay, true, false, false},
      {"firmware", Values("1", "a", "100"), kT0, Values("1", "b", "100"), kT0 + kDay, false, true, false},
      {"one more Z", Values("1", "a", "100"), kT0, Values("1", "a", "101"), kT0 + kDay, false, false, true},
      {"10 days, 11 fewer", Values("1", "a", "100"), kT0, Values("1", "a", "89"), kT0 + 10 * kDay, false, false, false},
      {"10 days, 12 fewer", Values("1", "a", "100"), kT0, Values("1", "a", "88"), kT0 + 10 * kDay, false, false, true},
      {"same day, 1 fewer", Values("1", "a", "100"), kT0, Values("1", "a", "99"), late, false, false, false},
      {"same day, 2 fewer", Values("1", "a", "100"), kT0, Values("1", "a", "98"), late, false, false, true},
      // 22:00 to 02:00 is the next calendar day: two Z reports are possible.
      {"across midnight", Values("1", "a", "100"), late, Values("1", "a", "98"), late + 4 * 60 * 60 * 1000, false, false, false},
      {"unreadable count", Values("1", "a", "?"), kT0, Values("1", "a", "5"), kT0 + kDay, false, false, false},
  };
  for (const auto& c : cases) {
    const RecordChanges changes = ChangesSince(c.before, c.beforeAt, c.after, c.afterAt);
    EXPECT_EQ(changes.pib, c.pib) << c.what;
    EXPECT_EQ(changes.firmware, c.firmware) << c.what;
    EXPECT_EQ(changes.freeZJump, c.jump) << c.what;
    EXPECT_EQ(changes.any(), c.pib || c.firmware || c.jump) << c.what;
  }
}

}  // namespace
}  // namespace pralix::desk
