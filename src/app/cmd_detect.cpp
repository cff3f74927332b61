// pralix detect: find the printer's port, speed and model without being told
// any of them.  Only reading commands go to the printer; nothing is written
// or uploaded.

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include "app/commands.h"
#include "link/P00_fpsend.h"
#include "interfaces/process_control.h"
#include "interfaces/serial_device_map.h"
#include "interfaces/system_serial_port.h"
#include "platform/system_serial_port_source.h"
#include "workstation/model_catalogue.h"
#include "workstation/printer_detection.h"
#include "workstation/serial_ports.h"
#include "qtcompat/qt_version_compat.h"

namespace pralix {

namespace {

enum DetectExit { kFound = 0, kNotFound = 1, kUsage = 2, kNoPort = 3 };

QString LineOf(int model) { return QString::fromLatin1(ModelCatalogue[size_t(model)].line); }

void PrintJson(const DetectionResult& r, QTextStream& out) {
  QJsonArray candidates;
  for (const int model : r.candidates) candidates.append(QJsonObject{{"index", model}, {"line", LineOf(model)}});
  const QJsonObject o{{"port", r.found() ? QJsonValue(r.port) : QJsonValue()},
                      {"baud", r.found() ? QJsonValue(r.baud) : QJsonValue()},
                      {"candidates", candidates}};
  out << QJsonDocument(o).toJson(QJsonDocument::Compact) << "\n";
}

void PrintText(const DetectionResult& r, QTextStream& out) {
  if (!r.found()) {
    out << "No printer answered on any port at any speed.\n";
    return;
  }
  out << "Port:  " << r.port << "\n";
  out << "Baud:  " << r.baud << "\n";
  out << "Models, best first:\n";
  for (const int model : r.candidates) out << QStringLiteral("  %1  ").arg(model, 2) << LineOf(model) << "\n";
}

}  // namespace

int RunDetectCommand(const QStringList& args) {
  Utf8TextStream out(stdout);
  Utf8TextStream err(stderr);
  QCommandLineParser parser;
  parser.addOption({"port", "Port to try; repeat for several, tried in order (default: the PC's ports).", "NAME"});
  parser.addOption({"json", "Print one JSON object."});
  const QString usage = "usage: pralix detect [--port NAME]... [--json]\n";
  if (!parser.parse(QStringList{"pralix detect"} + args) || !parser.positionalArguments().isEmpty()) {
    err << parser.errorText() << "\n" << usage;
    return kUsage;
  }
  QStringList ports = parser.values("port");
  if (ports.isEmpty()) ports = ListSerialPorts(*MakeSystemSerialDeviceMap());
  if (ports.isEmpty()) {
    err << NoPortMessage() << "\n";
    return kNoPort;
  }
  // The fiscal-link software holds the printer's port, as at the tool's start.
  MakeSystemProcessControl()->stopFiscalLink();

  const std::unique_ptr<SerialPort> port = MakeSystemSerialPort();
  LinkPort = port.get();
  FPCommand00 cmd;
  SystemSerialPortSource screenPorts;
  const DetectionResult result = DetectPrinter(*port, cmd, ports, screenPorts);
  LinkPort = nullptr;
  if (parser.isSet("json")) PrintJson(result, out);
  else PrintText(result, out);
  return result.found() ? kFound : kNotFound;
}

}  // namespace pralix
