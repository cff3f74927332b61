#include "pages/printer_path.h"

#include <QStringList>

namespace pralix::desk {
namespace {

QString Decoded(const QString& segment) { return QString::fromUtf8(QByteArray::fromPercentEncoding(segment.toUtf8())); }

}  // namespace

std::optional<PrinterPath> ParsePrinterPath(const QString& path) {
  if (!path.startsWith(QLatin1String(kPrintersPrefix))) return std::nullopt;
  const QStringList segments = path.mid(qsizetype(sizeof kPrintersPrefix) - 1).split(QLatin1Char('/'));
  if (segments.first().isEmpty()) return std::nullopt;
  PrinterPath parsed{Decoded(segments.first()), std::nullopt};
  if (segments.size() == 1) return parsed;
  if (segments.size() != 4 || segments.at(1) != QLatin1String("records") || segments.at(3) != QLatin1String("raw"))
    return std::nullopt;
  const QString& id = segments.at(2);
  if (id.isEmpty() || id.size() > 18) return std::nullopt;
  for (const QChar c : id)
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
  parsed.rawRecordId = id.toLongLong();
  if (*parsed.rawRecordId <= 0) return std::nullopt;
  return parsed;
}

}  // namespace pralix::desk
