// The command catalogue: what each sender puts on the wire, what each reader
// takes from the reply, and the failure dialog and default of each reader.

#include <gtest/gtest.h>

#include "commands/date_time_value.h"
#include "form_fp_harness.h"

namespace pralix {
namespace {

using test::FormFPHarness;
using test::kSilence;
using test::RecordingUi;
using test::Reply;

const QString kSilentText = "\nStampac se ne javlja - proverite stampac i kabl!\n\nStatus: 000000000000";
const QString kClockNotSetText = "FP Date and Time has not been set!\n\nCall fiscal service!";

TEST(CommandSenders, CommandNumbersDataAndTitles) {
  struct Case {
    void (TFormFP::*sender)();
    int command;
    QByteArray data;
    const char* title;
  };
  const Case cases[] = {
      {&TFormFP::Cmd90, 90, "1", "Komanda 90"},
      {&TFormFP::Cmd99, 99, "", "Komanda 99"},
      {&TFormFP::Cmd62, 62, "", "Komanda 62"},
      {&TFormFP::Cmd83, 83, "", "Komanda 83"},
      {&TFormFP::Cmd71, 71, "", "Komanda 71 - Diagnostika stampaca"},
      {&TFormFP::Cmd107I, 107, "I", "Komanda 107I"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    FormFPHarness ok;
    ok.AnswerAlways(Reply("reply"));
    (ok.fp.*c.sender)();
    ASSERT_EQ(ok.port.writes().size(), 1u);
    EXPECT_EQ(test::RequestCommand(ok.port.writes()[0]), c.command);
    EXPECT_EQ(test::RequestData(ok.port.writes()[0]), c.data);
    EXPECT_EQ(ok.fp.LastCommand, c.command);
    EXPECT_EQ(ok.fp.LastData, c.data);
    EXPECT_EQ(ok.fp.FPCmd.ReplyData, "reply");

    // A sender shows nothing itself: its failure reaches the caller.
    FormFPHarness failing;
    failing.AnswerAlways(Reply("", {{0, 5}}));
    try {
      (failing.fp.*c.sender)();
      ADD_FAILURE() << "no error raised";
    } catch (const CommandError& e) {
      EXPECT_TRUE(QByteArray(e.what()).startsWith(QByteArray(c.title) + "\nGreska 100!")) << e.what();
    }
    EXPECT_TRUE(failing.ui.calls.empty());
  }
}

// Every reader on a printer that never answers: its failure text is shown
// once, the program is asked to quit, and the default comes back.
TEST(CommandReaders, SilentPrinterGivesDefaultsAfterTheFailureText) {
  FormFPHarness h;
  h.Answer({kSilence});
  EXPECT_EQ(h.fp.GetIBFM(), "");
  EXPECT_EQ(h.fp.GetPIB(), "");
  EXPECT_EQ(h.fp.GetFPDateTime(), 0.0);
  EXPECT_FALSE(h.fp.IsDateTimeSet());
  EXPECT_EQ(h.fp.GetTax(), "000000000");
  EXPECT_EQ(h.fp.GetPluNumber(), -1);
  EXPECT_EQ(h.ui.importantCaptions(), QVector<QString>(6, QStringLiteral("MSG - 9999")).toList());
  EXPECT_EQ(h.ui.importantTexts(),
            QStringList({"Komanda 90" + kSilentText, "Komanda 99" + kSilentText, "Komanda 62" + kSilentText,
                         "Komanda 62" + kSilentText, "Komanda 83" + kSilentText, "Komanda 107I" + kSilentText}));
  EXPECT_EQ(h.ui.quitRequests, 6);
  // Each failure text follows its own quit request.
  for (size_t i = 0; i + 1 < h.ui.calls.size(); i += 2) {
    EXPECT_EQ(h.ui.calls[i].kind, RecordingUi::Kind::Quit);
    EXPECT_EQ(h.ui.calls[i + 1].kind, RecordingUi::Kind::ImportantMessage);
  }
}

TEST(CommandReaders, TaxFailureShowsTheCommand83TextOnce) {
  FormFPHarness h;
  h.AnswerAlways(Reply("", {{0, 5}, {1, 5}}));
  EXPECT_EQ(h.fp.GetTax(), "000000000");
  ASSERT_EQ(h.ui.calls.size(), 1u);
  EXPECT_TRUE(h.ui.calls[0].text.startsWith("Komanda 83\nGreska 100!\n\nStatus: 202000000000"))
      << h.ui.calls[0].text.toStdString();
  EXPECT_EQ(h.ui.quitRequests, 0);
}

TEST(CommandReaders, PortThatWillNotOpenIsShownLikeAFailedCommand) {
  FormFPHarness h;
  h.port.refuseOpen = true;
  EXPECT_EQ(h.fp.GetPluNumber(), -1);
  ASSERT_EQ(h.ui.count(RecordingUi::Kind::ImportantMessage), 1);
  EXPECT_EQ(h.ui.calls[0].caption, "MSG - 9999");
  EXPECT_EQ(h.ui.quitRequests, 0);
}

TEST(CommandReaders, SerialIsField4Whole) {
  struct Case {
    QByteArray reply;
    QByteArray expected;
  };
  const Case cases[] = {
      {"V1.20,18-04-23,x,y,AB123456,,tail", "AB123456"},
      {"a,b,c,d,\xC0\xC1 12", "\xC0\xC1 12"},  // raw printer bytes, decoded by the caller
      {"a,b,c,d", ""},                         // fewer than four commas
      {"a,b,c,d,", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    FormFPHarness h;
    h.AnswerAlways(Reply(c.reply));
    EXPECT_EQ(h.fp.GetIBFM(), c.expected) << c.reply.toStdString();
    EXPECT_TRUE(h.ui.calls.empty());
  }
}

TEST(CommandReaders, PibIsAtMostNineCharactersOfField0) {
  struct Case {
    QByteArray reply;
    QByteArray expected;
  };
  const Case cases[] = {
      {"123456789012,x", "123456789"}, {"12345", "12345"}, {"123456789", "123456789"}, {"", ""}, {",123", ""},
  };
  for (const Case& c : cases) {
    FormFPHarness h;
    h.AnswerAlways(Reply(c.reply));
    EXPECT_EQ(h.fp.GetPIB(), c.expected) << c.reply.toStdString();
    EXPECT_TRUE(h.ui.calls.empty());
  }
}

TEST(CommandReaders, DateAndTimeFromTheWholeReply) {
  struct Case {
    QByteArray reply;
    const char* expected;  // empty: value 0
  };
  const Case cases[] = {
      {"31-12-99 23:59:59", "2099-12-31 23:59:59"},
      {"01-01-00 00:00:00", "2000-01-01 00:00:00"},
      {"30-02-21 10:00:00", ""},
      {"10-05-21 24:00:00", ""},
      {"10-05-21 10:00", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reply.toStdString());
    FormFPHarness h;
    h.AnswerAlways(Reply(c.reply));
    const double value = h.fp.GetFPDateTime();
    if (*c.expected == '\0') {
      EXPECT_EQ(value, 0.0);
    } else {
      EXPECT_EQ(ValueToDateTime(value).toString("yyyy-MM-dd hh:mm:ss"), c.expected);
    }
    EXPECT_TRUE(h.ui.calls.empty()) << "an unreadable date shows nothing";
    EXPECT_EQ(h.writtenCommands(), std::vector<int>({62}));
  }
}

TEST(CommandReaders, ClockStateFromTheDateTimeNotSetBit) {
  FormFPHarness set;
  set.AnswerAlways(Reply("10-05-21 10:00:00", {{0, 3}, {2, 1}}));  // other bits change nothing
  EXPECT_TRUE(set.fp.IsDateTimeSet());
  EXPECT_TRUE(set.ui.calls.empty());

  FormFPHarness notSet;
  notSet.AnswerAlways(Reply("01-01-00 00:00:00", {{0, 2}}));
  EXPECT_FALSE(notSet.fp.IsDateTimeSet());
  EXPECT_EQ(notSet.ui.importantCaptions(), QStringList({"MSG - 9999"}));
  EXPECT_EQ(notSet.ui.importantTexts(), QStringList({kClockNotSetText}));
  EXPECT_EQ(notSet.writtenCommands(), std::vector<int>({62}));

  FormFPHarness failed;
  failed.AnswerAlways(Reply("", {{0, 2}, {0, 5}}));
  EXPECT_FALSE(failed.fp.IsDateTimeSet());
  ASSERT_EQ(failed.ui.importantTexts().size(), 1) << "only the failure text, not the clock text";
  EXPECT_TRUE(failed.ui.importantTexts()[0].startsWith("Komanda 62\nGreska 100!"));
}

TEST(CommandReaders, DisplayStateComesOnlyFromAReplyThePrinterSent) {
  struct Case {
    const char* name;
    std::vector<std::optional<test::PrinterReply>> answers;
    bool expected;
    int dialogs;  // paper requests only
  };
  const Case cases[] = {
      {"display connected", {Reply("10-05-21 10:00:00")}, true, 0},
      {"display missing reported with an error", {Reply("", {{0, 5}, {0, 3}})}, false, 0},
      {"display bit without an error", {Reply("", {{0, 3}})}, false, 0},
      {"general error, display connected", {Reply("", {{0, 5}})}, true, 0},
      {"no reply at all", {kSilence}, false, 0},
      {"only NAKs", {}, false, 0},
      {"paper out first, then display missing", {Reply("", {{2, 0}}), Reply("", {{0, 5}, {0, 3}})}, false, 1},
      {"paper out first, then fine", {Reply("", {{2, 0}, {2, 2}}), Reply("")}, true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FormFPHarness h;
    if (c.answers.empty()) {
      h.port.setResponder([](const QByteArray&) { return test::ScriptedPort::Response{{1, "\x15"}}; });
    } else {
      h.Answer(c.answers);
    }
    EXPECT_EQ(h.fp.IsDisplayOK(), c.expected);
    EXPECT_EQ(h.ui.count(RecordingUi::Kind::ImportantMessage), c.dialogs);
    EXPECT_EQ(h.ui.importantCaptions(), QVector<QString>(c.dialogs, QStringLiteral("MSG - 1003")).toList());
  }
}

TEST(CommandReaders, DisplayCheckAfterAnEarlierGoodReplyStillNeedsItsOwn) {
  FormFPHarness h;
  h.Answer({Reply("10-05-21 10:00:00"), kSilence});
  EXPECT_TRUE(h.fp.IsDateTimeSet());
  EXPECT_FALSE(h.fp.IsDisplayOK());

  FormFPHarness closed;
  closed.AnswerAlways(Reply(""));
  EXPECT_TRUE(closed.fp.IsDisplayOK());
  closed.port.close();
  closed.port.refuseOpen = true;
  EXPECT_FALSE(closed.fp.IsDisplayOK()) << "stale bits of the previous reply must not answer";
  EXPECT_TRUE(closed.ui.calls.empty());
}

TEST(CommandReaders, TaxGroupsAreField1Whole) {
  FormFPHarness h;
  h.AnswerAlways(Reply("P,110100000,x"));
  EXPECT_EQ(h.fp.GetTax(), "110100000");
  FormFPHarness shortReply;
  shortReply.AnswerAlways(Reply("P"));
  EXPECT_EQ(shortReply.fp.GetTax(), "");
  EXPECT_TRUE(shortReply.ui.calls.empty());
}

TEST(CommandReaders, ArticleCountIsField2ReadLikeAtol) {
  struct Case {
    QByteArray reply;
    qint32 expected;
  };
  const Case cases[] = {
      {"I,1000,42", 42}, {"I,1000, 17 used", 17}, {"I,1000,-3", -3}, {"I,1000,", 0},
      {"I,1000", 0},  // empty field 2 is 0, not the failure default
      {"I,1000,abc", 0},
  };
  for (const Case& c : cases) {
    FormFPHarness h;
    h.AnswerAlways(Reply(c.reply));
    EXPECT_EQ(h.fp.GetPluNumber(), c.expected) << c.reply.toStdString();
    EXPECT_EQ(h.writtenCommands(), std::vector<int>({107}));
    EXPECT_TRUE(h.ui.calls.empty());
  }
}

TEST(CommandReaders, ReaderAfterPaperOutReadsTheRepeatedReply) {
  FormFPHarness h;
  h.Answer({Reply("", {{2, 0}}), Reply("A,B,C,D,SERIAL99")});
  EXPECT_EQ(h.fp.GetIBFM(), "SERIAL99");
  EXPECT_EQ(h.ui.importantCaptions(), QStringList({"MSG - 1003"}));
}

}  // namespace
}  // namespace pralix
