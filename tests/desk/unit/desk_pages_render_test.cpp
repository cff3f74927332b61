// What the pages and charts draw from given data: escaping, marks, links,
// counts, the forecast and the SVG's content.

#include <QRegularExpression>
#include <gtest/gtest.h>

#include "pages/fleet_page.h"
#include "pages/html_text.h"
#include "pages/printer_charts.h"
#include "pages/printer_page.h"
#include "pages/printer_path.h"
#include "pages/svg_chart.h"
#include "records/printer_findings.h"
#include "records/utc_time.h"
#include "support/sample_records.h"

namespace pralix::desk {
namespace {

constexpr qint64 kDay = 24LL * 60 * 60 * 1000;
constexpr qint64 kT0 = 1796803200000;  // 2026-12-09T08:00:00Z
const QString kScript = QStringLiteral("<script>alert(1)</script>");
const QString kImg = QStringLiteral("<img src=x onerror=alert(1)>");

int Occurrences(const QString& text, const QString& part) { return int(text.count(part)); }

// The HTML holds no tag a till could have sent, and no inline style.
void ExpectNoInjectedMarkup(const QString& html) {
  EXPECT_FALSE(html.contains(QStringLiteral("<script"))) << html.toStdString();
  EXPECT_FALSE(html.contains(QStringLiteral("<img"))) << html.toStdString();
  EXPECT_FALSE(html.contains(QStringLiteral("style="))) << html.toStdString();
}

TEST(HtmlText, EscapesMarkupAndQuotesAndShowsControlCharactersAsDamaged) {
  EXPECT_EQ(Html(QStringLiteral("<a href=\"x\" title='y'>&amp;</a>")),
            QStringLiteral("&lt;a href=&quot;x&quot; title=&#39;y&#39;&gt;&amp;amp;&lt;/a&gt;"));
  EXPECT_EQ(Html(QString::fromUtf8("Š\t\n\r\x01\x7f")), QString::fromUtf8("Š\t\n\uFFFD\uFFFD\uFFFD"));
  EXPECT_EQ(UrlPart(QString::fromUtf8("A/B?C#D&E%F G\"<Š")), QStringLiteral("A%2FB%3FC%23D%26E%25F%20G%22%3C%C5%A0"));
  const std::pair<qint64, const char*> numbers[] = {
      {0, "0"}, {999, "999"}, {1000, "1\u202F000"}, {1234567, "1\u202F234\u202F567"}, {-1234, "-1\u202F234"}};
  for (const auto& [number, text] : numbers) EXPECT_EQ(GroupedNumber(number), QString::fromUtf8(text)) << number;
}

TEST(ParsePrinterPath, DecodesTheSerialAndTakesOnlyTheTwoForms) {
  const struct {
    const char* path;
    bool ok;
    const char* ibfm;
    qint64 raw;
  } cases[] = {
      {"/printers/AG123", true, "AG123", 0},
      {"/printers/A%2FB%25C%20%C5%A0", true, "A/B%C Š", 0},
      {"/printers/AG1/records/42/raw", true, "AG1", 42},
      {"/printers/", false, "", 0},
      {"/printers/AG1/", false, "", 0},
      {"/printers/AG1/records/0/raw", false, "", 0},
      {"/printers/AG1/records/-1/raw", false, "", 0},
      {"/printers/AG1/records/4x/raw", false, "", 0},
      {"/printers/AG1/records/1234567890123456789/raw", false, "", 0},
      {"/printers/AG1/records/42", false, "", 0},
      {"/printers/AG1/other/42/raw", false, "", 0},
  };
  for (const auto& c : cases) {
    const std::optional<PrinterPath> path = ParsePrinterPath(QString::fromUtf8(c.path));
    ASSERT_EQ(path.has_value(), c.ok) << c.path;
    if (!path) continue;
    EXPECT_EQ(path->ibfm, QString::fromUtf8(c.ibfm)) << c.path;
    EXPECT_EQ(path->rawRecordId.value_or(0), c.raw) << c.path;
  }
  // A path segment round-trips through the link the pages make.
  const QString odd = QString::fromUtf8("E/%?#& Š");
  EXPECT_EQ(ParsePrinterPath(PrinterLink(odd))->ibfm, odd);
}

TEST(SvgLineChart, DrawsEveryPointLevelMarkerAndDateAsTextWithoutStyle) {
  LineChart chart;
  chart.id = QStringLiteral("c");
  chart.title = QStringLiteral("Title ") + kScript;
  chart.unit = QStringLiteral("min");
  chart.series.push_back({kImg, QStringLiteral("s"), LineStyle::Solid, true,
                          {{kT0, 10}, {kT0 + 10 * kDay, 40}, {kT0 + 20 * kDay, 20}}});
  chart.series.push_back({QStringLiteral("dashed"), QStringLiteral("d"), LineStyle::Dashed, false, {{kT0, 0}, {kT0 + 20 * kDay, 5}}});
  chart.levels.push_back({30, QStringLiteral("30 min")});
  chart.markers.push_back({kT0 + 15 * kDay, QStringLiteral("marker day")});
  const QString svg = SvgLineChart(chart);
  ExpectNoInjectedMarkup(svg);
  EXPECT_TRUE(svg.startsWith(QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" id=\"c\"")));
  EXPECT_TRUE(svg.contains(QStringLiteral("aria-labelledby=\"c-title\"")));
  EXPECT_TRUE(svg.contains(QStringLiteral("<title id=\"c-title\">Title &lt;script&gt;")));
  EXPECT_EQ(Occurrences(svg, QStringLiteral("<circle class=\"point\"")), 3);
  EXPECT_EQ(Occurrences(svg, QStringLiteral("<polyline")), 2);
  EXPECT_EQ(Occurrences(svg, QStringLiteral("stroke-dasharray=\"8 5\"")), 2);  // the dashed series and its legend
  EXPECT_TRUE(svg.contains(QStringLiteral(">30 min</text>")));
  EXPECT_TRUE(svg.contains(QStringLiteral(">marker day</text>")));
  EXPECT_TRUE(svg.contains(QStringLiteral(">2026-12-09</text>")));  // first and last day on the time axis
  EXPECT_TRUE(svg.contains(QStringLiteral(">2026-12-29</text>")));
  EXPECT_TRUE(svg.contains(QStringLiteral(">40</text>")));  // value axis: 0 10 20 30 40
  EXPECT_TRUE(svg.contains(QStringLiteral("&lt;img src=x")));
  // The newest point sits at the plot's right end, the oldest at its left.
  EXPECT_TRUE(svg.contains(QStringLiteral("cx=\"64.0\"")));
  EXPECT_TRUE(svg.contains(QStringLiteral("cx=\"876.0\"")));
}

TEST(AxisSteps, RoundStepsFromTheLowUpPastTheHigh) {
  EXPECT_EQ(AxisSteps(0, 900), (std::vector<double>{0, 200, 400, 600, 800, 1000}));
  EXPECT_EQ(AxisSteps(0, 30), (std::vector<double>{0, 10, 20, 30}));
  EXPECT_EQ(AxisSteps(0, 0).back(), 1);
  EXPECT_EQ(AxisSteps(-7, 33).front(), -10);
}

// A printer's records newest first, one a day, free Z falling one a day.
std::vector<ListedRecord> Records(int count, int newestFreeZ) {
  std::vector<ListedRecord> records;
  for (int i = 0; i < count; ++i) {
    ListedRecord record;
    record.id = count - i;
    record.values = test::SampleValues(QStringLiteral("AG1"), 0);
    record.values[kBpdi] = QString::number(newestFreeZ + i);
    record.values[kDiff] = QStringLiteral("00:%1").arg(i % 50, 2, 10, QLatin1Char('0'));
    record.receivedAtMs = kT0 - qint64(i) * kDay;
    record.testedAtMs = record.receivedAtMs - 60000;
    record.toolVersion = QStringLiteral("10.2.350");
    records.push_back(record);
  }
  return records;
}

TEST(PrinterCharts, FreeZChartCarriesTheForecastLineAndItsDays) {
  const std::vector<ListedRecord> records = Records(30, 100);
  const std::optional<FreeZForecast> forecast = ForecastFreeZ(FreeZPoints(records));
  ASSERT_TRUE(forecast);
  const QString svg = SvgLineChart(FreeZChart(records, forecast));
  EXPECT_EQ(Occurrences(svg, QStringLiteral("<circle class=\"point\"")), 30);
  EXPECT_TRUE(svg.contains(QStringLiteral("<g class=\"series series-forecast\">\n<polyline")));
  EXPECT_TRUE(svg.contains(QStringLiteral(">45 Z: %1</text>").arg(FormatDay(forecast->reachesLimitMs))));
  EXPECT_TRUE(svg.contains(QStringLiteral(">0 Z: %1</text>").arg(FormatDay(forecast->runsOutMs))));
  EXPECT_TRUE(svg.contains(QStringLiteral(">%1</text>").arg(FormatDay(forecast->runsOutMs))));  // the axis ends there

  // Twenty years ahead: the axis stops three years on, the label points on.
  const std::optional<FreeZForecast> far = ForecastFreeZ(FreeZPoints(Records(30, 7300)));
  const QString farSvg = SvgLineChart(FreeZChart(Records(30, 7300), far));
  EXPECT_TRUE(farSvg.contains(QStringLiteral(">0 Z: %1 →</text>").arg(FormatDay(far->runsOutMs))));

  const QString clock = SvgLineChart(ClockChart(records));
  EXPECT_EQ(Occurrences(clock, QStringLiteral("<circle class=\"point\"")), 30);
  EXPECT_TRUE(clock.contains(QStringLiteral(">30 min</text>")));
}

PrinterSummary Printer(const DiagValues& values, qint64 recordCount) {
  PrinterSummary printer;
  printer.values = values;
  printer.findings = JudgeValues(values);
  printer.firstSeenMs = kT0 - 400 * kDay;
  printer.lastSeenMs = kT0;
  printer.recordCount = recordCount;
  printer.toolVersion = QStringLiteral("10.2.350");
  return printer;
}

TEST(FleetPageMain, EscapesTillValuesMarksRedOnesAndLinksEachCountAndColumn) {
  FleetView view;
  view.filter.search = QStringLiteral("\"><b>");
  view.filter.sort = FleetColumn::FreeZ;
  view.filter.page = 2;
  view.counts = {1234, 17, 2, 3, 45, 6, 3};
  view.matching = 250;
  DiagValues hostile = test::SampleValues(QString::fromUtf8("AG/1?#E"), 0);
  hostile[kPib] = kImg;
  hostile[kBpdi] = QStringLiteral("12");
  hostile[kCp] = kScript;
  view.printers = {Printer(hostile, 3), Printer(test::SampleValues(QStringLiteral("AG2")), 1234)};
  const QString html = FleetPageMain(view);
  ExpectNoInjectedMarkup(html);
  EXPECT_FALSE(html.contains(QStringLiteral("<b>")));
  EXPECT_TRUE(html.contains(QStringLiteral("&lt;img src=x onerror=alert(1)&gt;")));
  EXPECT_TRUE(html.contains(QStringLiteral("value=\"&quot;&gt;&lt;b&gt;\"")));
  EXPECT_TRUE(html.contains(QStringLiteral("href=\"/printers/AG%2F1%3F%23E\"")));
  // Red values: the serial with an "E", 12 free Z; each with the text mark.
  EXPECT_TRUE(html.contains(QStringLiteral("<th scope=\"row\" class=\"col-ibfm red\"><span class=\"mark\">!</span> <a")));
  EXPECT_TRUE(html.contains(QStringLiteral("<td class=\"col-bpdi number red\"><span class=\"mark\">!</span> 12</td>")));
  EXPECT_TRUE(html.contains(QStringLiteral("<td class=\"col-bpdi number\">900</td>")));
  EXPECT_EQ(Occurrences(html, QStringLiteral("<span class=\"mark\">!</span>")), 3);  // two values and the legend
  // The counts, grouped, each a link that filters.
  EXPECT_TRUE(html.contains(QString::fromUtf8("id=\"count-printers\" data-count=\"1234\" href=\"/\">1\u202F234 štampača")));
  EXPECT_TRUE(html.contains(QStringLiteral("id=\"count-clock_off\" data-count=\"45\" href=\"/?finding=clock_off\">45 ")));
  EXPECT_TRUE(html.contains(QStringLiteral("id=\"count-not_seen\" data-count=\"3\" href=\"/?not_seen_days=90\">")));
  EXPECT_TRUE(html.contains(QStringLiteral("clocks off by more than 30 minutes")));
  // The sorted column's link turns the order; the others sort ascending; both go back to page 1.
  const QString filterQuery = QStringLiteral("q=%22%3E%3Cb%3E");
  EXPECT_TRUE(html.contains(QStringLiteral("aria-sort=\"ascending\"><a href=\"/?%1&amp;sort=bpdi&amp;order=desc\">").arg(filterQuery)));
  EXPECT_TRUE(html.contains(QStringLiteral("<a href=\"/?%1&amp;sort=plu\">").arg(filterQuery)));
  EXPECT_TRUE(html.contains(QStringLiteral("<a href=\"/?%1\">").arg(filterQuery)));  // ibfm, the default sort
  EXPECT_EQ(Occurrences(html, QStringLiteral("<th scope=\"col\"")), 11);
  // Rows 101-102 of 250, both neighbours, the CSV of the same filter.
  EXPECT_TRUE(html.contains(QStringLiteral("data-first=\"101\" data-last=\"102\" data-total=\"250\"")));
  EXPECT_TRUE(html.contains(QStringLiteral("id=\"prev\" rel=\"prev\" href=\"/?%1&amp;sort=bpdi\"").arg(filterQuery)));
  EXPECT_TRUE(html.contains(QStringLiteral("id=\"next\" rel=\"next\" href=\"/?%1&amp;sort=bpdi&amp;page=3\"").arg(filterQuery)));
  EXPECT_TRUE(html.contains(QStringLiteral("id=\"csv\" href=\"/printers.csv?%1&amp;sort=bpdi\"").arg(filterQuery)));

  view.filter = FleetFilter();
  view.filter.page = 3;
  EXPECT_FALSE(FleetPageMain(view).contains(QStringLiteral("id=\"next\"")));
}

TEST(PrinterPageMain, ShowsHeaderEscapedForecastChangesAndRawLinks) {
  PrinterView view;
  std::vector<ListedRecord> records = Records(102, 100);
  records[0].values[kH6l] = kScript + QStringLiteral("\r\n") + kImg + QStringLiteral("\r\nL3\r\nL4\r\nL5\r\nL6\r\nDIAG\n");
  records[0].values[kPib] = kImg;
  records[1].values[kFw] = QStringLiteral("9.99XX");  // unknown: red
  records[2].values[kBpdi] = QStringLiteral("180");  // from 180 to 101 in a day, to 102 the day before
  view.printer = Printer(records[0].values, 250);
  view.chartRecords = records;
  view.tableRecords = records;
  view.nowMs = kT0;
  const QString html = PrinterPageMain(view);
  ExpectNoInjectedMarkup(html);
  EXPECT_TRUE(html.contains(QStringLiteral("<li>&lt;script&gt;alert(1)&lt;/script&gt;</li>\n<li>&lt;img src=x")));
  EXPECT_EQ(Occurrences(html, QStringLiteral("<li>")), 6);
  const std::optional<FreeZForecast> forecast = ForecastFreeZ(FreeZPoints(records));
  ASSERT_TRUE(forecast);
  EXPECT_TRUE(html.contains(QStringLiteral("id=\"forecast\" class=\"forecast\" data-runs-out=\"%1\" data-reaches-limit=\"%2\"")
                                .arg(FormatDay(forecast->runsOutMs), FormatDay(forecast->reachesLimitMs))));
  EXPECT_TRUE(html.contains(QStringLiteral("id=\"chart-free-z\"")));
  EXPECT_TRUE(html.contains(QStringLiteral("id=\"chart-clock\"")));
  // The table shows 100 rows; the 101st only feeds the last row's marks.
  EXPECT_EQ(Occurrences(html, QStringLiteral("<tr id=\"record-")), 100);
  EXPECT_TRUE(html.contains(QStringLiteral("data-first=\"1\" data-last=\"100\" data-total=\"250\"")));
  EXPECT_TRUE(html.contains(QStringLiteral("<a id=\"next\" rel=\"next\" href=\"/printers/AG1?page=2\">")));
  EXPECT_TRUE(html.contains(QStringLiteral("<a class=\"raw\" href=\"/printers/AG1/records/102/raw\">")));
  // Newest: another PIB and firmware than the one before; that one: another
  // firmware and 79 fewer free Z in a day; the third: more free Z than before.
  EXPECT_TRUE(html.contains(QStringLiteral("<td class=\"col-pib changed\"><span class=\"mark\">Δ</span> &lt;img")));
  EXPECT_TRUE(html.contains(QStringLiteral("<td class=\"col-fw red changed\"><span class=\"mark\">Δ</span> <span class=\"mark\">!</span> 9.99XX")));
  EXPECT_EQ(Occurrences(html, QStringLiteral("<td class=\"col-fw changed\">")), 1);
  EXPECT_EQ(Occurrences(html, QStringLiteral("<td class=\"col-bpdi changed\"><span class=\"mark\">Δ</span> ")), 2);
  EXPECT_EQ(Occurrences(html, QStringLiteral("class=\"changed-row\"")), 3);

  // Flat free Z: no forecast, and the page says why; no forecast line is drawn.
  for (ListedRecord& record : view.chartRecords) record.values[kBpdi] = QStringLiteral("300");
  const QString flat = PrinterPageMain(view);
  EXPECT_TRUE(flat.contains(QStringLiteral("id=\"forecast\" class=\"forecast none\">Nema prognoze")));
  EXPECT_FALSE(flat.contains(QStringLiteral("series-forecast")));
}

}  // namespace
}  // namespace pralix::desk
