#include "http/qt_http_server_adapter.h"

#include <QHttpServerRequest>
#include <QTcpSocket>
#include <QUrl>

namespace pralix::desk {
namespace {

QByteArray MethodName(QHttpServerRequest::Method method) {
  switch (method) {
    case QHttpServerRequest::Method::Get: return "GET";
    case QHttpServerRequest::Method::Put: return "PUT";
    case QHttpServerRequest::Method::Delete: return "DELETE";
    case QHttpServerRequest::Method::Post: return "POST";
    case QHttpServerRequest::Method::Head: return "HEAD";
    case QHttpServerRequest::Method::Options: return "OPTIONS";
    case QHttpServerRequest::Method::Patch: return "PATCH";
    case QHttpServerRequest::Method::Connect: return "CONNECT";
    case QHttpServerRequest::Method::Trace: return "TRACE";
    default: return "UNKNOWN";
  }
}

}  // namespace

QtHttpServerAdapter::QtHttpServerAdapter(HttpRequestHandler& handler, QObject* parent)
    : QAbstractHttpServer(parent), handler_(handler) {}

QtHttpServerAdapter::~QtHttpServerAdapter() = default;

bool QtHttpServerAdapter::listenOn(const QHostAddress& address, quint16 port, QString* error) {
  auto* server = new QTcpServer(this);
  if (!server->listen(address, port)) {
    *error = server->errorString();
    delete server;
    return false;
  }
  bind(server);
  listener_ = server;
  return true;
}

quint16 QtHttpServerAdapter::port() const { return listener_ ? listener_->serverPort() : 0; }

void QtHttpServerAdapter::stopListening() {
  if (listener_) listener_->close();
}

bool QtHttpServerAdapter::receivingRequest() const {
  if (!listener_) return false;
  // Qt HTTP Server keeps a read transaction open on a socket while a request
  // is incomplete, and commits it when the request is whole.
  for (const QTcpSocket* socket : listener_->findChildren<QTcpSocket*>())
    if (socket->state() == QAbstractSocket::ConnectedState && (socket->isTransactionStarted() || socket->bytesAvailable() > 0))
      return true;
  return false;
}

void QtHttpServerAdapter::flushAnswers() {
  for (auto& [socket, pending] : exchanges_) socket->flush();
  if (!listener_) return;
  for (QTcpSocket* socket : listener_->findChildren<QTcpSocket*>())
    if (socket->bytesToWrite() > 0) socket->waitForBytesWritten(1000);
}

bool QtHttpServerAdapter::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
  if (exchanges_.find(socket) == exchanges_.end()) {
    // An answer goes out in one write (see writeReadyAnswers), but a
    // streamed one in many: none of them may wait for the client's delayed
    // ACK of the one before (Nagle).
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(socket, &QObject::destroyed, this, [this, socket] { forgetSocket(socket); });
    // A streamed answer goes on whenever the socket has drained.
    connect(socket, &QTcpSocket::bytesWritten, this, [this, socket] { writeReadyAnswers(socket); });
  }
  const quint64 id = nextId_++;
  exchanges_[socket].push_back({id, makeResponder(request, socket), std::nullopt});
  socketOf_[id] = socket;

  HttpRequest view;
  view.method = MethodName(request.method());
  view.path = request.url().path();
  view.query = request.url().query(QUrl::FullyEncoded).toLatin1();
  view.headers = request.headers();
  view.body = request.body();
  view.peer = socket->peerAddress();
  handler_.handle(view, [server = QPointer<QtHttpServerAdapter>(this), id](const HttpAnswer& answer) {
    if (server) server->answer(id, answer);
  });
  return true;
}

void QtHttpServerAdapter::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) {
  // handleRequest takes every request; this is here because the base class asks for it.
  makeResponder(request, socket).write(QHttpServerResponder::StatusCode::NotFound);
}

void QtHttpServerAdapter::answer(quint64 id, const HttpAnswer& answer) {
  const auto found = socketOf_.find(id);
  if (found == socketOf_.end()) return;  // its connection is gone
  QTcpSocket* socket = found->second;
  for (Exchange& exchange : exchanges_[socket])
    if (exchange.id == id) exchange.answer = answer;
  writeReadyAnswers(socket);
}

void QtHttpServerAdapter::writeReadyAnswers(QTcpSocket* socket) {
  const auto found = exchanges_.find(socket);
  if (found == exchanges_.end()) return;
  std::deque<Exchange>& pending = found->second;
  bool wrote = false;
  while (!pending.empty() && pending.front().answer) {
    Exchange& exchange = pending.front();
    if (socket->state() == QAbstractSocket::ConnectedState) {
      if (!exchange.answer->stream) writeWhole(exchange);
      else if (!writeStream(socket, exchange)) return;  // the rest once the socket has drained
      wrote = true;
    }
    socketOf_.erase(exchange.id);
    pending.pop_front();
  }
  // Out now, in one write: the socket's buffer would otherwise wait for the
  // event loop's next round (the answer after a commit came in through a
  // queued call, and the client is waiting for it).
  if (wrote) socket->flush();
}

void QtHttpServerAdapter::writeHead(Exchange& exchange) {
  const HttpAnswer& answer = *exchange.answer;
  QHttpServerResponder& responder = exchange.responder;
  responder.writeStatusLine(static_cast<QHttpServerResponder::StatusCode>(answer.status));
  bool typed = false;
  for (const auto& header : answer.headers) {
    responder.writeHeader(header.first, header.second);
    typed = typed || header.first.compare("Content-Type", Qt::CaseInsensitive) == 0;
  }
  if (!typed) responder.writeHeader("Content-Type", "text/plain; charset=utf-8");
}

void QtHttpServerAdapter::writeWhole(Exchange& exchange) {
  writeHead(exchange);
  exchange.responder.writeHeader("Content-Length", QByteArray::number(exchange.answer->body.size()));
  exchange.responder.writeBody(exchange.answer->body);
}

bool QtHttpServerAdapter::writeStream(QTcpSocket* socket, Exchange& exchange) {
  if (!exchange.streaming) {
    writeHead(exchange);
    exchange.responder.writeHeader("Transfer-Encoding", "chunked");
    socket->write("\r\n");
    exchange.streaming = true;
  }
  // Only a little is queued at a time: the whole body never sits in memory.
  while (socket->bytesToWrite() < kStreamQueueBytes) {
    QByteArray piece;
    const BodyStream::Step step = exchange.answer->stream->next(piece);
    if (step == BodyStream::Step::Failed) {
      socket->abort();  // no last chunk: the client knows the body is cut short
      return true;
    }
    if (!piece.isEmpty()) socket->write(QByteArray::number(piece.size(), 16) + "\r\n" + piece + "\r\n");
    if (step == BodyStream::Step::Done) {
      socket->write("0\r\n\r\n");
      return true;
    }
  }
  return false;
}

void QtHttpServerAdapter::forgetSocket(QTcpSocket* socket) {
  const auto found = exchanges_.find(socket);
  if (found == exchanges_.end()) return;
  for (const Exchange& exchange : found->second) socketOf_.erase(exchange.id);
  exchanges_.erase(found);
}

}  // namespace pralix::desk
