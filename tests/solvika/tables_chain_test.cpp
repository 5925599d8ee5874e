// The tables of the topology check and the boundary conditions, renumbered
// and handed to the skyline pre-assembly, as the equation set-up chains
// them.
#include "solver/solvika.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

using namespace solvika;

namespace {

using i32 = std::int32_t;

// A membrane strip of 1 x 12 cells (26 nodes), numbered along one long edge
// and then the other; node 1 fixed, node 2 prescribed, node 26 coupled to
// nodes 25 and 24.
struct Strip {
    static constexpr i32 kLength = 12;
    std::vector<i32> topology;
    std::array<i32, 30> key{};
    std::vector<i32> fixed{1, 1, 1, 2};
    std::vector<double> prescribed{2, 2, 0.5};
    std::vector<double> couplings{26, 1, 25, 1, 1.0, 24, 1, -1.0};

    Strip() {
        const i32 top = kLength + 1;
        for (i32 i = 1; i <= kLength; ++i)
            topology.insert(topology.end(), {1, i, i + 1, top + i + 1, 1, i, top + i + 1, top + i});
        key[0] = 2 * kLength;
        key[1] = 2 * top;
        key[3] = 2;
        key[4] = 1;
        key[5] = 1;
        key[9] = 31;
        key[18] = 4;
        key[19] = 11;
    }
};

} // namespace

TEST(TablesChain, RenumberedTablesPassThePreAssembly) {
    Strip s;
    ModelTables t;
    std::array<i32, 5> status{};
    CHKINP(s.key.data(), false, s.fixed.data(), s.prescribed.data(), s.couplings.data(), nullptr, 0, status.data());
    ASSERT_EQ(status[0], 0);
    CHKTOP(s.topology.data(), s.key[0], s.key[1], s.key[9], s.key[18], 0, status.data(), t);
    ASSERT_EQ(status[0], 0);
    BCDATA(s.key.data(), s.fixed.data(), s.prescribed.data(), s.couplings.data(), 0, status.data(), t);
    ASSERT_EQ(status[0], 0);
    MXELDF(t.MNDPTR.data(), t.MPELND.data(), t.MELNOD.data(), t.MPAR.data());
    EXPECT_EQ(t.MPAR[19], 6);

    const i32 nanod = t.MPAR[0], nel = t.MPAR[1];
    const i32 nwork = nel + 4 * nanod + nel * 6 + 2;
    auto preassemble = [&](const std::vector<i32>& mnnn) {
        std::array<i32, 50> mpar = t.MPAR;
        std::vector<i32> work(static_cast<std::size_t>(nanod)), mdofeq(t.MSC.size()), msky(t.MSC.size());
        i32 ierr = 0;
        PRASSX(t.MNDPTR.data(), t.MEXNOD.data(), t.MPELND.data(), t.MELNOD.data(), t.MSC.data(), t.MPMCEQ.data(),
               t.MCQDOF.data(), mnnn.data(), 0, mpar.data(), work.data(), mdofeq.data(), msky.data(), ierr);
        EXPECT_EQ(ierr, 0);
        EXPECT_EQ(mpar[3], 52 - 4);  // free DOFs: fixed 2, prescribed 1, slave 1
        EXPECT_EQ(mpar[7], 2);
        EXPECT_EQ(mpar[8], 1);
        EXPECT_EQ(mpar[9], 1);
        EXPECT_EQ(mpar[15], 4);
        return mpar[11];
    };
    const i32 inputProfile = preassemble(t.MEXNOD);
    for (auto method : {SWSNUM, PFMREN, ELWREN}) {
        std::vector<i32> work(static_cast<std::size_t>(nwork)), mnnn(static_cast<std::size_t>(nanod));
        i32 start = 0, percent = 0, ierr = 0;
        method(t.MPELND.data(), t.MELNOD.data(), t.MEXNOD.data(), t.MSC.data(), t.MNDPTR.data(), work.data(),
               mnnn.data(), nanod, nel, nwork, 0, 0, t.MPAR[4] > 0, start, percent, ierr);
        ASSERT_EQ(ierr, 0);
        EXPECT_LT(percent, 100);
        EXPECT_LT(preassemble(mnnn), inputProfile);
    }
}
