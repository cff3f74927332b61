#include "workstation/printer_detection.h"

#include <optional>

#include "workstation/model_fingerprint.h"
#include "workstation/port_screen.h"

namespace pralix {

bool IsValidReplyCode(qint32 code) {
  return code == kOk || code == kDisplayMissing || code == kNoJournalPaper || code == kNoReceiptPaper ||
         code == kGeneralError;
}

namespace {

bool OpenAt(SerialPort& port, const QString& name, qint32 baud) {
  port.close();
  port.setPortName(name);
  port.setBaudRate(baud);
  try {
    port.open();
    return true;
  } catch (const PortOpenError&) {
    return false;  // missing, busy or not ours
  }
}

// The probe exchange on one port the screen found answering, then the model
// read; nothing when the port will not open or gives no valid reply.  Leaves
// the port closed.
std::optional<DetectionResult> ProbeAt(SerialPort& port, FPCommand00& cmd, const QString& name, qint32 baud) {
  std::optional<DetectionResult> found;
  // At a wrong speed the printer's answer is garbage: only a valid frame counts.
  if (OpenAt(port, name, baud) && IsValidReplyCode(cmd.Execute(62, "", ExchangeWait::Probe).ErrorCode)) {
    // The printer is here and has just answered; a model read it does not
    // answer at once leaves every model at this speed in the running.
    cmd.Execute(90, "1", ExchangeWait::ShortFirst);
    const std::optional<QByteArray> info =
        IsValidReplyCode(cmd.ErrorCode) ? std::optional(cmd.ReplyData) : std::nullopt;
    found = DetectionResult{name, baud, RankModels(baud, info)};
  }
  port.close();
  return found;
}

}  // namespace

DetectionResult DetectPrinter(SerialPort& port, FPCommand00& cmd, const QStringList& ports,
                              SerialPortSource& source) {
  for (const qint32 baud : kDetectionSpeeds) {
    // The screen opens each port on its own object: this one must not hold any.
    port.close();
    // A port that answered the screen but not the probe leaves the ports
    // after it undecided: they are screened again, with a new request.
    QStringList left = ports;
    while (!left.isEmpty()) {
      const ScreenOutcome screened = FirstPortThatAnswers(source, left, baud);
      if (screened.answered.isEmpty()) break;
      if (std::optional<DetectionResult> found = ProbeAt(port, cmd, screened.answered, baud)) return *found;
      left = screened.undecided;
    }
  }
  port.close();
  return {};
}

}  // namespace pralix
