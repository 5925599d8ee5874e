// Result-point pick names: a node identifier and the element's index in the
// node's graph list packed into one 32-bit name, and unpacked again.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "femodel/element.h"

namespace
{

TEST(ResultPickName, RoundTripsAndFitsThirtyTwoBits)
{
    const struct {
        unsigned long node;
        int index;
        unsigned long name;
    } cases[] = {
        {17, 0, 17},
        {99999999, 0, 99999999},
        {1, 1, 100000001},
        {17, 3, 300000017},
        {99999999, 41, 4199999999ul},
    };
    for (const auto& c : cases) {
        unsigned long name = 0;
        ASSERT_TRUE(resultpick::Encode(c.node, c.index, name)) << c.node << " " << c.index;
        EXPECT_EQ(name, c.name);
        EXPECT_LE(name, std::numeric_limits<std::uint32_t>::max());
        unsigned long node = 0;
        int index = -1;
        resultpick::Decode(name, node, index);
        EXPECT_EQ(node, c.node);
        EXPECT_EQ(index, c.index);
    }
}

TEST(ResultPickName, RefusesNamesThatWouldOverflowOrCollide)
{
    // Index 42 overflows 32 bits; a node number of 100000000 or more would
    // read back as another node of the next element.
    const std::pair<unsigned long, int> refused[] = {
        {1, 42}, {17, -1}, {100000000, 0}, {150000000, 1}};
    for (const auto& [node, index] : refused) {
        unsigned long name = 7;
        EXPECT_FALSE(resultpick::Encode(node, index, name)) << node << " " << index;
        EXPECT_EQ(name, 7u);
    }
}

} // namespace
