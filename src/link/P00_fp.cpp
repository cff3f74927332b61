#include "link/P00_fp.h"

#include <QString>

namespace pralix {

namespace {

constexpr qint32 kPaperMessage = 3;

QString DecimalText(qint32 command) { return QString::number(command); }

}  // namespace

bool TFormFP::IsPaperOut() const {
  return FPCmd.ErrorCode == kNoJournalPaper || FPCmd.ErrorCode == kNoReceiptPaper;
}

bool TFormFP::IsCommFailure() const {
  switch (FPCmd.ErrorCode) {
    case kNoAnswer:
    case kNakStorm:
    case kNoLength:
    case kIncompleteFrame: return true;
    default: return false;
  }
}

void TFormFP::SendCommand(qint32 command, const QByteArray& data, const QByteArray& title) {
  LastCommand = command;
  LastData = data;
  FPCmd.ExecuteText(DecimalText(command), data);
  if (FPCmd.ErrorCode == kOk) return;
  if (IsPaperOut() && WaitForPaper()) return;
  // The program ends when its event loop next runs; the caller still gets
  // the error and shows it meanwhile.
  if (IsCommFailure()) ui_.requestQuit();
  RaiseFailure(title);
}

bool TFormFP::WaitForPaper() {
  // No limit: the user is asked as long as the printer lacks paper.
  while (IsPaperOut()) {
    yellowMsg_.ShowMsg(kPaperMessage);
    FPCmd.ExecuteText(DecimalText(LastCommand), LastData);
  }
  return FPCmd.ErrorCode == kOk;
}

void TFormFP::RaiseFailure(const QByteArray& title) {
  const QByteArray text = title + "\n" + FPCmd.ErrorText();
  throw CommandError(text.toStdString());
}

}  // namespace pralix
