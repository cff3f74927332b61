#pragma once
// The tool's headless commands; each returns the process exit status.

#include <QStringList>

namespace pralix {

// pralix send --port NAME [--baud N] [--json] COMMAND [DATA]
int RunSendCommand(const QStringList& args);
// pralix ports: one serial port per line with its device tag; 3 when none
int RunPortsCommand(const QStringList& args);
// pralix test [--model INDEX] [--port NAME]... [--json] [--trace FILE] [--paper-wait SECONDS]
int RunTestCommand(const QStringList& args);
// pralix report {diagnostic|x|z|periodic} [--model INDEX] [--port NAME] [--baud N] [--from --to]
//               [--trace FILE] [--paper-wait SECONDS]
int RunReportCommand(const QStringList& args);
// pralix detect [--port NAME]... [--json]: port, speed and candidate models; 0 found, 1 not, 3 no port
int RunDetectCommand(const QStringList& args);
// pralix upload [--json]: sends the DiagData outbox; 0 when it is empty afterwards
int RunUploadCommand(const QStringList& args);

}  // namespace pralix
