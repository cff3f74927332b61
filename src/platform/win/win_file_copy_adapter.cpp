// Windows build only (uses Qt): the version-file copies through CopyFileW.
// Never compiled on Linux.

#include "interfaces/file_copy.h"
#include "platform/win/win_file_copy.h"

namespace pralix {

bool CopyFileOver(const QString& source, const QString& target) {
  return win::CopyFileOver(source.toStdWString(), target.toStdWString());
}

}  // namespace pralix
