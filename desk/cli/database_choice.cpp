#include "cli/database_choice.h"

#include <QDir>

namespace pralix::desk {

QString ChooseDatabaseUrl(const QString& option, const QProcessEnvironment& environment) {
  if (!option.isEmpty()) return option;
  const QString fromEnvironment = environment.value(QStringLiteral("PRALIX_DESK_DATABASE"));
  if (!fromEnvironment.isEmpty()) return fromEnvironment;
  QString stateHome = environment.value(QStringLiteral("XDG_STATE_HOME"));
  // A relative XDG_STATE_HOME is invalid and is ignored.
  if (stateHome.isEmpty() || QDir::isRelativePath(stateHome))
    stateHome = environment.value(QStringLiteral("HOME")) + QStringLiteral("/.local/state");
  return QStringLiteral("sqlite:") + stateHome + QStringLiteral("/pralix-desk/desk.sqlite");
}

}  // namespace pralix::desk
