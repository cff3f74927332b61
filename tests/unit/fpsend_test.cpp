// The exchange engine against a scripted port with a virtual clock.

#include <gtest/gtest.h>

#include "link/P00_fpcommand.h"
#include "link/P00_fpsend.h"
#include "scripted_port.h"

namespace pralix {
namespace {

using test::PrinterReply;
using test::ReplyTo;
using test::ScriptedPort;

class FPSendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SequenceNumber = 0x1F;
    LinkPort = &port;
    port.open();
  }
  void TearDown() override { LinkPort = nullptr; }

  // Runs one exchange without the status-bit codes of Execute.
  FPCommand00& Send(int command, const QByteArray& data = {}) {
    cmd.Command = command;
    cmd.SendData = data;
    FPSend(cmd);
    return cmd;
  }

  // A response that answers the next request validly.
  static ScriptedPort::Response Answer(const QByteArray& request, const QByteArray& data) {
    return {{5, ReplyTo(request, PrinterReply{data})}};
  }
  static ScriptedPort::Response Bytes(const QByteArray& bytes, qint64 delay = 5) { return {{delay, bytes}}; }

  static void AnswerEverythingOn(ScriptedPort& on, const QByteArray& data) {
    on.setResponder(test::PrinterResponder([data](int, QByteArray) { return PrinterReply{data}; }));
  }
  void AnswerEverything(const QByteArray& data) { AnswerEverythingOn(port, data); }

  ScriptedPort port;
  FPCommand00 cmd;
};

TEST_F(FPSendTest, ValidReplyStoresDataStatusAndCodeZero) {
  port.setResponder(test::PrinterResponder([](int command, QByteArray data) {
    EXPECT_EQ(command, 90);
    EXPECT_EQ(data, "1");
    PrinterReply r{"1.22SR 09NOV03 1230,BB78"};
    r.status[0] = 0x04;
    r.status[5] = 0x08;
    return r;
  }));
  Send(90, "1");
  EXPECT_EQ(cmd.ErrorCode, kOk);
  EXPECT_EQ(cmd.ReplyData, "1.22SR 09NOV03 1230,BB78");
  EXPECT_EQ(cmd.Status[0], 0x04);
  EXPECT_TRUE(cmd.StatusBits[0][2]);
  EXPECT_TRUE(cmd.StatusBits[5][3]);
  EXPECT_FALSE(cmd.StatusBits[0][3]);
  ASSERT_EQ(port.writes().size(), 1u);
  EXPECT_EQ(port.writes()[0], QByteArray::fromHex("0125205a310530303d3503"));
}

TEST_F(FPSendTest, SequenceAdvancesPerExchangeAndWrapsTo20) {
  AnswerEverything("");
  SequenceNumber = 0x7E;
  Send(62);
  EXPECT_EQ(cmd.ReplySeq, 0x7F);
  Send(62);
  EXPECT_EQ(cmd.ReplySeq, 0x20);
  EXPECT_EQ(quint8(port.writes()[1][2]), 0x20);
  SequenceNumber = 0x05;  // below the range: also starts over at 0x20
  Send(62);
  EXPECT_EQ(cmd.ReplySeq, 0x20);
}

TEST_F(FPSendTest, SilentPrinterGivesCode3AfterFourAttemptsOfSevenReads) {
  Send(62);
  EXPECT_EQ(cmd.ErrorCode, kNoAnswer);
  EXPECT_EQ(port.writes().size(), 4u);
  EXPECT_EQ(port.readCalls(), 4 * 7);
  EXPECT_EQ(port.nowMs(), 4 * 7 * 200) << "every one-byte read waits 200 ms";
  EXPECT_EQ(port.clearCount(), 4);
  EXPECT_TRUE(cmd.ReplyData.isEmpty());
  EXPECT_EQ(cmd.ErrorText(), "Stampac se ne javlja - proverite stampac i kabl!\n\nStatus: 000000000000");
}

