#pragma once
// A flat panel used as a button: a caption on a filled background that runs
// its handler when the mouse is pressed and released over it.  It carries a
// Tag, as the main window's action panels carry their digit.

#include <QLabel>
#include <QVariant>
#include <functional>

namespace pralix {

class ClickPanel final : public QLabel {
 public:
  ClickPanel(const QString& caption, QWidget* parent);

  void setOnClick(std::function<void()> onClick) { onClick_ = std::move(onClick); }
  int Tag() const { return property("Tag").toInt(); }
  void setTag(int tag) { setProperty("Tag", tag); }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  std::function<void()> onClick_;
  bool pressed_ = false;
};

}  // namespace pralix
