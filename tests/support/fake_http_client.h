#pragma once
// An HttpClient that records each post and answers with a chosen status, or
// throws to stand for a client that fails in its own way.

#include <stdexcept>
#include <vector>

#include "interfaces/http_client.h"

namespace pralix::test {

class FakeHttpClient final : public HttpClient {
 public:
  struct Post {
    QUrl url;
    HttpHeaders headers;
    QByteArray body;
  };

  int status = 200;
  bool throws = false;
  std::vector<Post> posts;

  int post(const QUrl& url, const HttpHeaders& headers, const QByteArray& body) override {
    posts.push_back({url, headers, body});
    if (throws) throw std::runtime_error("client failure");
    return status;
  }
};

}  // namespace pralix::test
