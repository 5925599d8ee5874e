#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "geometry/bexlar.h"
#include "tests/afx/archive_files.h"

namespace {

using afxtest::TempFile;

std::string Slurp(const TempFile& f)
{
    const afxtest::Bytes b = f.read();
    return std::string(b.begin(), b.end());
}

std::string Rest(CFile& file)
{
    std::string s(static_cast<std::size_t>(file.GetLength() - file.GetPosition()), '\0');
    if (!s.empty())
        file.Read(s.data(), static_cast<UINT>(s.size()));
    return s;
}

std::string WithEnds(std::string text, const std::string& eol)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += eol;
        else
            out += c;
    }
    return out;
}

// Imports the text into g with the keys *GRAPH, *END and the comment mark !.
struct Import {
    TempFile tmp;
    CFile file;
    ASCII_SETTING set;

    explicit Import(const std::string& text, const char* start = "*graph")
    {
        tmp.write(afxtest::text(text));
        file.Open(tmp.path(), CFile::modeRead);
        set.m_Keys.Add(start);
        set.m_Keys.Add("*end");
        set.m_Keys.Add("!");
        set.m_pFile = &file;
    }
    int Run(CGraph& g, std::vector<int> options = {1, 2}, std::vector<double> values = {})
    {
        return g.ASCIIReadGraph(set, options.data(), static_cast<int>(options.size()),
                                values.empty() ? nullptr : values.data(),
                                static_cast<int>(values.size()), nullptr);
    }
};

std::string Export(CGraph& g, std::vector<int> options, std::vector<double> values = {},
                   std::vector<const char*> keys = {}, const std::string& before = "")
{
    TempFile tmp;
    tmp.write(afxtest::text(before));
    {
        CFile f(tmp.path(), CFile::modeReadWrite);
        CStringArray k;
        for (const char* key : keys)
            k.Add(key);
        g.ASCIIExportGraph(f, k, options.data(), static_cast<int>(options.size()),
                           values.empty() ? nullptr : values.data(),
                           static_cast<int>(values.size()));
    }
    return Slurp(tmp);
}

} // namespace

TEST(GraphTextImport, EdgesMergeAndScale)
{
    for (bool merge : {true, false}) {
        Import in("*GRAPH\n0 0 1 0\n1 0 2 0\n*END\n");
        in.set.m_bMerge = merge;
        CGraph g;
        EXPECT_EQ(in.Run(g), merge ? 3 : 4);
        EXPECT_EQ(g.CountEdges(true), 2);
    }
    Import in("*GRAPH\n1 1 2 2\n*END\n");
    CGraph g;
    ASSERT_EQ(in.Run(g, {1, 2}, {2, 2, 1, 1, 0, 0}), 2);
    EXPECT_EQ(g.GetNode(0)->x, 4.0);
    EXPECT_EQ(g.GetNode(0)->y, 2.0);
    EXPECT_EQ(g.GetNode(1)->x, 6.0);
    EXPECT_EQ(g.GetNode(1)->y, 4.0);
    // Sizes come from the final coordinates.
    EXPECT_DOUBLE_EQ(g.GetNode(0)->GetSNodSpace(), std::sqrt(8.0));
}

TEST(GraphTextImport, ScaledNodesMergeWithNodesHeldBefore)
{
    CGraph g;
    CSNode* old = g.NewNode(2.0, 0.0, 0.0);
    Import in("*GRAPH\n1 0 3 0\n*END\n");
    EXPECT_EQ(in.Run(g, {1, 2}, {2, 1, 1}), 2);
    EXPECT_EQ(g.GetHeadNode(), old);
    EXPECT_EQ(old->x, 2.0); // not scaled again
    EXPECT_EQ(g.GetNode(1)->x, 6.0);
    EXPECT_NE(CGraph::GetComEdge(old, g.GetNode(1)), nullptr);
}

TEST(GraphTextImport, IdentifierLayoutKeepsTheCounterAboveIdentifiersRead)
{
    const DWORD saved = CSNode::lIDnode;
    CSNode::lIDnode = 10;
    {
        Import in("*GRAPH\n17 1 2 3\n*END\n");
        CGraph g;
        ASSERT_EQ(in.Run(g, {1, 4}), 1);
        CSNode* n = g.GetHeadNode();
        EXPECT_EQ(n->GetID(), 17u);
        EXPECT_EQ(n->x, 1.0);
        EXPECT_EQ(n->y, 2.0);
        EXPECT_EQ(n->z, 3.0);
        EXPECT_EQ(CSNode::lIDnode, 18u);
    }
    CSNode::lIDnode = 500;
    {
        Import in("*GRAPH\n17 1 2 3\n0 4 5 6\n200000000 7 8 9\n100000000 1 1 1\n*END\n");
        CGraph g;
        ASSERT_EQ(in.Run(g, {1, 4}), 4);
        EXPECT_EQ(g.GetNode(0)->GetID(), 17u);
        // Identifiers outside the node range are refused, and so is its last
        // one, past which the counter would leave the range.
        EXPECT_EQ(g.GetNode(1)->GetID(), 500u);
        EXPECT_EQ(g.GetNode(2)->GetID(), 501u);
        EXPECT_EQ(g.GetNode(2)->x, 7.0);
        EXPECT_EQ(g.GetNode(3)->GetID(), 502u);
        EXPECT_EQ(CSNode::lIDnode, 503u);
    }
    CSNode::lIDnode = saved;
}

