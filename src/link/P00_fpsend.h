#pragma once
// The exchange engine: one request, its repeats and time-outs, one outcome.

#include <QtGlobal>

#include "link/exchange_wait.h"
#include "link/frame.h"
#include "interfaces/serial_port.h"

namespace pralix {

class FPCommand00;

// Link-wide items, one set for the whole program.
extern SerialPort* LinkPort;        // set by the main window to its port object
extern int SequenceNumber;          // starts at 0x1F: the first exchange carries 0x20
extern quint8 FrameBuffer[kFrameBufferSize];

// The sequence number an exchange carries after one that carried seq:
// 0x20 to 0x7F, round again after 0x7F.
quint8 SequenceAfter(int seq);

constexpr int kMaxAttempts = 4;
constexpr int kMaxSilentReads = 7;  // the seventh silent read in a row gives up
constexpr int kMaxNaks = 3;         // the fourth NAK ends the exchange
constexpr int kMaxFrameReads = 6;   // read calls allowed for the rest of a frame

// Runs one exchange for cmd.Command and cmd.SendData over the open LinkPort and
// leaves the outcome in cmd.  Raises nothing: every failure is a result code.
// wait shortens the waits for a port that may have no printer; the frames
// written and the sequence number are the same whatever it is.
void FPSend(FPCommand00& cmd, ExchangeWait wait = ExchangeWait::Full);

}  // namespace pralix
