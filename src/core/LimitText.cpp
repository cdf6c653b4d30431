#include "LimitText.h"

#include <cmath>
#include <string>

std::optional<double> limit_text::toNumber(const QString& text) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        negative = t[i++] == u'-';
    std::string digits; // "123.45" in the C locale
    bool anyDigit = false, point = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c >= u'0' && c <= u'9') {
            digits.push_back(static_cast<char>(c.unicode()));
            anyDigit = true;
        } else if ((c == u'.' || c == u',') && !point) {
            digits.push_back('.');
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    const double v = std::strtod(digits.c_str(), nullptr);
    if (!std::isfinite(v))
        return std::nullopt;
    return negative ? -v : v;
}

std::optional<double> limit_text::parseLimit(const QString& text) {
    const auto v = toNumber(text);
    if (!v || *v > kMaxLimit)
        return std::nullopt;
    return v;
}
