// Reading helpers shared by the serialised containers of the library.
#pragma once

#include "platform/afx/afx.h"

namespace zelkor::detail {

// Reads a count word of an archive and refuses a negative one.
inline int ReadCount(CArchive& ar)
{
    LONG n = 0;
    ar >> n;
    if (n < 0)
        AfxThrowArchiveException(CArchiveException::generic);
    return n;
}

} // namespace zelkor::detail
