// world_view_gl_test.cpp: a real world streamed around a settlement and drawn
// the way the frame draws it: ground, trees and items over the whole screen.
#include <gtest/gtest.h>

#include "support/gl_fixture.h"
#include "world/world.h"
#include "world/world_queries.h"

namespace {

constexpr Color kClear{255, 0, 255, 255};

TEST(WorldViewGl, StreamedGroundCoversTheScreenWithoutSeams) {
    World world(20261113u);
    SettlementInfo town{};
    ASSERT_TRUE(world.NearestSettlement({0.0f, 0.0f, 0.0f}, 6000.0f, town));
    const Vector3 focus = town.position;
    world.SetRenderDistance(4);
    world.Update(focus, 100000, 0.0f);
    ASSERT_EQ(world.chunks.size(), 81u);

    // Scale 3 puts 533 x 300 units on screen, well inside the 4-chunk square.
    const Vector2 centre{focus.x, focus.z};
    Image image = testgl::Render(kClear, [&] {
        world.Draw2D(centre, 3.0f, WHITE);
        world.DrawTrees2D(centre, 3.0f, WHITE);
        world.DrawItems2D(centre, 3.0f);
    });
    testgl::SavePng(image, "world_view_settlement");

    int uncovered = 0;
    int distinct = 0;
    Color previous = testgl::PixelAt(image, 0, 0);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const Color c = testgl::PixelAt(image, x, y);
            if (testgl::SameColour(c, kClear)) ++uncovered;
            if (!testgl::SameColour(c, previous)) ++distinct;
            previous = c;
        }
    }
    UnloadImage(image);
    // Every pixel belongs to some chunk's picture: no gap at chunk borders.
    EXPECT_EQ(uncovered, 0);
    // Shaded terrain and ruins, not a flat fill.
    EXPECT_GT(distinct, 10000);
}

}  // namespace
