#pragma once
// A request and its answer as the desk's handlers see them, without the HTTP
// server library's types (its API changed in Qt 6.5 and 6.8; only the
// adapter knows it).

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QPair>
#include <QString>
#include <functional>
#include <memory>

namespace pralix::desk {

struct HttpRequest {
  QByteArray method;  // "POST", "GET", ...
  QString path;       // without the query
  QByteArray query;   // after the "?", still percent-encoded; empty without one
  QList<QPair<QByteArray, QByteArray>> headers;
  QByteArray body;
  QHostAddress peer;
};

// A body made while it is sent, for answers too large to hold (the CSV of
// the whole fleet).  The adapter asks for the next piece whenever the
// socket has drained, on the event loop's thread.
class BodyStream {
 public:
  enum class Step { More, Done, Failed };
  virtual ~BodyStream() = default;
  // Appends the next piece to piece.  Done: the body is complete (piece may
  // hold its last bytes); Failed: it cannot be finished, and the adapter
  // cuts the connection so that the client sees an unfinished answer.
  virtual Step next(QByteArray& piece) = 0;
};

struct HttpAnswer {
  int status = 200;
  QByteArray body;  // text/plain unless the headers name another Content-Type
  QList<QPair<QByteArray, QByteArray>> headers;
  // Set: the body comes from it, sent with chunked transfer encoding, and
  // body is not used.
  std::shared_ptr<BodyStream> stream = nullptr;
};

// Called once, on the event loop's thread, with the request's answer.
using AnswerFunction = std::function<void(const HttpAnswer&)>;

class HttpRequestHandler {
 public:
  virtual ~HttpRequestHandler() = default;
  // May answer at once or later (after a commit); must answer exactly once.
  virtual void handle(const HttpRequest& request, AnswerFunction answer) = 0;
};

}  // namespace pralix::desk
