// Form encoding of the DiagData record, the upload's outcome flag, the
// diagnostics address and action 2's message.

#include <gtest/gtest.h>

#include <QTimeZone>
#include <QUuid>

#include "build_config.h"
#include "support/fake_http_client.h"
#include "workstation/diag_data.h"
#include "workstation/diag_upload.h"

namespace pralix {
namespace {

struct EncodingCase {
  const char* text;  // UTF-8
  const char* encoded;
};

class FormComponentEncoding : public testing::TestWithParam<EncodingCase> {};

TEST_P(FormComponentEncoding, Encodes) {
  EXPECT_EQ(EncodeFormComponent(QString::fromUtf8(GetParam().text)), QByteArray(GetParam().encoded));
}

INSTANTIATE_TEST_SUITE_P(
    Characters, FormComponentEncoding,
    testing::Values(EncodingCase{"ABCXYZabcxyz0189*-._", "ABCXYZabcxyz0189*-._"},
                    EncodingCase{"", ""},
                    EncodingCase{"COM3 Ser  x", "COM3+Ser++x"},
                    EncodingCase{"\r\n", "%0D%0A"},
                    EncodingCase{"\n", "%0A"},
                    EncodingCase{"š", "%C5%A1"},
                    EncodingCase{"Ж", "%D0%96"},
                    EncodingCase{"€", "%E2%82%AC"},
                    EncodingCase{"😀", "%F0%9F%98%80"},
                    // Outside the kept set, even where other encoders keep them.
                    EncodingCase{"~!'()", "%7E%21%27%28%29"},
                    EncodingCase{"+=&%/:,", "%2B%3D%26%25%2F%3A%2C"},
                    EncodingCase{"\x7F", "%7F"}));

TEST(EncodeDiagDataForm, FieldsJoinedByAmpersandWithNothingAround) {
  EXPECT_EQ(EncodeDiagDataForm({QStringLiteral("a=1"), QStringLiteral("b=2"), QStringLiteral("c=3")}),
            QByteArray("a=1&b=2&c=3"));
  EXPECT_EQ(EncodeDiagDataForm({}), QByteArray());
}

TEST(EncodeDiagDataForm, SplitsAtTheFirstEqualsSignOnly) {
  EXPECT_EQ(EncodeDiagDataForm({QStringLiteral("h6l=x=y")}), QByteArray("h6l=x%3Dy"));
  EXPECT_EQ(EncodeDiagDataForm({QStringLiteral("=value")}), QByteArray("=value"));
}

TEST(EncodeDiagDataForm, EmptyValueKeepsNameAndEquals) {
  EXPECT_EQ(EncodeDiagDataForm({QStringLiteral("pib="), QStringLiteral("fw=1")}), QByteArray("pib=&fw=1"));
  EXPECT_EQ(EncodeDiagDataForm({QStringLiteral("lonely")}), QByteArray("lonely="));
}

TEST(EncodeDiagDataForm, NamesAreEncodedToo) {
  EXPECT_EQ(EncodeDiagDataForm({QStringLiteral("a b&c=d")}), QByteArray("a+b%26c=d"));
}

// 08:15:02.123 in Belgrade's summer time.
const QDateTime kTestTime(QDate(2024, 5, 17), QTime(8, 15, 2, 123), QTimeZone(2 * 3600));

MainFields FilledFields() {
  MainFields fields;
  fields.LEIBFM.text = QStringLiteral("VG012345");
  fields.LEPIB.text = QStringLiteral("012345678");
  fields.LEFPPort.text = QStringLiteral("COM3/Ser");
  fields.MemoHeader = QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                       QStringLiteral("D"), QStringLiteral("E"), QStringLiteral("F")};
  return fields;
}

TEST(UploadDiagData, PostsTheEncodedRecordWithTheFixedHeadersAndWhatTheDeskLearns) {
  MainFields fields = FilledFields();
  test::FakeHttpClient http;
  const QUrl url(QStringLiteral("http://support.example/dijagnostika"));
  UploadDiagData(fields, http, url, kTestTime);
  UploadDiagData(fields, http, url, kTestTime);

  ASSERT_EQ(http.posts.size(), 2u);
  EXPECT_EQ(http.posts[0].url, url);
  const HttpHeaders& headers = http.posts[0].headers;
  ASSERT_EQ(headers.size(), 6);
  const HttpHeaders fixed = {
      {"Accept", "text/html, */*"},
      {"User-Agent", "Mozilla/5.0 (Windows NT 6.1; rv:29.0) Gecko/20100101 Firefox/29.0"},
      {"Content-Type", "application/x-www-form-urlencoded"},
  };
  EXPECT_EQ(headers.mid(0, 3), fixed);
  EXPECT_EQ(headers[3].first, "Idempotency-Key");
  const QUuid key = QUuid::fromString(QLatin1String(headers[3].second));
  EXPECT_EQ(key.version(), QUuid::Random) << headers[3].second.constData();
  EXPECT_EQ(headers[3].second.size(), 36);
  EXPECT_NE(http.posts[1].headers[3].second, headers[3].second);  // one key per record
  EXPECT_EQ(headers[4], (QPair<QByteArray, QByteArray>{"Pralix-Tested-At", "2024-05-17T06:15:02.123Z"}));
  EXPECT_EQ(headers[5], (QPair<QByteArray, QByteArray>{"Pralix-Version", PRALIX_VERSION}));
  EXPECT_EQ(http.posts[0].body, EncodeDiagDataForm(BuildDiagData(fields)));
  EXPECT_TRUE(http.posts[0].body.startsWith("ibfm=VG012345&pib=012345678&fw=&jx=&tg=&bpdi=&plu=&cp=COM3%2FSer&diff=&"));
  EXPECT_TRUE(http.posts[0].body.endsWith("&h6l=A%0D%0AB%0D%0AC%0D%0AD%0D%0AE%0D%0AF%0D%0ADIAG%0A"));
}

struct OutcomeCase {
  int status;
  bool sent;
};

class UploadOutcome : public testing::TestWithParam<OutcomeCase> {};

TEST_P(UploadOutcome, OnlyASuccessStatusSetsTheFlag) {
  for (const bool before : {false, true}) {
    MainFields fields = FilledFields();
    fields.DiagDataSent = before;
    test::FakeHttpClient http;
    http.status = GetParam().status;
    UploadDiagData(fields, http, QUrl(QStringLiteral("http://support.example/dijagnostika")), kTestTime);
    EXPECT_EQ(fields.DiagDataSent, GetParam().sent) << "status " << GetParam().status << ", before " << before;
  }
}

INSTANTIATE_TEST_SUITE_P(Statuses, UploadOutcome,
                         testing::Values(OutcomeCase{200, true}, OutcomeCase{201, true}, OutcomeCase{204, true},
                                         OutcomeCase{299, true}, OutcomeCase{100, false}, OutcomeCase{199, false},
                                         OutcomeCase{300, false}, OutcomeCase{302, false}, OutcomeCase{401, false},
                                         OutcomeCase{404, false}, OutcomeCase{500, false}, OutcomeCase{0, false},
                                         OutcomeCase{HttpClient::kTransportFailure, false},
                                         OutcomeCase{HttpClient::kTimedOut, false}));

TEST(UploadDiagData, ClientFailureIsSwallowedAndClearsTheFlag) {
  MainFields fields = FilledFields();
  fields.DiagDataSent = true;
  test::FakeHttpClient http;
  http.throws = true;
  EXPECT_NO_THROW(UploadDiagData(fields, http, QUrl(QStringLiteral("http://support.example/dijagnostika")), kTestTime));
  EXPECT_FALSE(fields.DiagDataSent);
}

class DiagDataUrlTest : public testing::Test {
 protected:
  void SetUp() override {
    hadValue_ = qEnvironmentVariableIsSet("PRALIX_DIAG_URL");
    saved_ = qgetenv("PRALIX_DIAG_URL");
  }
  void TearDown() override {
    if (hadValue_) qputenv("PRALIX_DIAG_URL", saved_);
    else qunsetenv("PRALIX_DIAG_URL");
  }
  bool hadValue_ = false;
  QByteArray saved_;
};

TEST_F(DiagDataUrlTest, BuildValueWhenTheEnvironmentSaysNothing) {
  qunsetenv("PRALIX_DIAG_URL");
  EXPECT_EQ(DiagDataUrl(), QUrl(QStringLiteral(PRALIX_DIAG_URL)));
  qputenv("PRALIX_DIAG_URL", "");
  EXPECT_EQ(DiagDataUrl(), QUrl(QStringLiteral(PRALIX_DIAG_URL)));
}

TEST_F(DiagDataUrlTest, EnvironmentReplacesTheBuildValue) {
  qputenv("PRALIX_DIAG_URL", "http://127.0.0.1:8080/dijagnostika");
  EXPECT_EQ(DiagDataUrl(), QUrl(QStringLiteral("http://127.0.0.1:8080/dijagnostika")));
}

TEST(DiagDataReportText, NotSentSaysNoConnection) {
  EXPECT_EQ(DiagDataReportText(false), QStringLiteral("Nema internet konekcije!\n\n----------\n\nNo internet connection!"));
}

TEST(DiagDataReportText, SentGivesTheSupportContactsInBothLanguages) {
  const QString contacts = QString::fromUtf8(PRALIX_SUPPORT_EMAIL " , " PRALIX_SUPPORT_PHONE);
  EXPECT_EQ(DiagDataReportText(true),
            QString::fromUtf8("Podaci iz DiagData poslati u Ostrik Support Center!\n\nPodrška na:\n\n") + contacts +
                QStringLiteral("\n\n----------\n\nDiagData are sent to Ostrik Support Center!\n\n"
                               "For support, contact us:\n\n") +
                contacts);
}

}  // namespace
}  // namespace pralix
