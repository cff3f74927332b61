// The man page and the bash completion are written by hand; these checks read
// the tool's sources and fail when a sub-command, an option or an environment
// variable is added there but not to the page or the completion.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

namespace {

QString ReadSource(const QString& relative) {
  QFile file(QStringLiteral(PRALIX_SOURCE_DIR "/") + relative);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << relative.toStdString();
  return QString::fromUtf8(file.readAll());
}

// Every .cpp under src/ (the Windows backends too: their variables are read
// on Windows, and the page is the same).
QString AllSources(const QString& folder) {
  QString all;
  QDir dir(QStringLiteral(PRALIX_SOURCE_DIR "/") + folder);
  for (const QString& name : dir.entryList({"*.cpp"}, QDir::Files, QDir::Name))
    all += ReadSource(folder + "/" + name);
  for (const QString& sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
    all += AllSources(folder + "/" + sub);
  return all;
}

QStringList Captures(const QString& text, const QString& pattern) {
  QSet<QString> seen;
  QStringList found;
  auto it = QRegularExpression(pattern).globalMatch(text);
  while (it.hasNext()) {
    const QString name = it.next().captured(1);
    if (!seen.contains(name)) found << name;
    seen.insert(name);
  }
  return found;
}

// In roff a dash is written "\-".
QString Roff(QString text) { return text.replace("-", "\\-"); }

const QString kManPage = "packaging/linux/pralix.1";
const QString kCompletion = "packaging/linux/pralix.bash-completion";

TEST(ManPage, NamesEverySubcommandOfMain) {
  const QStringList subcommands =
      Captures(ReadSource("src/app/main.cpp"), R"re(\{"([a-z-]+)",\s*pralix::Run\w+Command\})re");
  ASSERT_GE(subcommands.size(), 4) << "the sub-command table of main.cpp was not found";
  const QString page = ReadSource(kManPage);
  const QString completion = ReadSource(kCompletion);
  const QString completionList = Captures(completion, R"re(local subcommands="([^"]*)")re").value(0);
  ASSERT_FALSE(completionList.isEmpty());
  for (const QString& sub : subcommands) {
    EXPECT_TRUE(page.contains(".SS \"pralix " + Roff(sub))) << "no section for pralix " << sub.toStdString();
    EXPECT_TRUE(page.contains(".B pralix " + Roff(sub))) << "not in the synopsis: " << sub.toStdString();
    EXPECT_TRUE(completionList.split(' ').contains(sub)) << "not completed: " << sub.toStdString();
    EXPECT_TRUE(completion.contains("    " + sub + ")")) << "no option list completed for " << sub.toStdString();
  }
}

TEST(ManPage, NamesEveryLongOptionOfTheCommands) {
  // QCommandLineParser options of the sub-commands, and the window's own.
  const QString app = AllSources("src/app");
  QStringList options = Captures(app, R"re(addOption\(\{"([a-z][a-z-]+)")re");
  options += Captures(app, R"re(QLatin1String\("--([a-z][a-z-]+)"\))re");
  ASSERT_GE(options.size(), 8) << "the option declarations were not found";
  const QString page = ReadSource(kManPage);
  const QString completion = ReadSource(kCompletion);
  for (const QString& option : options) {
    EXPECT_TRUE(page.contains("\\-\\-" + Roff(option))) << "--" << option.toStdString() << " missing from the man page";
    EXPECT_TRUE(completion.contains("--" + option)) << "--" << option.toStdString() << " not completed";
  }
}

TEST(ManPage, NamesEveryToolkitOptionTheWindowTakes) {
  // The table of Qt's options: {"name", takesValue, acceptsEquals}.
  const QStringList qtOptions =
      Captures(AllSources("src/app"), R"re(\{"([a-z]+)",\s*(?:true|false),\s*(?:true|false)\})re");
  if (qtOptions.isEmpty()) GTEST_SKIP() << "the window takes no toolkit options";
  const QString page = ReadSource(kManPage);
  const QString completion = ReadSource(kCompletion);
  for (const QString& option : qtOptions) {
    EXPECT_TRUE(page.contains(QRegularExpression("\\\\-" + option + "\\b"))) << "-" << option.toStdString();
    if (option != QLatin1String("qmljsdebugger")) {  // a debugger hook nobody types
      EXPECT_TRUE(completion.contains(QRegularExpression("\\s-" + option + "\\b"))) << "-" << option.toStdString();
    }
  }
}

TEST(ManPage, NamesEveryEnvironmentVariableTheToolReads) {
  const QString sources = AllSources("src");
  QStringList variables = Captures(sources, R"re(qEnvironmentVariable\("([A-Z_]+)"\))re");
  variables += Captures(sources, R"re(getenv\("([A-Z_]+)"\))re");
  variables += Captures(sources, R"re(qgetenv\("([A-Z_]+)"\))re");
  ASSERT_TRUE(variables.contains("PRALIX_EXTRA_PORTS"));
  const QString environment = ReadSource(kManPage).section(".SH ENVIRONMENT", 1).section("\n.SH ", 0, 0);
  ASSERT_FALSE(environment.isEmpty()) << "no ENVIRONMENT section";
  for (const QString& variable : variables)
    EXPECT_TRUE(environment.contains(variable)) << variable.toStdString() << " is not in ENVIRONMENT";
}

TEST(ManPage, GivesTheExitStatusOfEverySubcommand) {
  const QStringList subcommands =
      Captures(ReadSource("src/app/main.cpp"), R"re(\{"([a-z-]+)",\s*pralix::Run\w+Command\})re");
  const QString status = ReadSource(kManPage).section(".SH EXIT STATUS", 1).section("\n.SH ", 0, 0);
  ASSERT_FALSE(status.isEmpty()) << "no EXIT STATUS section";
  for (const QString& sub : subcommands)
    EXPECT_TRUE(status.contains(".B pralix " + Roff(sub) + "\n")) << sub.toStdString();
}

}  // namespace
