#pragma once
// The link owner: the system's one command object and the guarded command
// path, which waits for paper, ends the program when the printer is lost
// and raises every other failure as an error with a readable text.  The
// command catalogue (senders and readers) lives in src/commands.

#include <QByteArray>
#include <stdexcept>

#include "link/P00_fpcommand.h"
#include "link/status_bits.h"
#include "messages/P00_YellowMsg.h"
#include "messages/user_interface.h"

namespace pralix {

// What SendCommand raises: the title, "\n" and the command object's
// ErrorText.
class CommandError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TFormFP {
 public:
  // ui receives the quit request; yellowMsg shows the paper request and the
  // readers' failure texts.
  TFormFP(UserInterface& ui, YellowMsg& yellowMsg) : ui_(ui), yellowMsg_(yellowMsg) {}
  TFormFP(const TFormFP&) = delete;
  TFormFP& operator=(const TFormFP&) = delete;

  // Names of the six status bytes and of their bits, [byte][bit].
  static constexpr const auto& StatusByteNames = kStatusByteNames;
  static constexpr const auto& StatusBitNames = kStatusBitNames;

  // Sends one command through FPCmd; returns only when it ended with code
  // 0, possibly after paper was replaced.  Throws CommandError otherwise,
  // after asking the application to quit on a lost printer; PortOpenError
  // passes through unchanged.
  void SendCommand(qint32 command, const QByteArray& data, const QByteArray& title);
  // Shows the paper message and repeats LastCommand with LastData for as
  // long as the printer reports paper out; true when it then succeeded.
  bool WaitForPaper();
  bool IsPaperOut() const;     // code 98 or 99
  bool IsCommFailure() const;  // code 3, 4, 5 or 7

  // Senders (command_senders.cpp): throw what SendCommand throws.
  void Cmd90();    // "1": serial number, firmware
  void Cmd99();    // TIN
  void Cmd62();    // date and time
  void Cmd83();    // tax groups
  void Cmd71();    // the printer prints its diagnostic printout
  void Cmd107I();  // "I": article count

  // Readers (command_readers.cpp): show a failure's text in the
  // important-message dialog and return their default; never throw for a
  // failed exchange.
  QByteArray GetIBFM();     // reply field 4, raw printer bytes; "" on failure
  QByteArray GetPIB();      // first 9 characters of field 0; "" on failure
  double GetFPDateTime();   // date-time value; 0 when failed or not a valid date
  bool IsDateTimeSet();     // false, with a message, when the clock is not set
  bool IsDisplayOK();       // no message of its own; false when no valid reply came
  QByteArray GetTax();      // reply field 1; "000000000" on failure
  qint32 GetPluNumber();    // field 2 read like atol; -1 on failure

  FPCommand00 FPCmd;
  qint32 LastCommand = 0;
  QByteArray LastData;

 private:
  [[noreturn]] void RaiseFailure(const QByteArray& title);
  // Runs a sender for a reader; on failure shows its text and returns false.
  bool ReadThrough(void (TFormFP::*sender)());

  UserInterface& ui_;
  YellowMsg& yellowMsg_;
};

}  // namespace pralix
