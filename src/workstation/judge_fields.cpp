#include "workstation/judge_fields.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <optional>

#include "workstation/model_catalogue.h"
#include "workstation/model_profile.h"

namespace pralix {

namespace {

constexpr int kMinFreeDailyReports = 45;
constexpr int kMaxArticles = 3000;
constexpr int kMaxClockDifferenceMinutes = 30;

// A whole decimal integer as the PC's string-to-integer reads it: leading
// blanks, an optional sign, digits only, within 32 bits.
std::optional<int> WholeInteger(const QString& text) {
  qsizetype i = 0;
  while (i < text.size() && text.at(i) == u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) negative = text.at(i++) == u'-';
  if (i == text.size()) return std::nullopt;
  qint64 value = 0;
  for (; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c.unicode() - u'0');
    if (value > qint64(1) << 31) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min()) return std::nullopt;
  return int(value);
}

bool IsKnownFirmware(const QString& text) {
  return std::any_of(KnownFirmware.begin(), KnownFirmware.end(),
                     [&](const char* known) { return text == QLatin1String(known); });
}

// "hh:nn" read as hours (characters 1-2) and minutes (characters 4-5); a day
// count ("Dana: ...") or anything else unreadable is itself a finding.
bool ClockDifferenceTooLarge(const QString& text) {
  const std::optional<int> hours = WholeInteger(text.mid(0, 2));
  const std::optional<int> minutes = WholeInteger(text.mid(3, 2));
  if (!hours || !minutes) return true;
  return std::abs(*hours) * 60 + *minutes > kMaxClockDifferenceMinutes;
}

}  // namespace

void JudgeFields(MainFields& fields) {
  const std::optional<int> freeReports = WholeInteger(fields.LEBPDI.text);
  if (!freeReports || *freeReports < kMinFreeDailyReports) fields.LEBPDI.red = true;

  const std::optional<int> articles = WholeInteger(fields.LEPluNumber.text);
  if (!articles || *articles > kMaxArticles) fields.LEPluNumber.red = true;

  // The test marks a serial with an unknown prefix by a trailing "E".
  if (fields.LEIBFM.text.contains(u'E')) fields.LEIBFM.red = true;

  if (fields.LEDTFP.text.contains(u"Error")) fields.LEDTFP.red = true;

  if (fields.LEDisplayOK.text == u"Error") fields.LEDisplayOK.red = true;

  if (ProfileOf(fields.ModelIndex).taxJudged && fields.LETax.text != QLatin1String(TaxMaskStandard) &&
      fields.LETax.text != QLatin1String(TaxMaskSingle))
    fields.LETax.red = true;

  if (ClockDifferenceTooLarge(fields.LEDTDiff.text)) fields.LEDTDiff.red = true;

  if (!IsKnownFirmware(fields.LEFirmware.text)) fields.LEFirmware.red = true;
}

}  // namespace pralix
