#include "fleet_records.h"

#include <QHostAddress>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "diagdata/diagdata_form.h"
#include "fill_random.h"

namespace pralix::desk::fill {
namespace {

constexpr qint64 kDayMs = 86400000;
constexpr int kFirstToolBuild = 300;  // the tool's builds over the period: 10.2.300 ...
constexpr int kLastToolBuild = 350;   // ... 10.2.350

QString Uuid(FillRandom& random) {
  const quint64 high = random.next();
  const quint64 low = random.next();
  QString hex = QStringLiteral("%1%2").arg(high, 16, 16, QLatin1Char('0')).arg(low, 16, 16, QLatin1Char('0'));
  hex[12] = QLatin1Char('4');                                       // version 4
  hex[16] = QLatin1Char("89ab"[low >> 62]);                         // the variant
  return hex.left(8) + u'-' + hex.mid(8, 4) + u'-' + hex.mid(12, 4) + u'-' + hex.mid(16, 4) + u'-' + hex.mid(20);
}

QString ClockDifference(const PrinterPlan& plan, double days, FillRandom& random) {
  if (random.chance(0.002)) return QStringLiteral("Dana: %1").arg(random.between(1, 400));  // a flat clock battery
  int minutes = plan.clockMinutes + random.below(2);
  if (plan.clockDriftPerDay > 0)
    minutes = int(std::fmod(plan.clockMinutes + plan.clockDriftPerDay * days, double(plan.clockResetMinutes)));
  return QStringLiteral("%1:%2").arg(std::min(minutes / 60, 23), 2, 10, QLatin1Char('0')).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString ClientAddress(const PrinterPlan& plan, double days) {
  quint32 address = plan.address;
  if (plan.addressDays > 0) {  // a dynamic address: the last two octets change now and then
    FillRandom renewal(plan.address, {quint64(days / plan.addressDays)});
    address ^= quint32(renewal.next() & 0xFFFF);
  }
  return QHostAddress(address).toString();
}

QString ToolVersion(const FleetShape& shape, const PrinterPlan& plan, qint64 testedAtMs) {
  const double elapsed = double(testedAtMs - qint64(plan.toolLagDays) * kDayMs - shape.startMs()) / double(shape.endMs - shape.startMs());
  const int build = kFirstToolBuild + int(std::clamp(elapsed, 0.0, 1.0) * (kLastToolBuild - kFirstToolBuild));
  return QStringLiteral("10.2.%1").arg(build);
}

}  // namespace

int WorkingDaysBetween(qint64 fromMs, qint64 toMs) {
  // Day 0 (1970-01-01) was a Thursday: weekday (day + 3) % 7, Monday 0.
  const qint64 from = fromMs / kDayMs, to = toMs / kDayMs;
  if (to <= from) return 0;
  const auto workingUpTo = [](qint64 day) {  // working days in days 0..day
    const qint64 weeks = (day + 3) / 7, rest = (day + 3) % 7;
    return weeks * 5 + std::min<qint64>(rest + 1, 5) - 3;  // minus Monday..Wednesday before day 0
  };
  return int(workingUpTo(to) - workingUpTo(from));
}

DiagRecord MakeRecord(const FleetShape& shape, const PrinterPlan& plan, qint64 firstTestMs, const TestEvent& event) {
  FillRandom random(shape.seed, {4, quint64(event.printer), quint64(event.ordinal)});
  const qint64 at = event.testedAtMs;
  const double days = double(at - firstTestMs) / double(kDayMs);
  const bool newOwner = plan.pib.changeMs != 0 && at >= plan.pib.changeMs;
  const int freeReports = std::max(0, plan.startFreeReports - WorkingDaysBetween(firstTestMs, at));
  const int articles = plan.startArticles + int(plan.articlesPerYear * days / 365.0);
  QString header;
  for (const QString& line : newOwner ? plan.laterHeader : plan.header) header += line + QStringLiteral("\r\n");

  DiagRecord record;
  record.values = {plan.ibfm,
                   plan.pib.at(at),
                   plan.firmware.at(at),
                   plan.windows + u'/' + plan.fiscalLink.at(at),
                   plan.taxGroups,
                   QString::number(freeReports),
                   QString::number(articles),
                   plan.port.at(at),
                   ClockDifference(plan, days, random),
                   header + QLatin1String(kDiagDataEndMarker)};
  QStringList lines;
  for (int i = 0; i < kDiagDataFieldCount; ++i) lines += QLatin1String(kDiagDataFieldNames[size_t(i)]) + u'=' + record.values[size_t(i)];
  record.rawBody = EncodeDiagDataForm(lines);
  record.receivedAtMs = event.receivedAtMs;
  record.clientAddress = ClientAddress(plan, days);
  record.idempotencyKey = Uuid(random);
  if (!plan.oldTool) {
    record.testedAtMs = at;
    record.toolVersion = ToolVersion(shape, plan, at);
  }
  return record;
}

}  // namespace pralix::desk::fill
