#pragma once
// Reads the text of the limit field as a number, written as Spanish speakers write numbers under
// either of the two common conventions ("3.000,5" or "3,000.5"), and reads it the same under
// every locale: no conversion of the C library or of the toolkit is involved. It only reads;
// what the search does with the number, and what the user is told when the text is refused,
// belong to the window.
//
// The text, blanks around it aside, is an optional "+" or "-" followed by the digits 0 to 9 split
// by separators: "." and "," (the signs), and the blanks U+0020, U+00A0 (no-break space) and
// U+202F (narrow no-break space). A separator stands alone between two digits, except that a
// decimal sign may also begin the number (",5") or end it ("3.").
// - The decimal sign. Where both signs appear, the last sign is the decimal sign, and it must be
//   the only one of its kind ("1.000,5", "1,000.5"). Where one sign appears once and is not
//   followed by exactly three digits, it is the decimal sign ("30,5", "1.0000"). Every other
//   sign groups thousands, as every blank does ("3.000", "3,000", "3 000").
// - Grouping. All the thousands separators of one number are of one kind (all ".", all "," or
//   all blanks) and stand in the whole part only; the first group has one to three digits and
//   does not begin with 0; each later group has exactly three digits. So "1.000.00", "1,0,0",
//   "3.000,5.0", "1234.567", "1 000.000" and "0.500" (a lone 0 is never a group) are refused.
// - Without grouping, the whole part may have any number of digits, leading zeros included.
// A positive number above 4294967295 is too large (a fraction above it counts). A negative
// number of any size is read as a number. Time is linear in the length of the text.

#include <QString>

namespace limit_text {

constexpr double kMaxLimit = 4294967295.0;

enum class Kind { Number, NotANumber, TooLarge };

struct Reading {
    Kind kind = Kind::NotANumber;
    // The number read, always finite: 0 for text that is not a number; above kMaxLimit when too
    // large (exact up to 2^53, beyond that saturating near 1e300, and likewise for negatives).
    double value = 0;
};

Reading read(const QString& text);

} // namespace limit_text
