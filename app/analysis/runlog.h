// Helpers shared by the analysis runs of the plate and buckling components:
// adding a line to a log or error list the caller may not have given, and
// the busy flag that every way out of a run clears.
#pragma once

#include "platform/afx/afx.h"

namespace runlog {

inline void Append(CStringArray* lines, const CString& text)
{
    if (lines)
        lines->Add(text);
}

// Sets the flag while it lives and clears it on every way out.
class BusyRun {
public:
    explicit BusyRun(bool& flag) : m_flag(flag) { m_flag = true; }
    ~BusyRun() { m_flag = false; }
    BusyRun(const BusyRun&) = delete;
    BusyRun& operator=(const BusyRun&) = delete;

private:
    bool& m_flag;
};

} // namespace runlog
