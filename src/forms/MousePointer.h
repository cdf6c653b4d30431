#pragma once
// The application-wide mouse pointer: 0 default, 11 hourglass. Each call sets it; calls do not
// stack, so setting 0 brings the default pointer back whatever was set before.

namespace pointer {
constexpr int kDefault = 0;
constexpr int kHourglass = 11;
void setMousePointer(int value);
int mousePointer();
} // namespace pointer
