// The guarded command path: paper-out loop, quitting on a lost printer, and
// failures raised as errors with the title and the code's text.

#include <gtest/gtest.h>

#include "form_fp_harness.h"

namespace pralix {
namespace {

using test::FormFPHarness;
using test::kSilence;
using test::RecordingUi;
using test::Reply;

const QByteArray kTwelveZeros = "000000000000";

QString PaperText() { return QString::fromLatin1(GlobalMsg.Get(3)); }

TEST(GuardedCommand, SuccessReturnsWithTheReplyAndShowsNothing) {
  FormFPHarness h;
  h.AnswerAlways(Reply("12-05-19 10:00:00"));
  h.fp.SendCommand(62, "", "Komanda 62");
  EXPECT_EQ(h.fp.FPCmd.ErrorCode, kOk);
  EXPECT_EQ(h.fp.FPCmd.ReplyData, "12-05-19 10:00:00");
  EXPECT_EQ(h.fp.LastCommand, 62);
  EXPECT_EQ(h.fp.LastData, "");
  EXPECT_TRUE(h.ui.calls.empty());
}

TEST(GuardedCommand, PaperReplacedThenTheRepeatedCommandsReplyIsReturned) {
  FormFPHarness h;
  h.Answer({Reply("first", {{2, 0}}), Reply("second")});
  bool mutexHeldWhileAsking = false;
  h.ui.onImportantMessage = [&](const QString&, const QString&) { mutexHeldWhileAsking = h.mutex.held; };

  h.fp.SendCommand(90, "1", "Komanda 90");

  EXPECT_EQ(h.fp.FPCmd.ErrorCode, kOk);
  EXPECT_EQ(h.fp.FPCmd.ReplyData, "second");
  EXPECT_EQ(h.ui.importantCaptions(), QStringList({"MSG - 1003"}));
  EXPECT_EQ(h.ui.importantTexts(), QStringList({PaperText()}));
  EXPECT_TRUE(mutexHeldWhileAsking);
  EXPECT_EQ(h.ui.quitRequests, 0);
  // The same command again, as a new exchange with its own sequence number.
  ASSERT_EQ(h.port.writes().size(), 2u);
  EXPECT_EQ(h.writtenCommands(), std::vector<int>({90, 90}));
  EXPECT_EQ(test::RequestData(h.port.writes()[1]), "1");
  EXPECT_NE(h.port.writes()[0][2], h.port.writes()[1][2]);
}

TEST(GuardedCommand, PaperIsAskedForAfterEveryRepetitionThatStillLacksIt) {
  FormFPHarness h;
  const auto journalOut = Reply("", {{2, 0}, {2, 2}});
  h.Answer({journalOut, journalOut, journalOut, Reply("ok")});
  std::vector<int> writesWhenAsked;
  h.ui.onImportantMessage = [&](const QString&, const QString&) { writesWhenAsked.push_back(int(h.port.writes().size())); };

  h.fp.SendCommand(83, "", "Komanda 83");

  EXPECT_EQ(h.ui.count(RecordingUi::Kind::ImportantMessage), 3);
  EXPECT_EQ(h.ui.importantCaptions(), QStringList({"MSG - 1003", "MSG - 1003", "MSG - 1003"}));
  // Each dialog follows the exchange that reported paper out.
  EXPECT_EQ(writesWhenAsked, std::vector<int>({1, 2, 3}));
  EXPECT_EQ(h.port.writes().size(), 4u);
  EXPECT_EQ(h.fp.FPCmd.ReplyData, "ok");
}

TEST(GuardedCommand, PrinterLostAfterPaperOutQuitsAndRaises) {
  FormFPHarness h;
  h.Answer({Reply("", {{2, 0}}), kSilence});
  try {
    h.fp.SendCommand(62, "", "Komanda 62");
    FAIL() << "no error raised";
  } catch (const CommandError& e) {
    EXPECT_EQ(QByteArray(e.what()),
              "Komanda 62\nStampac se ne javlja - proverite stampac i kabl!\n\nStatus: " + kTwelveZeros);
  }
  EXPECT_EQ(h.fp.FPCmd.ErrorCode, kNoAnswer);
  EXPECT_EQ(h.ui.quitRequests, 1);
  // The paper request came first, then the quit request.
  ASSERT_EQ(h.ui.calls.size(), 2u);
  EXPECT_EQ(h.ui.calls[0].kind, RecordingUi::Kind::ImportantMessage);
  EXPECT_EQ(h.ui.calls[1].kind, RecordingUi::Kind::Quit);
  EXPECT_EQ(h.port.writes().size(), 1u + 4u);  // the paper-out exchange, then four silent attempts
}

TEST(GuardedCommand, GeneralErrorRaisesWithTheStatusBytesAndTheProgramGoesOn) {
  FormFPHarness h;
  h.AnswerAlways(Reply("x", {{0, 5}, {0, 0}, {1, 1}, {2, 3}, {3, 0}, {3, 1}, {3, 2}, {3, 3}, {3, 4}, {3, 5}, {5, 4}}));
  try {
    h.fp.SendCommand(83, "", "Komanda 83");
    FAIL() << "no error raised";
  } catch (const CommandError& e) {
    EXPECT_EQ(QByteArray(e.what()), "Komanda 83\nGreska 100!\n\nStatus: 2102083F0010");
  }
  EXPECT_EQ(h.ui.quitRequests, 0);
  EXPECT_TRUE(h.ui.calls.empty());
  EXPECT_EQ(h.fp.FPCmd.ReplyData, "x");
}

// A reply frame the engine refuses every time: the wrong sequence byte.
QByteArray StaleReplyTo(const QByteArray& request) {
  QByteArray stale = request;
  stale[2] = char(request[2] == 0x20 ? 0x7F : request[2] - 1);
  return test::ReplyTo(stale, {"late"});
}

TEST(GuardedCommand, CommunicationFailuresQuitOthersOnlyRaise) {
  using Response = test::ScriptedPort::Response;
  struct Case {
    const char* name;
    test::ScriptedPort::Responder responder;
    QByteArray data;
    qint32 code;
    const char* text;
    bool quits;
  };
  const Case cases[] = {
      {"silent printer", [](const QByteArray&) { return Response{}; }, "", kNoAnswer, "Stampac se ne javlja - proverite stampac i kabl!", true},
      {"NAK storm", [](const QByteArray&) { return Response{{1, "\x15"}}; }, "", kNakStorm, "Stampac javlja greske u komunikaciji - proverite kabl!", true},
      {"start without length", [](const QByteArray&) { return Response{{1, "\x01"}}; }, "", kNoLength, "Stampac je prestao da se javlja - proverite stampac i kabl!", true},
      {"frame cut short", [](const QByteArray& r) { return Response{{1, test::ReplyTo(r, {"abc"}).left(8)}}; }, "",
       kIncompleteFrame, "Stampac je prestao da se javlja - proverite stampac i kabl!", true},
      {"length below 0x20", [](const QByteArray&) { return Response{{1, QByteArray("\x01\x1F", 2)}}; }, "",
       kBadLength, "Stampac je vratio duzinu 31 - van opsega!", false},
      {"stale replies only", [](const QByteArray& r) { return Response{{1, StaleReplyTo(r)}}; }, "", kInconsistent,
       "Stampac vraca nekonzistentne podatke!", false},
      {"request too long", [](const QByteArray&) { return Response{}; }, QByteArray(205, 'A'), kRequestTooLong,
       "Zadato previse podataka!", false},
      {"display missing",
       [](const QByteArray& r) { return Response{{1, test::ReplyTo(r, Reply("", {{0, 5}, {0, 3}}))}}; }, "",
       kDisplayMissing, "Povezite Display za kupca sa Stampacem!", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FormFPHarness h;
    h.port.setResponder(c.responder);
    try {
      h.fp.SendCommand(62, c.data, "Komanda 62");
      ADD_FAILURE() << "no error raised";
    } catch (const CommandError& e) {
      EXPECT_EQ(h.fp.FPCmd.ErrorCode, c.code);
      EXPECT_TRUE(QByteArray(e.what()).startsWith(QByteArray("Komanda 62\n") + c.text + "\n\nStatus: "))
          << e.what();
      EXPECT_EQ(QByteArray(e.what()), "Komanda 62\n" + h.fp.FPCmd.ErrorText());
    }
    EXPECT_EQ(h.ui.quitRequests, c.quits ? 1 : 0);
    EXPECT_EQ(h.fp.IsCommFailure(), c.quits);
    EXPECT_EQ(h.ui.count(RecordingUi::Kind::ImportantMessage), 0);
  }
}

TEST(GuardedCommand, PortThatWillNotOpenPassesItsErrorThrough) {
  FormFPHarness h;
  h.port.refuseOpen = true;
  EXPECT_THROW(h.fp.SendCommand(62, "", "Komanda 62"), PortOpenError);
  EXPECT_TRUE(h.port.writes().empty());
  EXPECT_TRUE(h.ui.calls.empty());
  EXPECT_EQ(h.fp.LastCommand, 62);
}

TEST(GuardedCommand, PaperAndFailureClassesFollowTheCode) {
  FormFPHarness h;
  for (qint32 code = -1; code <= 101; ++code) {
    h.fp.FPCmd.ErrorCode = code;
    EXPECT_EQ(h.fp.IsPaperOut(), code == 98 || code == 99) << code;
    EXPECT_EQ(h.fp.IsCommFailure(), code == 3 || code == 4 || code == 5 || code == 7) << code;
  }
}

TEST(GuardedCommand, WaitForPaperRepeatsTheLastCommandAndTellsHowItEnded) {
  struct Case {
    const char* name;
    qint32 codeBefore;
    std::optional<test::PrinterReply> answer;
    int dialogs;
    bool result;
  };
  const Case cases[] = {
      {"paper back", kNoReceiptPaper, Reply("ok"), 1, true},
      {"journal back", kNoJournalPaper, Reply("ok"), 1, true},
      {"other failure after the paper", kNoReceiptPaper, Reply("", {{0, 5}}), 1, false},
      {"paper was never out", kOk, Reply("unused"), 0, true},
      {"another code before", kGeneralError, Reply("unused"), 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FormFPHarness h;
    h.Answer({c.answer});
    h.fp.LastCommand = 107;
    h.fp.LastData = "I";
    h.fp.FPCmd.ErrorCode = c.codeBefore;
    EXPECT_EQ(h.fp.WaitForPaper(), c.result);
    EXPECT_EQ(h.ui.count(RecordingUi::Kind::ImportantMessage), c.dialogs);
    EXPECT_EQ(int(h.port.writes().size()), c.dialogs);
    if (c.dialogs > 0) {
      EXPECT_EQ(h.writtenCommands(), std::vector<int>({107}));
      EXPECT_EQ(test::RequestData(h.port.writes()[0]), "I");
    }
  }
}

TEST(StatusNames, ReachableThroughTheLinkOwner) {
  EXPECT_STREQ(TFormFP::StatusByteNames[0], "0 - General");
  EXPECT_STREQ(TFormFP::StatusByteNames[4], "4 - FiscalMemory");
  EXPECT_STREQ(TFormFP::StatusByteNames[5], "5 - FiscalMem");
  EXPECT_STREQ(TFormFP::StatusBitNames[0][2], "DateTime Not Set");
  EXPECT_STREQ(TFormFP::StatusBitNames[0][3], "Display Not Conn");
  EXPECT_STREQ(TFormFP::StatusBitNames[0][5], "GeneralError#");
  EXPECT_STREQ(TFormFP::StatusBitNames[2][0], "#NoPaper");
  EXPECT_STREQ(TFormFP::StatusBitNames[2][2], "NoPaperJrnl");
  EXPECT_STREQ(TFormFP::StatusBitNames[3][1], "Jrnl 100% height");
  EXPECT_STREQ(TFormFP::StatusBitNames[5][5], "SerialProgramm");
}

}  // namespace
}  // namespace pralix
