#include "sim_codec.h"

namespace pralix::sim {

int ByteSum(const QByteArray& span) {
  int sum = 0;
  for (char c : span) sum += uint8_t(c);
  return sum;
}

QByteArray ChecksumText(int sum) {
  QByteArray text(4, '0');
  for (int i = 0; i < 4; ++i) text[i] = char(0x30 + ((sum >> (12 - 4 * i)) & 0x0F));
  return text;
}

QByteArray EncodeReplyFrame(uint8_t seq, uint8_t command, const QByteArray& data, const StatusBits& status) {
  const QByteArray body = data.left(kMaxReplyData);
  QByteArray covered;  // LEN through 05: what the checksum adds up
  covered.append(char(0x2B + body.size()));
  covered.append(char(seq));
  covered.append(char(command));
  covered.append(body);
  covered.append(char(kStatusMark));
  for (uint8_t bits : status) covered.append(char(0x80 | (bits & 0x3F)));
  covered.append(char(kPostamble));
  QByteArray frame;
  frame.append(char(kStx));
  frame.append(covered);
  frame.append(ChecksumText(ByteSum(covered)));
  frame.append(char(kEtx));
  return frame;
}

RequestFrame CheckRequest(const QByteArray& raw) {
  RequestFrame f;
  f.raw = raw;
  const int size = int(raw.size());
  if (size < 10 || uint8_t(raw[0]) != kStx) {
    f.damage = QStringLiteral("too short");
    return f;
  }
  const int len = uint8_t(raw[1]);
  if (len < kMinRequestLength) {
    f.damage = QStringLiteral("length byte 0x%1 below 0x24").arg(len, 2, 16, QChar('0'));
    return f;
  }
  if (size != len - 28 + 2) {
    f.damage = QStringLiteral("%1 bytes for length byte 0x%2").arg(size).arg(len, 2, 16, QChar('0'));
    return f;
  }
  f.seq = uint8_t(raw[2]);
  f.command = uint8_t(raw[3]);
  if (uint8_t(raw[size - 1]) != kEtx || uint8_t(raw[size - 6]) != kPostamble) {
    f.damage = QStringLiteral("end markers missing");
    return f;
  }
  const QByteArray covered = raw.mid(1, size - 6);
  if (raw.mid(size - 5, 4) != ChecksumText(ByteSum(covered))) {
    f.damage = QStringLiteral("checksum %1 instead of %2")
                   .arg(QString::fromLatin1(raw.mid(size - 5, 4)), QString::fromLatin1(ChecksumText(ByteSum(covered))));
    return f;
  }
  f.data = raw.mid(4, size - 10);
  f.intact = true;
  return f;
}

std::optional<RequestFrame> RequestParser::Feed(uint8_t byte) {
  if (!inFrame_) {
    if (byte != kStx) {
      noise_.append(char(byte));
      return std::nullopt;
    }
    inFrame_ = true;
    expected_ = -1;  // the length byte comes next
    frame_ = QByteArray(1, char(byte));
    return std::nullopt;
  }
  frame_.append(char(byte));
  if (expected_ < 0) {
    // A length byte too small to hold a request cannot tell where the frame
    // ends: refuse it now and look for the next 01.
    if (byte < kMinRequestLength) return Finish();
    expected_ = byte - 28;
    return std::nullopt;
  }
  if (--expected_ == 0) return Finish();
  return std::nullopt;
}

RequestFrame RequestParser::Finish() {
  inFrame_ = false;
  RequestFrame f = CheckRequest(frame_);
  frame_.clear();
  return f;
}

QByteArray RequestParser::AbandonFrame() {
  inFrame_ = false;
  QByteArray partial = frame_;
  frame_.clear();
  return partial;
}

QByteArray RequestParser::TakeNoise() {
  QByteArray taken = noise_;
  noise_.clear();
  return taken;
}

}  // namespace pralix::sim
