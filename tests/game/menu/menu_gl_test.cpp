// menu_gl_test.cpp: the menu's pages and dialogs drawn and read back (saved as
// PNGs), and long texts kept inside their boxes.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>

#include "game/hud/hud_layout.h"
#include "game/menu/menu.h"
#include "game/view/ui_font.h"
#include "support/gl_fixture.h"

namespace {

constexpr Color kClear{100, 100, 100, 255};

// Straight alpha blending of r, g and b, as the render target does it.
Color Over(Color src, Color dst) {
    const float a = static_cast<float>(src.a) / 255.0f;
    auto mix = [a](unsigned char s, unsigned char d) {
        return static_cast<unsigned char>(std::lround(static_cast<float>(s) * a + static_cast<float>(d) * (1.0f - a)));
    };
    return Color{mix(src.r, dst.r), mix(src.g, dst.g), mix(src.b, dst.b), 255};
}

// Layers painted one over the other onto the cleared target.
Color Stack(std::initializer_list<Color> layers) {
    Color c = kClear;
    for (Color layer : layers) {
        c = Over(layer, c);
    }
    return c;
}

// True when some pixel of the band is within the tolerance of the colour
// (text is anti-aliased, so only its cores reach the full colour).
bool BandHas(const Image& image, Rectangle band, Color colour, int tolerance) {
    for (int y = static_cast<int>(band.y); y < static_cast<int>(band.y + band.height); ++y) {
        for (int x = static_cast<int>(band.x); x < static_cast<int>(band.x + band.width); ++x) {
            Color c = testgl::PixelAt(image, x, y);
            c.a = 255;
            if (testgl::SameColour(c, colour, tolerance)) {
                return true;
            }
        }
    }
    return false;
}

constexpr Color kPauseShade{8, 9, 12, 170};
constexpr Color kMainShade{8, 9, 12, 95};
constexpr Color kPanel{26, 26, 30, 242};
constexpr Color kFocusFill{92, 84, 68, 245};
constexpr Color kButtonFill{42, 42, 46, 235};
constexpr Color kDisabledFill{34, 34, 38, 235};

class MenuGl : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ui::LoadFont(); }
    static void TearDownTestSuite() { ui::UnloadFont(); }

    Image Draw(const std::string& name) {
        Image image = testgl::Render(kClear, [&] { menu.Draw(settings); });
        testgl::SavePng(image, name);
        return image;
    }

    Menu menu;
    GameSettings settings;
};

TEST_F(MenuGl, MainPageWithDisabledLoadAndNotice) {
    menu.OpenMain();
    menu.notice = "Сохранение не найдено";
    Image image = Draw("menu_main");
    testgl::ExpectRgb(image, 20, 20, Stack({kMainShade}), 2);
    testgl::ExpectRgb(image, 540, 300, Stack({kMainShade, kPanel}), 2);
    // Button 0 has the focus, "Загрузить" is disabled without a save.
    testgl::ExpectRgb(image, 580, 383, Stack({kMainShade, kPanel, kFocusFill}), 2);
    testgl::ExpectRgb(image, 580, 445, Stack({kMainShade, kPanel, kDisabledFill}), 2);
    testgl::ExpectRgb(image, 580, 507, Stack({kMainShade, kPanel, kButtonFill}), 2);
    EXPECT_TRUE(BandHas(image, {600, 608, 400, 18}, Color{222, 208, 178, 255}, 6));
    EXPECT_TRUE(BandHas(image, {700, 314, 200, 20}, Color{190, 182, 166, 255}, 6));
    UnloadImage(image);

    menu.hasSave = true;
    menu.notice.clear();
    image = Draw("menu_main_with_save");
    testgl::ExpectRgb(image, 580, 445, Stack({kMainShade, kPanel, kButtonFill}), 2);
    EXPECT_FALSE(BandHas(image, {600, 608, 400, 18}, Color{222, 208, 178, 255}, 6));
    UnloadImage(image);
}

