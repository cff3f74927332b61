// pralix-desk: the support desk that receives the tool's DiagData records
// and keeps them, and lists the fleet they describe.

#include <QCoreApplication>
#include <QProcessEnvironment>
#include <QTextStream>
#include <cstdio>

#include "auth/sodium.h"
#include "cli/account_commands.h"
#include "cli/desk_command_line.h"
#include "cli/desk_commands.h"

using namespace pralix::desk;

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  QTextStream out(stdout);
  QTextStream err(stderr);
  const ParsedCommandLine parsed = ParseDeskCommandLine(QCoreApplication::arguments().mid(1));
  if (!parsed.options) {
    err << "pralix-desk: " << parsed.error << Qt::endl << UsageText(parsed.command);
    return 2;
  }
  const DeskOptions& options = *parsed.options;
  if (options.help) {
    out << UsageText(options.command);
    return 0;
  }
  if (!StartSodium()) {
    err << "pralix-desk: libsodium cannot start (no source of random bytes)" << Qt::endl;
    return 1;
  }
  const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  const Console console{out, err};
  switch (options.command) {
    case DeskCommand::Version: out << "pralix-desk " << PRALIX_VERSION << Qt::endl; return 0;
    case DeskCommand::Serve: return RunServe(options, environment, console);
    case DeskCommand::Printers: return RunPrinters(options, environment, console);
    case DeskCommand::Records: return RunRecords(options, environment, console);
    case DeskCommand::User: {
      StandardInputPassword input;
      SodiumPasswordHasher hasher;
      return RunUser(options, environment, console, input, hasher);
    }
    case DeskCommand::Token: {
      SodiumRandom random;
      return RunToken(options, environment, console, random);
    }
    case DeskCommand::Overview: break;
  }
  out << UsageText(DeskCommand::Overview);
  return 0;
}
