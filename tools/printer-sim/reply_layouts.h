#pragma once
// Where each model puts its values in the replies whose layout differs from
// model to model (commands 83, 90, 99, 107 "I"), and the replies that all
// models share (68, 69).  Fields are joined with commas.

#include <QByteArray>

#include "printer_identity.h"

namespace pralix::sim {

// Command 90 "1": firmware, switches, market, serial, fiscal memory number.
QByteArray DeviceInfoReply(const PrinterIdentity& id);
// Command 99: taxpayer number first.
QByteArray TaxpayerReply(const PrinterIdentity& id);
// Command 83: decimals, then the tax-group pattern at the model's field, then rates.
QByteArray TaxRatesReply(const PrinterIdentity& id);
// Command 107 "I": capacity, name length and article count in the model's order.
QByteArray ArticleInfoReply(const PrinterIdentity& id);
// Command 68: free daily-report records, closures made.
QByteArray FreeRecordsReply(const PrinterIdentity& id, int closures);
// Command 69: closure number and the day's totals per tax group.
QByteArray DailyReportReply(int closure);

// Field positions the tool reads, per model; the layouts above honour them.
int SerialFieldIndex(int model);
int FirmwareFieldIndex(int model);  // the checksum follows in the next field
int ArticleFieldIndex(int model);
int TaxFieldIndex(int model);

}  // namespace pralix::sim
