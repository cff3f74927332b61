#pragma once
// The fleet and a printer's records as the command line shows them: JSON
// for programs, aligned columns for people.

#include <QByteArray>
#include <QString>
#include <vector>

#include "records/diag_record.h"
#include "store/desk_store.h"

namespace pralix::desk {

// [{"ibfm":…,"pib":…,"fw":…,"jx":…,"tg":…,"bpdi":…,"plu":…,"cp":…,"diff":…,
//   "header":[six lines],"first_seen":RFC 3339,"last_seen":RFC 3339,"records":N}, …]
QByteArray PrintersJson(const std::vector<PrinterSummary>& printers);
// The same fields per record plus "tested_at" (the test's time, else the
// arrival's), "received_at" and "version" (null when the tool sent none).
QByteArray RecordsJson(const std::vector<DiagRecord>& records);

QString PrintersTable(const std::vector<PrinterSummary>& printers);
QString RecordsTable(const std::vector<DiagRecord>& records);

}  // namespace pralix::desk
