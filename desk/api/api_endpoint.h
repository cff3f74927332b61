#pragma once
// The read-only API, behind the gate's token check:
//   GET /api/printers                 the fleet as `pralix-desk printers --json`
//                                     shows it, filtered, sorted and paged by the
//                                     fleet page's parameters plus per_page
//                                     (1 to 1000, default 100); X-Total-Count
//                                     says how many match
//   GET /api/printers/IBFM            one printer (404 when unknown)
//   GET /api/printers/IBFM/records    its records oldest first, as `records --json`

#include <functional>

#include "http/page_handler.h"
#include "store/fleet_queries.h"

namespace pralix::desk {

inline constexpr int kApiDefaultPerPage = 100;
inline constexpr int kApiMaxPerPage = 1000;

class ApiEndpoint : public PageHandler {
 public:
  using Clock = std::function<qint64()>;
  ApiEndpoint(FleetQueries& fleet, Clock now) : fleet_(fleet), now_(std::move(now)) {}

  // Throws StoreFailure (the gate answers 503).
  HttpAnswer handle(const HttpRequest& request, const Viewer& viewer) override;

 private:
  HttpAnswer printers(const HttpRequest& request);
  HttpAnswer printer(const QString& ibfm);
  HttpAnswer records(const QString& ibfm);

  FleetQueries& fleet_;
  Clock now_;
};

}  // namespace pralix::desk
