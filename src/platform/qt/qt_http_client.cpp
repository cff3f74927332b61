#include "platform/qt/qt_http_client.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <algorithm>
#include <memory>

namespace pralix {

int QtHttpClient::post(const QUrl& url, const HttpHeaders& headers, const QByteArray& body) {
  return postWithin(url, headers, body, timeout_);
}

int QtHttpClient::postWithin(const QUrl& url, const HttpHeaders& headers, const QByteArray& body,
                             std::chrono::milliseconds limit) {
  if (limit <= std::chrono::milliseconds::zero()) return kTimedOut;
  // QtNetwork needs the application's event dispatcher.
  if (QCoreApplication::instance() == nullptr) return kTransportFailure;

  // A manager per request: no cookie, credential or connection outlives it.
  QNetworkAccessManager manager;
  manager.setProxy(QNetworkProxy::NoProxy);
  manager.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);

  QNetworkRequest request(url);
  // Plain HTTP/1.1: no "Upgrade: h2c" offered to the support server.
  request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
  request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
  request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
  request.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
  for (const auto& [name, value] : headers) request.setRawHeader(name, value);

  std::unique_ptr<QNetworkReply> reply(manager.post(request, body));

  QEventLoop loop;
  QTimer deadline;
  deadline.setSingleShot(true);
  bool timedOut = false;
  QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
  QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
    timedOut = true;
    reply->abort();  // emits finished, which ends the loop
  });
  deadline.start(std::min(limit, timeout_));
  if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
  deadline.stop();

  if (timedOut) return kTimedOut;
  const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
  if (!status.isValid()) return kTransportFailure;
  reply->readAll();  // the reply's body is not used
  return status.toInt();
}

}  // namespace pralix
