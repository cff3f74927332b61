#pragma once
// The desk's one contact with Qt HTTP Server 6.4 (QAbstractHttpServer): it
// turns each request into an HttpRequest for the handler and keeps the
// responder until the handler answers, possibly after a commit on the
// writer thread.  Answers on one connection go out in the order of its
// requests; a streamed answer (chunked) holds back the ones after it until
// it has ended.  A connection that closes meanwhile just drops its answers.

#include <QAbstractHttpServer>
#include <QHostAddress>
#include <QHttpServerResponder>
#include <QPointer>
#include <QTcpServer>
#include <deque>
#include <map>
#include <optional>
#include <unordered_map>

#include "http/http_exchange.h"

namespace pralix::desk {

class QtHttpServerAdapter : public QAbstractHttpServer {
  Q_OBJECT

 public:
  explicit QtHttpServerAdapter(HttpRequestHandler& handler, QObject* parent = nullptr);
  ~QtHttpServerAdapter() override;

  // Listens on address:port (0 picks a free port); false with the reason.
  bool listenOn(const QHostAddress& address, quint16 port, QString* error);
  quint16 port() const;
  // Takes no new connection; the open ones go on.
  void stopListening();
  // Requests whose answer has not gone out.
  std::size_t unansweredCount() const { return socketOf_.size(); }
  // Of those, the ones whose answer has not started to go out: a streamed
  // answer under way is not counted (its client may have stopped reading).
  std::size_t unstartedCount() const {
    std::size_t count = 0;
    for (const auto& [socket, pending] : exchanges_)
      for (const Exchange& exchange : pending) count += exchange.streaming ? 0 : 1;
    return count;
  }
  // True when some connection holds part of a request or unread bytes.
  bool receivingRequest() const;
  // Pushes every answer written so far out to the sockets.
  void flushAnswers();

 protected:
  bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
  void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

 private:
  struct Exchange {
    quint64 id;
    QHttpServerResponder responder;
    std::optional<HttpAnswer> answer;
    bool streaming = false;  // a streamed answer's head is out
  };

  // How much of a streamed answer may wait in the socket's buffer.
  static constexpr qint64 kStreamQueueBytes = 64 * 1024;

  void answer(quint64 id, const HttpAnswer& answer);
  void writeReadyAnswers(QTcpSocket* socket);
  void writeHead(Exchange& exchange);
  void writeWhole(Exchange& exchange);
  // True once the stream has ended (or failed and the connection is cut);
  // false while it waits for the socket to drain.
  bool writeStream(QTcpSocket* socket, Exchange& exchange);
  void forgetSocket(QTcpSocket* socket);

  HttpRequestHandler& handler_;
  QPointer<QTcpServer> listener_;
  quint64 nextId_ = 1;
  std::map<QTcpSocket*, std::deque<Exchange>> exchanges_;
  std::unordered_map<quint64, QTcpSocket*> socketOf_;
};

}  // namespace pralix::desk
