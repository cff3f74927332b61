#pragma once
// Single-byte code pages as the PC converts them.

#include <QByteArray>
#include <QString>
#include <QStringEncoder>

namespace pralix {

// Encodes text with the code page that makeEncoder gives; a character the
// code page lacks becomes "?", as on the PC (Qt's converter writes 0x1A).
QByteArray EncodeOrQuestionMark(const QString& text, QStringEncoder (*makeEncoder)());

}  // namespace pralix
