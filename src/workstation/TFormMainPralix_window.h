#pragma once
// The main window: model list, the fields the test fills, the action panels
// and the status strip.  It shows the workstation's fields and hands every
// key (through key preview) and every panel click to its dispatcher.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>
#include <array>

#include "build_config.h"
#include "messages/click_panel_window.h"
#include "workstation/main_fields.h"
#include "workstation/workstation.h"

namespace pralix {

class TFormMainPralix final : public QWidget {
 public:
  static constexpr char kCaption[] = "Dexu - PRALIX r" PRALIX_VERSION " - FP Connectivity test";
  static constexpr int kClientWidth = 709;   // outer 725 x 600 with the frame
  static constexpr int kClientHeight = 561;

  explicit TFormMainPralix(Workstation& workstation, QWidget* parent = nullptr);

  // Copies the workstation's fields into the controls: texts, red marks,
  // the ports, the header lines, the model choice and the panels shown.
  void refreshFromFields();

  // A labelled edit of kLabelledEdits by its name, and its caption above
  // it; null for an unknown name.
  QLineEdit* EditNamed(const char* name) const;
  QLabel* EditLabelNamed(const char* name) const;
  // Panel1 .. Panel0 by their Tag.
  ClickPanel* ActionPanel(int tag) const;

  QLabel* Label2;
  QPlainTextEdit* MemoPorts;
  QLabel* Label1;
  QComboBox* CBFP;
  QPlainTextEdit* MemoHeader;
  QLabel* Panel12;
  ClickPanel* LabelWeb;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateLabelledEdits();
  void CreateActionPanels();
  void CreateStatusStrip();

  Workstation& workstation_;
  std::array<QLineEdit*, kLabelledEdits.size()> edits_{};
  std::array<QLabel*, kLabelledEdits.size()> editLabels_{};
  std::array<ClickPanel*, 8> panels_{};
  bool centred_ = false;
};

}  // namespace pralix
