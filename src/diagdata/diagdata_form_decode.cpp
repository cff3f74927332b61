#include "diagdata/diagdata_form_decode.h"

namespace pralix {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "+" to a space and "%XX" to its byte; false on a "%" without two hex digits.
bool PercentDecode(const QByteArray& encoded, QByteArray& bytes) {
  bytes.clear();
  bytes.reserve(encoded.size());
  for (int i = 0; i < encoded.size(); ++i) {
    const char c = encoded.at(i);
    if (c == '+') {
      bytes += ' ';
    } else if (c != '%') {
      bytes += c;
    } else {
      if (i + 2 >= encoded.size()) return false;
      const int high = HexDigit(encoded.at(i + 1));
      const int low = HexDigit(encoded.at(i + 2));
      if (high < 0 || low < 0) return false;
      bytes += char(high * 16 + low);
      i += 2;
    }
  }
  return true;
}

// Decodes one name or value; sets the problem on failure.
bool DecodeComponent(const QByteArray& encoded, QString& text, FormDecodeProblem& problem) {
  QByteArray bytes;
  if (!PercentDecode(encoded, bytes)) {
    problem = FormDecodeProblem::BadPercentEncoding;
    return false;
  }
  if (!IsStrictUtf8(bytes)) {
    problem = FormDecodeProblem::InvalidUtf8;
    return false;
  }
  if (bytes.contains('\0')) {
    problem = FormDecodeProblem::NulCharacter;
    return false;
  }
  text = QString::fromUtf8(bytes);
  if (text.isNull()) text = QLatin1String("");  // an empty value is a value, not a missing one
  return true;
}

int FieldIndex(const QString& name) {
  for (int i = 0; i < kDiagDataFieldCount; ++i)
    if (name == QLatin1String(kDiagDataFieldNames[i])) return i;
  return -1;
}

DiagDataFormDecoding Refused(FormDecodeProblem problem, const QString& field, int offset) {
  DiagDataFormDecoding refused;
  refused.problem = problem;
  refused.field = field;
  refused.offset = offset;
  return refused;
}

}  // namespace

bool IsStrictUtf8(const QByteArray& bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
  const int size = int(bytes.size());
  int i = 0;
  while (i < size) {
    const unsigned char lead = p[i];
    if (lead < 0x80) {
      ++i;
      continue;
    }
    int continuations = 0;
    unsigned char low = 0x80;  // the range of the first continuation byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      continuations = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      continuations = 2;
      if (lead == 0xE0) low = 0xA0;   // below: overlong
      if (lead == 0xED) high = 0x9F;  // above: surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      continuations = 3;
      if (lead == 0xF0) low = 0x90;   // below: overlong
      if (lead == 0xF4) high = 0x8F;  // above: past U+10FFFF
    } else {
      return false;  // a continuation byte, C0/C1 (overlong) or F5 and up
    }
    if (i + continuations >= size) return false;
    if (p[i + 1] < low || p[i + 1] > high) return false;
    for (int k = 2; k <= continuations; ++k)
      if (p[i + k] < 0x80 || p[i + k] > 0xBF) return false;
    i += continuations + 1;
  }
  return true;
}

DiagDataFormDecoding DecodeDiagDataForm(const QByteArray& body) {
  DiagDataFormDecoding decoded;
  std::array<bool, kDiagDataFieldCount> seen{};
  int start = 0;
  while (!body.isEmpty() && start <= body.size()) {
    int end = body.indexOf('&', start);
    if (end < 0) end = int(body.size());
    const QByteArray part = body.mid(start, end - start);
    const int equals = part.indexOf('=');
    if (equals < 0) {
      QString name;
      FormDecodeProblem ignored = FormDecodeProblem::None;
      DecodeComponent(part, name, ignored);
      return Refused(part.isEmpty() ? FormDecodeProblem::EmptyName : FormDecodeProblem::MissingEquals, name, start);
    }
    if (equals == 0) return Refused(FormDecodeProblem::EmptyName, QString(), start);

    FormDecodeProblem problem = FormDecodeProblem::None;
    QString name;
    if (!DecodeComponent(part.left(equals), name, problem)) return Refused(problem, QString(), start);
    const int index = FieldIndex(name);
    if (index < 0) return Refused(FormDecodeProblem::UnknownField, name, start);
    if (seen[index]) return Refused(FormDecodeProblem::RepeatedField, name, start);
    seen[index] = true;
    if (!DecodeComponent(part.mid(equals + 1), decoded.values[index], problem))
      return Refused(problem, name, start + equals + 1);
    start = end + 1;
  }
  for (int i = 0; i < kDiagDataFieldCount; ++i)
    if (!seen[i]) return Refused(FormDecodeProblem::MissingField, QLatin1String(kDiagDataFieldNames[i]), 0);
  return decoded;
}

QString DiagDataFormDecoding::explanation() const {
  const QString quoted = QLatin1Char('"') + field + QLatin1Char('"');
  const QString at = QStringLiteral(" at byte %1").arg(offset);
  switch (problem) {
    case FormDecodeProblem::None:
      return QString();
    case FormDecodeProblem::EmptyName:
      return QStringLiteral("a field without a name") + at;
    case FormDecodeProblem::MissingEquals:
      return QStringLiteral("field ") + quoted + QStringLiteral(" has no \"=\"") + at;
    case FormDecodeProblem::BadPercentEncoding:
      return QStringLiteral("bad percent-encoding") + (field.isEmpty() ? QString() : QStringLiteral(" in ") + quoted) + at;
    case FormDecodeProblem::InvalidUtf8:
      return QStringLiteral("not UTF-8") + (field.isEmpty() ? QString() : QStringLiteral(" in ") + quoted) + at;
    case FormDecodeProblem::NulCharacter:
      return QStringLiteral("a NUL character") + (field.isEmpty() ? QString() : QStringLiteral(" in ") + quoted) + at;
    case FormDecodeProblem::UnknownField:
      return QStringLiteral("unknown field ") + quoted + at;
    case FormDecodeProblem::RepeatedField:
      return QStringLiteral("field ") + quoted + QStringLiteral(" appears twice");
    case FormDecodeProblem::MissingField:
      return QStringLiteral("field ") + quoted + QStringLiteral(" is missing");
  }
  return QString();
}

}  // namespace pralix
