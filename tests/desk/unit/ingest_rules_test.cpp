// What the desk makes of a POST before anything reaches the database.

#include <gtest/gtest.h>

#include "records/ingest_rules.h"
#include "records/printer_findings.h"
#include "records/request_headers.h"
#include "records/utc_time.h"
#include "support/sample_records.h"

namespace pralix::desk {
namespace {

constexpr qint64 kNow = 1796803200000;  // 2026-12-09T08:00:00Z

ReceivedPost Post(const HeaderList& extra, const QByteArray& body = test::SampleBody(QStringLiteral("AG123456"))) {
  HeaderList headers = {{"Content-Type", "application/x-www-form-urlencoded"},
                        {"Content-Length", QByteArray::number(body.size())}};
  for (const auto& header : extra) {
    bool replaced = false;
    for (auto& existing : headers)
      if (existing.first == header.first) existing.second = header.second, replaced = true;
    if (!replaced) headers += header;
  }
  return {headers, body, QHostAddress(QStringLiteral("192.0.2.7")), kNow};
}

struct PostCase {
  const char* what;
  HeaderList headers;
  int status;
};

TEST(JudgeDiagDataPost, RefusesOrTakesByTheHeaders) {
  const PostCase cases[] = {
      {"as the tool sends it", {}, 0},
      {"charset utf-8, any case and quoted", {{"Content-Type", "Application/X-WWW-Form-URLEncoded ; Charset=\"UTF-8\""}}, 0},
      {"another charset", {{"Content-Type", "application/x-www-form-urlencoded; charset=iso-8859-1"}}, 415},
      {"another parameter", {{"Content-Type", "application/x-www-form-urlencoded; boundary=x"}}, 415},
      {"another type", {{"Content-Type", "text/plain"}}, 415},
      {"no content type", {{"Content-Type", ""}}, 415},
      {"declared over 64 KiB", {{"Content-Length", "65537"}}, 413},
      {"declared length not a number", {{"Content-Length", "12x"}}, 400},
      {"key as a token", {{"Idempotency-Key", "8e03978e-40d5-43e8-bc93-6894a57f9324"}}, 0},
      {"key as a quoted string", {{"Idempotency-Key", "\"8e03978e\\\"x\""}}, 0},
      {"key of 255 characters", {{"Idempotency-Key", QByteArray(255, 'k')}}, 0},
      {"key of 256 characters", {{"Idempotency-Key", QByteArray(256, 'k')}}, 400},
      {"empty key", {{"Idempotency-Key", ""}}, 400},
      {"key with a control character", {{"Idempotency-Key", "ab\x01" "c"}}, 400},
      {"key with a byte above ASCII", {{"Idempotency-Key", "ab\xC5\xA1"}}, 400},
      {"quoted key without its end", {{"Idempotency-Key", "\"abc"}}, 400},
      {"two keys", {{"Idempotency-Key", "a"}, {"idempotency-key", "b"}}, 400},
  };
  for (const PostCase& c : cases) EXPECT_EQ(JudgeDiagDataPost(Post(c.headers), {}).status, c.status) << c.what;
}

TEST(JudgeDiagDataPost, BodySizeLimitIsExactly64KiB) {
  // h6l padded so the whole body is exactly the size wanted.
  const auto bodyOf = [](qsizetype size) {
    QByteArray body = test::SampleBody(QStringLiteral("AG1"));
    return body.insert(body.indexOf("&h6l=") + 5, QByteArray(size - body.size(), 'x'));
  };
  const QByteArray largest = bodyOf(kMaxBodyBytes);
  ASSERT_EQ(largest.size(), 65536);
  EXPECT_EQ(JudgeDiagDataPost(Post({}, largest), {}).status, 0);
  // Declared honestly, and declared small while more came.
  EXPECT_EQ(JudgeDiagDataPost(Post({}, bodyOf(kMaxBodyBytes + 1)), {}).status, 413);
  EXPECT_EQ(JudgeDiagDataPost(Post({{"Content-Length", "10"}}, bodyOf(kMaxBodyBytes + 1)), {}).status, 413);
}

TEST(JudgeDiagDataPost, TakesTheRecordWithItsHeaders) {
  const IngestVerdict verdict = JudgeDiagDataPost(
      Post({{"Idempotency-Key", "k-1"}, {"Pralix-Tested-At", "2026-12-09T08:15:02.123Z"}, {"Pralix-Version", "10.2.350"}}),
      {});
  ASSERT_TRUE(verdict.accepted()) << verdict.reason.constData();
  const DiagRecord& record = verdict.record;
  EXPECT_EQ(record.rawBody, test::SampleBody(QStringLiteral("AG123456")));
  EXPECT_EQ(record.values, test::SampleValues(QStringLiteral("AG123456")));
  EXPECT_EQ(record.idempotencyKey, QStringLiteral("k-1"));
  EXPECT_EQ(record.testedAtMs, kNow + 15 * 60 * 1000 + 2123);
  EXPECT_EQ(record.receivedAtMs, kNow);
  EXPECT_EQ(record.toolVersion, QStringLiteral("10.2.350"));
  EXPECT_EQ(record.clientAddress, QStringLiteral("192.0.2.7"));

  // Without the headers: no key, no version, the arrival stands for the test.
  const DiagRecord older = JudgeDiagDataPost(Post({{"Pralix-Tested-At", "yesterday"}}), {}).record;
  EXPECT_TRUE(older.idempotencyKey.isNull());
  EXPECT_TRUE(older.toolVersion.isNull());
  EXPECT_FALSE(older.testedAtMs.has_value());
  EXPECT_EQ(older.shownAtMs(), kNow);
}

TEST(JudgeDiagDataPost, ABadBodyIsRefusedWithItsReason) {
  const IngestVerdict verdict = JudgeDiagDataPost(Post({}, "ibfm=AG1&plu=%GZ"), {});
  EXPECT_EQ(verdict.status, 400);
  EXPECT_TRUE(verdict.reason.contains("percent")) << verdict.reason.constData();
  // The unknown name it quotes is the client's: one line, cut short.
  const QByteArray name = "x\r\ny\x01" + QByteArray(500, 'n');
  const QByteArray reason = JudgeDiagDataPost(Post({}, name + "=1&" + test::SampleBody(QStringLiteral("AG1"))), {}).reason;
  EXPECT_TRUE(reason.startsWith("unknown field \"x??y?nnn")) << reason.constData();
  EXPECT_EQ(reason.size(), 200);
}

TEST(ClientAddress, ForwardedForCountsOnlyFromATrustedProxy) {
  const QHostAddress proxy(QStringLiteral("10.0.0.1"));
  const QList<QByteArray> forwarded = {"203.0.113.9, 198.51.100.4"};
  EXPECT_EQ(ClientAddress(proxy, forwarded, {proxy}), QStringLiteral("198.51.100.4"));
  EXPECT_EQ(ClientAddress(proxy, forwarded, {}), QStringLiteral("10.0.0.1"));
  EXPECT_EQ(ClientAddress(QHostAddress(QStringLiteral("::ffff:10.0.0.1")), forwarded, {proxy}),
            QStringLiteral("198.51.100.4"));
  EXPECT_EQ(ClientAddress(proxy, {"not an address"}, {proxy}), QStringLiteral("10.0.0.1"));
}

TEST(ParseRfc3339, ReadsUtcAndOffsetsAndRefusesTheRest) {
  const qint64 at = kNow + 15 * 60 * 1000 + 2000;  // 2026-12-09T08:15:02Z
  EXPECT_EQ(ParseRfc3339("2026-12-09T08:15:02Z"), at);
  EXPECT_EQ(ParseRfc3339("2026-12-09t08:15:02.5z"), at + 500);
  EXPECT_EQ(ParseRfc3339("2026-12-09T08:15:02.123456Z"), at + 123);
  EXPECT_EQ(ParseRfc3339("2026-12-09T10:15:02+02:00"), at);
  EXPECT_EQ(ParseRfc3339("2026-12-09T07:45:02-00:30"), at);
  for (const char* bad : {"", "2026-12-09", "2026-12-09 08:15:02Z", "2026-12-09T08:15:02", "2026-02-30T08:15:02Z",
                          "2026-12-09T24:00:00Z", "2026-12-09T08:15:60Z", "2026-12-09T08:15:02.Z",
                          "2026-12-09T08:15:02+0200", "2026-12-09T08:15:02Zjunk"})
    EXPECT_FALSE(ParseRfc3339(bad).has_value()) << bad;
  EXPECT_EQ(FormatRfc3339(at + 123), QStringLiteral("2026-12-09T08:15:02.123Z"));
  EXPECT_EQ(FormatDay(at), QStringLiteral("2026-12-09"));
}

TEST(JudgeValues, DerivesTheFleetColumnsWithTheSharedJudgement) {
  DiagValues values = test::SampleValues(QStringLiteral("AG12E456"));
  values[kBpdi] = QStringLiteral("12");
  values[kPlu] = QStringLiteral("x");
  values[kDiff] = QStringLiteral("Dana: 2");
  values[kFw] = QStringLiteral("9.99SR");
  const PrinterFindings findings = JudgeValues(values);
  EXPECT_EQ(findings.freeDailyReports, 12);
  EXPECT_EQ(findings.articles, std::nullopt);
  EXPECT_EQ(findings.clockMinutes, 2 * 24 * 60);
  EXPECT_EQ(findings.count(), 5);
  EXPECT_EQ(JudgeValues(test::SampleValues(QStringLiteral("AG123456"))).count(), 0);
}

TEST(HeaderLines, SplitsAtCrLfWithoutTheEndMarker) {
  EXPECT_EQ(HeaderLines(QStringLiteral("A\r\n\r\nC\r\nDIAG\n")), (QStringList{"A", "", "C"}));
  EXPECT_EQ(HeaderLines(QStringLiteral("DIAG\n")), QStringList());
  EXPECT_EQ(HeaderLines(QStringLiteral("no marker")), QStringList{"no marker"});
}

}  // namespace
}  // namespace pralix::desk
