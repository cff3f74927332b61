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

const std::array<const char*, 26> KnownFirmware = {
    "1.22SR 09NOV03 1230,BB78", "1.50SR 26JUL04 1000,BA46", "2.00SR 21MAY08 1330,AC2A",
    "2.76SR 21MAY08 1330,AC2A", "3.52SR 20FEB13 1000,8A33", "3.84SR 20FEB13 1000,8A33",
    "4.22SR 20FEB13 1000,8A33", "4.32SR 20FEB13 1000,8A33", "4.52SR 20FEB13 1000,8A33",
    "1.00SR 25JUN12 1500,1538", "1.10SR 19DEC14 1000,F8EA", "3.00SR 02JUN11 2100,820F",
    "1.00SR 11APR12 1724,0000", "2.10CG 10APR05 1030,35C2", "3.01CG 11JUN09 1530,91F7",
    "1.00CG 12MAY15 1230,674C", "1.00CG 02NOV11 1530,2642", "1.10MW 30JAN14 1030,6FFB",
    "1.00MK 23JUL14 1230,21F5", "1.01MK 28OCT14 0930,0B68", "1.01MK 28OCT14 0930,3349",
    "1.00BG 11APR11 1530,0744", "1.00BG 22MAR12 0930,0744", "1.00BG 16MAY13 1030,0744",
    "2.00CG 22NOV04 1600,00B0", "1.00MK 23OCT14 1030,960F",
};

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
