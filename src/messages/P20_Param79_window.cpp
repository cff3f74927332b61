#include "messages/P20_Param79_window.h"

#include "messages/key_preview_window.h"
#include "messages/message_box_window.h"
#include "messages/window_fonts_window.h"

namespace pralix {

namespace {

const QColor kDarkRed(90, 13, 22);
const QColor kOffWhite(249, 251, 248);

QDateEdit* DatePicker(QWidget* parent, const char* name, int top) {
  auto* picker = new QDateEdit(parent);
  picker->setObjectName(QString::fromLatin1(name));
  picker->setGeometry(39, top, 150, 24);
  picker->setCalendarPopup(true);
  picker->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
  QPalette palette = picker->palette();
  palette.setColor(QPalette::Base, kOffWhite);
  palette.setColor(QPalette::Text, Qt::black);
  picker->setPalette(palette);
  return picker;
}

QLabel* Caption(QWidget* parent, const char* name, const char* text, int top) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->move(39, top);
  label->adjustSize();
  return label;
}

}  // namespace

TFormParam79::TFormParam79(const Clock& clock, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), clock_(clock) {
  setObjectName(QStringLiteral("FormParam79"));
  setWindowTitle(QStringLiteral("Enter"));
  setModal(true);
  setFixedSize(224, 281);  // outer 240 x 320 with the frame
  setFont(WindowFont("Lucida Console", 16));
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kDarkRed);
  palette.setColor(QPalette::WindowText, kOffWhite);
  setPalette(palette);

  // Created in tab order: From, To, OK.
  Label3 = Caption(this, "Label3", "Period", 24);
  Label1 = Caption(this, "Label1", "Od / From", 58);
  DTPFrom = DatePicker(this, "DTPFrom", 82);
  Label2 = Caption(this, "Label2", "Do / To", 128);
  DTPTo = DatePicker(this, "DTPTo", 154);

  Panel1 = new ClickPanel(QStringLiteral("OK"), this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setGeometry(39, 204, 150, 50);
  Panel1->setAlignment(Qt::AlignCenter);
  Panel1->setFocusPolicy(Qt::TabFocus);
  QPalette panel = Panel1->palette();
  panel.setColor(QPalette::Window, kOffWhite);
  panel.setColor(QPalette::WindowText, Qt::black);
  Panel1->setPalette(panel);
  Panel1->setOnClick([this] { accept(); });

  // Enter is OK with its check and Esc is Cancel, whichever control has
  // the focus; every other key belongs to the pickers.
  new KeyPreview(this, [this](QChar key) {
    if (key == QChar(13)) {
      accept();
      return true;
    }
    if (key == QChar(27)) {
      reject();
      return true;
    }
    return false;
  });
}

void TFormParam79::showEvent(QShowEvent* event) {
  // A range chosen earlier is not kept from one use to the next.
  const QDate today = clock_.now().date();
  DTPFrom->setDate(today);
  DTPTo->setDate(today);
  DTPFrom->setFocus();
  QDialog::showEvent(event);
}

void TFormParam79::accept() {
  // The pickers allow any year; the rule refuses those the printer cannot
  // carry, so a wrong PC date shows in the pickers and is named, not bent.
  const PeriodVerdict verdict = JudgePeriod(DTPFrom->date(), DTPTo->date());
  if (!verdict.accepted()) {
    ShowInformationBox(this, verdict.message);
    return;
  }
  done(mrOk);
}

}  // namespace pralix
