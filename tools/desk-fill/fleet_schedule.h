#pragma once
// When the made-up fleet's printers were tested: how many tests each one
// has, their times, and the order the desk received them in.

#include <QtGlobal>
#include <vector>

namespace pralix::desk::fill {

struct FleetShape {
  quint64 seed = 1;
  int printers = 1000;
  qint64 records = 20000;  // at least one per printer
  qint64 endMs = 0;        // no test after this moment
  int days = 730;          // how far back before endMs the histories reach
  qint64 startMs() const { return endMs - qint64(days) * 86400000; }
};

struct TestEvent {
  qint64 receivedAtMs;
  qint64 testedAtMs;
  qint32 printer;
  qint32 ordinal;  // 0 for the printer's first test
};

// Each printer's number of tests: at least one, the rest spread unevenly
// (a busy or troubled shop is tested more often); they add up to records.
std::vector<int> TestCounts(const FleetShape& shape);

// Every test of the fleet in the order the desk received them.  A printer
// is tested every two to seven days (closer when it has more tests than
// that fits into the period) during shop hours; most are still tested near
// the end, some stopped earlier.  An answer comes a few seconds after the
// test, or, for about 3 in 100, hours or days later from the tool's outbox.
std::vector<TestEvent> ScheduleTests(const FleetShape& shape);

}  // namespace pralix::desk::fill
