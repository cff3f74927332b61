#pragma once
// The DiagData record one test of a made-up printer gives: the values the
// tool would have read at that moment, encoded by the tool's own encoder,
// with the headers and arrival the desk would have seen.

#include "fleet_schedule.h"
#include "printer_plan.h"
#include "records/diag_record.h"

namespace pralix::desk::fill {

// The test event of printer plan, whose first test was at firstTestMs.
DiagRecord MakeRecord(const FleetShape& shape, const PrinterPlan& plan, qint64 firstTestMs, const TestEvent& event);

// Free daily reports fall by one each working day (Monday to Friday)
// between two tests: the working days after fromMs's day up to toMs's day.
int WorkingDaysBetween(qint64 fromMs, qint64 toMs);

}  // namespace pralix::desk::fill
