#pragma once
// When a printer's fiscal memory will run out of daily (Z) reports, from
// the pace of its recent records: a least-squares line through the free-Z
// counts of the last 90 days before its newest record, where it crosses 45
// (the tool starts marking the count red) and 0 (no Z report possible).

#include <optional>
#include <vector>

#include <QtGlobal>

namespace pralix::desk {

inline constexpr int kForecastWindowDays = 90;
// Fewer days than this between the first and last point give no pace worth
// a date: a few tests on one afternoon say nothing about the weeks after.
inline constexpr int kMinForecastSpanDays = 3;

struct FreeZPoint {
  qint64 atMs = 0;
  int freeZ = 0;
};

struct FreeZForecast {
  double perDay = 0;        // the line's slope, negative
  qint64 anchorMs = 0;      // the newest point's time
  double anchorValue = 0;   // the line's value there
  qint64 reachesLimitMs = 0;  // the line at kMinFreeDailyReports
  qint64 runsOutMs = 0;       // the line at 0
  qint64 windowStartMs = 0;   // the oldest point the line was fitted to

  double valueAt(qint64 ms) const;
};

// Nothing when the window holds fewer than two points, spans fewer than
// kMinForecastSpanDays, or the line does not fall.  Points in any order.
std::optional<FreeZForecast> ForecastFreeZ(const std::vector<FreeZPoint>& points);

}  // namespace pralix::desk
