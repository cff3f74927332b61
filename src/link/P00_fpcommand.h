#pragma once
// The one command object through which every printer command travels.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include "link/exchange_wait.h"

namespace pralix {

// Result codes left in FPCommand00::ErrorCode.
enum ResultCode : qint32 {
  kOk = 0,
  kRequestTooLong = 2,
  kNoAnswer = 3,          // seven silent reads waiting for the start of a reply
  kNakStorm = 4,          // fourth negative acknowledge
  kNoLength = 5,          // seven silent reads where the length byte should come
  kBadLength = 6,         // length byte below 0x20
  kIncompleteFrame = 7,   // rest of the frame not complete within six reads
  kInconsistent = 8,      // four attempts, none valid, none set a code
  kDisplayMissing = 97,
  kNoJournalPaper = 98,
  kNoReceiptPaper = 99,
  kGeneralError = 100,
};

class FPCommand00 {
 public:
  static constexpr int kFieldCount = 20;

  FPCommand00();

  // Command = 0, SendData empty; the outcome of the last exchange stays.
  void Clear();

  // Sends one command and keeps its whole outcome; opens LinkPort first when
  // it is closed (PortOpenError passes to the caller, nothing is sent).
  // wait is for the search of a printer's port (see ExchangeWait).
  FPCommand00& Execute(qint32 command, const QByteArray& data, ExchangeWait wait = ExchangeWait::Full);
  // Same with the command number as decimal text; throws std::invalid_argument
  // for a text that is not a number, before anything is sent.
  FPCommand00& ExecuteText(const QString& command, const QByteArray& data);

  // Field index (0..19) of ReplyData, fields separated by ","; the rest of a
  // reply with more than 19 commas stays in field 19.  Always taken from the
  // current ReplyData.
  QByteArray Field(int index) const;
  int StatusBit(int byte, int bit) const;
  quint8 StatusByte(int i) const;
  // Text of ErrorCode followed by "\n\nStatus: " and the six status bytes in
  // hexadecimal; empty for code 0.
  QByteArray ErrorText();

  qint32 Command = 0;
  QByteArray SendData;       // request data; never holds a 00 byte
  qint32 ErrorCode = 0;
  quint8 ReplySeq = 0;
  quint8 ReplyCommand = 0;
  quint8 FrameLength = 0;
  qint32 Checksum = 0;
  QByteArray ReplyData;      // data of the last valid reply, empty otherwise
  quint8 Status[6] = {0, 0, 0, 0, 0, 0};
  bool StatusBits[6][6] = {};
  QByteArray ErrorMessage;
};

// Message text of a result code, without the status part.
QByteArray ResultCodeText(qint32 code);

}  // namespace pralix
