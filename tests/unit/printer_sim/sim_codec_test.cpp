// The simulator's own frame code: reply encoding and the request parser.

#include <gtest/gtest.h>

#include "sim_codec.h"

namespace pralix::sim {
namespace {

QByteArray Bytes(std::initializer_list<int> values) {
  QByteArray out;
  for (int v : values) out.append(char(v));
  return out;
}

TEST(SimCodec, EmptyReplyMatchesTheWorkedExample) {
  EXPECT_EQ(EncodeReplyFrame(0x20, 0x3E, {}, StatusBits{}),
            Bytes({0x01, 0x2B, 0x20, 0x3E, 0x04, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x05, 0x30, 0x33, 0x39, 0x32,
                   0x03}));
}

TEST(SimCodec, StatusBitsTravelWithBitSevenSet) {
  const QByteArray frame = EncodeReplyFrame(0x21, 62, "x", StatusBits{0x25, 0, 0x05, 0, 0, 0x3F});
  EXPECT_EQ(frame.mid(6, 6), Bytes({0xA5, 0x80, 0x85, 0x80, 0x80, 0xBF}));
  // The checksum covers LEN through 05 with the bytes as sent.
  EXPECT_EQ(frame.mid(frame.size() - 5, 4), ChecksumText(ByteSum(frame.mid(1, frame.size() - 6))));
}

TEST(SimCodec, ChecksumNibblesAboveNineUseColonToQuestionMark) {
  EXPECT_EQ(ChecksumText(0x00D6), QByteArray("00=6"));
  EXPECT_EQ(ChecksumText(0xABCF), QByteArray(":;<?"));
  EXPECT_EQ(ByteSum(Bytes({0xFF, 0xFF, 0x01})), 0x1FF);
}

TEST(SimCodec, ReplyDataIsCutToTheLongestFrame) {
  const QByteArray frame = EncodeReplyFrame(0x20, 43, QByteArray(300, 'A'), StatusBits{});
  EXPECT_EQ(frame.size(), 229);
  EXPECT_EQ(uint8_t(frame[1]), 0xFF);
}

TEST(SimCodec, WorkedRequestExamplesAreIntact) {
  const RequestFrame r62 = CheckRequest(Bytes({0x01, 0x24, 0x20, 0x3E, 0x05, 0x30, 0x30, 0x38, 0x37, 0x03}));
  EXPECT_TRUE(r62.intact) << r62.damage.toStdString();
  EXPECT_EQ(r62.seq, 0x20);
  EXPECT_EQ(r62.command, 62);
  EXPECT_TRUE(r62.data.isEmpty());
  const RequestFrame r90 =
      CheckRequest(Bytes({0x01, 0x25, 0x21, 0x5A, 0x31, 0x05, 0x30, 0x30, 0x3D, 0x36, 0x03}));
  EXPECT_TRUE(r90.intact);
  EXPECT_EQ(r90.command, 90);
  EXPECT_EQ(r90.data, QByteArray("1"));
}

TEST(SimCodec, DamagedRequestsAreRefused) {
  const QByteArray good = Bytes({0x01, 0x25, 0x21, 0x5A, 0x31, 0x05, 0x30, 0x30, 0x3D, 0x36, 0x03});
  struct Case {
    const char* what;
    int index;
    int value;
  } cases[] = {
      {"checksum digit", 9, 0x37},
      {"checksum read by more than its low nibble", 8, 0x4D},
      {"postamble", 5, 0x06},
      {"end byte", 10, 0x04},
      {"data changed under the checksum", 4, 0x32},
  };
  for (const Case& c : cases) {
    QByteArray bad = good;
    bad[c.index] = char(c.value);
    EXPECT_FALSE(CheckRequest(bad).intact) << c.what;
  }
  EXPECT_FALSE(CheckRequest(good.left(10)).intact) << "one byte short";
}

std::vector<RequestFrame> FeedAll(RequestParser& parser, const QByteArray& bytes) {
  std::vector<RequestFrame> frames;
  for (char c : bytes)
    if (auto f = parser.Feed(uint8_t(c))) frames.push_back(*f);
  return frames;
}

TEST(SimRequestParser, FindsFramesBetweenNoise) {
  const QByteArray r62 = Bytes({0x01, 0x24, 0x20, 0x3E, 0x05, 0x30, 0x30, 0x38, 0x37, 0x03});
  RequestParser parser;
  const auto frames = FeedAll(parser, Bytes({0x16, 0x7F}) + r62 + Bytes({0x11}) + r62);
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_TRUE(frames[0].intact);
  EXPECT_EQ(frames[1].raw, r62);
  EXPECT_EQ(parser.TakeNoise(), Bytes({0x16, 0x7F, 0x11}));
  EXPECT_TRUE(parser.TakeNoise().isEmpty());
}

TEST(SimRequestParser, FrameSplitAcrossReadsCompletesOnItsLastByte) {
  const QByteArray r90 = Bytes({0x01, 0x25, 0x21, 0x5A, 0x31, 0x05, 0x30, 0x30, 0x3D, 0x36, 0x03});
  RequestParser parser;
  EXPECT_TRUE(FeedAll(parser, r90.left(6)).empty());
  EXPECT_TRUE(parser.InFrame());
  const auto frames = FeedAll(parser, r90.mid(6));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_TRUE(frames[0].intact);
  EXPECT_FALSE(parser.InFrame());
}

TEST(SimRequestParser, LengthByteTooSmallIsRefusedAtOnceAndTheNextFrameStillParses) {
  RequestParser parser;
  const QByteArray r62 = Bytes({0x01, 0x24, 0x20, 0x3E, 0x05, 0x30, 0x30, 0x38, 0x37, 0x03});
  const auto frames = FeedAll(parser, Bytes({0x01, 0x23}) + r62);
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_FALSE(frames[0].intact);
  EXPECT_EQ(frames[0].raw, Bytes({0x01, 0x23}));
  EXPECT_TRUE(frames[1].intact);
}

TEST(SimRequestParser, AbandonedFrameReturnsItsBytesAndResets) {
  RequestParser parser;
  FeedAll(parser, Bytes({0x01, 0x24, 0x20}));
  EXPECT_EQ(parser.AbandonFrame(), Bytes({0x01, 0x24, 0x20}));
  EXPECT_FALSE(parser.InFrame());
  const auto frames = FeedAll(parser, Bytes({0x01, 0x24, 0x20, 0x3E, 0x05, 0x30, 0x30, 0x38, 0x37, 0x03}));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_TRUE(frames[0].intact);
}

}  // namespace
}  // namespace pralix::sim
