#include "pages/printer_page.h"

#include <QStringList>

#include "diagdata/value_judgement.h"
#include "pages/fleet_page.h"
#include "pages/html_text.h"
#include "pages/page_frame.h"
#include "pages/printer_charts.h"
#include "pages/svg_chart.h"
#include "records/free_z_forecast.h"
#include "records/printer_findings.h"
#include "records/record_changes.h"

namespace pralix::desk {
namespace {

const QString kMark = QStringLiteral("<span class=\"mark\">!</span> ");
const QString kChangeMark = QStringLiteral("<span class=\"mark\">Δ</span> ");

QString IdentityRow(const QString& label, const QString& value, bool red = false, const char* id = nullptr) {
  return QStringLiteral("<tr%1><th scope=\"row\">%2</th><td%3>%4%5</td></tr>\n")
      .arg(id ? QStringLiteral(" id=\"%1\"").arg(QLatin1String(id)) : QString(), label,
           red ? QStringLiteral(" class=\"red\"") : QString(), red ? kMark : QString(), Html(value));
}

QString Identity(const PrinterSummary& p) {
  const DiagValues& v = p.values;
  QString html = QStringLiteral("<table id=\"identity\" class=\"identity\">\n");
  html += IdentityRow(Bilingual(QStringLiteral("Serijski broj (IBFM)"), QStringLiteral("Serial (IBFM)")), v[kIbfm],
                      p.findings.serialUnknown, "identity-ibfm");
  html += IdentityRow(QStringLiteral("PIB"), v[kPib], false, "identity-pib");
  html += IdentityRow(Bilingual(QStringLiteral("Firmver"), QStringLiteral("Firmware")), v[kFw], p.findings.firmwareUnknown,
                      "identity-fw");
  html += IdentityRow(Bilingual(QStringLiteral("Windows i fiskalna veza"), QStringLiteral("Windows and fiscal link")), v[kJx],
                      false, "identity-jx");
  html += IdentityRow(QStringLiteral("Port"), v[kCp], false, "identity-cp");
  html += IdentityRow(Bilingual(QStringLiteral("Poreske grupe"), QStringLiteral("Tax groups")), v[kTg], false, "identity-tg");
  html += IdentityRow(Bilingual(QStringLiteral("Slobodnih Z"), QStringLiteral("Free Z")), v[kBpdi],
                      p.findings.freeDailyReportsLow, "identity-bpdi");
  html += IdentityRow(Bilingual(QStringLiteral("Artikala"), QStringLiteral("Articles")), v[kPlu], p.findings.articlesHigh,
                      "identity-plu");
  html += IdentityRow(Bilingual(QStringLiteral("Razlika vremena"), QStringLiteral("Clock difference")), v[kDiff],
                      p.findings.clockOff, "identity-diff");
  html += IdentityRow(Bilingual(QStringLiteral("Prvi put viđen"), QStringLiteral("First seen")), DayText(p.firstSeenMs));
  html += IdentityRow(Bilingual(QStringLiteral("Poslednji test"), QStringLiteral("Last test")), MinuteText(p.lastSeenMs));
  html += IdentityRow(Bilingual(QStringLiteral("Verzija alata"), QStringLiteral("Tool version")), p.toolVersion);
  html += IdentityRow(Bilingual(QStringLiteral("Zapisa"), QStringLiteral("Records")), GroupedNumber(p.recordCount));
  return html + QStringLiteral("</table>\n");
}

QString HeaderLinesList(const QString& h6l) {
  const QStringList lines = HeaderLines(h6l);
  if (lines.isEmpty())
    return QStringLiteral("<p id=\"header-lines\" class=\"none\">%1</p>\n").arg(Bilingual(QStringLiteral("Nema"), QStringLiteral("None")));
  QString html = QStringLiteral("<ol id=\"header-lines\" class=\"header-lines\">\n");
  for (const QString& line : lines) html += QStringLiteral("<li>") + Html(line) + QStringLiteral("</li>\n");
  return html + QStringLiteral("</ol>\n");
}

QString Past(qint64 ms, qint64 nowMs) {
  return ms < nowMs ? QStringLiteral(" (%1)").arg(Bilingual(QStringLiteral("prošlo"), QStringLiteral("past"))) : QString();
}

QString ForecastText(const std::optional<FreeZForecast>& forecast, qint64 nowMs) {
  if (!forecast)
    return QStringLiteral("<p id=\"forecast\" class=\"forecast none\">%1</p>\n")
        .arg(Bilingual(QStringLiteral("Nema prognoze: potrebna su bar dva zapisa u poslednjih %1 dana, razmaknuta bar %2 dana,"
                                      " sa opadajućim brojem slobodnih Z")
                           .arg(kForecastWindowDays)
                           .arg(kMinForecastSpanDays),
                       QStringLiteral("No forecast: it needs at least two records within %1 days, at least %2 days apart,"
                                      " with free Z falling")
                           .arg(kForecastWindowDays)
                           .arg(kMinForecastSpanDays)));
  const QString runsOut = DayText(forecast->runsOutMs);
  const QString limit = DayText(forecast->reachesLimitMs);
  const QString pace = QString::number(-forecast->perDay, 'f', 2);
  QString html = QStringLiteral("<p id=\"forecast\" class=\"forecast\" data-runs-out=\"%1\" data-reaches-limit=\"%2\">")
                     .arg(runsOut, limit);
  html += Bilingual(QStringLiteral("Fiskalna memorija se puni oko %1").arg(runsOut),
                    QStringLiteral("Fiscal memory runs out around %1").arg(runsOut)) +
          Past(forecast->runsOutMs, nowMs) + QStringLiteral("; ");
  html += Bilingual(QStringLiteral("%1 slobodnih Z oko %2").arg(kMinFreeDailyReports).arg(limit),
                    QStringLiteral("%1 free Z around %2").arg(kMinFreeDailyReports).arg(limit)) +
          Past(forecast->reachesLimitMs, nowMs) + QStringLiteral(".</p>\n");
  html += QStringLiteral("<p class=\"note\">%1</p>\n")
              .arg(Bilingual(QStringLiteral("Prava linija najmanjih kvadrata kroz zapise od %1 do %2: %3 Z dnevno")
                                 .arg(DayText(forecast->windowStartMs), DayText(forecast->anchorMs), pace),
                             QStringLiteral("Least-squares line through the records from %1 to %2: %3 Z a day")
                                 .arg(DayText(forecast->windowStartMs), DayText(forecast->anchorMs), pace)));
  return html;
}

QString ChangeNames(const RecordChanges& changes) {
  QStringList names;
  if (changes.pib) names += Bilingual(QStringLiteral("drugi PIB"), QStringLiteral("another PIB"));
  if (changes.firmware) names += Bilingual(QStringLiteral("drugi firmver"), QStringLiteral("firmware changed"));
  if (changes.freeZJump) names += Bilingual(QStringLiteral("skok slobodnih Z"), QStringLiteral("free Z jump"));
  return names.join(QStringLiteral("; "));
}

// A cell marked red ("!") when implausible and "Δ" when it changed.
QString RecordCell(const QString& value, bool red, bool changed, const char* column) {
  QStringList classes = {QStringLiteral("col-") + QLatin1String(column)};
  if (red) classes += QStringLiteral("red");
  if (changed) classes += QStringLiteral("changed");
  return QStringLiteral("<td class=\"%1\">%2%3%4</td>")
      .arg(classes.join(QLatin1Char(' ')), changed ? kChangeMark : QString(), red ? kMark : QString(), Html(value));
}

QString RecordRow(const QString& ibfm, const ListedRecord& record, const ListedRecord* previous) {
  const RecordChanges changes =
      previous ? ChangesSince(previous->values, previous->shownAtMs(), record.values, record.shownAtMs()) : RecordChanges();
  const DiagValues& v = record.values;
  QString html = QStringLiteral("<tr id=\"record-%1\"%2>").arg(QString::number(record.id),
                                                              changes.any() ? QStringLiteral(" class=\"changed-row\"") : QString());
  html += QStringLiteral("<td class=\"col-tested\">%1</td>")
              .arg(record.testedAtMs ? Html(MinuteText(*record.testedAtMs)) : QStringLiteral("—"));
  html += QStringLiteral("<td class=\"col-received\">%1</td>").arg(Html(MinuteText(record.receivedAtMs)));
  html += RecordCell(record.toolVersion, false, false, "version");
  html += RecordCell(v[kCp], false, false, "cp");
  html += RecordCell(v[kBpdi], FreeDailyReportsImplausible(v[kBpdi]), changes.freeZJump, "bpdi");
  html += RecordCell(v[kFw], FirmwareUnknown(v[kFw]), changes.firmware, "fw");
  html += RecordCell(v[kPib], false, changes.pib, "pib");
  html += QStringLiteral("<td class=\"col-changes\">%1</td>").arg(ChangeNames(changes));
  html += QStringLiteral("<td><a class=\"raw\" href=\"%1\">%2</a></td></tr>\n")
              .arg(Html(RawRecordLink(ibfm, record.id)), Bilingual(QStringLiteral("sirovi"), QStringLiteral("raw")));
  return html;
}

QString PageLink(const QString& ibfm, int page) {
  return PrinterLink(ibfm) + (page > 1 ? QStringLiteral("?page=%1").arg(page) : QString());
}

QString RecordTable(const PrinterView& view) {
  const QString& ibfm = view.printer.values[kIbfm];
  const std::size_t shown = std::min<std::size_t>(view.tableRecords.size(), kRecordPageSize);
  const qint64 first = qint64(view.tablePage - 1) * kRecordPageSize + 1;
  const qint64 last = first + qint64(shown) - 1;
  QString html = QStringLiteral("<p><span id=\"records-rows\" data-first=\"%1\" data-last=\"%2\" data-total=\"%3\">%4</span></p>\n")
                     .arg(QString::number(shown ? first : 0), QString::number(shown ? last : 0),
                          QString::number(view.printer.recordCount),
                          Bilingual(QStringLiteral("Zapisi %1–%2 od %3, najnoviji prvi")
                                        .arg(GroupedNumber(first), GroupedNumber(last), GroupedNumber(view.printer.recordCount)),
                                    QStringLiteral("Records %1–%2 of %3, newest first")
                                        .arg(GroupedNumber(first), GroupedNumber(last), GroupedNumber(view.printer.recordCount))));
  html += QStringLiteral("<table id=\"records\" class=\"records\">\n<thead><tr>");
  const QString headings[] = {
      Bilingual(QStringLiteral("Vreme testa"), QStringLiteral("Test time")),
      Bilingual(QStringLiteral("Primljeno"), QStringLiteral("Received")),
      Bilingual(QStringLiteral("Verzija alata"), QStringLiteral("Tool version")),
      QStringLiteral("Port"),
      Bilingual(QStringLiteral("Slobodnih Z"), QStringLiteral("Free Z")),
      Bilingual(QStringLiteral("Firmver"), QStringLiteral("Firmware")),
      QStringLiteral("PIB"),
      Bilingual(QStringLiteral("Promene"), QStringLiteral("Changes")),
      Bilingual(QStringLiteral("Zapis"), QStringLiteral("Record")),
  };
  for (const QString& heading : headings) html += QStringLiteral("<th scope=\"col\">") + heading + QStringLiteral("</th>");
  html += QStringLiteral("</tr></thead>\n<tbody>\n");
  for (std::size_t i = 0; i < shown; ++i)
    html += RecordRow(ibfm, view.tableRecords[i], i + 1 < view.tableRecords.size() ? &view.tableRecords[i + 1] : nullptr);
  html += QStringLiteral("</tbody>\n</table>\n<nav class=\"pager\" aria-label=\"strane / pages\">");
  if (view.tablePage > 1)
    html += QStringLiteral("<a id=\"prev\" rel=\"prev\" href=\"%1\">← %2</a>")
                .arg(Html(PageLink(ibfm, view.tablePage - 1)), Bilingual(QStringLiteral("Noviji"), QStringLiteral("Newer")));
  if (last < view.printer.recordCount)
    html += QStringLiteral("<a id=\"next\" rel=\"next\" href=\"%1\">%2 →</a>")
                .arg(Html(PageLink(ibfm, view.tablePage + 1)), Bilingual(QStringLiteral("Stariji"), QStringLiteral("Older")));
  html += QStringLiteral("</nav>\n");
  html += QStringLiteral("<p class=\"legend\"><span class=\"changed\"><span class=\"mark\">Δ</span></span> %1. "
                         "<span class=\"red\"><span class=\"mark\">!</span></span> %2. %3</p>\n")
              .arg(Bilingual(QStringLiteral("promena prema prethodnom zapisu: drugi PIB, drugi firmver, ili skok slobodnih Z"
                                            " (više nego pre, ili manje za više od jednog Z po danu između dva testa,"
                                            " računajući oba dana)"),
                             QStringLiteral("changed since the previous record: another PIB, another firmware, or a jump in"
                                            " free Z (more than before, or fewer by more than one Z per day between the two"
                                            " tests, counting both days)")),
                   Bilingual(QStringLiteral("neuobičajena vrednost"), QStringLiteral("implausible value")),
                   Bilingual(QStringLiteral("Vremena po UTC"), QStringLiteral("Times in UTC")));
  return html;
}

}  // namespace

QString RawRecordLink(const QString& ibfm, qint64 recordId) {
  return PrinterLink(ibfm) + QStringLiteral("/records/%1/raw").arg(recordId);
}

QString PrinterPageMain(const PrinterView& view) {
  const PrinterSummary& printer = view.printer;
  const std::optional<FreeZForecast> forecast = ForecastFreeZ(FreeZPoints(view.chartRecords));
  QString html = QStringLiteral("<p class=\"back\"><a href=\"/\">← %1</a></p>\n")
                     .arg(Bilingual(QStringLiteral("Štampači"), QStringLiteral("Printers")));
  html += QStringLiteral("<h1>%1 <span class=\"mono\" id=\"ibfm\">%2</span></h1>\n")
              .arg(Bilingual(QStringLiteral("Štampač"), QStringLiteral("Printer")), Html(printer.values[kIbfm]));
  html += Identity(printer);
  html += QStringLiteral("<h2>%1</h2>\n").arg(Bilingual(QStringLiteral("Zaglavlje računa"), QStringLiteral("Receipt header")));
  html += HeaderLinesList(printer.values[kH6l]);
  html += QStringLiteral("<h2>%1</h2>\n").arg(Bilingual(QStringLiteral("Slobodni Z izveštaji"), QStringLiteral("Free Z reports")));
  html += ForecastText(forecast, view.nowMs);
  html += SvgLineChart(FreeZChart(view.chartRecords, forecast));
  html += QStringLiteral("<h2>%1</h2>\n").arg(Bilingual(QStringLiteral("Razlika vremena"), QStringLiteral("Clock difference")));
  html += SvgLineChart(ClockChart(view.chartRecords));
  html += QStringLiteral("<p class=\"note\" id=\"chart-note\">%1</p>\n")
              .arg(Bilingual(QStringLiteral("Grafikoni i prognoza: poslednjih %1 zapisa (od ukupno %2)")
                                 .arg(QString::number(view.chartRecords.size()), GroupedNumber(printer.recordCount)),
                             QStringLiteral("Charts and forecast: the last %1 records (of %2)")
                                 .arg(QString::number(view.chartRecords.size()), GroupedNumber(printer.recordCount))));
  html += QStringLiteral("<h2>%1</h2>\n").arg(Bilingual(QStringLiteral("Zapisi"), QStringLiteral("Records")));
  return html + RecordTable(view);
}

}  // namespace pralix::desk
