#pragma once
// The judgement of a test's values, shared by the tool (which marks its
// fields red) and the support desk (which marks its fleet's values): each
// rule takes a value as the tool shows it and the DiagData record carries it.

#include <QString>
#include <array>
#include <optional>

namespace pralix {

inline constexpr int kMinFreeDailyReports = 45;
inline constexpr int kMaxArticles = 3000;
inline constexpr int kMaxClockDifferenceMinutes = 30;

// Firmware identification texts accepted for any model, each as the test
// composes LEFirmware: "1.22SR 09NOV03 1230,BB78".
extern const std::array<const char*, 26> KnownFirmware;

// A whole decimal integer as the PC's string-to-integer reads it: leading
// blanks, an optional sign, digits only, within 32 bits.
std::optional<int> WholeInteger(const QString& text);

// Free daily (Z) reports: not a number, or fewer than 45 left.
bool FreeDailyReportsImplausible(const QString& freeReports);
// Programmed articles: not a number, or more than 3000.
bool ArticleCountImplausible(const QString& articles);
// The test marks a serial with an unknown prefix by an "E".
bool SerialMarkedUnknown(const QString& serial);
// "hh:nn" (hours in characters 1-2, minutes in 4-5) more than 30 minutes off;
// a day count ("Dana: 3") or anything else unreadable is itself a finding.
bool ClockDifferenceImplausible(const QString& difference);
// Not one of KnownFirmware.
bool FirmwareUnknown(const QString& firmware);

// The clock difference in minutes, for charts: hh:nn as above, a day count
// as whole days; nothing when the text is neither.
std::optional<int> ClockDifferenceMinutes(const QString& difference);

}  // namespace pralix