TEST(GraphTextImport, CommentsEndKeyAndFilePositionWithEitherLineEnd)
{
    for (const char* eol : {"\n", "\r\n"}) {
        const std::string text =
            WithEnds("head\n*graph\n! only a comment\n0 0 1 0 ! 5 5 5 5\n*END of block\nNEXT\n", eol);
        {
            Import in(text);
            CGraph g;
            EXPECT_EQ(in.Run(g), 2) << eol;
            EXPECT_EQ(Rest(in.file), WithEnds("NEXT\n", eol));
        }
        {
            Import in(text);
            CGraph g;
            EXPECT_EQ(in.Run(g, {0, 2}), 2);
            EXPECT_EQ(Rest(in.file), WithEnds("! only a comment\n0 0 1 0 ! 5 5 5 5\n*END of block\nNEXT\n", eol));
        }
    }
}

TEST(GraphTextImport, MissingStartKeyAndDataLikeTheStartKey)
{
    Import in("0 0 1 0\n");
    in.file.Seek(2, CFile::begin);
    CGraph g;
    EXPECT_EQ(in.Run(g), 0);
    EXPECT_TRUE(g.IsEmpty());
    EXPECT_EQ(in.file.GetPosition(), 2u);

    // A data line that starts like the start key is data.
    Import minus("-graph\n-1 0 1 0\n-end\n", "-graph");
    minus.set.m_Keys[1] = "-end";
    CGraph h;
    EXPECT_EQ(minus.Run(h), 2);
    EXPECT_EQ(h.GetHeadNode()->x, -1.0);

    // A nested block is passed over.
    Import nested("*GRAPH\n0 0 1 0\n*GRAPH inner\n5 5 6 6\n*END\n2 0 3 0\n*END\n");
    CGraph k;
    EXPECT_EQ(nested.Run(k), 4);
}

TEST(GraphTextExport, LayoutsAreByteExact)
{
    CGraph g;
    CSNode* a = g.NewNode(0, 0, 0);
    CSNode* b = g.NewNode(1, 0, 0);
    g.ConnectNodes(a, b);
    const std::string z = "     0.0000e+00", one = "     1.0000e+00";
    EXPECT_EQ(Export(g, {1, 2}), z + "   " + z + one + "   " + z + "\r\n");
    EXPECT_EQ(Export(g, {1, 1}), z + one + "\r\n");
    EXPECT_EQ(Export(g, {1, 4}),
              AfxFormat("%9u   %15.8g   %15.8g   %15.8g\r\n", unsigned(a->GetID()), 0.0, 0.0, 0.0) +
                  AfxFormat("%9u   %15.8g   %15.8g   %15.8g\r\n", unsigned(b->GetID()), 1.0, 0.0,
                            0.0));
    // Scale 2 and offset 1 on x.
    EXPECT_EQ(Export(g, {1, 1}, {2, 1, 1, 1, 0, 0}), one + "     3.0000e+00\r\n");
    const std::string name = static_cast<LPCTSTR>(g.GetName());
    EXPECT_EQ(Export(g, {0, 7}, {}, {"HEAD", "TAIL\r\n", "NAME"}, "X"),
              "XHEAD\r\nNAME " + name + "\r\n" + z + "   " + z + "   " + z + "\r\n" + one + "   " +
                  z + "   " + z + "\r\nTAIL\r\n");
}

TEST(GraphTextExport, RoundTripInSpace)
{
    CGraph g;
    g.ConnectNodes(g.NewNode(1.5, -2.25, 3.0), g.NewNode(-0.125, 4.0, 0.5));
    CStringArray keys;
    keys.Add("*GRAPH");
    keys.Add("*END");
    const std::string text = Export(g, {1, 3}, {}, {"*GRAPH", "*END"});
    Import in(text);
    CGraph h;
    ASSERT_EQ(in.Run(h, {1, 3}), 2);
    EXPECT_EQ(h.GetNode(0)->y, -2.25);
    EXPECT_EQ(h.GetNode(1)->x, -0.125);
    EXPECT_EQ(h.GetNode(1)->z, 0.5);
    EXPECT_EQ(h.CountEdges(true), 1);
}

TEST(GraphDXF, OneLinePerEdgeInsideTheGraph)
{
    CGraph g;
    g.SetName("PLATE");
    CSNode* a = g.NewNode(0, 0, 0);
    CSNode* b = g.NewNode(1, 2, 0);
    g.ConnectNodes(a, b);
    CSNode outside(5, 5, 0, nullptr, 0);
    CEdge leading(a, &outside);
    TempFile tmp;
    {
        CFile f(tmp.path(), CFile::modeCreate | CFile::modeWrite);
        g.DrawDXF(&f);
    }
    EXPECT_EQ(Slurp(tmp), "0\r\nLINE\r\n8\r\nPLATE\r\n10\r\n0.000000\r\n20\r\n0.000000\r\n30\r\n"
                          "0.000000\r\n11\r\n1.000000\r\n21\r\n2.000000\r\n31\r\n0.000000\r\n");
}

TEST(GraphTextImport, MergedNodeSharedWithAnotherGraphIsSwitchedThere)
{
    CGraph g, other;
    CSNode* keep = g.NewNode(0.0, 0.0, 0.0);
    CSNode* twin = g.NewNode(0.0, 0.0, 0.0);
    other.NewNode(twin);
    CSNode* far = other.NewNode(1.0, 1.0, 0.0);
    other.ConnectNodes(twin, far);
    Import in("*GRAPH\n5 5 6 6\n*END\n");
    EXPECT_EQ(in.Run(g), 3);
    ASSERT_EQ(other.GetCount(), 2);
    EXPECT_EQ(other.GetHeadNode(), keep);
    EXPECT_NE(CGraph::GetComEdge(keep, far), nullptr);
}
