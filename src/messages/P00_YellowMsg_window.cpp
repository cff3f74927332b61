#include "messages/P00_YellowMsg_window.h"

#include <QApplication>

#include "messages/P00_YellowMsg.h"
#include "messages/key_preview_window.h"
#include "messages/window_fonts_window.h"

namespace pralix {

TFormYellowMsg::TFormYellowMsg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      GroupBox1(new QGroupBox(this)),
      LabelMsg(new QLabel(GroupBox1)),
      Button1(new QPushButton(QStringLiteral("OK"), this)) {
  setObjectName(QStringLiteral("FormYellowMsg"));
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  LabelMsg->setObjectName(QStringLiteral("LabelMsg"));
  Button1->setObjectName(QStringLiteral("Button1"));

  setWindowTitle(QString::fromLatin1(kYellowMsgDesignCaption));
  setModal(true);
  setFont(WindowFont("Verdana", 13));
  setAutoFillBackground(true);
  QPalette info = palette();
  info.setColor(QPalette::Window, info.color(QPalette::ToolTipBase));
  info.setColor(QPalette::WindowText, info.color(QPalette::ToolTipText));
  setPalette(info);

  // The design-time layout; every show lays the dialog out again.
  setFixedSize(233, 218);
  GroupBox1->setGeometry(0, 0, 233, 145);
  LabelMsg->setTextFormat(Qt::PlainText);
  LabelMsg->setWordWrap(false);
  LabelMsg->move(24, 24);
  Button1->setFont(WindowFont("Verdana", 16));
  Button1->setGeometry(72, 169, 80, 30);
  Button1->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

  // Any key that produces a character closes the dialog, Enter, Esc and
  // Space included, before the button can see it.
  new KeyPreview(this, [this](QChar) {
    accept();
    return true;
  });
}

void TFormYellowMsg::ShowModal(const QString& caption, const QString& text) {
  setWindowTitle(caption);
  LabelMsg->setText(text);
  exec();
}

void TFormYellowMsg::setVisible(bool visible) {
  if (visible && !isVisible()) {
    // The message must be seen even when the tool sits minimised behind
    // another program.
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (window != this && window->isMinimized()) window->showNormal();
    }
    LayOut();
  }
  QDialog::setVisible(visible);
  if (visible) {
    raise();
    activateWindow();
  }
}

void TFormYellowMsg::LayOut() {
  LabelMsg->adjustSize();
  const YellowMsgLayout l = LayoutYellowMsg(LabelMsg->width(), LabelMsg->height());
  Button1->resize(l.buttonWidth, l.buttonHeight);
  LabelMsg->setGeometry(l.labelLeft, l.labelTop, l.labelWidth, LabelMsg->height());
  GroupBox1->setGeometry(0, 0, l.clientWidth, l.groupBoxHeight);
  setFixedSize(l.clientWidth, l.clientHeight);
  Button1->move(l.buttonLeft, l.buttonTop);
}

}  // namespace pralix
