#include "messages/click_panel_window.h"

#include <QMouseEvent>

#include "qtcompat/qt_version_compat_widgets.h"

namespace pralix {

ClickPanel::ClickPanel(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
  setAutoFillBackground(true);
  setTextFormat(Qt::PlainText);
  setCursor(Qt::PointingHandCursor);
}

void ClickPanel::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  event->accept();
}

void ClickPanel::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(MouseEventPoint(*event));
  pressed_ = false;
  event->accept();
  if (click && onClick_) onClick_();
}

}  // namespace pralix
