#pragma once
// Converts the text of the limit field to a number. Accepted: optional blanks around, an
// optional sign, decimal digits and an optional fractional part after "." or ",". Anything
// else (empty text, letters, exponents, several signs) does not convert. Pure text handling.

#include <QString>
#include <optional>

namespace limit_text {

constexpr double kMaxLimit = 4294967295.0;

// The number the text stands for, or nothing when it does not convert.
std::optional<double> toNumber(const QString& text);
// As toNumber, but also refuses a limit above kMaxLimit.
std::optional<double> parseLimit(const QString& text);

} // namespace limit_text
