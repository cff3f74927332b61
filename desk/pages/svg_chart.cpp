#include "pages/svg_chart.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

#include "pages/html_text.h"
#include "records/utc_time.h"

namespace pralix::desk {
namespace {

constexpr double kLeft = 64, kRight = 24, kTop = 40, kBottom = 40;
constexpr double kPlotWidth = kChartWidth - kLeft - kRight;
constexpr double kPlotHeight = kChartHeight - kTop - kBottom;
constexpr int kTimeLabels = 5;
constexpr qint64 kDayMs = 24LL * 60 * 60 * 1000;

constexpr char kInk[] = "#000000";
constexpr char kGrid[] = "#d0d0d0";
constexpr char kSeriesInk[] = "#1f4e9a";
constexpr char kLevelInk[] = "#b00000";

QString Number(double value) { return QString::number(value, 'f', 1); }

QString ValueLabel(double value) {
  return std::abs(value - std::round(value)) < 1e-9 ? QString::number(qint64(std::llround(value))) : QString::number(value, 'g', 4);
}

QString DashArray(LineStyle style) {
  switch (style) {
    case LineStyle::Solid: return QString();
    case LineStyle::Dashed: return QStringLiteral(" stroke-dasharray=\"8 5\"");
    case LineStyle::Dotted: return QStringLiteral(" stroke-dasharray=\"2 4\"");
  }
  return QString();
}

QString Text(double x, double y, const QString& text, const char* anchor, const char* cls) {
  return QStringLiteral("<text class=\"%1\" x=\"%2\" y=\"%3\" text-anchor=\"%4\" font-size=\"12\" fill=\"%5\">%6</text>\n")
      .arg(QLatin1String(cls), Number(x), Number(y), QLatin1String(anchor), QLatin1String(kInk), Html(text));
}

QString Line(double x1, double y1, double x2, double y2, const char* cls, const char* colour, const QString& extra = {}) {
  return QStringLiteral("<line class=\"%1\" x1=\"%2\" y1=\"%3\" x2=\"%4\" y2=\"%5\" stroke=\"%6\" stroke-width=\"1\"%7/>\n")
      .arg(QLatin1String(cls), Number(x1), Number(y1), Number(x2), Number(y2), QLatin1String(colour), extra);
}

struct Scale {
  qint64 fromMs;
  qint64 toMs;
  double low;
  double high;

