// "1. Test": find the port where the printer answers, read it field by field
// for the chosen model, judge, log and upload.

#include <QtMath>
#include <cmath>

#include "commands/date_time_value.h"
#include "commands/reply_values.h"
#include "workstation/ansi_text.h"
#include "workstation/diag_outbox_round.h"
#include "workstation/diag_upload.h"
#include "workstation/diagnostic_log.h"
#include "workstation/environment_info.h"
#include "workstation/fiscal_link_files.h"
#include "workstation/fiscal_link_paths.h"
#include "workstation/judge_fields.h"
#include "workstation/model_catalogue.h"
#include "workstation/model_profile.h"
#include "workstation/printer_text.h"
#include "workstation/serial_ports.h"
#include "workstation/workstation.h"

namespace pralix {

namespace {

// Reply bytes that are digits and Latin letters, shown as they are.
QString Shown(const QByteArray& bytes) { return QString::fromLatin1(bytes); }

// The Serbian printers' serials begin with one of these Cyrillic pairs
// (Windows-1251 bytes): АГ, АЈ, СГ, СЈ, ЗИ, ЛК, АИ, АК.
bool HasSerbianSerialPrefix(const QByteArray& serial) {
  static const char kPrefixes[][3] = {"\xC0\xC3", "\xC0\xA3", "\xD1\xC3", "\xD1\xA3",
                                      "\xC7\xC8", "\xCB\xCA", "\xC0\xC8", "\xC0\xCA"};
  const QByteArray prefix = serial.left(2);
  for (const char* p : kPrefixes)
    if (prefix == p) return true;
  return false;
}

bool IsNoAnswer(qint32 code) {
  return code == kNoAnswer || code == kNakStorm || code == kNoLength || code == kIncompleteFrame ||
         code == kInconsistent;
}

// |d| days as hh:nn of that time of day, to the nearest millisecond.
QString ClockDifferenceText(double days) {
  if (std::fabs(days) >= 1.0) return QStringLiteral("Dana: ") + QString::number(qint64(days));
  const qint64 ms = qRound64(std::fabs(days) * 86400000.0);
  return QStringLiteral("%1:%2")
      .arg(ms / 3600000 % 24, 2, 10, QChar(u'0'))
      .arg(ms / 60000 % 60, 2, 10, QChar(u'0'));
}

}  // namespace

void Workstation::RunConnectivityTest() {
  if (testObserver_) testObserver_->TestStarted();
  fields_.ModelIndex = fields_.CBFPIndex;
  d_.comPort.setBaudRate(ModelCatalogue[size_t(fields_.ModelIndex)].baud);
  ClearFields();
  d_.ui.repaintMainWindow();

  if (!FindPrinterPort()) {
    const QString model = QString::fromLatin1(ModelCatalogue[size_t(fields_.CBFPIndex)].line);
    d_.ui.showInformation(QStringLiteral("Odabrani ") + model +
                          QStringLiteral("\n\nnije pravilno povezan sa PC!\n\n----------\n\nSelected ") + model +
                          QStringLiteral("\n\nis not properly connected with PC!"));
    return;
  }
  fields_.LEFPPort.text += u'/' + PortDeviceTag(d_.deviceMap, fields_.LEFPPort.text);

  ReadSerial();
  ReadPib();
  ReadDateTime();
  ReadFirmware();
  FillEnvironmentField(fields_, d_.windowsVersion, d_.driveC);
  fields_.LEBPDI.text = Shown(d_.formFP.FPCmd.Execute(68, "").Field(0));
  ReadArticles();
  ReadTaxGroups();
  fields_.LEDisplayOK.text = d_.formFP.IsDisplayOK() ? QStringLiteral("OK") : QStringLiteral("Error");
  ReadHeader();
  FinishTest();
}

void Workstation::ClearFields() {
  for (const LabelledEditInfo& edit : kLabelledEdits) fields_.*edit.field = LabelledEdit{};
  fields_.MemoHeader.clear();
  SetActionPanelsVisible(false);
}

bool Workstation::FindPrinterPort() {
  // Most PCs have ports with nothing on them; the first walk spends one read
  // time-out on each.  Only when no port answered is the walk repeated with
  // the full waits, for a printer that answers late.
  return WalkPorts(ExchangeWait::ShortFirst) || WalkPorts(ExchangeWait::Full);
}

bool Workstation::WalkPorts(ExchangeWait wait) {
  FPCommand00& cmd = d_.formFP.FPCmd;
  for (const QString& port : fields_.MemoPorts) {
    d_.comPort.close();
    d_.comPort.setPortName(port);
    try {
      d_.comPort.open();
    } catch (const PortOpenError&) {
      continue;  // missing, busy or not ours: try the next one
    }
    // A printer that answers with an error (paper out, say) is still found.
    if (!IsNoAnswer(cmd.Execute(62, "", wait).ErrorCode)) {
      fields_.LEFPPort.text = port;
      return true;
    }
  }
  return false;
}

void Workstation::ReadSerial() {
  const ModelProfile& profile = ProfileOf(fields_.ModelIndex);
  FPCommand00& cmd = d_.formFP.FPCmd;
  QString& serial = fields_.LEIBFM.text;
  switch (profile.serial) {
    case SerialSource::Reader: serial = DecodePrinterText(d_.formFP.GetIBFM()); break;
    case SerialSource::Cmd90Field3: serial = Shown(cmd.Execute(90, "1").Field(3)); break;
    case SerialSource::Cmd90Field4Chars3To10: serial = Shown(cmd.Execute(90, "1").Field(4).mid(2, 8)); break;
    case SerialSource::Cmd90Field5AsAC:
      serial = QStringLiteral("AC") + Shown(cmd.Execute(90, "1").Field(5).mid(5, 6));
      break;
  }
  switch (profile.serialCorrection) {
    case SerialCorrection::None: break;
    case SerialCorrection::VgPrefix: serial = QStringLiteral("VG0") + serial.mid(3, 5); break;
    case SerialCorrection::SerbianPrefixCheck:
      // Any other prefix is marked with a trailing "E", which the judgement shows red.
      if (!HasSerbianSerialPrefix(EncodePrinterText(serial))) serial = serial.left(7) + u'E';
      break;
  }
}

void Workstation::ReadPib() {
  QString& pib = fields_.LEPIB.text;
  switch (ProfileOf(fields_.ModelIndex).pib) {
    case PibSource::Reader: pib = Shown(d_.formFP.GetPIB()); break;
    case PibSource::ReaderZeroPlus8: pib = u'0' + Shown(d_.formFP.GetPIB().left(8)); break;
    case PibSource::Cmd99Field0Chars5To13: pib = Shown(d_.formFP.FPCmd.Execute(99, "").Field(0).mid(4, 9)); break;
  }
}

void Workstation::ReadDateTime() {
  const double printer = d_.formFP.GetFPDateTime();
  const double pc = DateTimeToValue(d_.clock.now());
  fields_.LEDTFP.text = ValueToDateTime(printer).toString(QStringLiteral("yyyy-MM-dd hh:mm"));
  fields_.LEDTDiff.text = ClockDifferenceText(printer - pc);
  if (!d_.formFP.IsDateTimeSet()) fields_.LEDTFP.text = QStringLiteral("Error, time not set");
}

void Workstation::ReadFirmware() {
  const int first = ProfileOf(fields_.ModelIndex).firmwareFirstField;
  FPCommand00& cmd = d_.formFP.FPCmd.Execute(90, "1");
  fields_.LEFirmware.text = Shown(cmd.Field(first)) + u',' + Shown(cmd.Field(first + 1));
}

void Workstation::ReadArticles() {
  qint32 count = 0;
  switch (ProfileOf(fields_.ModelIndex).articles) {
    case ArticleSource::Reader: count = d_.formFP.GetPluNumber(); break;
    case ArticleSource::Cmd107Field1: count = ReadDecimalLikeAtol(d_.formFP.FPCmd.Execute(107, "I").Field(1)); break;
  }
  fields_.LEPluNumber.text = QString::number(count);
}

void Workstation::ReadTaxGroups() {
  QString& tax = fields_.LETax.text;
  switch (ProfileOf(fields_.ModelIndex).tax) {
    case TaxSource::Reader: tax = Shown(d_.formFP.GetTax()); break;
    case TaxSource::Cmd83Field2: tax = Shown(d_.formFP.FPCmd.Execute(83, "").Field(2)); break;
    case TaxSource::Cmd83Field3: tax = Shown(d_.formFP.FPCmd.Execute(83, "").Field(3)); break;
  }
}

void Workstation::ReadHeader() {
  for (char k = '0'; k <= '5'; ++k) {
    const QByteArray line = d_.formFP.FPCmd.Execute(43, QByteArray("I") + k).ReplyData;
    fields_.MemoHeader.append(TransliterateText(DecodePrinterText(line)));
  }
}

void Workstation::FinishTest() {
  JudgeFields(fields_);
  SetActionPanelsVisible(true);
  d_.ui.repaintMainWindow();
  try {
    UpdateLinkPort(fields_, d_.driveC);
  } catch (const std::exception&) {
    // The fiscal-link configuration is a convenience; the test goes on.
  }
  // A summary log that cannot be written ends the test here, port left open.
  WriteDiagnosticLogs(fields_, d_.clock, d_.logDirectory,
                      {d_.driveC.map(kVersionIniPath), d_.driveC.map(kKuvoVersionIniPath)});
  if (d_.outbox != nullptr) UploadDiagDataKeepingFailures(fields_, d_.http, d_.diagUrl, *d_.outbox, d_.clock);
  else UploadDiagData(fields_, d_.http, d_.diagUrl, d_.clock.now());
  d_.comPort.close();
  if (testObserver_) testObserver_->TestFoundPrinter(fields_);
}

}  // namespace pralix