TEST_F(MenuGl, PausePageAndItsExitDialog) {
    menu.OpenPause();
    menu.selected = 2;
    Image image = Draw("menu_pause");
    testgl::ExpectRgb(image, 20, 20, Stack({kPauseShade}), 2);
    testgl::ExpectRgb(image, 580, 507, Stack({kPauseShade, kPanel, kFocusFill}), 2);
    testgl::ExpectRgb(image, 580, 383, Stack({kPauseShade, kPanel, kButtonFill}), 2);
    UnloadImage(image);

    menu.OpenExitConfirm();
    image = Draw("menu_pause_exit");
    const Color dialogShade{0, 0, 0, 170};
    testgl::ExpectRgb(image, 20, 20, Stack({kPauseShade, dialogShade}), 2);
    const Color dialogPanel{26, 26, 30, 250};
    testgl::ExpectRgb(image, 500, 345, Stack({kPauseShade, kPanel, dialogShade, dialogPanel}), 2);
    // "Отмена" (the third button) has the focus.
    const Rectangle cancel = menu.ExitButton(2);
    testgl::ExpectRgb(image, static_cast<int>(cancel.x) + 8, static_cast<int>(cancel.y) + 24,
                      Stack({kPauseShade, kPanel, dialogShade, dialogPanel, kFocusFill}), 2);
    const Rectangle toMenu = menu.ExitButton(0);
    testgl::ExpectRgb(image, static_cast<int>(toMenu.x) + 8, static_cast<int>(toMenu.y) + 24,
                      Stack({kPauseShade, kPanel, dialogShade, dialogPanel, kButtonFill}), 2);
    UnloadImage(image);
}

TEST_F(MenuGl, MainExitDialogHasTwoButtons) {
    menu.OpenMain();
    menu.OpenExitConfirm();
    Image image = Draw("menu_main_exit");
    const Color shade{0, 0, 0, 170};
    const Color dialogPanel{26, 26, 30, 250};
    const Rectangle cancel = menu.ExitButton(1);
    testgl::ExpectRgb(image, static_cast<int>(cancel.x) + 8, static_cast<int>(cancel.y) + 24,
                      Stack({kMainShade, kPanel, shade, dialogPanel, kFocusFill}), 2);
    // Left of the first of two buttons is plain dialog panel.
    testgl::ExpectRgb(image, static_cast<int>(menu.ExitButton(0).x) - 8, 509,
                      Stack({kMainShade, kPanel, shade, dialogPanel}), 2);
    UnloadImage(image);
}

TEST_F(MenuGl, NewWorldPageWithSeedField) {
    menu.OpenNewWorldPage();
    menu.seedText = "20261113";
    Image image = Draw("menu_new_world");
    const Color field{20, 20, 24, 235};
    testgl::ExpectRgb(image, 1005, 410, Stack({kMainShade, kPanel, field}), 2);
    // The field's outline is the accent while "Начать" has the focus.
    const Rectangle topEdge{790, 369, 20, 6};
    const Color accent{232, 206, 150, 255};
    EXPECT_TRUE(BandHas(image, topEdge, accent, 6));
    EXPECT_TRUE(BandHas(image, {596, 386, 160, 30}, Color{244, 238, 226, 255}, 8));
    testgl::ExpectRgb(image, 580, 485, Stack({kMainShade, kPanel, kFocusFill}), 2);
    UnloadImage(image);

    menu.selected = 2;
    image = Draw("menu_new_world_back");
    EXPECT_FALSE(BandHas(image, topEdge, accent, 6));
    EXPECT_TRUE(BandHas(image, topEdge, Color{90, 86, 78, 255}, 6));
    testgl::ExpectRgb(image, 580, 485, Stack({kMainShade, kPanel, kButtonFill}), 2);
    UnloadImage(image);
}

