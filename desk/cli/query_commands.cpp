#include <QDateTime>
#include <QFileInfo>

#include "cli/database_choice.h"
#include "cli/desk_commands.h"
#include "cli/fleet_listing.h"
#include "store/open_desk_store.h"

namespace pralix::desk {
namespace {

// The store for a reading command, or the exit status when there is none.
// A reading command never creates an SQLite file that is not there.
std::unique_ptr<DeskStore> OpenForReading(const DeskOptions& options, const QProcessEnvironment& environment,
                                          DeskCommand command, Console console, int& status) {
  QString error;
  const std::optional<DatabaseUrl> url = ParseDatabaseUrl(ChooseDatabaseUrl(options.database, environment), &error);
  if (!url) {
    console.err << "pralix-desk: " << error << Qt::endl << UsageText(command);
    status = 2;
    return nullptr;
  }
  if (url->kind == DatabaseUrl::Kind::Sqlite && !QFileInfo::exists(url->path)) {
    console.err << "pralix-desk: no database at " << url->path << Qt::endl;
    status = 1;
    return nullptr;
  }
  try {
    return OpenDeskStore(*url, QDateTime::currentMSecsSinceEpoch());
  } catch (const StoreFailure& failure) {
    console.err << "pralix-desk: " << failure.message() << Qt::endl;
    status = 1;
    return nullptr;
  }
}

}  // namespace

int RunPrinters(const DeskOptions& options, const QProcessEnvironment& environment, Console console) {
  int status = 0;
  std::unique_ptr<DeskStore> store = OpenForReading(options, environment, DeskCommand::Printers, console, status);
  if (!store) return status;
  try {
    const std::vector<PrinterSummary> printers = store->printers();
    if (options.json) console.out << PrintersJson(printers);
    else console.out << PrintersTable(printers);
  } catch (const StoreFailure& failure) {
    console.err << "pralix-desk: " << failure.message() << Qt::endl;
    return 1;
  }
  return 0;
}

int RunRecords(const DeskOptions& options, const QProcessEnvironment& environment, Console console) {
  int status = 0;
  std::unique_ptr<DeskStore> store = OpenForReading(options, environment, DeskCommand::Records, console, status);
  if (!store) return status;
  try {
    const std::vector<DiagRecord> records = store->recordsOf(options.ibfm);
    if (options.json) console.out << RecordsJson(records);
    else if (!records.empty()) console.out << RecordsTable(records);
    if (records.empty()) console.err << "pralix-desk: no records of the printer " << options.ibfm << Qt::endl;
    return records.empty() ? 1 : 0;
  } catch (const StoreFailure& failure) {
    console.err << "pralix-desk: " << failure.message() << Qt::endl;
    return 1;
  }
}

}  // namespace pralix::desk
