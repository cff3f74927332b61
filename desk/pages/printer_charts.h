#pragma once
// The two charts of a printer's page, as data for SvgLineChart: its free Z
// reports with the forecast line and the days it reaches 45 and 0, and its
// clock difference with the 30-minute limit.

#include <optional>
#include <vector>

#include "pages/svg_chart.h"
#include "records/free_z_forecast.h"
#include "store/fleet_queries.h"

namespace pralix::desk {

// A forecast further out than this is drawn to the chart's end, its day
// given in the label: years of empty axis would squash the records.
inline constexpr int kForecastChartYears = 3;

// The free-Z counts of the records that have a readable one.
std::vector<FreeZPoint> FreeZPoints(const std::vector<ListedRecord>& records);

LineChart FreeZChart(const std::vector<ListedRecord>& records, const std::optional<FreeZForecast>& forecast);
LineChart ClockChart(const std::vector<ListedRecord>& records);

}  // namespace pralix::desk
