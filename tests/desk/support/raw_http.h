#pragma once
// HTTP/1.1 over a plain loopback socket, byte for byte as the test writes
// it, so that tests can send what no well-behaved client would.  Blocking,
// with a generous time-out so a fault cannot hang the test program.

#include <QByteArray>
#include <QList>
#include <QPair>

namespace pralix::desk::test {

using Headers = QList<QPair<QByteArray, QByteArray>>;

struct HttpReply {
  int status = 0;  // 0: the connection closed without a whole answer
  QByteArray head;
  QByteArray body;  // decoded when it came chunked
  bool chunked = false;
  int chunks = 0;  // how many chunks it came in

  QByteArray header(const QByteArray& name) const;
};

// A request with Host, Content-Length (unless given) and the headers.
QByteArray BuildRequest(const QByteArray& method, const QByteArray& path, const Headers& headers,
                        const QByteArray& body);
// A DiagData POST as the tool sends it, with the extra headers.
QByteArray DiagDataPost(const QByteArray& body, const Headers& extra = {});

class HttpConnection {
 public:
  explicit HttpConnection(quint16 port);
  ~HttpConnection();
  HttpConnection(const HttpConnection&) = delete;
  HttpConnection& operator=(const HttpConnection&) = delete;

  bool connected() const { return socket_ >= 0; }
  bool send(const QByteArray& bytes);
  // The next answer on the connection.
  HttpReply receive();

 private:
  int socket_ = -1;
  QByteArray buffer_;
};

// One request on a new connection.
HttpReply Exchange(quint16 port, const QByteArray& request);

}  // namespace pralix::desk::test
