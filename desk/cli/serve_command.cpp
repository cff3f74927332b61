#include <QCoreApplication>
#include <QDateTime>
#include <QTimer>

#include "cli/database_choice.h"
#include "cli/desk_commands.h"
#include "cli/termination_signals.h"
#include "api/api_endpoint.h"
#include "api/api_tokens.h"
#include "api/csv_export_page.h"
#include "auth/database_access_check.h"
#include "auth/login_endpoint.h"
#include "auth/logout_page.h"
#include "auth/secret_text.h"
#include "auth/sessions.h"
#include "auth/sodium.h"
#include "auth/thread_pool_password_checks.h"
#include "http/desk_router.h"
#include "http/ingest_endpoint.h"
#include "http/qt_http_server_adapter.h"
#include "pages/desk_pages.h"
#include "store/open_desk_store.h"
#include "store/open_fleet_queries.h"
#include "store/reconnecting_account_store.h"
#include "store/record_writer.h"
#include "store/sql_fleet_export_reader.h"

namespace pralix::desk {
namespace {

// How often a stopping desk looks whether its last answers are out, and how
// long it waits at most for a request that is still arriving.
constexpr int kDrainTickMs = 20;
constexpr int kDrainLimitMs = 10000;

qint64 NowMs() { return QDateTime::currentMSecsSinceEpoch(); }

// After SIGTERM: no new connections; the requests already received are
// committed and answered (two quiet looks in a row, so that bytes the kernel
// already holds are read first), then the event loop ends.
void DrainThenQuit(QtHttpServerAdapter& server) {
  server.stopListening();
  auto* timer = new QTimer(&server);
  auto quietLooks = std::make_shared<int>(0);
  auto waited = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, &server, [&server, timer, quietLooks, waited] {
    const bool quiet = server.unansweredCount() == 0 && !server.receivingRequest();
    *quietLooks = quiet ? *quietLooks + 1 : 0;
    *waited += kDrainTickMs;
    // After the limit only a streamed answer under way may be cut short:
    // its client sees the chunked body end without its last chunk.
    if (*quietLooks >= 2 || (*waited >= kDrainLimitMs && server.unstartedCount() == 0)) {
      timer->stop();
      server.flushAnswers();
      QCoreApplication::quit();
    }
  });
  timer->start(kDrainTickMs);
}

}  // namespace

int RunServe(const DeskOptions& options, const QProcessEnvironment& environment, Console console) {
  TerminationSignals termination;  // before the writer thread starts, so it inherits the blocked signals

  QString error;
  const std::optional<DatabaseUrl> url = ParseDatabaseUrl(ChooseDatabaseUrl(options.database, environment), &error);
  if (!url) {
    console.err << "pralix-desk: " << error << Qt::endl << UsageText(DeskCommand::Serve);
    return 2;
  }
  const std::optional<ListenAddress> listen = ParseListenAddress(options.listen);
  IngestSettings settings;
  for (const QString& proxy : options.trustedProxies) settings.trustedProxies += QHostAddress(proxy);

  QObject deliveries;  // the writer's outcomes arrive on this thread through it
  RecordWriter writer([url = *url] { return OpenDeskStore(url, NowMs()); }, &deliveries);
  try {
    writer.start();
  } catch (const StoreFailure& failure) {
    console.err << "pralix-desk: " << failure.message() << Qt::endl;
    return 1;
  }

  // The gate's and the pages' connections are the event loop's own; the
  // writer has migrated the schema by now.
  SodiumRandom random;
  SodiumPasswordHasher hasher;
  const std::unique_ptr<AccountStore> accounts = OpenReconnectingAccountStore(*url);
  Sessions sessions(*accounts, random, NowMs);
  ApiTokens tokens(*accounts, NowMs);
  DatabaseAccessCheck access(sessions, tokens);
  LoginService logins(*accounts, sessions, NowMs, ThrottleRule{}, hasher.hash(NewSecret(random)));
  ThreadPoolPasswordChecks passwordChecks(hasher);
  LoginEndpoint login(logins, passwordChecks, random, settings.trustedProxies);
  IngestEndpoint endpoint(writer, settings, NowMs);
  const std::unique_ptr<FleetQueries> fleet = OpenFleetQueries(*url);

  DeskRouter router(endpoint, login, access);
  router.addPage(PathMatch::Exact, QLatin1String(kLogoutPath), std::make_shared<LogoutPage>(sessions, settings.trustedProxies),
                 PageAccess::Session, {"POST"});
  router.setApi(std::make_shared<ApiEndpoint>(*fleet, NowMs));
  router.addPage(PathMatch::Exact, QStringLiteral("/printers.csv"),
                 std::make_shared<CsvExportPage>([url = *url] { return OpenFleetExportReader(url); }, NowMs));
  AddDeskPages(router, PageContext{*url, NowMs});
  QtHttpServerAdapter server(router);
  if (!server.listenOn(listen->address, listen->port, &error)) {
    console.err << "pralix-desk: cannot listen on " << options.listen << ": " << error << Qt::endl;
    writer.stop();
    return 1;
  }
  ListenAddress bound = *listen;
  bound.port = server.port();
  console.out << "listening on " << bound.url() << Qt::endl;

  bool stopping = false;
  QObject::connect(&termination, &TerminationSignals::received, &server, [&server, &stopping](int) {
    if (stopping) return;
    stopping = true;
    DrainThenQuit(server);
  });
  QCoreApplication::exec();
  writer.stop();
  return 0;
}

}  // namespace pralix::desk
