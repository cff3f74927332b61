// The detection's own port objects on the line trace: the screen's requests
// and the bytes it read, in time order.

#include <gtest/gtest.h>

#include <QBuffer>

#include "link/P00_fpsend.h"
#include "link/frame.h"
#include "link/traced_port_source.h"
#include "port_bank.h"
#include "workstation/port_screen.h"

namespace pralix {
namespace {

using test::PortBank;
using test::ScriptedPort;

// The bank's virtual time as the trace's wall clock.
struct BankClock final : Clock {
  explicit BankClock(const PortBank& bank) : bank(bank) {}
  QDateTime now() const override { return QDateTime(QDate(2026, 12, 8), QTime(21, 30, 0)).addMSecs(bank.nowMs()); }
  const PortBank& bank;
};

QByteArray Hex(const QByteArray& bytes) { return bytes.toHex(' ').toUpper(); }

class TracedPortSourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SequenceNumber = 0x1F;
    bank.keepOneClock();
    trace.open(QIODevice::WriteOnly);
  }
  QList<QByteArray> lines() const {
    QList<QByteArray> all = trace.data().split('\n');
    if (!all.isEmpty() && all.back().isEmpty()) all.pop_back();
    return all;
  }
  PortBank bank;
  QBuffer trace;
  BankClock clock{bank};
  TracedPortSource traced{bank, trace, clock};
};

TEST_F(TracedPortSourceTest, TheScreensRequestsAndTheByteItReadAreOnTheTrace) {
  bank.add("COM1");
  bank.add("COM2").setResponder([](const QByteArray&) { return ScriptedPort::Response{{5, "\x01\x2B"}}; });
  bank.add("COM3");
  const ScreenOutcome outcome = FirstPortThatAnswers(traced, {"COM1", "COM9", "COM2", "COM3"}, 57600);
  ASSERT_EQ(outcome.answered, "COM2");
  quint8 frame[kRequestOverhead];
  EncodeRequest(0x20, 62, {}, frame);
  const QByteArray tx = "TX " + Hex(QByteArray(reinterpret_cast<const char*>(frame), kRequestOverhead));
  const QList<QByteArray> expected = {
      "2026-12-08 21:30:00.000 -- open COM1 at 57600 baud",
      "2026-12-08 21:30:00.000 " + tx,
      "2026-12-08 21:30:00.000 -- cannot open COM9 at 57600 baud: COM9: no such port",
      "2026-12-08 21:30:00.000 -- open COM2 at 57600 baud",
      "2026-12-08 21:30:00.000 " + tx,
      "2026-12-08 21:30:00.000 -- open COM3 at 57600 baud",
      "2026-12-08 21:30:00.000 " + tx,
      "2026-12-08 21:30:00.200 -- close COM1",
      "2026-12-08 21:30:00.200 RX 01",
      "2026-12-08 21:30:00.200 -- close COM2",
      "2026-12-08 21:30:00.200 -- close COM3",
  };
  EXPECT_EQ(lines(), expected) << trace.data().toStdString();
  EXPECT_EQ(traced.nowMs(), bank.nowMs()) << "the wait runs on the ports' own clock";
}

}  // namespace
}  // namespace pralix
