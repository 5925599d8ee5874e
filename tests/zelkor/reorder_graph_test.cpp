// The DOF graph: building in two passes, the jagged array beneath it, the
// measures and the small operations of the heuristics.
#include <vector>

#include <gtest/gtest.h>

#include "tests/zelkor/reorder_graphs.h"

using namespace reordertest;
using V = std::vector<LONG>;

TEST(ReorderBuild, TwoTrianglesSharingTwoNodes)
{
    CReorderMat g(0);
    Build(g, 8, {{0, 1, 2, 3, 4, 5}, {2, 3, 4, 5, 6, 7}});
    EXPECT_EQ(g.GetRows(), 8);
    EXPECT_EQ(Neighbours(g, 2), (V{0, 1, 3, 4, 5, 6, 7}));
    EXPECT_EQ(g.GetRowLength(2), 7);
    EXPECT_EQ(Neighbours(g, 0), (V{1, 2, 3, 4, 5}));
    EXPECT_EQ(Neighbours(g, 7), (V{2, 3, 4, 5, 6}));
    EXPECT_TRUE(g.Check());
    for (int v = 0; v < 8; ++v)
        EXPECT_EQ(g.f_v(v), v);
}

TEST(ReorderBuild, SkippedNumbersCoupleOnlyTheOthers)
{
    CReorderMat g(0);
    // -1 is no DOF; 9 lies outside the graph; a DOF listed twice gets no self
    // coupling.
    Build(g, 4, {{0, -1, 2}, {3, 9, 1}, {1, 1}});
    EXPECT_EQ(Neighbours(g, 0), (V{2}));
    EXPECT_EQ(Neighbours(g, 2), (V{0}));
    EXPECT_EQ(Neighbours(g, 1), (V{3}));
    EXPECT_EQ(Neighbours(g, 3), (V{1}));
    EXPECT_TRUE(g.Check());
}

TEST(ReorderBuild, OtherPassesAndEmptyListsDoNothing)
{
    CReorderMat g(0);
    g.Alloc(3);
    LONG dofs[] = {0, 1, 2};
    g.InsertDOFs(dofs, 2, 3);
    g.InsertDOFs(dofs, -1, 3);
    g.InsertDOFs(dofs, 0, 0);
    for (int v = 0; v < 3; ++v)
        EXPECT_EQ(g.GetRowLength(v), 0);
    g.InsertDOFs(dofs, 0, 3);
    EXPECT_EQ(g.GetRowLength(1), 2);
}

TEST(ReorderBuild, UncountedElementInSecondPassGrowsItsRows)
{
    // Pass 1 sees an element that pass 0 did not count: the couplings land
    // without writing past the rows.
    CReorderMat g(0);
    g.Alloc(5);
    LONG counted[] = {0, 1};
    g.InsertDOFs(counted, 0, 2);
    g.Init();
    LONG extra[] = {0, 2, 3, 4};
    g.InsertDOFs(counted, 1, 2);
    g.InsertDOFs(extra, 1, 4);
    EXPECT_EQ(Neighbours(g, 0), (V{1, 2, 3, 4}));
    EXPECT_EQ(Neighbours(g, 4), (V{0, 2, 3}));
    EXPECT_TRUE(g.Check());
}

TEST(ReorderBuild, AllocWithTheSameCountEmptiesAndResets)
{
    CReorderMat g(1);
    Build(g, 4, Path(4));
    g.Move(0, 3);
    g.InitTabu(7);
    g.Alloc(4);
    EXPECT_EQ(g.GetRows(), 4);
    for (int v = 0; v < 4; ++v) {
        EXPECT_EQ(g.GetRowLength(v), 0);
        EXPECT_EQ(g.GetRow(v), nullptr);
        EXPECT_EQ(g.f_v(v), v);
        EXPECT_EQ(g.GetAux()[v], 0);
    }
    g.Alloc(0);
    EXPECT_EQ(g.GetRows(), 0);
    EXPECT_EQ(g.GetLabels(), nullptr);
}

TEST(ReorderBuild, NewCountAfterPostReorderGivesAFittingInverse)
{
    CReorderMat g(0);
    Build(g, 2, Path(2));
    g.PostReorder();
    Build(g, 6, Path(6));
    g.Move(0, 5);
    g.PostReorder();
    for (int l = 0; l < 6; ++l)
        EXPECT_EQ(g.f_v(g.f_v_inv(l)), l);
    EXPECT_EQ(g.f_v_inv(0), 5);
}

