#pragma once
// GET /printers.csv: the fleet as the fleet page filters and sorts it (the
// same query parameters, the page ignored), as an attachment.  The rows are
// read and sent a batch at a time, so the whole fleet never sits in memory;
// a database that fails before the first row answers 503, one that fails
// later cuts the answer short.

#include <functional>
#include <memory>

#include "http/page_handler.h"
#include "store/fleet_export_reader.h"

namespace pralix::desk {

class CsvExportPage : public PageHandler {
 public:
  using ReaderOpener = std::function<std::unique_ptr<FleetExportReader>()>;  // throws StoreFailure
  using Clock = std::function<qint64()>;

  static constexpr int kBatchRows = 500;

  CsvExportPage(ReaderOpener openReader, Clock now) : openReader_(std::move(openReader)), now_(std::move(now)) {}

  HttpAnswer handle(const HttpRequest& request, const Viewer& viewer) override;

 private:
  ReaderOpener openReader_;
  Clock now_;
};

}  // namespace pralix::desk
