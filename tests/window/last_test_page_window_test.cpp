// The window's "1. Test" leaves the page of the last test that found the
// printer beside the diagnostic log, replaced whole each time.

#include <gtest/gtest.h>

#include <QFile>
#include <vector>

#include "main_window_rig.h"
#include "messages/dialog_journal.h"
#include "workstation/last_test_page.h"

namespace pralix::test {
namespace {

// Notes the order of the calls and what the log beside the page held at the end.
class OrderObserver final : public TestObserver {
 public:
  explicit OrderObserver(LastTestPageKeeper& keeper, QString logPath) : keeper_(keeper), logPath_(std::move(logPath)) {}
  void TestStarted() override {
    calls.push_back("started");
    keeper_.TestStarted();
  }
  void TestFoundPrinter(const MainFields& fields) override {
    calls.push_back("found");
    logWritten = QFile::exists(logPath_);
    keeper_.TestFoundPrinter(fields);
  }
  std::vector<std::string> calls;
  bool logWritten = false;

 private:
  LastTestPageKeeper& keeper_;
  QString logPath_;
};

QString ReadPage(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(LastTestPageWindow, FoundTestWritesThePageAfterTheLogAndEachTestReplacesIt) {
  MainWindowRig rig;
  DialogJournal journal(rig.ui, QStringLiteral("Information"), QStringLiteral("Pralix"));
  LastTestPageKeeper keeper(journal, rig.clock, rig.dir.path(), QStringLiteral("10.2.350"));
  OrderObserver observer(keeper, rig.dir.filePath(QStringLiteral("Pralix_log.txt")));
  rig.workstation.SetTestObserver(&observer);
  ASSERT_TRUE(rig.StartUp());

  rig.Press(Qt::Key_1);
  EXPECT_EQ(observer.calls, (std::vector<std::string>{"started", "found"}));
  EXPECT_TRUE(observer.logWritten);
  EXPECT_FALSE(rig.port.isOpen());
  const QString first = ReadPage(keeper.pagePath());
  EXPECT_EQ(keeper.pagePath(), rig.dir.filePath(QStringLiteral("Pralix_last_test.html")));
  EXPECT_TRUE(first.contains(QStringLiteral("Printer found")));
  EXPECT_TRUE(first.contains(QStringLiteral("1.22SR 09NOV03 1230,BB78")));
  EXPECT_TRUE(first.contains(QStringLiteral("<th>Free Z</th><td class=\"mono\">1500</td>")));

  rig.printer = [](int command, const QByteArray& data) {
    return command == 68 ? Reply("1499") : HealthyPrinter(command, data);
  };
  rig.Press(Qt::Key_1);
  const QString second = ReadPage(keeper.pagePath());
  EXPECT_TRUE(second.contains(QStringLiteral("<th>Free Z</th><td class=\"mono\">1499</td>")));
  EXPECT_FALSE(second.contains(QStringLiteral(">1500<")));
  EXPECT_TRUE(second.endsWith(QStringLiteral("</html>\n")));
}

}  // namespace
}  // namespace pralix::test
