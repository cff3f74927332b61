// Fault scoping, spoiled replies, and the timing of the simulator's answers.

#include <gtest/gtest.h>

#include "line_timing.h"
#include "simulator.h"

namespace pralix::sim {
namespace {

constexpr Nanos kMs = 1'000'000;

QByteArray Request(uint8_t seq, uint8_t command, const QByteArray& data = {}) {
  QByteArray covered;
  covered.append(char(0x24 + data.size())).append(char(seq)).append(char(command)).append(data).append(char(0x05));
  return QByteArray(1, char(0x01)) + covered + ChecksumText(ByteSum(covered)) + QByteArray(1, char(0x03));
}

TEST(SimFaultRule, ParsesKindCountAndCommand) {
  struct Case {
    const char* text;
    FaultKind kind;
    int remaining;
    int command;
  } cases[] = {
      {"silent", FaultKind::Silent, -1, -1},        {"nak:3", FaultKind::Nak, 3, -1},
      {"busy@62", FaultKind::Busy, -1, 62},         {"wrong-seq:1@90", FaultKind::WrongSeq, 1, 90},
      {"short-length", FaultKind::ShortLength, -1, -1}, {"wrong-checksum:2", FaultKind::WrongChecksum, 2, -1},
      {"truncated", FaultKind::Truncated, -1, -1},  {"noise:1@83", FaultKind::Noise, 1, 83},
  };
  for (const Case& c : cases) {
    QString error;
    const std::optional<FaultRule> rule = ParseFaultRule(QString::fromLatin1(c.text), &error);
    ASSERT_TRUE(rule) << c.text << ": " << error.toStdString();
    EXPECT_EQ(rule->kind, c.kind) << c.text;
    EXPECT_EQ(rule->remaining, c.remaining) << c.text;
    EXPECT_EQ(rule->command, c.command) << c.text;
    EXPECT_STREQ(FaultName(rule->kind), QByteArray(c.text).split(':')[0].split('@')[0].constData());
  }
  for (const char* bad : {"", "loud", "nak:0", "nak:-1", "nak:x", "silent@256", "silent@", "busy:1000ms", "nak@0x53"}) {
    QString error;
    EXPECT_FALSE(ParseFaultRule(QString::fromLatin1(bad), &error)) << bad;
    EXPECT_FALSE(error.isEmpty()) << bad;
  }
}

TEST(SimFaultPlan, FirstMatchingRuleWithHitsLeftWins) {
  FaultPlan plan;
  plan.Add({FaultKind::Nak, -1, 83});
  plan.Add({FaultKind::Silent, 2, -1});
  EXPECT_EQ(plan.Take(83), FaultKind::Nak);
  EXPECT_EQ(plan.Take(62), FaultKind::Silent);
  EXPECT_EQ(plan.Take(83), FaultKind::Nak) << "the command-scoped rule keeps hitting 83";
  EXPECT_EQ(plan.Take(90), FaultKind::Silent);
  EXPECT_EQ(plan.Take(62), std::nullopt) << "two hits used up";
  EXPECT_EQ(plan.Take(83), FaultKind::Nak);
}

TEST(SimFaultPlan, SpoiledRepliesBreakExactlyOneRule) {
  const QByteArray frame = EncodeReplyFrame(0x7F, 62, "01-01-24 00:00:00", StatusBits{});
  const FaultSettings settings;
  const auto checksumOk = [](const QByteArray& f) {
    return f.mid(f.size() - 5, 4) == ChecksumText(ByteSum(f.mid(1, f.size() - 6)));
  };
  const QByteArray seq = SpoilReply(FaultKind::WrongSeq, frame, settings);
  EXPECT_EQ(uint8_t(seq[2]), 0x20) << "0x7F wraps to 0x20";
  EXPECT_TRUE(checksumOk(seq)) << "only the sequence byte is wrong";
  const QByteArray sum = SpoilReply(FaultKind::WrongChecksum, frame, settings);
  EXPECT_EQ(sum.left(sum.size() - 5), frame.left(frame.size() - 5));
  EXPECT_FALSE(checksumOk(sum));
  EXPECT_EQ(SpoilReply(FaultKind::Truncated, frame, settings), frame.left(frame.size() - 1));
  FaultSettings cut5;
  cut5.truncateBy = 5;
  EXPECT_EQ(SpoilReply(FaultKind::Truncated, frame, cut5), frame.left(frame.size() - 5));
  const QByteArray shortLen = SpoilReply(FaultKind::ShortLength, frame, settings);
  EXPECT_EQ(uint8_t(shortLen[1]), 0x1F);
  EXPECT_EQ(SpoilReply(FaultKind::Busy, frame, settings), frame);
}

TEST(SimNoise, NeverLooksLikeAFrameStartNakOrFlowControl) {
  NoiseSource noise;
  const QByteArray bytes = noise.Next(5000);
  ASSERT_EQ(bytes.size(), 5000);
  for (char forbidden : {'\x01', '\x15', '\x11', '\x13'}) EXPECT_FALSE(bytes.contains(forbidden));
  EXPECT_EQ(NoiseSource().Next(16), NoiseSource().Next(16)) << "repeatable";
}

class SimulatorTest : public ::testing::Test {
 protected:
  Simulator Make(std::vector<FaultRule> rules, FaultSettings settings = {}, StatusConditions conditions = {}) {
    FaultPlan plan;
    for (const FaultRule& r : rules) plan.Add(r);
    return Simulator(PrinterState(PrinterIdentity::Defaults(0), conditions, 0), std::move(plan), settings, timing,
                     [] { return QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)); });
  }
  static RequestFrame Frame(uint8_t seq, uint8_t command, const QByteArray& data = {}) {
    return CheckRequest(Request(seq, command, data));
  }
  Timing timing{ByteTime(19200), 2 * kMs};
  const Nanos t0 = 1000 * kMs;
};

