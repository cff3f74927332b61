// The line trace around reads that take what has arrived: bytes gathered
// into one RX line until the line goes quiet, as with the plain reads.

#include <gtest/gtest.h>

#include <QBuffer>

#include "link/tracing_serial_port.h"
#include "scripted_port.h"

namespace pralix {
namespace {

struct Clock0 final : Clock {
  QDateTime now() const override { return QDateTime(QDate(2026, 12, 8), QTime(21, 30, 0, 125)); }
};

TEST(TracingSerialPort, ReadsWithinATimeOutJoinOneRxLineThatAnEmptyReadEnds) {
  test::ScriptedPort port;
  port.setPortName("COM2");
  QBuffer trace;
  trace.open(QIODevice::WriteOnly);
  Clock0 clock;
  TracingSerialPort traced(port, trace, clock);
  traced.open();
  port.arriveAt(5, "\x01\x2B\x20");
  port.arriveAt(300, "\x3E");
  quint8 buffer[8];
  EXPECT_EQ(traced.readWithin(buffer, 2, 50), 2);
  EXPECT_EQ(traced.readWithin(buffer, 8, 0), 1) << "the rest of what had arrived";
  EXPECT_EQ(traced.readWithin(buffer, 8, 0), 0) << "nothing more yet: the run ends";
  EXPECT_EQ(traced.readWithin(buffer, 8, 400), 1);
  traced.close();
  const QList<QByteArray> lines = trace.data().split('\n');
  ASSERT_EQ(lines.size(), 5) << trace.data().toStdString();
  EXPECT_EQ(lines[0], "2026-12-08 21:30:00.125 -- open COM2 at 19200 baud");
  EXPECT_EQ(lines[1], "2026-12-08 21:30:00.125 RX 01 2B 20");
  EXPECT_EQ(lines[2], "2026-12-08 21:30:00.125 RX 3E");
  EXPECT_EQ(lines[3], "2026-12-08 21:30:00.125 -- close COM2");
  EXPECT_TRUE(lines[4].isEmpty());
}

}  // namespace
}  // namespace pralix
