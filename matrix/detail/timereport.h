// Timing reports of the sparse and skyline solvers (not part of the
// library's interface).
#pragma once

#include "platform/afx/afx.h"

namespace zelkor::detail {

// A time in seconds as the reports show it: whole minutes and the seconds
// (hundredths) within the minute.
inline unsigned ReportMinutes(double t)
{
    return static_cast<unsigned>(static_cast<int>(t) / 60);
}

inline double ReportSeconds(double t)
{
    return (static_cast<long long>(t * 100) % 6000) * 0.01;
}

// Shows a report through the platform's message service.
inline void ShowReport(const CString& text)
{
    AfxMessageBox(text.GetString(), MB_OK | MB_ICONINFORMATION);
}

} // namespace zelkor::detail
