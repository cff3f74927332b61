// The important-message dialog's behaviour: captions, texts, the layout
// around the label, and the named mutex "YellowMsg" held exactly while the
// dialog is on screen.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <stdexcept>

#include "messages/P00_YellowMsg.h"
#include "platform/linux/linux_named_mutex.h"
#include "recording_mutex.h"
#include "recording_ui.h"

namespace pralix {
namespace {

using test::RecordingMutex;
using test::RecordingUi;

TEST(YellowMsgCaption, CatalogueNumbersAreShownPlusThousand) {
  EXPECT_EQ(YellowMsgCaption(3), "MSG - 1003");
  EXPECT_EQ(YellowMsgCaption(0), "MSG - 1000");
  EXPECT_EQ(YellowMsgCaption(99), "MSG - 1099");
  EXPECT_EQ(YellowMsgCaption(100), "MSG - 1100");
}

TEST(YellowMsgShow, CatalogueMessageUnderItsNumber) {
  RecordingUi ui;
  RecordingMutex mutex;
  YellowMsg yellow(ui, mutex);
  yellow.ShowMsg(3);
  ASSERT_EQ(ui.calls.size(), 1u);
  EXPECT_EQ(ui.calls[0].kind, RecordingUi::Kind::ImportantMessage);
  EXPECT_EQ(ui.calls[0].caption, "MSG - 1003");
  EXPECT_EQ(ui.calls[0].text, QString::fromLatin1(GlobalMsg.Get(3)));
  EXPECT_TRUE(ui.calls[0].text.startsWith("Nestalo je papira na BON-u ili JOURNAL-u!\n"));
}

TEST(YellowMsgShow, EmptySlotsShowAnEmptyLabel) {
  RecordingUi ui;
  RecordingMutex mutex;
  YellowMsg yellow(ui, mutex);
  yellow.ShowMsg(10);
  yellow.ShowMsg(100);
  EXPECT_EQ(ui.importantCaptions(), QStringList({"MSG - 1010", "MSG - 1100"}));
  EXPECT_EQ(ui.importantTexts(), QStringList({"", ""}));
}

TEST(YellowMsgShow, TextsAreDecodedFromWindows1250) {
  RecordingUi ui;
  RecordingMutex mutex;
  Msg hungarian;
  hungarian.Lang = "HUN";
  YellowMsg yellow(ui, mutex, hungarian);
  yellow.ShowMsg(50);
  yellow.ShowText("Ellen\xF5rizze \x96 v\xE1ltoz\xE1s");
  EXPECT_EQ(ui.importantCaptions(), QStringList({"MSG - 1050", "MSG - 9999"}));
  EXPECT_EQ(ui.importantTexts(), QStringList({QString::fromUtf8("Az akció kéri a nap BEZÁRÁSÁT!"),
                                              QString::fromUtf8("Ellenőrizze – változás")}));
}

TEST(YellowMsgShow, FreeTextKeepsItsLines) {
  RecordingUi ui;
  RecordingMutex mutex;
  YellowMsg yellow(ui, mutex);
  yellow.ShowText("Komanda 83\nGreska 100!\n\nStatus: 200000000000");
  EXPECT_EQ(ui.importantCaptions(), QStringList({"MSG - 9999"}));
  EXPECT_EQ(ui.importantTexts(), QStringList({"Komanda 83\nGreska 100!\n\nStatus: 200000000000"}));
}

TEST(YellowMsgMutex, HeldExactlyWhileTheDialogIsShown) {
  RecordingUi ui;
  RecordingMutex mutex;
  YellowMsg yellow(ui, mutex);
  bool heldWhileShown = false;
  ui.onImportantMessage = [&](const QString&, const QString&) { heldWhileShown = mutex.held; };
  EXPECT_FALSE(mutex.held);
  yellow.ShowText("x");
  EXPECT_TRUE(heldWhileShown);
  EXPECT_FALSE(mutex.held);
  EXPECT_EQ(mutex.created, std::vector<std::string>({"YellowMsg"}));
  EXPECT_EQ(mutex.closes, 1);
  yellow.ShowMsg(3);
  EXPECT_EQ(mutex.created.size(), 2u);
  EXPECT_EQ(mutex.closes, 2);
}

TEST(YellowMsgMutex, DialogShownEvenWhenTheMutexCannotBeCreated) {
  RecordingUi ui;
  RecordingMutex mutex;
  mutex.failCreate = true;
  YellowMsg yellow(ui, mutex);
  yellow.ShowMsg(3);
  EXPECT_EQ(ui.count(RecordingUi::Kind::ImportantMessage), 1);
  EXPECT_EQ(mutex.closes, 1);  // only the release is attempted
}

TEST(YellowMsgMutex, ReleasedWhenTheDialogThrows) {
  RecordingUi ui;
  RecordingMutex mutex;
  YellowMsg yellow(ui, mutex);
  ui.onImportantMessage = [](const QString&, const QString&) { throw std::runtime_error("window gone"); };
  EXPECT_THROW(yellow.ShowText("x"), std::runtime_error);
  EXPECT_FALSE(mutex.held);
  EXPECT_EQ(mutex.closes, 1);
}

// The real mutex, in a runtime directory of the test's own.
class SystemYellowMsgMutex : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    saved_ = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", dir_.path().toLocal8Bit());
  }
  void TearDown() override { qputenv("XDG_RUNTIME_DIR", saved_); }

