// The bash completion, run in a real bash: what it offers after each kind of
// partial command line.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

const QString kCompletion = QStringLiteral(PRALIX_SOURCE_DIR "/packaging/linux/pralix.bash-completion");

// Completes the last word of `words` (empty for a new word) and returns the
// offers, sorted, one space between.
QString Complete(const QStringList& words, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
  QString script = QStringLiteral("source '%1' || exit 9\nCOMP_WORDS=(").arg(kCompletion);
  for (const QString& w : words) script += " '" + w + "'";
  script += QStringLiteral(" )\nCOMP_CWORD=%1\n_pralix\nprintf '%s\\n' \"${COMPREPLY[@]}\" | LC_ALL=C sort\n").arg(words.size() - 1);
  QProcess bash;
  bash.setProcessEnvironment(env);
  bash.start(QStringLiteral("bash"), {QStringLiteral("--norc"), QStringLiteral("-c"), script});
  EXPECT_TRUE(bash.waitForFinished(60000));
  EXPECT_EQ(bash.exitCode(), 0) << bash.readAllStandardError().toStdString();
  return QString::fromUtf8(bash.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts).join(' ');
}

struct CompletionCase {
  QStringList words;
  const char* offers;
};

class BashCompletion : public ::testing::TestWithParam<CompletionCase> {
 protected:
  void SetUp() override {
    if (QStandardPaths::findExecutable(QStringLiteral("bash")).isEmpty()) GTEST_SKIP() << "no bash";
  }
};

TEST_P(BashCompletion, Offers) {
  EXPECT_EQ(Complete(GetParam().words).toStdString(), GetParam().offers) << GetParam().words.join(' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BashCompletion,
    ::testing::Values(
        CompletionCase{{"pralix", ""}, "detect ports report send test upload"},
        CompletionCase{{"pralix", "te"}, "test"},
        CompletionCase{{"pralix", "--v"}, "--version"},
        CompletionCase{{"pralix", "-sty"}, "-style -stylesheet"},
        CompletionCase{{"pralix", "-style", ""}, "fusion windows"},
        CompletionCase{{"pralix", "--trace", "t.log", "-pla"}, "-platform -platformpluginpath -platformtheme"},
        CompletionCase{{"pralix", "test", "--"}, "--help --json --model --paper-wait --port --report --trace"},
        CompletionCase{{"pralix", "test", "--model", "1"}, "1 10 11 12 13 14 15"},
        CompletionCase{{"pralix", "test", "--paper-wait", ""}, ""},
        CompletionCase{{"pralix", "detect", "--"}, "--help --json --port"},
        CompletionCase{{"pralix", "report", ""}, "diagnostic periodic x z"},
        CompletionCase{{"pralix", "report", "p"}, "periodic"},
        CompletionCase{{"pralix", "report", "periodic", "--f"}, "--from"},
        // Once the kind is there, only options are left to offer.
        CompletionCase{{"pralix", "report", "z", ""}, "--baud --from --help --model --paper-wait --port --to --trace"},
        CompletionCase{{"pralix", "report", "x", "--baud", "1"}, "115200 19200"},
        CompletionCase{{"pralix", "send", "--port", "/dev/ttyS0", "--"}, "--baud --help --json --port"},
        CompletionCase{{"pralix", "ports", ""}, "--help"},
        CompletionCase{{"pralix", "upload", "--"}, "--help --json"},
        // "test" as a later word does not make a sub-command of the window.
        CompletionCase{{"pralix", "--trace", "test", "--j"}, ""}));

TEST(BashCompletionFiles, TraceAndReportOfferFiles) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QFile(dir.filePath("outcome.html")).open(QIODevice::WriteOnly);
  QFile(dir.filePath("other.txt")).open(QIODevice::WriteOnly);
  EXPECT_EQ(Complete({"pralix", "test", "--report", dir.filePath("out")}), dir.filePath("outcome.html"));
  EXPECT_EQ(Complete({"pralix", "--trace", dir.filePath("oth")}), dir.filePath("other.txt"));
}

TEST(BashCompletionPorts, PortOffersWhatTheToolLists) {
  if (!QFile::exists(QStringLiteral(PRALIX_BIN))) GTEST_SKIP() << "pralix is not built";
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("PRALIX_EXTRA_PORTS", "/tmp/pralix-completion-port-a:/tmp/pralix-completion-port-b");
  const QString offers = Complete({PRALIX_BIN, "test", "--port", "/tmp/pralix-completion"}, env);
  EXPECT_EQ(offers.toStdString(), "/tmp/pralix-completion-port-a /tmp/pralix-completion-port-b");
}

}  // namespace
