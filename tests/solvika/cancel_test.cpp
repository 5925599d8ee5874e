// The stop request of the solver: set from a second thread while the
// benchmark's plate matrix (about 1e5 equations) is factorised, it ends the
// factorisation before the end; set before a whole run, the entry point
// ends with the stopped status and its log lines. The normal runs and their
// golden logs are the other tests of this folder, run with the request
// clear.
#include "solver/solvika.h"
#include "tests/solvika/dkt_grid.h"
#include "tests/solvika/run_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace solvika::test {
namespace {

// Clears the request at the end of a test on every path.
struct CancelGuard {
    CancelGuard() { setCancelRequest(false); }
    ~CancelGuard() { setCancelRequest(false); }
};

// The DKT plate grid of bench/solver_sparse.cpp, clamped along y = 0.
struct FactorisedPlate : DktGrid {
    std::vector<I32> iwork;
    std::vector<double> SM, rwork;
    explicit FactorisedPlate(int nodes)
        : DktGrid(nodes, [nodes](int node, int) { return node <= nodes ? 0 : 1; })
    {
        EXPECT_EQ(symbolic(), 0);
        iwork.assign(std::max(MSPAR[12], MSPAR[13] + 1), 0);
        rwork.assign(std::max(MSPAR[13], MSPAR[16]), 0.0);
        SM.assign(std::size_t(neq()) + MSPAR[15], 0.0);
        EXPECT_EQ(assemble(SM.data(), false), 0);
    }
    // SPRFC1; true when it ran to its end, false when the request stopped it.
    bool factorise(I32& ierr)
    {
        double tol[3] = {1e-10, 0, 0};
        try {
            SPRFC1(MSPAR.data(), MTREES.data(), MSIFA.data(), SM.data(), tol, iwork.data(), rwork.data(), 0, ierr);
        } catch (const RunCancelled&) {
            return false;
        }
        return true;
    }
};

TEST(SolverStop, ARequestFromAnotherThreadEndsTheFactorisationEarly)
{
    CancelGuard guard;
    FactorisedPlate plate(183);
    ASSERT_GT(plate.neq(), 95000);
    // The factor's state word before the factorisation: the run must leave
    // it there, never at "factorised".
    const i32 before = plate.MSPAR[0];
    std::atomic<bool> started{false};
    std::thread stopper([&] {
        while (!started.load())
            std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        setCancelRequest(true);
    });
    i32 ierr = 0;
    started.store(true);
    const bool finished = plate.factorise(ierr);
    stopper.join();
    EXPECT_FALSE(finished) << "the factorisation ran to its end";
    EXPECT_EQ(plate.MSPAR[0], before);

    // With the request cleared the same matrix factorises.
    setCancelRequest(false);
    FactorisedPlate again(40);
    EXPECT_TRUE(again.factorise(ierr));
    EXPECT_EQ(ierr, 0);
}

class StoppedRun : public RunFolder {};

// A 4 x 4 grid clamped along x = 0, on skyline (1) or sparse (2) storage.
Grid clamped(i32 code, i32 storage)
{
    Grid g(code, 4, 4, 1.0, 1.0, 1000.0, 0.3, 0.1);
    const i32 dofs = code < 61 ? 2 : 3;
    for (const auto& [at, node] : g.nodeAt)
        if (at.second == 0)
            for (i32 d = 1; d <= dofs; ++d)
                g.fix(node, d);
    g.key[10] = storage;
    return g;
}

TEST_F(StoppedRun, EndsWithTheStoppedStatusOnEitherStorage)
{
    CancelGuard guard;
    struct Case {
        i32 code;
        i32 storage;
    };
    for (const Case c : {Case{41, 1}, Case{41, 2}, Case{65, 1}, Case{65, 2}}) {
        SCOPED_TRACE(testing::Message() << c.code << " storage " << c.storage);
        Grid g = clamped(c.code, c.storage);
        setCancelRequest(true);
        const RunResult stopped = runGrid(g);
        EXPECT_EQ(stopped.status[0], kStatusCancelled);
        EXPECT_NE(stopped.log.find("Computations stopped on request"), std::string::npos) << stopped.log;
        EXPECT_NE(stopped.log.find("Computations aborted"), std::string::npos);
        // The next run, with the request cleared, is a normal one.
        setCancelRequest(false);
        Grid fresh = clamped(c.code, c.storage);
        EXPECT_EQ(runGrid(fresh).status[0], 0);
    }
}

// A request that comes while a work array is zeroed (at 10^6 equations the
// system matrix takes seconds) is read there: the run stops before its
// assembly, with the stopped status, on either storage.
TEST_F(StoppedRun, ARequestWhileTheSystemMatrixIsZeroedIsReadThere)
{
    CancelGuard guard;
    for (const i32 storage : {1, 2}) {
        SCOPED_TRACE(storage);
        Grid g = clamped(65, storage);
        g.key[29] = 1; // print level 1: the storage line follows the zeroing
        const AllocProbe old = setAllocProbe([](const char* array) {
            if (std::string(array) == "system matrix") setCancelRequest(true);
            return false;
        });
        const RunResult stopped = runGrid(g);
        setAllocProbe(old);
        EXPECT_EQ(stopped.status[0], kStatusCancelled);
        EXPECT_NE(stopped.log.find("Computations stopped on request"), std::string::npos) << stopped.log;
        EXPECT_EQ(stopped.log.find("storage locations allocated"), std::string::npos) << stopped.log;
        setCancelRequest(false);
    }
}

} // namespace
} // namespace solvika::test
