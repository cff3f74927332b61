#include "printer_state.h"

namespace pralix::sim {

namespace {

// Records the fiscal memory holds for daily reports.
constexpr int kFiscalMemoryRecords = 2100;

void SetBit(StatusBits& bits, int byte, int bit) { bits[byte] |= uint8_t(1u << bit); }

}  // namespace

PrinterState::PrinterState(PrinterIdentity identity, StatusConditions conditions, qint64 clockOffsetMs,
                           std::optional<QByteArray> fixedClockText)
    : identity_(std::move(identity)),
      conditions_(conditions),
      clockOffsetMs_(clockOffsetMs),
      fixedClockText_(std::move(fixedClockText)) {
  bool numeric = false;
  const int free = identity_.freeZ.toInt(&numeric);
  closures_ = numeric ? qMax(0, kFiscalMemoryRecords - free) : 0;
}

QByteArray PrinterState::ClockText(const QDateTime& pcNow) const {
  if (fixedClockText_) return *fixedClockText_;
  return PrinterTime(pcNow).toString(QStringLiteral("dd-MM-yy HH:mm:ss")).toLatin1();
}

void PrinterState::SetClock(const QDateTime& printerTime, const QDateTime& pcNow) {
  clockOffsetMs_ = pcNow.msecsTo(printerTime);
  fixedClockText_.reset();
  conditions_.clockNotSet = false;
}

StatusBits PrinterState::TakeReplyStatus() {
  StatusBits bits = conditions_.extra;
  if (conditions_.paperOut != PaperOut::None && conditions_.paperOutReplies != 0) {
    SetBit(bits, kNoPaperByte, kNoPaperBit);
    if (conditions_.paperOut == PaperOut::Journal) SetBit(bits, kNoJournalByte, kNoJournalBit);
    if (conditions_.paperOutReplies > 0) --conditions_.paperOutReplies;
  }
  if (conditions_.generalError) SetBit(bits, kGeneralErrorByte, kGeneralErrorBit);
  if (conditions_.displayMissing) {
    SetBit(bits, kGeneralErrorByte, kGeneralErrorBit);
    SetBit(bits, kDisplayMissingByte, kDisplayMissingBit);
  }
  if (conditions_.clockNotSet) SetBit(bits, kClockNotSetByte, kClockNotSetBit);
  return bits;
}

std::optional<int> PrinterState::CloseDay() {
  bool numeric = false;
  const int free = identity_.freeZ.toInt(&numeric);
  if (!numeric || free <= 0) return std::nullopt;
  identity_.freeZ = QByteArray::number(free - 1);
  return ++closures_;
}

}  // namespace pralix::sim
