#include "api/api_endpoint.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

#include "cli/fleet_listing.h"
#include "records/fleet_filter.h"

namespace pralix::desk {
namespace {

constexpr int kRecordBatch = 1000;

HttpAnswer Json(int status, const QByteArray& json) {
  return {status, json, {{"Content-Type", "application/json; charset=utf-8"}}, nullptr};
}

HttpAnswer JsonError(int status, const QString& message) {
  return Json(status, QJsonDocument(QJsonObject{{QStringLiteral("error"), message}}).toJson(QJsonDocument::Compact) + '\n');
}

int PerPage(const QByteArray& query) {
  bool ok = false;
  const int asked = QueryValue(query, "per_page").value_or(QString()).toInt(&ok);
  if (!ok || asked < 1) return kApiDefaultPerPage;
  return std::min(asked, kApiMaxPerPage);
}

}  // namespace

HttpAnswer ApiEndpoint::handle(const HttpRequest& request, const Viewer&) {
  static const QString kPrinters = QStringLiteral("/api/printers");
  static const QString kRecords = QStringLiteral("/records");
  if (request.path == kPrinters) return printers(request);
  if (!request.path.startsWith(kPrinters + QLatin1Char('/'))) return JsonError(404, QStringLiteral("no such API path"));
  QString ibfm = request.path.mid(kPrinters.size() + 1);
  const bool wantsRecords = ibfm.endsWith(kRecords);
  if (wantsRecords) ibfm.chop(kRecords.size());
  if (ibfm.isEmpty() || ibfm.contains(QLatin1Char('/'))) return JsonError(404, QStringLiteral("no such API path"));
  return wantsRecords ? records(ibfm) : printer(ibfm);
}

HttpAnswer ApiEndpoint::printers(const HttpRequest& request) {
  const FleetFilter filter = ParseFleetFilter(request.query);
  const int perPage = PerPage(request.query);
  const qint64 now = now_();
  const std::vector<PrinterSummary> page = fleet_.printers(filter, now, qint64(filter.page - 1) * perPage, perPage);
  HttpAnswer answer = Json(200, PrintersJson(page));
  answer.headers.emplaceBack("X-Total-Count", QByteArray::number(fleet_.countMatching(filter, now)));
  return answer;
}

HttpAnswer ApiEndpoint::printer(const QString& ibfm) {
  const std::optional<PrinterSummary> printer = fleet_.printer(ibfm);
  if (!printer) return JsonError(404, QStringLiteral("no printer %1").arg(ibfm));
  // The object exactly as the command line's list shows it.
  const QJsonObject object = QJsonDocument::fromJson(PrintersJson({*printer})).array().first().toObject();
  return Json(200, QJsonDocument(object).toJson(QJsonDocument::Indented));
}

HttpAnswer ApiEndpoint::records(const QString& ibfm) {
  if (!fleet_.printer(ibfm)) return JsonError(404, QStringLiteral("no printer %1").arg(ibfm));
  std::vector<DiagRecord> records;
  for (qint64 offset = 0;; offset += kRecordBatch) {
    const std::vector<ListedRecord> batch = fleet_.recentRecords(ibfm, offset, kRecordBatch);
    for (const ListedRecord& listed : batch) {
      DiagRecord record;
      record.values = listed.values;
      record.receivedAtMs = listed.receivedAtMs;
      record.testedAtMs = listed.testedAtMs;
      record.toolVersion = listed.toolVersion;
      records.push_back(std::move(record));
    }
    if (int(batch.size()) < kRecordBatch) break;
  }
  std::reverse(records.begin(), records.end());  // they came newest first
  return Json(200, RecordsJson(records));
}

}  // namespace pralix::desk
