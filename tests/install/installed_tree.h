// The program installed into a temporary prefix with `cmake --install`,
// for the tests of the install layout and of the installed program.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/wait.h>

#include <gtest/gtest.h>

namespace brantel::test
{

// Runs a shell command; its exit status and what it printed.
struct CommandResult {
    int status = -1;
    std::string output;
};

inline CommandResult RunCommand(const std::string& command)
{
    CommandResult result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return result;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.output.append(buffer, n);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

inline std::string Quoted(const std::string& text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

inline std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A temporary folder, removed with its contents.
class TempTree
{
public:
    explicit TempTree(const char* prefix)
    {
        std::string pattern = ::testing::TempDir() + prefix + "_XXXXXX";
        m_path = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempTree()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// Installs the build tree BRANTEL_BINARY_DIR into prefix; the output of
// cmake when it fails.
inline CommandResult InstallInto(const std::filesystem::path& prefix)
{
    return RunCommand("cmake --install " + Quoted(BRANTEL_BINARY_DIR) + " --prefix " +
                      Quoted(prefix.string()));
}

} // namespace brantel::test
