#include "app/command_help.h"

namespace pralix {

void AddHelpOption(QCommandLineParser& parser) {
  parser.addOption({{"h", "help"}, "Show this help and exit."});
}

QString CommandHelpText(const QCommandLineParser& parser, const QString& usage) {
  // Qt's own text starts with its "Usage:" line, which the command's usage
  // replaces; the description and the option list after it are kept.
  const QString qtHelp = parser.helpText();
  const qsizetype firstLineEnd = qtHelp.indexOf(u'\n');
  return usage + (firstLineEnd < 0 ? QString() : qtHelp.mid(firstLineEnd + 1));
}

}  // namespace pralix
