#include "fault_injection.h"

#include <QStringList>
#include <array>

#include "sim_codec.h"

namespace pralix::sim {

namespace {

struct KindName {
  FaultKind kind;
  const char* name;
};

constexpr std::array<KindName, 9> kKindNames = {{
    {FaultKind::Silent, "silent"},
    {FaultKind::Nak, "nak"},
    {FaultKind::Noise, "noise"},
    {FaultKind::WrongSeq, "wrong-seq"},
    {FaultKind::WrongCommand, "wrong-command"},
    {FaultKind::WrongChecksum, "wrong-checksum"},
    {FaultKind::Truncated, "truncated"},
    {FaultKind::ShortLength, "short-length"},
    {FaultKind::Busy, "busy"},
}};

uint8_t NextSequence(uint8_t seq) { return seq >= 0x7F || seq < 0x20 ? 0x20 : uint8_t(seq + 1); }

}  // namespace

const char* FaultName(FaultKind kind) {
  for (const KindName& k : kKindNames)
    if (k.kind == kind) return k.name;
  return "?";
}

bool CommandRuns(FaultKind kind) { return kind != FaultKind::Silent && kind != FaultKind::Nak; }

std::optional<FaultRule> ParseFaultRule(const QString& text, QString* error) {
  FaultRule rule;
  QString rest = text;
  const qsizetype at = rest.indexOf('@');
  if (at >= 0) {
    bool ok = false;
    rule.command = rest.mid(at + 1).toInt(&ok);
    if (!ok || rule.command < 0 || rule.command > 255) {
      *error = QStringLiteral("fault %1: the command after @ must be 0 to 255").arg(text);
      return std::nullopt;
    }
    rest = rest.left(at);
  }
  const qsizetype colon = rest.indexOf(':');
  if (colon >= 0) {
    bool ok = false;
    rule.remaining = rest.mid(colon + 1).toInt(&ok);
    if (!ok || rule.remaining < 1) {
      *error = QStringLiteral("fault %1: the count after : must be a whole number above 0").arg(text);
      if (text.endsWith(QLatin1String("ms"))) *error += QStringLiteral(" (it counts requests; busy time is --busy-ms)");
      return std::nullopt;
    }
    rest = rest.left(colon);
  }
  for (const KindName& k : kKindNames) {
    if (rest == QLatin1String(k.name)) {
      rule.kind = k.kind;
      return rule;
    }
  }
  QStringList names;
  for (const KindName& k : kKindNames) names << QLatin1String(k.name);
  *error = QStringLiteral("fault %1: unknown kind (known: %2)").arg(text, names.join(", "));
  return std::nullopt;
}

std::optional<FaultKind> FaultPlan::Take(int command) {
  for (FaultRule& rule : rules_) {
    if (rule.remaining == 0) continue;
    if (rule.command >= 0 && rule.command != command) continue;
    if (rule.remaining > 0) --rule.remaining;
    return rule.kind;
  }
  return std::nullopt;
}

QByteArray SpoilReply(FaultKind kind, const QByteArray& frame, const FaultSettings& settings) {
  QByteArray out = frame;
  const int size = int(out.size());
  switch (kind) {
    case FaultKind::WrongSeq: {
      out[2] = char(NextSequence(uint8_t(out[2])));
      out.replace(size - 5, 4, ChecksumText(ByteSum(out.mid(1, size - 6))));
      return out;
    }
    case FaultKind::WrongCommand: {
      // Never XON or XOFF: the PC's line would swallow them as flow control.
      uint8_t other = uint8_t(uint8_t(out[3]) + 1);
      while (other == 0x11 || other == 0x13) ++other;
      out[3] = char(other);
      out.replace(size - 5, 4, ChecksumText(ByteSum(out.mid(1, size - 6))));
      return out;
    }
    case FaultKind::WrongChecksum:
      out.replace(size - 5, 4, ChecksumText(ByteSum(out.mid(1, size - 6)) + 1));
      return out;
    case FaultKind::Truncated:
      out.chop(qBound(1, settings.truncateBy, size - 1));
      return out;
    case FaultKind::ShortLength:
      out[1] = char(settings.shortLengthByte);
      return out;
    default:
      return out;
  }
}

QByteArray NoiseSource::Next(int count) {
  QByteArray bytes;
  while (bytes.size() < count) {
    state_ = state_ * 1664525u + 1013904223u;  // LCG: repeatable from run to run
    const uint8_t b = uint8_t(state_ >> 24);
    if (b == kStx || b == kNak || b == 0x11 || b == 0x13) continue;
    bytes.append(char(b));
  }
  return bytes;
}

}  // namespace pralix::sim
