// hud_layout.h: the HUD's texts, thresholds and shapes as pure functions of
// plain values, so the drawing code only places them and tests can read them.
#pragma once
#include <array>

#include "actors/settlement.h"
#include "game/rules/fuel_goal.h"
#include "game/rules/items.h"
#include "game/rules/weapons.h"
#include "raylib.h"

// A formatted HUD text in a fixed buffer: formatting it allocates nothing.
struct HudLine {
    std::array<char, 384> buf{};
    const char* c_str() const { return buf.data(); }
    bool empty() const { return buf[0] == '\0'; }
};

// printf-style into a HudLine; overlong text is cut, never overrun.
HudLine FormatHudLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

namespace hud {

inline constexpr int kFuelGoalMinutes = static_cast<int>(cfg::kWinFuelSeconds / 60.0f);

// The left margin of the goal, debug, airship, warning and help lines, and
// the column the prompt, status line and compass are centred on.
inline constexpr int kLeftX = 24;
inline constexpr float kCentreX = 800.0f;

// ---- Goal line ----
inline constexpr int kGoalLineY = 20;
inline constexpr int kGoalLineSize = 20;
inline constexpr Color kGoalLineColour{222, 208, 182, 255};
struct GoalState {
    bool rewardGiven;
    int foodShared;
    bool furnaceBroken;
    int partsInstalled;
    float homeFuel;
};
HudLine GoalText(const GoalState& s);

// ---- Debug overlay ----
inline constexpr int kDebugPositionY = 48;
inline constexpr int kDebugChunkY = 74;
inline constexpr int kDebugStatsY = 100;
inline constexpr int kDebugLineSize = 20;
inline constexpr Color kDebugBright{238, 230, 214, 255};
inline constexpr Color kDebugStatsColour{210, 198, 178, 255};
struct ClockTime {
    int hour;
    int minute;
};
ClockTime ClockFromTimeOfDay(float timeOfDay);
const char* WeatherWord(float weatherIntensity);

// Whole metres of a distance as the HUD shows it: truncated, and held at the
// largest int when the distance is too far to count (or not a number: 0).
int ShownMetres(float distance);

// ---- Airship and tower lines ----
struct AirshipLineValues {
    float fuel;
    int bunkerCoal;
    int coalCarried;
    float cabinTemp;
    float altitude;
    float throttle;
    float speed;
    float furnaceTemp;
};
HudLine AirshipLineText(const AirshipLineValues& v);
HudLine TowerLineText(int currentFloor, int floorCount, int dockFloor, bool moored);

// Where the two warnings under the airship or tower line go; y 0 = not shown.
inline constexpr int kWarningSize = 20;
inline constexpr Color kColdFurnaceColour{232, 92, 64, 255};
inline constexpr Color kFreezingColour{150, 206, 255, 255};
struct WarningRows {
    int coldFurnaceY;
    int freezingY;
};
WarningRows AirshipWarnings(bool piloting, float airshipFuel, float warmth);
WarningRows TowerWarnings(float warmth);

// ---- Need bars and thermometer ----
inline constexpr float kNeedBarWidth = 160.0f;
// Width of a need bar's fill, and whether one that narrow is drawn at all.
float NeedFillWidth(float value);
bool NeedFillShown(float fillWidth);
float ThermometerColumn(float temperature);
bool ThermometerColumnShown(float height);
// A shown temperature (air, cabin, furnace), rounded half away from zero:
// -1.0 reads -1 and -0.5 reads -1, where truncate(v + 0.5) would read 0.
int ShownTemperature(float temperature);

// ---- Home settlement panel ----
// Wide enough for its longest line, the fuel goal, with 10 px to either side;
// the texts start and the bar runs from kPanelTextX to the right margin.
inline constexpr Rectangle kHomePanel{1212.0f, 248.0f, 334.0f, 112.0f};
inline constexpr int kPanelTextX = 1222;
inline constexpr float kPanelRight = 1536.0f;
inline constexpr float kPanelBarWidth = kPanelRight - static_cast<float>(kPanelTextX);
float HomeDistance(float homeX, float homeZ, float playerX, float playerZ);
// Seconds until the coldest living survivor freezes (never below 0).
float FreezeSeconds(float coldestWarmth);
// "m:ss" of whole seconds (never below 0).
HudLine MinutesSeconds(float seconds);
bool PanelFillShown(float fraction);

// ---- Airship and tower line, and the compass to home beneath it ----
inline constexpr int kShipLineX = kLeftX;
inline constexpr int kShipLineY = 48;
inline constexpr int kShipLineSize = 20;
inline constexpr Color kShipLineColour{238, 210, 160, 255};
inline constexpr float kCompassMinDistance = 40.0f;
// The disc clears the airship line, which runs across the top of the screen.
inline constexpr Vector2 kCompassCentre{kCentreX, 102.0f};
inline constexpr float kCompassRadius = 30.0f;
inline constexpr int kCompassLabelY = 136;
inline constexpr int kCompassLabelSize = 16;
// Drawn faded: the disc to 0.55, its rim to 0.45, the label to 0.85 and the
// arrow pulsing between 0.65 and 1.
inline constexpr Color kCompassDisc{16, 20, 28, 255};
inline constexpr Color kCompassRim{220, 206, 178, 255};
inline constexpr Color kCompassArrowColour{246, 168, 88, 255};
inline constexpr Color kCompassLabelColour{238, 226, 202, 255};
bool CompassShown(float distance);
// The arrow's two triangles (T, L, N) and (T, N, R) for a home offset
// (dx, dz) = home - player; the view is never rotated.
struct CompassArrow {
    Vector2 tip;
    Vector2 left;
    Vector2 notch;
    Vector2 right;
};
CompassArrow CompassArrowFor(float dx, float dz);
float CompassPulse(float clock);

// ---- Interaction prompt ----
inline constexpr int kPromptY = 792;
inline constexpr int kPromptSize = 22;
inline constexpr Color kPromptColour{255, 244, 220, 255};
// Station numbers as the airship names them: 0 none, 1 helm, 2 furnace, 3 coal bunker.
struct PromptState {
    bool piloting;
    bool aboard;
    int station;
    int bunkerCoal;
    bool inTower;
    bool onStairs;
    ItemType towerItem;
    bool nearLoosePart;
    bool nearFurnace;
    bool furnaceBroken;
    int partsInstalled;
    bool rewardGiven;
    int foodShared;
    float homeDistanceSq;
    bool nearBoarding;
    bool axeNearTree;
    int targetKind;
    ItemType targetItem;
};
HudLine PromptText(const PromptState& s);

// ---- Status line, hotbar, help and weapon lines ----
inline constexpr int kStatusY = 760;
inline constexpr int kStatusSize = 20;
inline constexpr Color kStatusColour{240, 226, 190, 255};

inline constexpr Color kHotbarFill{26, 26, 30, 210};
inline constexpr Color kHotbarSelected{232, 206, 150, 255};
inline constexpr Color kHotbarEdge{84, 80, 72, 255};
// A slot's count and key label sit at these offsets from its box's left edge.
inline constexpr int kHotbarCountDx = 34;
inline constexpr int kHotbarCountY = 866;
inline constexpr int kHotbarCountSize = 16;
inline constexpr Color kHotbarCountColour{245, 240, 230, 255};
inline constexpr int kHotbarKeyDx = 5;
inline constexpr int kHotbarKeyY = 838;
inline constexpr int kHotbarKeySize = 14;
inline constexpr Color kHotbarKeyColour{170, 162, 148, 255};

inline constexpr int kHelpY = 808;
inline constexpr int kHelpSize = 18;
inline constexpr Color kHelpColour{225, 214, 196, 255};

// The weapon line is right-aligned at kWeaponLineRight, level with the help.
inline constexpr float kWeaponLineRight = 1576.0f;
inline constexpr int kWeaponLineY = kHelpY;
inline constexpr int kWeaponLineSize = 20;
inline constexpr Color kWeaponLineColour{232, 220, 196, 255};
inline constexpr Color kReloadingColour{228, 176, 96, 255};
float StatusAlpha(float messageTimer);
Rectangle HotbarSlotBox(int slot);
// "1".."9" for slots 0..8 and "0" for slot 9.
const char* HotbarKeyLabel(int slot);
int CoalCarried(const Inventory& inv);
int CartridgesInReserve(const Inventory& inv);
const char* HelpText(bool piloting, bool aboard);
// The weapon line's text; reloading takes precedence over the weapon.
HudLine WeaponLineText(bool reloading, WeaponKind weapon, int magazine, int reserve);

}  // namespace hud
