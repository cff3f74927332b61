#pragma once
// The printer's side of the frame rules, written independently of the tool's
// own frame code so that each side checks the other.
//
// Request (from the PC): 01 LEN SEQ CMD data 05 c1 c2 c3 c4 03, LEN = 0x24 + n.
// Reply (to the PC):     01 LEN SEQ CMD data 04 s0..s5 05 c1 c2 c3 c4 03,
//                        LEN = 0x2B + m, status bytes sent as 0x80 | bits.
// The checksum is the sum of the bytes from LEN through the 05, sent as four
// nibbles, most significant first, each added to 0x30.

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace pralix::sim {

inline constexpr uint8_t kStx = 0x01;
inline constexpr uint8_t kEtx = 0x03;
inline constexpr uint8_t kStatusMark = 0x04;
inline constexpr uint8_t kPostamble = 0x05;
inline constexpr uint8_t kNak = 0x15;
inline constexpr int kMaxReplyData = 212;
inline constexpr int kMinRequestLength = 0x24;

using StatusBits = std::array<uint8_t, 6>;  // bits 0-5 of each status byte

// Sum of the byte values of span, each taken as 0..255.
int ByteSum(const QByteArray& span);
// The four checksum characters of sum.
QByteArray ChecksumText(int sum);

// A complete reply frame; data longer than kMaxReplyData is cut to fit.
QByteArray EncodeReplyFrame(uint8_t seq, uint8_t command, const QByteArray& data, const StatusBits& status);

struct RequestFrame {
  QByteArray raw;         // every byte of the frame as received, 01 included
  bool intact = false;
  QString damage;         // why the frame was refused, when it was
  uint8_t seq = 0;
  uint8_t command = 0;
  QByteArray data;
};

// Splits the byte stream from the PC into request frames.  Bytes before a
// 01 are line noise and are collected apart.
class RequestParser {
 public:
  // Takes one byte; returns a frame once one is complete, intact or not.
  std::optional<RequestFrame> Feed(uint8_t byte);
  bool InFrame() const { return inFrame_; }
  // Drops a frame that stopped arriving; returns the bytes it had.
  QByteArray AbandonFrame();
  // Bytes seen outside frames since the last call.
  QByteArray TakeNoise();

 private:
  RequestFrame Finish();

  bool inFrame_ = false;
  int expected_ = 0;  // bytes still due after the length byte
  QByteArray frame_;
  QByteArray noise_;
};

// Checks a whole request frame (01 through 03).
RequestFrame CheckRequest(const QByteArray& raw);

}  // namespace pralix::sim
