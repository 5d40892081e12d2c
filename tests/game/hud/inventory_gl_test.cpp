// inventory_gl_test.cpp: the inventory window drawn into a 1600 x 900 render
// texture: cell fills and outlines, hover, item plates with their letters,
// coal lumps and the tooltip, read back at the places they belong.
#include <gtest/gtest.h>

#include <cmath>

#include "game/hud/inventory_view.h"
#include "game/view/ui_font.h"
#include "support/gl_fixture.h"
#include "support/image_guards.h"

namespace {

// One alpha-blended layer over another, as the default blend mode does it.
Color Over(Color dst, Color src) {
    const float a = static_cast<float>(src.a) / 255.0f;
    auto mix = [a](unsigned char d, unsigned char s) {
        return static_cast<unsigned char>(std::lround(s * a + d * (1.0f - a)));
    };
    return Color{mix(dst.r, src.r), mix(dst.g, src.g), mix(dst.b, src.b), mix(dst.a, src.a)};
}

constexpr Color kDim{8, 9, 12, 150};
constexpr Color kPanel{26, 26, 30, 245};
constexpr Color kHotbarFill{44, 42, 38, 235};
constexpr Color kSlotFill{38, 38, 42, 235};
constexpr Color kHoverFill{66, 62, 54, 245};
constexpr Color kTooltipFill{20, 20, 24, 235};

// The colour under the cells: black, dimmed, then the panel.
Color PanelBase() {
    return Over(Over(BLACK, kDim), kPanel);
}

bool Near(Color a, Color b) {
    return testgl::SameColour(a, b, 2);
}

::testing::AssertionResult PixelIs(const Image& image, int x, int y, Color want) {
    const Color got = testgl::PixelAt(image, x, y);
    if (Near(got, want)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is (" << int(got.r) << ", " << int(got.g)
                                         << ", " << int(got.b) << ", " << int(got.a) << "), want (" << int(want.r)
                                         << ", " << int(want.g) << ", " << int(want.b) << ", " << int(want.a) << ")";
}

// The one-pixel outline lies on the cell's top edge: look a few rows around it.
bool OutlineAbove(const Image& image, Rectangle cell, Color outline) {
    const int x = static_cast<int>(cell.x + cell.width / 2.0f);
    for (int y = static_cast<int>(cell.y) - 2; y <= static_cast<int>(cell.y) + 1; ++y) {
        if (Near(testgl::PixelAt(image, x, y), outline)) return true;
    }
    return false;
}

int LightPixels(const Image& image, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const Color c = testgl::PixelAt(image, x, y);
            n += c.r > 200 && c.g > 200 && c.b > 190;
        }
    }
    return n;
}

class InventoryGl : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ui::LoadFont());
        target = LoadRenderTexture(1600, 900);
        ASSERT_NE(target.id, 0u);
        inv.slots[0] = InventorySlot{ItemType::FuelCan, 1};
        inv.slots[2] = InventorySlot{ItemType::Water, 3};
        inv.slots[4] = InventorySlot{ItemType::Coal, 9};
        inv.slots[12] = InventorySlot{ItemType::Medkit, 2};
        inv.slots[25] = InventorySlot{ItemType::SparePart, 1};
        inv.selected = 2;
    }
    void TearDown() override {
        UnloadRenderTexture(target);
        ui::UnloadFont();
    }
    Image Draw(Vector2 mouse, const char* name) {
        BeginTextureMode(target);
        ClearBackground(BLACK);
        DrawInventoryWindow(inv, mouse);
        EndTextureMode();
        Image image = testgl::ReadBack(target);
        testgl::SavePng(image, name);
        return image;
    }

    RenderTexture2D target{};
    Inventory inv;
};

