#include "expected_outcome.h"

namespace pralix::soak {

namespace {

// The link's read time-outs: one byte waits at most 100 ms + 100 ms.
constexpr double kOneByteReadMs = 200;
constexpr int kSilentReads = 7;
constexpr int kFrameReadCalls = 7;  // the seventh call gives up
constexpr int kAttempts = 4;
constexpr int kNaksAllowed = 3;
constexpr int kLongestExchangeBytes = 214 + 229;

struct Name {
  const char* text;
  Meets meets;
};
constexpr Name kNames[] = {
    {"none", Meets::Clean},          {"noise", Meets::Noise},
    {"busy", Meets::Busy},           {"silent", Meets::Silent},
    {"nak", Meets::Nak},             {"wrong-seq", Meets::WrongSeq},
    {"wrong-command", Meets::WrongCommand}, {"wrong-checksum", Meets::WrongChecksum},
    {"truncated", Meets::Truncated}, {"short-length", Meets::ShortLength},
};

int StatusCode(const AttemptFault& f) {
  if (f.receiptOut || f.journalOut) return f.journalOut ? 98 : 99;
  if (f.generalError || f.displayOff) return f.displayOff ? 97 : 100;
  return 0;
}

}  // namespace

std::optional<LoggedAttempt> ParseFaultLogLine(const QByteArray& line) {
  const QList<QByteArray> words = line.trimmed().split(' ');
  if (words.size() < 3) return std::nullopt;
  LoggedAttempt logged;
  bool ok1 = false, ok2 = false;
  logged.seq = words[0].toInt(&ok1, 16);
  logged.command = words[1].toInt(&ok2);
  if (!ok1 || !ok2) return std::nullopt;

  AttemptFault& f = logged.fault;
  f.name = words[2];
  const QByteArray kind = words[2].split(':').front();
  const QByteArray detail = words[2].contains(':') ? words[2].mid(words[2].indexOf(':') + 1) : QByteArray();
  bool known = false;
  for (const Name& n : kNames)
    if (kind == n.text) {
      f.meets = n.meets;
      known = true;
    }
  if (!known) return std::nullopt;
  if (f.meets == Meets::Truncated) {
    if (detail == "start") {
      f.meets = Meets::TruncatedToStart;
    } else {
      f.truncatedBy = detail.toInt(&known);
      if (!known || f.truncatedBy < 1) return std::nullopt;
    }
  }
  for (qsizetype i = 3; i < words.size(); ++i) {
    const QByteArray& w = words[i];
    if (w == "+receipt") f.receiptOut = true;
    else if (w == "+journal") f.journalOut = true;
    else if (w == "+display") f.displayOff = true;
    else if (w == "+general") f.generalError = true;
    else return std::nullopt;
  }
  return logged;
}

Expected ExpectOutcome(const QList<AttemptFault>& attempts, const LineTiming& timing) {
  Expected e;
  const double wireMs = kLongestExchangeBytes * timing.byteMs + 50;  // + the printer's think time
  const double silentMs = kSilentReads * kOneByteReadMs;
  int code = 0;
  int naks = 0;
  for (int a = 0; a < kAttempts; ++a) {
    // The simulator answers cleanly once its schedule for the exchange ends.
    const AttemptFault f = a < attempts.size() ? attempts[a] : AttemptFault{};
    ++e.attempts;
    switch (f.meets) {
      case Meets::Clean:
      case Meets::Noise:
      case Meets::Busy:
        e.boundMs += wireMs + (f.meets == Meets::Busy ? timing.busyMs : 0);
        e.code = StatusCode(f);
        e.replyKept = true;
        return e;
      case Meets::Silent:
        e.boundMs += silentMs;
        code = 3;
        break;
      case Meets::TruncatedToStart:
        e.boundMs += wireMs + silentMs;
        code = 5;
        break;
      case Meets::Truncated:
        // The first call takes what came and waits 100 ms for more; each
        // further call waits for the missing bytes.
        e.boundMs += wireMs + 100 + (kFrameReadCalls - 1) * (100.0 * f.truncatedBy + 100);
        code = 7;
        break;
      case Meets::ShortLength:
        e.boundMs += wireMs;
        e.code = 6;
        return e;
      case Meets::Nak:
        e.boundMs += wireMs;
        if (++naks > kNaksAllowed) {
          e.code = 4;
          return e;
        }
        break;
      case Meets::WrongSeq:
      case Meets::WrongCommand:
      case Meets::WrongChecksum:
        e.boundMs += wireMs;
        break;
    }
  }
  e.code = code == 0 ? 8 : code;
  return e;
}

}  // namespace pralix::soak