TEST_F(FPSendTest, NegativeAcknowledgements) {
  const QByteArray nak(1, char(kNak));
  struct Case {
    const char* name;
    int naks;             // NAKs before the rest
    bool thenSilent;
    bool thenAnswer;
    int expectedCode;
    size_t expectedWrites;
  };
  const Case cases[] = {
      {"fourth NAK ends at once", 4, false, false, kNakStorm, 4},
      {"five NAKs still four writes", 5, false, false, kNakStorm, 4},
      {"three NAKs then silence", 3, true, false, kNoAnswer, 4},
      {"three NAKs then an answer", 3, false, true, kOk, 4},
      {"one NAK then an answer", 1, false, true, kOk, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedPort fresh;
    LinkPort = &fresh;
    fresh.open();
    for (int i = 0; i < c.naks; ++i) fresh.queue(Bytes(nak));
    if (c.thenAnswer) AnswerEverythingOn(fresh, "ok");
    Send(62);
    EXPECT_EQ(cmd.ErrorCode, c.expectedCode);
    EXPECT_EQ(fresh.writes().size(), c.expectedWrites);
    for (const QByteArray& w : fresh.writes()) EXPECT_EQ(w, fresh.writes()[0]) << "repeats carry the same sequence";
  }
}

TEST_F(FPSendTest, SilentFirstAttemptThenValidReplyClearsTheCode) {
  port.queue({});  // first attempt: nothing comes
  AnswerEverything("x");
  Send(62);
  EXPECT_EQ(cmd.ErrorCode, kOk);
  EXPECT_EQ(cmd.ReplyData, "x");
  EXPECT_EQ(port.writes().size(), 2u);
}

TEST_F(FPSendTest, LengthByteBelow20EndsTheExchangeWithCode6) {
  port.queue(Bytes(QByteArray::fromHex("011f")));
  AnswerEverything("never");
  Send(62);
  EXPECT_EQ(cmd.ErrorCode, kBadLength);
  EXPECT_EQ(cmd.FrameLength, 0x1F);
  EXPECT_EQ(port.writes().size(), 1u);
  EXPECT_EQ(cmd.ErrorText(), "Stampac je vratio duzinu 31 - van opsega!\n\nStatus: 000000000000");
}

TEST_F(FPSendTest, MissingLengthByteGivesCode5) {
  for (int i = 0; i < 4; ++i) port.queue(Bytes(QByteArray(1, char(kFrameStart))));
  Send(62);
  EXPECT_EQ(cmd.ErrorCode, kNoLength);
  EXPECT_EQ(port.writes().size(), 4u);
}

TEST_F(FPSendTest, FrameCutShortGivesCode7) {
  // Start and length arrive, then only part of the rest: six read calls pass
  // without completing the frame.
  for (int i = 0; i < 4; ++i) port.queue(Bytes(QByteArray::fromHex("012b203e04")));
  Send(62);
  EXPECT_EQ(cmd.ErrorCode, kIncompleteFrame);
  EXPECT_EQ(cmd.ErrorText().left(59), "Stampac je prestao da se javlja - proverite stampac i kabl!");
}

TEST_F(FPSendTest, RestOfFrameTricklingInSevenPiecesIsCode7EvenWhenComplete) {
  port.setResponder([](const QByteArray& request) {
    const QByteArray frame = ReplyTo(request, PrinterReply{"abcdefghijklmnop"});
    // 01 and LEN at once, then the rest in seven pieces 150 ms apart, each
    // beyond the 100 ms between bytes, so every read call returns a piece.
    ScriptedPort::Response r{{1, frame.left(2)}};
    const QByteArray rest = frame.mid(2);
    const int piece = int(rest.size() + 6) / 7;
    for (int i = 0; i < 7; ++i) r.push_back({150, rest.mid(i * piece, piece)});
    return r;
  });
  Send(62);
  EXPECT_EQ(cmd.ErrorCode, kIncompleteFrame);
  EXPECT_EQ(port.writes().size(), 4u);
}

TEST_F(FPSendTest, RestOfFrameInSixPiecesIsAccepted) {
  port.setResponder([](const QByteArray& request) {
    const QByteArray frame = ReplyTo(request, PrinterReply{"abcdefghijklmnop"});
    ScriptedPort::Response r{{1, frame.left(2)}};
    const QByteArray rest = frame.mid(2);
    const int piece = int(rest.size() + 5) / 6;
    for (int i = 0; i < 6; ++i) r.push_back({150, rest.mid(i * piece, piece)});
    return r;
  });
  Send(62);
  EXPECT_EQ(cmd.ErrorCode, kOk);
  EXPECT_EQ(cmd.ReplyData, "abcdefghijklmnop");
}

TEST_F(FPSendTest, InvalidFramesOnEveryAttemptGiveCode8) {
  port.setResponder([](const QByteArray& request) {
    QByteArray frame = ReplyTo(request, PrinterReply{"data"});
    frame[frame.size() - 2] = char(frame.at(frame.size() - 2) ^ 0x01);  // checksum off
    return ScriptedPort::Response{{5, frame}};
  });
  Send(62);
  EXPECT_EQ(cmd.ErrorCode, kInconsistent);
  EXPECT_EQ(port.writes().size(), 4u);
  EXPECT_TRUE(cmd.ReplyData.isEmpty());
  EXPECT_EQ(cmd.ErrorText(), "Stampac vraca nekonzistentne podatke!\n\nStatus: 000000000000");
}

TEST_F(FPSendTest, ShortWritesOnEveryAttemptGiveCode8) {
  port.acceptPerWrite = 3;
  Send(62);
  EXPECT_EQ(cmd.ErrorCode, kInconsistent);
  EXPECT_EQ(port.writes().size(), 8u) << "each attempt writes the frame twice";
}

TEST_F(FPSendTest, CodeOfAnEarlierAttemptSurvivesLaterAttemptsThatSetNone) {
  port.queue({});                                                  // attempt 1: silent -> 3
  port.queue(Bytes(QByteArray(1, char(kNak))));                    // attempt 2: NAK, no code
  port.queue(Bytes(QByteArray(1, char(kNak))));                    // attempt 3
  port.queue(Bytes(QByteArray(1, char(kNak))));                    // attempt 4
  Send(62);
  EXPECT_EQ(cmd.ErrorCode, kNoAnswer);
}

TEST_F(FPSendTest, LateReplyToAnEarlierRequestIsDiscardedAndRequestRepeated) {
  // The answer to the previous exchange (seq 0x20) arrives now; the current
  // request (seq 0x21) must not take it, and is written again unchanged.
  port.queue({});
  Send(62);  // seq 0x20, silent
  const QByteArray firstRequest = port.writes()[0];
  int writesBefore = int(port.writes().size());
  port.queue({{5, ReplyTo(firstRequest, PrinterReply{"stale"})}});
  AnswerEverything("fresh");
  Send(62);  // seq 0x21
  EXPECT_EQ(cmd.ErrorCode, kOk);
  EXPECT_EQ(cmd.ReplyData, "fresh");
  EXPECT_EQ(int(port.writes().size()) - writesBefore, 2);
  EXPECT_EQ(port.writes()[writesBefore], port.writes()[writesBefore + 1]);
  EXPECT_EQ(quint8(port.writes()[writesBefore][2]), 0x21);
}

TEST_F(FPSendTest, RequestTooLongSendsNothingAndUsesASequenceNumber) {
  Send(62, QByteArray(kMaxRequestData + 1, 'A'));
  EXPECT_EQ(cmd.ErrorCode, kRequestTooLong);
  EXPECT_TRUE(port.writes().empty());
  EXPECT_EQ(SequenceNumber, 0x20);
  AnswerEverything("");
  Send(62, QByteArray(kMaxRequestData, 'A'));
  EXPECT_EQ(cmd.ErrorCode, kOk);
  EXPECT_EQ(port.writes()[0].size(), 214);
}

TEST_F(FPSendTest, BusyBytesKeepTheEngineWaitingWithoutACode) {
  // 0x16 every 150 ms for 3 s, then the reply: no silent-read count ever
  // reaches seven, so the first attempt goes on and succeeds.
  port.setResponder([](const QByteArray& request) {
    ScriptedPort::Response r;
    for (int i = 0; i < 20; ++i) r.push_back({150, QByteArray(1, char(0x16))});
    r.push_back({150, ReplyTo(request, PrinterReply{"done"})});
    return r;
  });
  Send(62);
  EXPECT_EQ(cmd.ErrorCode, kOk);
  EXPECT_EQ(port.writes().size(), 1u);
  EXPECT_GE(port.nowMs(), 3000);
}

TEST_F(FPSendTest, AfterFailureFrameBytesDescribeTheLastReplyRead) {
  port.setResponder([](const QByteArray& request) {
    QByteArray frame = ReplyTo(request, PrinterReply{"data"});
    frame[3] = char(0x3F);  // other command byte
    return ScriptedPort::Response{{5, frame}};
  });
  Send(62);
  EXPECT_EQ(cmd.ErrorCode, kInconsistent);
  EXPECT_EQ(cmd.ReplyCommand, 0x3F);
  EXPECT_EQ(cmd.ReplySeq, 0x20);
  EXPECT_EQ(cmd.FrameLength, 0x2B + 4);
  for (quint8 s : cmd.Status) EXPECT_EQ(s, 0);
}

}  // namespace
}  // namespace pralix
