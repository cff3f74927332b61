#include "printer_commands.h"

#include <QDate>

#include "reply_layouts.h"

namespace pralix::sim {

namespace {

CommandOutcome Refused(int bit, const QByteArray& note) {
  CommandOutcome out;
  out.refusal[kGeneralErrorByte] = uint8_t((1u << kGeneralErrorBit) | (1u << bit));
  out.note = note;
  return out;
}

CommandOutcome SyntaxError(const QByteArray& note) { return Refused(kSyntaxErrorBit, "syntax error: " + note); }

CommandOutcome Reply(const QByteArray& data, const QByteArray& note = {}) {
  CommandOutcome out;
  out.data = data;
  out.note = note;
  return out;
}

// Two-digit years are 2000-2099 on these printers.
QDate PrinterDate(int day, int month, int year2) { return QDate(2000 + year2, month, day); }

// "dd-MM-yy HH:mm:ss", digits exactly where the printer prints them.
QDateTime ParseClockText(const QByteArray& text) {
  static const QByteArray shape = "00-00-00 00:00:00";
  if (text.size() != shape.size()) return {};
  for (int i = 0; i < shape.size(); ++i)
    if ((shape[i] == '0') != (text[i] >= '0' && text[i] <= '9') || (shape[i] != '0' && text[i] != shape[i])) return {};
  auto num = [&](int at) { return text.mid(at, 2).toInt(); };
  const QDate date = PrinterDate(num(0), num(3), num(6));
  const QTime time(num(9), num(12), num(15));
  if (!date.isValid() || !time.isValid()) return {};
  return QDateTime(date, time);
}

// "ddMMyy".
QDate ParseReportDate(const QByteArray& text) {
  if (text.size() != 6) return {};
  for (char c : text)
    if (c < '0' || c > '9') return {};
  return PrinterDate(text.mid(0, 2).toInt(), text.mid(2, 2).toInt(), text.mid(4, 2).toInt());
}

CommandOutcome HeaderLine(PrinterState& state, const QByteArray& data) {
  if (data.size() != 2 || data[0] != 'I' || data[1] < '0' || data[1] > '5') return SyntaxError("header request " + data);
  return Reply(state.identity().header[data[1] - '0']);
}

CommandOutcome DateTime(PrinterState& state, const QByteArray& data, const QDateTime& pcNow) {
  if (data.isEmpty()) return Reply(state.ClockText(pcNow));
  const QDateTime set = ParseClockText(data);
  if (!set.isValid()) return SyntaxError("date and time " + data);
  state.SetClock(set, pcNow);
  return Reply({}, "clock set");
}

CommandOutcome DailyReport(PrinterState& state, const QByteArray& data) {
  if (data == "2" || data == "3") return Reply(DailyReportReply(state.closures() + 1), "X report printed");
  if (data == "0" || data == "0A" || data == "0a" || data == "1") {
    const std::optional<int> closure = state.CloseDay();
    if (!closure) {
      CommandOutcome full;
      full.refusal[kGeneralErrorByte] = 1u << kGeneralErrorBit;
      full.refusal[kFiscalMemoryFullByte] = 1u << kFiscalMemoryFullBit;
      full.note = "Z report refused: no free record in the fiscal memory";
      return full;
    }
    return Reply(DailyReportReply(*closure), "Z report " + QByteArray::number(*closure) + " printed");
  }
  return SyntaxError("daily report " + data);
}

CommandOutcome PeriodicReport(const QByteArray& data) {
  const QList<QByteArray> range = data.split(',');
  if (range.size() == 2) {
    const QDate from = ParseReportDate(range[0]);
    const QDate to = ParseReportDate(range[1]);
    if (from.isValid() && to.isValid() && from <= to)
      return Reply({}, "periodic report " + data + " printed");
  }
  return SyntaxError("period " + data);
}

}  // namespace

CommandOutcome ExecuteCommand(PrinterState& state, uint8_t command, const QByteArray& data, const QDateTime& pcNow) {
  const PrinterIdentity& id = state.identity();
  switch (command) {
    case 43: return HeaderLine(state, data);
    case 62: return DateTime(state, data, pcNow);
    case 68: return Reply(FreeRecordsReply(id, state.closures()));
    case 69: return DailyReport(state, data);
    case 71: return Reply({}, "diagnostic printout printed");
    case 79: return PeriodicReport(data);
    case 83: return Reply(TaxRatesReply(id));
    case 90: return Reply(DeviceInfoReply(id));
    case 99: return Reply(TaxpayerReply(id));
    case 107:
      if (data != "I") return SyntaxError("article request " + data);
      return Reply(ArticleInfoReply(id));
    default: return Refused(kInvalidCommandBit, "invalid command");
  }
}

}  // namespace pralix::sim
