#include "pages/desk_pages.h"

#include <algorithm>

#include "pages/desk_stylesheet.h"
#include "pages/fleet_page.h"
#include "pages/page_frame.h"
#include "pages/printer_page.h"
#include "pages/printer_path.h"
#include "store/open_fleet_queries.h"

namespace pralix::desk {
namespace {

HttpAnswer DatabaseFailed(const Viewer& viewer) {
  return MessagePage(503, viewer, QStringLiteral("Baza podataka se ne odaziva; pokušajte ponovo"),
                     QStringLiteral("The database failed; try again"));
}

HttpAnswer UnknownPrinter(const Viewer& viewer) {
  return MessagePage(404, viewer, QStringLiteral("Nepoznat štampač"), QStringLiteral("Unknown printer"));
}

int PageParameter(const QByteArray& query) {
  const std::optional<QString> text = QueryValue(query, "page");
  bool ok = false;
  const int page = text ? text->toInt(&ok) : 1;
  return ok && page >= 1 && page <= kMaxPage ? page : 1;
}

qint64 PagesFor(qint64 rows, int pageSize) { return std::max<qint64>(1, (rows + pageSize - 1) / pageSize); }

}  // namespace

FleetPageHandler::FleetPageHandler(std::shared_ptr<FleetQueries> queries, PageClock now)
    : queries_(std::move(queries)), now_(std::move(now)) {}

HttpAnswer FleetPageHandler::handle(const HttpRequest& request, const Viewer& viewer) {
  FleetView view;
  view.filter = ParseFleetFilter(request.query);
  view.notSeenDays = view.filter.notSeenDays.value_or(kDefaultNotSeenDays);
  const qint64 now = now_();
  try {
    view.counts = queries_->counts(NotSeenBeforeMs(now, view.notSeenDays));
    view.matching = queries_->countMatching(view.filter, now);
    // A page past the end (an old link, a shrunk filter) shows the last one.
    view.filter.page = int(std::min<qint64>(view.filter.page, PagesFor(view.matching, kFleetPageSize)));
    view.printers = queries_->printers(view.filter, now, qint64(view.filter.page - 1) * kFleetPageSize, kFleetPageSize);
  } catch (const StoreFailure&) {
    return DatabaseFailed(viewer);
  }
  return HtmlPage(200, QString::fromUtf8(kFleetTitle), viewer, FleetPageMain(view));
}

PrinterPagesHandler::PrinterPagesHandler(std::shared_ptr<FleetQueries> queries, PageClock now)
    : queries_(std::move(queries)), now_(std::move(now)) {}

HttpAnswer PrinterPagesHandler::handle(const HttpRequest& request, const Viewer& viewer) {
  const std::optional<PrinterPath> path = ParsePrinterPath(request.path);
  if (!path) return MessagePage(404, viewer, QStringLiteral("Nema takve strane"), QStringLiteral("No such page"));
  try {
    return path->rawRecordId ? rawRecord(path->ibfm, *path->rawRecordId, viewer)
                             : printerPage(path->ibfm, request.query, viewer);
  } catch (const StoreFailure&) {
    return DatabaseFailed(viewer);
  }
}

HttpAnswer PrinterPagesHandler::printerPage(const QString& ibfm, const QByteArray& query, const Viewer& viewer) {
  PrinterView view;
  std::optional<PrinterSummary> printer = queries_->printer(ibfm);
  if (!printer) return UnknownPrinter(viewer);
  view.printer = std::move(*printer);
  view.nowMs = now_();
  view.tablePage = int(std::min<qint64>(PageParameter(query), PagesFor(view.printer.recordCount, kRecordPageSize)));
  view.chartRecords = queries_->recentRecords(ibfm, 0, kChartRecords);
  // The table's rows and the one before them; the chart's read has them
  // already unless the page reaches further back.
  const qint64 offset = qint64(view.tablePage - 1) * kRecordPageSize;
  if (offset + kRecordPageSize + 1 <= qint64(view.chartRecords.size()) || qint64(view.chartRecords.size()) < kChartRecords)
    view.tableRecords.assign(view.chartRecords.begin() + std::min<qint64>(offset, qint64(view.chartRecords.size())),
                             view.chartRecords.begin() +
                                 std::min<qint64>(offset + kRecordPageSize + 1, qint64(view.chartRecords.size())));
  else
    view.tableRecords = queries_->recentRecords(ibfm, offset, kRecordPageSize + 1);
  return HtmlPage(200, view.printer.values[kIbfm] + QStringLiteral(" · Štampač / Printer"), viewer, PrinterPageMain(view));
}

HttpAnswer PrinterPagesHandler::rawRecord(const QString& ibfm, qint64 recordId, const Viewer& viewer) {
  const std::optional<QByteArray> body = queries_->rawBody(ibfm, recordId);
  if (!body) return MessagePage(404, viewer, QStringLiteral("Nepoznat zapis"), QStringLiteral("Unknown record"));
  HttpAnswer answer;
  answer.body = *body;
  answer.headers = {{"Content-Type", "text/plain; charset=utf-8"},
                    {"Content-Disposition", "inline"},
                    {"Cache-Control", "no-store"}};
  return answer;
}

HttpAnswer StylesheetHandler::handle(const HttpRequest&, const Viewer&) {
  HttpAnswer answer;
  answer.body = DeskStylesheet();
  answer.headers = {{"Content-Type", "text/css; charset=utf-8"}, {"Cache-Control", "max-age=300"}};
  return answer;
}

void AddDeskPages(PageRegistry& registry, const PageContext& context) {
  std::shared_ptr<FleetQueries> queries = OpenFleetQueries(context.database);
  registry.addPage(PathMatch::Exact, QStringLiteral("/"), std::make_shared<FleetPageHandler>(queries, context.now));
  registry.addPage(PathMatch::Prefix, QLatin1String(kPrintersPrefix), std::make_shared<PrinterPagesHandler>(queries, context.now));
  registry.addPage(PathMatch::Exact, QLatin1String(kStylesheetPath), std::make_shared<StylesheetHandler>(), PageAccess::Open);
}

}  // namespace pralix::desk
