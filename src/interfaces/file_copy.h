#pragma once
// Copying a file over another, as the diagnostic logs keep the version files
// of other programs: CopyFileW on Windows, Qt's file classes on Linux.

#include <QString>

namespace pralix {

// Replaces target with a copy of source.  The new copy appears whole or not
// at all: a missing source or any failure leaves an earlier target as it was.
bool CopyFileOver(const QString& source, const QString& target);

}  // namespace pralix
