#pragma once
// Names of the six status bytes and of their 36 meaningful bits (bit 0 is the
// least significant).  A "#" or "*" is part of the name as the printer's
// documentation writes it.

#include <array>

namespace pralix {

inline constexpr std::array<const char*, 6> kStatusByteNames = {
    "0 - General", "1 - General", "2 - General", "3 - Switches", "4 - FiscalMemory", "5 - FiscalMem"};

// kStatusBitNames[byte][bit]
inline constexpr std::array<std::array<const char*, 6>, 6> kStatusBitNames = {{
    {"#SyntaxError", "#InvalidCmd", "DateTime Not Set", "Display Not Conn", "#PrintingMech", "GeneralError#"},
    {"MathOverflow", "#ExecDisable", "#EmergencyClr", "#3 NotUsed", "#RamDestroyed", "CoverOpen"},
    {"#NoPaper", "PaperNearEnd", "NoPaperJrnl", "FiscReceiptOpen", "PapNearEndJrnl", "NonFiscOpen"},
    {"1-AutoCut", "Jrnl 100% height", "TransparentDsp", "Baud Low", "4 NotUsed", "5 NotUsed"},
    {"*FMWriteError", "1 NotUsed", "NoFModule", "FMem <50", "*FMemFull", "FMemAll*"},
    {"*FMemRO", "FMemFrmt", "*2 NotUsed", "IsFiscalized", "TaxProgramm", "SerialProgramm"},
}};

}  // namespace pralix
