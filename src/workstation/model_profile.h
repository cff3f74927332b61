#pragma once
// What the model index selects in the connectivity test and the report
// actions.  The models differ by where each value comes from, not by class.

namespace pralix {

// LEIBFM, before the correction.
enum class SerialSource {
  Reader,              // GetIBFM, decoded
  Cmd90Field3,         // command 90 "1", field 3 unchanged
  Cmd90Field4Chars3To10,
  Cmd90Field5AsAC,     // "AC" + characters 6 to 11 of command 90 "1", field 5
};

// What is done to LEIBFM after it has been read.
enum class SerialCorrection {
  None,
  SerbianPrefixCheck,  // not one of the eight Cyrillic prefixes: chars 1-7 + "E"
  VgPrefix,            // "VG0" + characters 4 to 8
};

enum class PibSource {
  Reader,              // GetPIB, unchanged
  ReaderZeroPlus8,     // "0" + characters 1 to 8 of GetPIB
  Cmd99Field0Chars5To13,
};

enum class ArticleSource {
  Reader,              // GetPluNumber (-1 when it failed)
  Cmd107Field1,        // command 107 "I", field 1, read like atol
};

enum class TaxSource {
  Reader,              // GetTax
  Cmd83Field2,
  Cmd83Field3,
};

struct ModelProfile {
  SerialSource serial;
  SerialCorrection serialCorrection;
  PibSource pib;
  int firmwareFirstField;  // LEFirmware = field n + "," + field n+1 of command 90 "1"
  ArticleSource articles;
  TaxSource tax;
  bool taxJudged;          // only the Serbian models' tax pattern is judged
  const char* xReportData; // command 69
  const char* zReportData; // command 69
};

// Profile of a model index.  An index outside 0 to 15 gets what the tool does
// for "all other" models.
const ModelProfile& ProfileOf(int modelIndex);

inline bool IsSerbianModel(int modelIndex) { return modelIndex >= 0 && modelIndex <= 7; }

}  // namespace pralix