TEST_F(MenuGl, SettingsPageRowsAndSlider) {
    menu.OpenSettings();
    settings.renderDistance = 8;
    Image image = Draw("menu_settings");
    testgl::ExpectRgb(image, 20, 20, Stack({kPauseShade}), 2);
    testgl::ExpectRgb(image, 566, 262, Stack({kPauseShade, kPanel, kFocusFill}), 2);
    const Color rowFill{40, 40, 44, 235};
    testgl::ExpectRgb(image, 566, 330, Stack({kPauseShade, kPanel, rowFill}), 2);
    // Slider at 8: the fill reaches the middle of the track, the knob sits there.
    const int left = static_cast<int>(Menu::kSliderTrack.x);
    const int middle = static_cast<int>(Menu::kSliderTrack.x + Menu::kSliderTrack.width / 2.0f);
    const int right = static_cast<int>(Menu::kSliderTrack.x + Menu::kSliderTrack.width) - 24;
    testgl::ExpectRgb(image, left + 35, 281, Color{198, 176, 126, 255}, 2);
    testgl::ExpectRgb(image, middle, 281, Color{240, 228, 200, 255}, 2);
    testgl::ExpectRgb(image, right, 281, Color{58, 56, 52, 255}, 2);
    UnloadImage(image);

    settings.renderDistance = 4;
    image = Draw("menu_settings_min");
    testgl::ExpectRgb(image, left + 35, 281, Color{58, 56, 52, 255}, 2);
    testgl::ExpectRgb(image, left + 1, 281, Color{240, 228, 200, 255}, 2);
    UnloadImage(image);
}

// Texts that once ran out of their boxes, measured against the box each is
// drawn in, kept clear of its edges by a margin: the home panel's fuel goal,
// the render-distance label and value beside the slider, the exit dialogs'
// button labels, and the airship line above the compass disc.
TEST_F(MenuGl, LongTextsStayInsideTheirBoxesOnScreen) {
    struct Case {
        std::string text;
        int size;
        Rectangle box;
        float x;  // where the text starts; < 0: centred in the box
        float y;
    };
    const Rectangle row = Menu::SettingRow(0);
    const Rectangle track = Menu::kSliderTrack;
    const float knob = Menu::kSliderKnobRadius;
    const Rectangle leftOfSlider{row.x, row.y, track.x - knob - row.x, row.height};
    const float sliderEnd = track.x + track.width + knob;
    const Rectangle rightOfSlider{sliderEnd, row.y, row.x + row.width - sliderEnd, row.height};
    const float valueWidth = ui::Measure("12", Menu::kSettingValueSize);
    const float aboveCompass = hud::kCompassCentre.y - hud::kCompassRadius;
    // The widest airship line a flight gives: every figure at its longest.
    const hud::AirshipLineValues ship{600.0f, 40, 360, -40.0f, 35.0f, -1.0f, 30.0f, 900.0f};
    Menu pause;
    pause.page = Menu::Page::Pause;
    Menu main;
    main.page = Menu::Page::Main;
    const float buttonTextY = pause.ExitButton(0).y + (pause.ExitButton(0).height - Menu::kButtonTextSize) / 2.0f;

    const Case cases[] = {
        {"цель: 15 мин огня, чтобы пережить зиму", 15, hud::kHomePanel, hud::kPanelTextX, 342.0f},
        {"Дальность рендера", Menu::kSettingLabelSize, leftOfSlider, Menu::kSettingLabelX, row.y + 14.0f},
        {"12", Menu::kSettingValueSize, rightOfSlider, Menu::kSettingValueRight - valueWidth, row.y + 16.0f},
        {"В главное меню", Menu::kButtonTextSize, pause.ExitButton(0), -1.0f, buttonTextY},
        {"Выйти из игры", Menu::kButtonTextSize, pause.ExitButton(1), -1.0f, buttonTextY},
        {"Отмена", Menu::kButtonTextSize, pause.ExitButton(2), -1.0f, buttonTextY},
        {"Выйти из игры", Menu::kButtonTextSize, main.ExitButton(0), -1.0f, buttonTextY},
        {"Отмена", Menu::kButtonTextSize, main.ExitButton(1), -1.0f, buttonTextY},
        {hud::AirshipLineText(ship).c_str(), hud::kShipLineSize, Rectangle{0.0f, 0.0f, 1600.0f, aboveCompass},
         hud::kShipLineX, hud::kShipLineY},
    };
    constexpr float kMargin = 8.0f;
    for (const Case& c : cases) {
        const float width = ui::Measure(c.text.c_str(), c.size);
        const float x = c.x < 0.0f ? c.box.x + (c.box.width - width) / 2.0f : c.x;
        EXPECT_GE(x, c.box.x + kMargin) << c.text;
        EXPECT_LE(x + width, c.box.x + c.box.width - kMargin) << c.text << ": " << width << " px";
        EXPECT_GE(c.y, c.box.y) << c.text;
        EXPECT_LE(c.y + static_cast<float>(c.size), c.box.y + c.box.height) << c.text;
        EXPECT_GE(c.box.x, 0.0f) << c.text;
        EXPECT_LE(c.box.x + c.box.width, 1600.0f) << c.text;
    }
    // The exit buttons stay inside their dialog.
    for (const Rectangle& b : {pause.ExitButton(0), pause.ExitButton(2), main.ExitButton(0), main.ExitButton(1)}) {
        EXPECT_GE(b.x, Menu::kExitPanel.x + kMargin);
        EXPECT_LE(b.x + b.width, Menu::kExitPanel.x + Menu::kExitPanel.width - kMargin);
    }
}

