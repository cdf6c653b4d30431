// Fuzzes the limit field's parser with arbitrary text. Beyond not crashing, a number that comes
// out must be finite, parseLimit must agree with toNumber, and the text must only hold what the
// parser accepts (blanks around, one sign, digits, one decimal sign).

#include "LimitText.h"

#include <QString>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {
bool onlyAcceptedCharacters(const QString& text) {
    const QString t = text.trimmed();
    int points = 0;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c.isDigit() && c.unicode() < 0x80)
            continue;
        if (i == 0 && (c == u'+' || c == u'-'))
            continue;
        if ((c == u'.' || c == u',') && ++points == 1)
            continue;
        return false;
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto number = limit_text::toNumber(text);
    const auto limit = limit_text::parseLimit(text);
    if (number) {
        if (!std::isfinite(*number) || !onlyAcceptedCharacters(text))
            std::abort();
        if (limit.has_value() != (*number <= limit_text::kMaxLimit))
            std::abort();
        if (limit && *limit != *number)
            std::abort();
    } else if (limit) {
        std::abort();
    }
    return 0;
}
