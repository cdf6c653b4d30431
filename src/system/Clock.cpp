#include "Clock.h"

#include <QTime>
#include <array>
#include <cctype>
#include <langinfo.h>
#include <locale.h>

namespace {
std::function<clock_::TimeOfDay()>& timeSource() {
    static std::function<clock_::TimeOfDay()> f;
    return f;
}
std::function<QString()>& dateSource() {
    static std::function<QString()> f;
    return f;
}

enum class Field { Day, Month, Year };

// The order of the date's fields in a strftime format and the text between the first two.
struct DatePattern {
    std::array<Field, 3> order{};
    int fields = 0;
    QByteArray separator;
    bool seen[3] = {false, false, false};

    void field(Field f) {
        if (seen[int(f)])
            return; // "%C%y" names the year twice
        seen[int(f)] = true;
        order[fields++] = f;
    }
    void literal(char c) {
        if (fields == 1)
            separator += c;
    }
    void read(QByteArrayView format, int depth = 0) {
        for (qsizetype i = 0; i < format.size(); ++i) {
            if (format[i] != '%') {
                literal(format[i]);
                continue;
            }
            // Flags, a width and the E and O modifiers change nothing here.
            while (++i < format.size() && QByteArrayView("_-0^#EO123456789").contains(format[i]))
                ;
            if (i == format.size())
                break;
            switch (format[i]) {
            case 'd':
            case 'e':
                field(Field::Day);
                break;
            case 'm':
            case 'b':
            case 'B':
            case 'h':
                field(Field::Month);
                break;
            case 'y':
            case 'Y':
            case 'C':
            case 'g':
            case 'G':
                field(Field::Year);
                break;
            case 'D': // %m/%d/%y by definition
            case 'x': // the short date itself: the C locale's is the only meaning it can have here
                if (depth == 0)
                    read("%m/%d/%y", depth + 1);
                break;
            case 'F':
                if (depth == 0)
                    read("%Y-%m-%d", depth + 1);
                break;
            case 'n':
            case 't':
                literal(' ');
                break;
            case '%':
                literal('%');
                break;
            default: // weekday names and the like are left out of a short date
                break;
            }
        }
    }
};

// A separator made of anything but blanks and punctuation (the words of "%Y年%m月%d日") is
// no separator: a slash stands for it.
bool plainSeparator(QByteArrayView s) {
    for (char c : s)
        if (!(c == ' ' || (c > ' ' && c < 0x7F && !std::isalnum(static_cast<unsigned char>(c)))))
            return false;
    return true;
}
} // namespace

clock_::TimeOfDay clock_::now() {
    if (timeSource())
        return timeSource()();
    const QTime t = QTime::currentTime();
    return {t.hour(), t.minute(), t.second()};
}

QString clock_::shortDate() {
    if (dateSource())
        return dateSource()();
    return formatShortDate(systemDateFormat(), QDate::currentDate());
}

QByteArray clock_::systemDateFormat() {
    // A locale object of its own leaves the process's locale as it is.
    locale_t loc = newlocale(LC_TIME_MASK, "", locale_t(nullptr));
    if (!loc)
        loc = newlocale(LC_TIME_MASK, "C", locale_t(nullptr));
    if (!loc)
        return QByteArrayLiteral("%m/%d/%y");
    const QByteArray format(nl_langinfo_l(D_FMT, loc));
    freelocale(loc);
    return format;
}

QString clock_::formatShortDate(QByteArrayView dateFormat, QDate date) {
    DatePattern p;
    p.read(dateFormat);
    if (p.fields < 3) {
        p.order = {Field::Day, Field::Month, Field::Year};
        p.separator = "/";
    } else if (!plainSeparator(p.separator)) {
        p.separator = "/";
    }
    QString out;
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            out += QLatin1StringView(p.separator);
        switch (p.order[i]) {
        case Field::Day:
            out += QStringLiteral("%1").arg(date.day(), 2, 10, QLatin1Char('0'));
            break;
        case Field::Month:
            out += QStringLiteral("%1").arg(date.month(), 2, 10, QLatin1Char('0'));
            break;
        case Field::Year:
            out += QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
            break;
        }
    }
    return out;
}

void clock_::setTimeSource(std::function<TimeOfDay()> source) {
    timeSource() = std::move(source);
}
void clock_::setDateSource(std::function<QString()> source) {
    dateSource() = std::move(source);
}