TEST_F(MenuGl, ResolutionDropdownMarksHighlightedRow) {
    menu.OpenSettings();
    settings.resolution = 3;
    menu.selected = 5;
    menu.OpenResolutionDropdown(settings);
    menu.dropdownIndex = 1;
    Image image = Draw("menu_resolution_dropdown");
    const Color panel{20, 20, 24, 248};
    const Rectangle highlighted = Menu::DropdownRow(1);
    const Rectangle plain = Menu::DropdownRow(4);
    testgl::ExpectRgb(image, 1020, static_cast<int>(highlighted.y) + 16,
                      Stack({kPauseShade, kPanel, panel, kFocusFill}), 2);
    testgl::ExpectRgb(image, 1020, static_cast<int>(plain.y) + 16,
                      Stack({kPauseShade, kPanel, panel, Color{30, 30, 34, 235}}), 2);
    // "текущее" stands on the current resolution's row only.
    const Color tag{198, 176, 126, 255};
    EXPECT_TRUE(BandHas(image, {950, Menu::DropdownRow(3).y + 8, 70, 18}, tag, 8));
    EXPECT_FALSE(BandHas(image, {950, Menu::DropdownRow(2).y + 8, 70, 18}, tag, 8));
    UnloadImage(image);
}

TEST_F(MenuGl, KeepOrRevertDialogCoversTheSettings) {
    menu.OpenSettings();
    menu.ChooseResolution(settings, 3);
    ASSERT_TRUE(menu.confirmOpen);
    menu.confirmTimer = 6.2f;
    menu.confirmChoice = 1;
    Image image = Draw("menu_resolution_confirm");
    const Color shade{0, 0, 0, 150};
    const Color dialogPanel{26, 26, 30, 250};
    testgl::ExpectRgb(image, 20, 20, Stack({kPauseShade, shade}), 2);
    testgl::ExpectRgb(image, 588, 519, Stack({kPauseShade, kPanel, shade, dialogPanel, kButtonFill}), 2);
    testgl::ExpectRgb(image, 828, 519, Stack({kPauseShade, kPanel, shade, dialogPanel, kFocusFill}), 2);
    EXPECT_TRUE(BandHas(image, {650, 407, 300, 40}, Color{232, 206, 150, 255}, 8));
    UnloadImage(image);
}

}  // namespace
