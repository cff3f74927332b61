#include "event_loop.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace pralix::sim {

namespace {

volatile sig_atomic_t stopRequested = 0;
sigset_t waitMask;  // the mask during ppoll: stop signals let through

void OnStopSignal(int) { stopRequested = 1; }

timespec ToTimespec(Nanos ns) {
  ns = std::max<Nanos>(ns, 0);
  return {time_t(ns / 1'000'000'000), long(ns % 1'000'000'000)};
}

class Loop {
 public:
  Loop(PtyPort& port, Simulator& simulator, RequestLog& log, Nanos byteTime, LineSpeedGate* gate)
      : port_(port), sim_(simulator), log_(log), gate_(gate), byteTime_(byteTime), incoming_(byteTime),
        outgoing_(byteTime) {}

  int Run() {
    while (!stopRequested) {
      if (!WriteDue()) return 1;
      pollfd pfd{port_.masterFd(), short(POLLIN | (writeBlocked_ ? POLLOUT : 0)), 0};
      const std::optional<Nanos> wake = NextWake();
      timespec timeout{};
      if (wake) timeout = ToTimespec(*wake - MonotonicNow());
      const int ready = ppoll(&pfd, 1, wake ? &timeout : nullptr, &waitMask);
      if (ready < 0) {
        if (errno == EINTR) continue;
        std::fprintf(stderr, "pralix-printer-sim: poll: %s\n", std::strerror(errno));
        return 1;
      }
      if (pfd.revents & POLLOUT) writeBlocked_ = false;
      if (pfd.revents & POLLIN) {
        if (!ReadRequests()) return 1;
      } else if (pfd.revents & (POLLHUP | POLLERR)) {
        // The slave end is held open, so this should not happen; wait a
        // little rather than spin on it.
        usleep(10'000);
      }
      DropStalledFrame();
    }
    return 0;
  }

 private:
  bool WriteDue() {
    if (writeBlocked_) return true;
    const QByteArray due = outgoing_.Due(MonotonicNow());
    if (due.isEmpty()) return true;
    const std::optional<Nanos> lastDue = outgoing_.LastDue();
    const ssize_t n = write(port_.masterFd(), due.constData(), size_t(due.size()));
    if (n > 0) outgoing_.Pop(int(n));
    if (n > 0 && outgoing_.Empty()) LogSent(*lastDue);
    if (n < 0 && errno != EAGAIN && errno != EINTR) {
      std::fprintf(stderr, "pralix-printer-sim: write: %s\n", std::strerror(errno));
      return false;
    }
    writeBlocked_ = n < due.size();
    return true;
  }

  std::optional<Nanos> NextWake() const {
    std::optional<Nanos> wake = writeBlocked_ ? std::nullopt : outgoing_.NextDue();
    if (parser_.InFrame()) {
      const Nanos giveUp = lastRead_ + kPartialFrameTimeout;
      wake = wake ? std::min(*wake, giveUp) : giveUp;
    }
    return wake;
  }

  bool ReadRequests() {
    char buffer[512];
    const ssize_t n = read(port_.masterFd(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EAGAIN || errno == EINTR || errno == EIO) return true;  // EIO: the PC side just closed
      std::fprintf(stderr, "pralix-printer-sim: read: %s\n", std::strerror(errno));
      return false;
    }
    lastRead_ = MonotonicNow();
    for (ssize_t i = 0; i < n; ++i) {
      const Nanos arrived = incoming_.Arrive(lastRead_);
      const bool wasInFrame = parser_.InFrame();
      const std::optional<RequestFrame> frame = parser_.Feed(uint8_t(buffer[i]));
      if (!wasInFrame && parser_.InFrame()) LogNoise();
      if (frame) Answer(*frame, arrived);
    }
    if (!parser_.InFrame()) LogNoise();
    return true;
  }

  void Answer(const RequestFrame& frame, Nanos arrived) {
    if (gate_) {
      const int lineBaud = gate_->lineBaud();
      if (!LineSpeedGate::Hears(lineBaud, gate_->printerBaud())) return AnswerGarbled(frame, arrived, lineBaud);
    }
    const pralix::sim::Answer answer = sim_.Respond(frame, arrived);
    log_.Write(lastRead_, "RX", frame.raw, answer.parts.empty() ? answer.note + "; no answer" : answer.note);
    for (const Transmission& part : answer.parts) {
      outgoing_.Add(part.bytes, part.start, part.spacing);
      log_.Write(lastRead_, "TX", part.bytes, part.note);
    }
  }

  // What a printer at another speed makes of the request: nothing it can
  // answer, or an answer the PC reads as noise.
  void AnswerGarbled(const RequestFrame& frame, Nanos arrived, int lineBaud) {
    const QByteArray note = "line at " + QByteArray::number(lineBaud) + " baud, printer at " +
                            QByteArray::number(gate_->printerBaud()) + ": request garbled";
    if (gate_->answer() == WrongSpeedAnswer::Silent) {
      log_.Write(lastRead_, "RX", frame.raw, note + "; no answer");
      return;
    }
    const QByteArray noise = gate_->Garble(int(frame.raw.size()));
    log_.Write(lastRead_, "RX", frame.raw, note);
    outgoing_.Add(noise, arrived + byteTime_, byteTime_);
    log_.Write(lastRead_, "TX", noise, "noise at the wrong speed");
  }

  // When the line falls quiet: how late the last byte went out against its
  // time, which tells the simulator's own share of an exchange's length.
  void LogSent(Nanos lastDue) {
    const Nanos now = MonotonicNow();
    log_.Write(now, "SENT", {}, "last byte " + QByteArray::number((now - lastDue) / 1000) + " us after its time");
  }

  void LogNoise() {
    const QByteArray noise = parser_.TakeNoise();
    if (!noise.isEmpty()) log_.Write(lastRead_, "JUNK", noise);
  }

  void DropStalledFrame() {
    if (parser_.InFrame() && MonotonicNow() - lastRead_ >= kPartialFrameTimeout)
      log_.Write(MonotonicNow(), "RXPART", parser_.AbandonFrame(), "frame stopped arriving; dropped");
  }

  PtyPort& port_;
  Simulator& sim_;
  RequestLog& log_;
  LineSpeedGate* gate_;
  Nanos byteTime_;
  RequestParser parser_;
  IncomingLine incoming_;
  OutgoingLine outgoing_;
  Nanos lastRead_ = 0;
  bool writeBlocked_ = false;
};

}  // namespace

void PrepareStopSignals() {
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigprocmask(SIG_BLOCK, &stopSignals, &waitMask);
  sigdelset(&waitMask, SIGINT);
  sigdelset(&waitMask, SIGTERM);
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
}

int RunEventLoop(PtyPort& port, Simulator& simulator, RequestLog& log, Nanos byteTime, LineSpeedGate* gate) {
  return Loop(port, simulator, log, byteTime, gate).Run();
}

}  // namespace pralix::sim
