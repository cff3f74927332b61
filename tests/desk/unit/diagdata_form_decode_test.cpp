// The desk's strict reading of the tool's form body.

#include <gtest/gtest.h>

#include "diagdata/diagdata_form.h"
#include "diagdata/diagdata_form_decode.h"
#include "support/sample_records.h"

namespace pralix {
namespace {

using desk::test::SampleBody;
using desk::test::SampleValues;

// The ten fields of a plausible record with one field's encoded value
// replaced, in the tool's order.
QByteArray BodyWith(const QByteArray& name, const QByteArray& encodedValue) {
  QByteArrayList fields;
  const desk::DiagValues values = SampleValues(QStringLiteral("AG123456"));
  for (int i = 0; i < kDiagDataFieldCount; ++i) {
    const QByteArray field = kDiagDataFieldNames[i];
    fields += field + '=' + (field == name ? encodedValue : EncodeFormComponent(values[i]));
  }
  return fields.join('&');
}

TEST(DecodeDiagDataForm, ReadsBackWhatTheToolEncodes) {
  const desk::DiagValues values = {QStringLiteral("AG123456"), QString(), QStringLiteral("a+b c%d&e=f"),
                                   QStringLiteral("10.0/10.2.5"), QString::fromUtf8("šđčćž ШЂ €"), QString(),
                                   QStringLiteral("*-._~!"), QStringLiteral("COM3/Ser"), QStringLiteral("Dana: 3"),
                                   QStringLiteral("A\r\nB\r\n\r\n\r\n\r\n\r\nDIAG\n")};
  const DiagDataFormDecoding decoded = DecodeDiagDataForm(desk::test::BodyOf(values));
  ASSERT_TRUE(decoded.ok()) << decoded.explanation().toStdString();
  for (int i = 0; i < kDiagDataFieldCount; ++i) EXPECT_EQ(decoded.values[i], values[i]) << kDiagDataFieldNames[i];
}

TEST(DecodeDiagDataForm, PlusIsASpaceEncodedPlusIsAPlusAndAnyOrderAndHexCaseDo) {
  QByteArray body = BodyWith("cp", "COM3+%2b+%c5%a1");
  const qsizetype h6l = body.indexOf("&h6l=");
  body = body.mid(h6l + 1) + '&' + body.left(h6l);  // h6l first
  const DiagDataFormDecoding decoded = DecodeDiagDataForm(body);
  ASSERT_TRUE(decoded.ok()) << decoded.explanation().toStdString();
  EXPECT_EQ(decoded.values[desk::kCp], QString::fromUtf8("COM3 + š"));
}

struct RefusedBody {
  const char* what;
  QByteArray body;
  FormDecodeProblem problem;
  const char* field;
};

TEST(DecodeDiagDataForm, RefusesWithTheReason) {
  const QByteArray good = SampleBody(QStringLiteral("AG123456"));
  const RefusedBody cases[] = {
      {"empty body", "", FormDecodeProblem::MissingField, "ibfm"},
      {"h6l missing", good.left(good.indexOf("&h6l=")), FormDecodeProblem::MissingField, "h6l"},
      {"pib twice", good + "&pib=1", FormDecodeProblem::RepeatedField, "pib"},
      {"unknown field", good + "&x=1", FormDecodeProblem::UnknownField, "x"},
      {"names are case-sensitive", BodyWith("plu", "1").replace("plu=", "PLU="), FormDecodeProblem::UnknownField, "PLU"},
      {"trailing &", good + "&", FormDecodeProblem::EmptyName, ""},
      {"empty name", "=1&" + good, FormDecodeProblem::EmptyName, ""},
      {"no equals sign", "ibfm&" + good, FormDecodeProblem::MissingEquals, "ibfm"},
      {"% and one digit at the end", BodyWith("h6l", "DIAG%4"), FormDecodeProblem::BadPercentEncoding, "h6l"},
      {"% and no hex digits", BodyWith("plu", "%GZ"), FormDecodeProblem::BadPercentEncoding, "plu"},
      {"bad % in a name", "%ZZ=1&" + good, FormDecodeProblem::BadPercentEncoding, ""},
      {"lone lead byte", BodyWith("fw", "%C3%28"), FormDecodeProblem::InvalidUtf8, "fw"},
      {"raw Latin-1 byte", BodyWith("fw", "\xE8"), FormDecodeProblem::InvalidUtf8, "fw"},
      {"overlong slash, two bytes", BodyWith("fw", "%C0%AF"), FormDecodeProblem::InvalidUtf8, "fw"},
      {"overlong slash, three bytes", BodyWith("fw", "%E0%80%AF"), FormDecodeProblem::InvalidUtf8, "fw"},
      {"overlong, four bytes", BodyWith("fw", "%F0%80%80%AF"), FormDecodeProblem::InvalidUtf8, "fw"},
      {"high surrogate", BodyWith("fw", "%ED%A0%80"), FormDecodeProblem::InvalidUtf8, "fw"},
      {"low surrogate", BodyWith("fw", "%ED%BF%BF"), FormDecodeProblem::InvalidUtf8, "fw"},
      {"past U+10FFFF", BodyWith("fw", "%F4%90%80%80"), FormDecodeProblem::InvalidUtf8, "fw"},
      {"F5 lead byte", BodyWith("fw", "%F5%80%80%80"), FormDecodeProblem::InvalidUtf8, "fw"},
      {"sequence cut short", BodyWith("fw", "%E2%82"), FormDecodeProblem::InvalidUtf8, "fw"},
      {"stray continuation byte", BodyWith("fw", "%80"), FormDecodeProblem::InvalidUtf8, "fw"},
      {"NUL", BodyWith("pib", "1%002"), FormDecodeProblem::NulCharacter, "pib"},
  };
  for (const RefusedBody& c : cases) {
    const DiagDataFormDecoding decoded = DecodeDiagDataForm(c.body);
    EXPECT_EQ(decoded.problem, c.problem) << c.what;
    EXPECT_EQ(decoded.field, QString::fromUtf8(c.field)) << c.what;
    EXPECT_FALSE(decoded.explanation().isEmpty()) << c.what;
  }
}

TEST(IsStrictUtf8, TakesTheEdgesOfEachLength) {
  for (const char* valid : {"\x7F", "\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xED\x9F\xBF", "\xEE\x80\x80",
                            "\xEF\xBF\xBF", "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF"})
    EXPECT_TRUE(IsStrictUtf8(QByteArray(valid))) << QByteArray(valid).toHex().constData();
  for (const char* invalid : {"\xC1\xBF", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80", "\xC2", "\xC2\xC0"})
    EXPECT_FALSE(IsStrictUtf8(QByteArray(invalid))) << QByteArray(invalid).toHex().constData();
}

}  // namespace
}  // namespace pralix
