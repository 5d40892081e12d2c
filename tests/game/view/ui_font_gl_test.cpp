// ui_font_gl_test.cpp: the embedded interface font loads with its 199 glyphs,
// draws Russian text where it is asked to, and a failed load falls back to
// raylib's default font without freeing it.
#include <gtest/gtest.h>

#include <array>

#include "game/view/ui_font.h"
#include "support/gl_fixture.h"
#include "support/image_guards.h"

namespace {

bool IsLit(Color c) {
    return c.r > 60 || c.g > 60 || c.b > 60;
}

// Lit pixels inside and outside a rectangle of a read-back image.
struct LitCount {
    int inside = 0;
    int outside = 0;
};

LitCount CountLit(const Image& image, Rectangle box) {
    LitCount count;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (!IsLit(testgl::PixelAt(image, x, y))) continue;
            const bool in = x >= box.x && x < box.x + box.width && y >= box.y && y < box.y + box.height;
            (in ? count.inside : count.outside)++;
        }
    }
    return count;
}

class UiFontGl : public ::testing::Test {
protected:
    void TearDown() override { ui::UnloadFont(); }
};

TEST_F(UiFontGl, LoadsTheEmbeddedFontWithItsOwnAtlas) {
    ASSERT_TRUE(ui::LoadFont());
    const Font& font = ui::Font();
    EXPECT_EQ(font.glyphCount, 199);
    EXPECT_EQ(font.baseSize, 48);
    EXPECT_NE(font.texture.id, 0u);
    EXPECT_NE(font.texture.id, GetFontDefault().texture.id);

    // Cyrillic, Ё and the numero sign have glyphs of their own; the degree
    // sign is outside the set and falls back to the question mark.
    const int question = GetGlyphIndex(font, '?');
    for (int c : {0x0418, 0x0401, 0x0451, 0x044F, 8470, 8212, 126}) {
        EXPECT_NE(GetGlyphIndex(font, c), question) << c;
        EXPECT_EQ(font.glyphs[GetGlyphIndex(font, c)].value, c);
    }
    EXPECT_EQ(GetGlyphIndex(font, 0x00B0), question);
}

TEST_F(UiFontGl, DrawsRussianTextOnlyWhereItIs) {
    ASSERT_TRUE(ui::LoadFont());
    const char* text = "Инвентарь полон";
    const float width = ui::Measure(text, 48);
    EXPECT_GT(width, 200.0f);
    EXPECT_LT(width, 600.0f);
    // Smaller sizes scale the 48 px atlas; spacing stays one pixel a letter.
    EXPECT_NEAR(ui::Measure(text, 24), (width - 14.0f) / 2.0f + 14.0f, 0.01f);
    EXPECT_EQ(ui::Measure("", 18), 0.0f);

    RenderTexture2D target = LoadRenderTexture(800, 200);
    const testsupport::RenderTextureGuard targetGuard(target);
    ASSERT_NE(target.id, 0u);
    BeginTextureMode(target);
    ClearBackground(BLACK);
    ui::Text(text, 100, 60, 48, WHITE);
    EndTextureMode();
    Image image = testgl::ReadBack(target);
    testgl::SavePng(image, "ui_font_russian");

    const LitCount lit = CountLit(image, Rectangle{98.0f, 58.0f, width + 4.0f, 52.0f});
    EXPECT_GT(lit.inside, 1500);
    EXPECT_EQ(lit.outside, 0);

    // The glyphs span the measured width: the first and the last columns
    // of the text both carry ink.
    int leftInk = 0;
    int rightInk = 0;
    for (int y = 60; y < 108; ++y) {
        for (int x = 100; x < 112; ++x) leftInk += IsLit(testgl::PixelAt(image, x, y));
        for (int x = 100 + static_cast<int>(width) - 14; x < 100 + static_cast<int>(width); ++x) {
            rightInk += IsLit(testgl::PixelAt(image, x, y));
        }
    }
    EXPECT_GT(leftInk, 20);
    EXPECT_GT(rightInk, 20);
    UnloadImage(image);
}

TEST_F(UiFontGl, FailedLoadKeepsTheDefaultFontAlive) {
    const std::array<unsigned char, 256> garbage{};
    EXPECT_FALSE(ui::LoadFontFromBytes(garbage.data(), static_cast<int>(garbage.size())));
    EXPECT_EQ(ui::Font().texture.id, GetFontDefault().texture.id);
    ui::UnloadFont();
    ui::UnloadFont();
    EXPECT_EQ(ui::Font().texture.id, GetFontDefault().texture.id);

    // Had the default font been freed, this text would leave no ink.
    RenderTexture2D target = LoadRenderTexture(400, 100);
    const testsupport::RenderTextureGuard targetGuard(target);
    ASSERT_NE(target.id, 0u);
    BeginTextureMode(target);
    ClearBackground(BLACK);
    ui::Text("DEFAULT", 10, 10, 40, WHITE);
    EndTextureMode();
    Image image = testgl::ReadBack(target);
    testgl::SavePng(image, "ui_font_fallback");
    const LitCount lit = CountLit(image, Rectangle{0.0f, 0.0f, 400.0f, 100.0f});
    EXPECT_GT(lit.inside, 200);
    UnloadImage(image);
}

TEST_F(UiFontGl, LoadAfterLoadAndDoubleUnloadAreHarmless) {
    ASSERT_TRUE(ui::LoadFont());
    ASSERT_TRUE(ui::LoadFont());
    EXPECT_EQ(ui::Font().glyphCount, 199);
    ui::UnloadFont();
    ui::UnloadFont();
    EXPECT_EQ(ui::Font().texture.id, GetFontDefault().texture.id);
    EXPECT_GT(ui::Measure("abc", 20), 0.0f);
}

}  // namespace
