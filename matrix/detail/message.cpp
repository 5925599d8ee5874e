#include "matrix/detail/message.h"

#include <cstdio>

namespace zelkor::detail {

namespace {
MessageReceiver g_receiver = nullptr;
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
