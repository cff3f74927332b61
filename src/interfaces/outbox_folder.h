#pragma once
// Where the tool keeps the DiagData records that could not be sent: a
// per-user state folder of the operating system.

#include <QString>

namespace pralix {

// Linux: $XDG_STATE_HOME/pralix/outbox (by default ~/.local/state/pralix/outbox);
// Windows: %LOCALAPPDATA%\Pralix\outbox.  Empty when the system names none.
QString SystemOutboxFolder();

}  // namespace pralix
