#include "app/test_report_file.h"

#include <QDateTime>
#include <stdexcept>

#include "build_config.h"
#include "workstation/test_report_page.h"
#include "workstation/text_lines.h"

namespace pralix {

bool WriteTestReportFile(const QString& path, const MainFields& fields, bool found,
                         const QList<ShownDialog>& dialogs, QTextStream& err) {
  const TestReportFacts facts{found, QStringLiteral(PRALIX_VERSION), QDateTime::currentDateTime(), dialogs};
  try {
    ReplaceFileContent(path, TestReportPage(fields, facts));
    return true;
  } catch (const std::runtime_error& e) {
    err << "pralix: cannot write the report " << path << ": " << e.what() << "\n";
    return false;
  }
}

}  // namespace pralix
