#pragma once
// The tool's headless commands; each returns the process exit status.

#include <QStringList>

namespace pralix {

// pralix send --port NAME [--baud N] [--json] COMMAND [DATA]
int RunSendCommand(const QStringList& args);

}  // namespace pralix
