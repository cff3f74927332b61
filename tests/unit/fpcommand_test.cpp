// The command object: status-bit codes, fields, texts and opening the port.

#include <gtest/gtest.h>

#include "link/P00_fpcommand.h"
#include "link/P00_fpsend.h"
#include "scripted_port.h"

namespace pralix {
namespace {

using test::PrinterReply;
using test::ScriptedPort;

class FPCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SequenceNumber = 0x1F;
    LinkPort = &port;
  }
  void TearDown() override { LinkPort = nullptr; }

  void Reply(const QByteArray& data, std::initializer_list<std::pair<int, int>> bits = {}) {
    PrinterReply r{data};
    for (auto [byte, bit] : bits) r.status[byte] |= quint8(1 << bit);
    port.setResponder(test::PrinterResponder([r](int, QByteArray) { return r; }));
  }

  ScriptedPort port;
  FPCommand00 cmd;
};

TEST_F(FPCommandTest, StatusBitsBecomeResultCodes) {
  struct Case {
    const char* name;
    std::initializer_list<std::pair<int, int>> bits;
    int code;
  };
  const Case cases[] = {
      {"no bits", {}, kOk},
      {"receipt paper out", {{2, 0}}, kNoReceiptPaper},
      {"journal paper out", {{2, 0}, {2, 2}}, kNoJournalPaper},
      {"journal bit alone means nothing", {{2, 2}}, kOk},
      {"general error", {{0, 5}}, kGeneralError},
      {"display missing", {{0, 5}, {0, 3}}, kDisplayMissing},
      {"display bit alone means nothing", {{0, 3}}, kOk},
      {"paper wins over general error", {{0, 5}, {2, 0}}, kNoReceiptPaper},
      {"paper wins over display", {{0, 5}, {0, 3}, {2, 0}, {2, 2}}, kNoJournalPaper},
      {"clock not set is no error", {{0, 2}}, kOk},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reply("12-05-19 10:00:00", c.bits);
    cmd.Execute(62, "");
    EXPECT_EQ(cmd.ErrorCode, c.code);
    EXPECT_EQ(cmd.ReplyData, "12-05-19 10:00:00") << "the reply stays stored";
  }
}

TEST_F(FPCommandTest, ErrorTextsCarryTheStatusBytes) {
  Reply("", {{0, 5}, {2, 1}, {5, 3}});
  cmd.Execute(62, "");
  EXPECT_EQ(cmd.ErrorText(), "Greska 100!\n\nStatus: 200002000008");
  Reply("", {{2, 0}, {2, 2}});
  cmd.Execute(62, "");
  EXPECT_EQ(cmd.ErrorText(), "Nema JOURNAL papira!\n\nStatus: 000005000000");
  Reply("", {});
  cmd.Execute(62, "");
  EXPECT_EQ(cmd.ErrorText(), "");
  cmd.ErrorCode = 42;
  EXPECT_EQ(cmd.ErrorText(), "Nepoznata greska (42)!\n\nStatus: 000000000000");
  cmd.ErrorCode = kDisplayMissing;
  EXPECT_EQ(cmd.ErrorText().left(40), "Povezite Display za kupca sa Stampacem!\n");
}

TEST_F(FPCommandTest, FieldsSplitAtCommas) {
  struct Case {
    QByteArray reply;
    int index;
    QByteArray field;
  };
  QByteArray many;
  for (int i = 0; i < 25; ++i) many += QByteArray::number(i) + ",";
  const Case cases[] = {
      {"a,b", 0, "a"},       {"a,b", 1, "b"},         {"a,b", 2, ""},      {"a,b", 3, ""},
      {"a,,c", 1, ""},       {"a,,c", 2, "c"},        {"", 0, ""},         {",", 1, ""},
      {"a,b", -1, ""},       {"a,b", 20, ""},         {many, 18, "18"},
      {many, 19, "19,20,21,22,23,24,"},  // the rest, commas included
  };
  for (const Case& c : cases) {
    Reply(c.reply);
    cmd.Execute(90, "1");
    EXPECT_EQ(cmd.Field(c.index), c.field) << c.reply.constData() << " [" << c.index << "]";
  }
}

