// Pralix: the main window, or one of the headless commands named by the first
// argument.

#include <QCoreApplication>
#include <QTextStream>
#include <cstring>

#include "app/commands.h"
#include "app/run_window.h"
#include "app/window_options.h"
#include "build_config.h"
#include "interfaces/console.h"
#include "qtcompat/qt_version_compat.h"

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
    {"detect", pralix::RunDetectCommand},
    {"upload", pralix::RunUploadCommand},
};

constexpr char kUsage[] =
    "usage: pralix [--trace FILE] [--exit-when-shown] [Qt options]   the main window\n"
    "       pralix --version | --help | COMMAND --help\n"
    "       pralix send --port NAME [--baud N] [--json] COMMAND [DATA]\n"
    "       pralix ports\n"
    "       pralix detect [--port NAME]... [--json]\n"
    "       pralix test [--model INDEX] [--port NAME]... [--json] [--trace FILE] [--paper-wait SECONDS]\n"
    "                   [--report FILE]\n"
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
  // Usage errors are told before the toolkit looks for a display.
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  const pralix::WindowOptions options = pralix::ParseWindowOptions(args);
  switch (options.action) {
    case pralix::WindowOptions::Action::ShowHelp: pralix::Utf8TextStream(stdout) << kUsage; return 0;
    case pralix::WindowOptions::Action::ShowVersion: pralix::Utf8TextStream(stdout) << "pralix " PRALIX_VERSION "\n"; return 0;
    case pralix::WindowOptions::Action::UsageError:
      pralix::Utf8TextStream(stderr) << "pralix: " << options.error << "\n" << kUsage;
      return 2;
    case pralix::WindowOptions::Action::RunWindow: break;
  }
  return pralix::RunMainWindow(argc, argv, options);
}
