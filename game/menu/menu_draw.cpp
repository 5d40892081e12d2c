// menu_draw.cpp: drawing the menu's pages and dialogs in the 1600 x 900 UI
// space. Every text position is whole pixels, truncated toward zero.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "game/menu/menu.h"
#include "game/view/frame_layout.h"
#include "game/view/ui_font.h"

namespace {

using RowAction = Menu::RowAction;

constexpr std::array<const char*, 3> kWindowModeNames{"Оконный", "Без рамки", "Полный экран"};

constexpr float kCentreX = 800.0f;

constexpr Color kTitle{190, 182, 166, 255};
constexpr Color kHint{150, 142, 128, 255};
constexpr Color kNotice{222, 208, 178, 255};
constexpr Color kDialogFill{26, 26, 30, 250};
constexpr Color kDialogOutline{180, 150, 104, 255};
constexpr Color kDialogTitle{245, 236, 220, 255};
constexpr Color kDialogText{198, 190, 176, 255};
constexpr Color kAccent{232, 206, 150, 255};

constexpr float kKnobY = 281.0f;

void CentredText(const char* text, int y, int size, Color colour) {
    ui::Text(text, ui::CentredX(kCentreX, ui::Measure(text, size)), y, size, colour);
}

void RoundedPanel(Rectangle r, float roundness, int segments, Color fill, Color outline) {
    DrawRectangleRounded(r, roundness, segments, fill);
    DrawRectangleRoundedLines(r, roundness, segments, outline);
}

void DrawButton(Rectangle rect, const char* label, bool selected, bool highlighted, bool enabled) {
    Color fill{34, 34, 38, 235};
    Color outline{64, 62, 58, 255};
    Color text{120, 116, 108, 255};
    if (enabled) {
        fill = selected ? Color{92, 84, 68, 245} : Color{42, 42, 46, 235};
        outline = highlighted ? Color{236, 214, 170, 255} : Color{96, 92, 84, 255};
        text = Color{240, 234, 222, 255};
    }
    RoundedPanel(rect, 0.25f, 8, fill, outline);
    constexpr int kSize = Menu::kButtonTextSize;
    const int x = ui::CentredX(rect.x + rect.width / 2.0f, ui::Measure(label, kSize));
    const int y = static_cast<int>(rect.y + (rect.height - static_cast<float>(kSize)) / 2.0f);
    ui::Text(label, x, y, kSize, text);
}

std::string SizeText(int index) {
    const WindowSize size = ResolutionAt(index);
    char text[32];
    std::snprintf(text, sizeof text, "%d x %d", size.width, size.height);
    return text;
}

std::string SettingValue(const GameSettings& settings, RowAction row) {
    char text[32];
    switch (row) {
        case RowAction::RenderDistance: std::snprintf(text, sizeof text, "%d", settings.renderDistance); return text;
        case RowAction::Vsync: return settings.vsync ? "Вкл" : "Выкл";
        case RowAction::FpsLimit:
            if (settings.fpsLimit == 0) {
                return "Без лимита";
            }
            std::snprintf(text, sizeof text, "%d", settings.fpsLimit);
            return text;
        case RowAction::Fxaa: return settings.fxaa ? "FXAA" : "Выкл";
        case RowAction::WindowMode:
            if (settings.windowMode == 1 || settings.windowMode == 2) {
                return kWindowModeNames[static_cast<size_t>(settings.windowMode)];
            }
            return kWindowModeNames[0];
        default:  // RowAction::Resolution
            return SizeText(settings.resolution);
    }
}

void DrawSlider(int renderDistance) {
    constexpr Rectangle kSliderTrack = Menu::kSliderTrack;
    DrawRectangleRounded(kSliderTrack, 0.5f, 6, Color{58, 56, 52, 255});
    // Share of the track per chunk above the smallest render distance.
    constexpr float kStepShare = 1.0f / static_cast<float>(cfg::kRenderDistanceSteps);
    const float w = static_cast<float>(renderDistance - cfg::kMinRenderDistance) * kStepShare * kSliderTrack.width;
    if (w > 4.0f) {
        DrawRectangleRounded(Rectangle{kSliderTrack.x, kSliderTrack.y, w, kSliderTrack.height}, 0.5f, 6,
                             Color{198, 176, 126, 255});
    }
    DrawCircleV(Vector2{kSliderTrack.x + w, kKnobY}, Menu::kSliderKnobRadius, Color{240, 228, 200, 255});
}

}  // namespace

