#pragma once
// Fills a sink with a made-up fleet: its tests scheduled, each made into the
// record the desk would have stored, in the order it would have received
// them, then the printers' rows as its store would have left them.

#include <functional>

#include "fleet_schedule.h"
#include "fleet_sink.h"

namespace pralix::desk::fill {

struct FillTimes {
  double scheduleSeconds = 0;
  double recordsSeconds = 0;
  double printersSeconds = 0;
};

// progress gets the share of records written (0 to 1) now and then.
FillTimes FillFleet(const FleetShape& shape, FleetSink& sink, const std::function<void(double)>& progress);

}  // namespace pralix::desk::fill
