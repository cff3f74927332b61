#pragma once
// Conversions between wide text and the Windows code pages the tool's
// single-byte texts are in: Qt's converters on Linux, the system's own on
// Windows.  Both give the same bytes for the same text.

#include <QByteArray>
#include <QString>

namespace pralix {

inline constexpr int kCentralEuropeanCodePage = 1250;  // the message texts
inline constexpr int kCyrillicCodePage = 1251;         // the printers' texts

// A character the code page lacks becomes one "?" (a character outside the
// Basic Multilingual Plane too); none is replaced by a look-alike.
QByteArray EncodeWithCodePage(const QString& text, int codePage);
// Each byte (or byte sequence) becomes the character the code page gives it.
QString DecodeWithCodePage(const QByteArray& bytes, int codePage);

// The PC's ANSI code page: the system's on Windows; Linux has none, and the
// Central European one stands in for it.
int AnsiCodePage();

}  // namespace pralix
