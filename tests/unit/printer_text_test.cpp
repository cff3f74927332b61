// Windows-1251 conversions of printer texts and the header letter repair.

#include <gtest/gtest.h>

#include "workstation/printer_text.h"
#include "qtcompat/qt_version_compat.h"  // u"..."_s

namespace pralix {
namespace {

TEST(PrinterTextTest, EveryByteSurvivesDecodeThenEncode) {
  // 0x98 is the one byte Windows-1251 leaves unassigned; all others round-trip.
  for (int b = 0; b < 256; ++b) {
    if (b == 0x98) continue;
    const QByteArray one(1, char(b));
    EXPECT_EQ(EncodePrinterText(DecodePrinterText(one)), one) << "byte " << b;
  }
}

TEST(PrinterTextTest, DecodesCyrillicAndAscii) {
  struct Case {
    QByteArray bytes;
    QString text;
  };
  const Case cases[] = {
      {QByteArray(), QString()},
      {"AB12", u"AB12"_s},
      {"\xC0\xC3\x31\x32", u"АГ12"_s},
      {"\xA3\x80\x8A\xBC", u"ЈЂЉј"_s},
      {"\x50\x52\xDE\x4B\x41", u"PRЮKA"_s},
      {"\x88", u"€"_s},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodePrinterText(c.bytes), c.text) << c.bytes.toHex().constData();
}

TEST(PrinterTextTest, EncodesSerialBytes) {
  EXPECT_EQ(EncodePrinterText(u"АГ123456"_s), QByteArray("\xC0\xC3\x31\x32\x33\x34\x35\x36"));
  EXPECT_EQ(EncodePrinterText(QString()), QByteArray());
}

TEST(PrinterTextTest, UnmappableCharactersBecomeQuestionMarks) {
  struct Case {
    QString text;
    QByteArray bytes;
  };
  const Case cases[] = {
      {u"Š"_s, "?"},
      {u"AŠB"_s, "A?B"},
      {u"čĆ1"_s, "??1"},
      {u"A😀B"_s, "A?B"},                       // one mark for a surrogate pair
      {QString(QChar(0x1A)) + u"Ä"_s, "\x1A?"},  // a real SUB stays SUB
      {u"Г漢"_s, "\xC3?"},
  };
  for (const Case& c : cases) EXPECT_EQ(EncodePrinterText(c.text), c.bytes) << c.text.toStdString();
}

TEST(PrinterTextTest, TransliteratesTheTenLetters) {
  const QString source = u"ЮЪЫЭЬюъыэь"_s;
  const QString latin = u"ŠĐŽČĆšđžčć"_s;
  for (qsizetype k = 0; k < source.size(); ++k) {
    EXPECT_EQ(TransliterateText(source.mid(k, 1)), latin.mid(k, 1)) << k;
    // Each source letter sits at the byte the printers use for its Latin twin.
    const QByteArray expectedByte[] = {"\xDE", "\xDA", "\xDB", "\xDD", "\xDC", "\xFE", "\xFA", "\xFB", "\xFD", "\xFC"};
    EXPECT_EQ(EncodePrinterText(source.mid(k, 1)), expectedByte[k]) << k;
  }
  EXPECT_EQ(TransliterateText(source), latin);
}

TEST(PrinterTextTest, TransliterationKeepsEverythingElse) {
  struct Case {
    QString in;
    QString out;
  };
  const Case cases[] = {
      {QString(), QString()},
      {u"ЮАБЭЬ"_s, u"ŠАБČĆ"_s},  // Cyrillic А and Б stay Cyrillic
      {u"ЂЈЉЊЋЏђјљњћџ"_s, u"ЂЈЉЊЋЏђјљњћџ"_s},
      {u"Prodavnica 12, Beograd"_s, u"Prodavnica 12, Beograd"_s},
      {u"ŠĐŽČĆ"_s, u"ŠĐŽČĆ"_s},
  };
  for (const Case& c : cases) {
    const QString out = TransliterateText(c.in);
    EXPECT_EQ(out, c.out) << c.in.toStdString();
    EXPECT_EQ(out.size(), c.in.size());
  }
}

TEST(PrinterTextTest, HeaderReplyDecodesAndTransliterates) {
  EXPECT_EQ(TransliterateText(DecodePrinterText("\x50\x52\xDE\x4B\x41")), u"PRŠKA"_s);
}

}  // namespace
}  // namespace pralix
