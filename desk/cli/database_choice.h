#pragma once
// Which database a command uses: --database, else PRALIX_DESK_DATABASE, else
// the file sqlite:$XDG_STATE_HOME/pralix-desk/desk.sqlite (XDG_STATE_HOME
// defaulting to ~/.local/state, as the XDG base directories say).

#include <QProcessEnvironment>
#include <QString>

namespace pralix::desk {

QString ChooseDatabaseUrl(const QString& option, const QProcessEnvironment& environment);

}  // namespace pralix::desk
