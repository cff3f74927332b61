// pralix test: what starting the tool and pressing "1. Test" does, without a
// window.

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include "app/app_context.h"
#include "app/command_help.h"
#include "app/commands.h"
#include "app/console_user_interface.h"
#include "app/test_report_file.h"
#include "qtcompat/qt_version_compat.h"

namespace pralix {

namespace {

enum TestExit { kFound = 0, kNotFound = 1, kUsage = 2, kNoPort = 3, kPrinterLost = 4 };

void PrintFields(const MainFields& fields, QTextStream& out) {
  for (const LabelledEditInfo& edit : kLabelledEdits) {
    const LabelledEdit& field = fields.*edit.field;
    out << QStringLiteral("%1 %2").arg(QString::fromLatin1(edit.caption), -17).arg(field.text);
    if (field.red) out << "   <-- red";
    out << "\n";
  }
  out << "Header:\n";
  for (const QString& line : fields.MemoHeader) out << "  " << line << "\n";
  out << "DiagData sent: " << (fields.DiagDataSent ? "yes" : "no") << "\n";
}

void PrintJson(const MainFields& fields, bool found, const ConsoleUserInterface& ui, int outboxCount,
               QTextStream& out) {
  QJsonObject edits;
  for (const LabelledEditInfo& edit : kLabelledEdits) {
    const LabelledEdit& field = fields.*edit.field;
    edits[QString::fromLatin1(edit.name)] = QJsonObject{{"text", field.text}, {"red", field.red}};
  }
  QJsonArray dialogs;
  for (const ShownDialog& d : ui.dialogs()) dialogs.append(QJsonObject{{"caption", d.caption}, {"text", d.text}});
  const QJsonObject o{{"found", found},
                      {"model_index", fields.ModelIndex},
                      {"fields", edits},
                      {"header", QJsonArray::fromStringList(fields.MemoHeader)},
                      {"diag_data_sent", fields.DiagDataSent},
                      {"outbox_count", outboxCount},
                      {"dialogs", dialogs}};
  out << QJsonDocument(o).toJson(QJsonDocument::Compact) << "\n";
}

}  // namespace

int RunTestCommand(const QStringList& args) {
  Utf8TextStream out(stdout);
  Utf8TextStream err(stderr);
  QCommandLineParser parser;
  parser.addOption({"model", "Model index 0-15 in the model list (default 0).", "INDEX", "0"});
  parser.addOption({"port", "Port to try; repeat for several, tried in order (default: the PC's ports).", "NAME"});
  parser.addOption({"json", "Print one JSON object."});
  parser.addOption({"trace", "Write every frame on the line to FILE.", "FILE"});
  parser.addOption({"paper-wait", "Seconds the paper request waits when not on a terminal (default 5).", "SECONDS", "5"});
  parser.addOption({"report", "Write the outcome as an HTML page to FILE.", "FILE"});
  AddHelpOption(parser);
  const QString usage =
      "usage: pralix test [--model INDEX] [--port NAME]... [--json] [--trace FILE] [--paper-wait SECONDS]\n"
      "                   [--report FILE]\n";
  bool modelOk = false, waitOk = false;
  const bool parsed = parser.parse(QStringList{"pralix test"} + args);
  if (parsed && parser.isSet("help")) {
    out << CommandHelpText(parser, usage);
    return 0;
  }
  if (!parsed || !parser.positionalArguments().isEmpty()) {
    err << parser.errorText() << "\n" << usage;
    return kUsage;
  }
  const int model = parser.value("model").toInt(&modelOk);
  const int paperWait = parser.value("paper-wait").toInt(&waitOk);
  if (!modelOk || model < 0 || model > 15 || !waitOk || paperWait < 0) {
    err << usage;
    return kUsage;
  }

  ConsoleUserInterface ui(paperWait);
  const std::unique_ptr<AppContext> context = MakeAppContextOrReport(ui, parser.value("trace"));
  if (!context) return kUsage;
  Workstation& workstation = context->workstation();
  if (!workstation.StartUp(parser.values("port"))) return kNoPort;
  workstation.fields().CBFPIndex = model;
  workstation.FormKeyPress(u'1');

  const MainFields& fields = workstation.fields();
  const bool found = !fields.LEFPPort.text.isEmpty();
  if (parser.isSet("json")) PrintJson(fields, found, ui, context->outbox().count(), out);
  else PrintFields(fields, out);
  if (parser.isSet("report") && !WriteTestReportFile(parser.value("report"), fields, found, ui.dialogs(), err))
    return kUsage;
  if (ui.quitRequested()) return kPrinterLost;
  return found ? kFound : kNotFound;
}

}  // namespace pralix
