// The outbox against a real HTTP server on 127.0.0.1 that refuses, hangs,
// answers 500 and then 200: through the real Qt client in this process, and
// through "pralix upload" and "pralix test" as child processes, one of them
// killed in the middle of its round.

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "platform/qt/qt_http_client.h"
#include "sim_process.h"
#include "support/qt_core_application.h"
#include "support/recording_http_server.h"
#include "workstation/diag_data.h"
#include "workstation/diag_outbox.h"
#include "workstation/diag_outbox_round.h"
#include "workstation/diag_upload.h"

namespace pralix {
namespace {

using namespace std::chrono_literals;

MainFields FieldsOfTest(int n) {
  MainFields fields;
  fields.LEIBFM.text = QStringLiteral("AG12345%1").arg(n);
  fields.LEPIB.text = QStringLiteral("123456789");
  fields.LEFPPort.text = QStringLiteral("COM3/Ser");
  fields.MemoHeader = {QString::fromUtf8("Radnja š %1").arg(n), QStringLiteral("Beograd")};
  return fields;
}

QByteArray BodyOfTest(int n) { return EncodeDiagDataForm(BuildDiagData(FieldsOfTest(n))); }

class DiagOutboxHttp : public testing::Test {
 protected:
  void SetUp() override { test::EnsureQtCoreApplication(); }

  QTemporaryDir dir;
  QString outboxFolder() const { return dir.filePath(QStringLiteral("outbox")); }
  DiagOutbox::LogLine log() { return OutboxLogTo(dir.path(), clock); }

  QByteArrayList KeptBodies() {
    DiagOutbox outbox(outboxFolder(), log());
    QByteArrayList bodies;
    for (const KeptRecord& k : outbox.records()) bodies << k.record.body;
    return bodies;
  }
  void KeepTests(int count) {
    DiagOutbox outbox(outboxFolder(), log());
    for (int n = 0; n < count; ++n)
      ASSERT_TRUE(outbox.keep({QDateTime::currentDateTime().addSecs(n - 100), DiagDataHeaders(), BodyOfTest(n)}));
  }
  QProcessEnvironment Environment(const QUrl& url) const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PRALIX_OUTBOX", outboxFolder());
    env.insert("PRALIX_DIAG_URL", url.toString());
    env.insert("PRALIX_DRIVE_C", dir.filePath("c"));
    env.insert("XDG_RUNTIME_DIR", dir.path());
    return env;
  }
  void StartTool(QProcess& tool, const QUrl& url, const QStringList& args) const {
    tool.setProcessEnvironment(Environment(url));
    tool.setWorkingDirectory(dir.path());
    tool.start(PRALIX_BIN, args);
    tool.closeWriteChannel();
  }
  struct Run {
    int exitCode = -1;
    QJsonObject json;
  };
  Run RunTool(const QUrl& url, const QStringList& args) const {
    QProcess tool;
    StartTool(tool, url, args);
    Run run;
    if (!tool.waitForFinished(120000)) {
      tool.kill();
      tool.waitForFinished();
      return run;
    }
    run.exitCode = tool.exitCode();
    run.json = QJsonDocument::fromJson(tool.readAllStandardOutput()).object();
    return run;
  }

  SystemClock clock;
};

TEST_F(DiagOutboxHttp, KeptWhileTheServiceFailsAndSentInOrderOnceItAnswers) {
  test::RefusingLocalPort refusing;
  test::RecordingHttpServer server(test::RecordingHttpServer::kNeverAnswer);
  QtHttpClient http(500ms);
  DiagOutbox outbox(outboxFolder(), log());

  MainFields fields = FieldsOfTest(0);
  UploadDiagDataKeepingFailures(fields, http, refusing.url(), outbox, clock);  // refused
  EXPECT_FALSE(fields.DiagDataSent);
  fields = FieldsOfTest(1);
  UploadDiagDataKeepingFailures(fields, http, server.url(), outbox, clock);  // the kept one hangs
  EXPECT_FALSE(fields.DiagDataSent);
  ASSERT_TRUE(server.waitForRequests(1));
  server.setStatus(500);
  fields = FieldsOfTest(2);
  UploadDiagDataKeepingFailures(fields, http, server.url(), outbox, clock);
  EXPECT_FALSE(fields.DiagDataSent);
  EXPECT_EQ(KeptBodies(), (QByteArrayList{BodyOfTest(0), BodyOfTest(1), BodyOfTest(2)}));
  ASSERT_EQ(server.requests().size(), 2u);  // the oldest, twice; the new ones untried

  server.setStatus(200);
  fields = FieldsOfTest(3);
  UploadDiagDataKeepingFailures(fields, http, server.url(), outbox, clock);
  EXPECT_TRUE(fields.DiagDataSent);
  EXPECT_TRUE(KeptBodies().isEmpty());
  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 6u);
  const QByteArrayList expected{BodyOfTest(0), BodyOfTest(0), BodyOfTest(0),
                                BodyOfTest(1), BodyOfTest(2), BodyOfTest(3)};
  for (std::size_t i = 0; i < requests.size(); ++i) {
    EXPECT_EQ(requests[i].body, expected[qsizetype(i)]) << i;
    EXPECT_EQ(requests[i].header("User-Agent"), kDiagDataUserAgent);
    EXPECT_EQ(requests[i].header("Content-Type"), kFormContentType);
    EXPECT_EQ(requests[i].header("Accept"), kDiagDataAccept);
  }
}

