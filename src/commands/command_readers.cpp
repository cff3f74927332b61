// Readers: one command each, one value out of its reply.  A failed command
// shows its text in the important-message dialog and yields the reader's
// default, so a test never stops on one failed reading.

#include <exception>

#include "commands/reply_values.h"
#include "link/P00_fp.h"

namespace pralix {

namespace {

constexpr int kPibLength = 9;
constexpr char kNoTaxGroups[] = "000000000";
constexpr qint32 kNoPluNumber = -1;
constexpr char kClockNotSet[] = "FP Date and Time has not been set!\n\nCall fiscal service!";

// Bits of status byte 0 that the readers look at.
constexpr int kDateTimeNotSetBit = 2;
constexpr int kDisplayNotConnBit = 3;

// Codes that come with a reply the printer really sent, so that the status
// bits in the command object are the printer's own.
bool ReplyAccepted(qint32 code) {
  return code == kOk || code == kDisplayMissing || code == kNoJournalPaper || code == kNoReceiptPaper ||
         code == kGeneralError;
}

}  // namespace

bool TFormFP::ReadThrough(void (TFormFP::*sender)()) {
  try {
    (this->*sender)();
    return true;
  } catch (const std::exception& failure) {
    // A failed exchange, or a port that would not open.
    yellowMsg_.ShowText(QByteArray(failure.what()));
    return false;
  }
}

QByteArray TFormFP::GetIBFM() { return ReadThrough(&TFormFP::Cmd90) ? FPCmd.Field(4) : QByteArray(); }

QByteArray TFormFP::GetPIB() { return ReadThrough(&TFormFP::Cmd99) ? FPCmd.Field(0).left(kPibLength) : QByteArray(); }

double TFormFP::GetFPDateTime() { return ReadThrough(&TFormFP::Cmd62) ? ParseFPDateTime(FPCmd.ReplyData) : 0; }

bool TFormFP::IsDateTimeSet() {
  if (!ReadThrough(&TFormFP::Cmd62)) return false;
  if (FPCmd.StatusBit(0, kDateTimeNotSetBit)) {
    yellowMsg_.ShowText(kClockNotSet);
    return false;
  }
  return true;
}

bool TFormFP::IsDisplayOK() {
  // Failures are not shown here: a printer that refuses the command because
  // the display is missing says so in bit 3 of the reply it did send.
  try {
    Cmd62();
  } catch (const CommandError&) {
    // A printer that sent no valid reply has told nothing about its
    // display, and its cleared status bits must not read as "OK".
    if (!ReplyAccepted(FPCmd.ErrorCode)) return false;
  } catch (const std::exception&) {
    return false;  // the port did not open: no exchange at all
  }
  return FPCmd.StatusBit(0, kDisplayNotConnBit) == 0;
}

QByteArray TFormFP::GetTax() { return ReadThrough(&TFormFP::Cmd83) ? FPCmd.Field(1) : QByteArray(kNoTaxGroups); }

qint32 TFormFP::GetPluNumber() {
  return ReadThrough(&TFormFP::Cmd107I) ? ReadDecimalLikeAtol(FPCmd.Field(2)) : kNoPluNumber;
}

}  // namespace pralix
