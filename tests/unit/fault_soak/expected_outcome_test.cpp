// The soak's own reading of the exchange rules: the code and the number of
// frames each sequence of faults must give, and the fault log's lines.

#include <gtest/gtest.h>

#include "expected_outcome.h"

namespace pralix::soak {
namespace {

QList<AttemptFault> Faults(std::initializer_list<const char*> lines) {
  QList<AttemptFault> out;
  for (const char* l : lines) {
    const auto parsed = ParseFaultLogLine(QByteArray("20 62 ") + l);
    EXPECT_TRUE(parsed) << l;
    if (parsed) out << parsed->fault;
  }
  return out;
}

TEST(SoakExpectedOutcome, CodeAndFramesFollowTheExchangeRules) {
  struct Case {
    std::initializer_list<const char*> faults;
    int code;
    int frames;
  } cases[] = {
      {{}, 0, 1},
      {{"none +receipt"}, 99, 1},
      {{"none +journal +display"}, 98, 1},  // paper before the display
      {{"noise +display"}, 97, 1},
      {{"busy +general"}, 100, 1},
      {{"nak", "nak", "nak", "nak"}, 4, 4},            // the fourth NAK, four frames not five
      {{"nak", "nak", "nak", "silent"}, 3, 4},
      {{"silent", "nak", "nak", "nak"}, 3, 4},          // only three NAKs: the silent code stays
      {{"nak", "nak", "nak", "wrong-seq"}, 8, 4},
      {{"silent", "silent", "silent", "silent"}, 3, 4},
      {{"silent", "none"}, 0, 2},
      {{"silent", "truncated:2", "none +receipt"}, 99, 3},  // success clears the earlier codes
      {{"short-length:0x1F"}, 6, 1},
      {{"silent", "short-length:0x00"}, 6, 2},
      {{"wrong-seq", "wrong-command", "wrong-checksum", "wrong-seq"}, 8, 4},
      {{"silent", "truncated:2", "wrong-checksum", "wrong-seq"}, 7, 4},  // the last code set survives
      {{"truncated:start", "wrong-seq", "wrong-seq", "wrong-seq"}, 5, 4},
      {{"truncated:1", "truncated:start", "silent", "truncated:4"}, 7, 4},
      {{"wrong-command", "busy"}, 0, 2},
  };
  for (const Case& c : cases) {
    const QList<AttemptFault> faults = Faults(c.faults);
    const Expected e = ExpectOutcome(faults, LineTiming{});
    QByteArray name;
    for (const AttemptFault& f : faults) name += f.name + " ";
    EXPECT_EQ(e.code, c.code) << name.constData();
    EXPECT_EQ(e.attempts, c.frames) << name.constData();
    EXPECT_EQ(e.replyKept, c.code == 0 || c.code >= 97) << name.constData();
  }
}

TEST(SoakExpectedOutcome, BoundAddsTheReadTimeOutsOfEachAttempt) {
  LineTiming t;
  t.byteMs = 0;
  t.busyMs = 250;
  EXPECT_DOUBLE_EQ(ExpectOutcome(Faults({"silent", "silent", "silent", "silent"}), t).boundMs, 4 * 1400);
  const double clean = ExpectOutcome({}, t).boundMs;
  EXPECT_DOUBLE_EQ(ExpectOutcome(Faults({"busy"}), t).boundMs, clean + 250);
  // Truncated by 2: 100 ms after the last byte, then six calls for 2 bytes.
  EXPECT_DOUBLE_EQ(ExpectOutcome(Faults({"truncated:2"}), t).boundMs, clean + 100 + 6 * 300 + clean);
}

TEST(SoakFaultLog, ReadsSequenceCommandFaultAndConditions) {
  const auto a = ParseFaultLogLine("7F 43 short-length:0x05 +journal +display\n");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->seq, 0x7F);
  EXPECT_EQ(a->command, 43);
  EXPECT_EQ(a->fault.meets, Meets::ShortLength);
  EXPECT_TRUE(a->fault.journalOut && a->fault.displayOff);
  EXPECT_FALSE(a->fault.receiptOut || a->fault.generalError);
  const auto t = ParseFaultLogLine("2A 99 truncated:3");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->fault.meets, Meets::Truncated);
  EXPECT_EQ(t->fault.truncatedBy, 3);
  EXPECT_EQ(ParseFaultLogLine("2A 99 truncated:start")->fault.meets, Meets::TruncatedToStart);
  for (const char* bad : {"", "2A 99", "ZZ 99 none", "2A x none", "2A 99 loud", "2A 99 truncated:0",
                          "2A 99 truncated:", "2A 99 none +smoke"})
    EXPECT_FALSE(ParseFaultLogLine(bad)) << bad;
}

}  // namespace
}  // namespace pralix::soak
