#pragma once
// The fleet as a CSV file for spreadsheets: UTF-8 with a byte-order mark
// (so that Excel reads it as UTF-8), ";" between cells (what a Serbian
// locale's spreadsheet expects), CRLF line ends, RFC 4180 quoting where a
// cell holds ";", '"', CR or LF.  The values come from shops' tills: a cell
// that starts with =, +, -, @, TAB or CR gets a leading ' so that no
// spreadsheet runs it as a formula.

#include <QByteArray>
#include <QString>

#include "store/desk_store.h"

namespace pralix::desk {

// The byte-order mark and the header row.
QByteArray FleetCsvStart();
QByteArray FleetCsvRow(const PrinterSummary& printer);
QByteArray CsvCell(const QString& value);

// "pralix-printers-2026-12-09.csv", the UTC date of nowMs.
QByteArray FleetCsvFileName(qint64 nowMs);

}  // namespace pralix::desk
