// Qt's code page conversions against the reference table that the Windows
// build is checked against too: the same bytes for the same text on both.

#include <gtest/gtest.h>

#include "code_page_reference.h"
#include "interfaces/code_pages.h"
#include "qtcompat/qt_version_compat.h"  // u"..."_s

namespace pralix {
namespace {

struct Table {
  int codePage;
  const char16_t* characters;
};
const Table kTables[] = {{1250, test::kWindows1250Characters}, {1251, test::kWindows1251Characters}};

TEST(CodePagesTest, EveryByteDecodesToTheReferenceCharacter) {
  for (const Table& t : kTables) {
    QByteArray all;
    QString expected;
    for (int b = 0; b < 256; ++b) {
      all += char(b);
      expected += QChar(t.characters[b]);
      EXPECT_EQ(DecodeWithCodePage(QByteArray(1, char(b)), t.codePage), QString(QChar(t.characters[b])))
          << t.codePage << " byte " << b;
    }
    EXPECT_EQ(DecodeWithCodePage(all, t.codePage), expected) << t.codePage;
  }
}

TEST(CodePagesTest, EveryBmpCharacterEncodesToItsByteOrOneQuestionMark) {
  for (const Table& t : kTables) {
    QString text;
    QByteArray expected;
    for (char32_t c = 1; c < 0x10000; ++c) {
      if (c >= 0xD800 && c < 0xE000) continue;
      text += QChar(char16_t(c));
      int byte = '?';
      for (int b = 0; b < 256; ++b)
        if (t.characters[b] == c) {
          byte = b;
          break;
        }
      expected += char(byte);
    }
    // Compared in pieces so that a fault names its place.
    const QByteArray got = EncodeWithCodePage(text, t.codePage);
    ASSERT_EQ(got.size(), expected.size()) << t.codePage;
    for (qsizetype i = 0; i < got.size(); i += 256)
      EXPECT_EQ(got.mid(i, 256), expected.mid(i, 256)) << t.codePage << " from character index " << i;
  }
}

TEST(CodePagesTest, SampleTextsGiveTheReferenceBytesBothWays) {
  for (const test::CodePageSample& s : test::kCodePageSamples) {
    const QString text = QString::fromUtf16(s.text);
    EXPECT_EQ(EncodeWithCodePage(text, s.codePage), QByteArray(s.bytes)) << text.toStdString();
    if (!QByteArray(s.bytes).contains('?')) {
      EXPECT_EQ(DecodeWithCodePage(s.bytes, s.codePage), text) << text.toStdString();
    }
  }
}

TEST(CodePagesTest, SurrogatesAloneOrInPairsBecomeOneMarkEach) {
  const QString lone = QString(QChar(0xD83D)) + u'A' + QChar(0xDE00);
  EXPECT_EQ(EncodeWithCodePage(lone, kCyrillicCodePage), QByteArray("?A?"));
  EXPECT_EQ(EncodeWithCodePage(QString::fromUtf16(u"\U0001F600\U0001F600"), kCentralEuropeanCodePage), "??");
  // A high one at the very end is not held back for a pair that never comes.
  EXPECT_EQ(EncodeWithCodePage(u"AB"_s + QChar(0xD83D), kCyrillicCodePage), QByteArray("AB?"));
}

TEST(CodePagesTest, AnsiTextOnLinuxIsCentralEuropean) { EXPECT_EQ(AnsiCodePage(), kCentralEuropeanCodePage); }

}  // namespace
}  // namespace pralix