  bool LockFileExists() const {
    return QFile::exists(QString::fromStdString(LinuxNamedMutex::PathFor(kYellowMsgMutexName)));
  }
  // What another process sees: a child tries to take the lock itself.  It
  // only makes system calls between fork and _exit.
  static bool OwnedSeenFromAnotherProcess() {
    const std::string path = LinuxNamedMutex::PathFor(kYellowMsgMutexName);
    const pid_t child = fork();
    if (child == 0) {
      const int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
      if (fd < 0) _exit(0);
      struct flock lock {};
      lock.l_type = F_WRLCK;
      lock.l_whence = SEEK_SET;
      _exit(fcntl(fd, F_OFD_SETLK, &lock) == 0 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 1;
  }

  QTemporaryDir dir_;
  QByteArray saved_;
};

TEST_F(SystemYellowMsgMutex, OtherProcessesSeeItOnlyWhileShown) {
  RecordingUi ui;
  LinuxNamedMutex mutex;
  YellowMsg yellow(ui, mutex);
  bool seenWhileShown = false, existedWhileShown = false;
  ui.onImportantMessage = [&](const QString&, const QString&) {
    seenWhileShown = OwnedSeenFromAnotherProcess();
    existedWhileShown = LockFileExists();
  };
  EXPECT_FALSE(OwnedSeenFromAnotherProcess());
  yellow.ShowMsg(3);
  EXPECT_TRUE(seenWhileShown);
  EXPECT_TRUE(existedWhileShown);
  EXPECT_FALSE(OwnedSeenFromAnotherProcess());
  EXPECT_FALSE(LockFileExists()) << "the mutex must no longer exist after the dialog closed";
}

TEST_F(SystemYellowMsgMutex, SecondHandleOpensWithoutOwnershipAndLeavesTheOwnersName) {
  LinuxNamedMutex owner, other;
  ASSERT_TRUE(owner.create(kYellowMsgMutexName));
  EXPECT_TRUE(owner.owned());
  ASSERT_TRUE(other.create(kYellowMsgMutexName));
  EXPECT_FALSE(other.owned());
  other.close();
  EXPECT_TRUE(LockFileExists());
  EXPECT_TRUE(LinuxNamedMutex::IsOwnedByAnyone(kYellowMsgMutexName));
  owner.close();
  EXPECT_FALSE(LockFileExists());
  // Free again: the next one owns it.
  ASSERT_TRUE(other.create(kYellowMsgMutexName));
  EXPECT_TRUE(other.owned());
}

TEST_F(SystemYellowMsgMutex, LookingDoesNotTakeIt) {
  EXPECT_FALSE(LinuxNamedMutex::IsOwnedByAnyone(kYellowMsgMutexName));
  EXPECT_FALSE(LockFileExists());
  LinuxNamedMutex mutex;
  ASSERT_TRUE(mutex.create(kYellowMsgMutexName));
  EXPECT_TRUE(LinuxNamedMutex::IsOwnedByAnyone(kYellowMsgMutexName));
  EXPECT_TRUE(mutex.owned());
}

TEST_F(SystemYellowMsgMutex, UncreatableMutexReportsFailure) {
  qputenv("XDG_RUNTIME_DIR", (dir_.path() + "/missing/dir").toLocal8Bit());
  LinuxNamedMutex mutex;
  EXPECT_FALSE(mutex.create(kYellowMsgMutexName));
  mutex.close();  // nothing to release
}

TEST(YellowMsgLayoutTest, LaidOutAroundTheLabel) {
  struct Case {
    int labelWidth, labelHeight;
    int expectLabelWidth, expectClientWidth, expectButtonLeft;
  };
  const Case cases[] = {
      {40, 16, 260, 292, 96},    // one word
      {229, 16, 260, 292, 96},   // just too narrow
      {230, 16, 230, 262, 81},   // wide enough
      {231, 16, 231, 263, 81},   // (263 - 100) / 2 truncated
      {400, 16, 400, 432, 166},  // a wide text is left alone
      {0, 0, 260, 292, 96},      // an empty label
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.labelWidth);
    const YellowMsgLayout l = LayoutYellowMsg(c.labelWidth, c.labelHeight);
    EXPECT_EQ(l.labelWidth, c.expectLabelWidth);
    EXPECT_EQ(l.clientWidth, c.expectClientWidth);
    EXPECT_EQ(l.buttonLeft, c.expectButtonLeft);
    EXPECT_EQ(l.labelLeft, 16);
    EXPECT_EQ(l.labelTop, 24);
    EXPECT_EQ(l.buttonWidth, 100);
    EXPECT_EQ(l.buttonHeight, 30);
    EXPECT_EQ(l.groupBoxHeight, c.labelHeight + 48);
    EXPECT_EQ(l.buttonTop, c.labelHeight + 64);
    EXPECT_EQ(l.clientHeight, c.labelHeight + 48 + 30 + 32);
  }
}

TEST(YellowMsgLayoutTest, FiveLinesAreFourLineHeightsTaller) {
  const int line = 16;
  const YellowMsgLayout one = LayoutYellowMsg(300, line);
  const YellowMsgLayout five = LayoutYellowMsg(300, 5 * line);
  EXPECT_EQ(five.groupBoxHeight - one.groupBoxHeight, 4 * line);
  EXPECT_EQ(five.clientHeight - one.clientHeight, 4 * line);
  EXPECT_EQ(five.buttonTop - one.buttonTop, 4 * line);
  EXPECT_EQ(five.clientWidth, one.clientWidth);
}

}  // namespace
}  // namespace pralix
