#include "Clock.h"

#include <QDate>
#include <QLocale>
#include <QTime>

namespace {
std::function<clock_::TimeOfDay()>& timeSource() {
    static std::function<clock_::TimeOfDay()> f;
    return f;
}
std::function<QString()>& dateSource() {
    static std::function<QString()> f;
    return f;
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
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

void clock_::setTimeSource(std::function<TimeOfDay()> source) {
    timeSource() = std::move(source);
}
void clock_::setDateSource(std::function<QString()> source) {
    dateSource() = std::move(source);
}
