#include "random_faults.h"

#include <QFile>
#include <array>

#include "printer_state.h"

namespace pralix::sim {

namespace {

struct Condition {
  const char* name;
  std::array<std::pair<int, int>, 2> bits;  // (byte, bit); byte -1 unused
};

constexpr std::array<Condition, 4> kConditions = {{
    {"receipt", {{{kNoPaperByte, kNoPaperBit}, {-1, 0}}}},
    {"journal", {{{kNoPaperByte, kNoPaperBit}, {kNoJournalByte, kNoJournalBit}}}},
    {"display", {{{kGeneralErrorByte, kGeneralErrorBit}, {kDisplayMissingByte, kDisplayMissingBit}}}},
    {"general", {{{kGeneralErrorByte, kGeneralErrorBit}, {-1, 0}}}},
}};

void AddCondition(const Condition& c, StatusBits* status) {
  for (const auto& [byte, bit] : c.bits)
    if (byte >= 0) (*status)[byte] |= uint8_t(1u << bit);
}

bool Covers(const StatusBits& status, const Condition& c) {
  StatusBits only{};
  AddCondition(c, &only);
  for (int i = 0; i < 6; ++i)
    if ((status[i] & only[i]) != only[i]) return false;
  return true;
}

// The faults a run can be made of, each equally likely.
constexpr std::array<FaultKind, 9> kRunKinds = {
    FaultKind::Silent,       FaultKind::Nak,           FaultKind::Noise,     FaultKind::Busy,
    FaultKind::WrongSeq,     FaultKind::WrongCommand,  FaultKind::WrongChecksum,
    FaultKind::Truncated,    FaultKind::ShortLength,
};

}  // namespace

QByteArray DrawnFault::Describe() const {
  QByteArray text = kind ? QByteArray(FaultName(*kind)) : QByteArray("none");
  if (kind == FaultKind::Truncated)
    text += truncateBy == kTruncateToStart ? QByteArray(":start") : ":" + QByteArray::number(truncateBy);
  if (kind == FaultKind::ShortLength) text += ":0x" + QByteArray::number(lengthByte, 16).toUpper().rightJustified(2, '0');
  // Journal paper out includes receipt's bit and display includes general's:
  // name the fuller condition only.
  const bool journal = Covers(status, kConditions[1]);
  const bool display = Covers(status, kConditions[2]);
  if (journal) text += " +journal";
  else if (Covers(status, kConditions[0])) text += " +receipt";
  if (display) text += " +display";
  else if (Covers(status, kConditions[3])) text += " +general";
  return text;
}

FaultSettings DrawnFault::Apply(FaultSettings base) const {
  base.truncateBy = truncateBy;
  base.shortLengthByte = lengthByte;
  return base;
}

StatusBits StatusOfCondition(const QByteArray& name) {
  StatusBits status{};
  for (const Condition& c : kConditions)
    if (name == c.name) AddCondition(c, &status);
  return status;
}

uint32_t SeededRandom::Next() {
  // xorshift64*: tiny, fast and the same everywhere.
  state_ ^= state_ >> 12;
  state_ ^= state_ << 25;
  state_ ^= state_ >> 27;
  return uint32_t((state_ * 0x2545F4914F6CDD1Dull) >> 32);
}

RandomFaults::~RandomFaults() {
  if (log_) std::fclose(log_);
}

bool RandomFaults::OpenLog(const QString& path, QString* error) {
  log_ = std::fopen(QFile::encodeName(path).constData(), "w");
  if (!log_) *error = QStringLiteral("cannot write the fault log %1").arg(path);
  return log_ != nullptr;
}

std::vector<DrawnFault> RandomFaults::DrawExchange() {
  // A standing condition is there for every attempt of the exchange.
  StatusBits status{};
  const int c = random_.Below(16);
  if (c < 4) AddCondition(kConditions[size_t(c)], &status);
  if (c == 4) {  // paper and display at once: paper is the one reported
    AddCondition(kConditions[0], &status);
    AddCondition(kConditions[2], &status);
  }

  const auto draw = [this, &status](std::optional<FaultKind> kind) {
    DrawnFault f;
    f.kind = kind;
    f.status = status;
    if (kind == FaultKind::Truncated)
      f.truncateBy = random_.Below(4) == 0 ? DrawnFault::kTruncateToStart : 1 + random_.Below(4);
    if (kind == FaultKind::ShortLength) {
      // Any length below 0x20 but XON and XOFF, which the PC's line would eat.
      do f.lengthByte = uint8_t(random_.Below(0x20));
      while (f.lengthByte == 0x11 || f.lengthByte == 0x13);
    }
    return f;
  };

  std::vector<DrawnFault> attempts;
  const int scenario = random_.Below(20);
  if (scenario < 6) {  // a clean exchange
    attempts.push_back(draw(std::nullopt));
  } else if (scenario < 8) {  // every attempt something else, clean ones included
    for (int i = 0; i < 4; ++i) {
      const int k = random_.Below(int(kRunKinds.size()) + 1);
      attempts.push_back(draw(k == int(kRunKinds.size()) ? std::nullopt : std::optional(kRunKinds[size_t(k)])));
    }
  } else {  // a run of one fault on the first 1 to 4 attempts, then clean
    const FaultKind kind = kRunKinds[size_t(random_.Below(int(kRunKinds.size())))];
    const int r = random_.Below(20);
    const int run = r < 8 ? 1 : r < 12 ? 2 : r < 15 ? 3 : 4;
    for (int i = 0; i < run; ++i) attempts.push_back(draw(kind));
  }
  return attempts;
}

DrawnFault RandomFaults::Take(uint8_t seq, int command) {
  if (int(seq) != lastSeq_) {
    lastSeq_ = seq;
    schedule_ = DrawExchange();
    next_ = 0;
  }
  DrawnFault fault;
  if (next_ < schedule_.size()) fault = schedule_[next_];
  else if (!schedule_.empty()) fault.status = schedule_.front().status;  // clean, the condition stays
  ++next_;
  if (log_) {
    std::fprintf(log_, "%02X %d %s\n", seq, command, fault.Describe().constData());
    std::fflush(log_);
  }
  return fault;
}

}  // namespace pralix::sim
