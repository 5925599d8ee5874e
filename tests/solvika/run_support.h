// Whole runs of the membrane and plate-bending entry points on the grids of
// the assembly tests, in a folder of their own, with a fixed date and a
// clock that advances by a fixed step per reading.
#pragma once

#include "asm_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace solvika::test {

// Runs a grid through its entry point; keeps the status and the log.
struct RunResult {
    std::array<i32, 5> status{};
    std::string log;
};

// A folder of golden logs beside these tests. The test runner names the
// source tree in BRANTEL_SOURCE_DIR; __FILE__ is only the fallback, since a
// compiler cache may turn it into a path relative to another folder.
inline std::filesystem::path goldenLogFolder(const char* name) {
    if (const char* root = std::getenv("BRANTEL_SOURCE_DIR"))
        return std::filesystem::path(root) / "tests" / "solvika" / name;
    return std::filesystem::path(__FILE__).parent_path() / name;
}

inline std::string readLog() {
    std::ifstream in("Brantel.log", std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

template <class V>
auto* ptr(V& v) {
    return v.empty() ? nullptr : v.data();
}

inline RunResult runGrid(Grid& g, std::vector<i32> printElements = {}, std::vector<i32> printNodes = {}) {
    RunResult r;
    g.key[24] = i32(printElements.size());
    g.key[25] = i32(printNodes.size());
    if (g.code < 61)
        PLANE_STR(g.key.data(), g.topology.data(), g.elementData.data(), g.material.data(), g.nodal.data(),
                  g.body.data(), ptr(g.pointLoads), ptr(g.edgeLoads), ptr(g.fixed), ptr(g.prescribed),
                  ptr(g.couplings), ptr(g.springs), ptr(printElements), ptr(printNodes), r.status.data());
    else
        PLATE_BENDING(g.key.data(), g.topology.data(), g.elementData.data(), g.material.data(), g.nodal.data(),
                      ptr(g.edgeLoads), ptr(g.fixed), ptr(g.prescribed), ptr(g.couplings), ptr(g.springs),
                      ptr(printElements), ptr(printNodes), r.status.data());
    r.log = readLog();
    return r;
}

// A test folder as the current folder, the date fixed to 3 July 2026 and
// CPU seconds 0.125 apart per reading of the clock.
class RunFolder : public ::testing::Test {
protected:
    void SetUp() override {
        m_old = std::filesystem::current_path();
        char tmpl[] = "/tmp/solvika-static-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        m_dir = tmpl;
        std::filesystem::current_path(m_dir);
        s_ticks = 0;
        m_oldClock = setCpuClock([] { return 0.125f * float(++s_ticks); });
        m_oldDate = setDateSource([] { return RunDate{3, 7, 2026}; });
    }
    void TearDown() override {
        setCpuClock(m_oldClock);
        setDateSource(m_oldDate);
        std::filesystem::current_path(m_old);
        std::filesystem::remove_all(m_dir);
    }
    static void resetClock() { s_ticks = 0; }

    std::filesystem::path m_old, m_dir;
    CpuClock m_oldClock = nullptr;
    DateSource m_oldDate = nullptr;
    static inline int s_ticks = 0;
};

// Largest absolute difference between two arrays relative to the largest
// absolute entry of the first.
inline double relDiff(const std::vector<double>& a, const std::vector<double>& b) {
    double big = 0.0, diff = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        big = std::max(big, std::abs(a[i]));
        diff = std::max(diff, std::abs(a[i] - b[i]));
    }
    return big > 0.0 ? diff / big : diff;
}

} // namespace solvika::test
