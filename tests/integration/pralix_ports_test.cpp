// "pralix ports" as a technician runs it: the PC's ports plus the extra ones
// from the environment, each with its tag, in the window's order.

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <algorithm>

#include "platform/linux/linux_serial_device_map.h"
#include "workstation/serial_ports.h"

namespace pralix {
using namespace Qt::StringLiterals;
namespace {

struct PortsRun {
  int exitCode;
  QString out;
  QString err;
};

PortsRun RunPorts(const QString& extraPorts, const QStringList& args = {}) {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  if (extraPorts.isNull()) env.remove(u"PRALIX_EXTRA_PORTS"_s);
  else env.insert(u"PRALIX_EXTRA_PORTS"_s, extraPorts);
  process.setProcessEnvironment(env);
  process.start(QString::fromUtf8(PRALIX_BIN), QStringList{u"ports"_s} + args);
  if (!process.waitForFinished(60000)) return {-1, {}, {}};
  return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

QStringList KernelPorts() {
  return ListSerialPorts(LinuxSerialDeviceMap(u"/sys/class/tty"_s, u"/dev"_s, {}));
}

TEST(PralixPortsTest, ListsKernelAndExtraPortsWithTags) {
  const PortsRun run = RunPorts(u"/dev/pts/987:/tmp/Sim-Port"_s);
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
  EXPECT_EQ(lines.size(), KernelPorts().size() + 2);
  EXPECT_TRUE(lines.contains(u"/dev/pts/987 Pty"_s)) << run.out.toStdString();
  EXPECT_TRUE(lines.contains(u"/tmp/Sim-Port Ext"_s)) << run.out.toStdString();
  // Each line is a port of the list, in the list's order.
  QStringList ports;
  for (const QString& line : lines) ports << line.section(u' ', 0, 0);
  QStringList expected = KernelPorts() + QStringList{u"/dev/pts/987"_s, u"/tmp/Sim-Port"_s};
  std::stable_sort(expected.begin(), expected.end(),
                   [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
  EXPECT_EQ(ports, expected);
}

TEST(PralixPortsTest, RejectsArguments) {
  const PortsRun run = RunPorts(u"/dev/pts/987"_s, {u"--all"_s});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(run.out.isEmpty());
}

}  // namespace
}  // namespace pralix
