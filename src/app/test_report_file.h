#pragma once
// pralix test --report FILE: the test's page written whole, then renamed
// into place, so an earlier report survives a failed write.

#include <QList>
#include <QString>
#include <QTextStream>

#include "messages/shown_dialog.h"
#include "workstation/main_fields.h"

namespace pralix {

// Returns false after telling err why the file could not be written.
bool WriteTestReportFile(const QString& path, const MainFields& fields, bool found,
                         const QList<ShownDialog>& dialogs, QTextStream& err);

}  // namespace pralix
