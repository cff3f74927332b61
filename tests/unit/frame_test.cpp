// Frame bytes, checksum characters and the reply checks.

#include <gtest/gtest.h>

#include "link/frame.h"

namespace pralix {
namespace {

QByteArray Hex(const char* hex) { return QByteArray::fromHex(hex); }

QByteArray Encode(quint8 seq, quint8 cmd, const QByteArray& data) {
  quint8 buffer[kFrameBufferSize];
  const int n = EncodeRequest(seq, cmd, data, buffer);
  return QByteArray(reinterpret_cast<const char*>(buffer), n);
}

struct RequestCase {
  quint8 seq;
  quint8 command;
  QByteArray data;
  QByteArray frame;
};

TEST(RequestFrame, MatchesKnownFrames) {
  const RequestCase cases[] = {
      {0x20, 62, "", Hex("0124203e0530303837" "03")},
      // Nibble 13 goes out as "=", never as "D".
      {0x21, 90, "1", Hex("0125215a310530303d3603")},
      // 0x25 + 0x7D + 0x6B + 0x49 + 0x05 = 0x015B: nibble 11 is ";".
      {0x7D, 107, "I", Hex("01257d6b4905") + "015;" + Hex("03")},
  };
  for (const RequestCase& c : cases) {
    SCOPED_TRACE(c.frame.toHex().constData());
    EXPECT_EQ(Encode(c.seq, c.command, c.data), c.frame);
  }
}

TEST(RequestFrame, LengthLimits) {
  EXPECT_EQ(Encode(0x20, 62, "").size(), 10);
  const QByteArray longest(kMaxRequestData, 'A');
  const QByteArray frame = Encode(0x20, 62, longest);
  ASSERT_EQ(frame.size(), 214);
  EXPECT_EQ(quint8(frame[1]), 0xF0);
  quint8 buffer[kFrameBufferSize] = {0xAA};
  EXPECT_EQ(EncodeRequest(0x20, 62, QByteArray(kMaxRequestData + 1, 'A'), buffer), 0);
  EXPECT_EQ(buffer[0], 0xAA) << "a refused request writes nothing";
}

TEST(RequestFrame, ChecksumCharactersStayWithinZeroToQuestionMark) {
  // The largest request checksum: 204 bytes of 0xFF.
  const QByteArray frame = Encode(0x7F, 0xFF, QByteArray(kMaxRequestData, char(0xFF)));
  const int sum = 0xF0 + 0x7F + 0xFF + 204 * 0xFF + 0x05;
  const QByteArray chars = frame.mid(frame.size() - 5, 4);
  for (char c : chars) {
    EXPECT_GE(quint8(c), 0x30);
    EXPECT_LE(quint8(c), 0x3F);
  }
  EXPECT_EQ(ReadChecksum(reinterpret_cast<const quint8*>(chars.constData())), sum);
}

TEST(Checksum, ReadUsesLowNibblesOnly) {
  const quint8 upper[] = {'A', '0', '0', '0'};  // 'A' = 0x41 reads as 1
  EXPECT_EQ(ReadChecksum(upper), 0x1000);
  const quint8 colon[] = {'0', '3', '9', '2'};
  EXPECT_EQ(ReadChecksum(colon), 0x0392);
}

// The bytes after the length byte of a reply, and the length byte itself.
struct Body {
  quint8 len;
  QByteArray rest;
};
Body Split(const QByteArray& frame) { return {quint8(frame[1]), frame.mid(2)}; }

ReplyVerdict Check(const QByteArray& frame, quint8 seq, quint8 cmd, ReplyFrame* out) {
  const Body b = Split(frame);
  return CheckReply(b.len, reinterpret_cast<const quint8*>(b.rest.constData()), int(b.rest.size()), seq, cmd, out);
}

TEST(ReplyFrame, KnownEmptyReplyIsValidWithStatusMasked) {
  const QByteArray frame = Hex("012b203e04808080808080053033393203");
  ReplyFrame reply;
  ASSERT_EQ(Check(frame, 0x20, 0x3E, &reply), ReplyVerdict::Valid);
  EXPECT_TRUE(reply.data.isEmpty());
  EXPECT_EQ(reply.checksum, 0x0392);
  for (quint8 s : reply.status) EXPECT_EQ(s, 0);
}

TEST(ReplyFrame, StatusBitsSixAndSevenAreDropped) {
  const quint8 raw[6] = {0xC5, 0x80, 0xFF, 0x3F, 0x40, 0x81};
  ReplyFrame reply;
  ASSERT_EQ(Check(EncodeReply(0x30, 90, "a,b", raw), 0x30, 90, &reply), ReplyVerdict::Valid);
  const quint8 expected[6] = {0x05, 0x00, 0x3F, 0x3F, 0x00, 0x01};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(reply.status[i], expected[i]) << i;
  EXPECT_EQ(reply.data, "a,b");
}

TEST(ReplyFrame, MarkersInsideDataAreData) {
  const quint8 raw[6] = {0x80, 0x80, 0x80, 0x80, 0x80, 0x80};
  const QByteArray data = QByteArray("x") + char(0x04) + char(0x05) + char(0x03) + "y";
  ReplyFrame reply;
  ASSERT_EQ(Check(EncodeReply(0x21, 43, data, raw), 0x21, 43, &reply), ReplyVerdict::Valid);
  EXPECT_EQ(reply.data, data);
}

TEST(ReplyFrame, DataEndsAtFirstZeroByte) {
  const quint8 raw[6] = {0x80, 0x80, 0x80, 0x80, 0x80, 0x80};
  ReplyFrame reply;
  ASSERT_EQ(Check(EncodeReply(0x21, 43, QByteArray("ab\0cd", 5), raw), 0x21, 43, &reply), ReplyVerdict::Valid);
  EXPECT_EQ(reply.data, "ab");
}

TEST(ReplyFrame, InvalidReplies) {
  const quint8 raw[6] = {0x80, 0x80, 0x80, 0x80, 0x80, 0x80};
  const QByteArray good = EncodeReply(0x22, 62, "12-05-19 10:00:00", raw);
  QByteArray badChecksum = good;
  badChecksum[badChecksum.size() - 2] = char(badChecksum.at(badChecksum.size() - 2) ^ 0x01);
  QByteArray noEnd = good;
  noEnd[noEnd.size() - 1] = 0x02;
  QByteArray noSeparator = good;
  noSeparator[good.size() - 13] = 'x';
  struct Case {
    const char* name;
    QByteArray frame;
    quint8 seq;
    quint8 cmd;
    ReplyVerdict verdict;
  };
  const Case cases[] = {
      {"other sequence, right checksum", good, 0x23, 62, ReplyVerdict::WrongSequence},
      {"other command, right checksum", good, 0x22, 63, ReplyVerdict::WrongCommand},
      {"checksum off by one", badChecksum, 0x22, 62, ReplyVerdict::BadChecksum},
      {"no 03 at the end", noEnd, 0x22, 62, ReplyVerdict::BadLayout},
      {"no 04 before the status", noSeparator, 0x22, 62, ReplyVerdict::BadLayout},
      {"length 0x2A too short for the tail", Hex("012a223e") + QByteArray(10, '0'), 0x22, 62, ReplyVerdict::BadLayout},
      {"length 0x20", Hex("0120223e3030"), 0x22, 62, ReplyVerdict::BadLayout},
  };
  for (const Case& c : cases) {
    ReplyFrame reply;
    EXPECT_EQ(Check(c.frame, c.seq, c.cmd, &reply), c.verdict) << c.name;
  }
}

}  // namespace
}  // namespace pralix
