// The pages' handlers in-process on a real SQLite file: what a till sent
// reaches the page escaped, red values carry their mark, paging and
// unknown paths answer as they should, and a raw body comes back byte for byte.

#include <gtest/gtest.h>

#include "pages/desk_pages.h"
#include "pages/fleet_page.h"
#include "pages/printer_page.h"
#include "store/database_url.h"
#include "store/open_fleet_queries.h"
#include "store/sql_connection.h"
#include "support/fresh_database.h"
#include "support/sample_records.h"

namespace pralix::desk::test {
namespace {

constexpr qint64 kDay = 24LL * 60 * 60 * 1000;
constexpr qint64 kT0 = 1796803200000;  // 2026-12-09T08:00:00Z
const QString kScript = QStringLiteral("<script>alert(1)</script>");
const QString kImg = QStringLiteral("<img src=x onerror=alert(1)>");

class DeskPagesTest : public ::testing::Test {
 protected:
  static DatabaseUrl UrlOf(const FreshDatabase& database) {
    QString error;
    return *ParseDatabaseUrl(database.url(), &error);
  }

  HttpAnswer Get(PageHandler& handler, const QString& path, const QByteArray& query = {}) {
    HttpRequest request;
    request.method = "GET";
    request.path = path;
    request.query = query;
    return handler.handle(request, viewer_);
  }
  static QString Body(const HttpAnswer& answer) { return QString::fromUtf8(answer.body); }
  static QByteArray Header(const HttpAnswer& answer, const QByteArray& name) {
    for (const auto& header : answer.headers)
      if (header.first == name) return header.second;
    return {};
  }

