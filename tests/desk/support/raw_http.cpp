#include "support/raw_http.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace pralix::desk::test {

QByteArray HttpReply::header(const QByteArray& name) const {
  for (const QByteArray& line : head.split('\n')) {
    const int colon = line.indexOf(':');
    if (colon > 0 && line.left(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0) return line.mid(colon + 1).trimmed();
  }
  return QByteArray();
}

QByteArray BuildRequest(const QByteArray& method, const QByteArray& path, const Headers& headers,
                        const QByteArray& body) {
  QByteArray request = method + ' ' + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n";
  bool hasLength = false;
  for (const auto& header : headers) {
    request += header.first + ": " + header.second + "\r\n";
    hasLength = hasLength || header.first.compare("Content-Length", Qt::CaseInsensitive) == 0;
  }
  if (!hasLength) request += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
  return request + "\r\n" + body;
}

QByteArray DiagDataPost(const QByteArray& body, const Headers& extra) {
  Headers headers = {{"Content-Type", "application/x-www-form-urlencoded"},
                     {"Accept", "text/html, */*"},
                     {"User-Agent", "Mozilla/5.0 (Windows NT 6.1; rv:29.0) Gecko/20100101 Firefox/29.0"}};
  return BuildRequest("POST", "/dijagnostika", headers + extra, body);
}

namespace {

// The bytes a whole chunked body takes, with the body decoded into reply;
// -1 while it is not all there.
qsizetype DecodeChunks(const QByteArray& data, HttpReply& reply) {
  QByteArray body;
  int chunks = 0;
  qsizetype at = 0;
  for (;;) {
    const qsizetype lineEnd = data.indexOf("\r\n", at);
    if (lineEnd < 0) return -1;
    bool ok = false;
    const qsizetype size = data.mid(at, lineEnd - at).toLongLong(&ok, 16);
    if (!ok || data.size() < lineEnd + 2 + size + 2) return -1;
    if (size == 0) {
      reply.body = body;
      reply.chunked = true;
      reply.chunks = chunks;
      return lineEnd + 4;
    }
    body += data.mid(lineEnd + 2, size);
    ++chunks;
    at = lineEnd + 2 + size + 2;
  }
}

}  // namespace

HttpConnection::HttpConnection(quint16 port) {
  socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  timeval limit{120, 0};
  setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  setsockopt(socket_, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(socket_);
    socket_ = -1;
  }
}

HttpConnection::~HttpConnection() {
  if (socket_ >= 0) ::close(socket_);
}

bool HttpConnection::send(const QByteArray& bytes) {
  qsizetype sent = 0;
  while (socket_ >= 0 && sent < bytes.size()) {
    const ssize_t n = ::send(socket_, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += n;
  }
  return socket_ >= 0;
}

HttpReply HttpConnection::receive() {
  HttpReply reply;
  qsizetype headEnd = -1;
  qsizetype length = -1;
  char chunk[16384];
  for (;;) {
    if (headEnd < 0 && (headEnd = buffer_.indexOf("\r\n\r\n")) >= 0) {
      reply.head = buffer_.left(headEnd);
      length = reply.header("Content-Length").toLongLong();
    }
    if (headEnd >= 0 && reply.header("Transfer-Encoding") == "chunked") {
      if (const qsizetype used = DecodeChunks(buffer_.mid(headEnd + 4), reply); used >= 0) {
        buffer_.remove(0, headEnd + 4 + used);
        reply.status = reply.head.mid(9, 3).toInt();
        return reply;
      }
    } else if (headEnd >= 0 && buffer_.size() >= headEnd + 4 + length) {
      reply.body = buffer_.mid(headEnd + 4, length);
      buffer_.remove(0, headEnd + 4 + length);
      reply.status = reply.head.mid(9, 3).toInt();
      return reply;
    }
    const ssize_t n = socket_ < 0 ? -1 : ::recv(socket_, chunk, sizeof chunk, 0);
    if (n <= 0) return HttpReply();
    buffer_.append(chunk, n);
  }
}

HttpReply Exchange(quint16 port, const QByteArray& request) {
  HttpConnection connection(port);
  if (!connection.send(request)) return HttpReply();
  return connection.receive();
}

}  // namespace pralix::desk::test
