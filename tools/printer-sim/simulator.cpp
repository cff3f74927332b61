#include "simulator.h"

#include "printer_commands.h"

namespace pralix::sim {

namespace {

constexpr Nanos kMillisecond = 1'000'000;

StatusBits Merge(StatusBits a, const StatusBits& b) {
  for (int i = 0; i < 6; ++i) a[i] |= b[i];
  return a;
}

}  // namespace

Simulator::Simulator(PrinterState state, FaultPlan faults, FaultSettings faultSettings, Timing timing,
                     PcClock pcClock)
    : state_(std::move(state)),
      faults_(std::move(faults)),
      faultSettings_(faultSettings),
      timing_(timing),
      pcClock_(std::move(pcClock)) {}

Answer Simulator::Respond(const RequestFrame& frame, Nanos receivedAt) {
  // A byte written at t has reached the PC on a real line at t + one byte time.
  const Nanos firstByteDue = receivedAt + timing_.turnaround + timing_.byteTime;
  if (!frame.intact) {
    return {{{QByteArray(1, char(kNak)), firstByteDue, timing_.byteTime, "nak"}},
            "damaged request (" + frame.damage.toUtf8() + ")"};
  }
  return Reply(frame, firstByteDue);
}

Answer Simulator::Reply(const RequestFrame& frame, Nanos firstByteDue) {
  const std::optional<DrawnFault> drawn =
      random_ ? std::optional(random_->Take(frame.seq, frame.command)) : std::nullopt;
  const std::optional<FaultKind> fault = drawn ? drawn->kind : faults_.Take(frame.command);
  const FaultSettings settings = drawn ? drawn->Apply(faultSettings_) : faultSettings_;
  const QByteArray faultNote = fault ? QByteArray("fault ") + FaultName(*fault) : QByteArray();
  if (fault == FaultKind::Silent) return {{}, faultNote};
  if (fault == FaultKind::Nak) return {{{QByteArray(1, char(kNak)), firstByteDue, timing_.byteTime, "nak"}}, faultNote};

  const CommandOutcome outcome = ExecuteCommand(state_, frame.command, frame.data, pcClock_());
  StatusBits status = Merge(state_.TakeReplyStatus(), outcome.refusal);
  if (drawn) status = Merge(status, drawn->status);
  QByteArray note = "command " + QByteArray::number(frame.command);
  if (!outcome.note.isEmpty()) note += ": " + outcome.note;
  if (fault) note += "; " + faultNote;

  Answer answer;
  answer.note = note;
  Nanos replyStart = firstByteDue;
  if (fault == FaultKind::Busy) {
    const Nanos interval = settings.busyIntervalMs * kMillisecond;
    const int count = qMax(1, int((settings.busyMs * kMillisecond + interval - 1) / interval));
    answer.parts.push_back({QByteArray(count, char(settings.busyByte)), firstByteDue, interval, "busy"});
    replyStart = firstByteDue + settings.busyMs * kMillisecond;
  } else if (fault == FaultKind::Noise) {
    const QByteArray noise = noise_.Next(settings.noiseCount);
    answer.parts.push_back({noise, firstByteDue, timing_.byteTime, "noise"});
    replyStart = firstByteDue + noise.size() * timing_.byteTime;
  }
  const QByteArray frameBytes = EncodeReplyFrame(frame.seq, frame.command, outcome.data, status);
  const QByteArray sent = fault ? SpoilReply(*fault, frameBytes, settings) : frameBytes;
  answer.parts.push_back({sent, replyStart, timing_.byteTime, sent == frameBytes ? "reply" : faultNote});
  return answer;
}

}  // namespace pralix::sim
