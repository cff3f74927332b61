// The plausibility rules of a finished test, each at its boundaries.

#include <gtest/gtest.h>

#include "workstation/judge_fields.h"
#include "workstation/model_catalogue.h"
#include "qtcompat/qt_version_compat.h"  // u"..."_s

namespace pralix {
namespace {

// Fields of a healthy Serbian printer: nothing is red.
MainFields HealthyFields() {
  MainFields f;
  f.ModelIndex = 0;
  f.LEFPPort.text = u"COM3/Ser"_s;
  f.LEIBFM.text = u"АГ123456"_s;
  f.LEPIB.text = u"123456789"_s;
  f.LEDTFP.text = u"2019-05-17 14:03"_s;
  f.LEDTDiff.text = u"00:02"_s;
  f.LEFirmware.text = u"1.22SR 09NOV03 1230,BB78"_s;
  f.LECurrJXVer.text = u"10.0/10.2.5"_s;
  f.LEBPDI.text = u"987"_s;
  f.LEPluNumber.text = u"150"_s;
  f.LETax.text = u"010110000"_s;
  f.LEDisplayOK.text = u"OK"_s;
  return f;
}

int RedCount(const MainFields& f) {
  int n = 0;
  for (const LabelledEditInfo& info : kLabelledEdits) n += (f.*info.field).red ? 1 : 0;
  return n;
}

TEST(JudgeFieldsTest, HealthyFieldsStayBlack) {
  MainFields f = HealthyFields();
  JudgeFields(f);
  EXPECT_EQ(RedCount(f), 0);
}

TEST(JudgeFieldsTest, EmptyFieldsAfterAFailedTest) {
  MainFields f;
  JudgeFields(f);
  // Unreadable numbers, an unreadable difference and an unknown firmware are
  // findings; an empty serial, date, display or port is not.
  EXPECT_TRUE(f.LEBPDI.red);
  EXPECT_TRUE(f.LEPluNumber.red);
  EXPECT_TRUE(f.LEDTDiff.red);
  EXPECT_TRUE(f.LEFirmware.red);
  EXPECT_TRUE(f.LETax.red);  // model 0
  EXPECT_FALSE(f.LEIBFM.red);
  EXPECT_FALSE(f.LEDTFP.red);
  EXPECT_FALSE(f.LEDisplayOK.red);
  EXPECT_FALSE(f.LEFPPort.red);
  EXPECT_EQ(RedCount(f), 5);
}

struct TextCase {
  QString text;
  bool red;
};

// Runs one field through the judgement on otherwise healthy fields and checks
// that this field, and only this one, has the expected mark.
void ExpectJudged(LabelledEdit MainFields::*field, const std::vector<TextCase>& cases, int modelIndex = 0) {
  for (const TextCase& c : cases) {
    MainFields f = HealthyFields();
    f.ModelIndex = modelIndex;
    (f.*field).text = c.text;
    JudgeFields(f);
    EXPECT_EQ((f.*field).red, c.red) << "text \"" << c.text.toStdString() << "\" model " << modelIndex;
    EXPECT_EQ(RedCount(f), c.red ? 1 : 0) << c.text.toStdString();
  }
}

TEST(JudgeFieldsTest, FreeDailyReports) {
  ExpectJudged(&MainFields::LEBPDI, {{u"45"_s, false},
                                     {u"44"_s, true},
                                     {u"0"_s, true},
                                     {u"-1"_s, true},
                                     {u"1800"_s, false},
                                     {u"0045"_s, false},
                                     {u" 45"_s, false},
                                     {u"+45"_s, false},
                                     {QString(), true},
                                     {u"45 "_s, true},
                                     {u"4x"_s, true},
                                     {u"-"_s, true},
                                     {u"99999999999"_s, true}});
}

TEST(JudgeFieldsTest, Articles) {
  ExpectJudged(&MainFields::LEPluNumber, {{u"3000"_s, false},
                                          {u"3001"_s, true},
                                          {u"-1"_s, false},
                                          {u"0"_s, false},
                                          {QString(), true},
                                          {u"12a"_s, true},
                                          {u"2147483647"_s, true},
                                          {u"2147483648"_s, true}});
}

TEST(JudgeFieldsTest, SerialWithCapitalE) {
  ExpectJudged(&MainFields::LEIBFM, {{u"AG12345E"_s, true},
                                     {u"E"_s, true},
                                     {u"E1234567"_s, true},
                                     {u"ag12345e"_s, false},
                                     {u"VG012345"_s, false},
                                     {u"АЕ123456"_s, false}});  // Cyrillic Е is not "E"
  for (int model : {8, 12, 15}) ExpectJudged(&MainFields::LEIBFM, {{u"AC12E456"_s, true}}, model);
}

TEST(JudgeFieldsTest, PrinterDateTimeAndDisplay) {
  ExpectJudged(&MainFields::LEDTFP, {{u"Error, time not set"_s, true},
                                     {u"xError"_s, true},
                                     {u"error"_s, false},
                                     {u"1899-12-30 00:00"_s, false}});
  ExpectJudged(&MainFields::LEDisplayOK, {{u"Error"_s, true},
                                          {u"OK"_s, false},
                                          {u"Error "_s, false},
                                          {u"error"_s, false},
                                          {QString(), false}});
}

TEST(JudgeFieldsTest, TaxPatternOfSerbianModelsOnly) {
  for (int model = 0; model <= 7; ++model)
    ExpectJudged(&MainFields::LETax, {{u"010110000"_s, false},
                                      {u"100000000"_s, false},
                                      {u"000000000"_s, true},
                                      {u"01011000"_s, true},
                                      {u"0101100000"_s, true},
                                      {QString(), true}},
                 model);
  for (int model = 8; model <= 15; ++model)
    ExpectJudged(&MainFields::LETax, {{u"000000000"_s, false}, {u"anything"_s, false}, {QString(), false}}, model);
}

TEST(JudgeFieldsTest, ClockDifference) {
  ExpectJudged(&MainFields::LEDTDiff, {{u"00:30"_s, false},
                                       {u"00:31"_s, true},
                                       {u"01:00"_s, true},
                                       {u"00:00"_s, false},
                                       {u"00:29"_s, false},
                                       {u"23:59"_s, true},
                                       {u"Dana: -3"_s, true},
                                       {u"Dana: 2"_s, true},
                                       {QString(), true},
                                       {u"00"_s, true},
                                       {u"00:3"_s, false},  // minutes "3"
                                       {u"0a:10"_s, true},
                                       {u"00:1b"_s, true}});
}

TEST(JudgeFieldsTest, FirmwareMustBeKnownExactly) {
  std::vector<TextCase> cases;
  for (const char* known : KnownFirmware) cases.push_back({QString::fromLatin1(known), false});
  cases.push_back({u"1.22SR 09NOV03 1230,BB79"_s, true});
  cases.push_back({u"1.22SR 09NOV03 1230,BB78 "_s, true});
  cases.push_back({u" 1.22SR 09NOV03 1230,BB78"_s, true});
  cases.push_back({u"1.22sr 09nov03 1230,bb78"_s, true});
  cases.push_back({u","_s, true});
  ExpectJudged(&MainFields::LEFirmware, cases);
}

TEST(JudgeFieldsTest, NeverClearsARedMark) {
  MainFields f = HealthyFields();
  for (const LabelledEditInfo& info : kLabelledEdits) (f.*info.field).red = true;
  JudgeFields(f);
  EXPECT_EQ(RedCount(f), 11);
}

}  // namespace
}  // namespace pralix
