// The model list, the firmware table and the model code of a serial.

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <set>
#include <string>

#include "workstation/model_catalogue.h"
#include "qtcompat/qt_version_compat.h"  // u"..."_s

namespace pralix {
namespace {

TEST(ModelCatalogueTest, LinesAreComposedFromTheirColumns) {
  const std::set<qint32> standardRates = {9600, 19200, 38400, 57600, 115200};
  for (const ModelEntry& entry : ModelCatalogue) {
    const QString line = QString::fromLatin1(entry.line);
    EXPECT_EQ(line.size(), 23) << entry.line;
    const QString left = QStringLiteral("%1 (%2) %3").arg(entry.market, entry.code, entry.name);
    const QString baud = QString::number(entry.baud);
    EXPECT_EQ(line, left.leftJustified(23 - baud.size(), u' ') + baud) << entry.line;
    EXPECT_TRUE(standardRates.count(entry.baud)) << entry.line;
  }
  EXPECT_STREQ(ModelCatalogue[0].line, "SRB (AG) FP-550   19200");
  EXPECT_STREQ(ModelCatalogue[10].line, "MNE (VG) VG-1000 115200");
  EXPECT_STREQ(ModelCatalogue[15].line, "MLW (MW) FP-700  115200");
}

TEST(ModelCatalogueTest, FirmwareTextsHaveTheComposedForm) {
  const QRegularExpression form(R"(^\d\.\d\d[A-Z]{2} \d\d(JAN|FEB|MAR|APR|MAY|JUN|JUL|AUG|SEP|OCT|NOV|DEC)\d\d \d{4},[0-9A-F]{4}$)");
  std::set<std::string> distinct;
  for (const char* text : KnownFirmware) {
    EXPECT_TRUE(form.match(QString::fromLatin1(text)).hasMatch()) << text;
    distinct.insert(text);
  }
  EXPECT_EQ(distinct.size(), KnownFirmware.size());
  EXPECT_STREQ(KnownFirmware.front(), "1.22SR 09NOV03 1230,BB78");
  EXPECT_STREQ(KnownFirmware.back(), "1.00MK 23OCT14 1030,960F");
}

QByteArray CodeOf(const QString& serial) {
  MainFields fields;
  fields.LEIBFM.text = serial;
  return ModelCode(fields);
}

TEST(ModelCodeTest, EveryPrefixRow) {
  struct Case {
    QString serial;
    QByteArray code;
  };
  const Case cases[] = {
      {u"АГ123456"_s, "AG"},
      {u"AГ123456"_s, "AG"},  // Latin A, Cyrillic Г
      {u"АЈ123456"_s, "AJ"},
      {u"AG123456"_s, "AJ"},  // Latin A and G
      {u"СГ123456"_s, "SG"},
      {u"XX123456"_s, "SG"},
      {u"СЈ123456"_s, "SJ"},
      {u"ЗИ123456"_s, "ZI"},
      {u"ЛК123456"_s, "LK"},
      {u"АИ123456"_s, "AI"},
      {u"АК123456"_s, "AK"},
  };
  for (const Case& c : cases) EXPECT_EQ(CodeOf(c.serial), c.code) << c.serial.toStdString();
}

TEST(ModelCodeTest, OtherPrefixesPassThrough) {
  struct Case {
    QString serial;
    QByteArray code;
  };
  const Case cases[] = {
      {QString(), ""},
      {u"A"_s, "A"},
      {u"А"_s, "\xC0"},          // a lone Cyrillic А: its byte
      {u"VG012345"_s, "VG"},
      {u"AG12345E"_s, "AJ"},     // marked serials keep their code
      {u"E"_s, "E"},
      {u"СA123"_s, "\xD1" "A"},   // Cyrillic С with Latin A is no row
      {u"АJ123456"_s, "\xC0J"},  // Cyrillic А with Latin J is no row
      {u"AЈ123456"_s, "A\xA3"},  // Latin A with Cyrillic Ј is no row
      {u"ГА123456"_s, "\xC3\xC0"},
      {u"xx123456"_s, "xx"},     // lower case is not "XX"
      {u"ag123456"_s, "ag"},
      {u"ŠK12"_s, "?K"},         // not in Windows-1251
  };
  for (const Case& c : cases) EXPECT_EQ(CodeOf(c.serial), c.code) << c.serial.toStdString();
}

TEST(ModelCodeTest, SerbianCatalogueCodesMatchTheirCyrillicSerials) {
  const QString cyrillicPrefix[8] = {u"АГ"_s, u"СЈ"_s, u"СГ"_s, u"АЈ"_s, u"АИ"_s, u"АК"_s, u"ЛК"_s, u"ЗИ"_s};
  for (int i = 0; i < 8; ++i)
    EXPECT_EQ(CodeOf(cyrillicPrefix[i] + u"000001"_s), QByteArray(ModelCatalogue[i].code)) << ModelCatalogue[i].line;
}

}  // namespace
}  // namespace pralix
