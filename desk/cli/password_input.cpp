#include "cli/password_input.h"

#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace pralix::desk {

std::optional<QString> StandardInputPassword::readPassword(const QString& prompt) {
  const bool terminal = isatty(STDIN_FILENO) == 1;
  termios saved{};
  if (terminal) {
    std::fputs(prompt.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    tcgetattr(STDIN_FILENO, &saved);
    termios quiet = saved;
    quiet.c_lflag &= ~tcflag_t(ECHO);
    quiet.c_lflag |= ECHONL;
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  std::string line;
  bool any = false;
  for (int c; (c = std::getchar()) != EOF;) {
    any = true;
    if (c == '\n') break;
    line.push_back(char(c));
  }
  if (terminal) tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
  if (!any) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return QString::fromStdString(line);
}

}  // namespace pralix::desk
