// Text forms of the DOF graph: the script pattern and the dense picture.
#include <string>

#include <gtest/gtest.h>

#include "tests/support/temp_files.h"
#include "tests/zelkor/reorder_graphs.h"

using namespace reordertest;

namespace {

// A graph whose labels the test sets one by one.
class LabelledGraph : public CReorderMat {
public:
    LabelledGraph() : CReorderMat(0) {}
    void SetLabel(int v, LONG label) { m_pLabels[v] = label; }
};

using zelkortest::WrittenText;

} // namespace

TEST(ReorderOutput, ScriptPatternOfARenumberedGraph)
{
    CReorderMat g(0);
    Build(g, 3, Path(3));
    g.Move(0, 2);
    const std::string text = WrittenText([&](CFile* f) { g.MatlabWrite(f, "m"); });
    EXPECT_EQ(text, "m = sparse(3,3);\r\n"
                    "m(3,2) = 2;\r\nm(3,3) = 1;\r\n"
                    "m(2,3) = 1;\r\nm(2,1) = 3;\r\nm(2,2) = 2;\r\n"
                    "m(1,2) = 2;\r\nm(1,1) = 3;\r\n");

    CReorderMat empty(0);
    EXPECT_EQ(WrittenText([&](CFile* f) { empty.MatlabWrite(f, "before"); }),
              "before = sparse(0,0);\r\n");
}

TEST(ReorderOutput, DensePicture)
{
    CReorderMat g(0);
    Build(g, 3, Path(3));
    EXPECT_EQ(WrittenText([&](CFile* f) { g.WritePlotASCII(f); }),
              "      1      2   0\r\n"
              "      1      2      3\r\n"
              "   0      2      3\r\n");

    // Label 1 has no vertex and gives no row; label 2 shows its first vertex.
    LabelledGraph l;
    Build(l, 3, Path(3));
    l.SetLabel(1, 2);
    l.SetLabel(2, 2);
    EXPECT_EQ(WrittenText([&](CFile* f) { l.WritePlotASCII(f); }),
              "      1   0      2\r\n"
              "      1   0      3\r\n");
}
