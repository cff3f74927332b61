#include "link/P00_fpcommand.h"

#include <stdexcept>

#include "link/P00_fpsend.h"

namespace pralix {

QByteArray ResultCodeText(qint32 code) {
  switch (code) {
    case kOk: return {};
    case kRequestTooLong: return "Zadato previse podataka!";
    case kNoAnswer: return "Stampac se ne javlja - proverite stampac i kabl!";
    case kNakStorm: return "Stampac javlja greske u komunikaciji - proverite kabl!";
    case kNoLength:
    case kIncompleteFrame: return "Stampac je prestao da se javlja - proverite stampac i kabl!";
    case kBadLength: return "Stampac je vratio duzinu %d - van opsega!";  // ErrorText puts in the length
    case kInconsistent: return "Stampac vraca nekonzistentne podatke!";
    case kDisplayMissing: return "Povezite Display za kupca sa Stampacem!";
    case kNoJournalPaper: return "Nema JOURNAL papira!";
    case kNoReceiptPaper: return "Nema BON papira!";
    case kGeneralError: return "Greska 100!";
    default: return "Nepoznata greska (" + QByteArray::number(code) + ")!";
  }
}

FPCommand00::FPCommand00() { Clear(); }

void FPCommand00::Clear() {
  Command = 0;
  SendData.clear();
}

FPCommand00& FPCommand00::Execute(qint32 command, const QByteArray& data, ExchangeWait wait) {
  Command = command;
  // The data is a zero-terminated text: a 00 byte ends it.
  const qsizetype end = data.indexOf('\0');
  SendData = end < 0 ? data : data.left(end);
  if (!LinkPort->isOpen()) LinkPort->open();
  FPSend(*this, wait);
  if (ErrorCode == kOk) {
    if (StatusBits[2][0]) {
      ErrorCode = StatusBits[2][2] ? kNoJournalPaper : kNoReceiptPaper;
    } else if (StatusBits[0][5]) {
      ErrorCode = StatusBits[0][3] ? kDisplayMissing : kGeneralError;
    }
  }
  return *this;
}

FPCommand00& FPCommand00::ExecuteText(const QString& command, const QByteArray& data) {
  bool ok = false;
  const qint32 number = command.trimmed().toInt(&ok, 10);
  if (!ok) throw std::invalid_argument("'" + command.toStdString() + "' is not a valid integer value");
  return Execute(number, data);
}

QByteArray FPCommand00::Field(int index) const {
  if (index < 0 || index >= kFieldCount) return {};
  int start = 0;
  for (int field = 0; field < index; ++field) {
    const qsizetype comma = ReplyData.indexOf(',', start);
    if (comma < 0) return {};
    start = int(comma) + 1;
  }
  if (index == kFieldCount - 1) return ReplyData.mid(start);
  const qsizetype comma = ReplyData.indexOf(',', start);
  return comma < 0 ? ReplyData.mid(start) : ReplyData.mid(start, comma - start);
}

int FPCommand00::StatusBit(int byte, int bit) const {
  if (byte < 0 || byte > 5 || bit < 0 || bit > 5) return 0;
  return StatusBits[byte][bit] ? 1 : 0;
}

quint8 FPCommand00::StatusByte(int i) const { return (i < 0 || i > 5) ? 0 : Status[i]; }

QByteArray FPCommand00::ErrorText() {
  ErrorMessage = ErrorCode == kBadLength
                     ? "Stampac je vratio duzinu " + QByteArray::number(FrameLength) + " - van opsega!"
                     : ResultCodeText(ErrorCode);
  if (ErrorCode != kOk) {
    ErrorMessage += "\n\nStatus: ";
    for (quint8 s : Status) ErrorMessage += QByteArray::number(s, 16).rightJustified(2, '0').toUpper();
  }
  return ErrorMessage;
}

}  // namespace pralix
