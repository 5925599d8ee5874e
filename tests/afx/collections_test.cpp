#include <vector>

#include <gtest/gtest.h>

#include "tests/afx/archive_classes.h"

namespace
{

std::vector<LONG> values(const CObList& list)
{
    std::vector<LONG> out;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        out.push_back(static_cast<CTestNode*>(list.GetNext(pos))->m_value);
    return out;
}

std::vector<LONG> valuesBackwards(const CObList& list)
{
    std::vector<LONG> out;
    for (POSITION pos = list.GetTailPosition(); pos;)
        out.push_back(static_cast<CTestNode*>(list.GetPrev(pos))->m_value);
    return out;
}

} // namespace

TEST(ObListTest, PositionsStayValidWhileOthersChange)
{
    std::vector<CTestNode> n;
    n.reserve(30);
    for (LONG i = 0; i < 30; ++i)
        n.emplace_back(i);
    CObList list(3); // small blocks: many allocations
    const POSITION p1 = list.AddTail(&n[1]);
    const POSITION p2 = list.AddTail(&n[2]);
    const POSITION p3 = list.AddTail(&n[3]);
    for (int i = 10; i < 30; ++i)
        list.AddTail(&n[static_cast<std::size_t>(i)]);
    for (int i = 10; i < 30; ++i)
        list.RemoveAt(list.Find(&n[static_cast<std::size_t>(i)]));
    list.InsertBefore(p1, &n[0]);
    list.InsertAfter(p2, &n[5]);
    list.InsertAfter(p3, &n[6]);
    list.RemoveAt(p2);
    EXPECT_EQ(list.GetAt(p1), &n[1]);
    EXPECT_EQ(list.GetAt(p3), &n[3]);
    EXPECT_EQ(values(list), (std::vector<LONG>{0, 1, 5, 3, 6}));
    EXPECT_EQ(valuesBackwards(list), (std::vector<LONG>{6, 3, 5, 1, 0}));
    EXPECT_EQ(list.GetCount(), 5);
    EXPECT_EQ(list.GetHead(), &n[0]);
    EXPECT_EQ(list.GetTail(), &n[6]);
    EXPECT_EQ(list.FindIndex(2), list.Find(&n[5]));
    EXPECT_EQ(list.FindIndex(5), nullptr);
    EXPECT_EQ(list.Find(&n[1], p1), nullptr); // search starts after p1
    list.SetAt(p3, &n[7]);

    // Appending a list to itself doubles it once.
    list.AddTail(&list);
    EXPECT_EQ(values(list), (std::vector<LONG>{0, 1, 5, 7, 6, 0, 1, 5, 7, 6}));
    list.AddHead(&list);
    EXPECT_EQ(list.GetCount(), 20);
    EXPECT_EQ(values(list).front(), 0);

    while (!list.IsEmpty())
        list.RemoveHead();
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    EXPECT_EQ(list.GetTailPosition(), nullptr);
    list.AddHead(&n[9]);
    EXPECT_EQ(list.RemoveTail(), &n[9]);
    EXPECT_TRUE(list.IsEmpty());
}

TEST(StringArrayTest, EditingAndGrowth)
{
    CStringArray a;
    EXPECT_EQ(a.Add("b"), 0);
    EXPECT_EQ(a.Add(CString("d")), 1);
    a.InsertAt(0, "a");
    a.InsertAt(2, "c", 2);
    EXPECT_EQ(a.GetSize(), 5);
    a.RemoveAt(3);
    a.SetAtGrow(6, "g");
    ASSERT_EQ(a.GetSize(), 7);
    const char* expected[] = {"a", "b", "c", "d", "", "", "g"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(a[i], expected[i]) << i;
    CStringArray b;
    b.Add("x");
    EXPECT_EQ(b.Append(a), 1);
    EXPECT_EQ(b.GetSize(), 8);
    b.InsertAt(0, &b);
    EXPECT_EQ(b.GetSize(), 16);
    b.RemoveAt(2, 100);
    EXPECT_EQ(b.GetSize(), 2);
    EXPECT_EQ(b.GetUpperBound(), 1);
}
