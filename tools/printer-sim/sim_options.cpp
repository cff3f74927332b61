#include "sim_options.h"

#include <QCommandLineParser>

#include "model_identity.h"

namespace pralix::sim {

namespace {

constexpr int kMaxIdentityText = 100;  // bytes of one overridden field
constexpr int kMaxHeaderLine = kMaxReplyData;

const char kHelp[] = R"(Usage: pralix-printer-sim [OPTIONS]

Plays a fiscal printer on a pseudo-terminal.  Prints the slave path (for
example /dev/pts/7) as the first line on standard output; point the tool's
serial port at it.  Runs until SIGINT (Ctrl+C) or SIGTERM.

Line:
  --model INDEX          printer model 0-15 as in the tool's model list
                         (default 0, "SRB (AG) FP-550   19200")
  --baud N               pace the line at N baud, 10 bit times per byte
                         (default: the model's baud rate)
  --turnaround-ms MS     the printer's think time between the last request
                         byte and its answer (default 1, decimals allowed)
  --link PATH            also make PATH a symbolic link to the slave
                         (replaces an older link; removed at exit)
  --log FILE             write every frame received and every byte sent to
                         FILE, one line each, in hex
  --wrong-speed-noise    while the PC's line speed differs from the
                         printer's, answer each request with noise (default:
                         stay silent, as the request is not understood)

Identity (texts in UTF-8, sent in Windows-1251; default: the model's table
entry, see README.md):
  --serial TEXT          the reply field that carries the serial (command 90)
  --pib TEXT             taxpayer number, command 99 field 0
  --firmware TEXT        "version,checksum", e.g. "1.22SR 09NOV03 1230,BB78"
  --free-z TEXT          free daily reports, command 68 field 0
  --plu TEXT             number of articles, command 107 "I"
  --tax TEXT             tax-group pattern, command 83
  --header-line K=TEXT   receipt header line K (0-5), command 43 "IK";
                         may be repeated
  --clock-offset SECONDS printer clock = PC clock + SECONDS (negative:
                         behind; decimals allowed)
  --clock-text TEXT      answer command 62 with TEXT instead of the clock

Status (sent in every reply):
  --paper-out KIND[:N]   KIND receipt or journal; with :N only the first N
                         reply frames report it (the paper is then replaced)
  --display-missing      customer display not connected (byte 0 bits 5, 3)
  --clock-not-set        date and time not set (byte 0 bit 2)
  --general-error        general error (byte 0 bit 5)
  --status-bit B.b       set bit b of status byte B (0-5 each); may be
                         repeated

Faults (may be repeated; each request frame meets the first --fault that
matches it and has hits left):
  --fault KIND[:N][@CMD] commit fault KIND on the first N request frames
                         (default: on all) for command CMD (default: any,
                         or --fault-command).  KIND is one of:
                           silent          no answer
                           nak             answer 0x15
                           noise           noise bytes, then the reply
                           wrong-seq       reply with another sequence byte
                           wrong-command   reply with another command byte
                           wrong-checksum  reply with a wrong checksum
                           truncated       reply missing its last bytes
                           short-length    reply with a length byte < 0x20
                           busy            busy bytes every 60 ms, then the
                                           reply
                         Silent and nak leave the command undone; the other
                         kinds carry it out and spoil only the answer.
  --fault-command CMD    limit the faults that name no @CMD to command CMD
  --busy-ms MS           how long busy bytes come (default 1000)
  --busy-byte BYTE       the busy byte (default 0x16)
  --noise-count N        noise bytes before the reply (default 8)
  --truncate-by N        bytes cut from a truncated reply (default 1)
  --short-length-byte B  the length byte of a short-length reply
                         (default 0x1F)
  --random-faults SEED   draw a fault schedule for every exchange from SEED
                         (runs of one fault on 1-4 attempts, mixed attempts,
                         paper out, display off) instead of --fault
  --fault-log FILE       with --random-faults: one line per request frame,
                         "<seq hex> <command> <fault> [+condition]"

