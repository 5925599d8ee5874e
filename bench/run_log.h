// Figures from the solver's run log ("Brantel.log", "Brantel_B.log"), which
// a run leaves in the working folder.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace bench {

// The whole text of a run log; empty when there is none.
inline std::string readRunLog(const char* name)
{
    std::ifstream in(name);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The number after the colon of the first log line that holds `label`;
// -1 when no line does.
inline double logValue(const std::string& log, const std::string& label)
{
    const auto at = log.find(label);
    if (at == std::string::npos)
        return -1.0;
    const auto colon = log.find(':', at);
    return std::stod(log.substr(colon + 1));
}

} // namespace bench
