// frame_clock.h: the frame loop's game time: each frame's time capped at
// 50 ms, and their running sum that times the unattended screenshot.
#pragma once

struct FrameClock {
    // A frame longer than this advances the game by this much only.
    static constexpr float kMaxFrameTime = 0.05f;
    // The timed screenshot is due once the sum passes this (strictly).
    static constexpr float kScreenshotAfter = 2.0f;

    float summed = 0.0f;

    // The capped time of one frame, added to the sum.
    float Advance(float frameTime) {
        const float dt = frameTime > kMaxFrameTime ? kMaxFrameTime : frameTime;
        summed += dt;
        return dt;
    }

    bool ScreenshotDue() const { return summed > kScreenshotAfter; }
};
