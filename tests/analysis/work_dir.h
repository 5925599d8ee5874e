// A fixture that runs each test in a fresh temporary working folder, where
// the dumps and the solver's run log land.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace analysistest {

class WorkDirTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previous = std::filesystem::current_path();
        std::string pattern = ::testing::TempDir() + "analysis_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        std::filesystem::current_path(m_dir);
    }
    void TearDown() override
    {
        std::filesystem::current_path(m_previous);
        std::filesystem::remove_all(m_dir);
    }

    static bool Exists(const char* name) { return std::filesystem::exists(name); }
    static std::string Read(const char* name)
    {
        std::ifstream in(name, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void Write(const char* name, const std::string& text)
    {
        std::ofstream out(name, std::ios::binary);
        out << text;
    }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_dir;
};

} // namespace analysistest
