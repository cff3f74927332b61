// Per-model choices of the test and the report actions.

#include <gtest/gtest.h>

#include "workstation/model_profile.h"

namespace pralix {
namespace {

// One row per model index: the sources as the tool's model table gives them.
struct Row {
  SerialSource serial;
  SerialCorrection correction;
  PibSource pib;
  int firmwareField;
  ArticleSource articles;
  TaxSource tax;
  bool judged;
  const char* x;
  const char* z;
};

TEST(ModelProfileTest, EveryModelIndex) {
  using SS = SerialSource;
  using SC = SerialCorrection;
  using PS = PibSource;
  using AS = ArticleSource;
  using TS = TaxSource;
  const Row serbian = {SS::Reader, SC::SerbianPrefixCheck, PS::Reader, 0, AS::Reader, TS::Reader, true, "2", "0A"};
  const Row rows[16] = {
      serbian, serbian, serbian, serbian, serbian, serbian, serbian, serbian,
      {SS::Reader, SC::VgPrefix, PS::ReaderZeroPlus8, 0, AS::Reader, TS::Cmd83Field2, false, "2", "0a"},
      {SS::Reader, SC::None, PS::ReaderZeroPlus8, 1, AS::Cmd107Field1, TS::Cmd83Field2, false, "2", "0"},
      {SS::Cmd90Field3, SC::None, PS::ReaderZeroPlus8, 0, AS::Cmd107Field1, TS::Cmd83Field2, false, "2", "0"},
      {SS::Reader, SC::None, PS::ReaderZeroPlus8, 0, AS::Reader, TS::Cmd83Field2, false, "2", "0"},
      {SS::Cmd90Field5AsAC, SC::None, PS::Cmd99Field0Chars5To13, 1, AS::Reader, TS::Cmd83Field3, false, "3", "1"},
      {SS::Cmd90Field5AsAC, SC::None, PS::Cmd99Field0Chars5To13, 1, AS::Reader, TS::Cmd83Field3, false, "3", "1"},
      {SS::Reader, SC::None, PS::Reader, 1, AS::Reader, TS::Reader, false, "2", "0"},
      {SS::Cmd90Field4Chars3To10, SC::None, PS::ReaderZeroPlus8, 1, AS::Cmd107Field1, TS::Cmd83Field2, false, "2", "0"},
  };
  for (int i = 0; i < 16; ++i) {
    const ModelProfile& p = ProfileOf(i);
    const Row& r = rows[i];
    EXPECT_EQ(p.serial, r.serial) << i;
    EXPECT_EQ(p.serialCorrection, r.correction) << i;
    EXPECT_EQ(p.pib, r.pib) << i;
    EXPECT_EQ(p.firmwareFirstField, r.firmwareField) << i;
    EXPECT_EQ(p.articles, r.articles) << i;
    EXPECT_EQ(p.tax, r.tax) << i;
    EXPECT_EQ(p.taxJudged, r.judged) << i;
    EXPECT_STREQ(p.xReportData, r.x) << i;
    EXPECT_STREQ(p.zReportData, r.z) << i;
    EXPECT_EQ(IsSerbianModel(i), i <= 7) << i;
  }
}

TEST(ModelProfileTest, IndicesOutsideTheListTakeTheGeneralBranches) {
  EXPECT_STREQ(ProfileOf(16).zReportData, "0");
  EXPECT_STREQ(ProfileOf(16).xReportData, "2");
  EXPECT_FALSE(ProfileOf(16).taxJudged);
  EXPECT_EQ(ProfileOf(16).serialCorrection, SerialCorrection::None);
  EXPECT_STREQ(ProfileOf(-1).zReportData, "0A");  // "7 or less"
  EXPECT_FALSE(ProfileOf(-1).taxJudged);
}

}  // namespace
}  // namespace pralix
