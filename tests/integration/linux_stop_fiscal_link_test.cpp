// Stopping the fiscal-link software for real: a throwaway process named like
// it is ended, a process beside it is not.

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/linux/linux_process_control.h"

extern char** environ;

namespace pralix {
using namespace Qt::StringLiterals;
namespace {

// Runs `program` with one argument; glibc's posix_spawn returns once the
// child has exec'd, so its name is already the program's.
pid_t Spawn(const QString& program, const char* argument) {
  const QByteArray path = QFile::encodeName(program);
  char* argv[] = {const_cast<char*>(path.constData()), const_cast<char*>(argument), nullptr};
  pid_t pid = -1;
  if (posix_spawn(&pid, path.constData(), nullptr, nullptr, argv, environ) != 0) return -1;
  return pid;
}

// Waits (boundedly) for the child to end; true when it was killed by SIGKILL.
bool EndedBySigkill(pid_t pid) {
  QDeadlineTimer deadline(30000);
  while (!deadline.hasExpired()) {
    int status = 0;
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    if (done < 0) return false;
    QThread::msleep(10);
  }
  return false;
}

bool StillRunning(pid_t pid) {
  int status = 0;
  return waitpid(pid, &status, WNOHANG) == 0;
}

void Reap(pid_t pid) {
  if (pid <= 0) return;
  ::kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
}

TEST(LinuxStopFiscalLinkTest, EndsOnlyTheOstrikProcess) {
  // Never end a process this test did not start.
  if (!FiscalLinkProcessIds(u"/proc"_s).isEmpty()) GTEST_SKIP() << "another Ostrik process runs on this machine";

  QTemporaryDir temp;
  ASSERT_TRUE(temp.isValid());
  const QString pid = QString::number(::getpid());
  const QString ostrikPath = temp.path() + u"/Ostrik-test-"_s + pid;
  const QString controlPath = temp.path() + u"/pralix-control-"_s + pid;
  ASSERT_TRUE(QFile::copy(u"/bin/sleep"_s, ostrikPath));
  ASSERT_TRUE(QFile::copy(u"/bin/sleep"_s, controlPath));

  const pid_t ostrik = Spawn(ostrikPath, "600");
  const pid_t control = Spawn(controlPath, "600");
  ASSERT_GT(ostrik, 0);
  ASSERT_GT(control, 0);
  EXPECT_EQ(FiscalLinkProcessIds(u"/proc"_s), QList<qint64>{ostrik});

  LinuxProcessControl().stopFiscalLink();

  const bool ostrikKilled = EndedBySigkill(ostrik);
  const bool controlAlive = StillRunning(control);
  if (!ostrikKilled) Reap(ostrik);
  Reap(control);
  EXPECT_TRUE(ostrikKilled);
  EXPECT_TRUE(controlAlive);
}

}  // namespace
}  // namespace pralix
