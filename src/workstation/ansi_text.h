#pragma once
// Single-byte text in the PC's ANSI code page, as the tool's own log files
// hold it.

#include <QByteArray>
#include <QString>

namespace pralix {

// Windows: the system's ANSI code page.  Linux has none, so the Central
// European one, Windows-1250, stands in for it.  A character the code page
// lacks becomes "?".
QByteArray EncodeAnsiText(const QString& text);
// The reverse, for the single-byte files the tool reads.
QString DecodeAnsiText(const QByteArray& bytes);

}  // namespace pralix
