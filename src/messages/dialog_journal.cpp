#include "messages/dialog_journal.h"

namespace pralix {

// Each dialog is noted before it is shown: a modal dialog returns only once
// closed, and what it said belongs to the record even if the program ends there.
void DialogJournal::showImportantMessage(const QString& caption, const QString& text) {
  dialogs_.append({caption, text});
  inner_.showImportantMessage(caption, text);
}

void DialogJournal::showInformation(const QString& text) {
  dialogs_.append({informationCaption_, text});
  inner_.showInformation(text);
}

void DialogJournal::showError(const QString& text) {
  dialogs_.append({errorCaption_, text});
  inner_.showError(text);
}

}  // namespace pralix
