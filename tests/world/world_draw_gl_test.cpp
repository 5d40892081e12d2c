// world_draw_gl_test.cpp: the baked ground, trees, cabinets and items drawn
// into a render texture and read back: where they land, what colours they
// take, and that removed objects and the bake margin never show.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include "support/gl_fixture.h"
#include "support/image_guards.h"
#include "world/world.h"

namespace {

constexpr uint32_t kSeed = 20261113u;
constexpr Color kBackground{200, 60, 200, 255};

bool SameRgb(Color a, Color b, int tolerance = 0) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

// Pixels of the colour inside a square of half side r around (x, y).
int CountRgb(const Image& image, int x, int y, int r, Color colour, int tolerance = 1) {
    int n = 0;
    for (int py = y - r; py <= y + r; ++py) {
        for (int px = x - r; px <= x + r; ++px) {
            if (px < 0 || py < 0 || px >= image.width || py >= image.height) continue;
            if (SameRgb(testgl::PixelAt(image, px, py), colour, tolerance)) ++n;
        }
    }
    return n;
}

Chunk& AddChunk(World& world, int cx, int cz) {
    Chunk chunk{};
    chunk.cx = cx;
    chunk.cz = cz;
    chunk.built = true;
    return world.chunks[World::Key(cx, cz)] = chunk;
}

// A 264-pixel chunk picture: a loud margin around an inner gradient, so any
// margin pixel on screen or any misplaced inner pixel is caught.
Image ChunkPicture() {
    Image image = GenImageColor(264, 264, Color{255, 0, 255, 255});
    for (int y = 36; y < 228; ++y) {
        for (int x = 36; x < 228; ++x) {
            const Color c{static_cast<unsigned char>(x - 36), static_cast<unsigned char>(y - 36),
                          static_cast<unsigned char>((x + y) % 7 * 30), 255};
            ImageDrawPixel(&image, x, y, c);
        }
    }
    return image;
}

TEST(WorldDrawGl, GroundAtScaleThreeIsTheBakedPictureWithoutItsMargin) {
    World world(kSeed);
    Image picture = ChunkPicture();
    const testsupport::ImageGuard pictureGuard(picture);
    for (const int cx : {0, -1}) {
        Chunk& chunk = AddChunk(world, cx, 0);
        chunk.mapTexture = LoadTextureFromImage(picture);
        ASSERT_NE(chunk.mapTexture.id, 0u);
        SetTextureFilter(chunk.mapTexture, TEXTURE_FILTER_BILINEAR);
    }
    AddChunk(world, 1, 0);  // no texture: its square stays uncovered

    // Centre (32, 32) puts chunk (0, 0) at screen (704, 354) to (896, 546).
    Image image = testgl::Render(kBackground, [&] { world.Draw2D(Vector2{32.0f, 32.0f}, 3.0f, WHITE); });
    testgl::SavePng(image, "world_ground");

    int mismatches = 0;
    for (int y = 0; y < 192; ++y) {
        for (int x = 0; x < 192; ++x) {
            const Color expected = GetImageColor(picture, x + 36, y + 36);
            if (!SameRgb(testgl::PixelAt(image, 704 + x, 354 + y), expected)) ++mismatches;
            // The western neighbour shows the same picture one chunk over.
            if (!SameRgb(testgl::PixelAt(image, 512 + x, 354 + y), expected)) ++mismatches;
        }
    }
    EXPECT_EQ(mismatches, 0);
    // Around the chunk, the background: no margin pixel anywhere, and the
    // untextured chunk (1, 0) leaves its square uncovered.
    for (int i = 0; i < 192; i += 7) {
        EXPECT_TRUE(SameRgb(testgl::PixelAt(image, 704 + i, 353), kBackground)) << i;
        EXPECT_TRUE(SameRgb(testgl::PixelAt(image, 704 + i, 546), kBackground)) << i;
        EXPECT_TRUE(SameRgb(testgl::PixelAt(image, 896 + i, 354 + i), kBackground)) << i;
        EXPECT_TRUE(SameRgb(testgl::PixelAt(image, 511, 354 + i), kBackground)) << i;
    }
    EXPECT_EQ(CountRgb(image, 800, 450, 450, Color{255, 0, 255, 255}, 40), 0);

    // The tint multiplies the picture.
    Image tinted = testgl::Render(kBackground, [&] {
        world.Draw2D(Vector2{32.0f, 32.0f}, 3.0f, Color{128, 128, 128, 255});
    });
    const Color inner = GetImageColor(picture, 36 + 150, 36 + 100);
    const Color seen = testgl::PixelAt(tinted, 704 + 150, 354 + 100);
    EXPECT_NEAR(seen.r, inner.r * 128 / 255, 2);
    EXPECT_NEAR(seen.g, inner.g * 128 / 255, 2);
    UnloadImage(tinted);
    UnloadImage(image);
}

class WorldDrawObjectsGl : public ::testing::Test {
protected:
    World world{kSeed};
    // Centre (10, 10) at scale 10: world (10, 10) is screen (800, 450).
    Vector2 centre{10.0f, 10.0f};
};

TEST_F(WorldDrawObjectsGl, ConiferAndBareTreeStandWhereTheyAre) {
    Chunk& chunk = AddChunk(world, 0, 0);
    chunk.trees.push_back(WorldTree{0x54520000000001ull, Vector3{10, 30, 10}, 1.0f, true});
    chunk.trees.push_back(WorldTree{0x54520000000002ull, Vector3{30, -20, 10}, 1.0f, false});

    Image image = testgl::Render(kBackground, [&] { world.DrawTrees2D(centre, 10.0f, WHITE); });
    testgl::SavePng(image, "world_trees");

    // Conifer at (800, 450), h = 26: its lowest tier's body between the snow
    // cap and the base, left and right of the axis, and its trunk below.
    const Color body{44, 74, 58, 255};
    EXPECT_TRUE(SameRgb(testgl::PixelAt(image, 800, 442), body));
    EXPECT_TRUE(SameRgb(testgl::PixelAt(image, 786, 446), body));
    EXPECT_TRUE(SameRgb(testgl::PixelAt(image, 814, 446), body));
    EXPECT_GT(CountRgb(image, 800, 430, 30, body), 300);
    EXPECT_TRUE(SameRgb(testgl::PixelAt(image, 800, 451), Color{72, 54, 38, 255}));
    // Snow near the top, outline tint at the edges, shadow to the lower right.
    const Color top = testgl::PixelAt(image, 800, 397);
    EXPECT_GT(top.r, 200);
    EXPECT_GT(top.b, 210);
    const Color shade = testgl::PixelAt(image, 812, 458);
    EXPECT_TRUE(SameRgb(shade, Color{170, 51, 170, 255}, 2));
    EXPECT_EQ(CountRgb(image, 800, 490, 30, body), 0);

    // Bare tree at (1000, 450): trunk, four branches and nothing of a conifer.
    EXPECT_GT(CountRgb(image, 1000, 450, 5, Color{86, 66, 46, 255}), 8);
    EXPECT_GT(CountRgb(image, 1000, 450, 26, Color{116, 92, 68, 255}, 2), 40);
    EXPECT_EQ(CountRgb(image, 1000, 450, 30, body), 0);
    EXPECT_EQ(CountRgb(image, 800, 450, 40, Color{116, 92, 68, 255}, 2), 0);
    UnloadImage(image);
}

TEST_F(WorldDrawObjectsGl, TreesIgnoreHeightAndVanishWhenFelled) {
    Chunk& chunk = AddChunk(world, 0, 0);
    chunk.trees.push_back(WorldTree{7, Vector3{10, 60, 10}, 1.2f, true});
    Image high = testgl::Render(kBackground, [&] { world.DrawTrees2D(centre, 10.0f, WHITE); });
    world.chunks[World::Key(0, 0)].trees[0].position.y = -40.0f;
    Image low = testgl::Render(kBackground, [&] { world.DrawTrees2D(centre, 10.0f, WHITE); });
    int different = 0;
    for (int y = 380; y < 480; ++y) {
        for (int x = 750; x < 850; ++x) {
            if (!SameRgb(testgl::PixelAt(high, x, y), testgl::PixelAt(low, x, y))) ++different;
        }
    }
    EXPECT_EQ(different, 0);

    world.ChopTree(7);
    Image felled = testgl::Render(kBackground, [&] { world.DrawTrees2D(centre, 10.0f, WHITE); });
    EXPECT_EQ(CountRgb(felled, 800, 430, 60, kBackground, 0), 121 * 121);
    UnloadImage(high);
    UnloadImage(low);
    UnloadImage(felled);
}

TEST_F(WorldDrawObjectsGl, BlackTintDarkensTreesButNotTheirSnow) {
    Chunk& chunk = AddChunk(world, 0, 0);
    chunk.trees.push_back(WorldTree{7, Vector3{10, 0, 10}, 1.0f, true});
    Image image = testgl::Render(kBackground, [&] { world.DrawTrees2D(centre, 10.0f, BLACK); });
    testgl::SavePng(image, "world_trees_black");
    EXPECT_EQ(CountRgb(image, 800, 430, 30, Color{44, 74, 58, 255}), 0);
    EXPECT_TRUE(SameRgb(testgl::PixelAt(image, 800, 442), BLACK));
    const Color top = testgl::PixelAt(image, 800, 397);
    EXPECT_GT(top.r, 180);
    UnloadImage(image);
}

TEST_F(WorldDrawObjectsGl, TreeSizeIsClampedInPixels) {
    Chunk& chunk = AddChunk(world, 0, 0);
    chunk.trees.push_back(WorldTree{7, Vector3{10, 0, 10}, 1.0f, true});
    // Scale 1 would give 2.6 pixels: drawn at the minimum 5 (about 11 high).
    Image small = testgl::Render(kBackground, [&] { world.DrawTrees2D(centre, 1.0f, WHITE); });
    int lit = 0;
    for (int y = 430; y < 460; ++y) {
        for (int x = 780; x < 820; ++x) {
            if (!SameRgb(testgl::PixelAt(small, x, y), kBackground, 3)) ++lit;
        }
    }
    EXPECT_GT(lit, 15);
    EXPECT_TRUE(SameRgb(testgl::PixelAt(small, 800, 438), kBackground, 3));  // above 5 * 2.15
    // Scale 20 would give 52: capped at 26, the same picture as at scale 10.
    Image large = testgl::Render(kBackground, [&] { world.DrawTrees2D(centre, 20.0f, WHITE); });
    Image capped = testgl::Render(kBackground, [&] { world.DrawTrees2D(centre, 10.0f, WHITE); });
    int different = 0;
    for (int y = 380; y < 480; ++y) {
        for (int x = 750; x < 850; ++x) {
            if (!SameRgb(testgl::PixelAt(large, x, y), testgl::PixelAt(capped, x, y))) ++different;
        }
    }
    EXPECT_EQ(different, 0);
    UnloadImage(small);
    UnloadImage(large);
    UnloadImage(capped);
}

TEST_F(WorldDrawObjectsGl, CabinetsAndItemsShowUntilTakenOrSearched) {
    Chunk& chunk = AddChunk(world, 0, 0);
    chunk.cabinets.push_back(WorldCabinet{41, Vector3{10, 1, 10}});
    chunk.items.push_back(WorldItem{42, Vector3{20, 0.3f, 10}, ItemType::Water});
    chunk.items.push_back(WorldItem{43, Vector3{10, 0.3f, 20}, ItemType::None});

    Image image = testgl::Render(kBackground, [&] { world.DrawItems2D(centre, 10.0f); });
    testgl::SavePng(image, "world_items");
    // Cabinet: an 11-pixel square with a dark one-pixel outline.
    const Color wood{92, 66, 42, 255};
    EXPECT_TRUE(SameRgb(testgl::PixelAt(image, 800, 450), wood));
    EXPECT_TRUE(SameRgb(testgl::PixelAt(image, 796, 454), wood));
    EXPECT_TRUE(SameRgb(testgl::PixelAt(image, 800, 445), Color{34, 26, 18, 255}));
    EXPECT_TRUE(SameRgb(testgl::PixelAt(image, 800, 443), kBackground));
    // Water item at (900, 450): radius 4.5 inside a dark rim of 6.
    EXPECT_TRUE(SameRgb(testgl::PixelAt(image, 900, 450), Color{86, 142, 190, 255}));
    const Color rim = testgl::PixelAt(image, 905, 450);
    EXPECT_LT(rim.r, 60);
    EXPECT_LT(rim.g, 40);
    EXPECT_TRUE(SameRgb(testgl::PixelAt(image, 908, 450), kBackground));
    // An item of no known type shows only its rim.
    EXPECT_TRUE(SameRgb(testgl::PixelAt(image, 800, 550), testgl::PixelAt(image, 805, 550), 1));
    EXPECT_LT(testgl::PixelAt(image, 800, 550).r, 60);

    world.SearchCabinet(41);
    EXPECT_EQ(world.PickupItem(42), ItemType::Water);
    Image after = testgl::Render(kBackground, [&] { world.DrawItems2D(centre, 10.0f); });
    testgl::SavePng(after, "world_items_taken");
    EXPECT_EQ(CountRgb(after, 850, 450, 60, kBackground, 0), 121 * 121);
    EXPECT_LT(testgl::PixelAt(after, 800, 550).r, 60);  // the untaken one stays
    UnloadImage(image);
    UnloadImage(after);
}

}  // namespace
