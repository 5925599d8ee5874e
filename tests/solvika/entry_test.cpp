// The entry points and the frame of a run: log file, header, status block,
// abort path and exception guard.
#include "solver/solvika.h"

#include <gtest/gtest.h>

#include "tests/support/write_failure_cases.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <unistd.h>
#include <vector>

using namespace solvika;
namespace fs = std::filesystem;

namespace {

using I = std::int32_t*;
using R = double*;
using PlaneStr = void (*)(I, I, R, R, R, R, R, R, I, R, R, R, I, I, I);
using PlateBending = void (*)(I, I, R, R, R, R, I, R, R, R, I, I, I);
using PlateBuckling = void (*)(I, I, R, R, R, I, R, R, R, R, R, I);

static_assert(std::is_same_v<decltype(&PLANE_STR), PlaneStr>);
static_assert(std::is_same_v<decltype(&PLATE_BENDING), PlateBending>);
static_assert(std::is_same_v<decltype(&PLATE_BUCKLING), PlateBuckling>);
static_assert(std::is_same_v<decltype(&PLATE_KNEKKING), PlateBuckling>);

const std::string kMainHeader = "\n                    *** Brantel - log and error file ***\n\n\n";
const std::string kBucklingHeader = "\n                   *** Brantel_B - log and error file ***\n\n\n";
const std::string kAborted = "\n     Computations aborted\n";
const std::string kUnknownKind = "\n\n\n *** ERROR detected during execution of Brantel ***\n\n"
                                 "     Element     1 is of unknown kind\n" +
                                 kAborted;

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Each test runs in a folder of its own, the current working folder.
class RunTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_old = fs::current_path();
        char tmpl[] = "/tmp/solvika-run-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        m_dir = tmpl;
        fs::current_path(m_dir);
    }
    void TearDown() override {
        fs::current_path(m_old);
        fs::remove_all(m_dir);
    }

    fs::path m_old, m_dir;
};

// The four entry points as resolved by name from the built library, each
// called with zero key data and null arrays.
struct Entry {
    const char* name;
    const char* log;
    const std::string* header;
    void (*call)(void* symbol, I key, I status);
};

const Entry kEntries[] = {
    {"PLANE_STR", "Brantel.log", &kMainHeader,
     [](void* f, I key, I status) {
         reinterpret_cast<PlaneStr>(f)(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, status);
     }},
    {"PLATE_BENDING", "Brantel.log", &kMainHeader,
     [](void* f, I key, I status) {
         reinterpret_cast<PlateBending>(f)(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                           nullptr, nullptr, nullptr, nullptr, status);
     }},
    {"PLATE_BUCKLING", "Brantel_B.log", &kBucklingHeader,
     [](void* f, I key, I status) {
         reinterpret_cast<PlateBuckling>(f)(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                            nullptr, nullptr, nullptr, status);
     }},
    {"PLATE_KNEKKING", "Brantel_B.log", &kBucklingHeader,
     [](void* f, I key, I status) {
         reinterpret_cast<PlateBuckling>(f)(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                            nullptr, nullptr, nullptr, status);
     }},
};

// The library file this program is linked with, opened by its path.
void* solverLibrary() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&ERRMSG), &info) == 0 || info.dli_fname == nullptr) return nullptr;
    return ::dlopen(info.dli_fname, RTLD_NOW);
}

using Status = std::array<std::int32_t, 5>;

} // namespace

TEST_F(RunTest, EntryPointsWriteTheHeaderAndClearTheStatusBlock) {
    void* lib = solverLibrary();
    ASSERT_NE(lib, nullptr) << ::dlerror();
    for (const Entry& e : kEntries) {
        SCOPED_TRACE(e.name);
        void* symbol = ::dlsym(lib, e.name);
        ASSERT_NE(symbol, nullptr) << ::dlerror();
        // An older, longer log of the same name leaves no tail.
        std::ofstream(e.log) << std::string(5000, 'x') << '\n';
        std::array<std::int32_t, 30> key{};
        Status status = {-21, 12, 2, 7, 9};
        // Every run stops at the element code 0, after the old block was
        // cleared.
        const Status expected{-4, 1, 0, 0, 0};
        const std::string log = *e.header + kUnknownKind;
        e.call(symbol, key.data(), status.data());
        EXPECT_EQ(status, expected);
        EXPECT_EQ(readFile(e.log), log);
        // Consecutive calls are independent.
        e.call(symbol, key.data(), status.data());
        EXPECT_EQ(status, expected);
        EXPECT_EQ(readFile(e.log), log);
    }
    ::dlclose(lib);
}

