#pragma once
// Times as the desk stores them (milliseconds since 1970 UTC) and as it shows
// and reads them: RFC 3339 in UTC, and the day alone.

#include <QByteArray>
#include <QString>
#include <optional>

namespace pralix::desk {

// "2026-12-09T08:15:02.123Z", "2026-12-09t08:15:02z", "2026-12-09T10:15:02+02:00":
// full date, "T", full time with optional fraction (cut to milliseconds), and
// "Z" or an offset.  Anything else, including a leap second, is nothing.
std::optional<qint64> ParseRfc3339(const QByteArray& text);

// "2026-12-09T08:15:02.123Z".
QString FormatRfc3339(qint64 msSinceEpoch);

// "2026-12-09".
QString FormatDay(qint64 msSinceEpoch);

}  // namespace pralix::desk
