// The screen of all ports at once at one speed: who gets the request, how
// long the one common wait lasts, which port counts as the first to answer
// and which are left undecided.

#include <gtest/gtest.h>

#include "link/P00_fpsend.h"
#include "link/frame.h"
#include "port_bank.h"
#include "workstation/port_screen.h"

namespace pralix {
namespace {

using test::PortBank;
using test::ScriptedPort;

QByteArray Request62(quint8 seq) {
  quint8 frame[kRequestOverhead];
  EncodeRequest(seq, 62, {}, frame);
  return QByteArray(reinterpret_cast<const char*>(frame), kRequestOverhead);
}

// Bytes delayMs after each request.
ScriptedPort::Responder AnswersAfter(qint64 delayMs) {
  return [delayMs](const QByteArray&) { return ScriptedPort::Response{{delayMs, "\x01\x2B"}}; };
}

class PortScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SequenceNumber = 0x1F;
    bank.keepOneClock();
  }
  PortBank bank;
};

TEST_F(PortScreenTest, SilentPortsShareOneReadTimeOutAndGetOneRequestEach) {
  for (const char* name : {"COM1", "COM2", "COM3", "COM4"}) bank.add(name);
  const ScreenOutcome outcome = FirstPortThatAnswers(bank, {"COM1", "COM2", "COM3", "COM4"}, 57600);
  EXPECT_TRUE(outcome.answered.isEmpty());
  EXPECT_TRUE(outcome.undecided.isEmpty()) << "every port had its wait";
  EXPECT_EQ(bank.nowMs(), kScreenWaitMs) << "one common wait, not one per port";
  for (const char* name : {"COM1", "COM2", "COM3", "COM4"}) {
    const ScriptedPort& port = *bank.find(name);
    EXPECT_EQ(port.writes(), std::vector<QByteArray>{Request62(0x20)}) << name;
    EXPECT_EQ(port.baudRate(), 57600) << name;
    EXPECT_FALSE(port.isOpen()) << name;
  }
  EXPECT_EQ(SequenceNumber, 0x1F) << "the next exchange still carries 0x20";
  EXPECT_TRUE(bank.opened.isEmpty()) << "the caller's port object is not used";
}

TEST_F(PortScreenTest, TheRequestCarriesTheNextSequenceNumberAcrossTheWrap) {
  bank.add("COM1");
  for (const auto& [counter, expected] : {std::pair{0x1F, 0x20}, {0x45, 0x46}, {0x7E, 0x7F}, {0x7F, 0x20}}) {
    SequenceNumber = counter;
    FirstPortThatAnswers(bank, {"COM1"}, 19200);
    EXPECT_EQ(bank.find("COM1")->writes().back(), Request62(quint8(expected))) << counter;
    EXPECT_EQ(SequenceNumber, counter);
  }
}

// Which port ends the look and when: a port answers only once every port
// before it in the order given has had its full wait.
TEST_F(PortScreenTest, TheFirstPortInOrderThatAnswersEndsTheLook) {
  struct Case {
    const char* what;
    std::vector<qint64> delays;  // per port in order; -1: silent
    QString answered;
    QStringList undecided;
    qint64 endsAtMs;
  };
  const Case cases[] = {
      {"the first port answers: no wait for the silent rest", {3, -1, -1, -1}, "COM1", {"COM2", "COM3", "COM4"}, 3},
      {"an earlier answer elsewhere waits for the first port", {30, 10}, "COM1", {"COM2"}, 30},
      {"a quicker later port does not overtake a silent earlier one", {-1, 150, 1, -1}, "COM2", {"COM3", "COM4"},
       kScreenWaitMs},
      {"the last port answers after the common wait", {-1, -1, -1, 5}, "COM4", {}, kScreenWaitMs},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PortBank fresh;
    fresh.keepOneClock();
    QStringList names;
    for (size_t i = 0; i < c.delays.size(); ++i) {
      names << QStringLiteral("COM%1").arg(i + 1);
      ScriptedPort& port = fresh.add(names.back());
      if (c.delays[i] >= 0) port.setResponder(AnswersAfter(c.delays[i]));
    }
    const ScreenOutcome outcome = FirstPortThatAnswers(fresh, names, 19200);
    EXPECT_EQ(outcome.answered, c.answered);
    EXPECT_EQ(outcome.undecided, c.undecided);
    EXPECT_EQ(fresh.nowMs(), c.endsAtMs);
    for (const QString& name : names) {
      EXPECT_EQ(fresh.find(name)->writes().size(), 1u) << "every port got the request: " << name.toStdString();
      EXPECT_FALSE(fresh.find(name)->isOpen()) << name.toStdString();
    }
  }
}

