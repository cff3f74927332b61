#include "link/P00_fpsend.h"

#include <cstring>

#include "link/P00_fpcommand.h"

namespace pralix {

SerialPort* LinkPort = nullptr;
int SequenceNumber = 0x1F;
quint8 FrameBuffer[kFrameBufferSize];

quint8 SequenceAfter(int seq) {
  const int next = seq + 1;
  return quint8(next > kLastSequence || next < kFirstSequence ? kFirstSequence : next);
}

namespace {

quint8 NextSequenceNumber() {
  SequenceNumber = SequenceAfter(SequenceNumber);
  return quint8(SequenceNumber);
}

void ResetOutcome(FPCommand00& cmd) {
  cmd.FrameLength = 0;
  cmd.ReplyData.clear();
  cmd.Checksum = 0;
  cmd.ReplyCommand = quint8(cmd.Command & 0xFF);
  std::memset(cmd.Status, 0, sizeof cmd.Status);
  std::memset(cmd.StatusBits, 0, sizeof cmd.StatusBits);
}

void StoreValidReply(FPCommand00& cmd, const ReplyFrame& reply) {
  cmd.ReplyData = reply.data;
  for (int i = 0; i < 6; ++i) {
    cmd.Status[i] = reply.status[i];
    for (int j = 0; j < 6; ++j) cmd.StatusBits[i][j] = (reply.status[i] >> j) & 1;
  }
  cmd.ErrorCode = kOk;
}

// The waits of one attempt.
struct AttemptLimits {
  int firstSilentReads = kMaxSilentReads;  // before the attempt's first byte
  int silentReads = kMaxSilentReads;       // after it, and for the length byte
  int maxStrayBytes = -1;                  // bytes before the frame start; -1: no limit
  bool endWhenUnheard = false;             // no first byte: the whole exchange ends
  // The rest of the frame one byte at a time, each within silentReads: a
  // garbage length byte then costs a pause, not the time-out of a long read.
  bool restByteByByte = false;
};

AttemptLimits LimitsFor(ExchangeWait wait, int attempt) {
  switch (wait) {
    case ExchangeWait::Full: break;
    case ExchangeWait::ShortFirst:
      if (attempt == 0) return {1, kMaxSilentReads, -1, true};
      break;
    case ExchangeWait::Probe: return {1, 1, kProbeMaxStrayBytes, true, true};
  }
  return {};
}

int AttemptsFor(ExchangeWait wait) { return wait == ExchangeWait::Probe ? 1 : kMaxAttempts; }

// Reads one byte, counting silent reads; returns -1 after the limit-th silent
// read in a row.  Bytes the caller does not want restart the count through
// the caller's loop.
int ReadOneByte(SerialPort& port, int limit = kMaxSilentReads) {
  for (int silent = 0; silent < limit; ++silent) {
    quint8 byte;
    if (port.read(&byte, 1) == 1) return byte;
  }
  return -1;
}

enum class AttemptEnd { Retry, Done, Abort };

// One attempt: write the frame, wait for the reply, read and check it.
AttemptEnd RunAttempt(FPCommand00& cmd, quint8 seq, int frameSize, int& nakCount, const AttemptLimits& limits) {
  SerialPort& port = *LinkPort;
  port.clearBuffers();
  EncodeRequest(seq, quint8(cmd.Command & 0xFF), cmd.SendData, FrameBuffer);
  if (port.write(FrameBuffer, frameSize) < frameSize && port.write(FrameBuffer, frameSize) < frameSize)
    return AttemptEnd::Retry;

  // Wait for the start of the reply.  Any byte but 01 and 15 is ignored and
  // restarts the silent-read count, so a printer that keeps sending such
  // bytes (busy) keeps us waiting; a probe gives up after a few of them.
  for (int strays = 0;; ++strays) {
    if (limits.maxStrayBytes >= 0 && strays > limits.maxStrayBytes) return AttemptEnd::Retry;
    const int byte = ReadOneByte(port, strays == 0 ? limits.firstSilentReads : limits.silentReads);
    if (byte < 0) {
      cmd.ErrorCode = kNoAnswer;
      return strays == 0 && limits.endWhenUnheard ? AttemptEnd::Abort : AttemptEnd::Retry;
    }
    if (byte == kFrameStart) break;
    if (byte == kNak) {
      if (++nakCount > kMaxNaks) {
        cmd.ErrorCode = kNakStorm;
        return AttemptEnd::Abort;
      }
      return AttemptEnd::Retry;
    }
  }

  const int lengthByte = ReadOneByte(port, limits.silentReads);
  if (lengthByte < 0) {
    cmd.ErrorCode = kNoLength;
    return AttemptEnd::Retry;
  }
  cmd.FrameLength = quint8(lengthByte);
  if (lengthByte < kMinLengthByte) {
    cmd.ErrorCode = kBadLength;
    return AttemptEnd::Abort;
  }

  const int k = lengthByte - 28;
  if (limits.restByteByByte) {
    for (int i = 0; i < k; ++i) {
      const int byte = ReadOneByte(port, limits.silentReads);
      if (byte < 0) {
        cmd.ErrorCode = kIncompleteFrame;
        return AttemptEnd::Retry;
      }
      FrameBuffer[i] = quint8(byte);
    }
  } else {
    int received = 0;
    for (int calls = 0; received < k;) {
      received += port.read(FrameBuffer + received, k - received);
      if (++calls > kMaxFrameReads) {
        cmd.ErrorCode = kIncompleteFrame;
        return AttemptEnd::Retry;
      }
    }
  }

  ReplyFrame reply;
  const ReplyVerdict verdict =
      CheckReply(quint8(lengthByte), FrameBuffer, k, seq, quint8(cmd.Command & 0xFF), &reply);
  cmd.ReplySeq = reply.seq;
  if (verdict != ReplyVerdict::WrongSequence) cmd.ReplyCommand = reply.command;
  if (reply.checksumRead) cmd.Checksum = reply.checksum;
  if (verdict != ReplyVerdict::Valid) return AttemptEnd::Retry;
  StoreValidReply(cmd, reply);
  return AttemptEnd::Done;
}

}  // namespace

void FPSend(FPCommand00& cmd, ExchangeWait wait) {
  ResetOutcome(cmd);
  const quint8 seq = NextSequenceNumber();
  cmd.ReplySeq = seq;
  const int n = int(cmd.SendData.size());
  cmd.FrameLength = quint8(RequestLengthByte(n));
  if (!RequestFits(n)) {
    cmd.ErrorCode = kRequestTooLong;
    return;
  }
  cmd.Checksum = RequestChecksum(seq, quint8(cmd.Command & 0xFF), cmd.SendData);
  cmd.ErrorCode = kOk;

  int nakCount = 0;
  const int attempts = AttemptsFor(wait);
  for (int attempt = 0; attempt < attempts; ++attempt) {
    switch (RunAttempt(cmd, seq, n + kRequestOverhead, nakCount, LimitsFor(wait, attempt))) {
      case AttemptEnd::Done:
      case AttemptEnd::Abort:
        return;
      case AttemptEnd::Retry:
        break;
    }
  }
  // No valid reply: keep the last code an attempt set, or report that none did.
  if (cmd.ErrorCode == kOk) cmd.ErrorCode = kInconsistent;
}

}  // namespace pralix
