#include "messages/message_box_window.h"

#include <QMessageBox>

namespace pralix {

namespace {

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const char* title, const QString& text) {
  QMessageBox box(icon, QString::fromLatin1(title), text, QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace

void ShowInformationBox(QWidget* parent, const QString& text) {
  ShowBox(parent, QMessageBox::Information, kInformationBoxTitle, text);
}

void ShowErrorBox(QWidget* parent, const QString& text) { ShowBox(parent, QMessageBox::Critical, kErrorBoxTitle, text); }

}  // namespace pralix
