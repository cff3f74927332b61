#include "fleet_fill.h"

#include <chrono>

#include "fleet_records.h"
#include "printer_plan.h"

namespace pralix::desk::fill {
namespace {

constexpr size_t kRecordBatch = 20000;
constexpr size_t kPrinterBatch = 5000;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// What the store's upsert keeps of a printer's records so far.
struct Latest {
  qint64 seenMs = 0;
  qint64 id = 0;
  const TestEvent* event = nullptr;
  qint64 firstSeenMs = 0;
  qint64 lastSeenMs = 0;
  qint64 count = 0;
};

void Count(Latest& latest, qint64 id, const TestEvent& event, qint64 seenMs) {
  if (latest.count == 0 || seenMs < latest.firstSeenMs) latest.firstSeenMs = seenMs;
  if (latest.count == 0 || seenMs >= latest.lastSeenMs) latest.lastSeenMs = seenMs;
  if (latest.count == 0 || seenMs >= latest.seenMs) latest = {seenMs, id, &event, latest.firstSeenMs, latest.lastSeenMs, latest.count};
  ++latest.count;
}

}  // namespace

FillTimes FillFleet(const FleetShape& shape, FleetSink& sink, const std::function<void(double)>& progress) {
  FillTimes times;
  Clock::time_point start = Clock::now();
  std::vector<PrinterPlan> plans;
  plans.reserve(size_t(shape.printers));
  for (int p = 0; p < shape.printers; ++p) plans.push_back(PlanPrinter(shape.seed, p, shape.startMs(), shape.endMs));
  const std::vector<TestEvent> events = ScheduleTests(shape);
  std::vector<qint64> firstTestMs(plans.size(), shape.endMs);
  for (const TestEvent& event : events)
    if (event.ordinal == 0) firstTestMs[size_t(event.printer)] = event.testedAtMs;
  times.scheduleSeconds = SecondsSince(start);

  start = Clock::now();
  std::vector<Latest> latest(plans.size());
  std::vector<NumberedRecord> batch;
  batch.reserve(kRecordBatch);
  qint64 id = 0;
  for (const TestEvent& event : events) {
    const size_t p = size_t(event.printer);
    batch.push_back({++id, MakeRecord(shape, plans[p], firstTestMs[p], event)});
    Count(latest[p], id, event, batch.back().record.shownAtMs());
    if (batch.size() == kRecordBatch) {
      sink.addRecords(batch);
      batch.clear();
      progress(double(id) / double(events.size()));
    }
  }
  if (!batch.empty()) sink.addRecords(batch);
  times.recordsSeconds = SecondsSince(start);

  start = Clock::now();
  std::vector<FleetPrinter> printers;
  for (size_t p = 0; p < plans.size(); ++p) {
    const Latest& last = latest[p];
    printers.push_back({MakeRecord(shape, plans[p], firstTestMs[p], *last.event), last.id, last.firstSeenMs,
                        last.lastSeenMs, last.count});
    if (printers.size() == kPrinterBatch || p + 1 == plans.size()) {
      sink.addPrinters(printers);
      printers.clear();
    }
  }
  sink.finish();
  times.printersSeconds = SecondsSince(start);
  return times;
}

}  // namespace pralix::desk::fill
