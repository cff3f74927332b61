#pragma once
// One HTTP POST, as the DiagData upload needs it.  The Qt client implements
// it; tests use a recording fake or the real client against a local server.

#include <QByteArray>
#include <QList>
#include <chrono>
#include <QPair>
#include <QUrl>

namespace pralix {

using HttpHeaders = QList<QPair<QByteArray, QByteArray>>;

class HttpClient {
 public:
  // Answers of post() that are not an HTTP status.
  static constexpr int kTransportFailure = -1;  // no connection, no reply, no status line
  static constexpr int kTimedOut = -2;          // the whole request took too long

  virtual ~HttpClient() = default;

  // Sends one POST and returns the reply's HTTP status (any, 3xx to 5xx
  // included: redirects are not followed), or one of the negative values above.
  virtual int post(const QUrl& url, const HttpHeaders& headers, const QByteArray& body) = 0;

  // The same POST, given up with kTimedOut once limit has passed when that
  // comes before the client's own bound.  A client that answers at once (a
  // fake, an offline stand-in) has nothing to cut short and just posts.
  virtual int postWithin(const QUrl& url, const HttpHeaders& headers, const QByteArray& body,
                         std::chrono::milliseconds limit) {
    (void)limit;
    return post(url, headers, body);
  }

  // The longest one post() may take: the client's own time-out, or the
  // largest value for a client without one.
  virtual std::chrono::milliseconds requestBound() const { return std::chrono::milliseconds::max(); }
};

}  // namespace pralix
