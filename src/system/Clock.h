#pragma once
// The local time of day and today's date in the system's short-date format.
// Tests inject either through the seams; nothing here formats anything else.

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

// Seams: empty to return to the system clock.
void setTimeSource(std::function<TimeOfDay()> source);
void setDateSource(std::function<QString()> source);

} // namespace clock_
