#pragma once
// The main window's fields as plain data: the logic reads and writes them,
// the window shows them.  The field texts are the one source for the
// judgement, the log line and the DiagData record.

#include <QString>
#include <QStringList>
#include <array>

namespace pralix {

struct LabelledEdit {
  QString text;
  bool red = false;  // font colour: pure red when set, black otherwise
};

struct MainFields {
  LabelledEdit LEFPPort;
  LabelledEdit LEFirmware;
  LabelledEdit LEBPDI;
  LabelledEdit LEPIB;
  LabelledEdit LETax;
  LabelledEdit LECurrJXVer;
  LabelledEdit LEPluNumber;
  LabelledEdit LEIBFM;
  LabelledEdit LEDTFP;
  LabelledEdit LEDTDiff;
  LabelledEdit LEDisplayOK;

  QStringList MemoHeader;  // the six receipt header lines after a test
  QStringList MemoPorts;   // serial port names, one per line
  int CBFPIndex = 0;       // selected line of the model list
  int ModelIndex = 0;      // model of the last test; 0 before any test
  bool DiagDataSent = false;
  bool ActionPanelsVisible = false;  // panels 2, 4, 5, 6 and 7

  // The memo's text: every line followed by CR LF.
  QString MemoHeaderText() const {
    QString text;
    for (const QString& line : MemoHeader) text += line + QStringLiteral("\r\n");
    return text;
  }
};

// The eleven labelled edits in the order the test fills them, with their
// control names and captions.
struct LabelledEditInfo {
  const char* name;
  const char* caption;
  LabelledEdit MainFields::*field;
};

inline constexpr std::array<LabelledEditInfo, 11> kLabelledEdits = {{
    {"LEFPPort", "FP on Port", &MainFields::LEFPPort},
    {"LEIBFM", "FP Serial", &MainFields::LEIBFM},
    {"LEPIB", "TIN (PIB)", &MainFields::LEPIB},
    {"LEDTFP", "DateTime on FP", &MainFields::LEDTFP},
    {"LEDTDiff", "+/- hh:mm", &MainFields::LEDTDiff},
    {"LEFirmware", "FW version in FP", &MainFields::LEFirmware},
    {"LECurrJXVer", "Win/JX version", &MainFields::LECurrJXVer},
    {"LEBPDI", "Free Z", &MainFields::LEBPDI},
    {"LEPluNumber", "PLU #", &MainFields::LEPluNumber},
    {"LETax", "Tax Groups", &MainFields::LETax},
    {"LEDisplayOK", "Display", &MainFields::LEDisplayOK},
}};

}  // namespace pralix
