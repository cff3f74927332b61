#pragma once
// Single-byte text files as lists of lines, the way the PC's string lists
// load and save them.

#include <QByteArray>
#include <QList>
#include <QString>

namespace pralix {

// Splits at CR LF, LF or a lone CR.  A final line break ends the last line
// and adds no empty line; an empty text has no lines.
QList<QByteArray> SplitTextLines(const QByteArray& text);

// Every line followed by CR LF.
QByteArray JoinCrLfLines(const QList<QByteArray>& lines);

// Reads a whole file; throws std::runtime_error when it cannot be read.
QByteArray ReadWholeFile(const QString& path);

// Replaces the file's content so that a crash or a full disk never leaves it
// half written: the bytes go to a temporary file in the same folder, which
// then takes the old file's place.  Throws std::runtime_error on failure, the
// old file then being untouched.
void ReplaceFileContent(const QString& path, const QByteArray& content);

}  // namespace pralix
