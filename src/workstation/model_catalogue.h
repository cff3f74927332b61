#pragma once
// The sixteen printer models the tool serves, the accepted tax-group patterns, and the model code of a fiscal serial.

#include <QByteArray>
#include <QtGlobal>
#include <array>

#include "diagdata/value_judgement.h"  // KnownFirmware
#include "workstation/main_fields.h"

namespace pralix {

struct ModelEntry {
  const char* line;    // as shown in CBFP: 23 characters, fixed-pitch columns
  const char* market;  // SRB, MNE, MKD, BUG, MLW
  const char* code;    // two letters, as in the line's parentheses
  const char* name;
  qint32 baud;
};

// The model index is the position in this list, 0 to 15.
extern const std::array<ModelEntry, 16> ModelCatalogue;

// Accepted tax-group texts of the Serbian models: one "0"/"1" per group.
inline constexpr const char* TaxMaskStandard = "010110000";  // groups 2, 4 and 5
inline constexpr const char* TaxMaskSingle = "100000000";    // group 1 only

// Two-letter model code derived from the serial in LEIBFM (not from the
// catalogue): Cyrillic prefixes and their Latin look-alikes map to the
// catalogue's codes; any other prefix is returned as it is (fewer bytes for a
// shorter serial, empty for an empty one).
QByteArray ModelCode(const MainFields& fields);

// The same rule on the serial's Windows-1251 bytes.
QByteArray ModelCodeOfSerialBytes(const QByteArray& serial);

}  // namespace pralix
