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

namespace pralix::desk {

struct HttpRequest {
  QByteArray method;  // "POST", "GET", ...
  QString path;       // without the query
  QByteArray query;   // after the "?", still percent-encoded; empty without one
  QList<QPair<QByteArray, QByteArray>> headers;
  QByteArray body;
  QHostAddress peer;
};

struct HttpAnswer {
  int status = 200;
  QByteArray body;  // text/plain unless the headers name another Content-Type
  QList<QPair<QByteArray, QByteArray>> headers;
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
