#include "records/fleet_filter.h"

#include <QList>
#include <QUrl>

namespace pralix::desk {
namespace {

std::optional<int> NumberIn(const std::optional<QString>& text, int low, int high) {
  if (!text) return std::nullopt;
  for (const QChar c : *text)
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
  bool ok = false;
  const int number = text->toInt(&ok);
  if (!ok || number < low || number > high) return std::nullopt;
  return number;
}

// Control characters cannot be typed into a search box, and PostgreSQL
// refuses a NUL in a text: they are dropped.
QString SearchText(const QString& typed) {
  QString text;
  for (const QChar c : typed)
    if (c.unicode() >= 0x20 && c.unicode() != 0x7f) text += c;
  return text.trimmed().left(kMaxSearchLength);
}

QByteArray Encoded(const QString& value) { return QUrl::toPercentEncoding(value); }

}  // namespace

QByteArray FindingName(Finding finding) {
  switch (finding) {
    case Finding::FreeZLow: return "free_z_low";
    case Finding::ArticlesHigh: return "articles_high";
    case Finding::SerialUnknown: return "serial_unknown";
    case Finding::ClockOff: return "clock_off";
    case Finding::FirmwareUnknown: return "firmware_unknown";
  }
  return {};
}

QByteArray ColumnName(FleetColumn column) {
  switch (column) {
    case FleetColumn::Ibfm: return "ibfm";
    case FleetColumn::Pib: return "pib";
    case FleetColumn::Firmware: return "fw";
    case FleetColumn::Jx: return "jx";
    case FleetColumn::FreeZ: return "bpdi";
    case FleetColumn::Articles: return "plu";
    case FleetColumn::TaxGroups: return "tg";
    case FleetColumn::ClockDifference: return "diff";
    case FleetColumn::Port: return "cp";
    case FleetColumn::LastTest: return "last_seen";
    case FleetColumn::Records: return "records";
  }
  return {};
}

std::optional<QString> QueryValue(const QByteArray& query, const QByteArray& name) {
  for (const QByteArray& pair : query.split('&')) {
    const qsizetype equals = pair.indexOf('=');
    const QByteArray key = equals < 0 ? pair : pair.left(equals);
    if (QByteArray::fromPercentEncoding(QByteArray(key).replace('+', ' ')) != name) continue;
    const QByteArray value = equals < 0 ? QByteArray() : pair.mid(equals + 1);
    return QString::fromUtf8(QByteArray::fromPercentEncoding(QByteArray(value).replace('+', ' ')));
  }
  return std::nullopt;
}

FleetFilter ParseFleetFilter(const QByteArray& query) {
  FleetFilter filter;
  filter.search = SearchText(QueryValue(query, "q").value_or(QString()));
  if (const std::optional<QString> finding = QueryValue(query, "finding"))
    for (const Finding f : kAllFindings)
      if (*finding == QLatin1String(FindingName(f))) filter.finding = f;
  filter.notSeenDays = NumberIn(QueryValue(query, "not_seen_days"), 0, kMaxNotSeenDays);
  if (const std::optional<QString> sort = QueryValue(query, "sort"))
    for (const FleetColumn column : kAllFleetColumns)
      if (*sort == QLatin1String(ColumnName(column))) filter.sort = column;
  filter.descending = QueryValue(query, "order") == QStringLiteral("desc");
  filter.page = NumberIn(QueryValue(query, "page"), 1, kMaxPage).value_or(1);
  return filter;
}

QByteArray FleetQuery(const FleetFilter& filter) {
  QList<QByteArray> parts;
  if (!filter.search.isEmpty()) parts += "q=" + Encoded(filter.search);
  if (filter.finding) parts += "finding=" + FindingName(*filter.finding);
  if (filter.notSeenDays) parts += "not_seen_days=" + QByteArray::number(*filter.notSeenDays);
  if (filter.sort != FleetColumn::Ibfm) parts += "sort=" + ColumnName(filter.sort);
  if (filter.descending) parts += "order=desc";
  if (filter.page != 1) parts += "page=" + QByteArray::number(filter.page);
  return parts.join('&');
}

}  // namespace pralix::desk
