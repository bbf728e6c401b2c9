#include "sumwise_fixture.h"

// The window comes up, and the first problem follows once Timer1 fires.
TEST_F(SumwiseTest, StartsWithAProblemAfterTimer1)
{
    ASSERT_NE(w(), nullptr);
    EXPECT_EQ(w()->windowTitle(), QStringLiteral("Sumwise"));
    EXPECT_EQ(fw::testing::runningTimerCount(), 1);
    fireTimers();
    EXPECT_FALSE(w()->A()->Text().isEmpty());
    EXPECT_TRUE(w()->MyAnswer()->isEnabled());
}
