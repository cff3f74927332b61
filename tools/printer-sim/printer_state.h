#pragma once
// The simulated printer between requests: identity, clock, standing status
// conditions and the counters that its reports change.

#include <QDateTime>
#include <optional>

#include "printer_identity.h"
#include "sim_codec.h"

namespace pralix::sim {

enum class PaperOut { None, Receipt, Journal };

struct StatusConditions {
  PaperOut paperOut = PaperOut::None;
  int paperOutReplies = -1;  // replies that still report it; -1 = all of them
  bool displayMissing = false;
  bool clockNotSet = false;
  bool generalError = false;
  StatusBits extra{};        // further bits set in every reply
};

// Status byte and bit of the conditions (bit 0 is the least significant).
inline constexpr int kNoPaperByte = 2, kNoPaperBit = 0;
inline constexpr int kNoJournalByte = 2, kNoJournalBit = 2;
inline constexpr int kGeneralErrorByte = 0, kGeneralErrorBit = 5;
inline constexpr int kDisplayMissingByte = 0, kDisplayMissingBit = 3;
inline constexpr int kClockNotSetByte = 0, kClockNotSetBit = 2;
inline constexpr int kSyntaxErrorBit = 0, kInvalidCommandBit = 1;  // both in byte 0
inline constexpr int kFiscalMemoryFullByte = 4, kFiscalMemoryFullBit = 4;

class PrinterState {
 public:
  PrinterState(PrinterIdentity identity, StatusConditions conditions, qint64 clockOffsetMs,
               std::optional<QByteArray> fixedClockText = std::nullopt);

  PrinterIdentity& identity() { return identity_; }
  const PrinterIdentity& identity() const { return identity_; }

  // The printer's own clock: the PC's plus the offset.
  QDateTime PrinterTime(const QDateTime& pcNow) const { return pcNow.addMSecs(clockOffsetMs_); }
  // What command 62 answers: "DD-MM-YY HH:MM:SS", or the fixed text.
  QByteArray ClockText(const QDateTime& pcNow) const;
  // Command 62 with data: the clock now reads printerTime and counts as set.
  void SetClock(const QDateTime& printerTime, const QDateTime& pcNow);

  // Status bits of the next reply frame from the standing conditions; a
  // paper-out limited to N replies counts this one.
  StatusBits TakeReplyStatus();

  // Z report: one free record fewer, one closure more.  Returns the number
  // of the closure just made, or nothing when no record is free.
  std::optional<int> CloseDay();
  int closures() const { return closures_; }

 private:
  PrinterIdentity identity_;
  StatusConditions conditions_;
  qint64 clockOffsetMs_;
  std::optional<QByteArray> fixedClockText_;
  int closures_;
};

}  // namespace pralix::sim
