#include "fill_options.h"

#include <QDate>
#include <QDateTime>
#include <QTimeZone>

namespace pralix::desk::fill {
namespace {

constexpr int kMostPrinters = 1000000;  // the serials' six digits

std::optional<qint64> Number(const QString& text, qint64 lowest, qint64 highest) {
  bool ok = false;
  const qint64 n = text.toLongLong(&ok);
  if (!ok || n < lowest || n > highest) return std::nullopt;
  return n;
}

}  // namespace

std::optional<FillOptions> ParseFillOptions(const QStringList& arguments, QString* error) {
  FillOptions options;
  options.shape.endMs = QDateTime(QDate(2026, 12, 1), QTime(0, 0), QTimeZone::utc()).toMSecsSinceEpoch();
  bool haveDatabase = false;
  for (qsizetype i = 0; i < arguments.size(); i += 2) {
    const QString& name = arguments.at(i);
    if (i + 1 >= arguments.size()) {
      *error = name + QStringLiteral(" needs a value");
      return std::nullopt;
    }
    const QString& value = arguments.at(i + 1);
    std::optional<qint64> n;
    if (name == QLatin1String("--database")) {
      const std::optional<DatabaseUrl> url = ParseDatabaseUrl(value, error);
      if (!url) return std::nullopt;
      options.database = *url;
      haveDatabase = true;
      continue;
    }
    if (name == QLatin1String("--end")) {
      const QDate day = QDate::fromString(value, Qt::ISODate);
      if (!day.isValid()) {
        *error = QStringLiteral("--end wants a day as YYYY-MM-DD");
        return std::nullopt;
      }
      options.shape.endMs = QDateTime(day, QTime(0, 0), QTimeZone::utc()).toMSecsSinceEpoch();
      continue;
    }
    if (name == QLatin1String("--printers") && (n = Number(value, 1, kMostPrinters))) {
      options.shape.printers = int(*n);
    } else if (name == QLatin1String("--records") && (n = Number(value, 1, qint64(1) << 40))) {
      options.shape.records = *n;
    } else if (name == QLatin1String("--seed") && (n = Number(value, 0, std::numeric_limits<qint64>::max()))) {
      options.shape.seed = quint64(*n);
    } else if (name == QLatin1String("--days") && (n = Number(value, 1, 36500))) {
      options.shape.days = int(*n);
    } else {
      *error = QStringLiteral("unknown option or bad value: %1 %2").arg(name, value);
      return std::nullopt;
    }
  }
  if (!haveDatabase) {
    *error = QStringLiteral("--database is needed");
    return std::nullopt;
  }
  if (options.shape.records < options.shape.printers) {
    *error = QStringLiteral("every printer needs a record: --records must be at least --printers");
    return std::nullopt;
  }
  return options;
}

}  // namespace pralix::desk::fill
