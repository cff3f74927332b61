#pragma once
// The DiagData record's form encoding, as the tool posts it.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace pralix {

// One name or value of a form: A-Z a-z 0-9 * - . _ stay, a space becomes "+",
// every other character goes as its UTF-8 bytes, each "%XX" in upper case.
QByteArray EncodeFormComponent(const QString& text);

// The request body: each line split at its first "=" into name and value,
// both encoded, joined by "=", the fields by "&".  A line without "=" is a
// name with an empty value.
QByteArray EncodeDiagDataForm(const QStringList& record);

}  // namespace pralix
