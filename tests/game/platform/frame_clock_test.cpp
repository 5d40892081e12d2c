// frame_clock_test.cpp: the frame loop's capped frame time and the timing of
// the unattended screenshot.
#include <gtest/gtest.h>

#include <cmath>

#include "game/platform/frame_clock.h"

namespace {

TEST(FrameClock, CapsLongFramesAtFiftyMilliseconds) {
    FrameClock clock;
    EXPECT_EQ(clock.Advance(0.2f), 0.05f);
    EXPECT_EQ(clock.Advance(0.05f), 0.05f);
    EXPECT_EQ(clock.Advance(0.0499f), 0.0499f);
    EXPECT_EQ(clock.Advance(0.0f), 0.0f);
    // The sum holds the capped values, not the raw ones.
    EXPECT_FLOAT_EQ(clock.summed, 0.05f + 0.05f + 0.0499f);
}

TEST(FrameClock, SixtyHertzScreenshotIsDueAfterTheHundredAndTwentyFirstFrame) {
    FrameClock clock;
    int frames = 0;
    while (!clock.ScreenshotDue() && frames < 1000) {
        clock.Advance(1.0f / 60.0f);
        ++frames;
    }
    EXPECT_EQ(frames, 121);
}

TEST(FrameClock, ExactlyTwoSecondsIsNotYetDue) {
    FrameClock clock;
    clock.summed = 2.0f;
    EXPECT_FALSE(clock.ScreenshotDue());
    clock.summed = std::nextafter(2.0f, 3.0f);
    EXPECT_TRUE(clock.ScreenshotDue());
}

}  // namespace
