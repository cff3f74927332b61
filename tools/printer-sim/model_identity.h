#pragma once
// Default identity of the simulated printer for each of the sixteen models.
//
// This table is the one place where the simulator's default printer data is
// written down; the end-to-end tests of the tool compute the texts they
// expect in the main window from it.  Texts are UTF-8 here and go on the
// wire in Windows-1251.  Header lines use the Cyrillic letters Ю Ъ Ы Э Ь
// ю ъ ы э ь where the shop text has Š Đ Ž Č Ć š đ ž č ć, as the printers do.
//
// Where each value travels (field n = n-th comma-separated reply field):
//   serialField: command 90 "1", field 4 (models 0-9, 11, 14, 15), field 3
//                (model 10), field 5 (models 12, 13); the whole field text.
//   pibField:    command 99, field 0.
//   firmware:    command 90 "1", split at the comma into fields 0 and 1
//                (models 0-8, 10, 11) or fields 1 and 2 (9, 12-15).
//   freeZ:       command 68, field 0.
//   plu:         command 107 "I", field 2 (most) or field 1 (9, 10, 15).
//   tax:         command 83, field 1 (0-7, 14), field 2 (8-11, 15),
//                field 3 (12, 13).
//   header[k]:   command 43 "Ik", the whole reply data.

#include <array>

namespace pralix::sim {

struct ModelIdentity {
  const char* catalogueLine;  // the model's line in the tool's model list
  const char* modelName;
  int baud;                   // the model's catalogue baud rate
  const char* market;
  const char* serialField;
  const char* pibField;
  const char* firmware;       // "version,checksum"
  int freeZ;
  int plu;
  const char* tax;
  std::array<const char*, 6> header;
};

inline constexpr int kModelCount = 16;

inline constexpr std::array<ModelIdentity, kModelCount> kModelIdentities = {{
    {"SRB (AG) FP-550   19200", "FP-550", 19200, "SRB", "АГ100482", "100234567",
     "1.22SR 09NOV03 1230,BB78", 1746, 1250, "010110000",
     {"ЫITOPROMET DOO", "Bulevar osloboъenja 12", "21000 Novi Sad", "PIB 100234567", "Hvala na poseti", ""}},
    {"SRB (SJ) FP-550+  19200", "FP-550+", 19200, "SRB", "СЈ204117", "101345678",
     "1.50SR 26JUL04 1000,BA46", 1520, 312, "010110000",
     {"PEKARA ЭARAPIЬ", "Юkolska 5", "11000 Beograd", "PIB 101345678", "Dobrodoюli", "www.pekara-carapic.rs"}},
    {"SRB (SG) FP-600   57600", "FP-600", 57600, "SRB", "СГ311560", "102456789",
     "2.00SR 21MAY08 1330,AC2A", 1810, 2875, "010110000",
     {"MARKET ЪURЪEVIЬ", "Karaъorъeva 44", "34000 Kragujevac", "PIB 102456789", "Radno vreme 07-22", "Hvala!"}},
    {"SRB (AJ) GP-550   19200", "GP-550", 19200, "SRB", "АЈ402931", "103567890",
     "3.52SR 20FEB13 1000,8A33", 1200, 640, "010110000",
     {"APOTEKA ЫIVKOVIЬ", "Trg slobode 3", "12000 Poыarevac", "PIB 103567890", "", "Ыelimo vam zdravlje"}},
    {"SRB (AI) GP-100    9600", "GP-100", 9600, "SRB", "АИ510077", "104678901",
     "1.00SR 25JUN12 1500,1538", 980, 85, "100000000",
     {"KAFANA ЭIKA", "Vraэarska 9", "11000 Beograd", "PIB 104678901", "Bez raэuna nema garancije", ""}},
    {"SRB (AK) GP-350    9600", "GP-350", 9600, "SRB", "АК623418", "105789012",
     "1.10SR 19DEC14 1000,F8EA", 1633, 150, "010110000",
     {"TRAFIKA ЮANSA", "Ulica Ъure Jakюiьa 7", "18000 Niю", "PIB 105789012", "Kuьa zadovoljnih kupaca", ""}},
    {"SRB (LK) TM-260   38400", "TM-260", 38400, "SRB", "ЛК730265", "106890123",
     "3.00SR 02JUN11 2100,820F", 1400, 2000, "010110000",
     {"BUTIK ЭAROBNICA", "Ьirila i Metodija 15", "24000 Subotica", "PIB 106890123", "Reklamacije uz raэun", ""}},
    {"SRB (ZI) FP-200   57600", "FP-200", 57600, "SRB", "ЗИ845903", "107901234",
     "1.00SR 11APR12 1724,0000", 1555, 999, "010110000",
     {"MESARA ЫIVANOVIЬ", "Ыelezniэka 21", "26000 Panэevo", "PIB 107901234", "Sveыe svaki dan", "Dobro doюli"}},
    {"MNE (VG) VG-550   19200", "VG-550", 19200, "MNE", "VG550123456", "02718461",
     "2.10CG 10APR05 1030,35C2", 1700, 420, "111000000",
     {"KONOBA JADRAN", "Obala bb", "85330 Kotor", "PIB 02718461", "Hvala, doviъenja", ""}},
    {"MNE (VG) VG-700  115200", "VG-700", 115200, "MNE", "VG700418", "02846132",
     "3.01CG 11JUN09 1530,91F7", 1825, 1500, "111100000",
     {"MARKET LOVЭEN", "Njegoюeva 18", "81250 Cetinje", "PIB 02846132", "", "Dobrodoюli"}},
    {"MNE (VG) VG-1000 115200", "VG-1000", 115200, "MNE", "VG001573", "03012744",
     "1.00CG 12MAY15 1230,674C", 1790, 2750, "111100000",
     {"HOTEL MOGREN", "Slovenska obala 4", "85310 Budva", "PIB 03012744", "Recepcija 0-24", ""}},
    {"MNE (RM) FP-2     19200", "FP-2", 19200, "MNE", "RM200318", "02599870",
     "1.00CG 02NOV11 1530,2642", 1302, 96, "110000000",
     {"PEKARA ЫITO", "Bokeюka 2", "81000 Podgorica", "PIB 02599870", "Sveыe svako jutro", ""}},
    {"MKD (AC) PF-550   19200", "PF-550", 19200, "MKD", "FM004200417", "4030006512345",
     "1.00MK 23JUL14 1230,21F5", 1650, 530, "1110",
     {"MARKET VARDAR", "Bul. Partizanski 10", "1000 Skopje", "EDB 4030006512345", "", "Blagodarime"}},
    {"MKD (AC) PF-700   19200", "PF-700", 19200, "MKD", "FM007300528", "4057009876543",
     "1.01MK 28OCT14 0930,0B68", 1711, 1100, "1110",
     {"APTEKA OHRID", "Kej Makedonija 3", "6000 Ohrid", "EDB 4057009876543", "Blagodarime", ""}},
    {"BUG (DT) FP-550  115200", "FP-550", 115200, "BUG", "DT514227", "175123456",
     "1.00BG 11APR11 1530,0744", 1458, 77, "11110000",
     {"MAGAZIN SOFIA", "Vitosha 25", "1000 Sofia", "EIK 175123456", "Blagodarim", ""}},
    {"MLW (MW) FP-700  115200", "FP-700", 115200, "MLW", "00MW100742", "70012345",
     "1.10MW 30JAN14 1030,6FFB", 1800, 3000, "1100",
     {"LILONGWE TRADERS", "Kamuzu Procession Rd", "Lilongwe", "TPIN 70012345", "Thank you", ""}},
}};

}  // namespace pralix::sim
