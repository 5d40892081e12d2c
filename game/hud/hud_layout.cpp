// hud_layout.cpp: the HUD's texts and formulas, free of any drawing.
#include "game/hud/hud_layout.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>
#include "game/rules/survival.h"
#include "game/view/ui_font.h"
#include "world/clamps.h"
#include "world/world_queries.h"

HudLine FormatHudLine(const char* format, ...) {
    HudLine line;
    va_list args;
    va_start(args, format);
    std::vsnprintf(line.buf.data(), line.buf.size(), format, args);
    va_end(args);
    return line;
}

namespace hud {

namespace {

HudLine Copy(const char* text) {
    return FormatHudLine("%s", text);
}

}  // namespace

HudLine GoalText(const GoalState& s) {
    if (!s.rewardGiven) {
        return FormatHudLine("Этап 1/3 - поделись едой с выжившими: %d / %d (F у котла)", s.foodShared,
                             cfg::kFoodForReward);
    }
    if (s.furnaceBroken) {
        return FormatHudLine("Этап 2/3 - почини большой котёл: части %d / %d (ищи в городах)", s.partsInstalled,
                             kFurnacePartsNeeded);
    }
    if (s.homeFuel < cfg::kWinFuelSeconds) {
        return FormatHudLine("Этап 3/3 - запаси огонь в котле: %d / %d мин", static_cast<int>(s.homeFuel / 60.0f),
                             kFuelGoalMinutes);
    }
    return Copy("Дом переживёт зиму - огонь не гаснет");
}

ClockTime ClockFromTimeOfDay(float timeOfDay) {
    const float hours = timeOfDay * 24.0f;
    const int hour = static_cast<int>(hours) % 24;
    const int minute = static_cast<int>((hours - std::floor(hours)) * 60.0f) % 60;
    return ClockTime{hour, minute};
}

const char* WeatherWord(float weatherIntensity) {
    if (weatherIntensity > 0.7f) return "blizzard";
    if (weatherIntensity > 0.15f) return "snowfall";
    return "clear";
}

int ShownMetres(float distance) {
    if (!(distance < 2147483648.0f)) return distance > 0.0f ? std::numeric_limits<int>::max() : 0;
    if (!(distance > -2147483648.0f)) return std::numeric_limits<int>::min();
    return static_cast<int>(distance);
}

HudLine AirshipLineText(const AirshipLineValues& v) {
    return FormatHudLine(
        "корабль  огонь %.0f с   бункер %d   уголь %d   кабина %d C   высота %.0f   тяга %d%%"
        "   скорость %.0f   печь %d C",
        static_cast<double>(v.fuel), v.bunkerCoal, v.coalCarried, ShownTemperature(v.cabinTemp),
        static_cast<double>(v.altitude), ui::HalfUp(v.throttle * 100.0f), static_cast<double>(v.speed),
        ShownTemperature(v.furnaceTemp));
}

HudLine TowerLineText(int currentFloor, int floorCount, int dockFloor, bool moored) {
    return FormatHudLine("башня  этаж %d / %d   причал %d   %s", currentFloor + 1, floorCount, dockFloor + 1,
                         moored ? "причален" : "дрейфует");
}

WarningRows AirshipWarnings(bool piloting, float airshipFuel, float warmth) {
    WarningRows rows{0, 0};
    if (piloting && airshipFuel <= 0.0f) rows.coldFurnaceY = 74;
    if (warmth < 25.0f) rows.freezingY = rows.coldFurnaceY != 0 ? 98 : 74;
    return rows;
}

WarningRows TowerWarnings(float warmth) {
    return WarningRows{0, warmth < 25.0f ? 74 : 0};
}

float NeedFillWidth(float value) {
    return Clamp01NanToZero(value / cfg::kNeedMax) * kNeedBarWidth;
}

bool NeedFillShown(float fillWidth) {
    return fillWidth > 2.0f;
}

float ThermometerColumn(float temperature) {
    return Clamp01NanToZero((temperature + 65.0f) / 35.0f) * 88.0f;
}

bool ThermometerColumnShown(float height) {
    return height > 1.0f;
}

int ShownTemperature(float temperature) {
    return static_cast<int>(std::lround(temperature));
}

float HomeDistance(float homeX, float homeZ, float playerX, float playerZ) {
    const float dx = homeX - playerX;
    const float dz = homeZ - playerZ;
    return std::sqrt(dx * dx + dz * dz);
}

float FreezeSeconds(float coldestWarmth) {
    return std::fmax(coldestWarmth / 0.16f, 0.0f);
}

HudLine MinutesSeconds(float seconds) {
    const int whole = seconds > 0.0f ? static_cast<int>(seconds) : 0;
    return FormatHudLine("%d:%02d", whole / 60, whole % 60);
}

bool PanelFillShown(float fraction) {
    return fraction > 0.002f;
}

bool CompassShown(float distance) {
    return distance >= kCompassMinDistance;
}

CompassArrow CompassArrowFor(float dx, float dz) {
    const float a = std::atan2(dx, -dz);
    const float s = std::sin(a);
    const float c = std::cos(a);
    const Vector2 o = kCompassCentre;
    const Vector2 u{s, -c};
    const Vector2 v{c, s};
    auto at = [&](float along, float side) {
        return Vector2{o.x + along * u.x + side * v.x, o.y + along * u.y + side * v.y};
    };
    return CompassArrow{at(17.0f, 0.0f), at(-9.0f, -10.0f), at(-2.0f, 0.0f), at(-9.0f, 10.0f)};
}

float CompassPulse(float clock) {
    return 0.75f + 0.25f * std::sin(2.2f * clock);
}

HudLine PromptText(const PromptState& s) {
    HudLine prompt;
    if (s.piloting) {
        prompt = Copy("[E] Отпустить штурвал   W/S тяга   A/D поворот");
    } else if (s.station == 1) {
        prompt = Copy("[E] Встать к штурвалу");
    } else if (s.station == 2) {
        prompt = Copy("[E] Накормить печь (уголь или дрова)");
    } else if (s.station == 3) {
        prompt = FormatHudLine("[E] Взять уголь (%d)   [F] Вернуть уголь", s.bunkerCoal);
    } else if (s.inTower && s.onStairs) {
        prompt = Copy("[E] Наверх   [F] Вниз");
    } else if (s.inTower && s.towerItem != ItemType::None) {
        prompt = FormatHudLine("[E] Взять: %s", ItemDetails(s.towerItem).name);
    } else if (s.nearLoosePart) {
        prompt = Copy("[E] Взять запасную часть");
    } else if (s.nearFurnace) {
        prompt = s.furnaceBroken
                     ? FormatHudLine("[E] Установить запасную часть (%d / %d)", s.partsInstalled, kFurnacePartsNeeded)
                     : Copy("[E] Накормить большую топку (уголь или дрова)");
    } else if (!s.rewardGiven && !s.aboard && !s.inTower && s.homeDistanceSq < cfg::kShareRadiusSq) {
        prompt = FormatHudLine("[F] Поделиться едой с выжившими (%d / %d)", s.foodShared, cfg::kFoodForReward);
    }

    if (prompt.empty() && s.nearBoarding) return Copy("[E] Подняться на дирижабль");
    if (s.axeNearTree && !s.piloting) return Copy("[ЛКМ] Срубить дерево топором");
    if (s.targetKind == kInteractionItem) return FormatHudLine("[E] Взять: %s", ItemDetails(s.targetItem).name);
    if (s.targetKind == kInteractionCabinet) return Copy("[F] Обыскать шкаф");
    return prompt;
}

float StatusAlpha(float messageTimer) {
    return std::fmin(1.0f, messageTimer);
}

Rectangle HotbarSlotBox(int slot) {
    return Rectangle{533.0f + 54.0f * static_cast<float>(slot), 836.0f, 48.0f, 48.0f};
}

const char* HotbarKeyLabel(int slot) {
    static constexpr const char* kLabels[10] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"};
    return slot >= 0 && slot < 10 ? kLabels[slot] : "";
}

int CoalCarried(const Inventory& inv) {
    int n = 0;
    for (const InventorySlot& slot : inv.slots) {
        if (slot.type == ItemType::Coal) n += slot.count;
    }
    return n;
}

int CartridgesInReserve(const Inventory& inv) {
    int boxes = 0;
    for (const InventorySlot& slot : inv.slots) {
        if (slot.type == ItemType::Ammo) boxes += slot.count;
    }
    return 8 * boxes;
}

const char* HelpText(bool piloting, bool aboard) {
    if (piloting) {
        return "W/S тяга   A/D поворот   Shift/Ctrl вверх/вниз   E штурвал   M карта   Esc меню";
    }
    if (aboard) {
        return "WASD идти   E штурвал / печь / уголь   ЛКМ огонь   Q оружие   R магазин   M карта"
               "   F5 сейв";
    }
    return "WASD идти   Shift бег   ЛКМ огонь   Q оружие   R магазин   E взять / кормить   F обыск"
           "   M карта   Esc меню";
}

HudLine WeaponLineText(bool reloading, WeaponKind weapon, int magazine, int reserve) {
    if (reloading) return Copy("ПЕРЕЗАРЯДКА");
    switch (weapon) {
        case WeaponKind::Pistol: return FormatHudLine("ПИСТОЛЕТ  %d / %d", magazine, reserve);
        case WeaponKind::Axe: return Copy("ТОПОР");
        case WeaponKind::Knife: return Copy("НОЖ");
    }
    return HudLine{};
}

}  // namespace hud
