// game_hud_panels.cpp: need bars, air thermometer and home settlement panel.
#include "game/game_hud_panels.h"

#include <algorithm>

#include "game/game.h"
#include "game/hud/hud_layout.h"
#include "game/view/ui_font.h"
#include "world/clamps.h"

namespace hud {

namespace {

constexpr Color kTrack{24, 24, 28, 220};
constexpr Color kTrackOutline{90, 86, 78, 255};
constexpr Color kLabel{226, 216, 198, 255};
constexpr Color kNumber{214, 204, 186, 255};
constexpr Color kColdBlue{124, 190, 232, 255};
constexpr Color kPanelText{208, 198, 180, 255};

struct NeedRow {
    const char* label;
    float value;
    int labelY;
    Color fill;
};

void DrawNeedRow(const NeedRow& row) {
    const float barY = static_cast<float>(row.labelY + 2);
    const Rectangle box{1386.0f, barY, kNeedBarWidth, 14.0f};
    ui::Text(row.label, 1300, row.labelY, 16, kLabel);
    DrawRectangleRounded(box, 0.5f, 4, kTrack);
    const float w = NeedFillWidth(row.value);
    if (NeedFillShown(w)) DrawRectangleRounded(Rectangle{1386.0f, barY, w, 14.0f}, 0.5f, 4, row.fill);
    DrawRectangleRoundedLines(box, 0.5f, 4, kTrackOutline);
    ui::Text(TextFormat("%d", ui::HalfUp(row.value)), 1554, row.labelY, 16, kNumber);
}

// The panel's progress bar: track, fill of the given fraction, outline.
void DrawPanelBar(float fraction, Color fill) {
    const Rectangle box{static_cast<float>(kPanelTextX), 280.0f, kPanelBarWidth, 12.0f};
    DrawRectangleRounded(box, 0.5f, 4, kTrack);
    if (PanelFillShown(fraction)) {
        DrawRectangleRounded(Rectangle{box.x, 280.0f, kPanelBarWidth * fraction, 12.0f}, 0.5f, 4, fill);
    }
    DrawRectangleRoundedLines(box, 0.5f, 4, kTrackOutline);
}

void DrawBrokenFurnace(const HomeSettlement& home, float distance) {
    DrawPanelBar(Clamp01NanToZero(static_cast<float>(home.parts) / static_cast<float>(kFurnacePartsNeeded)),
                 Color{114, 148, 176, 255});
    ui::Text(TextFormat("СЛОМАН   части %d / %d", home.parts, kFurnacePartsNeeded), kPanelTextX, 298, 18,
             Color{222, 132, 96, 255});
    const float freeze = FreezeSeconds(home.coldestWarmth());
    const Color freezeColour = freeze < 120.0f ? Color{232, 96, 74, 255} : Color{226, 206, 176, 255};
    ui::Text(TextFormat("замёрзнет через %s", MinutesSeconds(freeze).c_str()), kPanelTextX, 322, 15, freezeColour);
    ui::Text(TextFormat("дом %d м   -   ищи в городе", ShownMetres(distance)), kPanelTextX, 342, 15, kPanelText);
}

void DrawWorkingFurnace(const HomeSettlement& home, float distance) {
    const float fuel = home.fuel;
    DrawPanelBar(Clamp01NanToZero(fuel / home.maxFuel()),
                 fuel > 60.0f ? Color{214, 128, 62, 255} : Color{204, 74, 58, 255});
    ui::Text(MinutesSeconds(fuel).c_str(), kPanelTextX, 298, 18,
             fuel > 0.0f ? Color{240, 228, 200, 255} : Color{222, 104, 84, 255});
    ui::Text(TextFormat("тепло %d%%   дом %d м", ui::HalfUp(home.heat * 100.0f), ShownMetres(distance)), kPanelTextX,
             322, 15, kPanelText);
    ui::Text(TextFormat("цель: %d мин огня, чтобы пережить зиму", kFuelGoalMinutes), kPanelTextX, 342, 15,
             fuel >= cfg::kWinFuelSeconds ? Color{150, 214, 158, 255} : kPanelText);
}

}  // namespace

void DrawNeedBars(const Game& game) {
    const NeedRow rows[] = {
        {"Голод", game.food, 24, Color{208, 158, 86, 255}},
        {"Жажда", game.water, 50, Color{88, 146, 204, 255}},
        {"Здоровье", game.health, 76, Color{204, 82, 74, 255}},
        {"Тепло", game.warmth, 102, Color{232, 164, 112, 255}},
    };
    for (const NeedRow& row : rows) DrawNeedRow(row);
}

void DrawAirThermometer(const Game& game) {
    const float t = game.world->atmosphere.temperature;
    const Rectangle tube{1366.0f, 134.0f, 12.0f, 88.0f};
    ui::Text("Темп", 1300, 136, 16, kLabel);
    DrawRectangleRounded(tube, 0.5f, 6, kTrack);
    DrawRectangleRoundedLines(tube, 0.5f, 6, kTrackOutline);
    const float h = ThermometerColumn(t);
    if (ThermometerColumnShown(h)) {
        DrawRectangleRounded(Rectangle{1366.0f, 222.0f - h, 12.0f, h}, 0.5f, 6, kColdBlue);
    }
    DrawCircleV(Vector2{1372.0f, 227.0f}, 9.0f, kColdBlue);
    DrawCircleV(Vector2{1372.0f, 227.0f}, 4.0f, Color{40, 70, 96, 255});
    ui::Text(TextFormat("%d C", ShownTemperature(t)), 1388, 164, 22, Color{238, 232, 220, 255});
    ui::Text("-30", 1388, 132, 14, Color{170, 162, 148, 255});
    ui::Text("-65", 1388, 210, 14, Color{170, 162, 148, 255});
}

void DrawHomePanel(const Game& game) {
    const HomeSettlement& home = game.home;
    const Vector3 eye = game.player.position();
    const float distance = HomeDistance(home.cx, home.cz, eye.x, eye.z);

    DrawRectangleRounded(kHomePanel, 0.1f, 6, Color{20, 22, 26, 175});
    ui::Text("ДОМАШНИЙ ОЧАГ", kPanelTextX, 256, 16, Color{232, 222, 202, 255});
    const int alive = home.survivorsAlive();
    const HudLine count = FormatHudLine("%d / %d", alive, static_cast<int>(home.survivors.size()));
    ui::Text(count.c_str(), ui::RightAlignedX(kPanelRight, ui::Measure(count.c_str(), 16)), 256, 16,
             alive > 0 ? Color{206, 220, 214, 255} : Color{214, 96, 78, 255});

    if (home.broken) {
        DrawBrokenFurnace(home, distance);
    } else {
        DrawWorkingFurnace(home, distance);
    }
}

}  // namespace hud
