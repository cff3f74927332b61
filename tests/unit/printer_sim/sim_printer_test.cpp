// The simulated printer: its default identities, where each model puts the
// values the tool reads, what each command does, and the status conditions.

#include <gtest/gtest.h>

#include <QStringDecoder>
#include <set>

#include "model_identity.h"
#include "printer_commands.h"
#include "printer_state.h"
#include "reply_layouts.h"

namespace pralix::sim {
namespace {

QByteArray FieldOf(const QByteArray& reply, int index) {
  const QList<QByteArray> fields = reply.split(',');
  return index < fields.size() ? fields[index] : QByteArray();
}

// Characters from..to (counted from 1) of text, as the tool takes them.
QByteArray Chars(const QByteArray& text, int from, int to) { return text.mid(from - 1, to - from + 1); }

QString Decode(const QByteArray& bytes) { return QStringDecoder("windows-1251").decode(bytes); }

PrinterState StateOf(int model, StatusConditions conditions = {}) {
  return PrinterState(PrinterIdentity::Defaults(model), conditions, 0);
}

const QDateTime kPcNow(QDate(2024, 3, 15), QTime(10, 20, 30));

CommandOutcome Exec(PrinterState& state, int command, const QByteArray& data = {}) {
  return ExecuteCommand(state, uint8_t(command), data, kPcNow);
}

// The serial text the tool shows for a model, by its own reading rules.
QByteArray SerialAsTheToolReadsIt(int model, const QByteArray& reply90) {
  if (model == 12 || model == 13) return "AC" + Chars(FieldOf(reply90, 5), 6, 11);
  if (model == 10) return FieldOf(reply90, 3);
  if (model == 15) return Chars(FieldOf(reply90, 4), 3, 10);
  return FieldOf(reply90, 4);
}

class EveryModel : public ::testing::TestWithParam<int> {};

TEST_P(EveryModel, RepliesCarryTheTableIdentityWhereTheToolReadsIt) {
  const int model = GetParam();
  const ModelIdentity& m = kModelIdentities[model];
  PrinterState state = StateOf(model);
  const std::set<int> firmwareAt1 = {9, 12, 13, 14, 15};
  const std::set<int> articlesAt1 = {9, 10, 15};
  const int taxField = (model == 12 || model == 13) ? 3 : (model >= 8 && model != 14) ? 2 : 1;

  const QByteArray r90 = Exec(state, 90, "1").data;
  const int fw = firmwareAt1.count(model) ? 1 : 0;
  EXPECT_EQ(FieldOf(r90, fw) + "," + FieldOf(r90, fw + 1), QByteArray(m.firmware));
  EXPECT_EQ(Decode(SerialAsTheToolReadsIt(model, r90)).isEmpty(), false);
  EXPECT_EQ(FieldOf(Exec(state, 99).data, 0), QByteArray(m.pibField));
  EXPECT_EQ(FieldOf(Exec(state, 68).data, 0), QByteArray::number(m.freeZ));
  EXPECT_EQ(FieldOf(Exec(state, 107, "I").data, articlesAt1.count(model) ? 1 : 2), QByteArray::number(m.plu));
  EXPECT_EQ(FieldOf(Exec(state, 83).data, taxField), QByteArray(m.tax));
  for (int k = 0; k < 6; ++k)
    EXPECT_EQ(Decode(Exec(state, 43, "I" + QByteArray::number(k)).data), QString::fromUtf8(m.header[k])) << k;
}

TEST_P(EveryModel, DefaultIdentityIsPlausibleForTheToolsJudgement) {
  const int model = GetParam();
  const ModelIdentity& m = kModelIdentities[model];
  EXPECT_GE(m.freeZ, 45);
  EXPECT_LE(m.plu, 3000);
  EXPECT_EQ(QString::fromUtf8(m.catalogueLine).size(), 23);
  const QStringList known = {
      "1.22SR 09NOV03 1230,BB78", "1.50SR 26JUL04 1000,BA46", "2.00SR 21MAY08 1330,AC2A", "2.76SR 21MAY08 1330,AC2A",
      "3.52SR 20FEB13 1000,8A33", "3.84SR 20FEB13 1000,8A33", "4.22SR 20FEB13 1000,8A33", "4.32SR 20FEB13 1000,8A33",
      "4.52SR 20FEB13 1000,8A33", "1.00SR 25JUN12 1500,1538", "1.10SR 19DEC14 1000,F8EA", "3.00SR 02JUN11 2100,820F",
      "1.00SR 11APR12 1724,0000", "2.10CG 10APR05 1030,35C2", "3.01CG 11JUN09 1530,91F7", "1.00CG 12MAY15 1230,674C",
      "1.00CG 02NOV11 1530,2642", "1.10MW 30JAN14 1030,6FFB", "1.00MK 23JUL14 1230,21F5", "1.01MK 28OCT14 0930,0B68",
      "1.01MK 28OCT14 0930,3349", "1.00BG 11APR11 1530,0744", "1.00BG 22MAR12 0930,0744", "1.00BG 16MAY13 1030,0744",
      "2.00CG 22NOV04 1600,00B0", "1.00MK 23OCT14 1030,960F"};
  EXPECT_TRUE(known.contains(QString::fromLatin1(m.firmware))) << m.firmware;
  PrinterState state = StateOf(model);
  const QString serial = Decode(SerialAsTheToolReadsIt(model, Exec(state, 90, "1").data));
  EXPECT_FALSE(serial.contains('E')) << "a capital E marks a bad serial";
  for (const char* text : {m.serialField, m.pibField, m.header[0], m.header[1], m.header[2], m.header[3],
                           m.header[4], m.header[5]})
    EXPECT_TRUE(ToPrinterBytes(QString::fromUtf8(text)).has_value()) << text;
}

INSTANTIATE_TEST_SUITE_P(Models, EveryModel, ::testing::Range(0, kModelCount));

TEST(SimIdentity, SerbianSerialsStartWithTheirCyrillicPairInWindows1251) {
  const QByteArray pairs[8] = {"\xC0\xC3", "\xD1\xA3", "\xD1\xC3", "\xC0\xA3",
                               "\xC0\xC8", "\xC0\xCA", "\xCB\xCA", "\xC7\xC8"};
  for (int model = 0; model < 8; ++model) {
    const QByteArray serial = PrinterIdentity::Defaults(model).serialField;
    EXPECT_EQ(serial.left(2), pairs[model]) << model;
    EXPECT_EQ(serial.size(), 8) << model;
    EXPECT_TRUE(kModelIdentities[model].tax == QByteArray("010110000") ||
                kModelIdentities[model].tax == QByteArray("100000000"));
  }
}

TEST(SimIdentity, HeaderLinesCarryTheLettersTheToolTransliterates) {
  const QString letters = QString::fromUtf8("ЮЪЫЭЬюъыэь");
  QSet<QChar> seen;
  for (int model = 0; model < 8; ++model)
    for (const char* line : kModelIdentities[model].header)
      for (QChar c : QString::fromUtf8(line))
        if (letters.contains(c)) seen.insert(c);
  EXPECT_EQ(seen.size(), 10) << "each of the ten letters appears in some Serbian header";
}

TEST(SimIdentity, ModelSpecificSerialsReadAsTheirMarketCode) {
  struct Case {
    int model;
    const char* shown;
  } cases[] = {{12, "AC200417"}, {13, "AC300528"}, {15, "MW100742"}, {10, "VG001573"}, {8, "VG550123456"}};
  for (const Case& c : cases) {
    PrinterState state = StateOf(c.model);
    EXPECT_EQ(SerialAsTheToolReadsIt(c.model, Exec(state, 90, "1").data), QByteArray(c.shown)) << c.model;
  }
}

TEST(SimIdentity, FirmwareWithoutCommaLeavesTheChecksumFieldEmpty) {
  PrinterIdentity id = PrinterIdentity::Defaults(0);
  id.SetFirmware("9.99XX");
  EXPECT_EQ(DeviceInfoReply(id), QByteArray("9.99XX,,00100110,SRB,") + id.serialField + ",FM50000");
}

TEST(SimCommands, ClockFollowsThePcClockWithTheOffset) {
  PrinterState behind(PrinterIdentity::Defaults(0), {}, -90 * 60 * 1000);
  EXPECT_EQ(Exec(behind, 62).data, QByteArray("15-03-24 08:50:30"));
  PrinterState fixed(PrinterIdentity::Defaults(0), {}, 0, QByteArray("30-02-21 10:00:00"));
  EXPECT_EQ(Exec(fixed, 62).data, QByteArray("30-02-21 10:00:00"));
}

TEST(SimCommands, SettingTheClockMovesItAndClearsClockNotSet) {
  StatusConditions notSet;
  notSet.clockNotSet = true;
  PrinterState state(PrinterIdentity::Defaults(0), notSet, 0);
  EXPECT_EQ(state.TakeReplyStatus()[0], 1u << kClockNotSetBit);
  const CommandOutcome set = Exec(state, 62, "29-02-00 23:59:58");
  EXPECT_EQ(set.refusal, StatusBits{});
  EXPECT_EQ(state.PrinterTime(kPcNow), QDateTime(QDate(2000, 2, 29), QTime(23, 59, 58)));
  EXPECT_EQ(state.TakeReplyStatus(), StatusBits{});
  for (const char* bad : {"30-02-21 10:00:00", "15-03-24 24:00:00", "15-03-24 10:00", "15/03/24 10:00:00"})
    EXPECT_EQ(Exec(state, 62, bad).refusal[0], (1u << kGeneralErrorBit) | (1u << kSyntaxErrorBit)) << bad;
}

TEST(SimCommands, ZReportUsesUpAFreeRecordAndXReportDoesNot) {
  PrinterState state = StateOf(0);
  const int closures = state.closures();
  EXPECT_EQ(FieldOf(Exec(state, 69, "2").data, 0), QByteArray::number(closures + 1));
  EXPECT_EQ(FieldOf(Exec(state, 68).data, 0), QByteArray("1746"));
  for (const char* z : {"0A", "0a", "1", "0"}) EXPECT_EQ(Exec(state, 69, z).refusal, StatusBits{}) << z;
  EXPECT_EQ(Exec(state, 68).data, "1742," + QByteArray::number(closures + 4));
  EXPECT_EQ(Exec(state, 69, "9").refusal[0], (1u << kGeneralErrorBit) | (1u << kSyntaxErrorBit));
}

TEST(SimCommands, ZReportWithTheFiscalMemoryFullIsRefused) {
  PrinterIdentity id = PrinterIdentity::Defaults(3);
  id.freeZ = "0";
  PrinterState state(id, {}, 0);
  const CommandOutcome z = Exec(state, 69, "0A");
  EXPECT_EQ(z.refusal[0], 1u << kGeneralErrorBit);
  EXPECT_EQ(z.refusal[kFiscalMemoryFullByte], 1u << kFiscalMemoryFullBit);
  EXPECT_EQ(FieldOf(Exec(state, 68).data, 0), QByteArray("0"));
}

TEST(SimCommands, PeriodicReportNeedsTwoDatesInOrder) {
  PrinterState state = StateOf(0);
  EXPECT_EQ(Exec(state, 79, "050121,070221").refusal, StatusBits{});
  EXPECT_EQ(Exec(state, 79, "010320,010320").refusal, StatusBits{});
  for (const char* bad : {"070221,050121", "050121", "320121,070221", "5012,070221", ""})
    EXPECT_NE(Exec(state, 79, bad).refusal[0], 0) << bad;
}

TEST(SimCommands, UnknownCommandsAndDataAreRefusedWithTheirBits) {
  PrinterState state = StateOf(0);
  const uint8_t syntax = (1u << kGeneralErrorBit) | (1u << kSyntaxErrorBit);
  const uint8_t invalid = (1u << kGeneralErrorBit) | (1u << kInvalidCommandBit);
  EXPECT_EQ(Exec(state, 12).refusal[0], invalid);
  EXPECT_TRUE(Exec(state, 12).data.isEmpty());
  EXPECT_EQ(Exec(state, 43, "I6").refusal[0], syntax);
  EXPECT_EQ(Exec(state, 43, "").refusal[0], syntax);
  EXPECT_EQ(Exec(state, 107, "F").refusal[0], syntax);
  EXPECT_EQ(Exec(state, 71).refusal, StatusBits{});
}

TEST(SimStatus, ConditionsSetTheirBits) {
  struct Case {
    const char* what;
    StatusConditions c;
    StatusBits expected;
  };
  StatusConditions receipt, journal, display, error, clock, extra;
  receipt.paperOut = PaperOut::Receipt;
  journal.paperOut = PaperOut::Journal;
  display.displayMissing = true;
  error.generalError = true;
  clock.clockNotSet = true;
  extra.extra[5] = 0x38;
  const Case cases[] = {
      {"none", {}, {}},
      {"receipt paper", receipt, {0, 0, 0x01, 0, 0, 0}},
      {"journal paper", journal, {0, 0, 0x05, 0, 0, 0}},
      {"display missing", display, {0x28, 0, 0, 0, 0, 0}},
      {"general error", error, {0x20, 0, 0, 0, 0, 0}},
      {"clock not set", clock, {0x04, 0, 0, 0, 0, 0}},
      {"extra bits", extra, {0, 0, 0, 0, 0, 0x38}},
  };
  for (const Case& c : cases) {
    PrinterState state(PrinterIdentity::Defaults(0), c.c, 0);
    EXPECT_EQ(state.TakeReplyStatus(), c.expected) << c.what;
    EXPECT_EQ(state.TakeReplyStatus(), c.expected) << c.what << " (standing)";
  }
}

TEST(SimStatus, PaperOutForTheFirstNRepliesOnly) {
  StatusConditions c;
  c.paperOut = PaperOut::Journal;
  c.paperOutReplies = 2;
  PrinterState state(PrinterIdentity::Defaults(0), c, 0);
  EXPECT_EQ(state.TakeReplyStatus()[2], 0x05);
  EXPECT_EQ(state.TakeReplyStatus()[2], 0x05);
  EXPECT_EQ(state.TakeReplyStatus()[2], 0x00);
  EXPECT_EQ(state.TakeReplyStatus()[2], 0x00);
}

}  // namespace
}  // namespace pralix::sim
