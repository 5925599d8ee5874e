// Status messages of the run log.
#include "solver/solvika.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

using namespace solvika;

namespace {

const std::string kError = "\n\n\n *** ERROR detected during execution of Brantel ***\n\n";
const std::string kWarning = "\n\n\n *** WARNING after execution of Brantel ***\n\n";

std::string message(std::array<std::int32_t, 5> s, int unit = 10) {
    std::string sink;
    attachSink(10, &sink);
    attachSink(0, &sink);
    attachSink(-1, &sink);
    const auto before = s;
    ERRMSG(s.data(), unit);
    detachSink(10);
    detachSink(0);
    detachSink(-1);
    EXPECT_EQ(s, before) << "the status block must not change";
    return sink;
}

struct Case {
    std::array<std::int32_t, 5> status;
    const char* lines;
};

} // namespace

// Every code with distinct values, so that the order in which they are
// printed shows.
TEST(StatusMessage, EveryCodeWithItsValues) {
    const Case cases[] = {
        {{-1, 12345, 67, 4, 0},
         "     Illegal node number   12345\n     associated with node  4 of element    67\n"},
        {{-2, 11, 22, 0, 0},
         "     Corner node appears to be connected to a side node\n     Check node    11 and element    22\n"},
        {{-3, 11, 22, 0, 0},
         "     Side node appears to be connected to a corner node\n     Check node    11 and element    22\n"},
        {{-4, 8, 0, 0, 0}, "     Element     8 is of unknown kind\n"},
        {{-5, 9, 0, 0, 0}, "     Node     9 is not connected\n"},
        {{-6, 1, 0, 0, 0}, "     Error during node renumbering (skyline / SWS)\n"},
        {{-6, 2, 0, 0, 0}, "     Error during node renumbering (skyline / PFM)\n"},
        {{-6, 3, 0, 0, 0}, "     Error during node renumbering (skyline / ELW)\n"},
        {{-6, 7, 0, 0, 0}, "     Error during node renumbering (skyline /   7)\n"},
        {{-7, 0, 0, 0, 0}, "     Error during pre-assembly (PRASSX)\n"},
        {{-8, 0, 0, 0, 0}, "     Error during sparse storage preparation (SPRPRP)\n"},
        {{-9, 0, 0, 0, 0}, "     Error during symbolic assembly (Sparse / SPRSAS)\n"},
        {{-10, 0, 0, 0, 0}, "     Error during reordering/tree search (SPRRNM / SPRTRS)\n"},
        {{-11, 0, 0, 0, 0}, "     Error during symbolic factorisation (Sparse / SPRSMB)\n"},
        {{-12, 0, 0, 0, 0}, "     Unknown storage format\n"},
        {{-13, 5, 0, 0, 0}, "     Error during transformation of k for element     5\n"},
        {{-14, 35, 0, 0, 0}, "     Error during assembly: unknown element kind =  35\n"},
        {{-15, 5, 61, -3, 0},
         "     Cannot compute stiffness matrix for element     5\n     of kind =  61\n     ierr =  -3\n"},
        {{-16, 5, 61, 0, 0}, "     Cannot assemble stiffness matrix for element     5\n     of kind =  61\n"},
        {{-17, 0, 0, 0, 0}, "     Corrupt sparse data? Could not add spring stiffness\n"},
        {{-18, 6, 0, 0, 0}, "     Error during transformation of S for element     6\n"},
        {{-19, 5, 31, 0, 0}, "     Cannot assemble load vector for element     5\n     of kind =  31\n"},
        {{-20, 0, 0, 0, 0}, "     Error during equation solving - corrupt data?\n"},
        {{-21, 12, 2, 0, 0},
         "     Singular or near-singular stiffness matrix detected\n"
         "     at the equation corresponding to d o f  2 at node    12\n"},
        {{-22, 14, 0, 0, 0}, "     Error during transformation of v for node    14\n"},
        {{-23, 3, 77, 0, 0},
         "     Error in edge-load definition\n     Node      77 is not a corner node of element       3\n"},
        {{-24, 5, 46, 0, 0},
         "     Cannot compute consistent load vector for element     5\n     of kind =  46\n"},
        {{-25, 15, 0, 0, 0}, "     Attempt to specify a non-existent d o f at node    15\n"},
        {{-26, 16, 0, 0, 0}, "     Attempt to couple a d o f to a non-existent d o f at node    16\n"},
        {{-27, 99, 0, 0, 0}, "     Error during stress recovery: unknown element kind =  99\n"},
        {{-28, 1234, 42, 0, 0}, "     Error during stress recovery for element   1234 of kind =  42\n"},
        {{-30, 0, 0, 0, 0}, "     Storage could not be allocated for stiffness\n     and/or load matrix\n"},
        {{-32, -4, 0, 0, 0}, "     Error during solution of eigenproblem,\n\n     error flag from eigensolver =  -4\n"},
        {{-33, 3, 7, 0, 0},
         "     Too many vibration modes (=   3) has been requested\n     for a problem with    7 unknowns\n"},
        {{1, 3, 5, 0, 0}, "     Only   3 buckling modes (of   5 requested)\n     passed the eigenvalue error test\n"},
        {{2, 4, 32, 12, 0},
         "     For a problem with   12 unknowns,   4 buckling modes have been requested;\n"
         "     this requires  32 iteration vectors, which may give numerical problems - use finer mesh\n"},
        // Codes without lines of their own: the header only.
        {{99, 13, 0, 0, 0}, ""},
        {{-29, 1, 2, 3, 4}, ""},
        {{-31, 1, 2, 3, 4}, ""},
        {{-34, 0, 0, 0, 0}, ""},
        {{3, 0, 0, 0, 0}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status[0]);
        SCOPED_TRACE(c.status[1]);
        const std::string& header = c.status[0] < 0 ? kError : kWarning;
        EXPECT_EQ(message(c.status), header + c.lines);
    }
}

TEST(StatusMessage, SilentForCodeZeroAndUnitsBelowOne) {
    EXPECT_EQ(message({0, 1, 2, 3, 4}), "");
    EXPECT_EQ(message({-21, 12, 2, 0, 0}, 0), "");
    EXPECT_EQ(message({-21, 12, 2, 0, 0}, -1), "");
    EXPECT_NE(message({-21, 12, 2, 0, 0}, 10), "");
}
