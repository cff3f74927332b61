#include "diagdata/value_judgement.h"

#include <QtGlobal>
#include <algorithm>
#include <cstdlib>
#include <limits>

namespace pralix {

const std::array<const char*, 26> KnownFirmware = {
    "1.22SR 09NOV03 1230,BB78", "1.50SR 26JUL04 1000,BA46", "2.00SR 21MAY08 1330,AC2A",
    "2.76SR 21MAY08 1330,AC2A", "3.52SR 20FEB13 1000,8A33", "3.84SR 20FEB13 1000,8A33",
    "4.22SR 20FEB13 1000,8A33", "4.32SR 20FEB13 1000,8A33", "4.52SR 20FEB13 1000,8A33",
    "1.00SR 25JUN12 1500,1538", "1.10SR 19DEC14 1000,F8EA", "3.00SR 02JUN11 2100,820F",
    "1.00SR 11APR12 1724,0000", "2.10CG 10APR05 1030,35C2", "3.01CG 11JUN09 1530,91F7",
    "1.00CG 12MAY15 1230,674C", "1.00CG 02NOV11 1530,2642", "1.10MW 30JAN14 1030,6FFB",
    "1.00MK 23JUL14 1230,21F5", "1.01MK 28OCT14 0930,0B68", "1.01MK 28OCT14 0930,3349",
    "1.00BG 11APR11 1530,0744", "1.00BG 22MAR12 0930,0744", "1.00BG 16MAY13 1030,0744",
    "2.00CG 22NOV04 1600,00B0", "1.00MK 23OCT14 1030,960F",
};

std::optional<int> WholeInteger(const QString& text) {
  qsizetype i = 0;
  while (i < text.size() && text.at(i) == QLatin1Char(' ')) ++i;
  bool negative = false;
  if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
    negative = text.at(i++) == QLatin1Char('-');
  if (i == text.size()) return std::nullopt;
  qint64 value = 0;
  for (; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    value = value * 10 + (c.unicode() - u'0');
    if (value > qint64(1) << 31) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min()) return std::nullopt;
  return int(value);
}

bool FreeDailyReportsImplausible(const QString& freeReports) {
  const std::optional<int> count = WholeInteger(freeReports);
  return !count || *count < kMinFreeDailyReports;
}

bool ArticleCountImplausible(const QString& articles) {
  const std::optional<int> count = WholeInteger(articles);
  return !count || *count > kMaxArticles;
}

bool SerialMarkedUnknown(const QString& serial) { return serial.contains(QLatin1Char('E')); }

bool ClockDifferenceImplausible(const QString& difference) {
  const std::optional<int> hours = WholeInteger(difference.mid(0, 2));
  const std::optional<int> minutes = WholeInteger(difference.mid(3, 2));
  if (!hours || !minutes) return true;
  return std::abs(*hours) * 60 + *minutes > kMaxClockDifferenceMinutes;
}

bool FirmwareUnknown(const QString& firmware) {
  return std::none_of(KnownFirmware.begin(), KnownFirmware.end(),
                      [&](const char* known) { return firmware == QLatin1String(known); });
}

std::optional<int> ClockDifferenceMinutes(const QString& difference) {
  static const QString kDays = QStringLiteral("Dana: ");
  if (difference.startsWith(kDays)) {
    const std::optional<int> days = WholeInteger(difference.mid(kDays.size()));
    if (!days || std::abs(qint64(*days)) > std::numeric_limits<int>::max() / (24 * 60)) return std::nullopt;
    return std::abs(*days) * 24 * 60;
  }
  const std::optional<int> hours = WholeInteger(difference.mid(0, 2));
  const std::optional<int> minutes = WholeInteger(difference.mid(3, 2));
  if (!hours || !minutes || difference.size() != 5 || difference.at(2) != QLatin1Char(':')) return std::nullopt;
  return std::abs(*hours) * 60 + *minutes;
}

}  // namespace pralix
