#pragma once
// The log-line write of the diagnostic logs, made so that a failure never
// costs what the files held before.

#include <QByteArray>
#include <QString>

namespace pralix {

// Appends one line and CR LF to the file at path, creating it when missing.
// Earlier lines are never read back and rewritten, so a log that cannot be
// read at this moment keeps every line; a file whose last line lacks its line
// end gets one first.  A failed write is rolled back to the old length (a file
// this call created is removed again).  Returns an empty text on success,
// otherwise the reason.
QString AppendLogLine(const QString& path, const QByteArray& line);

}  // namespace pralix
