#pragma once
// Request and reply frames of the fiscal printer protocol.
//
// Request: 01 LEN SEQ CMD data... 05 c1 c2 c3 c4 03, LEN = 0x24 + n.
// Reply:   01 LEN SEQ CMD data... 04 s0..s5 05 c1 c2 c3 c4 03, LEN = 0x2B + m.
// The checksum is the plain sum of the bytes from LEN through the 05, sent as
// four nibbles each added to 0x30 ("0".."?").

#include <QByteArray>
#include <QtGlobal>

namespace pralix {

constexpr quint8 kFrameStart = 0x01;
constexpr quint8 kFrameEnd = 0x03;
constexpr quint8 kStatusSeparator = 0x04;
constexpr quint8 kPostamble = 0x05;
constexpr quint8 kNak = 0x15;

constexpr int kMaxRequestData = 204;
constexpr int kMaxReplyData = 212;
constexpr int kRequestOverhead = 10;     // frame bytes around the data
constexpr int kFrameBufferSize = 229;    // longest reply frame
constexpr quint8 kFirstSequence = 0x20;
constexpr quint8 kLastSequence = 0x7F;
constexpr quint8 kMinLengthByte = 0x20;  // below it the reply is refused outright
constexpr quint8 kMinReplyLength = 0x2B; // a reply with empty data

// LEN of a request carrying dataLength bytes.
constexpr int RequestLengthByte(int dataLength) { return 0x24 + dataLength; }
constexpr bool RequestFits(int dataLength) { return RequestLengthByte(dataLength) <= 0xF0; }

// Sum over LEN, SEQ, CMD, the data and the 05 of a request.
int RequestChecksum(quint8 seq, quint8 command, const QByteArray& data);

// Four checksum characters, most significant nibble first, each 0x30 + nibble.
void WriteChecksum(int sum, quint8* out);
// Reads a received checksum by the low four bits of each character.
int ReadChecksum(const quint8* in);

// Writes the request frame into out (room for kRequestOverhead + data bytes)
// and returns its length; returns 0 and writes nothing when the data is too long.
int EncodeRequest(quint8 seq, quint8 command, const QByteArray& data, quint8* out);

// What a reply frame check learned; fields are filled as far as the check got.
struct ReplyFrame {
  quint8 seq = 0;
  quint8 command = 0;
  bool checksumRead = false;  // markers found, so checksum holds the received value
  int checksum = 0;
  QByteArray data;
  quint8 status[6] = {0, 0, 0, 0, 0, 0};  // masked to bits 0-5
};

enum class ReplyVerdict { Valid, WrongSequence, WrongCommand, BadLayout, BadChecksum };

// Checks the k = LEN - 28 bytes that followed the length byte against the
// request's sequence and command bytes.  The markers are looked for only at
// their places counted from the end: a 04 or 05 inside the data is data.
ReplyVerdict CheckReply(quint8 lengthByte, const quint8* bytes, int k, quint8 seq, quint8 command,
                        ReplyFrame* out);

// Builds a reply frame (printer side); used by tests and the simulator's checks.
QByteArray EncodeReply(quint8 seq, quint8 command, const QByteArray& data, const quint8 rawStatus[6]);

}  // namespace pralix
