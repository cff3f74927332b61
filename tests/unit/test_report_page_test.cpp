#include "workstation/test_report_page.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "messages/dialog_journal.h"
#include "recording_ui.h"
#include "workstation/last_test_page.h"
#include "qtcompat/qt_version_compat.h"  // u"..."_s

namespace pralix {
namespace {


class FixedClock final : public Clock {
 public:
  QDateTime now() const override { return QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53)); }
};

MainFields FoundFields() {
  MainFields f;
  f.ModelIndex = 0;
  f.LEFPPort.text = u"/dev/ttyS0/Ser"_s;
  f.LEIBFM.text = u"AG012345"_s;
  f.LEFirmware.text = u"1.22SR 09NOV03 1230,BB78"_s;
  f.LEDTDiff = {u"Dana: 3"_s, true};
  f.MemoHeader = QStringList{u"PRODAVNICA"_s, u"Šabac"_s};
  f.DiagDataSent = true;
  return f;
}

QString Page(const MainFields& f, const TestReportFacts& facts) { return QString::fromUtf8(TestReportPage(f, facts)); }

TestReportFacts Facts(bool found = true) {
  return {found, u"10.2.350"_s, FixedClock().now(), {}};
}

TEST(TestReportPage, NamesTheTestsCircumstances) {
  const QString page = Page(FoundFields(), Facts());
  for (const QString& part : {u"Printer found"_s, u"SRB (AG) FP-550"_s, u"/dev/ttyS0/Ser"_s, u"19200 baud"_s,
                              u"2026-03-14 09:26:53"_s, u"10.2.350"_s, u"1.22SR 09NOV03 1230,BB78"_s,
                              u"<li>Šabac</li>"_s, u"DiagData sent</th><td>yes"_s})
    EXPECT_TRUE(page.contains(part)) << part.toStdString();
}

TEST(TestReportPage, NotFoundSaysSoAndNamesNoPort) {
  MainFields f;
  f.ModelIndex = 5;
  const QString page = Page(f, Facts(false));
  EXPECT_TRUE(page.contains(u"Printer not found"_s));
  EXPECT_TRUE(page.contains(u"none answered"_s));
  EXPECT_TRUE(page.contains(u"9600 baud"_s));
  EXPECT_FALSE(page.contains(u"DiagData sent"_s));
}

TEST(TestReportPage, ModelOutsideTheCatalogueIsShownNotLookedUp) {
  MainFields f;
  f.ModelIndex = 16;
  EXPECT_TRUE(Page(f, Facts()).contains(u"model 16"_s));
  f.ModelIndex = -1;
  EXPECT_TRUE(Page(f, Facts()).contains(u"model -1"_s));
}

class RedMarkTest : public ::testing::TestWithParam<size_t> {};

TEST_P(RedMarkTest, OnlyTheRedFieldsRowIsMarked) {
  const LabelledEditInfo& edit = kLabelledEdits[GetParam()];
  MainFields f;
  (f.*edit.field) = {u"value"_s, true};
  const QString page = Page(f, Facts());
  EXPECT_EQ(page.count(u"<tr class=\"red\">"_s), 1);
  EXPECT_TRUE(page.contains(u"<tr class=\"red\"><th>"_s + QString::fromLatin1(edit.caption).toHtmlEscaped() + u"</th>"_s))
      << edit.name;
  EXPECT_TRUE(page.contains(u"<td class=\"mark\">red</td>"_s));
}

INSTANTIATE_TEST_SUITE_P(EveryField, RedMarkTest, ::testing::Range<size_t>(0, kLabelledEdits.size()));

TEST(TestReportPage, PrinterAndPcTextsAreEscaped) {
  MainFields f = FoundFields();
  f.LEPIB.text = uR"(<script>alert("x")</script> & 'q')"_s;
  f.MemoHeader = QStringList{u"<b>A&B</b>"_s, u"bell\x07 end"_s};
  TestReportFacts facts = Facts();
  facts.dialogs = {{u"<Caption>"_s, u"Paper \"low\" & <b>near</b> end"_s}};
  const QString page = Page(f, facts);
  EXPECT_TRUE(page.contains(u"&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt; &amp; &#39;q&#39;"_s));
  EXPECT_TRUE(page.contains(u"&lt;b&gt;A&amp;B&lt;/b&gt;"_s));
  EXPECT_TRUE(page.contains(u"bell\uFFFD end"_s));
  EXPECT_FALSE(page.contains(QChar(0x07)));
  EXPECT_TRUE(page.contains(u"&lt;Caption&gt;"_s));
  EXPECT_TRUE(page.contains(u"Paper &quot;low&quot; &amp; &lt;b&gt;near&lt;/b&gt; end"_s));
  EXPECT_FALSE(page.contains(u"<script"_s));
  EXPECT_FALSE(page.contains(u"<Caption>"_s));
}

