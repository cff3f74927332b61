#pragma once
// The fiscal-link software's files that the tool changes: its configuration
// gets the printer's port, its printer outbox is emptied at start-up.

#include <QByteArray>
#include <QString>

#include "interfaces/drive_c.h"
#include "workstation/main_fields.h"

namespace pralix {

// Points every "=COM" line of Link.ini at the port of LEFPPort ("COM3/Ser"
// gives COM3).  Nothing when the file is missing.  Throws std::runtime_error
// when it cannot be read or written; the file is then as it was.
void UpdateLinkPort(const MainFields& fields, const DriveC& drive);

// Deletes the plain "*.jxx" files of the printer outbox; directories, hidden
// and system files stay.  Nothing when the software is not installed.
// Files that cannot be deleted are skipped.
void ClearLinkOutbox(const DriveC& drive);

// The port part of LEFPPort: the text before the tag's "/".
QString LinkPortName(const QString& portField);

// One line of Link.ini: from the first "=COM" on, the text after the "=" is
// replaced by the port ("Port=COM1,9600" becomes "Port=COM3"); a line
// without "=COM" (lower-case "=com" included) is returned unchanged.
QByteArray RewriteLinkPortLine(const QByteArray& line, const QByteArray& port);

}  // namespace pralix
