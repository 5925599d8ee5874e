#include "matrix/detail/message.h"

#include <cstdio>

#include "platform/afx/message.h"

namespace zelkor::detail {

std::string MinutesSeconds(double t)
{
    char text[64];
    std::snprintf(text, sizeof text, "%u m %2.2f s", static_cast<unsigned>(static_cast<int>(t) / 60),
                  (static_cast<int>(t * 100.0) % 6000) * 0.01);
    return text;
}

void ShowMessage(const char* text)
{
    AfxMessageBox(text, MB_OK);
}

} // namespace zelkor::detail