TEST_F(DiagOutboxHttp, UploadCommandReportsAndExitsByWhatIsLeft) {
  KeepTests(3);
  test::RecordingHttpServer server(500);
  Run run = RunTool(server.url(), {"upload", "--json"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.json["sent"].toInt(), 0);
  EXPECT_EQ(run.json["kept"].toInt(), 3);
  EXPECT_EQ(run.json["failed"].toInt(), 1);
  EXPECT_EQ(KeptBodies().size(), 3);

  server.setStatus(200);
  run = RunTool(server.url(), {"upload", "--json"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.json["sent"].toInt(), 3);
  EXPECT_EQ(run.json["kept"].toInt(), 0);
  EXPECT_EQ(run.json["failed"].toInt(), 0);
  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 4u);
  for (int n = 0; n < 3; ++n) EXPECT_EQ(requests[std::size_t(n) + 1].body, BodyOfTest(n));
  EXPECT_TRUE(KeptBodies().isEmpty());
}

TEST_F(DiagOutboxHttp, KillWhileARequestIsUnansweredLosesAndRepeatsNothing) {
  KeepTests(6);
  test::RecordingHttpServer server(200);
  server.queueStatuses({200, 200, test::RecordingHttpServer::kNeverAnswer});
  QProcess tool;
  StartTool(tool, server.url(), {"upload"});
  ASSERT_TRUE(server.waitForRequests(3));
  tool.kill();
  ASSERT_TRUE(tool.waitForFinished(30000));

  EXPECT_EQ(server.answeredBodies(), (std::vector<QByteArray>{BodyOfTest(0), BodyOfTest(1)}));
  EXPECT_EQ(KeptBodies(), (QByteArrayList{BodyOfTest(2), BodyOfTest(3), BodyOfTest(4), BodyOfTest(5)}));
}

TEST_F(DiagOutboxHttp, KillJustAfterAnAnswerRepeatsAtMostThatRecord) {
  for (std::size_t answers = 1; answers <= 4; ++answers) {
    QDir(outboxFolder()).removeRecursively();
    KeepTests(8);
    test::RecordingHttpServer server(200);
    QProcess tool;
    StartTool(tool, server.url(), {"upload"});
    ASSERT_TRUE(server.waitForAnswers(answers));
    tool.kill();
    ASSERT_TRUE(tool.waitForFinished(30000));

    const std::vector<QByteArray> answered = server.answeredBodies();
    const QByteArrayList kept = KeptBodies();
    ASSERT_GE(answered.size(), answers);
    for (int n = 0; n < 8; ++n) {
      const QByteArray body = BodyOfTest(n);
      const bool wasAnswered = std::find(answered.begin(), answered.end(), body) != answered.end();
      EXPECT_TRUE(wasAnswered || kept.contains(body)) << "lost record " << n;
      // Only the record whose answer came just before the kill may be both.
      if (wasAnswered && kept.contains(body)) {
        EXPECT_EQ(body, answered.back()) << n;
      }
    }
    // The service took them in order, and what is kept is the rest, in order.
    for (std::size_t i = 0; i < answered.size(); ++i) EXPECT_EQ(answered[i], BodyOfTest(int(i)));
    EXPECT_TRUE(kept.isEmpty() || kept.back() == BodyOfTest(7));
  }
}

TEST_F(DiagOutboxHttp, TestCommandKeepsTheRecordAndCountsTheOutbox) {
  test::SimProcess printer({"--model", "0"});
  ASSERT_TRUE(printer.ok()) << printer.error().toStdString();
  QDir().mkpath(dir.filePath("c"));
  test::RefusingLocalPort refusing;
  const Run offline = RunTool(refusing.url(), {"test", "--json", "--paper-wait", "0", "--port", printer.slavePath()});
  ASSERT_EQ(offline.exitCode, 0);
  EXPECT_FALSE(offline.json["diag_data_sent"].toBool());
  EXPECT_EQ(offline.json["outbox_count"].toInt(), 1);
  const QByteArrayList kept = KeptBodies();
  ASSERT_EQ(kept.size(), 1);
  EXPECT_TRUE(kept[0].startsWith("ibfm=")) << kept[0].constData();

  test::RecordingHttpServer server(200);
  const Run online = RunTool(server.url(), {"test", "--json", "--paper-wait", "0", "--port", printer.slavePath()});
  ASSERT_EQ(online.exitCode, 0);
  EXPECT_TRUE(online.json["diag_data_sent"].toBool());
  EXPECT_EQ(online.json["outbox_count"].toInt(), 0);
  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].body, kept[0]);
  EXPECT_TRUE(requests[1].body.startsWith("ibfm="));  // then the new test's own
}

}  // namespace
}  // namespace pralix
