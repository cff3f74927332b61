#include "fleet_schedule.h"

#include <algorithm>
#include <cmath>

#include "fill_random.h"

namespace pralix::desk::fill {
namespace {

constexpr qint64 kDayMs = 86400000;
constexpr qint64 kHourMs = 3600000;

// A moment moved into shop hours (07:00 to 18:00 UTC) of its own day,
// keeping the order of moments.
qint64 InShopHours(qint64 ms) {
  const qint64 day = ms - ms % kDayMs;
  return day + 7 * kHourMs + (ms % kDayMs) * 11 / 24;
}

}  // namespace

std::vector<int> TestCounts(const FleetShape& shape) {
  std::vector<double> weights(size_t(shape.printers));
  double total = 0;
  for (int i = 0; i < shape.printers; ++i) {
    FillRandom random(shape.seed, {2, quint64(i)});
    total += weights[size_t(i)] = 0.25 + 1.5 * random.unit();
  }
  const qint64 extra = shape.records - shape.printers;
  std::vector<int> counts(size_t(shape.printers), 1);
  std::vector<std::pair<double, int>> remainders;
  remainders.reserve(size_t(shape.printers));
  qint64 given = 0;
  for (int i = 0; i < shape.printers; ++i) {
    const double share = double(extra) * weights[size_t(i)] / total;
    const qint64 whole = qint64(std::floor(share));
    counts[size_t(i)] += int(whole);
    given += whole;
    remainders.push_back({share - double(whole), i});
  }
  // The largest remainders take what rounding down left over.
  std::sort(remainders.begin(), remainders.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first > b.first : a.second < b.second;
  });
  for (qint64 k = 0; k < extra - given; ++k) ++counts[size_t(remainders[size_t(k)].second)];
  return counts;
}

std::vector<TestEvent> ScheduleTests(const FleetShape& shape) {
  const std::vector<int> counts = TestCounts(shape);
  std::vector<TestEvent> events;
  events.reserve(size_t(shape.records));
  const qint64 periodMs = shape.endMs - shape.startMs();
  for (int p = 0; p < shape.printers; ++p) {
    FillRandom random(shape.seed, {3, quint64(p)});
    const int count = counts[size_t(p)];
    double intervalMs = (2.0 + 5.0 * random.unit()) * double(kDayMs);
    intervalMs = std::min(intervalMs, double(periodMs) / (count + 1));
    const double spanMs = intervalMs * count;
    // Most printers are still tested at the end; one in five stopped earlier.
    const double quietMs = random.chance(0.2) ? random.unit() * (double(periodMs) - spanMs) : random.unit() * intervalMs;
    const double firstMs = double(shape.endMs) - quietMs - spanMs;
    for (int n = 0; n < count; ++n) {
      // Up to 0.4 intervals early or late: never past a neighbour.
      const double position = n + 0.8 * (random.unit() - 0.5);
      const qint64 tested = std::min(shape.endMs, InShopHours(qint64(firstMs + position * intervalMs)));
      qint64 delay = random.between(800, 4000);
      if (random.chance(0.03)) delay += qint64(random.between(1, 72)) * kHourMs;  // from the outbox
      events.push_back({tested + delay, tested, qint32(p), qint32(n)});
    }
  }
  std::sort(events.begin(), events.end(), [](const TestEvent& a, const TestEvent& b) {
    if (a.receivedAtMs != b.receivedAtMs) return a.receivedAtMs < b.receivedAtMs;
    return a.printer != b.printer ? a.printer < b.printer : a.ordinal < b.ordinal;
  });
  return events;
}

}  // namespace pralix::desk::fill
