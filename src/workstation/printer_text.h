#pragma once
// Conversions between the printers' single-byte Cyrillic texts (Windows-1251)
// and the window's wide text, and the repair of the receipt header letters.

#include <QByteArray>
#include <QString>

namespace pralix {

// Each byte becomes the character Windows-1251 gives it.
QString DecodePrinterText(const QByteArray& bytes);

// The reverse; a character Windows-1251 cannot represent becomes "?" (0x3F).
QByteArray EncodePrinterText(const QString& text);

// The printers carry the Serbian Latin letters Š Đ Ž Č Ć (and small) at the
// places of Ю Ъ Ы Э Ь; turns those ten letters back, leaves all else as is.
QString TransliterateText(const QString& text);

}  // namespace pralix
