// game_debug_test.cpp: the debug starts' parsing that must not depend on the
// build: KIRN_AUTOSTART's seed is the same on Linux and on Windows.
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

}  // namespace
