// Fuzzes the limit field's reader with arbitrary text. Beyond not crashing: the value is finite
// and agrees with the kind (0 for no number, at most the largest limit for a positive number,
// above it when too large); a text read as a number holds only what the reader accepts (blanks
// around, one sign, ASCII digits, "." "," and the grouping blanks); and the two conventions are
// mirror images, so swapping every "." with every "," changes nothing, nor do blanks around.

#include "LimitText.h"

#include <QString>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {
using limit_text::Kind;

bool onlyAcceptedCharacters(const QString& text) {
    const QString t = text.trimmed();
    for (qsizetype i = 0; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if ((c >= u'0' && c <= u'9') || c == u'.' || c == u',' || c == u' ' || c == 0x00A0 ||
            c == 0x202F)
            continue;
        if (i == 0 && (c == u'+' || c == u'-'))
            continue;
        return false;
    }
    return true;
}

QString swapSigns(QString text) {
    for (QChar& c : text) {
        if (c == u'.')
            c = u',';
        else if (c == u',')
            c = u'.';
    }
    return text;
}

bool same(const limit_text::Reading& a, const limit_text::Reading& b) {
    return a.kind == b.kind && a.value == b.value;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const limit_text::Reading r = limit_text::read(text);
    if (!std::isfinite(r.value))
        std::abort();
    switch (r.kind) {
    case Kind::NotANumber:
        if (r.value != 0)
            std::abort();
        break;
    case Kind::Number:
        if (r.value > limit_text::kMaxLimit || !onlyAcceptedCharacters(text))
            std::abort();
        break;
    case Kind::TooLarge:
        if (!(r.value > limit_text::kMaxLimit) || !onlyAcceptedCharacters(text))
            std::abort();
        break;
    }
    if (!same(r, limit_text::read(swapSigns(text))))
        std::abort();
    if (!same(r, limit_text::read(QStringLiteral(" ") + text + QStringLiteral("\t"))))
        std::abort();
    return 0;
}