TEST(TestReportPage, SelfContainedAndSizedForOneA4Sheet) {
  const QString page = Page(FoundFields(), Facts());
  EXPECT_TRUE(page.startsWith(u"<!DOCTYPE html>"_s));
  EXPECT_TRUE(page.contains(u"<meta charset=\"utf-8\">"_s));
  EXPECT_TRUE(page.contains(u"@page { size: A4;"_s));
  for (const QString& external : {u"http:"_s, u"https:"_s, u"src="_s, u"<link"_s, u"@import"_s, u"url("_s, u"<script"_s})
    EXPECT_FALSE(page.contains(external)) << external.toStdString();
}

TEST(TestReportPage, DialogsInTheOrderShown) {
  TestReportFacts facts = Facts();
  EXPECT_TRUE(Page(FoundFields(), facts).contains(u"<h2>Dialogs shown</h2>\n<p class=\"none\">None.</p>"_s));
  facts.dialogs = {{u"First"_s, u"one"_s}, {u"Second"_s, u"two"_s}};
  const QString page = Page(FoundFields(), facts);
  EXPECT_LT(page.indexOf(u"First"_s), page.indexOf(u"Second"_s));
}

TEST(DialogJournal, RecordsWhatItPassesOnInOrder) {
  test::RecordingUi inner;
  DialogJournal journal(inner, u"Information"_s, u"Pralix"_s);
  journal.showImportantMessage(u"FP"_s, u"paper"_s);
  journal.showInformation(u"info"_s);
  journal.showError(u"error"_s);
  journal.repaintMainWindow();
  ASSERT_EQ(journal.dialogs().size(), 3);
  EXPECT_EQ(journal.dialogs()[0].caption, u"FP"_s);
  EXPECT_EQ(journal.dialogs()[1].caption, u"Information"_s);
  EXPECT_EQ(journal.dialogs()[2].text, u"error"_s);
  EXPECT_EQ(inner.count(test::RecordingUi::Kind::ImportantMessage), 1);
  EXPECT_EQ(inner.count(test::RecordingUi::Kind::Information), 1);
  EXPECT_EQ(inner.count(test::RecordingUi::Kind::Error), 1);
  EXPECT_EQ(inner.count(test::RecordingUi::Kind::Repaint), 1);
  journal.clear();
  EXPECT_TRUE(journal.dialogs().isEmpty());
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(LastTestPage, EachFoundTestReplacesThePageWhole) {
  QTemporaryDir dir;
  test::RecordingUi inner;
  DialogJournal journal(inner, u"Information"_s, u"Pralix"_s);
  FixedClock clock;
  LastTestPageKeeper keeper(journal, clock, dir.path(), u"10.2.350"_s);
  EXPECT_EQ(keeper.pagePath(), QDir(dir.path()).filePath(u"Pralix_last_test.html"_s));

  journal.showInformation(u"before the test"_s);
  keeper.TestStarted();
  journal.showImportantMessage(u"FP"_s, u"Paper is running low"_s);
  MainFields first = FoundFields();
  keeper.TestFoundPrinter(first);
  const QString page1 = QString::fromUtf8(ReadFile(keeper.pagePath()));
  EXPECT_TRUE(page1.contains(u"Paper is running low"_s));
  EXPECT_FALSE(page1.contains(u"before the test"_s));

  keeper.TestStarted();
  MainFields second = FoundFields();
  second.LEIBFM.text = u"AG999999"_s;
  keeper.TestFoundPrinter(second);
  // The file is exactly the second page: nothing of the first is left.
  EXPECT_EQ(ReadFile(keeper.pagePath()), TestReportPage(second, {true, u"10.2.350"_s, clock.now(), {}}));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"Pralix_last_test.html"_s});
}

TEST(LastTestPage, UnwritableFolderDoesNotDisturbTheTest) {
  QTemporaryDir dir;
  test::RecordingUi inner;
  DialogJournal journal(inner, u"Information"_s, u"Pralix"_s);
  FixedClock clock;
  LastTestPageKeeper keeper(journal, clock, dir.filePath(u"missing/folder"_s), u"10.2.350"_s);
  EXPECT_NO_THROW(keeper.TestFoundPrinter(FoundFields()));
  EXPECT_FALSE(QFile::exists(keeper.pagePath()));
}

}  // namespace
}  // namespace pralix