TEST_F(SimulatorTest, ValidReplyStartsOneTurnaroundAndOneByteTimeAfterTheRequest) {
  Simulator sim = Make({});
  const Answer a = sim.Respond(Frame(0x2A, 62), t0);
  ASSERT_EQ(a.parts.size(), 1u);
  EXPECT_EQ(a.parts[0].bytes, EncodeReplyFrame(0x2A, 62, "02-01-24 03:04:05", StatusBits{}));
  EXPECT_EQ(a.parts[0].start, t0 + 2 * kMs + ByteTime(19200));
  EXPECT_EQ(a.parts[0].spacing, ByteTime(19200));
}

TEST_F(SimulatorTest, DamagedRequestGetsOneNakAndUsesNoFault) {
  Simulator sim = Make({{FaultKind::Silent, 1, -1}});
  QByteArray raw = Request(0x20, 62);
  raw[5] = '9';
  const Answer a = sim.Respond(CheckRequest(raw), t0);
  ASSERT_EQ(a.parts.size(), 1u);
  EXPECT_EQ(a.parts[0].bytes, QByteArray(1, char(0x15)));
  EXPECT_TRUE(sim.Respond(Frame(0x20, 62), t0).parts.empty()) << "the silent hit is still there";
  EXPECT_EQ(sim.Respond(Frame(0x20, 62), t0).parts.size(), 1u);
}

TEST_F(SimulatorTest, SilentAndNakLeaveTheCommandUndoneOtherFaultsCarryItOut) {
  Simulator sim = Make({{FaultKind::Silent, 1, -1}, {FaultKind::Nak, 1, -1}, {FaultKind::WrongChecksum, 1, -1}});
  const QByteArray freeBefore = sim.state().identity().freeZ;
  EXPECT_TRUE(sim.Respond(Frame(0x20, 69, "0A"), t0).parts.empty());
  EXPECT_EQ(sim.Respond(Frame(0x20, 69, "0A"), t0).parts[0].bytes, QByteArray(1, char(0x15)));
  EXPECT_EQ(sim.state().identity().freeZ, freeBefore);
  sim.Respond(Frame(0x20, 69, "0A"), t0);
  EXPECT_EQ(sim.state().identity().freeZ.toInt(), freeBefore.toInt() - 1);
}

