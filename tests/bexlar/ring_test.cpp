#include <cmath>

#include <gtest/gtest.h>

#include "geometry/bexlar.h"

namespace {

constexpr double kPi = 3.141592653589793;

class GridNode : public CSNode {
    DECLARE_DYNCREATE(GridNode)
};
IMPLEMENT_DYNCREATE(GridNode, CSNode)

CVector Point(double x, double y)
{
    CVector v(2);
    v[0] = x;
    v[1] = y;
    return v;
}

CVector Point(double x, double y, double z)
{
    CVector v(3);
    v[0] = x;
    v[1] = y;
    v[2] = z;
    return v;
}

CSNode* At(CObjMat* m, int i, int j)
{
    return static_cast<CSNode*>((*m)[i][j]);
}

void Free(CObjMat*& m)
{
    if (!m)
        return;
    m->DeleteEntries();
    delete m;
    m = nullptr;
}

void ExpectAt(CObjMat* m, int i, int j, double x, double y)
{
    EXPECT_NEAR(At(m, i, j)->x, x, 1e-12) << i << "," << j;
    EXPECT_NEAR(At(m, i, j)->y, y, 1e-12) << i << "," << j;
}

} // namespace

TEST(RingSegment, AboutACentre)
{
    CVector centre = Point(0, 0), start = Point(1, 0);
    CObjMat* m = nullptr;
    RingSeg(m, centre, start, kPi / 2, 3, 3, 0.2, nullptr);
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(m->GetRows(), 3);
    ASSERT_EQ(m->GetColumns(), 3);
    ExpectAt(m, 0, 0, 0.9, 0.0);
    ExpectAt(m, 1, 0, 1.0, 0.0);
    ExpectAt(m, 2, 0, 1.1, 0.0);
    ExpectAt(m, 1, 1, std::cos(-kPi / 4), std::sin(-kPi / 4));
    ExpectAt(m, 1, 2, 0.0, -1.0);
    EXPECT_TRUE(At(m, 1, 1)->IsKindOf(RUNTIME_CLASS(CSNode)));
    Free(m);

    // Below the centre's x axis the start angle is 3 pi / 2.
    CVector below = Point(0, -1);
    RingSeg(m, centre, below, kPi / 2, 3, 1, 0.0, RUNTIME_CLASS(GridNode));
    ASSERT_NE(m, nullptr);
    ExpectAt(m, 0, 0, 0.0, -1.0);
    ExpectAt(m, 0, 2, -1.0, 0.0);
    EXPECT_TRUE(At(m, 0, 1)->IsKindOf(RUNTIME_CLASS(GridNode)));
    Free(m);
}

TEST(RingSegment, ArcBetweenTwoPoints)
{
    CVector p1 = Point(1, 0), p2 = Point(0, 1);
    CObjMat* m = nullptr;
    RingSeg(m, p1, p2, nullptr, 0, 1.0, 3, 1, 0.0, nullptr);
    ASSERT_NE(m, nullptr);
    ExpectAt(m, 0, 0, 1.0, 0.0);
    ExpectAt(m, 0, 1, 1.0 - std::sqrt(0.5), 1.0 - std::sqrt(0.5));
    ExpectAt(m, 0, 2, 0.0, 1.0);
    Free(m);

    RingSeg(m, p1, p2, nullptr, 1, 1.0, 4, 1, 0.0, RUNTIME_CLASS(GridNode));
    ASSERT_NE(m, nullptr);
    ExpectAt(m, 0, 0, 1.0, 0.0);
    ExpectAt(m, 0, 1, 0.0, -1.0);
    ExpectAt(m, 0, 2, -1.0, 0.0);
    ExpectAt(m, 0, 3, 0.0, 1.0);
    EXPECT_TRUE(At(m, 0, 3)->IsKindOf(RUNTIME_CLASS(GridNode)));
    Free(m);

    // With a normal the arc still runs from p1 to p2, for any radius.
    CVector q1 = Point(1, 0, 0), q2 = Point(0, 1, 0), normal = Point(0, 0, 1);
    RingSeg(m, q1, q2, &normal, 0, 2.0, 5, 1, 0.0, nullptr);
    ASSERT_NE(m, nullptr);
    ExpectAt(m, 0, 0, 1.0, 0.0);
    ExpectAt(m, 0, 4, 0.0, 1.0);
    Free(m);

    CVector far = Point(2, 0), origin = Point(0, 0);
    CObjMat previous;
    m = &previous; // overwritten, not freed
    RingSeg(m, origin, far, nullptr, 0, 0.5, 3, 1, 0.0, nullptr);
    EXPECT_EQ(m, nullptr);
}

TEST(RingSegment, StraightStrip)
{
    CVector p1 = Point(0, 0), p2 = Point(2, 0);
    CObjMat* m = nullptr;
    RingSeg(m, p1, p2, nullptr, 0, 0.0, 3, 2, 1.0, nullptr);
    ASSERT_NE(m, nullptr);
    for (int j = 0; j < 3; ++j) {
        ExpectAt(m, 0, j, j, -0.5);
        ExpectAt(m, 1, j, j, 0.5);
    }
    Free(m);
}

TEST(RingSegment, CountsAndPointsThatGiveNoGridCreateNothing)
{
    const DWORD before = CSNode::lIDnode;
    CVector centre = Point(0, 0), start = Point(1, 0), p2 = Point(0, 1);
    CObjMat* m = nullptr;
    RingSeg(m, centre, start, kPi, 1, 3, 0.2, nullptr);
    EXPECT_EQ(m, nullptr);
    RingSeg(m, centre, start, kPi, 3, 0, 0.2, nullptr);
    EXPECT_EQ(m, nullptr);
    RingSeg(m, centre, centre, kPi, 3, 3, 0.2, nullptr);
    EXPECT_EQ(m, nullptr);
    RingSeg(m, start, p2, nullptr, 0, 0.0, 1, 2, 1.0, nullptr);
    EXPECT_EQ(m, nullptr);
    RingSeg(m, centre, start, kPi, 3, 3, 0.2, RUNTIME_CLASS(CObList));
    EXPECT_EQ(m, nullptr);
    EXPECT_EQ(CSNode::lIDnode, before);
}

TEST(RingSegment, TruncDouble)
{
    EXPECT_EQ(TruncDouble(0.123456, 0, 3), 0.1235);
    EXPECT_EQ(TruncDouble(0.123456, 1, 3), 0.123);
    EXPECT_EQ(TruncDouble(0.123456, 2, 3), 0.123);
    EXPECT_EQ(TruncDouble(1.23456, 0, 2), 1.23);
    EXPECT_EQ(TruncDouble(1.23456, 2, 2), 1.2);
}
