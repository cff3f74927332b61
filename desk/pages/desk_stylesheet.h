#pragma once
// The desk's one stylesheet, served as /desk.css (the pages' CSP allows
// style only from the desk itself).  On paper: no buttons or forms, black
// text, and the text marks of red values and changes still there.

#include <QByteArray>

namespace pralix::desk {

inline constexpr char kStylesheetPath[] = "/desk.css";

QByteArray DeskStylesheet();

}  // namespace pralix::desk
