#pragma once
// The DiagData record's form body read back strictly, as the support desk
// receives it: exactly the ten fields, each once, in any order, each name and
// value decoded the way the tool encodes them ("+" is a space, "%XX" a byte)
// and the bytes valid UTF-8.  Anything else is refused with its reason, so
// that the desk never stores a record it could not read whole.

#include <QByteArray>
#include <QString>
#include <array>

#include "diagdata/diagdata_fields.h"

namespace pralix {

enum class FormDecodeProblem {
  None,
  EmptyName,           // "&&", "=x", a trailing "&"
  MissingEquals,       // a field without "=" ("ibfm&pib=1")
  BadPercentEncoding,  // "%" not followed by two hexadecimal digits ("%4", "%GZ")
  InvalidUtf8,         // the decoded bytes are not UTF-8 (overlong forms and surrogates included)
  NulCharacter,        // "%00": no printer value holds one, and PostgreSQL text cannot
  UnknownField,        // a name that is none of the ten
  RepeatedField,       // one of the ten twice
  MissingField,        // one of the ten absent
};

struct DiagDataFormDecoding {
  FormDecodeProblem problem = FormDecodeProblem::None;
  // The field the problem concerns, as far as it could be read (may be empty).
  QString field;
  // Byte offset in the body where the part with the problem starts.
  int offset = 0;
  // The ten decoded values in kDiagDataFieldNames order; empty on a problem.
  std::array<QString, kDiagDataFieldCount> values;

  bool ok() const { return problem == FormDecodeProblem::None; }
  // One line in English saying why the body was refused ("field \"plu\"
  // appears twice"), empty when it was not.
  QString explanation() const;
};

DiagDataFormDecoding DecodeDiagDataForm(const QByteArray& body);

// True when bytes are well-formed UTF-8: no overlong form, no surrogate
// (U+D800 to U+DFFF), nothing above U+10FFFF, no stray continuation byte.
bool IsStrictUtf8(const QByteArray& bytes);

}  // namespace pralix
