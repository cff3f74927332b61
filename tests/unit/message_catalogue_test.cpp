// The three-language message catalogue: slots, language rules and the
// Windows-1250 bytes of its texts.

#include <gtest/gtest.h>

#include <climits>

#include "messages/P00_msg.h"

namespace pralix {
namespace {

bool IsFilledSlot(int n) { return (n >= 0 && n <= 6) || (n >= 50 && n <= 63); }

TEST(MessageCatalogue, PaperOutTextIsSerbianByDefault) {
  Msg msg;
  EXPECT_EQ(msg.Lang, "SRB");
  EXPECT_EQ(msg.Get(3),
            "Nestalo je papira na BON-u ili JOURNAL-u!\n\nPreporuka:\n\n1. ZAMENITE PAPIR!\n\n2. VRATITE POLUGU!\n\n"
            "3. ZATVORITE POKLOPAC!\n\nPritisnite OK kada ga zamenite");
  EXPECT_EQ(GlobalMsg.Get(3), msg.Get(3));
}

TEST(MessageCatalogue, OnlyTheListedSlotsHoldTexts) {
  Msg msg;
  ASSERT_EQ(msg.Count, 100);
  for (int n = 0; n < 100; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(!msg.Srb[n].isEmpty(), IsFilledSlot(n));
    EXPECT_EQ(!msg.Eng[n].isEmpty(), IsFilledSlot(n));
    EXPECT_EQ(!msg.Hun[n].isEmpty(), IsFilledSlot(n));
    for (const QByteArray* text : {&msg.Srb[n], &msg.Eng[n], &msg.Hun[n]}) {
      EXPECT_FALSE(text->contains('\r'));
      EXPECT_FALSE(text->contains('\x1A')) << "a letter that Windows-1250 lacks";
    }
  }
}

TEST(MessageCatalogue, NumbersOutsideTheTableGiveEmptyText) {
  Msg msg;
  for (int n : {10, 49, 64, 99, 100, 101, 1000, INT_MAX, -1, INT_MIN}) {
    SCOPED_TRACE(n);
    for (const char* lang : {"SRB", "ENG", "HUN"}) {
      msg.Lang = lang;
      EXPECT_TRUE(msg.Get(n).isEmpty());
    }
  }
}

TEST(MessageCatalogue, LanguageIsChosenByExactCode) {
  struct Case {
    const char* lang;
    QByteArray expected;
  };
  const Case cases[] = {
      {"ENG", "Action requires CLOSING A DAY!"},
      {"HUN", "Az akci\xF3 k\xE9ri a nap BEZ\xC1R\xC1S\xC1T!"},
      {"SRB", "Akcija zahteva ZATVARANJE dana!"},
      {"eng", "Akcija zahteva ZATVARANJE dana!"},
      {"ENG ", "Akcija zahteva ZATVARANJE dana!"},
      {"", "Akcija zahteva ZATVARANJE dana!"},
      {"DEU", "Akcija zahteva ZATVARANJE dana!"},
  };
  Msg msg;
  for (const Case& c : cases) {
    msg.Lang = c.lang;
    EXPECT_EQ(msg.Get(50), c.expected) << "Lang '" << c.lang << "'";
  }
}

TEST(MessageCatalogue, EmptySlotOfTheActiveLanguageFallsBackToSerbian) {
  Msg msg;
  msg.Eng[5].clear();
  msg.Hun[6].clear();
  msg.Lang = "ENG";
  EXPECT_EQ(msg.Get(5), msg.Srb[5]);
  EXPECT_EQ(msg.Get(6), "This FP-XXX IS NOT fiskalized!\nYou are working at wour own responsibility!");
  msg.Lang = "HUN";
  EXPECT_EQ(msg.Get(6), "Ovaj FP-XXX NIJE fiskalizovan!\nRadite na sopstvenu odgovornost!");
  EXPECT_EQ(msg.Get(5), "A program k\xE9ri a Ostrik9.jxf ver.900!\nA program meg fog szakadni!\n\nAj\xE1nl\xE1s:\n\n"
                        "1. H\xEDvja Vantrel-\xE1t");
}

TEST(MessageCatalogue, HungarianLettersAreWindows1250Bytes) {
  Msg msg;
  // o with double acute is 0xF5, u with double acute 0xFB.
  EXPECT_TRUE(msg.Hun[1].startsWith("Megszakadt a komunik\xE1\x63i\xF3 az FP-XXX -r\xF5l!\n"));
  EXPECT_TRUE(msg.Hun[2].startsWith("Val\xF3sz\xEDn\xFBleg megszakadt a vev\xF5 DISPLAY k\xE1\x62\x65le!\n"));
  // Capitals and the one lower-case i with acute in the capitals of message 3.
  EXPECT_TRUE(msg.Hun[3].contains("1. CSER\xC9LJE KI A PAP\xEDRT!"));
  EXPECT_TRUE(msg.Hun[3].contains("3. Z\xC1RJA LE A FEDELET!"));
  // The en dash of the field messages, in every language.
  EXPECT_EQ(msg.Srb[54], "Polje SALE_PRICE \x96 mora biti od 0.01 do 990000");
  EXPECT_EQ(msg.Eng[54], "Field SALE_PRICE \x96 must be from 0.01 till 990000");
  EXPECT_EQ(msg.Hun[54], "SALE_PRICE mez\xF5 \x96 0.01-t\xF5l 990000-ig kell hogy legyen");
  // Every byte is single: one byte per character of the Serbian text.
  EXPECT_EQ(msg.Srb[63], "Dupli ART_DESC");
  EXPECT_EQ(msg.Hun[63], "Duplicate ART_DESC");
}

TEST(MessageCatalogue, FpXxxIsLiteralText) {
  Msg msg;
  EXPECT_EQ(msg.Get(57), "U toku rada programa doslo je do promene/zamene FP-XXX!\nProgram ce biti prekinut!");
  msg.Lang = "ENG";
  EXPECT_EQ(msg.Get(4),
            "Time difference between PC and FP-XXX is more then defined!\n\nRecomendation:\n\n1. Check and set PC "
            "time \n2. Check winter/summer time on FP-XXX, with Ostrik-menu\n3. Set time in certified service center");
}

}  // namespace
}  // namespace pralix
