#pragma once
// Key preview: a window sees every character key pressed in it before the
// control that has the focus, and decides whether that control still gets it.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace pralix {

class KeyPreview final : public QObject {
 public:
  // Called with the key's character (Enter is 13, Esc 27); returns true when
  // the key is swallowed, false when it goes on to the focused control.
  using Handler = std::function<bool(QChar key)>;

  // Watches the key presses of every widget whose window is `window`, from
  // the application's event stream, so that controls added later and the
  // window itself are covered alike.  Keys that produce no character (Shift,
  // arrows, function keys) are not previewed.
  KeyPreview(QWidget* window, Handler handler);

 protected:
  bool eventFilter(QObject* target, QEvent* event) override;

 private:
  QPointer<QWidget> window_;
  Handler handler_;
  bool forwarding_ = false;
};

}  // namespace pralix