void Menu::Draw(const GameSettings& settings) const {
    if (!open) {
        return;
    }
    const bool dim = page == Page::Pause || page == Page::Settings;
    DrawRectangle(0, 0, frame::kUiWidth, frame::kUiHeight, Color{8, 9, 12, static_cast<unsigned char>(dim ? 170 : 95)});
    RoundedPanel(PanelFor(page), 0.04f, 8, Color{26, 26, 30, 242}, Color{110, 102, 88, 255});
    DrawPage(settings);

    if (page == Page::Main || page == Page::Pause) {
        if (exitConfirmOpen) {
            DrawExitConfirm();
        }
    } else if (page == Page::Settings) {
        if (dropdownOpen) {
            DrawResolutionDropdown(settings);
        }
        if (confirmOpen) {
            DrawResolutionConfirm(settings);
        }
    }
}

void Menu::DrawPage(const GameSettings& settings) const {
    const Rectangle panel = PanelFor(page);
    const int top = static_cast<int>(panel.y);
    const int bottom = static_cast<int>(panel.y + panel.height);

    switch (page) {
        case Page::Main:
            CentredText("Стылоземье", top + 74, 18, kTitle);
            DrawPageButtons();
            if (!notice.empty()) {
                CentredText(notice.c_str(), bottom - 52, 16, kNotice);
            }
            CentredText("Esc - выход", bottom - 28, 15, kHint);
            break;
        case Page::Pause:
            CentredText("ПАУЗА", top + 76, 20, kTitle);
            DrawPageButtons();
            if (!notice.empty()) {
                CentredText(notice.c_str(), bottom - 56, 16, kNotice);
            }
            CentredText("Esc - продолжить", bottom - 28, 15, kHint);
            break;
        case Page::NewWorld:
            CentredText("НОВЫЙ МИР", top + 72, 20, kTitle);
            DrawSeedBlock();
            DrawPageButtons();
            CentredText("Только цифры, Backspace стирает", bottom - 26, 15, kHint);
            break;
        case Page::Settings:
            CentredText("НАСТРОЙКИ", top + 70, 20, kTitle);
            DrawSettingsRows(settings);
            CentredText("Стрелки - изменить, Esc - назад", bottom - 28, 15, kHint);
            break;
    }
}

// "Загрузить" is drawn disabled while there is no save to load.
void Menu::DrawPageButtons() const {
    const std::span<const Row> rows = Rows(page);
    for (size_t i = 0; i < rows.size(); ++i) {
        const int index = static_cast<int>(i);
        const bool focus = selected == index;
        DrawButton(MenuButton(page, index), rows[i].label, focus, focus, rows[i].action != RowAction::Load || hasSave);
    }
}

void Menu::DrawSeedBlock() const {
    const Rectangle panel = PanelFor(Page::NewWorld);
    ui::Text("Сид", 580, static_cast<int>(panel.y) + 108, 18, Color{210, 200, 182, 255});
    RoundedPanel(SeedField(), 0.15f, 6, Color{20, 20, 24, 235},
                 ActionAt(Rows(Page::NewWorld), selected) == RowAction::Start ? kAccent : Color{90, 86, 78, 255});
    ui::Text(seedText.c_str(), 596, 386, 26, Color{244, 238, 226, 255});
    if (static_cast<long long>(std::floor(2.0 * GetTime())) % 2 == 0) {
        const int caretX = static_cast<int>(596.0f + 2.0f + ui::Measure(seedText.c_str(), 26));
        DrawRectangle(caretX, 384, 2, 30, kAccent);
    }
}

