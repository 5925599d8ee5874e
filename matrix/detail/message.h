// The library's timing reports to the user.
#pragma once

#include <string>

namespace zelkor::detail {

// A time of t seconds as timing reports show it: "%u m %2.2f s" with the
// whole minutes and the seconds within the minute to the hundredth.
std::string MinutesSeconds(double t);

// Shows text to the user through the platform's message service.
void ShowMessage(const char* text);

} // namespace zelkor::detail
