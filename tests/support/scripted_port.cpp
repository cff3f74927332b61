#include "scripted_port.h"

#include <algorithm>

#include "link/frame.h"

namespace pralix::test {

void ScriptedPort::open() {
  if (refuseOpen) throw PortOpenError(name_.toStdString() + ": no such port");
  open_ = true;
  ++opens_;
}

void ScriptedPort::close() { open_ = false; }

void ScriptedPort::clearBuffers() {
  ++clears_;
  // Only what has already arrived is discarded; a late reply still comes.
  while (!incoming_.empty() && incoming_.front().time <= now()) incoming_.pop_front();
}

void ScriptedPort::shareClock(qint64& ms) {
  ms = std::max(ms, nowMs());
  sharedNow_ = &ms;
}

void ScriptedPort::arriveAt(qint64 timeMs, const QByteArray& bytes) {
  for (char c : bytes) incoming_.push_back({timeMs, quint8(c)});
  std::stable_sort(incoming_.begin(), incoming_.end(),
                   [](const Pending& a, const Pending& b) { return a.time < b.time; });
}

void ScriptedPort::schedule(const Response& response) {
  qint64 t = now();
  for (const Chunk& chunk : response) {
    t += chunk.delayMs;
    arriveAt(t, chunk.bytes);
  }
}

int ScriptedPort::write(const quint8* data, int count) {
  const int accepted = acceptPerWrite < 0 ? count : std::min(count, acceptPerWrite);
  writes_.emplace_back(reinterpret_cast<const char*>(data), accepted);
  if (accepted < count) return accepted;
  if (!queued_.empty()) {
    schedule(queued_.front());
    queued_.pop_front();
  } else if (responder_) {
    schedule(responder_(writes_.back()));
  }
  return accepted;
}

int ScriptedPort::read(quint8* buffer, int count) {
  ++reads_;
  const qint64 deadline = now() + 100LL * count + 100;
  int got = 0;
  qint64 lastByte = -1;
  while (got < count) {
    qint64 limit = deadline;
    if (got > 0) limit = std::min(limit, lastByte + 100);
    if (incoming_.empty() || incoming_.front().time > limit) {
      now() = std::max(now(), limit);
      return got;
    }
    now() = std::max(now(), incoming_.front().time);
    buffer[got++] = incoming_.front().byte;
    lastByte = now();
    incoming_.pop_front();
  }
  return got;
}

int ScriptedPort::readWithin(quint8* buffer, int count, int timeoutMs) {
  ++reads_;
  const qint64 limit = now() + std::max(timeoutMs, 0);
  if (incoming_.empty() || incoming_.front().time > limit) {
    now() = std::max(now(), limit);
    return 0;
  }
  now() = std::max(now(), incoming_.front().time);
  int got = 0;
  while (got < count && !incoming_.empty() && incoming_.front().time <= now()) {
    buffer[got++] = incoming_.front().byte;
    incoming_.pop_front();
  }
  return got;
}

QByteArray RequestData(const QByteArray& request) { return request.mid(4, request.size() - 10); }

int RequestCommand(const QByteArray& request) { return quint8(request.at(3)); }

QByteArray ReplyTo(const QByteArray& request, const PrinterReply& reply) {
  quint8 raw[6];
  for (int i = 0; i < 6; ++i) raw[i] = quint8(0x80 | reply.status[i]);
  return EncodeReply(quint8(request.at(2)), quint8(request.at(3)), reply.data, raw);
}

ScriptedPort::Responder PrinterResponder(std::function<PrinterReply(int, QByteArray)> answer) {
  return [answer](const QByteArray& request) {
    return ScriptedPort::Response{{1, ReplyTo(request, answer(RequestCommand(request), RequestData(request)))}};
  };
}

}  // namespace pralix::test
