#pragma once
// The toolkit's standard boxes: an information message with one OK button,
// and the error box for errors an action does not handle.

#include <QString>
#include <QWidget>

namespace pralix {

inline constexpr char kInformationBoxTitle[] = "Information";
inline constexpr char kErrorBoxTitle[] = "Pralix";

// Both are modal and return once the user dismissed the box.
void ShowInformationBox(QWidget* parent, const QString& text);
void ShowErrorBox(QWidget* parent, const QString& text);

}  // namespace pralix
