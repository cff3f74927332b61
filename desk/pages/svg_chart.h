#pragma once
// A line chart over time as inline SVG, drawn on the server: no script, no
// style attributes (the pages' CSP allows neither), only presentation
// attributes and classes.  It reads on paper in black and white: series
// differ by dash pattern, levels and dates are labelled in text, and the
// axes carry dates (yyyy-mm-dd) and values.

#include <QString>
#include <vector>

#include <QtGlobal>

namespace pralix::desk {

struct ChartPoint {
  qint64 atMs = 0;
  double value = 0;
};

enum class LineStyle { Solid, Dashed, Dotted };

struct ChartSeries {
  QString label;     // in the legend
  QString name;      // class "series-NAME" on its group, for the stylesheet and tests
  LineStyle style = LineStyle::Solid;
  bool dots = true;  // a circle at each point
  std::vector<ChartPoint> points;
};

// A horizontal line at a value, e.g. the 30-minute limit.
struct ChartLevel {
  double value = 0;
  QString label;
};

// A vertical line at a time with its label, e.g. the forecast's day.
struct ChartMarker {
  qint64 atMs = 0;
  QString label;
};

struct LineChart {
  QString id;     // the svg's id; its <title> gets id + "-title"
  QString title;  // the <title>, which aria-labelledby names
  QString unit;   // the value axis's caption
  std::vector<ChartSeries> series;
  std::vector<ChartLevel> levels;
  std::vector<ChartMarker> markers;
  // The time axis; when fromMs >= toMs it spans the points and markers.
  qint64 fromMs = 0;
  qint64 toMs = 0;
};

inline constexpr int kChartWidth = 900;
inline constexpr int kChartHeight = 300;

// Every text in the chart goes through Html().
QString SvgLineChart(const LineChart& chart);

// Round steps (1, 2 or 5 times a power of ten) from low up to a top at or
// above high, about five of them: the value axis's labels.
std::vector<double> AxisSteps(double low, double high);

}  // namespace pralix::desk
