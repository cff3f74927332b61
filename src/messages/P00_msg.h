#pragma once
// The numbered warning texts in Serbian, English and Hungarian, kept as
// Windows-1250 single-byte texts with "\n" between lines.

#include <QByteArray>
#include <QtGlobal>

namespace pralix {

class Msg {
 public:
  static constexpr qint32 kSlots = 100;

  // Builds the whole table; the active language is Serbian.
  Msg();

  // Text of message number in the active language: "ENG" and "HUN" (exactly
  // so) pick their language and fall back to Serbian for a slot without
  // text; any other Lang gives Serbian.  Numbers outside 0..Count-1 give an
  // empty text.
  QByteArray Get(qint32 number) const;

  qint32 Count = kSlots;
  QByteArray Srb[kSlots];
  QByteArray Eng[kSlots];
  QByteArray Hun[kSlots];
  QByteArray Lang = "SRB";
};

// The program's one catalogue, built before any window exists.
extern Msg GlobalMsg;

}  // namespace pralix