TEST_F(PortScreenTest, TheOrderGivenCountsNotTheNames) {
  bank.add("COM1");
  bank.add("COM2").setResponder(AnswersAfter(150));
  bank.add("COM3").setResponder(AnswersAfter(1));
  bank.add("COM4");
  const ScreenOutcome outcome = FirstPortThatAnswers(bank, {"COM4", "COM3", "COM2", "COM1"}, 19200);
  EXPECT_EQ(outcome.answered, "COM3");
  EXPECT_EQ(outcome.undecided, (QStringList{"COM2", "COM1"}));
}

TEST_F(PortScreenTest, AByteCountsUpToTheDeadlineAndNotAfter) {
  struct Case {
    qint64 delayMs;
    bool answers;
  };
  for (const Case& c : {Case{0, true}, {kScreenWaitMs - 1, true}, {kScreenWaitMs, true}, {kScreenWaitMs + 1, false}}) {
    SCOPED_TRACE(c.delayMs);
    PortBank fresh;
    fresh.keepOneClock();
    fresh.add("COM1");
    fresh.add("COM2").setResponder(AnswersAfter(c.delayMs));
    EXPECT_EQ(FirstPortThatAnswers(fresh, {"COM1", "COM2"}, 19200).answered == "COM2", c.answers);
    EXPECT_EQ(fresh.nowMs(), kScreenWaitMs);
  }
}

TEST_F(PortScreenTest, BytesFromBeforeTheScreenAreNoAnswer) {
  ScriptedPort& stale = bank.add("COM1");
  stale.arriveAt(0, "\x06\x06");
  EXPECT_TRUE(FirstPortThatAnswers(bank, {"COM1"}, 19200).answered.isEmpty());
  EXPECT_EQ(stale.clearCount(), 1);
}

TEST_F(PortScreenTest, MissingRefusedBusyAndPulledPortsAreSkippedAndNotLeftUndecided) {
  bank.add("COM1").refuseOpen = true;    // not ours
  bank.add("COM2").acceptPerWrite = 3;   // adapter pulled mid-frame
  ScriptedPort& held = bank.add("COM3");
  held.setResponder(AnswersAfter(1));
  bank.setPortName("COM3");
  bank.open();  // busy: another port object holds it
  bank.add("COM4").setResponder(AnswersAfter(5));
  bank.add("COM5");
  bank.add("COM6").refuseOpen = true;
  const ScreenOutcome outcome =
      FirstPortThatAnswers(bank, {"COM1", "COM2", "COM3", "COM9", "COM4", "COM6", "COM5"}, 19200);
  EXPECT_EQ(outcome.answered, "COM4");
  EXPECT_EQ(outcome.undecided, QStringList{"COM5"}) << "only ports that took the request";
  EXPECT_EQ(bank.openedOnTheirOwn, (QStringList{"COM2", "COM4", "COM5"}));
  EXPECT_FALSE(bank.find("COM2")->isOpen()) << "the pulled port is closed again";
  EXPECT_TRUE(held.writes().empty());
  EXPECT_TRUE(held.isOpen()) << "still the other object's";
}

}  // namespace
}  // namespace pralix