  double x(qint64 ms) const {
    const double at = kLeft + kPlotWidth * double(ms - fromMs) / double(toMs - fromMs);
    return std::clamp(at, kLeft, kLeft + kPlotWidth);
  }
  double y(double value) const {
    const double at = kTop + kPlotHeight * (1 - (value - low) / (high - low));
    return std::clamp(at, kTop, kTop + kPlotHeight);
  }
};

Scale ScaleOf(const LineChart& chart, const std::vector<double>& steps) {
  Scale scale{chart.fromMs, chart.toMs, steps.front(), steps.back()};
  if (chart.fromMs >= chart.toMs) {
    bool any = false;
    const auto widen = [&](qint64 ms) {
      scale.fromMs = any ? std::min(scale.fromMs, ms) : ms;
      scale.toMs = any ? std::max(scale.toMs, ms) : ms;
      any = true;
    };
    for (const ChartSeries& series : chart.series)
      for (const ChartPoint& point : series.points) widen(point.atMs);
    for (const ChartMarker& marker : chart.markers) widen(marker.atMs);
  }
  if (scale.toMs - scale.fromMs < kDayMs) {  // one point, or one day's: a day either side
    scale.fromMs -= kDayMs;
    scale.toMs += kDayMs;
  }
  return scale;
}

std::vector<double> StepsFor(const LineChart& chart) {
  double low = 0, high = 0;
  for (const ChartSeries& series : chart.series)
    for (const ChartPoint& point : series.points) low = std::min(low, point.value), high = std::max(high, point.value);
  for (const ChartLevel& level : chart.levels) low = std::min(low, level.value), high = std::max(high, level.value);
  return AxisSteps(low, high);
}

QString Axes(const Scale& scale, const std::vector<double>& steps, const QString& unit) {
  QString svg = QStringLiteral("<g class=\"axes\">\n");
  for (const double step : steps) {
    const double y = scale.y(step);
    svg += Line(kLeft, y, kLeft + kPlotWidth, y, "grid", kGrid);
    svg += Text(kLeft - 6, y + 4, ValueLabel(step), "end", "value-label");
  }
  for (int i = 0; i < kTimeLabels; ++i) {
    const qint64 ms = scale.fromMs + (scale.toMs - scale.fromMs) * i / (kTimeLabels - 1);
    const double x = scale.x(ms);
    svg += Line(x, kTop + kPlotHeight, x, kTop + kPlotHeight + 5, "tick", kInk);
    const char* anchor = i == 0 ? "start" : i == kTimeLabels - 1 ? "end" : "middle";
    svg += Text(x, kTop + kPlotHeight + 20, FormatDay(ms), anchor, "date-label");
  }
  svg += Line(kLeft, kTop, kLeft, kTop + kPlotHeight, "axis", kInk);
  svg += Line(kLeft, kTop + kPlotHeight, kLeft + kPlotWidth, kTop + kPlotHeight, "axis", kInk);
  svg += Text(kLeft - 6, kTop - 8, unit, "end", "unit");
  return svg + QStringLiteral("</g>\n");
}

QString Series(const Scale& scale, const ChartSeries& series) {
  QString svg = QStringLiteral("<g class=\"series series-%1\">\n").arg(Html(series.name));
  QStringList coordinates;
  for (const ChartPoint& point : series.points) coordinates += Number(scale.x(point.atMs)) + QLatin1Char(',') + Number(scale.y(point.value));
  if (series.points.size() > 1)
    svg += QStringLiteral("<polyline points=\"%1\" fill=\"none\" stroke=\"%2\" stroke-width=\"2\"%3/>\n")
               .arg(coordinates.join(QLatin1Char(' ')), QLatin1String(kSeriesInk), DashArray(series.style));
  if (series.dots)
    for (const ChartPoint& point : series.points)
      svg += QStringLiteral("<circle class=\"point\" cx=\"%1\" cy=\"%2\" r=\"3\" fill=\"%3\"/>\n")
                 .arg(Number(scale.x(point.atMs)), Number(scale.y(point.value)), QLatin1String(kSeriesInk));
  return svg + QStringLiteral("</g>\n");
}

QString Levels(const Scale& scale, const std::vector<ChartLevel>& levels) {
  QString svg;
  for (const ChartLevel& level : levels) {
    const double y = scale.y(level.value);
    svg += QStringLiteral("<g class=\"level\">\n");
    svg += Line(kLeft, y, kLeft + kPlotWidth, y, "level-line", kLevelInk, QStringLiteral(" stroke-dasharray=\"6 3\""));
    svg += Text(kLeft + kPlotWidth - 4, y - 4, level.label, "end", "level-label");
    svg += QStringLiteral("</g>\n");
  }
  return svg;
}

// Labels stack downwards so that two close days stay readable.
QString Markers(const Scale& scale, const std::vector<ChartMarker>& markers) {
  QString svg;
  int row = 0;
  for (const ChartMarker& marker : markers) {
    const double x = scale.x(marker.atMs);
    const char* anchor = x > kLeft + kPlotWidth / 2 ? "end" : "start";
    const double textX = x > kLeft + kPlotWidth / 2 ? x - 4 : x + 4;
    svg += QStringLiteral("<g class=\"marker\">\n");
    svg += Line(x, kTop, x, kTop + kPlotHeight, "marker-line", kInk, QStringLiteral(" stroke-dasharray=\"2 3\""));
    svg += Text(textX, kTop + 14 + 16 * row++, marker.label, anchor, "marker-label");
    svg += QStringLiteral("</g>\n");
  }
  return svg;
}

QString Legend(const LineChart& chart) {
  QString svg = QStringLiteral("<g class=\"legend\">\n");
  double x = kLeft;
  const auto entry = [&](const QString& label, const char* colour, const QString& dash) {
    svg += QStringLiteral("<line x1=\"%1\" y1=\"14\" x2=\"%2\" y2=\"14\" stroke=\"%3\" stroke-width=\"2\"%4/>\n")
               .arg(Number(x), Number(x + 24), QLatin1String(colour), dash);
    svg += Text(x + 30, 18, label, "start", "legend-label");
    x += 30 + 7.0 * label.size() + 24;
  };
  for (const ChartSeries& series : chart.series) entry(series.label, kSeriesInk, DashArray(series.style));
  for (const ChartLevel& level : chart.levels) entry(level.label, kLevelInk, QStringLiteral(" stroke-dasharray=\"6 3\""));
  return svg + QStringLiteral("</g>\n");
}

}  // namespace

std::vector<double> AxisSteps(double low, double high) {
  if (!(high > low)) high = low + 1;
  const double raw = (high - low) / 5;
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  double step = magnitude;
  for (const double factor : {1.0, 2.0, 5.0, 10.0})
    if (factor * magnitude >= raw) {
      step = factor * magnitude;
      break;
    }
  std::vector<double> steps;
  for (double value = std::floor(low / step) * step; steps.empty() || steps.back() < high - 1e-9 * step; value += step)
    steps.push_back(value);
  return steps;
}

QString SvgLineChart(const LineChart& chart) {
  const std::vector<double> steps = StepsFor(chart);
  const Scale scale = ScaleOf(chart, steps);
  QString svg = QStringLiteral(
                    "<svg xmlns=\"http://www.w3.org/2000/svg\" id=\"%1\" class=\"chart\" viewBox=\"0 0 %2 %3\" width=\"%2\""
                    " height=\"%3\" role=\"img\" aria-labelledby=\"%1-title\" font-family=\"sans-serif\">\n"
                    "<title id=\"%1-title\">%4</title>\n")
                    .arg(Html(chart.id), QString::number(kChartWidth), QString::number(kChartHeight), Html(chart.title));
  svg += Legend(chart) + Axes(scale, steps, chart.unit) + Levels(scale, chart.levels);
  for (const ChartSeries& series : chart.series) svg += Series(scale, series);
  svg += Markers(scale, chart.markers);
  return svg + QStringLiteral("</svg>\n");
}

}  // namespace pralix::desk