void Menu::DrawSettingsRows(const GameSettings& settings) const {
    const std::span<const Row> rows = Rows(Page::Settings);
    for (size_t i = 0; i < rows.size(); ++i) {
        const Rectangle row = SettingRow(static_cast<int>(i));
        const bool focus = selected == static_cast<int>(i);
        RoundedPanel(row, 0.2f, 6, focus ? Color{92, 84, 68, 245} : Color{40, 40, 44, 235},
                     focus ? Color{236, 214, 170, 255} : Color{88, 84, 76, 255});
        const int rowY = static_cast<int>(row.y);
        const RowAction action = rows[i].action;
        if (action == RowAction::Back) {
            CentredText(rows[i].label, 615, 24, Color{240, 234, 222, 255});
            continue;
        }
        ui::Text(rows[i].label, kSettingLabelX, rowY + 14, kSettingLabelSize, Color{238, 232, 220, 255});
        const std::string value = SettingValue(settings, action);
        ui::Text(value.c_str(), ui::RightAlignedX(kSettingValueRight, ui::Measure(value.c_str(), kSettingValueSize)),
                 rowY + 16, kSettingValueSize, Color{214, 198, 166, 255});
        if (action == RowAction::RenderDistance) {
            DrawSlider(settings.renderDistance);
        }
    }
}

void Menu::DrawExitConfirm() const {
    DrawRectangle(0, 0, frame::kUiWidth, frame::kUiHeight, Color{0, 0, 0, 170});
    RoundedPanel(kExitPanel, 0.05f, 8, kDialogFill, kDialogOutline);
    CentredText("ВЫЙТИ ИЗ ИГРЫ?", 357, 28, kDialogTitle);
    if (page == Page::Pause) {
        CentredText("Перед выходом в меню забег сохраняется.", 403, 18, kDialogText);
        CentredText("Куда отправиться?", 433, 16, Color{160, 152, 138, 255});
    } else {
        CentredText("Выйти и закрыть игру?", 403, 18, kDialogText);
    }
    const std::span<const Row> buttons = ExitRows();
    for (size_t i = 0; i < buttons.size(); ++i) {
        const bool focus = exitChoice == static_cast<int>(i);
        DrawButton(ExitButton(static_cast<int>(i)), buttons[i].label, focus, focus, true);
    }
}

void Menu::DrawResolutionDropdown(const GameSettings& settings) const {
    RoundedPanel(kDropdownPanel, 0.06f, 6, Color{20, 20, 24, 248}, Color{130, 118, 96, 255});
    for (int i = 0; i < cfg::kResolutionCount; ++i) {
        const Rectangle row = DropdownRow(i);
        DrawRectangleRounded(row, 0.2f, 5, i == dropdownIndex ? Color{92, 84, 68, 245} : Color{30, 30, 34, 235});
        const bool current = i == settings.resolution;
        const int rowY = static_cast<int>(row.y);
        ui::Text(SizeText(i).c_str(), 578, rowY + 6, 22,
                 current ? Color{244, 230, 196, 255} : Color{224, 216, 200, 255});
        if (current) {
            ui::Text("текущее", 950, rowY + 8, 16, Color{198, 176, 126, 255});
        }
    }
}

void Menu::DrawResolutionConfirm(const GameSettings& settings) const {
    DrawRectangle(0, 0, frame::kUiWidth, frame::kUiHeight, Color{0, 0, 0, 150});
    RoundedPanel(kConfirmPanel, 0.05f, 8, kDialogFill, kDialogOutline);
    CentredText("ОСТАВИТЬ ЭТО РАЗРЕШЕНИЕ?", 361, 26, kDialogTitle);
    CentredText(SizeText(settings.resolution).c_str(), 407, 34, kAccent);
    char countdown[64];
    std::snprintf(countdown, sizeof countdown, "Возврат через %d с",
                  static_cast<int>(std::ceil(std::max(confirmTimer, 0.0f))));
    CentredText(countdown, 453, 18, kDialogText);
    const bool keep = confirmChoice == kConfirmKeep;
    const bool revert = confirmChoice == kConfirmRevert;
    DrawButton(kKeepButton, "Оставить", keep, keep, true);
    DrawButton(kRevertButton, "Вернуть", revert, revert, true);
}
