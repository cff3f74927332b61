#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for tests: it records every request
// (method, path, headers, raw body) and answers with a chosen status, or
// holds the connection open and never answers.  It runs in its own thread, so
// the test thread may block in a client or wait for a child process.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QUrl>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace pralix::test {

struct RecordedHttpRequest {
  QByteArray method;
  QByteArray path;  // as sent on the request line, query included
  QList<QPair<QByteArray, QByteArray>> headers;
  QByteArray body;

  // Value of the first header of that name (case-insensitive), or empty.
  QByteArray header(const QByteArray& name) const;
  int headerCount(const QByteArray& name) const;
};

class RecordingHttpServer {
 public:
  static constexpr int kNeverAnswer = 0;

  explicit RecordingHttpServer(int status = 200);
  ~RecordingHttpServer();
  RecordingHttpServer(const RecordingHttpServer&) = delete;
  RecordingHttpServer& operator=(const RecordingHttpServer&) = delete;

  // Status of the following answers; kNeverAnswer keeps the request unanswered
  // until the server stops.
  void setStatus(int status) { status_ = status; }
  // Statuses of the next requests, one each in order; then setStatus's again.
  void queueStatuses(const std::vector<int>& statuses);
  // Extra header lines (each ending in CR LF) for the following answers.
  void setExtraResponseHeaders(const QByteArray& lines);

  quint16 port() const { return port_; }
  QUrl url(const QString& path = QStringLiteral("/dijagnostika")) const;

  // Every request received so far, oldest first.
  std::vector<RecordedHttpRequest> requests() const;
  // Waits until at least count requests have been recorded; false if that
  // has not happened within the (generous) limit.
  bool waitForRequests(std::size_t count, std::chrono::milliseconds limit = std::chrono::seconds(30)) const;
  // Bodies of the requests whose answer went out whole, in order.
  std::vector<QByteArray> answeredBodies() const;
  // Waits until at least count answers have gone out whole.
  bool waitForAnswers(std::size_t count, std::chrono::milliseconds limit = std::chrono::seconds(30)) const;

 private:
  void serve();
  void handle(int connection);

  int listener_ = -1;
  int stopPipe_[2] = {-1, -1};
  quint16 port_ = 0;
  std::atomic<int> status_;
  mutable std::mutex mutex_;
  mutable std::condition_variable recorded_;
  QByteArray extraHeaders_;
  std::vector<RecordedHttpRequest> requests_;
  std::vector<int> queuedStatuses_;
  std::vector<QByteArray> answeredBodies_;
  std::vector<int> heldConnections_;  // unanswered, closed at stop
  std::thread thread_;
};

// A port on 127.0.0.1 that is bound but never listens, so that no one else
// takes it meanwhile: every connection to it is refused.
class RefusingLocalPort {
 public:
  RefusingLocalPort();
  ~RefusingLocalPort();
  RefusingLocalPort(const RefusingLocalPort&) = delete;
  RefusingLocalPort& operator=(const RefusingLocalPort&) = delete;

  quint16 port() const { return port_; }
  QUrl url(const QString& path = QStringLiteral("/dijagnostika")) const;

 private:
  int socket_ = -1;
  quint16 port_ = 0;
};

}  // namespace pralix::test
