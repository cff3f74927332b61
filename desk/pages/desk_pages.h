#pragma once
// The desk's pages behind the gate: the fleet (/), a printer
// (/printers/IBFM, its records' raw bodies below it) and the stylesheet
// (/desk.css, open: the login page uses it too).  AddDeskPages is the one
// call serve makes; the handlers are here for in-process tests.

#include <functional>
#include <memory>

#include "http/page_handler.h"
#include "store/fleet_queries.h"

namespace pralix::desk {

using PageClock = std::function<qint64()>;  // milliseconds since 1970 UTC

// Opens the pages' own database connection (on the first request, on the
// event loop's thread) and registers the three handlers.
void AddDeskPages(PageRegistry& registry, const PageContext& context);

class FleetPageHandler : public PageHandler {
 public:
  FleetPageHandler(std::shared_ptr<FleetQueries> queries, PageClock now);
  HttpAnswer handle(const HttpRequest& request, const Viewer& viewer) override;

 private:
  std::shared_ptr<FleetQueries> queries_;
  PageClock now_;
};

class PrinterPagesHandler : public PageHandler {
 public:
  PrinterPagesHandler(std::shared_ptr<FleetQueries> queries, PageClock now);
  HttpAnswer handle(const HttpRequest& request, const Viewer& viewer) override;

 private:
  HttpAnswer printerPage(const QString& ibfm, const QByteArray& query, const Viewer& viewer);
  HttpAnswer rawRecord(const QString& ibfm, qint64 recordId, const Viewer& viewer);

  std::shared_ptr<FleetQueries> queries_;
  PageClock now_;
};

class StylesheetHandler : public PageHandler {
 public:
  HttpAnswer handle(const HttpRequest& request, const Viewer& viewer) override;
};

}  // namespace pralix::desk
