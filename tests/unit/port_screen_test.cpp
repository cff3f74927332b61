// The screen of all ports at once at one speed: who gets the request, how
// long the one common wait lasts, and which ports count as answering.

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
  EXPECT_TRUE(PortsThatAnswer(bank, {"COM1", "COM2", "COM3", "COM4"}, 57600).isEmpty());
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
    PortsThatAnswer(bank, {"COM1"}, 19200);
    EXPECT_EQ(bank.find("COM1")->writes().back(), Request62(quint8(expected))) << counter;
    EXPECT_EQ(SequenceNumber, counter);
  }
}

TEST_F(PortScreenTest, AnsweringPortsAreKeptInTheOrderGiven) {
  bank.add("COM1");
  bank.add("COM2").setResponder(AnswersAfter(150));
  bank.add("COM3").setResponder(AnswersAfter(1));
  bank.add("COM4");
  EXPECT_EQ(PortsThatAnswer(bank, {"COM4", "COM3", "COM2", "COM1"}, 19200), (QStringList{"COM3", "COM2"}));
  EXPECT_EQ(bank.nowMs(), kScreenWaitMs) << "COM2's bytes were there when its turn came after the wait";
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
    EXPECT_EQ(PortsThatAnswer(fresh, {"COM1", "COM2"}, 19200).contains("COM2"), c.answers);
    EXPECT_EQ(fresh.nowMs(), kScreenWaitMs);
  }
}

TEST_F(PortScreenTest, AllPortsAnsweringEndTheScreenAtTheLastFirstByte) {
  bank.add("COM1").setResponder(AnswersAfter(30));
  bank.add("COM2").setResponder(AnswersAfter(10));
  EXPECT_EQ(PortsThatAnswer(bank, {"COM1", "COM2"}, 19200), (QStringList{"COM1", "COM2"}));
  EXPECT_EQ(bank.nowMs(), 30);
}

TEST_F(PortScreenTest, BytesFromBeforeTheScreenAreNoAnswer) {
  ScriptedPort& stale = bank.add("COM1");
  stale.arriveAt(0, "\x06\x06");
  EXPECT_TRUE(PortsThatAnswer(bank, {"COM1"}, 19200).isEmpty());
  EXPECT_EQ(stale.clearCount(), 1);
}

TEST_F(PortScreenTest, MissingRefusedBusyAndPulledPortsAreSkippedAndTheRestScreened) {
  bank.add("COM1").refuseOpen = true;    // not ours
  bank.add("COM2").acceptPerWrite = 3;   // adapter pulled mid-frame
  ScriptedPort& held = bank.add("COM3");
  held.setResponder(AnswersAfter(1));
  bank.setPortName("COM3");
  bank.open();  // busy: another port object holds it
  bank.add("COM4").setResponder(AnswersAfter(5));
  EXPECT_EQ(PortsThatAnswer(bank, {"COM1", "COM2", "COM3", "COM9", "COM4"}, 19200), QStringList{"COM4"});
  EXPECT_EQ(bank.openedOnTheirOwn, (QStringList{"COM2", "COM4"}));
  EXPECT_FALSE(bank.find("COM2")->isOpen()) << "the pulled port is closed again";
  EXPECT_TRUE(held.writes().empty());
  EXPECT_TRUE(held.isOpen()) << "still the other object's";
}

}  // namespace
}  // namespace pralix
