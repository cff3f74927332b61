// The outbox folder on Linux, after the XDG base directory rules: a relative
// $XDG_STATE_HOME is invalid and ignored.

#include <QDir>

#include "interfaces/outbox_folder.h"

namespace pralix {

QString SystemOutboxFolder() {
  QString state = qEnvironmentVariable("XDG_STATE_HOME");
  if (state.isEmpty() || QDir::isRelativePath(state)) state = QDir::homePath() + QStringLiteral("/.local/state");
  return QDir(state).filePath(QStringLiteral("pralix/outbox"));
}

}  // namespace pralix
