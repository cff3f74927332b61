#pragma once
// The HTTP client over QtNetwork.  Blocks its caller in a local event loop
// that leaves user input waiting, so the window does not react to keys while
// a request runs; works under QCoreApplication and QApplication alike.

#include <chrono>

#include "interfaces/http_client.h"

namespace pralix {

class QtHttpClient final : public HttpClient {
 public:
  // A server that accepts the connection and never answers must not hold the
  // tool forever: the whole request, connect to last byte, is bounded.
  static constexpr std::chrono::milliseconds kDefaultTimeout{15000};

  explicit QtHttpClient(std::chrono::milliseconds timeout = kDefaultTimeout) : timeout_(timeout) {}

  void setTimeout(std::chrono::milliseconds timeout) { timeout_ = timeout; }
  std::chrono::milliseconds timeout() const { return timeout_; }

  // No proxy, no cookies, no stored credentials, no redirects followed.
  int post(const QUrl& url, const HttpHeaders& headers, const QByteArray& body) override;
  // Bounded by the shorter of limit and the client's time-out.
  int postWithin(const QUrl& url, const HttpHeaders& headers, const QByteArray& body,
                 std::chrono::milliseconds limit) override;
  std::chrono::milliseconds requestBound() const override { return timeout_; }

 private:
  std::chrono::milliseconds timeout_;
};

}  // namespace pralix