  -h, --help             this text

Examples:
  pralix-printer-sim --model 9 --link /tmp/ttyFP
  pralix-printer-sim --paper-out receipt:2 --log /tmp/fp.log
  pralix-printer-sim --fault silent:1 --fault nak@83
)";

bool ReadInt(const QString& text, int low, int high, int* out) {
  bool ok = false;
  const int value = text.toInt(&ok, 0);  // 0x.. is taken as hexadecimal
  if (!ok || value < low || value > high) return false;
  *out = value;
  return true;
}

class Reader {
 public:
  explicit Reader(const QCommandLineParser& p) : p_(p) {}
  QString error;

  void Int(const char* name, int low, int high, int* out) {
    if (!p_.isSet(name) || !error.isEmpty()) return;
    if (!ReadInt(p_.value(name), low, high, out))
      error = QStringLiteral("--%1 needs a whole number from %2 to %3").arg(name).arg(low).arg(high);
  }
  void Byte(const char* name, uint8_t* out) {
    int value = *out;
    Int(name, 0, 255, &value);
    *out = uint8_t(value);
  }
  void Text(const char* name, std::optional<QByteArray>* out, int maxBytes = kMaxIdentityText) {
    if (!p_.isSet(name) || !error.isEmpty()) return;
    *out = Encode(p_.value(name), QStringLiteral("--%1").arg(name), maxBytes);
  }
  QByteArray Encode(const QString& text, const QString& what, int maxBytes) {
    const std::optional<QByteArray> bytes = ToPrinterBytes(text);
    if (!bytes) {
      error = QStringLiteral("%1: a character has no place in Windows-1251").arg(what);
      return {};
    }
    if (bytes->size() > maxBytes) error = QStringLiteral("%1: longer than %2 bytes").arg(what).arg(maxBytes);
    if (bytes->contains('\0')) error = QStringLiteral("%1: holds a zero byte").arg(what);
    return *bytes;
  }

 private:
  const QCommandLineParser& p_;
};

bool ParsePaperOut(const QString& text, StatusConditions* c) {
  const QStringList parts = text.split(':');
  if (parts.size() > 2) return false;
  if (parts[0] == "receipt") c->paperOut = PaperOut::Receipt;
  else if (parts[0] == "journal") c->paperOut = PaperOut::Journal;
  else return false;
  return parts.size() == 1 || ReadInt(parts[1], 1, 1'000'000, &c->paperOutReplies);
}

bool ParseStatusBit(const QString& text, StatusBits* bits) {
  const QStringList parts = text.split('.');
  int byte = 0;
  int bit = 0;
  if (parts.size() != 2 || !ReadInt(parts[0], 0, 5, &byte) || !ReadInt(parts[1], 0, 5, &bit)) return false;
  (*bits)[byte] |= uint8_t(1u << bit);
  return true;
}

}  // namespace

const char* HelpText() { return kHelp; }

int SimOptions::EffectiveBaud() const { return baud > 0 ? baud : kModelIdentities[model].baud; }

PrinterIdentity SimOptions::Identity() const {
  PrinterIdentity id = PrinterIdentity::Defaults(model);
  if (serial) id.serialField = *serial;
  if (pib) id.pibField = *pib;
  if (firmware) id.SetFirmware(*firmware);
  if (freeZ) id.freeZ = *freeZ;
  if (plu) id.plu = *plu;
  if (tax) id.tax = *tax;
  for (const auto& [k, line] : headerLines) id.header[k] = line;
  return id;
}

