// baker_test.cpp: the top-down rasteriser and the map lighting: clear colour,
// coverage and shared edges, clipping, height tint, blending and the shading
// of faces by their winding.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ostream>
#include "world/map_builder.h"
#include "world/top_down_baker.h"

namespace {

struct Rgba {
    int r, g, b, a;
    bool operator==(const Rgba&) const = default;
};

void PrintTo(const Rgba& c, std::ostream* os)
{
    *os << "(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}

Rgba PixelOf(const TopDownBaker& baker, int k, int r)
{
    const uint32_t p = baker.pixels[static_cast<size_t>(r) * static_cast<size_t>(baker.resolution) +
                                    static_cast<size_t>(k)];
    // Memory order R, G, B, A.
    const auto* bytes = reinterpret_cast<const unsigned char*>(&p);
    return Rgba{bytes[0], bytes[1], bytes[2], bytes[3]};
}

constexpr Rgba kClear{14, 18, 26, 255};
constexpr Color kRed{255, 0, 0, 255};
constexpr Color kGreen{0, 255, 0, 255};
constexpr Color kWhite{255, 255, 255, 255};
// At or below this height the tint is exactly 0.9.
constexpr float kLow = -10.0f;

int CountClear(const TopDownBaker& baker)
{
    int count = 0;
    for (int r = 0; r < baker.resolution; r++) {
        for (int k = 0; k < baker.resolution; k++) {
            count += PixelOf(baker, k, r) == kClear ? 1 : 0;
        }
    }
    return count;
}

}  // namespace

TEST(TopDownBaker, BeginClampsResolutionAndFinishHandsOutTheClearImage)
{
    TopDownBaker baker;
    for (int resolution : {0, -5}) {
        baker.Begin(Vector2{0.0f, 0.0f}, 10.0f, resolution);
        EXPECT_EQ(baker.resolution, 1);
        EXPECT_FLOAT_EQ(baker.pixelsPerUnit, 0.1f);
        Image image = baker.Finish();
        ASSERT_NE(image.data, nullptr);
        EXPECT_EQ(image.width, 1);
        EXPECT_EQ(image.height, 1);
        EXPECT_EQ(image.mipmaps, 1);
        EXPECT_EQ(image.format, PIXELFORMAT_UNCOMPRESSED_R8G8B8A8);
        const auto* bytes = static_cast<const unsigned char*>(image.data);
        EXPECT_EQ((Rgba{bytes[0], bytes[1], bytes[2], bytes[3]}), kClear);
        UnloadImage(image);
    }
}

TEST(TopDownBaker, FinishEmptiesTheBakerAndLaterCallsDoNothing)
{
    TopDownBaker baker;
    baker.Begin(Vector2{0.0f, 0.0f}, 8.0f, 8);
    baker.blend = true;
    Image image = baker.Finish();
    EXPECT_EQ(image.width, 8);
    UnloadImage(image);
    EXPECT_EQ(baker.resolution, 0);
    EXPECT_TRUE(baker.pixels.empty());

    baker.Triangle(Vector3{0, 0, 0}, Vector3{8, 0, 0}, Vector3{0, 0, 8}, kRed, kRed, kRed);
    Image empty = baker.Finish();
    EXPECT_EQ(empty.data, nullptr);
    EXPECT_EQ(empty.width, 0);
    EXPECT_EQ(empty.height, 0);

    // A reused baker starts clean and unblended.
    baker.Begin(Vector2{0.0f, 0.0f}, 4.0f, 4);
    EXPECT_FALSE(baker.blend);
    EXPECT_EQ(CountClear(baker), 16);
}

TEST(TopDownBaker, OnlyTheInsideOfRealTrianglesIsDrawn)
{
    TopDownBaker baker;
    baker.Begin(Vector2{0.0f, 0.0f}, 10.0f, 10);
    // Three corners on one line.
    baker.Triangle(Vector3{0, 0, 0}, Vector3{5, 0, 5}, Vector3{10, 0, 10}, kRed, kRed, kRed);
    // Wholly outside, on every side, and absurdly far away.
    baker.Triangle(Vector3{20, 0, 0}, Vector3{30, 0, 0}, Vector3{20, 0, 10}, kRed, kRed, kRed);
    baker.Triangle(Vector3{-20, 0, -20}, Vector3{-11, 0, -20}, Vector3{-20, 0, -11}, kRed, kRed, kRed);
    baker.Triangle(Vector3{1e30f, 0, 1e30f}, Vector3{2e30f, 0, 1e30f}, Vector3{1e30f, 0, 2e30f}, kRed, kRed,
                   kRed);
    baker.Triangle(Vector3{NAN, 0, 0}, Vector3{5, 0, 0}, Vector3{0, 0, 5}, kRed, kRed, kRed);
    EXPECT_EQ(CountClear(baker), 100);

    // A square from (-5, -5) to (5, 5) covers only the image's top-left quarter.
    baker.Triangle(Vector3{-5, kLow, -5}, Vector3{5, kLow, -5}, Vector3{5, kLow, 5}, kRed, kRed, kRed);
    baker.Triangle(Vector3{-5, kLow, -5}, Vector3{5, kLow, 5}, Vector3{-5, kLow, 5}, kRed, kRed, kRed);
    EXPECT_EQ(CountClear(baker), 75);
    EXPECT_EQ(PixelOf(baker, 4, 4), (Rgba{229, 0, 0, 255}));
    EXPECT_EQ(PixelOf(baker, 5, 4), kClear);
}

TEST(TopDownBaker, SharedEdgeLeavesNoGapAndLaterTriangleWins)
{
    TopDownBaker baker;
    baker.Begin(Vector2{0.0f, 0.0f}, 10.0f, 10);
    // Counter-clockwise and clockwise halves of one square: both windings draw.
    baker.Triangle(Vector3{0, kLow, 0}, Vector3{10, kLow, 0}, Vector3{10, kLow, 10}, kRed, kRed, kRed);
    baker.Triangle(Vector3{0, kLow, 0}, Vector3{0, kLow, 10}, Vector3{10, kLow, 10}, kGreen, kGreen, kGreen);
    for (int r = 0; r < 10; r++) {
        for (int k = 0; k < 10; k++) {
            // Pixel centres on the diagonal lie on both triangles. The weights
            // of a pixel need not sum to exactly 1, so 255 * 0.9 may land on
            // 228 and the alpha on 254.
            const Rgba p = PixelOf(baker, k, r);
            const int winner = k > r ? p.r : p.g;
            const int loser = k > r ? p.g : p.r;
            EXPECT_GE(winner, 228) << k << "," << r;
            EXPECT_EQ(loser, 0) << k << "," << r;
            EXPECT_GE(p.a, 254) << k << "," << r;
        }
    }
}

TEST(TopDownBaker, JitteredQuadGridCoversEveryPixel)
{
    // A terrain-like mesh: 2-unit quads at 3 pixels per unit whose inner
    // corners are pushed off the pixel grid, split as (0,1,2) and (0,2,3).
    TopDownBaker baker;
    const float size = 24.0f;
    baker.Begin(Vector2{100.0f, -50.0f}, size, 72);
    const auto corner = [](int i, int j) {
        const bool border = i == 0 || j == 0 || i == 12 || j == 12;
        const float jx = border ? 0.0f : 0.37f * std::sin(static_cast<float>(i * 7 + j * 3));
        const float jz = border ? 0.0f : 0.41f * std::cos(static_cast<float>(i * 5 - j * 11));
        return Vector3{100.0f + 2.0f * static_cast<float>(i) + jx, 0.0f, -50.0f + 2.0f * static_cast<float>(j) + jz};
    };
    const Color grey{120, 120, 120, 255};
    for (int j = 0; j < 12; j++) {
        for (int i = 0; i < 12; i++) {
            const Vector3 p0 = corner(i, j), p1 = corner(i, j + 1), p2 = corner(i + 1, j + 1), p3 = corner(i + 1, j);
            baker.Triangle(p0, p1, p2, grey, grey, grey);
            baker.Triangle(p0, p2, p3, grey, grey, grey);
        }
    }
    EXPECT_EQ(CountClear(baker), 0);
}

TEST(TopDownBaker, HeightTintFromLowToHighGround)
{
    const Color grey{100, 100, 100, 255};
    struct Case {
        float y;
        int expected;
    };
    // 0.9 at -6 and below, 1.28 at 134 and above, linear between (at 64 the
    // single-precision tint 1.09 is just below, so 100 becomes 108).
    for (const Case& c : {Case{-6.0f, 90}, Case{-50.0f, 90}, Case{64.0f, 108}, Case{134.0f, 128},
                          Case{900.0f, 128}}) {
        TopDownBaker baker;
        baker.Begin(Vector2{0.0f, 0.0f}, 4.0f, 4);
        baker.Triangle(Vector3{0, c.y, 0}, Vector3{4, c.y, 0}, Vector3{0, c.y, 4}, grey, grey, grey);
        EXPECT_EQ(PixelOf(baker, 0, 0), (Rgba{c.expected, c.expected, c.expected, 255})) << c.y;
    }
    // The tint never lifts a channel past 255, and alpha is never tinted.
    TopDownBaker baker;
    baker.Begin(Vector2{0.0f, 0.0f}, 4.0f, 4);
    const Color bright{250, 10, 0, 200};
    baker.Triangle(Vector3{0, 500, 0}, Vector3{4, 500, 0}, Vector3{0, 500, 4}, bright, bright, bright);
    EXPECT_EQ(PixelOf(baker, 0, 0), (Rgba{255, 12, 0, 200}));
}

TEST(TopDownBaker, TranslucentTrianglesBlendOnlyWhenAsked)
{
    const Color glass{200, 100, 50, 128};
    TopDownBaker baker;
    baker.Begin(Vector2{0.0f, 0.0f}, 4.0f, 4);
    baker.Triangle(Vector3{0, kLow, 0}, Vector3{4, kLow, 0}, Vector3{0, kLow, 4}, glass, glass, glass);
    // Unblended: the triangle's own colour and alpha are stored.
    EXPECT_EQ(PixelOf(baker, 0, 0), (Rgba{180, 90, 45, 128}));

    baker.Begin(Vector2{0.0f, 0.0f}, 4.0f, 4);
    baker.blend = true;
    baker.Triangle(Vector3{0, kLow, 0}, Vector3{4, kLow, 0}, Vector3{0, kLow, 4}, glass, glass, glass);
    // Half and half over the clear colour, alpha made opaque.
    EXPECT_EQ(PixelOf(baker, 0, 0), (Rgba{97, 54, 35, 255}));

    // Opaque triangles overwrite even with blending on.
    baker.Triangle(Vector3{0, kLow, 0}, Vector3{4, kLow, 0}, Vector3{0, kLow, 4}, kRed, kRed, kRed);
    EXPECT_EQ(PixelOf(baker, 0, 0), (Rgba{229, 0, 0, 255}));
}

TEST(MapBuilder, ShadeOfUpwardFacesNeverReachesWhite)
{
    TopDownBaker baker;
    MapBuilder builder{&baker};
    // (a, b, c) wound so that the face normal points up.
    const Vector3 a{0, kLow, 0}, b{0, kLow, 4}, c{4, kLow, 0};
    baker.Begin(Vector2{0.0f, 0.0f}, 4.0f, 4);
    builder.AddTriangle(a, b, c, kWhite);
    // Shade gives (185, 185, 183); the low-ground tint 0.9 follows.
    EXPECT_EQ(PixelOf(baker, 0, 0), (Rgba{166, 166, 164, 255}));

    builder.AddTriangle(a, b, c, Color{128, 128, 128, 255});
    // Shade gives (94, 94, 92).
    EXPECT_EQ(PixelOf(baker, 0, 0), (Rgba{84, 84, 82, 255}));

    // The other winding turns the normal down, away from sun and sky.
    builder.AddTriangle(a, c, b, kWhite);
    EXPECT_EQ(PixelOf(baker, 0, 0), (Rgba{104, 104, 104, 255}));
}

TEST(MapBuilder, QuadsShadeTheirCornersBeforeDrawing)
{
    TopDownBaker baker;
    MapBuilder builder{&baker};
    const Vector3 quad[4] = {{0, kLow, 0}, {0, kLow, 4}, {4, kLow, 4}, {4, kLow, 0}};
    baker.Begin(Vector2{0.0f, 0.0f}, 4.0f, 4);
    builder.AddFlatQuad(quad, kWhite);
    for (int r = 0; r < 4; r++) {
        for (int k = 0; k < 4; k++) {
            EXPECT_EQ(PixelOf(baker, k, r), (Rgba{166, 166, 164, 255}));
        }
    }

    const Vector3 down[4] = {{0, -1, 0}, {0, -1, 0}, {0, -1, 0}, {0, -1, 0}};
    const Color white4[4] = {kWhite, kWhite, kWhite, kWhite};
    builder.AddSmoothQuad(quad, down, white4);
    EXPECT_EQ(PixelOf(baker, 1, 2), (Rgba{104, 104, 104, 255}));

    // Unshaded triangles only take the height tint.
    builder.PushTriangle(quad[0], quad[1], quad[2], kWhite, kWhite, kWhite);
    EXPECT_EQ(PixelOf(baker, 0, 3), (Rgba{229, 229, 229, 255}));
}

TEST(MapBuilder, DegenerateFaceIsLitAsIfFacingUp)
{
    TopDownBaker baker;
    MapBuilder builder{&baker};
    baker.Begin(Vector2{0.0f, 0.0f}, 10.0f, 10);
    // Corners 0, 1, 2 on one line: the face normal falls back to (0, 1, 0),
    // although triangle (0, 2, 3) alone would face down.
    const Vector3 quad[4] = {{0, kLow, 0}, {5, kLow, 5}, {10, kLow, 10}, {0, kLow, 10}};
    builder.AddFlatQuad(quad, kWhite);
    EXPECT_EQ(PixelOf(baker, 1, 8), (Rgba{166, 166, 164, 255}));
    EXPECT_EQ(PixelOf(baker, 8, 1), kClear);
}
