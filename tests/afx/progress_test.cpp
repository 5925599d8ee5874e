// Progress points: the pump runs only while busy, at most once per interval,
// never recursively, and busy scopes nest.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/afx/progress.h"

namespace
{

int g_pumps = 0;
bool g_reenter = false;

void CountingPump()
{
    ++g_pumps;
    if (g_reenter) {
        // A progress point reached from inside the pump does not pump again.
        std::this_thread::sleep_for(std::chrono::milliseconds(afx::kProgressPumpIntervalMs + 20));
        afx::ProgressPoint();
    }
}

class ProgressTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_pumps = 0;
        g_reenter = false;
        m_previous = afx::SetProgressPump(&CountingPump);
    }
    void TearDown() override
    {
        while (afx::IsProgressBusy())
            afx::EndProgressBusy();
        afx::SetProgressPump(m_previous);
    }
    static void WaitPastInterval()
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(afx::kProgressPumpIntervalMs + 20));
    }
    afx::ProgressPump m_previous = nullptr;
};

TEST_F(ProgressTest, PumpsOnlyWhileBusyAndOncePerInterval)
{
    WaitPastInterval();
    afx::ProgressPoint();
    EXPECT_EQ(g_pumps, 0) << "not busy";

    afx::BeginProgressBusy();
    WaitPastInterval();
    afx::ProgressPoint();
    afx::ProgressPoint();
    EXPECT_EQ(g_pumps, 1) << "the second point follows within the interval";
    WaitPastInterval();
    afx::ProgressPoint();
    EXPECT_EQ(g_pumps, 2);
    afx::EndProgressBusy();

    WaitPastInterval();
    afx::ProgressPoint();
    EXPECT_EQ(g_pumps, 2) << "busy ended";
}

TEST_F(ProgressTest, BusyNestsAndAnUnmatchedEndIsHarmless)
{
    afx::EndProgressBusy();
    EXPECT_FALSE(afx::IsProgressBusy());
    afx::BeginProgressBusy();
    afx::BeginProgressBusy();
    afx::EndProgressBusy();
    EXPECT_TRUE(afx::IsProgressBusy());
    afx::EndProgressBusy();
    EXPECT_FALSE(afx::IsProgressBusy());
}

TEST_F(ProgressTest, PumpIsNotReentered)
{
    g_reenter = true;
    afx::BeginProgressBusy();
    WaitPastInterval();
    afx::ProgressPoint();
    EXPECT_EQ(g_pumps, 1);
    afx::EndProgressBusy();
}

TEST_F(ProgressTest, NoPumpInstalledIsHarmless)
{
    afx::SetProgressPump(nullptr);
    afx::BeginProgressBusy();
    WaitPastInterval();
    afx::ProgressPoint();
    afx::EndProgressBusy();
    EXPECT_EQ(g_pumps, 0);
}

} // namespace
