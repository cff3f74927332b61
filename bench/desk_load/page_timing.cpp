#include "desk_load/page_timing.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>

namespace pralix::bench {
namespace {

using Clock = std::chrono::steady_clock;
using desk::test::BuildRequest;
using desk::test::HttpConnection;
using desk::test::HttpReply;

double MsSince(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

// A blocking loopback socket that gives up on a desk silent for a minute.
int Connect(quint16 port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const timeval limit{60, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return fd;
  if (fd >= 0) ::close(fd);
  return -1;
}

// A chunked body decoded as it arrives: only its size and lines are kept.
class ChunkCounter {
 public:
  // Feeds bytes; true once the last chunk and the trailer's end are seen.
  bool feed(const char* data, qsizetype size, StreamedAnswer& answer) {
    line_.reserve(64);
    for (qsizetype i = 0; i < size;) {
      if (remaining_ > 0) {
        const qsizetype n = std::min<qsizetype>(remaining_, size - i);
        answer.bodyBytes += n;
        answer.lines += std::count(data + i, data + i + n, '\n');
        remaining_ -= n;
        i += n;
        continue;
      }
      line_ += data[i++];
      if (!line_.endsWith("\r\n")) continue;
      const QByteArray text = line_.chopped(2);
      line_.clear();
      if (afterData_) {  // the CRLF that closes a chunk's data
        afterData_ = false;
        continue;
      }
      if (last_) {
        if (text.isEmpty()) return true;  // the trailer's end
        continue;
      }
      bool ok = false;
      remaining_ = text.split(';').first().trimmed().toLongLong(&ok, 16);
      if (!ok) throw std::runtime_error("a chunk size that is not hexadecimal");
      last_ = remaining_ == 0;
      afterData_ = !last_;
      if (!last_) ++answer.chunks;
    }
    return false;
  }

 private:
  QByteArray line_;
  qint64 remaining_ = 0;
  bool afterData_ = false;
  bool last_ = false;
};

}  // namespace

double PageSeries::quantileMs(double q) const {
  if (latencyMs.empty()) return 0;
  std::vector<double> sorted = latencyMs;
  const size_t at = std::min(sorted.size() - 1, size_t(q * double(sorted.size())));
  std::nth_element(sorted.begin(), sorted.begin() + std::ptrdiff_t(at), sorted.end());
  return sorted[at];
}

PageSeries TimeGets(quint16 port, const desk::test::Headers& headers, const std::vector<QByteArray>& paths, int warmup,
                    int count) {
  PageSeries series;
  auto connection = std::make_unique<HttpConnection>(port);
  for (int k = 0; k < warmup + count; ++k) {
    const QByteArray request = BuildRequest("GET", paths[size_t(k) % paths.size()], headers, "");
    const Clock::time_point start = Clock::now();
    const HttpReply reply = connection->send(request) ? connection->receive() : HttpReply();
    const double ms = MsSince(start);
    if (reply.status != 200) {
      ++series.failed;
      if (series.firstFailure.isEmpty())
        series.firstFailure = paths[size_t(k) % paths.size()] + ": " + (reply.status ? reply.head.left(12) : "no answer");
      connection = std::make_unique<HttpConnection>(port);
    } else if (k >= warmup) {
      series.latencyMs.push_back(ms);
    }
  }
  return series;
}

StreamedAnswer StreamGet(quint16 port, const desk::test::Headers& headers, const QByteArray& path) {
  StreamedAnswer answer;
  const int fd = Connect(port);
  if (fd < 0) {
    answer.error = "cannot connect";
    return answer;
  }
  const std::unique_ptr<int, void (*)(int*)> closer(new int(fd), [](int* f) { ::close(*f), delete f; });
  const QByteArray request = BuildRequest("GET", path, headers, "");
  const Clock::time_point start = Clock::now();
  if (::send(fd, request.constData(), size_t(request.size()), MSG_NOSIGNAL) != request.size()) {
    answer.error = "cannot send";
    return answer;
  }
  QByteArray head;
  ChunkCounter chunks;
  char buffer[65536];
  try {
    for (;;) {
      const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
      if (n <= 0) {
        answer.error = n == 0 ? "the desk closed the connection before the end" : "no bytes for a minute";
        return answer;
      }
      if (answer.firstByteMs == 0) answer.firstByteMs = MsSince(start);
      qsizetype used = 0;
      if (answer.status == 0) {
        head.append(buffer, n);
        const qsizetype end = head.indexOf("\r\n\r\n");
        if (end < 0) continue;
        answer.status = head.mid(9, 3).toInt();
        if (!head.left(end).toLower().contains("transfer-encoding: chunked")) {
          answer.error = "not a streamed (chunked) answer: " + head.left(end).split('\r').first();
          answer.status = 0;
          return answer;
        }
        used = n - (head.size() - end - 4);
      }
      if (chunks.feed(buffer + used, n - used, answer)) break;
    }
  } catch (const std::runtime_error& broken) {
    answer.error = broken.what();
    answer.status = 0;
    return answer;
  }
  answer.totalMs = MsSince(start);
  return answer;
}

}  // namespace pralix::bench
