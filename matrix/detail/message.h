// The library's way to show a message to the user.
#pragma once

#include <string>

namespace zelkor::detail {

// A time of t seconds as timing reports show it: "%u m %2.2f s" with the
// whole minutes and the seconds within the minute to the hundredth.
std::string MinutesSeconds(double t);

// Shows text to the user through the message service.
void ShowMessage(const char* text);

// Until the platform's message service is in place: replaces the receiver
// of ShowMessage (null: standard error) and returns the previous one.
using MessageReceiver = void (*)(const char* text);
MessageReceiver SetMessageReceiver(MessageReceiver receiver);

} // namespace zelkor::detail
