#include <gtest/gtest.h>

#include "app/analysis/analysis.h"

TEST(PlateComp, Defaults)
{
    CPlateComp comp;
    EXPECT_EQ(comp.m_iElemType, 81);
}
