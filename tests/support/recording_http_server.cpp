#include "support/recording_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace pralix::test {
namespace {

sockaddr_in Loopback(quint16 port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

quint16 BoundPort(int socket) {
  sockaddr_in address{};
  socklen_t length = sizeof address;
  getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
  return ntohs(address.sin_port);
}

// Waits for data on the connection or for the stop signal; false on stop.
bool WaitReadable(int connection, int stopFd) {
  pollfd fds[2] = {{connection, POLLIN, 0}, {stopFd, POLLIN, 0}};
  while (poll(fds, 2, -1) < 0) {
  }
  return (fds[1].revents & POLLIN) == 0;
}

QByteArray ReasonPhrase(int status) {
  switch (status) {
    case 200: return "OK";
    case 302: return "Found";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
  }
}

}  // namespace

QByteArray RecordedHttpRequest::header(const QByteArray& name) const {
  for (const auto& [key, value] : headers)
    if (key.compare(name, Qt::CaseInsensitive) == 0) return value;
  return {};
}

int RecordedHttpRequest::headerCount(const QByteArray& name) const {
  int count = 0;
  for (const auto& header : headers)
    if (header.first.compare(name, Qt::CaseInsensitive) == 0) ++count;
  return count;
}

RecordingHttpServer::RecordingHttpServer(int status) : status_(status) {
  listener_ = socket(AF_INET, SOCK_STREAM, 0);
  const sockaddr_in address = Loopback(0);
  if (listener_ < 0 || bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener_, 16) != 0 || pipe(stopPipe_) != 0) {
    throw std::runtime_error("test HTTP server cannot listen on 127.0.0.1");
  }
  port_ = BoundPort(listener_);
  thread_ = std::thread([this] { serve(); });
}

RecordingHttpServer::~RecordingHttpServer() {
  const char stop = 's';
  (void)!write(stopPipe_[1], &stop, 1);
  thread_.join();
  for (int connection : heldConnections_) close(connection);
  close(listener_);
  close(stopPipe_[0]);
  close(stopPipe_[1]);
}

void RecordingHttpServer::setExtraResponseHeaders(const QByteArray& lines) {
  std::lock_guard lock(mutex_);
  extraHeaders_ = lines;
}

void RecordingHttpServer::queueStatuses(const std::vector<int>& statuses) {
  std::lock_guard lock(mutex_);
  queuedStatuses_.insert(queuedStatuses_.end(), statuses.begin(), statuses.end());
}

std::vector<QByteArray> RecordingHttpServer::answeredBodies() const {
  std::lock_guard lock(mutex_);
  return answeredBodies_;
}

bool RecordingHttpServer::waitForAnswers(std::size_t count, std::chrono::milliseconds limit) const {
  std::unique_lock lock(mutex_);
  return recorded_.wait_for(lock, limit, [&] { return answeredBodies_.size() >= count; });
}

QUrl RecordingHttpServer::url(const QString& path) const {
  return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path));
}

std::vector<RecordedHttpRequest> RecordingHttpServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

bool RecordingHttpServer::waitForRequests(std::size_t count, std::chrono::milliseconds limit) const {
  std::unique_lock lock(mutex_);
  return recorded_.wait_for(lock, limit, [&] { return requests_.size() >= count; });
}

void RecordingHttpServer::serve() {
  while (WaitReadable(listener_, stopPipe_[0])) {
    const int connection = accept(listener_, nullptr, nullptr);
    if (connection >= 0) handle(connection);
  }
}

void RecordingHttpServer::handle(int connection) {
  // Head up to the blank line, then as many body bytes as Content-Length says.
  QByteArray received;
  qsizetype headEnd = -1;
  RecordedHttpRequest request;
  qsizetype bodyLength = 0;
  for (;;) {
    if (headEnd < 0) {
      headEnd = received.indexOf("\r\n\r\n");
      if (headEnd >= 0) {
        const QList<QByteArray> lines = received.left(headEnd).split('\n');
        const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
        request.method = requestLine.value(0);
        request.path = requestLine.value(1);
        for (qsizetype i = 1; i < lines.size(); ++i) {
          const QByteArray line = lines[i].endsWith('\r') ? lines[i].chopped(1) : lines[i];
          const qsizetype colon = line.indexOf(':');
          if (colon < 0) continue;
          request.headers.append({line.left(colon), line.mid(colon + 1).trimmed()});
        }
        bodyLength = request.header("Content-Length").toLongLong();
      }
    }
    if (headEnd >= 0 && received.size() >= headEnd + 4 + bodyLength) break;
    if (!WaitReadable(connection, stopPipe_[0])) {
      close(connection);
      return;
    }
    char chunk[4096];
    const ssize_t count = read(connection, chunk, sizeof chunk);
    if (count <= 0) {
      close(connection);
      return;
    }
    received.append(chunk, count);
  }
  request.body = received.mid(headEnd + 4, bodyLength);

  QByteArray extra;
  int status = status_;
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
    extra = extraHeaders_;
    if (!queuedStatuses_.empty()) {
      status = queuedStatuses_.front();
      queuedStatuses_.erase(queuedStatuses_.begin());
    }
  }
  recorded_.notify_all();
  if (status == kNeverAnswer) {
    heldConnections_.push_back(connection);  // only this thread touches it until stop
    return;
  }
  const QByteArray body = "<html>" + QByteArray::number(status) + "</html>";
  const QByteArray answer = "HTTP/1.1 " + QByteArray::number(status) + ' ' + ReasonPhrase(status) +
                            "\r\nContent-Type: text/html\r\nContent-Length: " + QByteArray::number(body.size()) +
                            "\r\nConnection: close\r\n" + extra + "\r\n" + body;
  qsizetype sent = 0;
  while (sent < answer.size()) {
    const ssize_t count = send(connection, answer.constData() + sent, answer.size() - sent, MSG_NOSIGNAL);
    if (count <= 0) break;
    sent += count;
  }
  close(connection);
  if (sent == answer.size()) {
    {
      std::lock_guard lock(mutex_);
      answeredBodies_.push_back(request.body);
    }
    recorded_.notify_all();
  }
}

RefusingLocalPort::RefusingLocalPort() {
  socket_ = socket(AF_INET, SOCK_STREAM, 0);
  const sockaddr_in address = Loopback(0);
  if (socket_ < 0 || bind(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    throw std::runtime_error("cannot bind a port on 127.0.0.1");
  }
  port_ = BoundPort(socket_);
}

RefusingLocalPort::~RefusingLocalPort() { close(socket_); }

QUrl RefusingLocalPort::url(const QString& path) const {
  return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path));
}

}  // namespace pralix::test
