#include "records/free_z_forecast.h"

#include <algorithm>
#include <cmath>

#include "diagdata/value_judgement.h"

namespace pralix::desk {
namespace {

constexpr double kDayMs = 24.0 * 60 * 60 * 1000;

}  // namespace

double FreeZForecast::valueAt(qint64 ms) const { return anchorValue + perDay * (double(ms - anchorMs) / kDayMs); }

std::optional<FreeZForecast> ForecastFreeZ(const std::vector<FreeZPoint>& points) {
  if (points.empty()) return std::nullopt;
  const qint64 newest =
      std::max_element(points.begin(), points.end(), [](const FreeZPoint& a, const FreeZPoint& b) { return a.atMs < b.atMs; })
          ->atMs;
  const qint64 windowStart = newest - qint64(kForecastWindowDays) * 24 * 60 * 60 * 1000;
  // Days before the newest point (0 or less), so the sums stay small.
  std::vector<std::pair<double, double>> xy;
  qint64 oldest = newest;
  for (const FreeZPoint& point : points) {
    if (point.atMs < windowStart) continue;
    xy.emplace_back(double(point.atMs - newest) / kDayMs, double(point.freeZ));
    oldest = std::min(oldest, point.atMs);
  }
  if (xy.size() < 2 || double(newest - oldest) < kMinForecastSpanDays * kDayMs) return std::nullopt;
  double meanX = 0, meanY = 0;
  for (const auto& [x, y] : xy) meanX += x, meanY += y;
  meanX /= double(xy.size());
  meanY /= double(xy.size());
  double sxy = 0, sxx = 0;
  for (const auto& [x, y] : xy) sxy += (x - meanX) * (y - meanY), sxx += (x - meanX) * (x - meanX);
  const double slope = sxy / sxx;
  if (!(slope < 0)) return std::nullopt;
  FreeZForecast forecast;
  forecast.perDay = slope;
  forecast.anchorMs = newest;
  forecast.anchorValue = meanY - slope * meanX;
  forecast.windowStartMs = oldest;
  const auto dayOfValue = [&](double value) {
    return newest + qint64(std::llround((value - forecast.anchorValue) / slope * kDayMs));
  };
  forecast.reachesLimitMs = dayOfValue(kMinFreeDailyReports);
  forecast.runsOutMs = dayOfValue(0);
  return forecast;
}

}  // namespace pralix::desk
