// The library's way to show a message to the user.
#pragma once

namespace zelkor::detail {

// Shows text to the user through the message service.
void ShowMessage(const char* text);

// Until the platform's message service is in place: replaces the receiver
// of ShowMessage (null: standard error) and returns the previous one.
using MessageReceiver = void (*)(const char* text);
MessageReceiver SetMessageReceiver(MessageReceiver receiver);

} // namespace zelkor::detail