TEST_F(RunTest, LogThatCannotBeOpenedGives99WithErrnoAndNothingElse) {
    fs::create_directory("Brantel.log");
    bool ran = false;
    Status status = {5, 5, 5, 5, 5};
    runEntry(RunLog::Main, nullptr, status.data(), [&](RunContext&) { ran = true; });
    EXPECT_EQ(status, (Status{99, EISDIR, 0, 0, 0}));
    EXPECT_FALSE(ran);
    EXPECT_TRUE(fs::is_directory("Brantel.log"));
    EXPECT_TRUE(fs::is_empty("Brantel.log"));
    EXPECT_FALSE(fs::exists("Brantel_B.log"));
    // A log linked to a device is refused for its kind: a rename would
    // replace the link's target by a regular file.
    ASSERT_TRUE(fs::exists("/dev/full"));
    fs::create_symlink("/dev/full", "Brantel_B.log");
    runEntry(RunLog::Buckling, nullptr, status.data(), [&](RunContext&) { ran = true; });
    EXPECT_EQ(status, (Status{99, ENXIO, 0, 0, 0}));
    EXPECT_FALSE(ran);
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
    EXPECT_TRUE(fs::is_symlink("Brantel_B.log"));
}

// A log that fails at the close (disk full) keeps the old log. A run that
// ended well reports the failure; a run that ended with an error keeps its
// error code and values.
TEST_F(RunTest, FailingCloseReplacesSuccessAndWarningsButNotErrors) {
    const struct {
        Status set;
        Status expected;
    } cases[] = {
        {{0, 0, 0, 0, 0}, {99, ENOSPC, 0, 0, 0}},
        {{1, 3, 5, 0, 0}, {99, ENOSPC, 0, 0, 0}},
        {{2, 4, 32, 12, 0}, {99, ENOSPC, 0, 0, 0}},
        {{-21, 12, 2, 0, 0}, {-21, 12, 2, 0, 0}},
    };
    std::ofstream("Brantel_B.log") << "old log\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.set[0]);
        Status status{};
        UnitFile::injectFailure(safereplace::Step::write);
        runEntry(RunLog::Buckling, nullptr, status.data(), [&](RunContext& run) {
            std::copy(c.set.begin(), c.set.end(), run.status);
            ERRMSG(run.status, run.lunit);
        });
        EXPECT_EQ(status, c.expected);
        EXPECT_EQ(readFile("Brantel_B.log"), "old log\n");
    }
    std::array<std::int32_t, 30> key{};
    Status status{};
    // An entry point that stops with an error keeps it.
    UnitFile::injectFailure(safereplace::Step::write);
    PLATE_KNEKKING(key.data(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                   status.data());
    EXPECT_EQ(status, (Status{-4, 1, 0, 0, 0}));
    EXPECT_EQ(readFile("Brantel_B.log"), "old log\n");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator("."))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"Brantel_B.log"}) << "no temporary left";
}

// The log replaces an older one only when all of it was written: on a full
// disk, an I/O error at the rename, in a read-only folder and over a
// read-only log the old log stays byte for byte, no temporary file is left,
// and the run reports 99 with the errno (at the open, the body not run, for
// the read-only ones; at the close for the others).
TEST_F(RunTest, AFailedLogKeepsTheOldLogAndGives99) {
    for (const RunLog log : {RunLog::Main, RunLog::Buckling}) {
        const char* name = log == RunLog::Main ? "Brantel.log" : "Brantel_B.log";
        SCOPED_TRACE(name);
        brantel::test::ForEachWriteFailure(
            name, [](safereplace::Step step) { UnitFile::injectFailure(step); },
            [&](const std::string& path, const brantel::test::WriteFailureCase& c) {
                const fs::path here = fs::current_path();
                fs::current_path(fs::path(path).parent_path());
                bool ran = false;
                Status status{};
                runEntry(log, nullptr, status.data(), [&](RunContext& run) {
                    ran = true;
                    fwrite(run.lunit, Layout("'a new log'"));
                });
                fs::current_path(here);
                EXPECT_EQ(status, (Status{99, c.error, 0, 0, 0}));
                EXPECT_EQ(ran, c.step != safereplace::Step::none);
            });
    }
}