TEST(ReorderArray, AssignCopiesLengthsAndEntries)
{
    CReorderMat g(0);
    Build(g, 5, Star(3));
    CArrayArray<LONG> copy;
    int dims[] = {2, 9};
    copy.Allocate(dims, 2);
    EXPECT_EQ(copy.Assign(g), 5);
    for (int v = 0; v < 5; ++v) {
        ASSERT_EQ(copy.GetRowLength(v), g.GetRowLength(v));
        for (int i = 0; i < g.GetRowLength(v); ++i)
            EXPECT_EQ(copy[v][i], g[v][i]);
    }
    EXPECT_EQ(copy.GetRow(4), nullptr);

    // Copying back into rows of another shape.
    CReorderMat h(0);
    Build(h, 5, Path(5));
    h.Assign(copy);
    EXPECT_EQ(Neighbours(h, 0), (V{1, 2, 3}));
    EXPECT_EQ(Neighbours(h, 2), (V{0}));
    EXPECT_EQ(h.GetRowLength(4), 0);

    // Another count re-makes the labels of a graph too.
    CArrayArray<LONG> small;
    int smallDims[] = {7, 1};
    small.Allocate(smallDims, 2);
    for (int r = 0; r < 7; ++r)
        small[r][0] = (r + 1) % 7;
    h.Move(0, 4);
    EXPECT_EQ(h.Assign(small), 7);
    EXPECT_EQ(h.GetRows(), 7);
    EXPECT_EQ(Labels(h), (V{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(h.GetRow(6)[0], 0);
}

TEST(ReorderArray, AllocateGivesEveryRowItsLength)
{
    CArrayArray<LONG> a;
    int dims[] = {3, 4};
    EXPECT_TRUE(a.Allocate(dims, 2));
    ASSERT_EQ(a.GetCount(), 3);
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(a.GetRowLength(r), 4);
        ASSERT_NE(a[r], nullptr);
        a[r][3] = r;
    }
    EXPECT_TRUE(a.Allocate(dims, 1));
    EXPECT_EQ(a.GetCount(), 3);
    EXPECT_EQ(a.GetRowLength(0), 0);
    EXPECT_FALSE(a.Allocate(nullptr, 2));

    // Through the virtual Alloc of the graph: labels are made too.
    CReorderMat g(0);
    int graphDims[] = {2, 1};
    EXPECT_TRUE(g.Allocate(graphDims, 2));
    EXPECT_EQ(g.GetRowLength(1), 1);
    EXPECT_EQ(g.f_v(1), 1);
}

TEST(ReorderArray, ReportTheRootClassAndArchiveNothing)
{
    CReorderMat g(0);
    CArrayArray<LONG> a;
    EXPECT_EQ(g.GetRuntimeClass(), RUNTIME_CLASS(CVirtMat));
    EXPECT_EQ(a.GetRuntimeClass(), RUNTIME_CLASS(CVirtMat));
    EXPECT_FALSE(g.IsSerializable());
}

TEST(ReorderMeasure, PathStarAndEmptyGraphs)
{
    CReorderMat path(0);
    Build(path, 4, Path(4));
    int vertex = -1;
    EXPECT_EQ(path.GetB(vertex), 1);
    EXPECT_EQ(vertex, 0);
    int band = -1;
    EXPECT_EQ(path.Env(&band), 4);
    EXPECT_EQ(band, 1);

    CReorderMat star(0);
    Build(star, 4, Star(3));
    EXPECT_EQ(star.GetB(vertex), 3);
    EXPECT_EQ(vertex, 0);
    EXPECT_EQ(star.Env(nullptr), 9);
    EXPECT_EQ(star.B_f(2), 2);

    // Relabelled: 0 and 3 swapped puts the star's centre last.
    star.Move(0, 3);
    EXPECT_EQ(star.f_v(0), 3);
    EXPECT_EQ(star.GetB(vertex), 3);
    EXPECT_EQ(vertex, 0);
    EXPECT_EQ(star.Env(nullptr), 3 + 2 + 1 + 3);

    CReorderMat empty(0);
    EXPECT_EQ(empty.GetB(vertex), 0);
    EXPECT_EQ(vertex, 0);
    EXPECT_EQ(empty.Env(&band), 0);
    EXPECT_EQ(band, 0);

    CReorderMat loose(0);
    Build(loose, 3, {});
    vertex = 2;
    EXPECT_EQ(loose.GetB(vertex), 0);
    EXPECT_EQ(vertex, 0);
}

TEST(ReorderMeasure, MidLabel)
{
    CReorderMat path(0);
    Build(path, 4, Path(4));
    // No higher-labelled neighbour: (label + count + 1) / 2, no vertex has it.
    int v = 3;
    EXPECT_EQ(path.mid(v), 4);
    EXPECT_EQ(v, 3);
    v = 1;
    EXPECT_EQ(path.mid(v), 2);
    EXPECT_EQ(v, 2);

    CReorderMat star(0);
    Build(star, 5, Star(4));
    v = 0;
    EXPECT_EQ(star.mid(v), 3); // (4 + 1 + 1) / 2
    EXPECT_EQ(v, 3);
    v = 2;
    EXPECT_EQ(star.mid(v), 4); // (2 + 5 + 1) / 2
    EXPECT_EQ(v, 4);
}

TEST(ReorderMeasure, TabuQueriesOfTheSearch)
{
    CReorderMat star(1);
    Build(star, 5, Star(4));
    // Mid of the centre is 3: leaf 3 is closest, and nothing beats it.
    EXPECT_EQ(star.GetClosestToMid(0), 3);
    EXPECT_TRUE(star.IsCandidate(0, 3));
    // Leaf 2's mid is 4: the centre is no closer to it than the leaf, and
    // with the iteration at 0 only a tabu mark below 0 makes it a candidate.
    EXPECT_FALSE(star.IsCandidate(2, 0));
    star.InitTabu(-1);
    EXPECT_TRUE(star.IsCandidate(2, 0));
    EXPECT_EQ(star.NumMovables(0, 0), 4);
    EXPECT_EQ(star.NumMovables(0, -1), 0);
    // A leaf whose mid lies above every label has no closer neighbour.
    EXPECT_EQ(star.GetClosestToMid(4), 4);
}

TEST(ReorderMeasure, Weights)
{
    CReorderMat g(0);
    struct Case {
        int x;
        float w;
    };
    for (const Case c : {Case{200, 0.1f}, Case{201, 0.1f}, Case{100000, 0.1f}, Case{4, 5.0f},
                         Case{1, 20.0f}, Case{0, 20.0f}, Case{-3, 20.0f}}) {
        EXPECT_FLOAT_EQ(g.WFun(c.x), c.w) << c.x;
    }
    // 20 / 201 would be below the cap.
    EXPECT_NE(g.WFun(201), 20.0f / 201.0f);

    // Unlabelled neighbours and the score built on them (iteration 0).
    CReorderMat star(0);
    Build(star, 4, Star(3));
    // All labelled: three labelled leaves without unlabelled neighbours.
    EXPECT_EQ(star.d_k(0), 0);
    EXPECT_FLOAT_EQ(star.S_k(0), 3 * 20.0f + star.WFun(1));
    star.InitLabels(-1);
    EXPECT_EQ(star.d_k(0), 3);
    EXPECT_EQ(star.r_k(1), 1);
    // Nothing labelled; min(0 - 3 + 1, 3 + 1) is below 1 and weighs 20.
    EXPECT_FLOAT_EQ(star.S_k(0), 20.0f);
}

TEST(ReorderUnion, AbsorbsTheOtherNeighbourhood)
{
    CReorderMat g(0);
    // 0-1, 0-2, 1-3, 1-2: vertex 0 absorbs vertex 1.
    Build(g, 5, {{0, 1}, {0, 2}, {1, 3}, {1, 2}});
    EXPECT_EQ(g.UnionAdj_Ex_p_i(0, 1), 2);
    EXPECT_EQ(V(g.GetRow(0), g.GetRow(0) + 2), (V{2, 3}));

    // i's row holds only p: p's row as before without i.
    CReorderMat h(0);
    Build(h, 4, {{0, 1}, {0, 2}, {0, 3}});
    EXPECT_EQ(h.UnionAdj_Ex_p_i(0, 2), 2);
    EXPECT_EQ(V(h.GetRow(0), h.GetRow(0) + 2), (V{1, 3}));
    // 1 takes over 0's other neighbour.
    EXPECT_EQ(h.UnionAdj_Ex_p_i(1, 0), 1);
    EXPECT_EQ(h.GetRow(1)[0], 3);
    // A row that becomes empty is freed.
    CReorderMat pair(0);
    Build(pair, 2, Path(2));
    EXPECT_EQ(pair.UnionAdj_Ex_p_i(0, 1), 0);
    EXPECT_EQ(pair.GetRow(0), nullptr);
    EXPECT_EQ(pair.GetRowLength(0), 0);
}

TEST(ReorderUnion, OtherVertexAbsentFromTheRow)
{
    // 2 is no neighbour of 0: nothing is removed and every new entry fits.
    CReorderMat g(0);
    Build(g, 6, {{0, 1}, {2, 3}, {2, 4}, {2, 5}, {2, 1}});
    EXPECT_EQ(g.UnionAdj_Ex_p_i(0, 2), 4);
    EXPECT_EQ(Neighbours(g, 0), (V{1, 3, 4, 5}));
    EXPECT_TRUE(g.Check());
}

TEST(ReorderPost, InverseOfTheLabels)
{
    CReorderMat g(0);
    Build(g, 5, Path(5));
    g.Move(0, 4);
    g.Move(1, 3);
    g.PostReorder();
    for (int l = 0; l < 5; ++l)
        EXPECT_EQ(g.f_v(g.f_v_inv(l)), l);
    EXPECT_EQ(g.f_v_inv(0), 4);
}
