#pragma once
// Where "user add" reads the new password: one line of standard input,
// without echo when it is a terminal.

#include <QString>
#include <optional>

namespace pralix::desk {

class PasswordInput {
 public:
  virtual ~PasswordInput() = default;
  // The line without its end; nothing at end of input before any line.
  virtual std::optional<QString> readPassword(const QString& prompt) = 0;
};

// Standard input; on a terminal the prompt goes to standard error and echo
// is off while the line is typed.
class StandardInputPassword : public PasswordInput {
 public:
  std::optional<QString> readPassword(const QString& prompt) override;
};

}  // namespace pralix::desk
