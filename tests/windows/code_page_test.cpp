// The system's code page conversions against the table Qt's converters give
// on Linux (tests/support/code_page_reference.h): the same bytes for the
// same text in both builds.

#include <gtest/gtest.h>

#include <string>

#include "platform/win/win_code_page.h"
#include "scratch.h"
#include "support/code_page_reference.h"

namespace pralix::wintest {

namespace {

struct Table {
  unsigned codePage;
  const char16_t* characters;
};
const Table kTables[] = {{1250, test::kWindows1250Characters}, {1251, test::kWindows1251Characters}};

std::wstring Wide(const char16_t* text) {
  std::wstring wide;
  for (; *text != 0; ++text) wide += wchar_t(*text);
  return wide;
}

}  // namespace

TEST(CodePage, EveryByteDecodesAsOnLinux) {
  for (const Table& t : kTables) {
    std::string all;
    std::wstring expected;
    for (int b = 0; b < 256; ++b) {
      all += char(b);
      expected += wchar_t(t.characters[b]);
      EXPECT_EQ(win::DecodeCodePage(std::string(1, char(b)), t.codePage), std::wstring(1, wchar_t(t.characters[b])))
          << t.codePage << " byte " << b;
    }
    EXPECT_EQ(win::DecodeCodePage(all, t.codePage), expected) << t.codePage;
  }
}

TEST(CodePage, EveryBmpCharacterEncodesAsOnLinuxWithoutBestFit) {
  for (const Table& t : kTables) {
    std::wstring text;
    std::string expected;
    for (unsigned c = 1; c < 0x10000; ++c) {
      if (c >= 0xD800 && c < 0xE000) continue;
      text += wchar_t(c);
      int byte = '?';
      for (int b = 0; b < 256; ++b)
        if (t.characters[b] == c) {
          byte = b;
          break;
        }
      expected += char(byte);
    }
    const std::string got = win::EncodeCodePage(text, t.codePage);
    ASSERT_EQ(got.size(), expected.size()) << t.codePage;
    // One failure per 256 characters at most, naming the place.
    for (std::size_t i = 0; i < got.size(); i += 256)
      EXPECT_EQ(got.substr(i, 256), expected.substr(i, 256)) << t.codePage << " from character index " << i;
  }
}

TEST(CodePage, SampleTextsGiveTheLinuxBytesBothWays) {
  for (const test::CodePageSample& s : test::kCodePageSamples) {
    const std::wstring text = Wide(s.text);
    EXPECT_EQ(win::EncodeCodePage(text, unsigned(s.codePage)), std::string(s.bytes)) << Utf8Bytes(text);
    if (std::string(s.bytes).find('?') == std::string::npos) {
      EXPECT_EQ(win::DecodeCodePage(s.bytes, unsigned(s.codePage)), text) << Utf8Bytes(text);
    }
  }
}

TEST(CodePage, SurrogatesAloneOrInPairsBecomeOneMarkEach) {
  const std::wstring lone = std::wstring(1, wchar_t(0xD83D)) + L"A" + wchar_t(0xDE00);
  EXPECT_EQ(win::EncodeCodePage(lone, 1251), "?A?");
  EXPECT_EQ(win::EncodeCodePage(Wide(u"\U0001F600\U0001F600"), 1250), "??");
  EXPECT_EQ(win::EncodeCodePage(std::wstring(1, wchar_t(0xDE00)), 1250), "?");  // a low one first
  EXPECT_EQ(win::EncodeCodePage(L"AB" + std::wstring(1, wchar_t(0xD83D)), 1251), "AB?");  // a high one last
}

TEST(CodePage, SystemAnsiCodePageRoundTripsItsText) {
  // Whatever the system's ANSI code page is (1252 in a bare Wine prefix).
  const unsigned ansi = win::SystemAnsiCodePage();
  EXPECT_NE(ansi, 0u);
  EXPECT_EQ(win::DecodeCodePage(win::EncodeCodePage(L"COM3 Link=10.2.5", ansi), ansi), L"COM3 Link=10.2.5");
  EXPECT_EQ(win::EncodeCodePage(L"", ansi), "");
  EXPECT_EQ(win::DecodeCodePage("", ansi), L"");
}

TEST(CodePage, UtfCodePagesTakeNoBestFitFlagAndStillConvert) {
  // CP_UTF8 refuses WC_NO_BEST_FIT_CHARS: an ANSI code page of UTF-8 must
  // still work (a Windows 10 option).
  const std::wstring text = Wide(u"\u0160\u0110 \u0416 \U0001F600");
  EXPECT_EQ(win::EncodeCodePage(text, CP_UTF8), Utf8Bytes(text));
  EXPECT_EQ(win::DecodeCodePage(Utf8Bytes(text), CP_UTF8), text);
}

TEST(CodePage, UnknownCodePageKeepsAsciiAndMarksTheRest) {
  EXPECT_EQ(win::EncodeCodePage(L"AB\u0416", 12345), "AB?");
  EXPECT_EQ(win::DecodeCodePage("AB", 12345), L"AB");
}

}  // namespace pralix::wintest