ParsedOptions ParseOptions(const QStringList& args) {
  QCommandLineParser p;
  p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  for (const char* name : {"model", "baud", "turnaround-ms", "link", "log", "clock-offset", "clock-text", "serial",
                           "pib", "firmware", "free-z", "plu", "tax", "header-line", "paper-out", "status-bit",
                           "fault", "fault-command", "busy-ms", "busy-byte", "noise-count", "truncate-by",
                           "short-length-byte", "random-faults", "fault-log"})
    p.addOption(QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value")));
  for (const char* name : {"display-missing", "clock-not-set", "general-error", "wrong-speed-noise"})
    p.addOption(QCommandLineOption(QString::fromLatin1(name)));
  p.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));

  ParsedOptions result;
  if (!p.parse(QStringList{QStringLiteral("pralix-printer-sim")} + args)) {
    result.error = p.errorText();
    return result;
  }
  if (p.isSet("help")) {
    result.help = true;
    return result;
  }
  if (!p.positionalArguments().isEmpty()) {
    result.error = QStringLiteral("unexpected argument %1").arg(p.positionalArguments().first());
    return result;
  }

  SimOptions o;
  Reader r(p);
  r.Int("model", 0, kModelCount - 1, &o.model);
  r.Int("baud", 50, 4'000'000, &o.baud);
  o.linkPath = p.value("link");
  o.logPath = p.value("log");
  if (p.isSet("turnaround-ms")) {
    bool ok = false;
    o.turnaroundMs = p.value("turnaround-ms").toDouble(&ok);
    if (!ok || o.turnaroundMs < 0 || o.turnaroundMs > 60'000) r.error = "--turnaround-ms needs 0 to 60000";
  }
  if (p.isSet("clock-offset")) {
    bool ok = false;
    const double seconds = p.value("clock-offset").toDouble(&ok);
    if (!ok || qAbs(seconds) > 1e9) r.error = "--clock-offset needs a number of seconds";
    o.clockOffsetMs = qint64(seconds * 1000.0);
  }
  r.Text("clock-text", &o.clockText);
  r.Text("serial", &o.serial);
  r.Text("pib", &o.pib);
  r.Text("firmware", &o.firmware);
  r.Text("free-z", &o.freeZ);
  r.Text("plu", &o.plu);
  r.Text("tax", &o.tax);
  for (const QString& text : p.values("header-line")) {
    const qsizetype eq = text.indexOf('=');
    int k = -1;
    if (eq < 0 || !ReadInt(text.left(eq), 0, 5, &k)) {
      r.error = QStringLiteral("--header-line %1: expected K=TEXT with K from 0 to 5").arg(text);
      break;
    }
    o.headerLines[k] = r.Encode(text.mid(eq + 1), QStringLiteral("--header-line %1").arg(k), kMaxHeaderLine);
  }

  if (p.isSet("paper-out") && !ParsePaperOut(p.value("paper-out"), &o.conditions))
    r.error = "--paper-out needs receipt or journal, optionally followed by :N";
  o.conditions.displayMissing = p.isSet("display-missing");
  o.conditions.clockNotSet = p.isSet("clock-not-set");
  o.conditions.generalError = p.isSet("general-error");
  if (p.isSet("wrong-speed-noise")) o.wrongSpeed = WrongSpeedAnswer::Noise;
  for (const QString& bit : p.values("status-bit"))
    if (!ParseStatusBit(bit, &o.conditions.extra)) r.error = QStringLiteral("--status-bit %1: expected B.b, each 0-5").arg(bit);

  int defaultCommand = -1;
  r.Int("fault-command", 0, 255, &defaultCommand);
  for (const QString& text : p.values("fault")) {
    QString why;
    std::optional<FaultRule> rule = ParseFaultRule(text, &why);
    if (!rule) {
      r.error = why;
      break;
    }
    if (rule->command < 0) rule->command = defaultCommand;
    o.faults.push_back(*rule);
  }
  FaultSettings& f = o.faultSettings;
  r.Int("busy-ms", 0, 600'000, &f.busyMs);
  r.Byte("busy-byte", &f.busyByte);
  r.Int("noise-count", 1, 10'000, &f.noiseCount);
  r.Int("truncate-by", 1, 228, &f.truncateBy);
  int shortLength = f.shortLengthByte;
  r.Int("short-length-byte", 0, 0x1F, &shortLength);
  f.shortLengthByte = uint8_t(shortLength);
  if (p.isSet("random-faults")) {
    bool ok = false;
    const uint seed = p.value("random-faults").toUInt(&ok, 0);
    if (!ok) r.error = "--random-faults needs a seed from 0 to 4294967295";
    o.randomFaultSeed = seed;
  }
  o.faultLogPath = p.value("fault-log");
  if (!o.faultLogPath.isEmpty() && !o.randomFaultSeed) r.error = "--fault-log needs --random-faults";

  if (!r.error.isEmpty()) {
    result.error = r.error;
    return result;
  }
  result.options = o;
  return result;
}

}  // namespace pralix::sim
