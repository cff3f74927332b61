// pralix report: the printing actions of the main window without a window.

#include <QCommandLineParser>
#include <QTextStream>

#include "app/app_context.h"
#include "app/command_help.h"
#include "app/commands.h"
#include "app/console_user_interface.h"
#include "messages/P20_Param79.h"
#include "workstation/model_catalogue.h"
#include "qtcompat/qt_version_compat.h"

namespace pralix {

namespace {

enum ReportExit { kAccepted = 0, kRefused = 1, kUsage = 2 };

struct ReportKind {
  const char* name;
  QChar key;  // the main window's key for it
};
constexpr ReportKind kReports[] = {{"diagnostic", u'4'}, {"x", u'5'}, {"z", u'6'}, {"periodic", u'7'}};


}  // namespace

int RunReportCommand(const QStringList& args) {
  Utf8TextStream out(stdout);
  Utf8TextStream err(stderr);
  QCommandLineParser parser;
  parser.addPositionalArgument("KIND", "diagnostic, x, z or periodic");
  parser.addOption({"model", "Model index 0-15 of the tested printer (default 0).", "INDEX", "0"});
  parser.addOption({"port", "Serial port of the printer (default COM1).", "NAME", "COM1"});
  parser.addOption({"baud", "Baud rate (default: the model's).", "N"});
  parser.addOption({"from", "First day of the periodic report.", "YYYY-MM-DD"});
  parser.addOption({"to", "Last day of the periodic report.", "YYYY-MM-DD"});
  parser.addOption({"trace", "Write every frame on the line to FILE.", "FILE"});
  parser.addOption({"paper-wait", "Seconds the paper request waits when not on a terminal (default 5).", "SECONDS", "5"});
  AddHelpOption(parser);
  const QString usage =
      "usage: pralix report {diagnostic|x|z|periodic} [--model INDEX] [--port NAME] [--baud N]\n"
      "                     [--from YYYY-MM-DD --to YYYY-MM-DD] [--trace FILE] [--paper-wait SECONDS]\n";
  const bool parsed = parser.parse(QStringList{"pralix report"} + args);
  if (parsed && parser.isSet("help")) {
    out << CommandHelpText(parser, usage);
    return 0;
  }
  if (!parsed || parser.positionalArguments().size() != 1) {
    err << parser.errorText() << "\n" << usage;
    return kUsage;
  }
  const ReportKind* kind = nullptr;
  for (const ReportKind& k : kReports)
    if (parser.positionalArguments()[0] == QLatin1String(k.name)) kind = &k;
  bool modelOk = false, waitOk = false;
  const int model = parser.value("model").toInt(&modelOk);
  const int paperWait = parser.value("paper-wait").toInt(&waitOk);
  if (!kind || !modelOk || model < 0 || model > 15 || !waitOk || paperWait < 0) {
    err << usage;
    return kUsage;
  }
  int baud = ModelCatalogue[size_t(model)].baud;
  if (parser.isSet("baud")) {
    bool ok = false;
    baud = parser.value("baud").toInt(&ok);
    if (!ok || baud <= 0) {
      err << usage;
      return kUsage;
    }
  }

  ConsoleUserInterface ui(paperWait);
  if (kind->key == u'7') {
    const PeriodReading period = ReadPeriodText(parser.value("from"), parser.value("to"));
    if (!period.verdict.accepted()) {
      err << period.verdict.message << "\n";
      if (period.verdict.fault == PeriodFault::kNotADate) err << usage;
      return kUsage;
    }
    ui.setPeriod(period.from, period.to);
  }

  const std::unique_ptr<AppContext> context = MakeAppContextOrReport(ui, parser.value("trace"));
  if (!context) return kUsage;
  // The port must be free of the fiscal-link software, as after the window's start-up.
  context->processes().stopFiscalLink();
  context->workstation().fields().ModelIndex = model;
  context->comPort().setPortName(parser.value("port"));
  context->comPort().setBaudRate(baud);
  context->workstation().FormKeyPress(kind->key);
  context->comPort().close();

  FPCommand00& cmd = context->formFP().FPCmd;
  // An error box (a port that would not open, say) means no result code of
  // this command is there to show.
  const bool exchanged = ui.errorCount() == 0 || cmd.ErrorCode != kOk;
  const bool accepted = ui.errorCount() == 0 && cmd.ErrorCode == kOk;
  if (exchanged) out << "Result code: " << cmd.ErrorCode << "\n";
  if (cmd.ErrorCode != kOk) out << QString::fromLatin1(cmd.ErrorText()) << "\n";
  out << (accepted ? "The printer accepted the command." : "The printer did not accept the command.") << "\n";
  return accepted ? kAccepted : kRefused;
}

}  // namespace pralix
