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
  if (exchanges_.find(socket) == exchanges_.end())
    connect(socket, &QObject::destroyed, this, [this, socket] { forgetSocket(socket); });
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
  std::deque<Exchange>& pending = exchanges_[socket];
  while (!pending.empty() && pending.front().answer) {
    Exchange& exchange = pending.front();
    if (socket->state() == QAbstractSocket::ConnectedState) {
      const HttpAnswer& answer = *exchange.answer;
      QHttpServerResponder& responder = exchange.responder;
      responder.writeStatusLine(static_cast<QHttpServerResponder::StatusCode>(answer.status));
      bool typed = false;
      for (const auto& header : answer.headers) {
        responder.writeHeader(header.first, header.second);
        typed = typed || header.first.compare("Content-Type", Qt::CaseInsensitive) == 0;
      }
      if (!typed) responder.writeHeader("Content-Type", "text/plain; charset=utf-8");
      responder.writeHeader("Content-Length", QByteArray::number(answer.body.size()));
      responder.writeBody(answer.body);
    }
    socketOf_.erase(exchange.id);
    pending.pop_front();
  }
}

void QtHttpServerAdapter::forgetSocket(QTcpSocket* socket) {
  const auto found = exchanges_.find(socket);
  if (found == exchanges_.end()) return;
  for (const Exchange& exchange : found->second) socketOf_.erase(exchange.id);
  exchanges_.erase(found);
}

}  // namespace pralix::desk
