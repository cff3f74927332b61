#include "app/window_options.h"

#include <array>

namespace pralix {
namespace {

struct QtOption {
  const char* name;  // without the leading dash
  bool takesValue;
  bool acceptsEquals;  // "-name=VALUE" as well as "-name VALUE"
};

// QGuiApplication's and QApplication's documented options (Qt 6.4), with
// X11's -display and -geometry.
constexpr std::array<QtOption, 17> kQtOptions = {{
    {"platform", true, false},
    {"platformpluginpath", true, false},
    {"platformtheme", true, false},
    {"plugin", true, false},
    {"qwindowgeometry", true, false},
    {"qwindowicon", true, false},
    {"qwindowtitle", true, false},
    {"session", true, false},
    {"display", true, false},
    {"geometry", true, false},
    {"style", true, true},
    {"stylesheet", true, true},
    {"reverse", false, false},
    {"widgetcount", false, false},
    {"qmljsdebugger", true, true},
    {"nograb", false, false},
    {"dograb", false, false},
}};

WindowOptions UsageError(const QString& error) {
  WindowOptions options;
  options.action = WindowOptions::Action::UsageError;
  options.error = error;
  return options;
}

// The option's name without its one or two leading dashes; empty for an
// argument that is not an option.
QString OptionName(const QString& arg) {
  if (arg.startsWith(QLatin1String("--"))) return arg.mid(2);
  if (arg.startsWith(u'-')) return arg.mid(1);
  return {};
}

const QtOption* FindQtOption(const QString& name) {
  for (const QtOption& option : kQtOptions)
    if (name == QLatin1String(option.name)) return &option;
  return nullptr;
}

}  // namespace

WindowOptions ParseWindowOptions(const QStringList& args) {
  WindowOptions options;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
      options.action = WindowOptions::Action::ShowHelp;
      return options;
    }
    if (arg == QLatin1String("--version") || arg == QLatin1String("-V")) {
      options.action = WindowOptions::Action::ShowVersion;
      return options;
    }
    if (arg == QLatin1String("--trace")) {
      if (i + 1 == args.size()) return UsageError(QStringLiteral("--trace needs a FILE"));
      options.traceFile = args[++i];
      continue;
    }
    if (arg == QLatin1String("--exit-when-shown")) {
      options.exitWhenShown = true;
      continue;
    }

    QString name = OptionName(arg);
    QString value;
    bool hasValue = false;
    const qsizetype equals = name.indexOf(u'=');
    if (equals > 0) {
      value = name.mid(equals + 1);
      name.truncate(equals);
      hasValue = true;
    }
    const QtOption* qt = name.isEmpty() ? nullptr : FindQtOption(name);
    if (!qt || (hasValue && !qt->acceptsEquals))
      return UsageError(QStringLiteral("unknown argument ") + arg);
    if (qt->takesValue && !hasValue) {
      if (i + 1 == args.size()) return UsageError(arg + QStringLiteral(" needs a value"));
      value = args[++i];
    }
    if (name == QLatin1String("platform")) options.platform = value;
    if (name == QLatin1String("display")) options.displayNamed = true;
  }
  return options;
}

}  // namespace pralix
