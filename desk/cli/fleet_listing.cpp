#include "cli/fleet_listing.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <algorithm>

#include "records/printer_findings.h"
#include "records/utc_time.h"

namespace pralix::desk {
namespace {

QJsonObject ValuesObject(const DiagValues& values) {
  QJsonObject object;
  for (int i = 0; i < kDiagDataFieldCount; ++i)
    if (i != kH6l) object.insert(QLatin1String(kDiagDataFieldNames[i]), values[i]);
  object.insert(QStringLiteral("header"), QJsonArray::fromStringList(HeaderLines(values[kH6l])));
  return object;
}

QString NumberOrDash(const std::optional<int>& number) { return number ? QString::number(*number) : QStringLiteral("-"); }

QString FindingNames(const PrinterFindings& findings) {
  QStringList names;
  if (findings.freeDailyReportsLow) names += QStringLiteral("free-z");
  if (findings.articlesHigh) names += QStringLiteral("articles");
  if (findings.serialUnknown) names += QStringLiteral("serial");
  if (findings.clockOff) names += QStringLiteral("clock");
  if (findings.firmwareUnknown) names += QStringLiteral("firmware");
  return names.isEmpty() ? QStringLiteral("-") : names.join(QLatin1Char(','));
}

// Rows padded to each column's widest cell, columns two spaces apart.
QString Columns(const std::vector<QStringList>& rows) {
  std::vector<qsizetype> widths;
  for (const QStringList& row : rows) {
    widths.resize(std::max(widths.size(), std::size_t(row.size())), 0);
    for (qsizetype i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row.at(i).size());
  }
  QString text;
  for (const QStringList& row : rows) {
    QString line;
    for (qsizetype i = 0; i < row.size(); ++i)
      line += i + 1 == row.size() ? row.at(i) : row.at(i).leftJustified(widths[i]) + QStringLiteral("  ");
    text += line + QLatin1Char('\n');
  }
  return text;
}

QString Cell(const QString& value) { return value.isEmpty() ? QStringLiteral("-") : value; }

}  // namespace

QByteArray PrintersJson(const std::vector<PrinterSummary>& printers) {
  QJsonArray array;
  for (const PrinterSummary& printer : printers) {
    QJsonObject object = ValuesObject(printer.values);
    object.insert(QStringLiteral("first_seen"), FormatRfc3339(printer.firstSeenMs));
    object.insert(QStringLiteral("last_seen"), FormatRfc3339(printer.lastSeenMs));
    object.insert(QStringLiteral("records"), double(printer.recordCount));
    array.append(object);
  }
  return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

QByteArray RecordsJson(const std::vector<DiagRecord>& records) {
  QJsonArray array;
  for (const DiagRecord& record : records) {
    QJsonObject object = ValuesObject(record.values);
    object.insert(QStringLiteral("tested_at"), FormatRfc3339(record.shownAtMs()));
    object.insert(QStringLiteral("received_at"), FormatRfc3339(record.receivedAtMs));
    object.insert(QStringLiteral("version"), record.toolVersion.isNull() ? QJsonValue() : QJsonValue(record.toolVersion));
    array.append(object);
  }
  return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

QString PrintersTable(const std::vector<PrinterSummary>& printers) {
  std::vector<QStringList> rows = {{QStringLiteral("IBFM"), QStringLiteral("FIRST SEEN"), QStringLiteral("LAST SEEN"),
                                    QStringLiteral("RECORDS"), QStringLiteral("PIB"), QStringLiteral("FIRMWARE"),
                                    QStringLiteral("FREE Z"), QStringLiteral("ARTICLES"), QStringLiteral("CLOCK MIN"),
                                    QStringLiteral("FINDINGS")}};
  for (const PrinterSummary& printer : printers)
    rows.push_back({Cell(printer.values[kIbfm]), FormatDay(printer.firstSeenMs), FormatDay(printer.lastSeenMs),
                    QString::number(printer.recordCount), Cell(printer.values[kPib]), Cell(printer.values[kFw]),
                    NumberOrDash(printer.findings.freeDailyReports), NumberOrDash(printer.findings.articles),
                    NumberOrDash(printer.findings.clockMinutes), FindingNames(printer.findings)});
  return Columns(rows);
}

QString RecordsTable(const std::vector<DiagRecord>& records) {
  std::vector<QStringList> rows = {{QStringLiteral("TESTED"), QStringLiteral("RECEIVED"), QStringLiteral("VERSION"),
                                    QStringLiteral("FIRMWARE"), QStringLiteral("FREE Z"), QStringLiteral("ARTICLES"),
                                    QStringLiteral("CLOCK"), QStringLiteral("PORT"), QStringLiteral("FINDINGS")}};
  for (const DiagRecord& record : records)
    rows.push_back({FormatRfc3339(record.shownAtMs()), FormatRfc3339(record.receivedAtMs), Cell(record.toolVersion),
                    Cell(record.values[kFw]), Cell(record.values[kBpdi]), Cell(record.values[kPlu]),
                    Cell(record.values[kDiff]), Cell(record.values[kCp]), FindingNames(JudgeValues(record.values))});
  return Columns(rows);
}

}  // namespace pralix::desk
