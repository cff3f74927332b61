#include "pages/fleet_page.h"

#include <QStringList>

#include "diagdata/value_judgement.h"
#include "pages/html_text.h"
#include "pages/page_frame.h"

namespace pralix::desk {
namespace {

struct ColumnInfo {
  FleetColumn column;
  const char* serbian;  // UTF-8
  const char* english;
  bool number;
};

constexpr ColumnInfo kColumns[] = {
    {FleetColumn::Ibfm, "Serijski broj (IBFM)", "Serial (IBFM)", false},
    {FleetColumn::Pib, "PIB", "PIB", false},
    {FleetColumn::Firmware, "Firmver", "Firmware", false},
    {FleetColumn::Jx, "Windows i fiskalna veza", "Windows and fiscal link", false},
    {FleetColumn::FreeZ, "Slobodnih Z", "Free Z", true},
    {FleetColumn::Articles, "Artikala", "Articles", true},
    {FleetColumn::TaxGroups, "Poreske grupe", "Tax groups", false},
    {FleetColumn::ClockDifference, "Razlika vremena", "Clock difference", false},
    {FleetColumn::Port, "Port", "Port", false},
    {FleetColumn::LastTest, "Poslednji test", "Last test", false},
    {FleetColumn::Records, "Zapisa", "Records", true},
};

struct FindingInfo {
  Finding finding;
  const char* serbian;  // after the count: "17 sa manje od 45 slobodnih Z"
  const char* english;
  const char* optionSerbian;  // in the filter's list
  const char* optionEnglish;
};

constexpr FindingInfo kFindings[] = {
    {Finding::FreeZLow, "sa manje od 45 slobodnih Z", "with fewer than 45 free Z", "Manje od 45 slobodnih Z",
     "Fewer than 45 free Z"},
    {Finding::ArticlesHigh, "sa više od 3000 artikala", "with more than 3000 articles", "Više od 3000 artikala",
     "More than 3000 articles"},
    {Finding::SerialUnknown, "sa nepoznatim serijskim brojem", "with an unknown serial", "Nepoznat serijski broj",
     "Unknown serial"},
    {Finding::ClockOff, "sa satom koji odstupa više od 30 minuta", "clocks off by more than 30 minutes",
     "Sat odstupa više od 30 minuta", "Clock off by more than 30 minutes"},
    {Finding::FirmwareUnknown, "sa nepoznatim firmverom", "with unknown firmware", "Nepoznat firmver", "Unknown firmware"},
};

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

QString Label(const char* serbian, const char* english) {
  return qstrcmp(serbian, english) == 0 ? Html(U(serbian)) : Bilingual(U(serbian), U(english));
}

// Serbian counts agree with the number: 1, 21, 31 štampač; otherwise štampača.
QString PrinterWord(qint64 n) {
  const bool one = n % 10 == 1 && n % 100 != 11;
  return Bilingual(one ? QStringLiteral("štampač") : QStringLiteral("štampača"),
                   n == 1 ? QStringLiteral("printer") : QStringLiteral("printers"));
}

QString CountLink(const QString& id, qint64 count, const FleetFilter& filter, const QString& text) {
  return QStringLiteral("<a id=\"%1\" data-count=\"%2\" href=\"%3\">%4 %5</a>")
      .arg(id, QString::number(count), Html(FleetLink(filter)), GroupedNumber(count), text);
}

QString Counts(const FleetView& view) {
  QStringList links;
  links += CountLink(QStringLiteral("count-printers"), view.counts.printers, FleetFilter(), PrinterWord(view.counts.printers));
  for (const FindingInfo& info : kFindings) {
    FleetFilter filter;
    filter.finding = info.finding;
    links += CountLink(QStringLiteral("count-") + QString::fromLatin1(FindingName(info.finding)), view.counts.of(info.finding),
                       filter, Bilingual(U(info.serbian), U(info.english)));
  }
  FleetFilter notSeen;
  notSeen.notSeenDays = view.notSeenDays;
  links += CountLink(QStringLiteral("count-not_seen"), view.counts.notSeen, notSeen,
                     Bilingual(QStringLiteral("bez testa više od %1 dana").arg(view.notSeenDays),
                               QStringLiteral("not seen for %1 days").arg(view.notSeenDays)));
  return QStringLiteral("<p id=\"counts\" class=\"counts\">") + links.join(QStringLiteral(" · ")) + QStringLiteral("</p>\n");
}

QString FilterForm(const FleetFilter& filter) {
  QString options = QStringLiteral("<option value=\"\">sve / all</option>");
  for (const FindingInfo& info : kFindings)
    options += QStringLiteral("<option value=\"%1\"%2>%3</option>")
                   .arg(QString::fromLatin1(FindingName(info.finding)),
                        filter.finding == info.finding ? QStringLiteral(" selected") : QString(),
                        Html(U(info.optionSerbian) + QStringLiteral(" / ") + U(info.optionEnglish)));
  QString html = QStringLiteral("<form id=\"filter\" class=\"filter\" method=\"get\" action=\"/\">\n");
  html += QStringLiteral("<label for=\"q\">%1<input id=\"q\" name=\"q\" type=\"search\" maxlength=\"%2\" value=\"%3\"></label>\n")
              .arg(Bilingual(QStringLiteral("Serijski broj ili PIB"), QStringLiteral("Serial or PIB")),
                   QString::number(kMaxSearchLength), Html(filter.search));
  html += QStringLiteral("<label for=\"finding\">%1<select id=\"finding\" name=\"finding\">%2</select></label>\n")
              .arg(Bilingual(QStringLiteral("Nalaz"), QStringLiteral("Finding")), options);
  html += QStringLiteral("<label for=\"not_seen_days\">%1<input id=\"not_seen_days\" name=\"not_seen_days\" type=\"number\""
                         " min=\"0\" max=\"%2\" value=\"%3\"></label>\n")
              .arg(Bilingual(QStringLiteral("Bez testa više od N dana"), QStringLiteral("Not seen for more than N days")),
                   QString::number(kMaxNotSeenDays),
                   filter.notSeenDays ? QString::number(*filter.notSeenDays) : QString());
  if (filter.sort != FleetColumn::Ibfm)
    html += QStringLiteral("<input type=\"hidden\" name=\"sort\" value=\"%1\">\n").arg(QString::fromLatin1(ColumnName(filter.sort)));
  if (filter.descending) html += QStringLiteral("<input type=\"hidden\" name=\"order\" value=\"desc\">\n");
  html += QStringLiteral("<button type=\"submit\" id=\"apply\">%1</button> <a id=\"clear\" href=\"/\">%2</a>\n</form>\n")
              .arg(Bilingual(QStringLiteral("Prikaži"), QStringLiteral("Show")),
                   Bilingual(QStringLiteral("Poništi"), QStringLiteral("Clear")));
  return html;
}

QString HeaderRow(const FleetFilter& filter) {
  QString html = QStringLiteral("<thead><tr>");
  for (const ColumnInfo& info : kColumns) {
    FleetFilter sorted = filter;
    sorted.page = 1;
    const bool current = filter.sort == info.column;
    sorted.sort = info.column;
    sorted.descending = current && !filter.descending;
    const QString ariaSort = current ? QStringLiteral(" aria-sort=\"%1\"").arg(filter.descending ? QStringLiteral("descending")
                                                                                              : QStringLiteral("ascending"))
                                     : QString();
    const QString arrow = current ? (filter.descending ? QStringLiteral(" ▼") : QStringLiteral(" ▲")) : QString();
    html += QStringLiteral("<th scope=\"col\" class=\"col-%1\"%2><a href=\"%3\">%4%5</a></th>")
                .arg(QString::fromLatin1(ColumnName(info.column)), ariaSort, Html(FleetLink(sorted)),
                     Label(info.serbian, info.english), arrow);
  }
  return html + QStringLiteral("</tr></thead>\n");
}

// A value the shared judgement finds implausible: red, and "!" in front so
// that it shows on paper and to a screen reader too.
QString Cell(const QString& value, bool red, bool number, const char* column) {
  QStringList classes = {QStringLiteral("col-") + QLatin1String(column)};
  if (number) classes += QStringLiteral("number");
  if (red) classes += QStringLiteral("red");
  return QStringLiteral("<td class=\"%1\">%2%3</td>")
      .arg(classes.join(QLatin1Char(' ')), red ? QStringLiteral("<span class=\"mark\">!</span> ") : QString(), Html(value));
}

QString PrinterRow(const PrinterSummary& printer) {
  const DiagValues& v = printer.values;
  const PrinterFindings& f = printer.findings;
  QString html = QStringLiteral("<tr><th scope=\"row\" class=\"col-ibfm%1\">%2<a href=\"%3\">%4</a></th>")
                     .arg(f.serialUnknown ? QStringLiteral(" red") : QString(),
                          f.serialUnknown ? QStringLiteral("<span class=\"mark\">!</span> ") : QString(),
                          Html(PrinterLink(v[kIbfm])), Html(v[kIbfm]));
  html += Cell(v[kPib], false, false, "pib");
  html += Cell(v[kFw], f.firmwareUnknown, false, "fw");
  html += Cell(v[kJx], false, false, "jx");
  html += Cell(v[kBpdi], f.freeDailyReportsLow, true, "bpdi");
  html += Cell(v[kPlu], f.articlesHigh, true, "plu");
  html += Cell(v[kTg], false, false, "tg");
  html += Cell(v[kDiff], f.clockOff, false, "diff");
  html += Cell(v[kCp], false, false, "cp");
  html += Cell(DayText(printer.lastSeenMs), false, false, "last_seen");
  html += Cell(GroupedNumber(printer.recordCount), false, true, "records");
  return html + QStringLiteral("</tr>\n");
}

qint64 PageCount(qint64 matching) { return qMax<qint64>(1, (matching + kFleetPageSize - 1) / kFleetPageSize); }

QString Pager(const FleetView& view) {
  const qint64 pages = PageCount(view.matching);
  QString html = QStringLiteral("<nav class=\"pager\" aria-label=\"strane / pages\">");
  FleetFilter other = view.filter;
  if (view.filter.page > 1) {
    other.page = view.filter.page - 1;
    html += QStringLiteral("<a id=\"prev\" rel=\"prev\" href=\"%1\">← %2</a>")
                .arg(Html(FleetLink(other)), Bilingual(QStringLiteral("Prethodna"), QStringLiteral("Previous")));
  }
  html += QStringLiteral("<span>%1 %2 / %3</span>")
              .arg(Bilingual(QStringLiteral("Strana"), QStringLiteral("Page")), GroupedNumber(view.filter.page),
                   GroupedNumber(pages));
  if (view.filter.page < pages) {
    other.page = view.filter.page + 1;
    html += QStringLiteral("<a id=\"next\" rel=\"next\" href=\"%1\">%2 →</a>")
                .arg(Html(FleetLink(other)), Bilingual(QStringLiteral("Sledeća"), QStringLiteral("Next")));
  }
  return html + QStringLiteral("</nav>\n");
}

QString RowsLine(const FleetView& view) {
  const qint64 first = qint64(view.filter.page - 1) * kFleetPageSize + 1;
  const qint64 last = first + qint64(view.printers.size()) - 1;
  const QString range = view.printers.empty() ? QStringLiteral("0")
                                              : GroupedNumber(first) + QStringLiteral("–") + GroupedNumber(last);
  FleetFilter csv = view.filter;
  csv.page = 1;
  const QByteArray query = FleetQuery(csv);
  const QString csvLink = QStringLiteral("/printers.csv") + (query.isEmpty() ? QString() : QLatin1Char('?') + QString::fromLatin1(query));
  return QStringLiteral("<p class=\"rows\"><span id=\"rows\" data-first=\"%1\" data-last=\"%2\" data-total=\"%3\">%4 %5 %6 %7</span>"
                        " · <a id=\"csv\" href=\"%8\">CSV</a></p>\n")
      .arg(QString::number(view.printers.empty() ? 0 : first), QString::number(view.printers.empty() ? 0 : last),
           QString::number(view.matching), Bilingual(QStringLiteral("Redovi"), QStringLiteral("Rows")), range,
           Bilingual(QStringLiteral("od"), QStringLiteral("of")), GroupedNumber(view.matching), Html(csvLink));
}

}  // namespace

QString FleetLink(const FleetFilter& filter) {
  const QByteArray query = FleetQuery(filter);
  return query.isEmpty() ? QStringLiteral("/") : QStringLiteral("/?") + QString::fromLatin1(query);
}

QString PrinterLink(const QString& ibfm) { return QStringLiteral("/printers/") + UrlPart(ibfm); }

QString FleetPageMain(const FleetView& view) {
  QString html = QStringLiteral("<h1>%1</h1>\n").arg(Bilingual(QStringLiteral("Štampači"), QStringLiteral("Printers")));
  html += Counts(view) + FilterForm(view.filter) + RowsLine(view);
  html += QStringLiteral("<table id=\"fleet\" class=\"fleet\">\n") + HeaderRow(view.filter) + QStringLiteral("<tbody>\n");
  for (const PrinterSummary& printer : view.printers) html += PrinterRow(printer);
  if (view.printers.empty())
    html += QStringLiteral("<tr><td colspan=\"%1\" class=\"none\">%2</td></tr>\n")
                .arg(QString::number(std::size(kColumns)),
                     Bilingual(QStringLiteral("Nijedan štampač ne odgovara"), QStringLiteral("No printer matches")));
  html += QStringLiteral("</tbody>\n</table>\n") + Pager(view);
  html += QStringLiteral("<p class=\"legend\"><span class=\"red\"><span class=\"mark\">!</span> %1</span>. %2</p>\n")
              .arg(Bilingual(QStringLiteral("neuobičajena vrednost, kao crveno polje u alatu"),
                             QStringLiteral("implausible value, as the tool marks it red")),
                   Bilingual(QStringLiteral("Datumi po UTC"), QStringLiteral("Dates in UTC")));
  return html;
}

}  // namespace pralix::desk
