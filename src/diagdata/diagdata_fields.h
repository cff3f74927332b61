#pragma once
// The DiagData record as it travels between the tool and the support desk:
// its ten form fields in the order the tool sends them, and the headers that
// tell the desk what the body does not.

#include <array>

namespace pralix {

inline constexpr int kDiagDataFieldCount = 10;

// ibfm serial with model code, pib taxpayer number, fw firmware, jx Windows
// and fiscal-link versions, tg tax groups, bpdi free daily (Z) reports, plu
// articles, cp port, diff clock difference, h6l the six header lines (each
// ending CR LF) followed by the end marker "DIAG\n".
inline constexpr std::array<const char*, kDiagDataFieldCount> kDiagDataFieldNames = {
    "ibfm", "pib", "fw", "jx", "tg", "bpdi", "plu", "cp", "diff", "h6l"};

inline constexpr char kDiagDataEndMarker[] = "DIAG\n";

inline constexpr char kFormContentType[] = "application/x-www-form-urlencoded";

// A random UUID per record: a resent record carries the same one, and the
// desk stores each key once.
inline constexpr char kIdempotencyKeyHeader[] = "Idempotency-Key";
// When the test ran, RFC 3339 in UTC ("2026-12-09T08:15:02Z").
inline constexpr char kTestedAtHeader[] = "Pralix-Tested-At";
// The tool's version ("10.2.350").
inline constexpr char kToolVersionHeader[] = "Pralix-Version";

}  // namespace pralix
