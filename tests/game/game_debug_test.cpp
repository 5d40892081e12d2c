// game_debug_test.cpp: the debug starts' parsing that must not depend on the
// build: KIRN_AUTOSTART's seed is the same on Linux and on Windows, and
// KIRN_CAMERA's place is one a save could hold.
#include <gtest/gtest.h>

#include "game/game.h"

namespace {

// Read as a 64-bit number and cut to its low 32 bits on every build; 0 and
// text that is no number start the fixed debug seed.
TEST(DebugStartSeed, AutostartReadsSixtyFourBitsThenKeepsTheLowThirtyTwo) {
    struct Case {
        const char* value;
        uint32_t seed;
    };
    const Case cases[] = {
        {"42", 42u},
        {"0", 20261113u},
        {"abc", 20261113u},
        {"", 20261113u},
        {"4294967295", 4294967295u},
        {"4294967296", 20261113u},
        {"4294967338", 42u},
        {"18446744073709551615", 4294967295u},
        {"99999999999999999999999", 4294967295u},
        {"-1", 4294967295u},
        {" 77x", 77u},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AutostartSeed(c.value), c.seed) << '"' << c.value << '"';
    }
}

// KIRN_CAMERA's place counts as 0 where no save could hold it: not finite,
// or at or beyond the save's position limit (1e7); the view angles are only
// held finite. Anything but five numbers starts no camera placement.
TEST(DebugStartCamera, PlacesBeyondTheSaveLimitCountAsZero) {
    struct Case {
        const char* value;
        bool parsed;
        float x, z, yaw, pitch;
    };
    const Case cases[] = {
        {"12.5,0,-40,3.14159,-0.05", true, 12.5f, -40.0f, 3.14159f, -0.05f},
        {"1e30,0,1e30,0,0", true, 0.0f, 0.0f, 0.0f, 0.0f},
        {"-3.4e38,7,3.4e38,1e30,-1e30", true, 0.0f, 0.0f, 1e30f, -1e30f},
        {"9999999,0,-9999999,1,2", true, 9999999.0f, -9999999.0f, 1.0f, 2.0f},
        {"10000000,0,-10000000,1,2", true, 0.0f, 0.0f, 1.0f, 2.0f},
        {"-10000001,0,10000001,1,2", true, 0.0f, 0.0f, 1.0f, 2.0f},
        {"9999999,0,10000001,1,2", true, 9999999.0f, 0.0f, 1.0f, 2.0f},
        {"1e999,1e999,-9999999,-1e999,nan", true, 0.0f, -9999999.0f, 0.0f, 0.0f},
        {"nan,0,inf,nan,-inf", true, 0.0f, 0.0f, 0.0f, 0.0f},
        {"1,2,3,4", false, 0.0f, 0.0f, 0.0f, 0.0f},
        {"", false, 0.0f, 0.0f, 0.0f, 0.0f},
        {"a,b,c,d,e", false, 0.0f, 0.0f, 0.0f, 0.0f},
    };
    for (const Case& c : cases) {
        CameraStart start{-1.0f, -1.0f, -1.0f, -1.0f};
        ASSERT_EQ(ParseCameraStart(c.value, start), c.parsed) << '"' << c.value << '"';
        if (!c.parsed) continue;
        EXPECT_EQ(start.x, c.x) << '"' << c.value << '"';
        EXPECT_EQ(start.z, c.z) << '"' << c.value << '"';
        EXPECT_EQ(start.yaw, c.yaw) << '"' << c.value << '"';
        EXPECT_EQ(start.pitch, c.pitch) << '"' << c.value << '"';
    }
}

}  // namespace
