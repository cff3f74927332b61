#include "api/csv_export_page.h"

#include "api/fleet_csv.h"
#include "records/fleet_filter.h"

namespace pralix::desk {
namespace {

// Each call reads one batch on the export's own connection and turns it
// into CSV lines.
class FleetCsvStream : public BodyStream {
 public:
  FleetCsvStream(std::unique_ptr<FleetExportReader> reader, FleetFilter filter, qint64 nowMs, FleetBatch first)
      : reader_(std::move(reader)), filter_(std::move(filter)), nowMs_(nowMs), batch_(std::move(first)) {}

  Step next(QByteArray& piece) override {
    if (!started_) {
      started_ = true;
      piece += FleetCsvStart();
    } else {
      try {
        batch_ = reader_->batchAfter(filter_, nowMs_, batch_.last, CsvExportPage::kBatchRows);
      } catch (const StoreFailure&) {
        return Step::Failed;
      }
    }
    for (const PrinterSummary& printer : batch_.printers) piece += FleetCsvRow(printer);
    return int(batch_.printers.size()) < CsvExportPage::kBatchRows ? Step::Done : Step::More;
  }

 private:
  std::unique_ptr<FleetExportReader> reader_;
  FleetFilter filter_;
  qint64 nowMs_;
  FleetBatch batch_;
  bool started_ = false;
};

}  // namespace

HttpAnswer CsvExportPage::handle(const HttpRequest& request, const Viewer&) {
  const qint64 now = now_();
  const FleetFilter filter = ParseFleetFilter(request.query);
  // The first batch is read before the answer starts, so a database that
  // is down answers 503 (through the gate) rather than a cut-off file.
  std::unique_ptr<FleetExportReader> reader = openReader_();
  FleetBatch first = reader->batchAfter(filter, now, std::nullopt, kBatchRows);
  HttpAnswer answer;
  answer.headers.emplaceBack("Content-Type", "text/csv; charset=utf-8");
  answer.headers.emplaceBack("Content-Disposition", "attachment; filename=\"" + FleetCsvFileName(now) + '"');
  answer.stream = std::make_shared<FleetCsvStream>(std::move(reader), filter, now, std::move(first));
  return answer;
}

}  // namespace pralix::desk
