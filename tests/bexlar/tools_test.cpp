#include <algorithm>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "geometry/bexlar.h"
#include "tests/afx/archive_files.h"
#include "tests/support/gl_context.h"

TEST(IsEqualTol, StrictAndNonStrictBounds)
{
    const double e10 = 10 * 2.220446049250313e-16;
    struct Case {
        double a, b, factor;
        bool equal;
    } cases[] = {
        {1e-15, 0.0, 10.0, true},
        {3e-15, 0.0, 10.0, false},
        {100.0 + 1e-12, 100.0, 1e7, true},
        {100.0 + 1e-6, 100.0, 1e7, false},
        // absolute below 1: both bounds strict
        {e10, 0.0, 10.0, false},
        {-e10, 0.0, 10.0, false},
        // relative for b >= 1: both bounds included
        {(1.0 + e10) * 2.0, 2.0, 10.0, true},
        {(1.0 - e10) * 2.0, 2.0, 10.0, true},
        // relative for b <= -1: both bounds strict
        {(1.0 + e10) * -2.0, -2.0, 10.0, false},
        {(1.0 - e10) * -2.0, -2.0, 10.0, false},
        {-2.0, -2.0, 10.0, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsEqualTol(c.a, c.b, c.factor), c.equal) << c.a << " vs " << c.b;
}

TEST(CrossProducts, UseTheOldValuesOfB)
{
    const double a[3] = {1.0, 0.0, 0.0};
    double b[3] = {0.0, 1.0, 0.0};
    CrossVect3d(a, b);
    EXPECT_EQ(b[0], 0.0);
    EXPECT_EQ(b[1], 0.0);
    EXPECT_EQ(b[2], 1.0);

    double bx = 4.0, by = 5.0, bz = 6.0;
    CrossVect3dXYZ(1.0, 2.0, 3.0, &bx, &by, &bz);
    EXPECT_EQ(bx, -3.0);
    EXPECT_EQ(by, 6.0);
    EXPECT_EQ(bz, -3.0);
}

TEST(NodeList, AddFindRemove)
{
    CSNode a, b;
    NODELIST list;
    EXPECT_EQ(list.AddNode(nullptr), -1);
    EXPECT_EQ(list.AddNode(&a), 1);
    EXPECT_EQ(list.AddNode(&a), 0);
    EXPECT_EQ(list.Find(&a), 0);
    EXPECT_EQ(list.AddNode(&b), 2);
    EXPECT_EQ(list.RemoveNode(&a), 0);
    EXPECT_EQ(list.m_nCount, 1);
    EXPECT_EQ(list.m_pNodes[0], &b);
    EXPECT_EQ(list.RemoveNode(&a), -1);
    EXPECT_EQ(list.RemoveNode(&b), 0);
    EXPECT_EQ(list.m_nCount, 0);
    EXPECT_EQ(list.Find(&b), -1);
}

TEST(NodeList, AssignmentCopiesTheEntries)
{
    CSNode a, b;
    NODELIST* first = new NODELIST;
    first->AddNode(&a);
    first->AddNode(&b);
    NODELIST second;
    second = *first;
    NODELIST third(*first);
    delete first; // the copies keep their own blocks
    ASSERT_EQ(second.m_nCount, 2);
    EXPECT_EQ(second.m_pNodes[1], &b);
    EXPECT_EQ(third.Find(&a), 0);
    EXPECT_EQ(third.AddNode(&a), 0);
}

TEST(NodeList, CommonNodesOfAGraph)
{
    CGraph g;
    CSNode* a = g.NewNode(0.0, 0.0, 0.0);
    CSNode loose;
    CSNode* b = g.NewNode(1.0, 0.0, 0.0);
    NODELIST list;
    list.AddNode(b);
    list.AddNode(&loose);
    list.AddNode(a);
    CObList out;
    list.GetCommonNodes(&g, out);
    ASSERT_EQ(out.GetCount(), 2);
    EXPECT_EQ(out.GetHead(), b);
    EXPECT_EQ(out.GetTail(), a);
}

using DrawCommandGL = brantel::test::GLTest;

TEST_F(DrawCommandGL, BeginIfSharesOnePrimitive)
{
    COGLDrawCommand cmd(4);
    ASSERT_EQ(cmd.m_nScale, 4);
    EXPECT_EQ(cmd.m_pScale[3], 1.0);
    EXPECT_EQ(cmd.m_uiPolyMode, static_cast<unsigned>(GL_FILL));
    EXPECT_TRUE(cmd.NoActive());
    while (glGetError() != GL_NO_ERROR) {
    }
    // A second glBegin or glEnd would raise GL_INVALID_OPERATION.
    cmd.BeginIf(GL_LINES);
    cmd.BeginIf(GL_LINES);
    EXPECT_EQ(cmd.GetOpenMode(), static_cast<unsigned>(GL_LINES));
    cmd.BeginIf(GL_POINTS);
    EXPECT_EQ(cmd.GetOpenMode(), static_cast<unsigned>(GL_POINTS));
    cmd.EndIf();
    cmd.EndIf();
    EXPECT_TRUE(cmd.NoActive());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(InfoContainer, MaskAndCountersCopiedButNotArchived)
{
    CInfoContainer info;
    EXPECT_EQ(info.m_iMask, 7);
    info.Allocate(3, true, 0);
    info[1] = 42;
    info.m_iMask = 2;
    CInfoContainer copy;
    copy = info;
    EXPECT_EQ(copy.m_iMask, 2);
    EXPECT_EQ(copy[1], 42);

    const afxtest::Bytes bytes =
        afxtest::storeBytes([&](CArchive& ar) { ar << static_cast<CObject*>(&info); });
    CInfoContainer* loaded = nullptr;
    afxtest::loadBytes(bytes, [&](CArchive& ar) { ar >> loaded; });
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->m_iMask, 7);
    EXPECT_EQ(loaded->GetSize(), 3);
    EXPECT_EQ((*loaded)[1], 42);
    // Class record, then the integer vector's own layout.
    const afxtest::Bytes head = {0xFF, 0xFF, 1, 0, 14, 0};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));
    EXPECT_EQ(bytes.size(), 6u + 14u + 4u + 4u + 12u);
    delete loaded;
}
