#pragma once
// --help for the headless commands: the usage line and what each option means,
// on standard output.

#include <QCommandLineParser>
#include <QString>

namespace pralix {

// Adds -h and --help to the command's options.
void AddHelpOption(QCommandLineParser& parser);

// The usage text followed by the parser's list of options and arguments.
QString CommandHelpText(const QCommandLineParser& parser, const QString& usage);

}  // namespace pralix
