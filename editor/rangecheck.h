// The range checks of the main window: the only place where a field's text is
// read as a number. A check never changes the text.
#pragma once

#include "catalogue.h"

#include <QLocale>
#include <QString>

namespace brinevar {

// Whether the whole text, apart from blanks at its ends, is one number as
// `locale` writes it: an optional sign, digits with at most one decimal
// separator of the locale, and an optional exponent (E, optional sign,
// digits). Grouping separators do not count: "1,000" is not numeric, so that
// no text that looks like a thousand passes a check as its leading 1.
bool IsNumeric(const QString &text, const QLocale &locale = QLocale());

// The number the text begins with, blanks skipped, "." the only decimal
// point whatever the locale, sign and exponent included; reading stops at the
// first character that cannot continue the number, and no number reads as 0.
// Only plain decimal forms are read: no hexadecimal, "inf" or "nan". A number
// too large for a double reads as infinity of its sign, so any range refuses
// it; one too small to tell from zero reads as the smallest double of its
// sign, so it still falls on its own side of a bound at 0.
double LeadingValue(const QString &text);

// Whether the text passes `check`: numeric, and its leading value neither
// above the highest nor below the lowest, compared with no rounding.
bool Passes(const QString &text, const RangeCheck &check, const QLocale &locale = QLocale());

} // namespace brinevar
