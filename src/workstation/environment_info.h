#pragma once
// The PC's Windows version and the installed fiscal-link version, shown
// together in LECurrJXVer as "10.0/10.2.5".

#include <QString>

#include "interfaces/drive_c.h"
#include "interfaces/windows_version_source.h"
#include "workstation/main_fields.h"

namespace pralix {

// "major.minor" from the two integer values; else the older "CurrentVersion"
// string; else empty.
QString WindowsVersionText(const WindowsVersionSource& source);

// Writes the fiscal-link version into LECurrJXVer: the text after the first
// "=" of Version.ini's first line that holds "LINK" in any case; "0.0" when
// no line does (or the file cannot be read); "10.1" without the file but
// with C:\Ostrik10; "0.0" without either.  An empty Version.ini leaves the
// field as it was.
void FiscalLinkVersionText(MainFields& fields, const DriveC& drive);

// LECurrJXVer := WindowsVersionText + "/" + the fiscal-link version.
void FillEnvironmentField(MainFields& fields, const WindowsVersionSource& source, const DriveC& drive);

}  // namespace pralix
