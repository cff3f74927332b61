#include "messages/key_preview_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <memory>

namespace pralix {

KeyPreview::KeyPreview(QWidget* window, Handler handler)
    : QObject(window), window_(window), handler_(std::move(handler)) {
  QCoreApplication::instance()->installEventFilter(this);
}

bool KeyPreview::eventFilter(QObject* target, QEvent* event) {
  if (event->type() != QEvent::KeyPress || forwarding_ || !target->isWidgetType() || window_ == nullptr) return false;
  auto* widget = static_cast<QWidget*>(target);
  if (widget->window() != window_) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->text().isEmpty()) return false;

  // The handler may run a whole action, modal dialogs and all.
  QPointer<QWidget> receiver = widget;
  QPointer<KeyPreview> self = this;
  if (handler_(key->text().front()) || self == nullptr || receiver == nullptr) return true;

  // A key that the focused control ignores travels up to its parents, and
  // the preview would meet it again on each: hand the control a copy while
  // the preview stands aside, and let the original stop here.
  auto copy = std::make_unique<QKeyEvent>(key->type(), key->key(), key->modifiers(), key->nativeScanCode(),
                                          key->nativeVirtualKey(), key->nativeModifiers(), key->text(),
                                          key->isAutoRepeat(), ushort(key->count()));
  forwarding_ = true;
  QCoreApplication::sendEvent(receiver, copy.get());
  forwarding_ = false;
  key->setAccepted(copy->isAccepted());
  return true;
}

}  // namespace pralix
