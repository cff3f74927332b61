#include "desk_load/http_load.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QList>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <deque>
#include <stdexcept>

namespace pralix::bench {
namespace {

using Clock = std::chrono::steady_clock;

int Connect(quint16 port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int one = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    throw std::runtime_error("cannot connect to the desk");
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
  return fd;
}

// The status of the whole answer at the front of in, which it then drops;
// 0 while the answer is not whole yet.
int TakeAnswer(QByteArray& in) {
  const qsizetype headEnd = in.indexOf("\r\n\r\n");
  if (headEnd < 0) return 0;
  qsizetype length = 0;
  for (const QByteArray& line : in.left(headEnd).split('\n')) {
    const qsizetype colon = line.indexOf(':');
    if (colon > 0 && line.left(colon).trimmed().compare("Content-Length", Qt::CaseInsensitive) == 0)
      length = line.mid(colon + 1).trimmed().toLongLong();
  }
  if (in.size() < headEnd + 4 + length) return 0;
  const int status = in.mid(9, 3).toInt();
  in.remove(0, headEnd + 4 + length);
  return status;
}

struct Connection {
  int fd = -1;
  bool busy = false;
  QByteArray out;
  qsizetype sent = 0;
  QByteArray in;
  Clock::time_point startedAt;  // when the request was sent (closed loop) or due (open loop)
};

// The connections and their epoll set; answers come back through poll().
class ConnectionSet {
 public:
  using OnAnswer = std::function<void(int index, int status, Clock::time_point startedAt)>;

  ConnectionSet(quint16 port, int count) : epoll_(::epoll_create1(EPOLL_CLOEXEC)), connections_(size_t(count)) {
    for (int i = 0; i < count; ++i) {
      connections_[size_t(i)].fd = Connect(port);
      watch(i, EPOLL_CTL_ADD, EPOLLIN);
    }
  }
  ~ConnectionSet() {
    for (const Connection& c : connections_)
      if (c.fd >= 0) ::close(c.fd);
    ::close(epoll_);
  }

  int size() const { return int(connections_.size()); }
  bool usable(int i) const { return connections_[size_t(i)].fd >= 0; }
  bool busy(int i) const { return connections_[size_t(i)].busy; }
  int busyCount() const {
    return int(std::count_if(connections_.begin(), connections_.end(), [](const Connection& c) { return c.busy; }));
  }

  void send(int i, QByteArray request, Clock::time_point startedAt) {
    Connection& c = connections_[size_t(i)];
    c.out = std::move(request);
    c.sent = 0;
    c.busy = true;
    c.startedAt = startedAt;
    writeSome(i);
  }

  // Waits up to timeout for socket events and hands each whole answer (or a
  // broken connection, status 0) to onAnswer.
  void poll(std::chrono::nanoseconds timeout, const OnAnswer& onAnswer) {
    epoll_event events[64];
    const timespec limit{time_t(timeout.count() / 1000000000), long(timeout.count() % 1000000000)};
    const int n = ::epoll_pwait2(epoll_, events, 64, &limit, nullptr);
    for (int e = 0; e < n; ++e) {
      const int i = int(events[e].data.u32);
      Connection& c = connections_[size_t(i)];
      if (c.fd < 0) continue;
      if (events[e].events & EPOLLOUT) writeSome(i);
      if (c.fd >= 0 && (events[e].events & (EPOLLIN | EPOLLHUP | EPOLLERR))) readSome(i, onAnswer);
    }
  }

 private:
  void watch(int i, int operation, uint32_t what) {
    epoll_event event{};
    event.events = what;
    event.data.u32 = uint32_t(i);
    ::epoll_ctl(epoll_, operation, connections_[size_t(i)].fd, &event);
  }

  void writeSome(int i) {
    Connection& c = connections_[size_t(i)];
    while (c.sent < c.out.size()) {
      const ssize_t n = ::send(c.fd, c.out.constData() + c.sent, size_t(c.out.size() - c.sent), MSG_NOSIGNAL);
      if (n < 0 && errno == EAGAIN) {
        watch(i, EPOLL_CTL_MOD, EPOLLIN | EPOLLOUT);
        return;
      }
      if (n <= 0) return;  // the read side will see the broken connection
      c.sent += n;
    }
    watch(i, EPOLL_CTL_MOD, EPOLLIN);
  }

