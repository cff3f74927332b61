// The simulator's command line.

#include <gtest/gtest.h>

#include "sim_options.h"

namespace pralix::sim {
namespace {

SimOptions Parse(const QStringList& args) {
  const ParsedOptions parsed = ParseOptions(args);
  EXPECT_TRUE(parsed.options) << args.join(' ').toStdString() << ": " << parsed.error.toStdString();
  return parsed.options.value_or(SimOptions{});
}

TEST(SimOptions, DefaultsAreModelZeroAtItsCatalogueRate) {
  const SimOptions o = Parse({});
  EXPECT_EQ(o.model, 0);
  EXPECT_EQ(o.EffectiveBaud(), 19200);
  EXPECT_DOUBLE_EQ(o.turnaroundMs, 1.0);
  EXPECT_TRUE(o.faults.empty());
  EXPECT_EQ(o.conditions.paperOut, PaperOut::None);
  EXPECT_EQ(o.Identity().serialField, QByteArray("\xC0\xC3" "100482"));
}

TEST(SimOptions, BaudFollowsTheModelUnlessGiven) {
  EXPECT_EQ(Parse({"--model", "4"}).EffectiveBaud(), 9600);
  EXPECT_EQ(Parse({"--model", "9"}).EffectiveBaud(), 115200);
  EXPECT_EQ(Parse({"--model", "9", "--baud", "19200"}).EffectiveBaud(), 19200);
}

TEST(SimOptions, IdentityOverridesAreSentInWindows1251) {
  const SimOptions o = Parse({"--model", "2", "--serial", "AG123456", "--pib", "12", "--firmware", "1.00X,FFFF",
                              "--free-z", "44", "--plu", "3001", "--tax", "000000000", "--header-line",
                              "0=ЮЪ Љ", "--header-line", "5=", "--clock-offset", "-2.5", "--clock-text",
                              "30-02-21 10:00:00"});
  const PrinterIdentity id = o.Identity();
  EXPECT_EQ(id.serialField, QByteArray("AG123456"));
  EXPECT_EQ(id.pibField, QByteArray("12"));
  EXPECT_EQ(id.firmwareVersion, QByteArray("1.00X"));
  EXPECT_EQ(id.firmwareChecksum, QByteArray("FFFF"));
  EXPECT_EQ(id.freeZ, QByteArray("44"));
  EXPECT_EQ(id.plu, QByteArray("3001"));
  EXPECT_EQ(id.tax, QByteArray("000000000"));
  EXPECT_EQ(id.header[0], QByteArray("\xDE\xDA \x8A"));
  EXPECT_EQ(id.header[5], QByteArray());
  EXPECT_EQ(id.header[1], PrinterIdentity::Defaults(2).header[1]);
  EXPECT_EQ(o.clockOffsetMs, -2500);
  EXPECT_EQ(o.clockText, QByteArray("30-02-21 10:00:00"));
}

TEST(SimOptions, StatusConditions) {
  const SimOptions o = Parse({"--paper-out", "journal:3", "--display-missing", "--clock-not-set", "--general-error",
                              "--status-bit", "5.3", "--status-bit", "1.5"});
  EXPECT_EQ(o.conditions.paperOut, PaperOut::Journal);
  EXPECT_EQ(o.conditions.paperOutReplies, 3);
  EXPECT_TRUE(o.conditions.displayMissing);
  EXPECT_TRUE(o.conditions.clockNotSet);
  EXPECT_TRUE(o.conditions.generalError);
  EXPECT_EQ(o.conditions.extra, (StatusBits{0, 0x20, 0, 0, 0, 0x08}));
  EXPECT_EQ(Parse({"--paper-out", "receipt"}).conditions.paperOutReplies, -1);
}

TEST(SimOptions, FaultCommandScopesOnlyFaultsThatNameNone) {
  const SimOptions o =
      Parse({"--fault", "silent:1", "--fault", "nak@90", "--fault-command", "83", "--busy-ms", "250",
             "--busy-byte", "0x07", "--noise-count", "3", "--truncate-by", "4", "--short-length-byte", "0"});
  ASSERT_EQ(o.faults.size(), 2u);
  EXPECT_EQ(o.faults[0].kind, FaultKind::Silent);
  EXPECT_EQ(o.faults[0].remaining, 1);
  EXPECT_EQ(o.faults[0].command, 83);
  EXPECT_EQ(o.faults[1].command, 90);
  EXPECT_EQ(o.faultSettings.busyMs, 250);
  EXPECT_EQ(o.faultSettings.busyByte, 0x07);
  EXPECT_EQ(o.faultSettings.noiseCount, 3);
  EXPECT_EQ(o.faultSettings.truncateBy, 4);
  EXPECT_EQ(o.faultSettings.shortLengthByte, 0);
}

TEST(SimOptions, BadLinesAreRefusedWithAReason) {
  const QList<QStringList> bad = {
      {"--model", "16"},         {"--model", "x"},           {"--baud", "0"},
      {"--turnaround-ms", "-1"}, {"--header-line", "6=x"},  {"--header-line", "text"},
      {"--serial", "Šabac"},     {"--paper-out", "roll"},    {"--paper-out", "receipt:0"},
      {"--status-bit", "6.0"},   {"--fault", "sometimes"},  {"--short-length-byte", "0x20"},
      {"--clock-offset", "soon"}, {"--header-line", "1=" + QString(213, 'x')}, {"stray"},
      {"--no-such-option"},
  };
  for (const QStringList& args : bad) {
    const ParsedOptions parsed = ParseOptions(args);
    EXPECT_FALSE(parsed.options) << args.join(' ').toStdString();
    EXPECT_FALSE(parsed.error.isEmpty()) << args.join(' ').toStdString();
  }
}

TEST(SimOptions, HelpNamesEveryFaultKind) {
  EXPECT_TRUE(ParseOptions({"--help"}).help);
  const QString help = QString::fromUtf8(HelpText());
  for (const char* kind :
       {"silent", "nak", "noise", "wrong-seq", "wrong-checksum", "truncated", "short-length", "busy"})
    EXPECT_TRUE(help.contains(QString::fromLatin1(kind))) << kind;
}

}  // namespace
}  // namespace pralix::sim
