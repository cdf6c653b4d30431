#pragma once
// The local time of day and today's date in the system's short-date format: day and month with
// two digits and the year with four, in the order and with the separator of the C library's
// short-date format for the user's date setting (LC_TIME). Tests inject either through the
// seams; nothing here formats anything else.

#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <functional>

namespace clock_ {

struct TimeOfDay {
    int hour = 0; // 0..23
    int minute = 0;
    int second = 0;
};

TimeOfDay now();
QString shortDate();

// The C library's short-date format (as nl_langinfo(D_FMT) gives it) for the date setting of
// the environment (LC_ALL, LC_TIME, LANG); the C locale's format when that setting names no
// installed locale.
QByteArray systemDateFormat();
// `date` written after the order and separator of the strftime format `dateFormat`: "%d/%m/%y"
// gives 08/12/2026. A format that does not name day, month and year gives day/month/year.
QString formatShortDate(QByteArrayView dateFormat, QDate date);

// Seams: empty to return to the system clock.
void setTimeSource(std::function<TimeOfDay()> source);
void setDateSource(std::function<QString()> source);

} // namespace clock_
