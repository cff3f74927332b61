// pralix send: one raw command through the command object, for technicians
// and for our own probes.

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include "app/command_help.h"
#include "app/commands.h"
#include "link/P00_fpcommand.h"
#include "link/P00_fpsend.h"
#include "link/status_bits.h"
#include "interfaces/system_serial_port.h"
#include "workstation/printer_text.h"
#include "qtcompat/qt_version_compat.h"

namespace pralix {

namespace {

QStringList SetBitNames(const FPCommand00& cmd) {
  QStringList names;
  for (int byte = 0; byte < 6; ++byte)
    for (int bit = 0; bit < 6; ++bit)
      if (cmd.StatusBit(byte, bit)) names << QString::fromLatin1(kStatusBitNames[byte][bit]);
  return names;
}

void PrintJson(FPCommand00& cmd, QTextStream& out) {
  QJsonObject o;
  o["code"] = cmd.ErrorCode;
  o["error_text"] = QString::fromLatin1(cmd.ErrorText());
  o["reply_data"] = DecodePrinterText(cmd.ReplyData);
  QJsonArray fields, status, bits;
  for (int i = 0; i < FPCommand00::kFieldCount; ++i) fields.append(DecodePrinterText(cmd.Field(i)));
  for (int i = 0; i < 6; ++i) status.append(cmd.StatusByte(i));
  for (const QString& name : SetBitNames(cmd)) bits.append(name);
  o["fields"] = fields;
  o["status"] = status;
  o["status_bits"] = bits;
  out << QJsonDocument(o).toJson(QJsonDocument::Compact) << "\n";
}

void PrintText(FPCommand00& cmd, QTextStream& out) {
  out << "Code:       " << cmd.ErrorCode << "\n";
  const QByteArray error = cmd.ErrorText();
  out << "Error text: " << (error.isEmpty() ? QStringLiteral("(none)") : QString::fromLatin1(error).replace("\n", "\n            ")) << "\n";
  out << "Reply data: " << DecodePrinterText(cmd.ReplyData) << "\n";
  int last = -1;
  for (int i = 0; i < FPCommand00::kFieldCount; ++i)
    if (!cmd.Field(i).isEmpty()) last = i;
  for (int i = 0; i <= last; ++i)
    out << QStringLiteral("Field %1:").arg(i, -3) << "   " << DecodePrinterText(cmd.Field(i)) << "\n";
  out << "Status:    ";
  for (int i = 0; i < 6; ++i) out << " " << QStringLiteral("%1").arg(cmd.StatusByte(i), 2, 16, QChar('0')).toUpper();
  out << "\n";
  for (int byte = 0; byte < 6; ++byte) {
    QStringList names;
    for (int bit = 0; bit < 6; ++bit)
      if (cmd.StatusBit(byte, bit)) names << QString::fromLatin1(kStatusBitNames[byte][bit]);
    if (!names.isEmpty()) out << "  " << kStatusByteNames[byte] << ": " << names.join(", ") << "\n";
  }
}

}  // namespace

int RunSendCommand(const QStringList& args) {
  Utf8TextStream out(stdout);
  Utf8TextStream err(stderr);
  QCommandLineParser parser;
  parser.setApplicationDescription("Sends one command to the fiscal printer and shows its reply.");
  parser.addOption({"port", "Serial port the printer is on.", "NAME"});
  parser.addOption({"baud", "Baud rate (default 19200).", "N", "19200"});
  parser.addOption({"json", "Print one JSON object."});
  parser.addPositionalArgument("COMMAND", "Command number, decimal.");
  parser.addPositionalArgument("DATA", "Request data (optional).");
  AddHelpOption(parser);
  const QString usage = "usage: pralix send --port NAME [--baud N] [--json] COMMAND [DATA]\n";
  if (!parser.parse(QStringList{"pralix send"} + args)) {
    err << parser.errorText() << "\n" << usage;
    return 2;
  }
  if (parser.isSet("help")) {
    out << CommandHelpText(parser, usage);
    return 0;
  }
  const QStringList positional = parser.positionalArguments();
  bool baudOk = false;
  const int baud = parser.value("baud").toInt(&baudOk);
  if (!parser.isSet("port") || positional.isEmpty() || positional.size() > 2 || !baudOk || baud <= 0) {
    err << usage;
    return 2;
  }
  QByteArray data;
  if (positional.size() == 2) data = EncodePrinterText(positional[1]);

  const std::unique_ptr<SerialPort> port = MakeSystemSerialPort();
  port->setPortName(parser.value("port"));
  port->setBaudRate(baud);
  LinkPort = port.get();
  FPCommand00 cmd;
  try {
    cmd.ExecuteText(positional[0], data);
  } catch (const PortOpenError& e) {
    err << "Cannot open the serial port " << e.what() << "\n";
    return 2;
  } catch (const std::invalid_argument& e) {
    err << "The command must be a decimal number: " << e.what() << "\n" << usage;
    return 2;
  }
  LinkPort = nullptr;
  if (parser.isSet("json")) PrintJson(cmd, out);
  else PrintText(cmd, out);
  return cmd.ErrorCode == kOk ? 0 : 1;
}

}  // namespace pralix