TEST_F(SimulatorTest, BusyBytesEverySixtyMillisecondsThenTheReply) {
  FaultSettings settings;
  settings.busyMs = 1000;
  Simulator sim = Make({{FaultKind::Busy, 1, -1}}, settings);
  const Answer a = sim.Respond(Frame(0x21, 90, "1"), t0);
  ASSERT_EQ(a.parts.size(), 2u);
  EXPECT_EQ(a.parts[0].bytes, QByteArray(17, char(0x16)));
  EXPECT_EQ(a.parts[0].spacing, 60 * kMs);
  const Nanos first = t0 + 2 * kMs + ByteTime(19200);
  EXPECT_EQ(a.parts[0].start, first);
  EXPECT_EQ(a.parts[1].start, first + 1000 * kMs);
  EXPECT_EQ(uint8_t(a.parts[1].bytes[0]), 0x01);
  EXPECT_EQ(sim.Respond(Frame(0x22, 90, "1"), t0).parts.size(), 1u) << "busy:1 hits once";
}

TEST_F(SimulatorTest, NoiseComesBeforeAnIntactReply) {
  FaultSettings settings;
  settings.noiseCount = 5;
  Simulator sim = Make({{FaultKind::Noise, -1, 62}}, settings);
  const Answer a = sim.Respond(Frame(0x20, 62), t0);
  ASSERT_EQ(a.parts.size(), 2u);
  EXPECT_EQ(a.parts[0].bytes.size(), 5);
  EXPECT_EQ(a.parts[1].start, a.parts[0].start + 5 * ByteTime(19200));
  EXPECT_EQ(a.parts[1].bytes, EncodeReplyFrame(0x20, 62, "02-01-24 03:04:05", StatusBits{}));
  EXPECT_EQ(sim.Respond(Frame(0x21, 90, "1"), t0).parts.size(), 1u) << "other commands answer cleanly";
}

TEST_F(SimulatorTest, PaperOutCountsReplyFramesNotNaks) {
  StatusConditions c;
  c.paperOut = PaperOut::Receipt;
  c.paperOutReplies = 1;
  Simulator sim = Make({{FaultKind::Nak, 1, -1}}, {}, c);
  sim.Respond(Frame(0x20, 62), t0);
  const QByteArray first = sim.Respond(Frame(0x20, 62), t0).parts[0].bytes;
  const QByteArray second = sim.Respond(Frame(0x21, 62), t0).parts[0].bytes;
  const int status2 = first.indexOf('\x04') + 3;
  EXPECT_EQ(uint8_t(first[status2]), 0x81);
  EXPECT_EQ(uint8_t(second[status2]), 0x80);
}

TEST(SimLineTiming, ByteTimeIsTenBitTimes) {
  EXPECT_EQ(ByteTime(9600), 1'041'666);
  EXPECT_EQ(ByteTime(115200), 86'805);
}

TEST(SimLineTiming, IncomingBytesArriveNoFasterThanTheLine) {
  IncomingLine line(100);
  EXPECT_EQ(line.Arrive(1000), 1100);
  EXPECT_EQ(line.Arrive(1000), 1200) << "read together, arrived one after the other";
  EXPECT_EQ(line.Arrive(5000), 5100) << "after a pause the line is idle again";
}

TEST(SimLineTiming, OutgoingBytesLeaveWhenDueAndKeepTheirSpacing) {
  OutgoingLine line(100);
  line.Add("abc", 1000, 100);
  line.Add("de", 1000, 100);  // queued behind: no sooner than one byte time after 'c'
  EXPECT_EQ(line.LastDue(), 1400);
  EXPECT_TRUE(line.Due(999).isEmpty());
  EXPECT_EQ(line.Due(1150), QByteArray("ab"));
  line.Pop(1);
  EXPECT_EQ(line.NextDue(), 1100);
  EXPECT_EQ(line.Due(5000), QByteArray("bcde"));
  line.Pop(4);
  EXPECT_TRUE(line.Empty());
  line.Add("xy", 6000, 500);  // wider spacing (busy bytes) is kept
  EXPECT_EQ(line.Due(6499), QByteArray("x"));
  EXPECT_EQ(line.NextDue(), 6000);
}

}  // namespace
}  // namespace pralix::sim