TEST_F(InventoryGl, CellsOutlinesAndHoverOfAnEmptySlot) {
    // Mouse over the empty slot 15: hover colours, but no tooltip.
    Image image = Draw(Vector2{836.0f, 424.0f}, "inventory_hover_empty");

    EXPECT_TRUE(PixelIs(image, 10, 10, Over(BLACK, kDim)));
    EXPECT_TRUE(PixelIs(image, 420, 660, PanelBase()));
    EXPECT_TRUE(PixelIs(image, 548, 360, Over(PanelBase(), kHotbarFill)));  // slot 1
    EXPECT_TRUE(PixelIs(image, 476, 410, Over(PanelBase(), kSlotFill)));    // slot 10
    EXPECT_TRUE(PixelIs(image, 820, 410, Over(PanelBase(), kHoverFill)));   // slot 15
    // Where a tooltip would start, the hovered cell shows through.
    EXPECT_TRUE(PixelIs(image, 860, 450, Over(PanelBase(), kHoverFill)));

    EXPECT_TRUE(OutlineAbove(image, InventoryCell(2), Color{232, 206, 150, 255}));
    EXPECT_TRUE(OutlineAbove(image, InventoryCell(3), Color{116, 102, 74, 255}));
    EXPECT_TRUE(OutlineAbove(image, InventoryCell(20), Color{80, 76, 70, 255}));
    EXPECT_TRUE(OutlineAbove(image, InventoryCell(15), Color{240, 222, 180, 255}));
    EXPECT_FALSE(OutlineAbove(image, InventoryCell(3), Color{232, 206, 150, 255}));

    // Title and legend carry light ink; the empty bottom row carries none.
    EXPECT_GT(LightPixels(image, 600, 242, 1000, 275), 100);
    EXPECT_EQ(LightPixels(image, 444, 536, 1156, 600), 0);
    UnloadImage(image);
}

TEST_F(InventoryGl, ItemGlyphsPlatesLettersAndCoal) {
    Image image = Draw(Vector2{10.0f, 10.0f}, "inventory_glyphs");
    const Color hotbar = Over(PanelBase(), kHotbarFill);

    // Fuel can in slot 0: orange plate, light "T" in its middle only.
    EXPECT_TRUE(PixelIs(image, 462, 366, Color{196, 120, 52, 255}));
    EXPECT_GT(LightPixels(image, 468, 343, 485, 361), 8);
    EXPECT_EQ(LightPixels(image, 456, 340, 464, 362), 0);
    EXPECT_TRUE(PixelIs(image, 449, 360, hotbar));

    // Water in slot 2: the narrower plate leaves the cell fill beside it.
    EXPECT_TRUE(PixelIs(image, 611, 367, Color{86, 142, 190, 255}));
    EXPECT_TRUE(PixelIs(image, 601, 355, hotbar));
    EXPECT_GT(LightPixels(image, 610, 343, 631, 361), 8);

    // Coal in slot 4: three lumps, the last drawn on top, and no plate.
    EXPECT_TRUE(PixelIs(image, 764, 351, Color{52, 52, 56, 255}));
    EXPECT_TRUE(PixelIs(image, 774, 364, Color{30, 30, 34, 255}));
    EXPECT_TRUE(PixelIs(image, 750, 364, Color{38, 38, 42, 255}));
    EXPECT_TRUE(PixelIs(image, 746, 368, hotbar));

    // Medkit plate in slot 12 and spare part in slot 25.
    EXPECT_TRUE(PixelIs(image, 602, 438, Color{226, 228, 226, 255}));
    const Rectangle part = InventoryCell(25);
    EXPECT_TRUE(
        PixelIs(image, static_cast<int>(part.x) + 18, static_cast<int>(part.y) + 46, Color{148, 162, 176, 255}));

    // Count labels sit at the cell's lower right.
    EXPECT_GT(LightPixels(image, 492, 364, 506, 382), 4);
    UnloadImage(image);
}

TEST_F(InventoryGl, HoveredItemShowsItsTooltipOverEverything) {
    // Mouse at the lower right of the medkit in slot 12.
    const Vector2 mouse{650.0f, 454.0f};
    Image image = Draw(mouse, "inventory_tooltip");
    const testsupport::ImageGuard imageGuard(image);
    const Rectangle box = InventoryTooltipBox(ui::Measure("Аптечка   +50 HP", 18), mouse);
    ASSERT_EQ(box.x, 664.0f);
    ASSERT_EQ(box.y, 470.0f);

    EXPECT_TRUE(OutlineAbove(image, InventoryCell(12), Color{240, 222, 180, 255}));
    // Left margin of the box, over the empty slot 22.
    EXPECT_TRUE(PixelIs(image, 668, 487, Over(Over(PanelBase(), kSlotFill), kTooltipFill)));
    // Right end of the box, over the gap beyond the cells of that row.
    const int right = static_cast<int>(box.x + box.width) - 4;
    EXPECT_FALSE(Near(testgl::PixelAt(image, right, 487), Over(PanelBase(), kSlotFill)));
    // The text lies inside the box.
    EXPECT_GT(LightPixels(image, 676, 478, static_cast<int>(box.x + box.width), 497), 60);
    // Below the box nothing is lit.
    EXPECT_EQ(LightPixels(image, 664, 506, static_cast<int>(box.x + box.width), 528), 0);
}

}  // namespace
