#include <cmath>

#include <gtest/gtest.h>

#include "geometry/bexlar.h"

namespace {

constexpr double kPi = 3.141592653589793;

} // namespace

TEST(RotMat, ExactEntriesAtSpecialAngles)
{
    CMatrix m;
    CAxis::RotMat(m, kPi / 2, 2);
    const double quarter[3][3] = {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(m[i][j], quarter[i][j]) << i << "," << j;
    CAxis::RotMat(m, -kPi / 4, 2);
    EXPECT_EQ(m[0][1], 0.7071067811865476);
    EXPECT_EQ(m[1][0], -0.7071067811865476);
    EXPECT_EQ(m[0][0], 0.7071067811865476);
    CAxis::RotMat(m, kPi, 0);
    EXPECT_EQ(m[0][0], 1.0);
    EXPECT_EQ(m[1][1], -1.0);
    EXPECT_EQ(m[1][2], 0.0);
    CAxis::RotMat(m, 3 * kPi / 2, 1); // pair (z, x)
    EXPECT_EQ(m[2][0], 1.0);
    EXPECT_EQ(m[0][2], -1.0);
    CAxis::RotMat(m, 0.3, 1);
    EXPECT_EQ(m[2][0], -std::sin(0.3));
    EXPECT_EQ(m[0][2], std::sin(0.3));
}

TEST(AxisStatics, AnglesDistancesAreas)
{
    double v1[2] = {1.0, -1e-16};
    double v2[2] = {0.0, -1.0};
    double v3[2] = {0.0, 0.0};
    double v4[2] = {-1.0, 1.0};
    EXPECT_EQ(CAxis::GetAngle(v1), 0.0);
    EXPECT_EQ(CAxis::GetAngle(v2), 2 * kPi - kPi / 2);
    EXPECT_EQ(CAxis::GetAngle(v3), -1.0);
    EXPECT_DOUBLE_EQ(CAxis::GetAngle(v4), 3 * kPi / 4);
    CSNode a(0, 0, 0, nullptr, 0), b(3, 4, 0, nullptr, 0), c(0, 4, 0, nullptr, 0);
    EXPECT_EQ(CAxis::CalcDist(&a, &b), 5.0);
    EXPECT_EQ(CAxis::CalcArea(&a, &b, &c), 6.0);
    EXPECT_EQ(CAxis::CalcArea(&a, &a, &c), 0.0);
    EXPECT_DOUBLE_EQ(CAxis::GetAngleXY(&b, &a), std::atan2(-4.0, -3.0) + 2 * kPi);
    double x = 9, y = 9, z = 9;
    EXPECT_FALSE(CAxis::GetUnity(x, y, z, &a, &a, 1.0));
    EXPECT_EQ(x, 9.0);
    EXPECT_FALSE(CAxis::GetUnity(x, y, z, &a, &b, 0.0));
    EXPECT_EQ(y, 4.0);
    EXPECT_TRUE(CAxis::GetUnity(x, y, z, &a, &b, 10.0));
    EXPECT_EQ(x, 6.0);
}

TEST(AxisStatics, LineIntersection)
{
    double r[2] = {-7, -7};
    double a1[2] = {0, 0}, a2[2] = {0, 5}, a3[2] = {1, 0}, a4[2] = {1, 5};
    EXPECT_EQ(CAxis::Intersect2D(a1, a2, a3, a4, r), 3);
    EXPECT_EQ(r[0], -7.0);
    double b1[2] = {0, 0}, b2[2] = {2, 2}, b3[2] = {0, 2}, b4[2] = {2, 0};
    EXPECT_EQ(CAxis::Intersect2D(b1, b2, b3, b4, r), 1);
    EXPECT_EQ(r[0], 1.0);
    EXPECT_EQ(r[1], 1.0);
    double c1[2] = {0, 0}, c2[2] = {1, 1}, c3[2] = {3, 0}, c4[2] = {3, 5};
    EXPECT_EQ(CAxis::Intersect2D(c1, c2, c3, c4, r), 2);
    EXPECT_EQ(r[0], 3.0);
    EXPECT_EQ(r[1], 3.0);
    double d1[2] = {0, 1}, d2[2] = {4, 1}, d3[2] = {1, 0}, d4[2] = {2, 2};
    EXPECT_EQ(CAxis::Intersect2D(d1, d2, d3, d4, r), 1);
    EXPECT_EQ(r[0], 1.5);
    EXPECT_EQ(r[1], 1.0);
}

TEST(Axis, OwnUnitAxesAreTheIdentity)
{
    CAxis axis(true);
    double x = 1.5, y = -2.0, z = 3.0;
    axis.LocalToGlobal(x, y, z);
    EXPECT_EQ(x, 1.5);
    EXPECT_EQ(y, -2.0);
    EXPECT_EQ(z, 3.0);
    axis.GlobalToLocal(x, y, z);
    EXPECT_EQ(x, 1.5);
    EXPECT_EQ(z, 3.0);
    double p[3] = {0, 0, 0};
    EXPECT_FALSE(axis.GetPofIntersect(p, x, y, z, 3));
    EXPECT_EQ(x, 1.5); // untouched
}

TEST(Axis, PlanarSystemTurnedByItsXNode)
{
    CSNode* origin = new CSNode(1, 1, 1, nullptr, 0);
    CSNode* xNode = new CSNode(1, 3, 1, nullptr, 0);
    CAxis axis(origin, xNode, nullptr);
    double p[3] = {1, 0, 0};
    axis.LocalToGlobaldv(p);
    EXPECT_EQ(p[0], 1.0);
    EXPECT_EQ(p[1], 2.0);
    EXPECT_EQ(p[2], 1.0);
    double q[3] = {0, 1, 5};
    axis.LocalToGlobaldv(q);
    EXPECT_EQ(q[0], 0.0);
    EXPECT_EQ(q[1], 1.0);
    EXPECT_EQ(q[2], 6.0);
    axis.GlobalToLocaldv(q);
    EXPECT_EQ(q[0], 0.0);
    EXPECT_EQ(q[1], 1.0);
    EXPECT_EQ(q[2], 5.0);
    double v[3] = {1, 0, 0};
    axis.LtoGVector(v);
    EXPECT_EQ(v[0], 0.0);
    EXPECT_EQ(v[1], 1.0);
    double xy[4] = {1, 0, 0, 1};
    axis.LocalToGlobalXY(xy, 2, 2);
    EXPECT_EQ(xy[1], 2.0);
    EXPECT_EQ(xy[2], 0.0);
    double gx = 1.0, gy = 2.0;
    axis.GlobalToLocal(gx, gy);
    EXPECT_EQ(gx, 1.0);
    EXPECT_EQ(gy, 0.0);
}

TEST(Axis, ZNodeKeptPerpendicular)
{
    CSNode* o = new CSNode(0, 0, 0, nullptr, 0);
    CSNode* x = new CSNode(2, 0, 0, nullptr, 0);
    CSNode* z = new CSNode(1, 0, 1, nullptr, 0); // 45 degrees to x
    CAxis axis(o, x, z);
    EXPECT_NEAR(z->x, 0.0, 1e-15);
    EXPECT_EQ(z->y, 0.0);
    EXPECT_GT(z->z, 0.0);
    double yx = 0, yy = 0, yz = 0;
    axis.GetYVector(yx, yy, yz, 1.0);
    EXPECT_NEAR(yy, 1.0, 1e-15);

    // A z-node on the x axis goes to origin + e1 x (1, 1, 1).
    CSNode* onX = new CSNode(3, 0, 0, nullptr, 0);
    CSNode* old = axis.SetZNode(onX);
    EXPECT_EQ(old, z);
    delete old;
    EXPECT_EQ(onX->x, 0.0);
    EXPECT_EQ(onX->y, -1.0);
    EXPECT_EQ(onX->z, 1.0);

    // Rotating about local z turns the x-node.
    axis.RotateLocal(kPi / 2, 2);
    EXPECT_NEAR(x->x, 0.0, 1e-12);
    EXPECT_GT(std::fabs(x->y) + std::fabs(x->z), 1.0);
    double e[3] = {0, 0, 0};
    axis.GetXVector(e[0], e[1], e[2], 1.0);
    double f[3] = {0, 0, 0};
    axis.GetZVector(f[0], f[1], f[2], 1.0);
    EXPECT_NEAR(e[0] * f[0] + e[1] * f[1] + e[2] * f[2], 0.0, 1e-12);
}

TEST(Axis, IntersectionWithTheWorkingPlane)
{
    CAxis axis(true);
    double dir[3] = {0.0, 0.0, -1.0};
    double x = 2.0, y = 3.0, z = 0.5;
    // A vertical line through (2, 3) meets the plane z = 0.5 of the axis.
    EXPECT_TRUE(axis.GetPofIntersect(dir, x, y, z, 0));
    EXPECT_EQ(x, 2.0);
    EXPECT_EQ(y, 3.0);
    EXPECT_EQ(z, 0.5);
    double along[3] = {1.0, 0.0, 0.0};
    EXPECT_FALSE(axis.GetPofIntersect(along, x, y, z, 0));
    EXPECT_EQ(x, 0.0);
}

TEST(Axis, DeletesOnlyFreeNodes)
{
    CGraph g;
    CSNode* inGraph = g.NewNode(0, 0, 0);
    CSNode* freeX = new CSNode(1, 0, 0, nullptr, 0);
    CSNode* edged = new CSNode(0, 0, 1, nullptr, 0);
    CSNode* other = new CSNode(5, 5, 5, nullptr, 0);
    new CEdge(edged, other);
    {
        CAxis axis(inGraph, freeX, edged);
        // A replaced z-node that is still edged stays alive as well.
        CSNode* newZ = new CSNode(0, 0, 2, nullptr, 0);
        axis.UpdateAxis(newZ);
        EXPECT_EQ(axis.GetZNode(), newZ);
    }
    EXPECT_EQ(g.GetHeadNode(), inGraph);
    EXPECT_TRUE(edged->IsConnected());
    delete edged;
    delete other;
}

TEST(Axis, UpdateWithoutZNodeRestoresAPerpendicularOne)
{
    CAxis axis(true);
    axis.GetXNode()->SetNodeCoord(0, 0, 0);
    axis.GetXNode()->SetNodeCoord(0, 1, 0); // x along global y
    axis.UpdateAxis(nullptr);
    CSNode* z = axis.GetZNode();
    EXPECT_EQ(z->y, 0.0);
    double e[3] = {0, 0, 0};
    axis.GetZVector(e[0], e[1], e[2], 1.0);
    EXPECT_NEAR(std::fabs(e[0]) + std::fabs(e[2]), 1.0, 1e-12);
    axis.Translate(1, 2, 3);
    EXPECT_EQ(axis.GetOrigin()->x, 1.0);
    EXPECT_EQ(axis.GetXNode()->y, 3.0);
}
