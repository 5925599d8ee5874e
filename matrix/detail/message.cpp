#include "matrix/detail/message.h"

#include <cstdio>

namespace zelkor::detail {

namespace {
MessageReceiver g_receiver = nullptr;
}

std::string MinutesSeconds(double t)
{
    char text[64];
    std::snprintf(text, sizeof text, "%u m %2.2f s", static_cast<unsigned>(static_cast<int>(t) / 60),
                  (static_cast<int>(t * 100.0) % 6000) * 0.01);
    return text;
}

void ShowMessage(const char* text)
{
    if (g_receiver)
        g_receiver(text);
    else
        std::fputs(text, stderr);
}

MessageReceiver SetMessageReceiver(MessageReceiver receiver)
{
    MessageReceiver previous = g_receiver;
    g_receiver = receiver;
    return previous;
}

} // namespace zelkor::detail
