#include "workstation/last_test_page.h"

#include <QDir>
#include <stdexcept>

#include "workstation/test_report_page.h"
#include "workstation/text_lines.h"

namespace pralix {

QString LastTestPageKeeper::pagePath() const { return QDir(directory_).filePath(QString::fromLatin1(kLastTestPageName)); }

void LastTestPageKeeper::TestFoundPrinter(const MainFields& fields) {
  const QByteArray page = TestReportPage(fields, {true, toolVersion_, clock_.now(), journal_.dialogs()});
  try {
    ReplaceFileContent(pagePath(), page);
  } catch (const std::runtime_error&) {
    // The summary log beside it has been written; the page is a convenience.
  }
}

}  // namespace pralix