  FreshDatabase database_{DatabaseKind::Sqlite};
  DatabaseUrl url_ = UrlOf(database_);
  std::unique_ptr<DeskStore> store_ = database_.open();  // migrates
  std::shared_ptr<FleetQueries> queries_ = OpenFleetQueries(url_);
  Viewer viewer_{QStringLiteral("ana <b>"), "tok-123_x"};
  FleetPageHandler fleet_{queries_, [] { return kT0; }};
  PrinterPagesHandler printers_{queries_, [] { return kT0; }};
};

DiagRecord HostileRecord(const QString& ibfm) {
  DiagRecord record = SampleRecord(ibfm, 1, QString(), kT0, kT0);
  record.values[kPib] = kImg;
  record.values[kBpdi] = QStringLiteral("12");
  record.values[kH6l] = kScript + QStringLiteral("\r\n") + kImg + QStringLiteral("\r\n\"'&\r\n4\r\n5\r\n6\r\nDIAG\n");
  record.rawBody = BodyOf(record.values);
  return record;
}

void ExpectNoInjectedMarkup(const QString& html) {
  EXPECT_FALSE(html.contains(QStringLiteral("<script"))) << html.toStdString();
  EXPECT_FALSE(html.contains(QStringLiteral("<img"))) << html.toStdString();
  EXPECT_FALSE(html.contains(QStringLiteral("<b>"))) << html.toStdString();
  EXPECT_FALSE(html.contains(QStringLiteral("style="))) << html.toStdString();
}

TEST_F(DeskPagesTest, TillValuesAreEscapedOnBothPagesAndRedOnesMarked) {
  const QString ibfm = QString::fromUtf8("AG/1 %?#Š");
  store_->store({HostileRecord(ibfm)});
  const HttpAnswer fleet = Get(fleet_, QStringLiteral("/"));
  EXPECT_EQ(fleet.status, 200);
  EXPECT_EQ(Header(fleet, "Content-Type"), "text/html; charset=utf-8");
  const QString page = Body(fleet);
  ExpectNoInjectedMarkup(page);
  EXPECT_TRUE(page.contains(QStringLiteral("&lt;img src=x onerror=alert(1)&gt;")));
  EXPECT_TRUE(page.contains(QStringLiteral("<td class=\"col-bpdi number red\"><span class=\"mark\">!</span> 12</td>")));
  // The logout form: the user's name escaped, the session's token in the hidden field.
  EXPECT_TRUE(page.contains(QStringLiteral("<form class=\"logout\" method=\"post\" action=\"/logout\"><span class=\"user\" id=\"user\">ana &lt;b&gt;</span>"
                                           "<input type=\"hidden\" name=\"csrf\" value=\"tok-123_x\">")));
  const QString link = QStringLiteral("/printers/AG%2F1%20%25%3F%23%C5%A0");
  ASSERT_TRUE(page.contains(QStringLiteral("href=\"%1\"").arg(link)));

  const HttpAnswer printer = Get(printers_, link);
  EXPECT_EQ(printer.status, 200);
  const QString html = Body(printer);
  ExpectNoInjectedMarkup(html);
  EXPECT_TRUE(html.contains(QStringLiteral("<li>&lt;script&gt;alert(1)&lt;/script&gt;</li>\n<li>&lt;img src=x onerror=alert(1)&gt;</li>\n"
                                           "<li>&quot;&#39;&amp;</li>")));
  EXPECT_TRUE(html.contains(QStringLiteral("<tr id=\"identity-bpdi\"><th scope=\"row\">")));
  EXPECT_TRUE(html.contains(QStringLiteral("<td class=\"red\"><span class=\"mark\">!</span> 12</td>")));
  EXPECT_TRUE(html.contains(QString::fromUtf8("<span class=\"mono\" id=\"ibfm\">AG/1 %?#Š</span>")));
}

TEST_F(DeskPagesTest, FleetPagesStopAtTheLastAndCountTheRows) {
  std::vector<DiagRecord> records;
  for (int i = 0; i < 101; ++i) records.push_back(SampleRecord(QStringLiteral("AG%1").arg(i, 3, 10, QLatin1Char('0')), i, QString(), kT0));
  store_->store(records);
  const struct {
    QByteArray query;
    const char* rows;
    bool previous, next;
  } cases[] = {
      {"", "data-first=\"1\" data-last=\"100\" data-total=\"101\"", false, true},
      {"page=2", "data-first=\"101\" data-last=\"101\" data-total=\"101\"", true, false},
      {"page=9", "data-first=\"101\" data-last=\"101\" data-total=\"101\"", true, false},  // past the end: the last page
      {"q=AG10", "data-first=\"1\" data-last=\"1\" data-total=\"1\"", false, false},
      {"q=nothing&page=3", "data-first=\"0\" data-last=\"0\" data-total=\"0\"", false, false},
      {"sort=nonsense&order=sideways&page=x", "data-first=\"1\" data-last=\"100\" data-total=\"101\"", false, true},
  };
  for (const auto& c : cases) {
    const HttpAnswer answer = Get(fleet_, QStringLiteral("/"), c.query);
    EXPECT_EQ(answer.status, 200) << c.query.constData();
    const QString html = Body(answer);
    EXPECT_TRUE(html.contains(QLatin1String(c.rows))) << c.query.constData();
    EXPECT_EQ(html.contains(QStringLiteral("id=\"prev\"")), c.previous) << c.query.constData();
    EXPECT_EQ(html.contains(QStringLiteral("id=\"next\"")), c.next) << c.query.constData();
  }
}

TEST_F(DeskPagesTest, RawBodyByteForByteOnlyUnderItsPrinterAndUnknownPathsAre404) {
  const DiagRecord record = HostileRecord(QStringLiteral("AG1"));
  store_->store({record, SampleRecord(QStringLiteral("AG2"), 2, QString(), kT0)});
  const QString page = Body(Get(printers_, QStringLiteral("/printers/AG1")));
  const qsizetype at = page.indexOf(QStringLiteral("/printers/AG1/records/"));
  ASSERT_GE(at, 0);
  const QString rawPath = page.mid(at, page.indexOf(QLatin1Char('"'), at) - at);

  const HttpAnswer raw = Get(printers_, rawPath);
  EXPECT_EQ(raw.status, 200);
  EXPECT_EQ(raw.body, record.rawBody);
  EXPECT_EQ(Header(raw, "Content-Type"), "text/plain; charset=utf-8");
  EXPECT_EQ(Header(raw, "Content-Disposition"), "inline");

  QString underOther = rawPath;
  underOther.replace(QStringLiteral("/AG1/"), QStringLiteral("/AG2/"));
  const char* const missing[] = {"/printers/AG3", "/printers/AG1/records", "/printers/AG1/records/999/raw", "/printers/AG1/x"};
  for (const char* path : missing) EXPECT_EQ(Get(printers_, QString::fromLatin1(path)).status, 404) << path;
  EXPECT_EQ(Get(printers_, underOther).status, 404);
  EXPECT_TRUE(Body(Get(printers_, QStringLiteral("/printers/AG3"))).contains(QStringLiteral("Unknown printer")));
}

TEST_F(DeskPagesTest, APrinterPageReadsOnlyItsLastRecordsAndPagesTheTable) {
  std::vector<DiagRecord> records;
  for (int i = 0; i < 470; ++i) records.push_back(SampleRecord(QStringLiteral("AG1"), i % 800, QString(), kT0, kT0 - (470 - i) * kDay / 2));
  store_->store(records);
  const QString first = Body(Get(printers_, QStringLiteral("/printers/AG1")));
  EXPECT_TRUE(first.contains(QStringLiteral("data-first=\"1\" data-last=\"100\" data-total=\"470\"")));
  EXPECT_TRUE(first.contains(QStringLiteral("Charts and forecast: the last 365 records (of 470)")));
  EXPECT_EQ(first.count(QStringLiteral("<circle class=\"point\"")), 2 * 365);  // both charts
  // Page 4 reaches behind the chart's records; page 5 holds the last 70.
  const QString fourth = Body(Get(printers_, QStringLiteral("/printers/AG1"), "page=4"));
  EXPECT_TRUE(fourth.contains(QStringLiteral("data-first=\"301\" data-last=\"400\"")));
  EXPECT_EQ(fourth.count(QStringLiteral("<tr id=\"record-")), 100);
  const QString last = Body(Get(printers_, QStringLiteral("/printers/AG1"), "page=99"));
  EXPECT_TRUE(last.contains(QStringLiteral("data-first=\"401\" data-last=\"470\"")));
  EXPECT_TRUE(last.contains(QStringLiteral("<tr id=\"record-1\">")));  // the oldest, with nothing to compare to
  EXPECT_FALSE(last.contains(QStringLiteral("id=\"next\"")));
}

TEST_F(DeskPagesTest, ADatabaseFailureAnswers503AndTheNextRequestConnectsAgain) {
  store_->store({SampleRecord(QStringLiteral("AG1"), 1, QString(), kT0)});
  EXPECT_EQ(Get(fleet_, QStringLiteral("/")).status, 200);
  SqlConnection(url_, *DialectFor(url_.kind)).execute(QStringLiteral("ALTER TABLE printers RENAME TO printers_away"));
  const HttpAnswer failed = Get(fleet_, QStringLiteral("/"));
  EXPECT_EQ(failed.status, 503);
  EXPECT_TRUE(Body(failed).contains(QStringLiteral("The database failed")));
  EXPECT_EQ(Get(printers_, QStringLiteral("/printers/AG1")).status, 503);
  SqlConnection(url_, *DialectFor(url_.kind)).execute(QStringLiteral("ALTER TABLE printers_away RENAME TO printers"));
  EXPECT_EQ(Get(fleet_, QStringLiteral("/")).status, 200);
}

}  // namespace
}  // namespace pralix::desk::test
