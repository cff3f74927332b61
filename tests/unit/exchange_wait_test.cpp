// The short first wait of the port search and the probe of the detection,
// against scripted ports with a virtual clock.

#include <gtest/gtest.h>

#include "link/P00_fpcommand.h"
#include "link/P00_fpsend.h"
#include "scripted_port.h"

namespace pralix {
namespace {

using test::PrinterReply;
using test::ReplyTo;
using test::ScriptedPort;

struct Outcome {
  qint32 code;
  QByteArray data;
  std::vector<QByteArray> writes;
  qint64 ms;
};

// One command 62 on a fresh port scripted by `script`, from sequence 0x1F.
Outcome Exchange(ExchangeWait wait, const std::function<void(ScriptedPort&)>& script) {
  ScriptedPort port;
  SequenceNumber = 0x1F;
  LinkPort = &port;
  port.open();
  script(port);
  FPCommand00 cmd;
  cmd.Command = 62;
  FPSend(cmd, wait);
  LinkPort = nullptr;
  return {cmd.ErrorCode, cmd.ReplyData, port.writes(), port.nowMs()};
}

// Answers the n-th request (0-based) with `bytes` after delayMs; others get nothing.
ScriptedPort::Responder OnRequest(int n, std::function<QByteArray(const QByteArray&)> bytes, qint64 delayMs = 5) {
  auto count = std::make_shared<int>(0);
  return [=](const QByteArray& request) -> ScriptedPort::Response {
    if ((*count)++ != n) return {};
    return {{delayMs, bytes(request)}};
  };
}

QByteArray Valid(const QByteArray& request) { return ReplyTo(request, PrinterReply{"08-12-26 10:00:20"}); }

TEST(ShortFirstWait, SilentPortIsEmptyAfterOneReadWithOneFrameAndOneSequenceNumber) {
  const Outcome o = Exchange(ExchangeWait::ShortFirst, [](ScriptedPort&) {});
  EXPECT_EQ(o.code, kNoAnswer);
  ASSERT_EQ(o.writes.size(), 1u);
  EXPECT_EQ(quint8(o.writes[0][2]), 0x20);
  EXPECT_LE(o.ms, 200) << "one read time-out";
  EXPECT_EQ(SequenceNumber, 0x20);
  const Outcome full = Exchange(ExchangeWait::Full, [](ScriptedPort&) {});
  EXPECT_EQ(full.code, kNoAnswer);
  EXPECT_EQ(full.writes.size(), 4u) << "the engine's bound stays as it is";
  EXPECT_GE(full.ms, 5600);
}

// Once any byte has come, the exchange is the engine's: same frames, same
// outcome, same time, whatever the printer does.
TEST(ShortFirstWait, AnyByteLetsTheExchangeRunAsTheEngineSpecifies) {
  struct Case {
    const char* name;
    std::function<void(ScriptedPort&)> script;
  };
  const std::vector<Case> cases = {
      {"valid at once", [](ScriptedPort& p) { p.setResponder(OnRequest(0, Valid)); }},
      {"valid after 190 ms", [](ScriptedPort& p) { p.setResponder(OnRequest(0, Valid, 190)); }},
      {"nak, then silence, then valid",
       [](ScriptedPort& p) {
         p.queue({{5, "\x15"}});
         p.queue({});
         p.setResponder(OnRequest(0, Valid));
       }},
      {"four naks", [](ScriptedPort& p) { p.setResponder([](const QByteArray&) { return ScriptedPort::Response{{5, "\x15"}}; }); }},
      {"busy bytes then valid",
       [](ScriptedPort& p) {
         p.setResponder(OnRequest(0, [](const QByteArray& r) { return QByteArray(1, '\x16') + Valid(r); }));
       }},
      {"busy for a second then valid",
       [](ScriptedPort& p) {
         p.setResponder([](const QByteArray& r) {
           ScriptedPort::Response busy;
           for (int i = 0; i < 6; ++i) busy.push_back({180, "\x16"});
           busy.push_back({180, Valid(r)});
           return busy;
         });
       }},
      {"noise then silence", [](ScriptedPort& p) { p.setResponder(OnRequest(0, [](const QByteArray&) { return QByteArray("\x7F\x42"); })); }},
      {"length byte only", [](ScriptedPort& p) { p.setResponder([](const QByteArray&) { return ScriptedPort::Response{{5, "\x01\x2B"}}; }); }},
      {"short length", [](ScriptedPort& p) { p.queue({{5, "\x01\x1F"}}); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome full = Exchange(ExchangeWait::Full, c.script);
    const Outcome shortFirst = Exchange(ExchangeWait::ShortFirst, c.script);
    EXPECT_EQ(shortFirst.code, full.code);
    EXPECT_EQ(shortFirst.data, full.data);
    EXPECT_EQ(shortFirst.writes, full.writes);
    EXPECT_EQ(shortFirst.ms, full.ms);
  }
}

TEST(ShortFirstWait, OnlyTheFirstRequestIsShortened) {
  // A NAK to the first request: the repeat waits the full seven reads.
  const Outcome o = Exchange(ExchangeWait::ShortFirst, [](ScriptedPort& p) { p.queue({{5, "\x15"}}); });
  EXPECT_EQ(o.code, kNoAnswer);
  EXPECT_EQ(o.writes.size(), 4u);
  EXPECT_GE(o.ms, 3 * 1400);
}

TEST(ShortFirstWait, APrinterAnsweringLaterThanOneReadIsLeftToTheFullWalk) {
  const auto late = [](ScriptedPort& p) { p.setResponder(OnRequest(0, Valid, 300)); };
  EXPECT_EQ(Exchange(ExchangeWait::ShortFirst, late).code, kNoAnswer);
  EXPECT_EQ(Exchange(ExchangeWait::Full, late).code, kOk);
}

TEST(Probe, OnlyAValidFrameInTheOneAttemptCounts) {
  struct Case {
    const char* name;
    std::function<void(ScriptedPort&)> script;
    qint32 code;
    qint64 maxMs;
  };
  const QByteArray garbage = QByteArray::fromHex("7f3e01c9a45512fe0b");
  const std::vector<Case> cases = {
      {"silent", [](ScriptedPort&) {}, kNoAnswer, 200},
      {"valid", [](ScriptedPort& p) { p.setResponder(OnRequest(0, Valid)); }, kOk, 50},
      {"nak", [](ScriptedPort& p) { p.setResponder(OnRequest(0, [](const QByteArray&) { return QByteArray("\x15"); })); }, kInconsistent, 50},
      {"a burst of garbage", [&](ScriptedPort& p) { p.queue({{5, garbage}}); }, kIncompleteFrame, 900},
      {"noise without a frame start", [](ScriptedPort& p) { p.queue({{5, QByteArray(20, '\x7F')}}); }, kNoAnswer, 300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome o = Exchange(ExchangeWait::Probe, c.script);
    EXPECT_EQ(o.code, c.code);
    EXPECT_EQ(o.writes.size(), 1u);
    EXPECT_LE(o.ms, c.maxMs);
  }
}

TEST(Probe, EndlessNoiseIsGivenUpAfterAFewBytes) {
  const Outcome o = Exchange(ExchangeWait::Probe, [](ScriptedPort& p) {
    p.arriveAt(1, QByteArray(10000, '\x7F'));  // a device that never stops talking
  });
  EXPECT_EQ(o.code, kInconsistent);
  EXPECT_LE(o.ms, 10);
}

TEST(ExecuteWithWait, StatusCodesStillApplyAfterAShortWait) {
  ScriptedPort port;
  SequenceNumber = 0x1F;
  LinkPort = &port;
  port.setResponder(test::PrinterResponder([](int, QByteArray) {
    PrinterReply r{"08-12-26 10:00:20"};
    r.status[2] = 0x01;  // receipt paper out
    return r;
  }));
  FPCommand00 cmd;
  EXPECT_EQ(cmd.Execute(62, "", ExchangeWait::ShortFirst).ErrorCode, kNoReceiptPaper);
  EXPECT_TRUE(port.isOpen()) << "opened on demand";
  LinkPort = nullptr;
}

}  // namespace
}  // namespace pralix
