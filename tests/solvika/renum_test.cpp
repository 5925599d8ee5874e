// Node renumbering: the three methods, their prints and errors.
#include "renum_mesh.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

using namespace renumtest;
using solvika::RENERR;

namespace {

const Method kMethods[] = {Method::Sws, Method::Pfm, Method::Elw};
const std::string kHeader = "\n\n\n *** ERROR RETURN DURING NODE RENUMBERING\n";
const std::string kDash = "      " + std::string(72, '-') + "\n";

// The integer after "=" on the line holding `label`, or -1.
long long printed(const std::string& log, const std::string& label) {
    const auto at = log.find(label);
    if (at == std::string::npos) return -1;
    return std::stoll(log.substr(log.find('=', at + label.size() - 1) + 1));
}

int occurrences(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// Old and new profiles as each method prints them at print level 1.
struct Printed {
    long long oldProfile, oldBand, newProfile, newBand;
};
Printed printedProfiles(Method method, const std::string& log) {
    if (method == Method::Sws)
        return {printed(log, "Profile length for \"old\" numbering ="), printed(log, "Bandwidth for \"old\" numbering"),
                printed(log, "Profile length for \"new\" numbering ="), printed(log, "Bandwidth for \"new\" numbering")};
    return {printed(log, "\"OLD\" PROFILE-LENGTH ="), printed(log, "\"OLD\" BANDWIDTH"),
            printed(log, "\"NEW\" PROFILE-LENGTH ="), printed(log, "\"NEW\" BANDWIDTH")};
}

std::vector<i32> inputOrder(i32 n) {
    std::vector<i32> v(static_cast<std::size_t>(n));
    for (i32 i = 0; i < n; ++i) v[std::size_t(i)] = i + 1;
    return v;
}

// A strip of 1 x length cells, numbered along one long edge, then the other.
Mesh strip(i32 length) {
    Mesh m;
    for (i32 i = 1; i <= length; ++i) {
        m.add({i, i + 1, length + 2 + i});
        m.add({i, length + 2 + i, length + 1 + i});
    }
    m.finish(2 * (length + 1));
    return m;
}

// Weights of the start-node search computed from their definition.
std::vector<long long> weights(const Mesh& m) {
    std::vector<long long> node(std::size_t(m.nanod), 1), element(std::size_t(m.nel()));
    for (int round = 0; round < 3; ++round) {
        for (i32 e = 0; e < m.nel(); ++e) {
            element[std::size_t(e)] = 0;
            for (i32 p = m.mpelnd[std::size_t(e)]; p < m.mpelnd[std::size_t(e + 1)]; ++p)
                element[std::size_t(e)] += node[std::size_t(m.melnod[std::size_t(p - 1)] - 1)];
        }
        std::fill(node.begin(), node.end(), 0);
        for (i32 e = 0; e < m.nel(); ++e)
            for (i32 p = m.mpelnd[std::size_t(e)]; p < m.mpelnd[std::size_t(e + 1)]; ++p)
                node[std::size_t(m.melnod[std::size_t(p - 1)] - 1)] += element[std::size_t(e)];
    }
    return node;
}

} // namespace

TEST(Renumbering, SingleTriangleBySws) {
    Mesh m;
    m.add({1, 2, 3});
    m.finish(3);
    const Result r = renumber(Method::Sws, m, 1);
    EXPECT_EQ(r.ierr, 0);
    EXPECT_EQ(r.mnnn, (std::vector<i32>{1, 3, 2}));
    EXPECT_EQ(r.start, 1);
    EXPECT_EQ(r.percent, 100);
    EXPECT_EQ(r.log,
              "\n\n\n     LOCAL PRINT FROM RENUMBERING ROUTINE SWSNUM:\n"
              "\n\n\n     Initial size of adjacency array =       6\n     Final size of adjacency array   =       6\n"
              "\n\n\n     Start node for current comp. of graph =       1\n"
              "     End node for current comp. of graph   =       2\n"
              "\n\n\n     Profile length for \"old\" numbering =       6\n"
              "     Bandwidth for \"old\" numbering      =       3\n"
              "     Profile length for \"new\" numbering =       6\n"
              "     Bandwidth for \"new\" numbering      =       3\n");
    EXPECT_EQ(renumber(Method::Sws, m, 0).log, "");
}

// Every line a driver writes, up to print level 4, for one triangle.
TEST(Renumbering, SingleTriangleByPfmAtEveryPrintLevel) {
    Mesh m;
    m.add({1, 2, 3});
    m.finish(3);
    const Result r = renumber(Method::Pfm, m, 4);
    EXPECT_EQ(r.ierr, 0);
    EXPECT_EQ(r.mnnn, (std::vector<i32>{3, 2, 1}));
    EXPECT_EQ(r.start, 3);
    EXPECT_EQ(r.log,
              "\n\n\n     Size of table MMNCE  =       3\n"
              "\n\n\n     \"OLD\" PROFILE-LENGTH =       6\n     \"OLD\" BANDWIDTH      =       3\n"
              "     Parameter NDEEP      =       3\n"
              "1\n     Elements \"eliminated\" in the following order\n"
              "     during node renumbering (by PFMNUM) :\n\n"
              "           1\n"
              "\n\n\n     \"NEW\" PROFILE-LENGTH =       6\n     \"NEW\" BANDWIDTH      =       3\n"
              "     START NODE NUMBER    =       3\n"
              "1\n    Table of \"new\" node numbers:\n\n"
              "\n" + kDash + "              I\n"
              "       INDEX  I     1     2     3     4     5     6     7     8     9    10\n"
              "              I\n" + kDash + "              I\n"
              "           0  I      3     2     1\n" + kDash);
    const std::string elw = renumber(Method::Elw, m, 4).log;
    EXPECT_NE(elw.find("     during node renumbering (by ELWNUM) :\n\n           1\n"), std::string::npos);
    EXPECT_EQ(renumber(Method::Pfm, m, 0).log, "");
}

TEST(Renumbering, TableOfNewNumbersHasOneRowPerTenNodes) {
    Mesh m;
    for (i32 j = 0; j < 4; ++j)
        for (i32 i = 0; i < 4; ++i) {
            const i32 a = 1 + j * 5 + i;
            m.add({a, a + 1, a + 6, a + 5});
        }
    m.finish(25);
    for (Method method : {Method::Pfm, Method::Elw}) {
        const Result r = renumber(method, m, 3);
        ASSERT_EQ(r.ierr, 0);
        std::string table = "\n" + kDash + "              I\n"
                            "       INDEX  I     1     2     3     4     5     6     7     8     9    10\n"
                            "              I\n" + kDash + "              I\n";
        char line[128];
        for (int offset = 0; offset < 25; offset += 10) {
            std::snprintf(line, sizeof line, "%12d  I%7d", offset, r.mnnn[std::size_t(offset)]);
            table += line;
            for (int i = offset + 1; i < std::min(offset + 10, 25); ++i) {
                std::snprintf(line, sizeof line, "%6d", r.mnnn[std::size_t(i)]);
                table += line;
            }
            table += offset + 10 <= 25 ? "\n              I\n" : "\n";
        }
        table += kDash;
        const std::string title = "1\n    Table of \"new\" node numbers:\n\n";
        const auto at = r.log.find(title);
        ASSERT_NE(at, std::string::npos) << name(method);
        EXPECT_EQ(r.log.substr(at), title + table) << name(method);
        EXPECT_EQ(occurrences(r.log, "Parameter NDEEP"), 1);
        EXPECT_EQ(occurrences(r.log, "Elements \"eliminated\""), 0);
    }
}

TEST(Renumbering, StripAlongItsLengthComesBackShorter) {
    const Mesh m = strip(30);
    for (Method method : kMethods) {
        const Result r = renumber(method, m, 1);
        ASSERT_EQ(r.ierr, 0) << name(method);
        EXPECT_LT(r.percent, 100) << name(method);
        EXPECT_LT(profileOf(m, r.mnnn).profile, profileOf(m, inputOrder(m.nanod)).profile) << name(method);
    }
}

TEST(Renumbering, DisjointMeshesAreNumberedPartByPart) {
    Mesh m;
    addGrid(m, 3, 2);      // nodes 1..12
    addGrid(m, 2, 4, 13);  // nodes 13..27
    m.finish(27);
    for (Method method : kMethods) {
        const Result r = renumber(method, m, 1);
        ASSERT_EQ(r.ierr, 0) << name(method);
        ASSERT_TRUE(isPermutation(r.mnnn)) << name(method);
        const auto first = std::minmax_element(r.mnnn.begin(), r.mnnn.begin() + 12);
        const auto second = std::minmax_element(r.mnnn.begin() + 12, r.mnnn.end());
        EXPECT_TRUE(*first.second < *second.first || *second.second < *first.first) << name(method);
        if (method == Method::Sws) {
            EXPECT_EQ(occurrences(r.log, "Start node for current comp. of graph"), 2);
            EXPECT_EQ(occurrences(r.log, "End node for current comp. of graph"), 2);
            continue;
        }
        // The part of the returned (first) start node was processed first
        // and holds the highest numbers.
        const bool firstPartFirst = r.start <= 12;
        EXPECT_EQ(firstPartFirst ? *first.second : *second.second, 27) << name(method);
    }
}

TEST(Renumbering, ElementWiseOrderGivesTheStartNodeTheLastNumber) {
    const Mesh m = grid(4, 3);
    for (i32 given : {0, 7}) {
        const Result r = renumber(Method::Elw, m, 0, given);
        ASSERT_EQ(r.ierr, 0);
        if (given != 0) {
            EXPECT_EQ(r.start, given);
        }
        EXPECT_EQ(r.mnnn[std::size_t(r.start - 1)], m.nanod);
    }
}

TEST(Renumbering, StartNodeSearchTakesTheSmallestWeightHighestIndex) {
    std::mt19937 rng(5);
    for (const Mesh& m : {grid(4, 3), shuffled(grid(5, 5), rng), strip(6)}) {
        const std::vector<long long> w = weights(m);
        i32 expected = 0;
        long long smallest = 100000000;
        for (i32 n = 1; n <= m.nanod; ++n)
            if (w[std::size_t(n - 1)] > 0 && w[std::size_t(n - 1)] <= smallest) {
                smallest = w[std::size_t(n - 1)];
                expected = n;
            }
        for (Method method : {Method::Pfm, Method::Elw}) {
            EXPECT_EQ(renumber(method, m).start, expected) << name(method);
            // A start node that no node has is replaced by the searched one.
            const Result r = renumber(method, m, 0, 999);
            EXPECT_EQ(r.start, expected) << name(method);
            EXPECT_EQ(r.mnnn, renumber(method, m).mnnn) << name(method);
        }
    }
}

// One element of k nodes: every node weighs k^3, which must not pass the
// search bound of 100000000 (464^3 is below, 465^3 above).
TEST(Renumbering, StartNodeSearchBound) {
    for (i32 k : {464, 465}) {
        Mesh m;
        m.add(inputOrder(k));
        m.finish(k);
        const Result pfm = renumber(Method::Pfm, m);
        const Result elw = renumber(Method::Elw, m);
        if (k == 464) {
            EXPECT_EQ(pfm.ierr, 0);
            EXPECT_EQ(pfm.start, 464);
            EXPECT_EQ(elw.start, 464);
            continue;
        }
        EXPECT_EQ(pfm.ierr, -1);
        EXPECT_EQ(pfm.log, kHeader + "     Inconsistent (corrupt?) data\n            0  nodes out of     465  are numbered\n");
        EXPECT_EQ(elw.ierr, -1);
        EXPECT_EQ(elw.log, kHeader + "     Inconsistent (corrupt?) data\n     Cannot find starting node\n");
    }
}

// A fan of many triangles round one node: its weights would pass the
// 32-bit range.
TEST(Renumbering, HubOfManyElements) {
    Mesh m;
    const i32 ring = 3000;
    for (i32 i = 0; i < ring; ++i) m.add({1, 2 + i, 2 + (i + 1) % ring});
    m.finish(ring + 1);
    for (Method method : kMethods) {
        const Result r = renumber(method, m);
        EXPECT_EQ(r.ierr, 0) << name(method);
        EXPECT_TRUE(isPermutation(r.mnnn)) << name(method);
    }
}

TEST(Renumbering, UnusedNodeIsErrorSeven) {
    Mesh m = grid(1, 1);
    m.finish(5);
    for (Method method : kMethods) {
        const Result r = renumber(method, m);
        EXPECT_EQ(r.ierr, -1) << name(method);
        EXPECT_EQ(r.log, kHeader + "     No elements attached to node       5\n") << name(method);
    }
}

TEST(Renumbering, ElementNodeAboveTheCountIsErrorOne) {
    Mesh m = grid(1, 1);
    m.melnod[4] = 9;
    for (Method method : kMethods) {
        const Result r = renumber(method, m);
        EXPECT_EQ(r.ierr, -1) << name(method);
        EXPECT_EQ(r.log, kHeader +
                             "     Inconsistent (corrupt?) data\n     Element       2  connected to node       9\n"
                             "     in problem with only       4  nodes\n")
            << name(method);
    }
}

TEST(Renumbering, ShortScratch) {
    const Mesh m = grid(2, 2);  // 9 nodes, 8 triangles, 32 adjacency entries
    const std::string storage = "     Temporary scratch storage of";
    // SWSNUM: room for the lists' upper bound (48) behind 10 pointers ...
    Result r = renumber(Method::Sws, m, 0, 0, 50);
    EXPECT_EQ(r.log, kHeader + storage + "      40  locations\n     exceeded by       8  locations\n");
    // ... and for the compressed lists and three arrays: 10 + 32 + 10 + 18.
    r = renumber(Method::Sws, m, 0, 0, 69);
    EXPECT_EQ(r.log, kHeader + storage + "      69  locations\n     exceeded by       1  locations\n");
    EXPECT_EQ(renumber(Method::Sws, m, 0, 0, 70).ierr, 0);

    // The element drivers: NEL + 3 NANOD + 1 leaves no room for the 24
    // element-node incidences; one word less is too small for anything.
    const i32 bare = m.nel() + 3 * m.nanod + 1;
    for (Method method : {Method::Pfm, Method::Elw}) {
        r = renumber(method, m, 0, 0, bare);
        EXPECT_EQ(r.log, kHeader + storage + "      36  locations\n     exceeded by      24  locations\n");
        r = renumber(method, m, 0, 0, bare - 1);
        EXPECT_EQ(r.log, kHeader + "     Temporary scratch storage far too small\n");
        EXPECT_EQ(renumber(method, m, 0, 0, bare + 24).ierr, 0);
    }
}

TEST(Renumbering, RetainedNodesAreNumberedLast) {
    Mesh m = grid(3, 3);  // 16 nodes of 2 DOFs
    // Nodes 2 and 9: status 2 only; node 5: statuses 1 and 2.
    for (i32 dof : {3, 4, 17, 18, 9}) m.msc[std::size_t(dof - 1)] = 2;
    for (Method method : kMethods) {
        const Result r = renumber(method, m, 1, 0, -1, true);
        ASSERT_EQ(r.ierr, 0) << name(method);
        EXPECT_TRUE(isPermutation(r.mnnn)) << name(method);
        EXPECT_EQ(r.mnnn[1], 15) << name(method);
        EXPECT_EQ(r.mnnn[8], 16) << name(method);
        // Without the flag every node takes part.
        EXPECT_TRUE(isPermutation(renumber(method, m, 0, 0, -1, false).mnnn));
    }
}

// Random meshes, split ones among them: every method returns a permutation
// and prints the profiles of the independent measure.
TEST(Renumbering, PermutationAndProfilesOnRandomMeshes) {
    std::mt19937 rng(20261209);
    for (int trial = 0; trial < 40; ++trial) {
        const i32 nx = 1 + i32(rng() % 7), ny = 1 + i32(rng() % 6);
        Mesh m;
        addGrid(m, nx, ny);
        i32 nodes = (nx + 1) * (ny + 1);
        if (trial % 2 == 1) {  // a second part, and triangles joining random nodes of it
            const i32 mx = 1 + i32(rng() % 4), my = 1 + i32(rng() % 4);
            addGrid(m, mx, my, nodes + 1);
            const i32 extra = (mx + 1) * (my + 1);
            for (int t = 0; t < 3; ++t)
                m.add({nodes + 1 + i32(rng() % extra), nodes + 1 + i32(rng() % extra), nodes + 1 + i32(rng() % extra)});
            nodes += extra;
        }
        if (trial % 3 == 2) {  // a separate quadrilateral
            m.add({nodes + 1, nodes + 2, nodes + 3, nodes + 4});
            nodes += 4;
        }
        m.finish(nodes);
        m = shuffled(m, rng);
        const Profile before = profileOf(m, inputOrder(m.nanod));
        for (Method method : kMethods) {
            const Result r = renumber(method, m, 1);
            ASSERT_EQ(r.ierr, 0) << name(method) << " trial " << trial;
            ASSERT_TRUE(isPermutation(r.mnnn)) << name(method) << " trial " << trial;
            const Profile after = profileOf(m, r.mnnn);
            const Printed p = printedProfiles(method, r.log);
            EXPECT_EQ(p.oldProfile, before.profile) << name(method) << " trial " << trial;
            EXPECT_EQ(p.oldBand, before.bandwidth) << name(method) << " trial " << trial;
            EXPECT_EQ(p.newProfile, after.profile) << name(method) << " trial " << trial;
            EXPECT_EQ(p.newBand, after.bandwidth) << name(method) << " trial " << trial;
            EXPECT_EQ(r.percent, after.profile * 100 / before.profile) << name(method) << " trial " << trial;
            EXPECT_GE(r.start, 1);
            if (method == Method::Sws) continue;
            // The least scratch the element methods accept gives the same.
            const i32 least = m.nel() + 3 * m.nanod + 1 + i32(m.melnod.size());
            EXPECT_EQ(renumber(method, m, 0, 0, least).mnnn, r.mnnn) << name(method) << " trial " << trial;
        }
    }
}

TEST(Renumbering, ErrorWriterLines) {
    const std::string corrupt = "     Inconsistent (corrupt?) data\n";
    const std::map<int, std::string> lines{
        {1, corrupt + "     Element      11  connected to node      22\n     in problem with only      33  nodes\n"},
        {2, "     Temporary scratch storage far too small\n"},
        {3, "     Temporary scratch storage of      11  locations\n     exceeded by      22  locations\n"},
        {4, corrupt + "           11  nodes out of      22  are numbered\n"},
        {5, corrupt + "     No element connected to nodes on front\n"},
        {6, corrupt + "     Cannot find starting node\n"},
        {7, "     No elements attached to node      11\n"},
        {8, "     Cannot assemble adjacency list\n" + corrupt},
        {9, ""},
        {0, ""},
    };
    for (const auto& [code, text] : lines) {
        std::string log;
        solvika::attachSink(44, &log);
        i32 ierr = 0;
        RENERR(code, 11, 22, 33, 44, ierr);
        solvika::detachSink(44);
        EXPECT_EQ(ierr, -1);
        EXPECT_EQ(log, kHeader + text) << code;
    }
    i32 ierr = 0;
    RENERR(3, 1, 2, 3, 0, ierr);
    EXPECT_EQ(ierr, -1);
}

TEST(Renumbering, LargestElementDofCount) {
    Mesh m;
    m.add({1, 2, 3, 4, 5, 6});
    m.add({3, 7, 5});
    m.finish(7);
    m.mndptr = {1, 4, 7, 10, 12, 14, 16, 22};  // corners 3 DOFs, sides 2, node 7 six
    std::int32_t mpar[50] = {};
    mpar[1] = 2;
    solvika::MXELDF(m.mndptr.data(), m.mpelnd.data(), m.melnod.data(), mpar);
    EXPECT_EQ(mpar[19], 3 * 3 + 3 * 2);
    mpar[1] = 0;
    mpar[19] = 77;
    solvika::MXELDF(m.mndptr.data(), m.mpelnd.data(), m.melnod.data(), mpar);
    EXPECT_EQ(mpar[19], 0);
}

TEST(Renumbering, ModelWithoutNodes) {
    Mesh m;
    m.finish(0);
    for (Method method : kMethods) {
        const Result r = renumber(method, m, 4, 3, 0);
        EXPECT_EQ(r.ierr, 0) << name(method);
        EXPECT_EQ(r.start, 0) << name(method);
        EXPECT_EQ(r.percent, 100) << name(method);
    }
}

// The order follows from the tie rules (queue, front, search); the new
// numbers of a small grid, plain and with its nodes renamed, as a reference
// implementation of the three methods gives them.
TEST(Renumbering, NumbersOfASmallGrid) {
    const Mesh plain = grid(3, 2);
    Mesh renamed = plain;
    const std::vector<i32> rename{2, 8, 11, 1, 7, 12, 5, 6, 3, 9, 10, 4};
    for (i32& n : renamed.melnod) n = rename[std::size_t(n - 1)];
    struct Case {
        const Mesh* mesh;
        Method method;
        std::vector<i32> mnnn;
        i32 start;
    };
    const Case cases[] = {
        {&plain, Method::Sws, {9, 6, 2, 1, 11, 8, 5, 3, 12, 10, 7, 4}, 4},
        {&plain, Method::Pfm, {9, 6, 3, 2, 11, 8, 4, 1, 12, 10, 7, 5}, 9},
        {&plain, Method::Elw, {9, 6, 3, 1, 11, 8, 5, 2, 12, 10, 7, 4}, 9},
        {&renamed, Method::Sws, {1, 9, 12, 4, 5, 3, 11, 6, 10, 7, 2, 8}, 1},
        {&renamed, Method::Pfm, {2, 9, 12, 5, 4, 1, 11, 6, 10, 7, 3, 8}, 3},
        {&renamed, Method::Elw, {1, 9, 12, 4, 5, 2, 11, 6, 10, 7, 3, 8}, 3},
    };
    for (const Case& c : cases) {
        const Result r = renumber(c.method, *c.mesh);
        EXPECT_EQ(r.mnnn, c.mnnn) << name(c.method);
        EXPECT_EQ(r.start, c.start) << name(c.method);
    }
}

// A new profile above 21474836 entries: new x 100 passes the 32-bit range.
TEST(Renumbering, PercentageOfALongProfile) {
    const Mesh m = grid(520, 260);
    const Profile before = profileOf(m, inputOrder(m.nanod));
    for (Method method : {Method::Sws, Method::Elw}) {
        const Result r = renumber(method, m, 1);
        ASSERT_EQ(r.ierr, 0) << name(method);
        const Profile after = profileOf(m, r.mnnn);
        ASSERT_GT(after.profile, 21474836) << name(method);
        EXPECT_EQ(r.percent, after.profile * 100 / before.profile) << name(method);
        EXPECT_EQ(printedProfiles(method, r.log).newProfile, after.profile) << name(method);
    }
}