// A unit file writes a 250-byte name, a dangling link's target and the
// target of its own link in a shared folder, and refuses another user's
// link there, a 256-byte name, a folder, a FIFO, a link loop and a chain of
// 41 links with their errno before anything is created.
TEST_F(RunTest, AUnitFileWritesOrRefusesEachKindOfTarget) {
    brantel::test::ForEachTargetKind([](const std::string& path, const brantel::test::TargetKindCase& c) {
        UnitFile file;
        const int opened = file.open(kLogUnit, path.c_str());
        EXPECT_EQ(opened, c.error);
        if (opened == 0) {
            file.put("new", 3);
            EXPECT_EQ(file.close(), 0);
        }
        EXPECT_FALSE(file.isOpen());
    });
}

TEST_F(RunTest, StepErrorEndsWithComputationsAborted) {
    Status status{};
    runEntry(RunLog::Main, nullptr, status.data(), [](RunContext& run) {
        run.status[0] = -5;
        run.status[1] = 9;
        ERRMSG(run.status, run.lunit);
    });
    EXPECT_EQ(status, (Status{-5, 9, 0, 0, 0}));
    EXPECT_EQ(readFile("Brantel.log"), kMainHeader +
                                           "\n\n\n *** ERROR detected during execution of Brantel ***\n\n"
                                           "     Node     9 is not connected\n" +
                                           kAborted);
}

// No exception leaves a run: running out of storage anywhere gives -30,
// anything else -20, each with its message, the abort line and a closed log.
TEST_F(RunTest, ExceptionsEndTheRunWithTheirStatus) {
    const std::string kStorage =
        "\n\n\n *** ERROR detected during execution of Brantel ***\n\n"
        "     Storage could not be allocated for stiffness\n     and/or load matrix\n";
    const std::string kSolving =
        "\n\n\n *** ERROR detected during execution of Brantel ***\n\n"
        "     Error during equation solving - corrupt data?\n";
    const struct {
        void (*fail)();
        std::int32_t code;
        const std::string* message;
    } cases[] = {
        {[] { throw std::bad_alloc(); }, -30, &kStorage},
        {[] { throw std::bad_array_new_length(); }, -30, &kStorage},
        {[] { throw std::length_error("vector"); }, -30, &kStorage},
        {[] { throw std::runtime_error("fault"); }, -20, &kSolving},
        {[] { throw 7; }, -20, &kSolving},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        Status status{};
        runEntry(RunLog::Main, nullptr, status.data(), [&](RunContext& run) {
            run.status[0] = 2;  // a warning before the failure does not survive it
            run.status[1] = 4;
            c.fail();
        });
        EXPECT_EQ(status, (Status{c.code, 0, 0, 0, 0}));
        EXPECT_EQ(readFile("Brantel.log"), kMainHeader + *c.message + kAborted);
    }
    // The log unit is free again: the next run opens it.
    Status status{};
    runEntry(RunLog::Main, nullptr, status.data(), [](RunContext& run) { EXPECT_EQ(run.lunit, kLogUnit); });
    EXPECT_EQ(status, (Status{0, 0, 0, 0, 0}));
}

TEST_F(RunTest, OnlyTheOpenLogIsUnitTen) {
    Status status{};
    std::string other;
    attachSink(11, &other);
    runEntry(RunLog::Main, nullptr, status.data(), [](RunContext& run) {
        static const Layout line("'on the log'");
        fwrite(run.lunit, line);
        fwrite(11, line);
        fwrite(0, line);
    });
    detachSink(11);
    EXPECT_EQ(readFile("Brantel.log"), kMainHeader + "on the log\n");
    EXPECT_EQ(other, "on the log\n");
    // After the run, unit 10 is connected to nothing.
    fwrite(kLogUnit, Layout("'late'"));
    EXPECT_EQ(readFile("Brantel.log"), kMainHeader + "on the log\n");
}