  void readSome(int i, const OnAnswer& onAnswer) {
    Connection& c = connections_[size_t(i)];
    char chunk[16384];
    for (;;) {
      const ssize_t n = ::recv(c.fd, chunk, sizeof chunk, 0);
      if (n < 0 && errno == EAGAIN) break;
      if (n <= 0) {  // closed or failed: the request in flight is lost
        ::close(c.fd);
        c.fd = -1;
        if (c.busy) {
          c.busy = false;
          onAnswer(i, 0, c.startedAt);
        }
        return;
      }
      c.in.append(chunk, n);
    }
    if (!c.busy) return;
    if (const int status = TakeAnswer(c.in)) {
      c.busy = false;
      onAnswer(i, status, c.startedAt);
    }
  }

  int epoll_;
  std::vector<Connection> connections_;
};

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

Clock::duration Seconds(double s) { return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(s)); }

}  // namespace

double LoadOutcome::quantileMs(double q) const {
  if (latencyMs.empty()) return 0;
  std::vector<double> sorted = latencyMs;
  const size_t at = std::min(sorted.size() - 1, size_t(q * double(sorted.size())));
  std::nth_element(sorted.begin(), sorted.begin() + std::ptrdiff_t(at), sorted.end());
  return sorted[at];
}

LoadOutcome RunClosedLoop(quint16 port, int clients, const RequestMaker& next, double warmupSeconds, double seconds) {
  ConnectionSet set(port, clients);
  const Clock::time_point from = Clock::now() + Seconds(warmupSeconds);
  const Clock::time_point to = from + Seconds(seconds);
  LoadOutcome outcome;
  outcome.seconds = seconds;
  for (int i = 0; i < set.size(); ++i) set.send(i, next(), Clock::now());
  while (set.busyCount() > 0) {
    set.poll(std::chrono::milliseconds(100), [&](int i, int status, Clock::time_point startedAt) {
      const Clock::time_point now = Clock::now();
      if (status != 200) ++outcome.failed;
      if (status == 200 && now >= from && now <= to) {
        ++outcome.answered;
        outcome.latencyMs.push_back(Ms(now - startedAt));
      }
      if (now < to && set.usable(i)) set.send(i, next(), now);
    });
  }
  return outcome;
}

LoadOutcome RunOpenLoop(quint16 port, double perSecond, int connections, const RequestMaker& next, double warmupSeconds,
                        double seconds) {
  ConnectionSet set(port, connections);
  const Clock::time_point start = Clock::now();
  const Clock::time_point from = start + Seconds(warmupSeconds);
  const auto dueTime = [&](long k) { return start + Seconds(double(k) / perSecond); };
  const long total = long((warmupSeconds + seconds) * perSecond);
  LoadOutcome outcome;
  outcome.seconds = seconds;
  std::deque<Clock::time_point> waiting;  // due, no free connection yet
  std::vector<int> idle;
  for (int i = set.size() - 1; i >= 0; --i) idle.push_back(i);
  long k = 0;
  while (k < total || !waiting.empty() || set.busyCount() > 0) {
    const Clock::time_point now = Clock::now();
    for (; k < total && dueTime(k) <= now; ++k) waiting.push_back(dueTime(k));
    while (!waiting.empty() && !idle.empty()) {
      set.send(idle.back(), next(), waiting.front());
      idle.pop_back();
      waiting.pop_front();
    }
    if (idle.empty() && waiting.size() > 0 && set.busyCount() == 0) break;  // every connection broke
    const auto timeout = k < total ? std::max(Clock::duration::zero(), dueTime(k) - now) : Clock::duration(std::chrono::milliseconds(100));
    set.poll(std::chrono::duration_cast<std::chrono::nanoseconds>(timeout), [&](int i, int status, Clock::time_point due) {
      if (status != 200) ++outcome.failed;
      if (status == 200 && due >= from) {
        ++outcome.answered;
        outcome.latencyMs.push_back(Ms(Clock::now() - due));
      }
      if (set.usable(i)) idle.push_back(i);
    });
  }
  outcome.failed += int(waiting.size());
  return outcome;
}

}  // namespace pralix::bench
