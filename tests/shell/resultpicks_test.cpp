// The results view's picked points, the lines of its results file, its
// automatic value scale.
#include <memory>
#include <vector>

#include "app/shell/resultpicks.h"
#include "tests/shell/shell_fixture.h"

namespace
{

using namespace shelltest;

class ResultPicks : public ::testing::Test
{
protected:
    ResultPicks()
    {
        for (int i = 0; i < 3; ++i)
            nodes.push_back(std::make_unique<CSNode>(i, 0.0, 0.0, nullptr, 0));
    }
    void Pick(int node, int index)
    {
        picks.m_pPending = nodes[static_cast<size_t>(node)].get();
        picks.m_iPendingIndex = index;
        picks.Click();
    }
    // (node, index) of every pick in order.
    std::vector<std::pair<int, int>> State() const
    {
        std::vector<std::pair<int, int>> out;
        for (int i = 0; i < picks.Count(); ++i)
            for (size_t n = 0; n < nodes.size(); ++n)
                if (picks.Node(i) == nodes[n].get())
                    out.push_back({static_cast<int>(n), picks.Index(i)});
        return out;
    }
    std::vector<std::unique_ptr<CSNode>> nodes;
    CResultPicks picks;
};

using PickList = std::vector<std::pair<int, int>>;

TEST_F(ResultPicks, ClicksPickUnpickAndRepick)
{
    EXPECT_FALSE(picks.HasAny());
    Pick(0, 1);
    Pick(1, 2);
    Pick(2, 0);
    EXPECT_EQ(State(), (PickList{{0, 1}, {1, 2}, {2, 0}}));
    EXPECT_EQ(picks.m_pPending, nullptr);
    // The same point again: unpicked; another element index: updated.
    Pick(1, 2);
    EXPECT_EQ(State(), (PickList{{0, 1}, {2, 0}}));
    Pick(0, 3);
    EXPECT_EQ(State(), (PickList{{0, 3}, {2, 0}}));
    // A click without a pending node changes nothing.
    picks.Click();
    EXPECT_EQ(State(), (PickList{{0, 3}, {2, 0}}));
}

TEST_F(ResultPicks, RemovingFromTheMiddleKeepsTheOthersIndexes)
{
    Pick(0, 4);
    Pick(1, 5);
    Pick(2, 6);
    picks.m_pPending = nodes[1].get();
    picks.Remove(nodes[1].get());
    EXPECT_EQ(picks.m_pPending, nullptr);
    EXPECT_EQ(State(), (PickList{{0, 4}, {2, 6}}));
    picks.Remove(nullptr);
    EXPECT_EQ(picks.Count(), 0);
    EXPECT_EQ(picks.m_Values.GetSize(), 0);
    EXPECT_FALSE(picks.HasAny());
}

TEST_F(ResultPicks, UndoDropsThePendingNodeFirstThenTheLastPick)
{
    Pick(0, 1);
    Pick(1, 2);
    picks.m_pPending = nodes[2].get();
    picks.m_iPendingIndex = 3;
    EXPECT_TRUE(picks.HasAny());
    picks.UndoLast();
    EXPECT_EQ(picks.m_pPending, nullptr);
    EXPECT_EQ(picks.m_iPendingIndex, 0);
    EXPECT_EQ(State(), (PickList{{0, 1}, {1, 2}}));
    picks.UndoLast();
    EXPECT_EQ(State(), (PickList{{0, 1}}));
    picks.UndoLast();
    picks.UndoLast();
    EXPECT_EQ(picks.Count(), 0);
}

TEST(ResultFile, LinesHaveTheirColumnsAndFormats)
{
    const struct {
        unsigned number;
        unsigned long node;
        double value;
        int format, digits;
        const char* line;
    } cases[] = {
        {1, 17, 12.5, 1, 3, "     1      17  12.500\r\n"},
        {12, 1234567, -0.25, 0, 2, "    12  1234567  -2.50e-01\r\n"},
        {3, 4, 1234.5, 2, 3, "     3       4  1.23e+03\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(resultview::PickedResultLine(c.number, c.node, c.value, c.format, c.digits), c.line);
}

TEST(ResultFile, ANodeWithoutElementsHasNoValue)
{
    CSNode alone(0.0, 0.0, 0.0, nullptr, 0);
    double value = 7.0;
    EXPECT_FALSE(resultview::PickedNodeValue(&alone, 0, 0, value));
    EXPECT_FALSE(resultview::PickedNodeValue(nullptr, 0, 0, value));
    EXPECT_EQ(value, 7.0);
}

TEST(ResultScale, TheLargestResultIsAThirdOfTheLargerSpan)
{
    const struct {
        double max, min, current, scale;
    } cases[] = {
        {10.0, -2.0, 1.0, 30.0 / 10.0},
        {2.0, -20.0, 1.0, 30.0 / 20.0},
        {0.0, 0.0, 0.75, 0.75},
    };
    // x spans 90, y 30: L = 30.
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(resultview::NormalisedScale(100.0, 40.0, 10.0, 10.0, c.max, c.min, c.current),
                         c.scale);
}

} // namespace
