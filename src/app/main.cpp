// Pralix: the main window, or one of the headless commands named by the first
// argument.

#include <QCoreApplication>
#include <QTextStream>
#include <cstring>

#include "app/commands.h"

namespace {

struct Subcommand {
  const char* name;
  int (*run)(const QStringList& args);
};

constexpr Subcommand kSubcommands[] = {
    {"send", pralix::RunSendCommand},
};

}  // namespace

int main(int argc, char* argv[]) {
  if (argc > 1) {
    for (const Subcommand& sub : kSubcommands) {
      if (std::strcmp(argv[1], sub.name) != 0) continue;
      QCoreApplication app(argc, argv);
      QStringList args = app.arguments().mid(2);
      return sub.run(args);
    }
  }
  QTextStream(stderr) << "usage: pralix send --port NAME [--baud N] [--json] COMMAND [DATA]\n";
  return 2;
}
