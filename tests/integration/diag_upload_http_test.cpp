// The DiagData upload through the real Qt client to a real HTTP server on
// 127.0.0.1: what reaches the server, and the flag after each outcome.

#include <gtest/gtest.h>

#include "platform/qt/qt_http_client.h"
#include "support/qt_core_application.h"
#include "support/recording_http_server.h"
#include "workstation/diag_upload.h"

namespace pralix {
namespace {

using namespace std::chrono_literals;

const HttpHeaders kFormHeaders = {{"Content-Type", kFormContentType}};

class DiagUploadHttp : public testing::Test {
 protected:
  void SetUp() override { test::EnsureQtCoreApplication(); }

  // Spaces, CR LF header lines, "š" and empty values.
  static MainFields Fields() {
    MainFields fields;
    fields.LEIBFM.text = QString::fromUtf8("АГ123456");
    fields.LEPIB.text = QStringLiteral("123456789");
    fields.LEFirmware.text = QStringLiteral("1.22SR 09NOV03 1230,BB78");
    fields.LECurrJXVer.text = QStringLiteral("Windows 10/3.2.1");
    fields.LETax.text = QStringLiteral("010110000");
    fields.LEBPDI.text = QStringLiteral("0987");
    fields.LEPluNumber.text.clear();
    fields.LEFPPort.text = QStringLiteral("COM3/Ser");
    fields.LEDTDiff.text = QStringLiteral("00:02");
    fields.MemoHeader = {QString::fromUtf8("Radnja Šljiva š"), QStringLiteral("Beograd"), QString(),
                         QStringLiteral("PIB 123"), QStringLiteral("x"), QStringLiteral("y")};
    return fields;
  }
};

TEST_F(DiagUploadHttp, ServerReceivesThePostWithExactBodyAndHeaders) {
  test::RecordingHttpServer server(200);
  QtHttpClient http;
  MainFields fields = Fields();
  UploadDiagData(fields, http, server.url(), QDateTime::currentDateTime());
  EXPECT_TRUE(fields.DiagDataSent);

  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 1u);
  const test::RecordedHttpRequest& request = requests[0];
  EXPECT_EQ(request.method, "POST");
  EXPECT_EQ(request.path, "/dijagnostika");
  EXPECT_EQ(request.body,
            "ibfm=AG123456&pib=123456789&fw=1.22SR+09NOV03+1230%2CBB78&jx=Windows+10%2F3.2.1"
            "&tg=010110000&bpdi=0987&plu=&cp=COM3%2FSer&diff=00%3A02"
            "&h6l=Radnja+%C5%A0ljiva+%C5%A1%0D%0ABeograd%0D%0A%0D%0APIB+123%0D%0Ax%0D%0Ay%0D%0ADIAG%0A");
  for (const auto& [name, value] : std::initializer_list<std::pair<QByteArray, QByteArray>>{
           {"Accept", "text/html, */*"},
           {"User-Agent", "Mozilla/5.0 (Windows NT 6.1; rv:29.0) Gecko/20100101 Firefox/29.0"},
           {"Content-Type", "application/x-www-form-urlencoded"},
           {"Content-Length", QByteArray::number(request.body.size())}}) {
    EXPECT_EQ(request.headerCount(name), 1) << name.constData();
    EXPECT_EQ(request.header(name), value) << name.constData();
  }
  EXPECT_EQ(request.headerCount("Cookie"), 0);
  EXPECT_EQ(request.headerCount("Authorization"), 0);
  EXPECT_EQ(request.headerCount("Upgrade"), 0);
}

TEST_F(DiagUploadHttp, ErrorStatusesLeaveTheFlagFalse) {
  for (const int status : {404, 500}) {
    test::RecordingHttpServer server(status);
    QtHttpClient http;
    MainFields fields = Fields();
    fields.DiagDataSent = true;  // from an earlier upload
    EXPECT_EQ(http.post(server.url(), kFormHeaders, "x=1"), status);
    UploadDiagData(fields, http, server.url(), QDateTime::currentDateTime());
    EXPECT_FALSE(fields.DiagDataSent) << status;
    EXPECT_EQ(server.requests().size(), 2u);
  }
}

TEST_F(DiagUploadHttp, RedirectIsNotFollowed) {
  test::RecordingHttpServer server(302);
  server.setExtraResponseHeaders("Location: " + server.url(QStringLiteral("/elsewhere")).toEncoded() + "\r\n");
  QtHttpClient http;
  MainFields fields = Fields();
  UploadDiagData(fields, http, server.url(), QDateTime::currentDateTime());
  EXPECT_FALSE(fields.DiagDataSent);
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0].path, "/dijagnostika");
}

TEST_F(DiagUploadHttp, RefusedConnectionIsATransportFailure) {
  test::RefusingLocalPort nobodyListens;
  QtHttpClient http;
  EXPECT_EQ(http.post(nobodyListens.url(), kFormHeaders, "x=1"), HttpClient::kTransportFailure);
  MainFields fields = Fields();
  fields.DiagDataSent = true;
  UploadDiagData(fields, http, nobodyListens.url(), QDateTime::currentDateTime());
  EXPECT_FALSE(fields.DiagDataSent);
}

TEST_F(DiagUploadHttp, ServerThatNeverAnswersEndsInTheTimeOut) {
  test::RecordingHttpServer server(test::RecordingHttpServer::kNeverAnswer);
  QtHttpClient http(300ms);
  EXPECT_EQ(http.post(server.url(), kFormHeaders, "x=1"), HttpClient::kTimedOut);
  MainFields fields = Fields();
  fields.DiagDataSent = true;
  UploadDiagData(fields, http, server.url(), QDateTime::currentDateTime());
  EXPECT_FALSE(fields.DiagDataSent);
  // Both requests arrived whole; it was the answer that never came.
  EXPECT_TRUE(server.waitForRequests(2));
}

TEST_F(DiagUploadHttp, ClientWorksAgainAfterATimeOut) {
  test::RecordingHttpServer server(test::RecordingHttpServer::kNeverAnswer);
  QtHttpClient http(300ms);
  EXPECT_EQ(http.post(server.url(), kFormHeaders, "x=1"), HttpClient::kTimedOut);
  server.setStatus(200);
  http.setTimeout(QtHttpClient::kDefaultTimeout);
  EXPECT_EQ(http.post(server.url(), kFormHeaders, "x=2"), 200);
}

}  // namespace
}  // namespace pralix
