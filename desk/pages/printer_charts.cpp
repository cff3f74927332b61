#include "pages/printer_charts.h"

#include <algorithm>

#include "diagdata/value_judgement.h"
#include "records/utc_time.h"

namespace pralix::desk {
namespace {

constexpr qint64 kYearMs = 365LL * 24 * 60 * 60 * 1000;

std::vector<ChartPoint> Sorted(std::vector<ChartPoint> points) {
  std::sort(points.begin(), points.end(), [](const ChartPoint& a, const ChartPoint& b) { return a.atMs < b.atMs; });
  return points;
}

}  // namespace

std::vector<FreeZPoint> FreeZPoints(const std::vector<ListedRecord>& records) {
  std::vector<FreeZPoint> points;
  for (const ListedRecord& record : records)
    if (const std::optional<int> freeZ = WholeInteger(record.values[kBpdi])) points.push_back({record.shownAtMs(), *freeZ});
  return points;
}

LineChart FreeZChart(const std::vector<ListedRecord>& records, const std::optional<FreeZForecast>& forecast) {
  LineChart chart;
  chart.id = QStringLiteral("chart-free-z");
  chart.title = QStringLiteral("Slobodni Z izveštaji kroz vreme / Free Z reports over time");
  chart.unit = QStringLiteral("Z");
  ChartSeries measured{QStringLiteral("Slobodnih Z / Free Z"), QStringLiteral("free-z"), LineStyle::Solid, true, {}};
  for (const FreeZPoint& point : FreeZPoints(records)) measured.points.push_back({point.atMs, double(point.freeZ)});
  measured.points = Sorted(std::move(measured.points));
  chart.levels.push_back({double(kMinFreeDailyReports), QStringLiteral("%1 Z").arg(kMinFreeDailyReports)});
  if (forecast && !measured.points.empty()) {
    const qint64 newest = measured.points.back().atMs;
    const qint64 end = std::min(forecast->runsOutMs, newest + kForecastChartYears * kYearMs);
    chart.fromMs = measured.points.front().atMs;
    chart.toMs = std::max(end, newest);
    const qint64 lineEnd = std::max(end, forecast->windowStartMs);
    chart.series.push_back(measured);
    chart.series.push_back({QStringLiteral("Prognoza / Forecast"), QStringLiteral("forecast"), LineStyle::Dashed, false,
                            {{forecast->windowStartMs, forecast->valueAt(forecast->windowStartMs)},
                             {lineEnd, forecast->valueAt(lineEnd)}}});
    // A day off the axis is drawn at its edge, the arrow saying which way.
    const auto beyond = [&](qint64 ms) {
      return ms > chart.toMs ? QStringLiteral(" →") : ms < chart.fromMs ? QStringLiteral(" ←") : QString();
    };
    chart.markers.push_back({forecast->reachesLimitMs, QStringLiteral("%1 Z: %2%3")
                                                           .arg(QString::number(kMinFreeDailyReports),
                                                                FormatDay(forecast->reachesLimitMs), beyond(forecast->reachesLimitMs))});
    chart.markers.push_back(
        {forecast->runsOutMs, QStringLiteral("0 Z: %1%2").arg(FormatDay(forecast->runsOutMs), beyond(forecast->runsOutMs))});
    return chart;
  }
  chart.series.push_back(measured);
  return chart;
}

LineChart ClockChart(const std::vector<ListedRecord>& records) {
  LineChart chart;
  chart.id = QStringLiteral("chart-clock");
  chart.title = QStringLiteral("Razlika vremena kroz vreme, u minutima / Clock difference over time, in minutes");
  chart.unit = QStringLiteral("min");
  ChartSeries difference{QStringLiteral("Razlika vremena / Clock difference"), QStringLiteral("clock"), LineStyle::Solid,
                         true, {}};
  for (const ListedRecord& record : records)
    if (const std::optional<int> minutes = ClockDifferenceMinutes(record.values[kDiff]))
      difference.points.push_back({record.shownAtMs(), double(*minutes)});
  difference.points = Sorted(std::move(difference.points));
  chart.series.push_back(difference);
  chart.levels.push_back({double(kMaxClockDifferenceMinutes), QStringLiteral("%1 min").arg(kMaxClockDifferenceMinutes)});
  return chart;
}

}  // namespace pralix::desk
