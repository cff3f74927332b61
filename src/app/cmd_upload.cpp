// pralix upload: sends what the DiagData outbox holds, oldest first, and says
// how many records went, how many are still kept and whether one failed.

#include <QCommandLineParser>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <limits>

#include "app/commands.h"
#include "platform/qt/qt_http_client.h"
#include "workstation/diag_outbox_round.h"
#include "workstation/diag_upload.h"
#include "qtcompat/qt_version_compat.h"

namespace pralix {

namespace {

enum UploadExit { kOutboxEmpty = 0, kRecordsLeft = 1, kUsage = 2 };

}  // namespace

int RunUploadCommand(const QStringList& args) {
  Utf8TextStream out(stdout);
  Utf8TextStream err(stderr);
  QCommandLineParser parser;
  parser.addOption({"json", "Print one JSON object."});
  const QString usage = QStringLiteral("usage: pralix upload [--json]\n");
  if (!parser.parse(QStringList{"pralix upload"} + args) || !parser.positionalArguments().isEmpty()) {
    err << parser.errorText() << "\n" << usage;
    return kUsage;
  }

  const SystemClock clock;
  QtHttpClient http;
  DiagOutbox outbox(DiagOutboxFolder(), OutboxLogTo(QDir::currentPath(), clock));
  // Asked for by hand: every record, each request within the client's bound.
  const OutboxRound round = SendKeptRecords(outbox, http, DiagDataUrl(), clock, std::numeric_limits<int>::max(),
                                            std::chrono::milliseconds::max());

  const QString folder = QDir::toNativeSeparators(outbox.folder());
  if (parser.isSet("json")) {
    const QJsonObject o{{"sent", round.sent}, {"kept", round.kept}, {"failed", round.failed}, {"outbox", folder}};
    out << QJsonDocument(o).toJson(QJsonDocument::Compact) << "\n";
  } else {
    out << QStringLiteral("sent %1, kept %2, failed %3 (%4)\n").arg(round.sent).arg(round.kept).arg(round.failed).arg(folder);
  }
  return round.kept == 0 ? kOutboxEmpty : kRecordsLeft;
}

}  // namespace pralix
