#include "LimitText.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
using limit_text::Kind;
using limit_text::Reading;

enum class Sep { Point, Comma, Blank };

bool separatorOf(QChar c, Sep& s) {
    switch (c.unicode()) {
    case u'.':
        s = Sep::Point;
        return true;
    case u',':
        s = Sep::Comma;
        return true;
    case 0x0020:
    case 0x00A0:
    case 0x202F:
        s = Sep::Blank;
        return true;
    default:
        return false;
    }
}

struct Run { // a run of digits, [begin, end) in the text
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype size() const { return end - begin; }
};

constexpr double kSaturated = 1e300;    // the whole part stops growing here
constexpr int kFractionDigits = 15;     // (10^15 - 1) / 10^15 is still below 1 as a double
constexpr quint64 kMax = 4294967295ull; // kMaxLimit
constexpr int kMaxDigits = 10;          // digits of kMax
} // namespace

Reading limit_text::read(const QString& text) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        negative = t[i++] == u'-';

    // The digits, as runs with one separator between neighbours.
    std::vector<Run> runs{{i, i}};
    std::vector<Sep> seps;
    qsizetype digits = 0;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        Sep s;
        if (c >= u'0' && c <= u'9') {
            runs.back().end = i + 1;
            ++digits;
        } else if (separatorOf(c, s)) {
            seps.push_back(s);
            runs.push_back({i + 1, i + 1});
        } else {
            return {};
        }
    }
    if (digits == 0)
        return {};
    const qsizetype k = static_cast<qsizetype>(seps.size());

    // The decimal sign, if any: seps[d], between runs[d] and runs[d + 1].
    qsizetype points = 0, commas = 0, lastSign = -1;
    for (qsizetype j = 0; j < k; ++j) {
        if (seps[j] == Sep::Blank)
            continue;
        ++(seps[j] == Sep::Point ? points : commas);
        lastSign = j;
    }
    qsizetype d = -1;
    if (points > 0 && commas > 0) {
        if ((seps[lastSign] == Sep::Point ? points : commas) != 1)
            return {};
        d = lastSign;
    } else if (points + commas == 1 && runs[lastSign + 1].size() != 3) {
        d = lastSign;
    }
    if (d >= 0 && d != k - 1) // only digits follow the decimal sign
        return {};
    for (qsizetype j = 0; j <= k; ++j) {
        const bool mayBeEmpty = (j == 0 && d == 0) || (j == k && d == k - 1);
        if (runs[j].size() == 0 && !mayBeEmpty)
            return {};
    }

    // Thousands separators: every separator of the whole part, runs[0, wholeEnd).
    const qsizetype wholeEnd = d < 0 ? k + 1 : d + 1;
    if (wholeEnd > 1) {
        for (qsizetype j = 1; j + 1 < wholeEnd; ++j)
            if (seps[j] != seps[0])
                return {};
        if (runs[0].size() > 3 || t[runs[0].begin] == u'0')
            return {};
        for (qsizetype j = 1; j < wholeEnd; ++j)
            if (runs[j].size() != 3)
                return {};
    }

    // The value, with no overflow however many digits there are.
    int significant = 0;
    quint64 whole = 0;       // exact while significant <= kMaxDigits
    double wholeValue = 0.0; // exact up to 2^53, saturating beyond
    for (qsizetype j = 0; j < wholeEnd; ++j) {
        for (qsizetype p = runs[j].begin; p < runs[j].end; ++p) {
            const int digit = t[p].unicode() - u'0';
            if (significant == 0 && digit == 0)
                continue;
            if (++significant <= kMaxDigits)
                whole = whole * 10 + static_cast<quint64>(digit);
            if (wholeValue < kSaturated)
                wholeValue = wholeValue * 10 + digit;
        }
    }
    double fraction = 0.0;
    bool fractionNonZero = false;
    if (d >= 0) {
        quint64 q = 0;
        double scale = 1.0;
        int used = 0;
        for (qsizetype p = runs[k].begin; p < runs[k].end; ++p) {
            const int digit = t[p].unicode() - u'0';
            fractionNonZero = fractionNonZero || digit != 0;
            if (used < kFractionDigits) {
                q = q * 10 + static_cast<quint64>(digit);
                scale *= 10;
                ++used;
            }
        }
        fraction = static_cast<double>(q) / scale;
    }
    double value = wholeValue + fraction;
    // A fraction never carries into the whole part, or a search would take one candidate more.
    if (significant <= kMaxDigits && value >= wholeValue + 1)
        value = std::nextafter(wholeValue + 1, 0.0);

    if (negative)
        return {Kind::Number, -value};
    if (significant > kMaxDigits || whole > kMax || (whole == kMax && fractionNonZero))
        return {Kind::TooLarge, std::max(value, std::nextafter(kMaxLimit, kSaturated))};
    return {Kind::Number, value};
}
