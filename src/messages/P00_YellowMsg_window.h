#pragma once
// The important-message dialog: a warning text and an OK button on the info
// background, laid out around the text on every show.  Any character key
// closes it, as OK does.  The mutex and the texts are YellowMsg's business.

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace pralix {

class TFormYellowMsg final : public QDialog {
 public:
  explicit TFormYellowMsg(QWidget* parent = nullptr);

  // Sets the caption and the text and shows the dialog modally; returns once
  // the user closed it.
  void ShowModal(const QString& caption, const QString& text);

  QGroupBox* GroupBox1;
  QLabel* LabelMsg;
  QPushButton* Button1;

  void setVisible(bool visible) override;

 private:
  void LayOut();
};

}  // namespace pralix
