#include "workstation/model_catalogue.h"

#include "workstation/printer_text.h"

namespace pralix {

const std::array<ModelEntry, 16> ModelCatalogue = {{
    {"SRB (AG) FP-550   19200", "SRB", "AG", "FP-550", 19200},
    {"SRB (SJ) FP-550+  19200", "SRB", "SJ", "FP-550+", 19200},
    {"SRB (SG) FP-600   57600", "SRB", "SG", "FP-600", 57600},
    {"SRB (AJ) GP-550   19200", "SRB", "AJ", "GP-550", 19200},
    {"SRB (AI) GP-100    9600", "SRB", "AI", "GP-100", 9600},
    {"SRB (AK) GP-350    9600", "SRB", "AK", "GP-350", 9600},
    {"SRB (LK) TM-260   38400", "SRB", "LK", "TM-260", 38400},
    {"SRB (ZI) FP-200   57600", "SRB", "ZI", "FP-200", 57600},
    {"MNE (VG) VG-550   19200", "MNE", "VG", "VG-550", 19200},
    {"MNE (VG) VG-700  115200", "MNE", "VG", "VG-700", 115200},
    {"MNE (VG) VG-1000 115200", "MNE", "VG", "VG-1000", 115200},
    {"MNE (RM) FP-2     19200", "MNE", "RM", "FP-2", 19200},
    {"MKD (AC) PF-550   19200", "MKD", "AC", "PF-550", 19200},
    {"MKD (AC) PF-700   19200", "MKD", "AC", "PF-700", 19200},
    {"BUG (DT) FP-550  115200", "BUG", "DT", "FP-550", 115200},
    {"MLW (MW) FP-700  115200", "MLW", "MW", "FP-700", 115200},
}};

namespace {

struct PrefixCode {
  char first;
  char second;
  const char* code;
};

// Serial prefixes in Windows-1251 bytes, checked in this order.  Some printers
// print a Latin A before the Cyrillic Г, and some FP-600s carry "XX"; a Latin
// "AG" belongs to the GP-550 (AJ), not to the FP-550.
constexpr PrefixCode kPrefixCodes[] = {
    {'\xC0', '\xC3', "AG"},  // АГ
    {'\x41', '\xC3', "AG"},  // Latin A, Cyrillic Г
    {'\xC0', '\xA3', "AJ"},  // АЈ
    {'\x41', '\x47', "AJ"},  // Latin AG
    {'\xD1', '\xC3', "SG"},  // СГ
    {'\x58', '\x58', "SG"},  // XX
    {'\xD1', '\xA3', "SJ"},  // СЈ
    {'\xC7', '\xC8', "ZI"},  // ЗИ
    {'\xCB', '\xCA', "LK"},  // ЛК
    {'\xC0', '\xC8', "AI"},  // АИ
    {'\xC0', '\xCA', "AK"},  // АК
};

}  // namespace

QByteArray ModelCodeOfSerialBytes(const QByteArray& serial) {
  const QByteArray prefix = serial.left(2);
  if (prefix.size() == 2) {
    for (const PrefixCode& row : kPrefixCodes)
      if (prefix[0] == row.first && prefix[1] == row.second) return QByteArray(row.code);
  }
  return prefix;
}

QByteArray ModelCode(const MainFields& fields) { return ModelCodeOfSerialBytes(EncodePrinterText(fields.LEIBFM.text)); }

}  // namespace pralix
