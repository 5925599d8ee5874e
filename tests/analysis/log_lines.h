// The lines of a log or error list as strings, for comparing in tests.
#pragma once

#include <string>
#include <vector>

#include "platform/afx/afx.h"

namespace analysistest {

inline std::vector<std::string> Lines(const CStringArray* a)
{
    std::vector<std::string> v;
    for (int i = 0; a && i < a->GetSize(); ++i)
        v.emplace_back(a->GetAt(i).GetString());
    return v;
}

inline std::vector<std::string> Lines(const CStringArray& a) { return Lines(&a); }

inline bool Contains(const std::vector<std::string>& lines, const std::string& line)
{
    for (const auto& l : lines)
        if (l == line)
            return true;
    return false;
}

} // namespace analysistest
