// Pralix: the main window, or one of the headless commands named by the first
// argument.

#include <QCoreApplication>
#include <QTextStream>
#include <cstring>

#include "app/commands.h"
#include "app/run_window.h"
#include "platform/console.h"

namespace {

struct Subcommand {
  const char* name;
  int (*run)(const QStringList& args);
};

constexpr Subcommand kSubcommands[] = {
    {"send", pralix::RunSendCommand},
    {"ports", pralix::RunPortsCommand},
    {"test", pralix::RunTestCommand},
    {"report", pralix::RunReportCommand},
    {"upload", pralix::RunUploadCommand},
};

constexpr char kUsage[] =
    "usage: pralix [--trace FILE] [--exit-when-shown]   the main window\n"
    "       pralix send --port NAME [--baud N] [--json] COMMAND [DATA]\n"
    "       pralix ports\n"
    "       pralix test [--model INDEX] [--port NAME]... [--json] [--trace FILE] [--paper-wait SECONDS]\n"
    "       pralix report {diagnostic|x|z|periodic} [--model INDEX] [--port NAME] [--baud N]\n"
    "                     [--from YYYY-MM-DD --to YYYY-MM-DD] [--trace FILE] [--paper-wait SECONDS]\n"
    "       pralix upload [--json]\n";

}  // namespace

int main(int argc, char* argv[]) {
  // With arguments the tool was started from a command line: print there.
  if (argc > 1) pralix::UseParentConsole();
  if (argc > 1) {
    for (const Subcommand& sub : kSubcommands) {
      if (std::strcmp(argv[1], sub.name) != 0) continue;
      QCoreApplication app(argc, argv);
      QStringList args = app.arguments().mid(2);
      return sub.run(args);
    }
  }
  if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    QTextStream(stdout) << kUsage;
    return 0;
  }
  return pralix::RunMainWindow(argc, argv);
}
