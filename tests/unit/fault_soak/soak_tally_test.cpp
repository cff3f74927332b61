// Lane tallies cross a pipe as text and add up.

#include <gtest/gtest.h>

#include "soak_tally.h"

namespace pralix::soak {
namespace {

TEST(SoakTally, SurvivesThePipeAndMerges) {
  SoakTally a;
  a.exchanges = 3;
  a.wrongOutcomes = 1;
  a.maxMs = 1400.5;
  a.maxRatio = 0.75;
  a.totalMs = 2000;
  a.attemptsPerFault["silent"] = 4;
  a.attemptsPerFault["+receipt"] = 1;
  a.exchangesPerCode[3] = 1;
  a.exchangesPerCode[0] = 2;
  a.failures << "lane 0: exchange 2 seq 22 cmd 99 [silent] 1400 ms: code 8, expected 3;";
  SoakTally b = SoakTally::Parse(a.Serialize());
  EXPECT_EQ(b.Serialize(), a.Serialize());

  SoakTally c;
  c.exchanges = 2;
  c.overlong = 1;
  c.maxMs = 9000;
  c.maxRatio = 0.5;
  c.attemptsPerFault["silent"] = 1;
  c.exchangesPerCode[0] = 2;
  b.Merge(c);
  EXPECT_EQ(b.exchanges, 5);
  EXPECT_EQ(b.wrongOutcomes, 1);
  EXPECT_EQ(b.overlong, 1);
  EXPECT_DOUBLE_EQ(b.maxMs, 9000);
  EXPECT_DOUBLE_EQ(b.maxRatio, 0.75);
  EXPECT_EQ(b.attemptsPerFault["silent"], 5);
  EXPECT_EQ(b.exchangesPerCode[0], 4);
  ASSERT_EQ(b.failures.size(), 1);
  EXPECT_TRUE(b.Report().contains("FAILED lane 0: exchange 2"));
}

}  // namespace
}  // namespace pralix::soak
