#include "link/frame.h"

#include <cstring>

namespace pralix {

int RequestChecksum(quint8 seq, quint8 command, const QByteArray& data) {
  int sum = RequestLengthByte(int(data.size())) + seq + command + kPostamble;
  for (char c : data) sum += quint8(c);
  return sum;
}

void WriteChecksum(int sum, quint8* out) {
  out[0] = quint8(0x30 + ((sum >> 12) & 0x0F));
  out[1] = quint8(0x30 + ((sum >> 8) & 0x0F));
  out[2] = quint8(0x30 + ((sum >> 4) & 0x0F));
  out[3] = quint8(0x30 + (sum & 0x0F));
}

int ReadChecksum(const quint8* in) {
  return (in[0] & 0x0F) * 4096 + (in[1] & 0x0F) * 256 + (in[2] & 0x0F) * 16 + (in[3] & 0x0F);
}

int EncodeRequest(quint8 seq, quint8 command, const QByteArray& data, quint8* out) {
  const int n = int(data.size());
  if (!RequestFits(n)) return 0;
  out[0] = kFrameStart;
  out[1] = quint8(RequestLengthByte(n));
  out[2] = seq;
  out[3] = command;
  if (n > 0) std::memcpy(out + 4, data.constData(), size_t(n));
  out[4 + n] = kPostamble;
  WriteChecksum(RequestChecksum(seq, command, data), out + 5 + n);
  out[9 + n] = kFrameEnd;
  return n + kRequestOverhead;
}

ReplyVerdict CheckReply(quint8 lengthByte, const quint8* b, int k, quint8 seq, quint8 command,
                        ReplyFrame* out) {
  out->seq = b[0];
  if (b[0] != seq) return ReplyVerdict::WrongSequence;
  out->command = b[1];
  if (b[1] != command) return ReplyVerdict::WrongCommand;
  if (lengthByte < kMinReplyLength || k < 15) return ReplyVerdict::BadLayout;
  if (b[k - 1] != kFrameEnd || b[k - 6] != kPostamble || b[k - 13] != kStatusSeparator)
    return ReplyVerdict::BadLayout;
  int sum = lengthByte;
  for (int i = 0; i <= k - 6; ++i) sum += b[i];
  out->checksumRead = true;
  out->checksum = ReadChecksum(b + k - 5);
  if (out->checksum != sum) return ReplyVerdict::BadChecksum;
  // Reply data is a zero-terminated text: it ends at the first 00 byte.
  const char* data = reinterpret_cast<const char*>(b + 2);
  const int m = k - 15;
  out->data = QByteArray(data, int(qstrnlen(data, uint(m))));
  for (int i = 0; i < 6; ++i) out->status[i] = b[k - 12 + i] & 0x3F;
  return ReplyVerdict::Valid;
}

QByteArray EncodeReply(quint8 seq, quint8 command, const QByteArray& data, const quint8 rawStatus[6]) {
  QByteArray f;
  const int len = kMinReplyLength + int(data.size());
  f.append(char(kFrameStart)).append(char(len)).append(char(seq)).append(char(command));
  f.append(data).append(char(kStatusSeparator));
  for (int i = 0; i < 6; ++i) f.append(char(rawStatus[i]));
  f.append(char(kPostamble));
  int sum = 0;
  for (int i = 1; i < f.size(); ++i) sum += quint8(f[i]);
  quint8 cs[4];
  WriteChecksum(sum, cs);
  f.append(reinterpret_cast<const char*>(cs), 4).append(char(kFrameEnd));
  return f;
}

}  // namespace pralix
