// The DiagData record as the upload receives it.

#include <gtest/gtest.h>

#include "workstation/diag_data.h"

namespace pralix {
namespace {

MainFields TestedFields() {
  MainFields fields;
  fields.LEIBFM.text = QString::fromUtf8("АГ123456");  // Cyrillic A and G
  fields.LEPIB.text = QStringLiteral("123456789");
  fields.LEFirmware.text = QStringLiteral("1.22SR 09NOV03 1230,BB78");
  fields.LECurrJXVer.text = QStringLiteral("Windows 10/3.2.1");
  fields.LETax.text = QStringLiteral("010110000");
  fields.LEBPDI.text = QStringLiteral("987");
  fields.LEPluNumber.text = QStringLiteral("150");
  fields.LEFPPort.text = QStringLiteral("COM3/Ser");
  fields.LEDTDiff.text = QStringLiteral("00:02");
  fields.MemoHeader = QStringList{QStringLiteral("PRODAVNICA"), QString::fromUtf8("Šumadijska 1"), QStringLiteral("Beograd"),
                       QStringLiteral("PIB 123456789"), QString(), QStringLiteral("HVALA")};
  return fields;
}

TEST(BuildDiagData, TenLinesInOrderFromTheFields) {
  const QStringList expected = {
      QStringLiteral("ibfm=AG123456"),
      QStringLiteral("pib=123456789"),
      QStringLiteral("fw=1.22SR 09NOV03 1230,BB78"),
      QStringLiteral("jx=Windows 10/3.2.1"),
      QStringLiteral("tg=010110000"),
      QStringLiteral("bpdi=987"),
      QStringLiteral("plu=150"),
      QStringLiteral("cp=COM3/Ser"),
      QStringLiteral("diff=00:02"),
      QString::fromUtf8("h6l=PRODAVNICA\r\nŠumadijska 1\r\nBeograd\r\nPIB 123456789\r\n\r\nHVALA\r\nDIAG\n"),
  };
  EXPECT_EQ(BuildDiagData(TestedFields()), expected);
}

TEST(BuildDiagData, EmptyFieldsGiveEmptyValuesAndTheEndMarkerStays) {
  const QStringList expected = {
      QStringLiteral("ibfm="), QStringLiteral("pib="),  QStringLiteral("fw="),
      QStringLiteral("jx="),   QStringLiteral("tg="),   QStringLiteral("bpdi="),
      QStringLiteral("plu="),  QStringLiteral("cp="),   QStringLiteral("diff="),
      QStringLiteral("h6l=DIAG\n"),
  };
  EXPECT_EQ(BuildDiagData(MainFields{}), expected);
}

TEST(BuildDiagData, LastLineEndsInOneLineFeedWhileHeaderLinesEndInCrLf) {
  const QString last = BuildDiagData(TestedFields()).constLast();
  EXPECT_TRUE(last.endsWith(QStringLiteral("\r\nDIAG\n")));
  EXPECT_FALSE(last.endsWith(QStringLiteral("\r\n")));
  EXPECT_EQ(last.count(QStringLiteral("\r\n")), 6);
}

struct SerialCase {
  const char* serial;  // UTF-8 text of LEIBFM
  const char* ibfm;    // expected value of ibfm=
};

class DiagDataSerial : public testing::TestWithParam<SerialCase> {};

TEST_P(DiagDataSerial, ModelCodeReplacesTheFirstTwoCharacters) {
  MainFields fields;
  fields.LEIBFM.text = QString::fromUtf8(GetParam().serial);
  EXPECT_EQ(BuildDiagData(fields).constFirst(), QStringLiteral("ibfm=") + QString::fromUtf8(GetParam().ibfm));
}

INSTANTIATE_TEST_SUITE_P(
    Serials, DiagDataSerial,
    testing::Values(SerialCase{"АГ123456", "AG123456"},
                    SerialCase{"AГ123456", "AG123456"},   // Latin A, Cyrillic Г
                    SerialCase{"AG12345E", "AJ12345E"},   // marked by the test; Latin AG is the AJ code
                    SerialCase{"ЛК654321", "LK654321"},
                    SerialCase{"XX000001", "SG000001"},
                    SerialCase{"VG012345", "VG012345"},
                    SerialCase{"VGX12345678", "VGX12345"},  // characters 3 to 8 only
                    SerialCase{"ДТ123456", "ДТ123456"},     // no catalogue row: the serial's own letters
                    SerialCase{"AC65", "AC65"},             // shorter than the range: what there is
                    SerialCase{"E", "E"},                   // an empty serial marked by the test
                    SerialCase{"", ""}));

TEST(BuildDiagData, DayCountDifferenceIsSentWhole) {
  MainFields fields;
  fields.LEDTDiff.text = QStringLiteral("Dana: -3");
  EXPECT_EQ(BuildDiagData(fields).at(8), QStringLiteral("diff=Dana: -3"));
}

}  // namespace
}  // namespace pralix
