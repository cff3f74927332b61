#pragma once
// Values read out of printer replies.

#include <QByteArray>
#include <QtGlobal>

namespace pralix {

// The printer's "dd-mm-yy hh:mm:ss" (read like scanf's "%d-%d-%d %d:%d:%d",
// the year plus 2000) as a date-time value; 0 when the text does not yield
// six numbers or they are no valid date and time of day.
double ParseFPDateTime(const QByteArray& replyData);

// A decimal integer read like the C library's atol: leading white space, an
// optional sign, digits up to the first non-digit; 0 without digits.  Values
// beyond 32 bits stop at the nearest limit.
qint32 ReadDecimalLikeAtol(const QByteArray& text);

}  // namespace pralix