TEST_F(FPCommandTest, FieldFollowsTheCurrentReplyEvenWithTheSameSequenceByte) {
  Reply("old,fields");
  cmd.Execute(90, "1");
  ASSERT_EQ(cmd.ReplySeq, 0x20);
  ASSERT_EQ(cmd.Field(0), "old");
  // The next exchange only sees a stale frame still carrying sequence 0x20:
  // it fails, ReplySeq is 0x20 again, and no field may come from "old,fields".
  port.setResponder([](const QByteArray&) {
    PrinterReply r{"stale"};
    const QByteArray request = QByteArray::fromHex("0124203e053030383703");
    return ScriptedPort::Response{{5, test::ReplyTo(request, r)}};
  });
  cmd.Execute(62, "");
  ASSERT_NE(cmd.ErrorCode, kOk);
  ASSERT_EQ(cmd.ReplySeq, 0x20);
  EXPECT_EQ(cmd.Field(0), "");
  EXPECT_EQ(cmd.Field(1), "");
}

TEST_F(FPCommandTest, ExecuteOpensAClosedPortOnceAndLeavesItOpen) {
  Reply("x");
  cmd.Execute(62, "");
  cmd.Execute(62, "");
  EXPECT_EQ(port.openCount(), 1);
  EXPECT_TRUE(port.isOpen());
}

TEST_F(FPCommandTest, PortThatCannotOpenRaisesAndSendsNothing) {
  port.refuseOpen = true;
  EXPECT_THROW(cmd.Execute(62, ""), PortOpenError);
  EXPECT_TRUE(port.writes().empty());
  EXPECT_EQ(SequenceNumber, 0x1F) << "no exchange took place";
}

TEST_F(FPCommandTest, ExecuteTextIsExecuteWithADecimalCommand) {
  Reply("x");
  cmd.ExecuteText("62", "");
  FPCommand00 other;
  SequenceNumber = 0x1F;
  ScriptedPort second;
  second.setResponder(test::PrinterResponder([](int, QByteArray) { return PrinterReply{"x"}; }));
  LinkPort = &second;
  other.Execute(62, "");
  EXPECT_EQ(port.writes(), second.writes());
  EXPECT_EQ(cmd.Command, 62);
  EXPECT_THROW(cmd.ExecuteText("6x", ""), std::invalid_argument);
  EXPECT_THROW(cmd.ExecuteText("", ""), std::invalid_argument);
  EXPECT_EQ(second.writes().size(), 1u) << "a bad command text sends nothing";
}

TEST_F(FPCommandTest, DataEndsAtAZeroByteAndTooLongDataIsCode2) {
  Reply("x");
  cmd.Execute(43, QByteArray("I0\0junk", 7));
  EXPECT_EQ(cmd.SendData, "I0");
  EXPECT_EQ(test::RequestData(port.writes().back()), "I0");
  cmd.Execute(43, QByteArray(300, 'A'));
  EXPECT_EQ(cmd.ErrorCode, kRequestTooLong);
  EXPECT_EQ(cmd.ErrorText(), "Zadato previse podataka!\n\nStatus: 000000000000");
}

TEST_F(FPCommandTest, ClearResetsTheRequestOnly) {
  Reply("kept");
  cmd.Execute(90, "1");
  cmd.Clear();
  EXPECT_EQ(cmd.Command, 0);
  EXPECT_TRUE(cmd.SendData.isEmpty());
  EXPECT_EQ(cmd.ReplyData, "kept");
}

TEST_F(FPCommandTest, StatusAccessorsOutOfRangeAreZero) {
  Reply("", {{0, 5}});
  cmd.Execute(62, "");
  EXPECT_EQ(cmd.StatusBit(0, 5), 1);
  EXPECT_EQ(cmd.StatusBit(6, 0), 0);
  EXPECT_EQ(cmd.StatusBit(0, -1), 0);
  EXPECT_EQ(cmd.StatusByte(0), 0x20);
  EXPECT_EQ(cmd.StatusByte(6), 0);
}

}  // namespace
}  // namespace pralix
