#include "workstation/test_report_page.h"

#include <QRegularExpression>

#include "workstation/model_catalogue.h"

namespace pralix {
namespace {

// Compact enough that eleven fields, six header lines and a few dialogs fit
// one A4 sheet; the red marks print as a bold "!" as well as in colour.
constexpr char kStyle[] = R"(@page { size: A4; margin: 12mm; }
* { box-sizing: border-box; }
body { font: 10pt/1.35 "DejaVu Sans", "Liberation Sans", Arial, sans-serif; color: #111; margin: 0 auto; max-width: 186mm; padding: 6mm 0; }
h1 { font-size: 15pt; margin: 0 0 2pt; }
h2 { font-size: 11pt; margin: 10pt 0 3pt; border-bottom: 1px solid #888; }
p.outcome { font-size: 12pt; font-weight: bold; margin: 2pt 0 6pt; }
p.outcome.found { color: #0a6b22; }
p.outcome.not-found { color: #c00000; }
table { border-collapse: collapse; width: 100%; }
th, td { border: 1px solid #bbb; padding: 2pt 6pt; text-align: left; vertical-align: top; }
th { background: #f0f0f0; font-weight: normal; width: 34%; }
td.mark { width: 9%; text-align: center; }
tr.red td { color: #d00000; font-weight: bold; }
tr.red td.mark::before { content: "! "; }
.mono { font-family: "DejaVu Sans Mono", "Liberation Mono", monospace; white-space: pre-wrap; }
ol.header { margin: 0; padding-left: 22pt; }
ol.header li { font-family: "DejaVu Sans Mono", "Liberation Mono", monospace; white-space: pre; min-height: 1.35em; }
div.dialog { border: 1px solid #bbb; padding: 3pt 6pt; margin: 0 0 4pt; page-break-inside: avoid; }
div.dialog b { display: block; }
p.none, p.foot { color: #555; margin: 2pt 0; }
p.foot { font-size: 8pt; margin-top: 10pt; }
@media print { body { padding: 0; } }
)";

// HTML text for a value: the markup characters escaped, and control
// characters from a printer's reply shown as U+FFFD rather than passed on.
QString Escaped(const QString& value) {
  QString clean = value;
  for (QChar& c : clean)
    if (c.unicode() < 0x20 && c != u'\n' && c != u'\t') c = QChar(0xFFFD);
  QString html = clean.toHtmlEscaped();
  html.replace(u'\'', QStringLiteral("&#39;"));
  return html;
}

QString Row(const QString& caption, const QString& value, const char* rowClass = nullptr) {
  const QString open = rowClass ? QStringLiteral("<tr class=\"%1\">").arg(QLatin1String(rowClass)) : QStringLiteral("<tr>");
  return open + QStringLiteral("<th>") + Escaped(caption) + QStringLiteral("</th><td>") + Escaped(value) +
         QStringLiteral("</td></tr>\n");
}

QString ModelLine(int index) {
  if (index < 0 || size_t(index) >= ModelCatalogue.size()) return QStringLiteral("model %1").arg(index);
  return QString::fromLatin1(ModelCatalogue[size_t(index)].line).simplified();
}

QString Speed(int index) {
  if (index < 0 || size_t(index) >= ModelCatalogue.size()) return {};
  return QStringLiteral("%1 baud").arg(ModelCatalogue[size_t(index)].baud);
}

QString Summary(const MainFields& fields, const TestReportFacts& facts) {
  QString html = QStringLiteral("<table class=\"summary\">\n");
  html += Row(QStringLiteral("Model"), ModelLine(fields.ModelIndex));
  html += Row(QStringLiteral("Port"), facts.found ? fields.LEFPPort.text : QStringLiteral("none answered"));
  html += Row(QStringLiteral("Speed"), Speed(fields.ModelIndex));
  html += Row(QStringLiteral("Time of the test"), facts.time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
  html += Row(QStringLiteral("Pralix version"), facts.toolVersion);
  html += Row(QStringLiteral("Firmware version"), fields.LEFirmware.text);
  if (facts.found) html += Row(QStringLiteral("DiagData sent"), fields.DiagDataSent ? QStringLiteral("yes") : QStringLiteral("no"));
  return html + QStringLiteral("</table>\n");
}

QString FieldTable(const MainFields& fields) {
  QString html = QStringLiteral("<table class=\"fields\">\n");
  for (const LabelledEditInfo& edit : kLabelledEdits) {
    const LabelledEdit& field = fields.*edit.field;
    html += field.red ? QStringLiteral("<tr class=\"red\">") : QStringLiteral("<tr>");
    html += QStringLiteral("<th>") + Escaped(QString::fromLatin1(edit.caption)) + QStringLiteral("</th><td class=\"mono\">") +
            Escaped(field.text) + QStringLiteral("</td><td class=\"mark\">") +
            (field.red ? QStringLiteral("red") : QString()) + QStringLiteral("</td></tr>\n");
  }
  return html + QStringLiteral("</table>\n");
}

QString HeaderLines(const MainFields& fields) {
  if (fields.MemoHeader.isEmpty()) return QStringLiteral("<p class=\"none\">None read.</p>\n");
  QString html = QStringLiteral("<ol class=\"header\">\n");
  for (const QString& line : fields.MemoHeader) html += QStringLiteral("<li>") + Escaped(line) + QStringLiteral("</li>\n");
  return html + QStringLiteral("</ol>\n");
}

QString Dialogs(const QList<ShownDialog>& dialogs) {
  if (dialogs.isEmpty()) return QStringLiteral("<p class=\"none\">None.</p>\n");
  // The dialogs space their lines with empty ones; on paper one line break does.
  static const QRegularExpression kBlankLines(QStringLiteral("\\n\\s*\\n"));
  QString html;
  for (const ShownDialog& d : dialogs)
    html += QStringLiteral("<div class=\"dialog\"><b>") + Escaped(d.caption) + QStringLiteral("</b><span class=\"mono\">") +
            Escaped(d.text.trimmed().replace(kBlankLines, QStringLiteral("\n"))) + QStringLiteral("</span></div>\n");
  return html;
}

}  // namespace

QByteArray TestReportPage(const MainFields& fields, const TestReportFacts& facts) {
  const QString when = facts.time.toString(QStringLiteral("yyyy-MM-dd hh:mm"));
  QString html = QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n");
  html += QStringLiteral("<title>Pralix test ") + Escaped(when) + QStringLiteral("</title>\n<style>\n") +
          QString::fromLatin1(kStyle) + QStringLiteral("</style>\n</head>\n<body>\n");
  html += QStringLiteral("<h1>Pralix - FP Connectivity test</h1>\n");
  html += facts.found ? QStringLiteral("<p class=\"outcome found\">Printer found</p>\n")
                      : QStringLiteral("<p class=\"outcome not-found\">Printer not found</p>\n");
  html += Summary(fields, facts);
  html += QStringLiteral("<h2>Fields</h2>\n") + FieldTable(fields);
  html += QStringLiteral("<h2>Receipt header</h2>\n") + HeaderLines(fields);
  html += QStringLiteral("<h2>Dialogs shown</h2>\n") + Dialogs(facts.dialogs);
  html += QStringLiteral("<p class=\"foot\">Values marked red are implausible for the model. Pralix ") +
          Escaped(facts.toolVersion) + QStringLiteral(".</p>\n</body>\n</html>\n");
  return html.toUtf8();
}

}  // namespace pralix
