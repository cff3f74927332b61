#include "modal_script.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPushButton>
#include <QtTest/QTest>

#include "messages/P00_YellowMsg_window.h"
#include "messages/P20_Param79_window.h"

namespace pralix::test {

namespace {

ShownModal Describe(QWidget* modal) {
  ShownModal shown;
  shown.title = modal->windowTitle();
  shown.clientSize = modal->size();
  if (auto* box = dynamic_cast<QMessageBox*>(modal)) {
    shown.className = QStringLiteral("QMessageBox");
    shown.text = box->text();
    shown.icon = box->icon();
  } else if (auto* yellow = dynamic_cast<TFormYellowMsg*>(modal)) {
    shown.className = QStringLiteral("TFormYellowMsg");
    shown.text = yellow->LabelMsg->text();
    shown.labelGeometry = yellow->LabelMsg->geometry();
    shown.groupBoxGeometry = yellow->GroupBox1->geometry();
    shown.buttonGeometry = yellow->Button1->geometry();
  } else if (dynamic_cast<TFormParam79*>(modal) != nullptr) {
    shown.className = QStringLiteral("TFormParam79");
  } else {
    shown.className = QStringLiteral("QWidget");
  }
  return shown;
}

QWidget* KeyTarget(QWidget* modal) {
  QWidget* focus = modal->focusWidget();
  return focus != nullptr ? focus : modal;
}

}  // namespace

ModalScript::ModalScript() {
  // Polls from inside the modal loops of the code under test; the answer
  // itself runs from a separate single shot, so that a modal it opens in
  // turn is polled for again.
  timer_.setInterval(1);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
  timer_.start();
}

ModalScript::~ModalScript() { timer_.stop(); }

ModalScript& ModalScript::then(Action action) {
  actions_.push_back(std::move(action));
  return *this;
}

void ModalScript::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr || modal == current_) return;
  current_ = modal;
  shown_.push_back(Describe(modal));
  Action action;
  if (actions_.empty()) {
    ++unexpected_;
    action = CloseByTitleBar();
  } else {
    action = std::move(actions_.front());
    actions_.pop_front();
  }
  QPointer<QWidget> target = modal;
  QTimer::singleShot(0, [this, target, action] {
    if (target == nullptr) return;
    action(target);
    // Closed: the same dialog may come up again at once.
    if (target == nullptr || !target->isVisible()) current_ = nullptr;
  });
}

ModalScript::Action ModalScript::PressKey(Qt::Key key) {
  return [key](QWidget* modal) { QTest::keyClick(KeyTarget(modal), key); };
}

ModalScript::Action ModalScript::ClickOk() {
  return [](QWidget* modal) {
    if (auto* box = dynamic_cast<QMessageBox*>(modal)) {
      QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    } else if (auto* yellow = dynamic_cast<TFormYellowMsg*>(modal)) {
      QTest::mouseClick(yellow->Button1, Qt::LeftButton);
    } else if (auto* period = dynamic_cast<TFormParam79*>(modal)) {
      QTest::mouseClick(period->Panel1, Qt::LeftButton);
    }
  };
}

ModalScript::Action ModalScript::CloseByTitleBar() {
  return [](QWidget* modal) {
    // What the window system sends for the title bar's close button.
    QCloseEvent event;
    QApplication::sendEvent(modal, &event);
  };
}

ModalScript::Action ModalScript::EnterPeriod(QDate from, QDate to) {
  return [from, to](QWidget* modal) {
    auto* period = dynamic_cast<TFormParam79*>(modal);
    if (period == nullptr) return;
    period->DTPFrom->setDate(from);
    period->DTPTo->setDate(to);
    QTest::keyClick(KeyTarget(period), Qt::Key_Return);
  };
}

}  // namespace pralix::test
