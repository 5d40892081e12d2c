// hud_test.cpp: the HUD's texts, thresholds and shapes computed without a
// window: goal stages, need bars, thermometer, panel countdowns, the compass,
// the interaction prompt's priorities, the hotbar and the weapon line.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "game/hud/hud_layout.h"
#include "game/rules/survival.h"
#include "world/streaming.h"

namespace {

std::string Str(const HudLine& line) {
    return line.c_str();
}

TEST(HudGoal, StagesFollowRewardRepairAndFuel) {
    hud::GoalState s{false, 2, true, 0, 0.0f};
    EXPECT_EQ(Str(hud::GoalText(s)), "Этап 1/3 - поделись едой с выжившими: 2 / 3 (F у котла)");
    s.rewardGiven = true;
    s.partsInstalled = 1;
    EXPECT_EQ(Str(hud::GoalText(s)), "Этап 2/3 - почини большой котёл: части 1 / 3 (ищи в городах)");
    s.furnaceBroken = false;
    s.homeFuel = 899.9f;
    EXPECT_EQ(Str(hud::GoalText(s)), "Этап 3/3 - запаси огонь в котле: 14 / 15 мин");
    s.homeFuel = 900.0f;
    EXPECT_EQ(Str(hud::GoalText(s)), "Дом переживёт зиму - огонь не гаснет");
}

TEST(HudGoal, SharingFoodIsStageOneEvenWithTheFurnaceRepaired) {
    const hud::GoalState s{false, 0, false, 3, 1800.0f};
    EXPECT_EQ(Str(hud::GoalText(s)), "Этап 1/3 - поделись едой с выжившими: 0 / 3 (F у котла)");
}

TEST(HudNeeds, FillWidthIsClampedAndNarrowFillsAreNotDrawn) {
    EXPECT_FLOAT_EQ(hud::NeedFillWidth(0.0f), 0.0f);
    EXPECT_FALSE(hud::NeedFillShown(hud::NeedFillWidth(0.0f)));
    EXPECT_FALSE(hud::NeedFillShown(hud::NeedFillWidth(1.0f)));
    EXPECT_FALSE(hud::NeedFillShown(2.0f));
    EXPECT_TRUE(hud::NeedFillShown(2.01f));
    EXPECT_TRUE(hud::NeedFillShown(hud::NeedFillWidth(1.5f)));
    EXPECT_FLOAT_EQ(hud::NeedFillWidth(140.0f), 160.0f);
    EXPECT_FLOAT_EQ(hud::NeedFillWidth(-5.0f), 0.0f);
}

TEST(HudThermometer, ColumnSpansMinus65ToMinus30AndTextRoundsAwayFromZero) {
    EXPECT_FLOAT_EQ(hud::ThermometerColumn(-65.0f), 0.0f);
    EXPECT_FLOAT_EQ(hud::ThermometerColumn(-30.0f), 88.0f);
    EXPECT_FLOAT_EQ(hud::ThermometerColumn(-47.5f), 44.0f);
    EXPECT_FALSE(hud::ThermometerColumnShown(hud::ThermometerColumn(-64.7f)));
    EXPECT_TRUE(hud::ThermometerColumnShown(hud::ThermometerColumn(-64.0f)));
    EXPECT_EQ(hud::ShownTemperature(-47.5f), -48);
    EXPECT_EQ(hud::ShownTemperature(-47.4f), -47);
    EXPECT_EQ(hud::ShownTemperature(-0.4f), 0);
}

TEST(HudPanel, CountdownsShowMinutesAndSecondsAndNeverGoNegative) {
    EXPECT_EQ(Str(hud::MinutesSeconds(hud::FreezeSeconds(0.0f))), "0:00");
    EXPECT_EQ(Str(hud::MinutesSeconds(hud::FreezeSeconds(-3.0f))), "0:00");
    EXPECT_EQ(Str(hud::MinutesSeconds(hud::FreezeSeconds(9.68f))), "1:00");
    EXPECT_EQ(Str(hud::MinutesSeconds(899.9f)), "14:59");
    EXPECT_EQ(Str(hud::MinutesSeconds(1800.0f)), "30:00");
    EXPECT_FALSE(hud::PanelFillShown(0.002f));
    EXPECT_TRUE(hud::PanelFillShown(0.0021f));
}

TEST(HudDebug, ClockWeatherAndChunk) {
    const hud::ClockTime late = hud::ClockFromTimeOfDay(0.999f);  // 23.976 h
    EXPECT_EQ(late.hour, 23);
    EXPECT_EQ(late.minute, 58);
    EXPECT_EQ(hud::ClockFromTimeOfDay(1.0f).hour, 0);
    EXPECT_STREQ(hud::WeatherWord(0.71f), "blizzard");
    EXPECT_STREQ(hud::WeatherWord(0.7f), "snowfall");
    EXPECT_STREQ(hud::WeatherWord(0.15f), "clear");
    EXPECT_EQ(ChunkIndex(-0.5f), -1);
    EXPECT_EQ(ChunkIndex(63.9f), 0);
    EXPECT_EQ(ChunkIndex(64.0f), 1);
}

TEST(HudShip, AirshipAndTowerLines) {
    const hud::AirshipLineValues v{29.6f, 20, 3, 17.5f, 12.4f, 0.456f, 7.0f, 94.49f};
    EXPECT_EQ(Str(hud::AirshipLineText(v)),
              "корабль  огонь 30 с   бункер 20   уголь 3   кабина 18 C   высота 12   тяга 46%"
              "   скорость 7   печь 94 C");
    // A cold cabin and furnace round half away from zero, like the air.
    const hud::AirshipLineValues cold{0.0f, 0, 0, -1.0f, 0.0f, 0.0f, 0.0f, -2.5f};
    EXPECT_EQ(Str(hud::AirshipLineText(cold)),
              "корабль  огонь 0 с   бункер 0   уголь 0   кабина -1 C   высота 0   тяга 0%"
              "   скорость 0   печь -3 C");
    EXPECT_EQ(Str(hud::TowerLineText(11, 60, 12, true)), "башня  этаж 12 / 60   причал 13   причален");
}

TEST(HudShip, ColdFurnaceWarningPushesTheFreezingWarningDown) {
    hud::WarningRows rows = hud::AirshipWarnings(true, 0.0f, 20.0f);
    EXPECT_EQ(rows.coldFurnaceY, 74);
    EXPECT_EQ(rows.freezingY, 98);
    rows = hud::AirshipWarnings(false, 0.0f, 20.0f);
    EXPECT_EQ(rows.coldFurnaceY, 0);
    EXPECT_EQ(rows.freezingY, 74);
    rows = hud::AirshipWarnings(true, 0.5f, 25.0f);
    EXPECT_EQ(rows.coldFurnaceY, 0);
    EXPECT_EQ(rows.freezingY, 0);
    EXPECT_EQ(hud::TowerWarnings(24.9f).freezingY, 74);
    EXPECT_EQ(hud::TowerWarnings(24.9f).coldFurnaceY, 0);
    EXPECT_EQ(hud::TowerWarnings(25.0f).freezingY, 0);
}

TEST(HudCompass, ShownFromFortyUnits) {
    EXPECT_FALSE(hud::CompassShown(39.9f));
    EXPECT_TRUE(hud::CompassShown(40.0f));
    EXPECT_FLOAT_EQ(hud::HomeDistance(40.0f, 0.0f, 0.0f, 0.0f), 40.0f);
    EXPECT_FLOAT_EQ(hud::HomeDistance(3.0f, 4.0f, 0.0f, 0.0f), 5.0f);
}

// A home too far to count (a camera started at 1e30) shows the largest
// figure, never a negative one.
TEST(HudCompass, DistanceShownInWholeMetresWithoutWrapping) {
    const float tooFar = hud::HomeDistance(1e30f, 0.0f, -1e30f, 0.0f);
    EXPECT_EQ(hud::ShownMetres(46.9f), 46);
    EXPECT_EQ(hud::ShownMetres(2147483520.0f), 2147483520);
    EXPECT_EQ(hud::ShownMetres(2147483648.0f), std::numeric_limits<int>::max());
    EXPECT_EQ(hud::ShownMetres(tooFar), std::numeric_limits<int>::max());
    EXPECT_EQ(hud::ShownMetres(std::nanf("")), 0);
}

TEST(HudCompass, ArrowPointsAtHomeAndWindsCounterClockwiseOnScreen) {
    // Home straight up the screen (toward -z), about the disc's centre.
    const float cy = hud::kCompassCentre.y;
    hud::CompassArrow arrow = hud::CompassArrowFor(0.0f, -100.0f);
    EXPECT_NEAR(arrow.tip.x, 800.0f, 1e-4f);
    EXPECT_NEAR(arrow.tip.y, cy - 17.0f, 1e-4f);
    EXPECT_NEAR(arrow.left.x, 790.0f, 1e-4f);
    EXPECT_NEAR(arrow.left.y, cy + 9.0f, 1e-4f);
    EXPECT_NEAR(arrow.right.x, 810.0f, 1e-4f);
    EXPECT_NEAR(arrow.notch.y, cy + 2.0f, 1e-4f);
    // Home to the east (+x) points right.
    arrow = hud::CompassArrowFor(50.0f, 0.0f);
    EXPECT_NEAR(arrow.tip.x, 817.0f, 1e-4f);
    EXPECT_NEAR(arrow.tip.y, cy, 1e-4f);

    // Screen y runs down, so a counter-clockwise triangle has a negative cross.
    auto cross = [](Vector2 a, Vector2 b, Vector2 c) { return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x); };
    for (float angle = 0.0f; angle < 6.28f; angle += 0.5f) {
        arrow = hud::CompassArrowFor(std::sin(angle), -std::cos(angle));
        EXPECT_LT(cross(arrow.tip, arrow.left, arrow.notch), 0.0f) << angle;
        EXPECT_LT(cross(arrow.tip, arrow.notch, arrow.right), 0.0f) << angle;
    }
    EXPECT_FLOAT_EQ(hud::CompassPulse(0.0f), 0.75f);
}

hud::PromptState OnFoot() {
    hud::PromptState s{};
    s.homeDistanceSq = 10000.0f;
    s.rewardGiven = true;
    return s;
}

// A prompt shows exactly where something can be done: each state with
// nothing to do sits beside one a single field away that has a prompt, so a
// prompt that never shows fails the one and a prompt that always shows the
// other.
TEST(HudPrompt, NothingToDoMeansNoPrompt) {
    struct Case {
        const char* name;
        void (*set)(hud::PromptState&);
        const char* prompt;  // empty: none is due
    };
    const Case cases[] = {
        {"on foot with nothing near", [](hud::PromptState&) {}, ""},
        {"on deck at no station", [](hud::PromptState& s) { s.aboard = true; }, ""},
        {"coal in the bunker, away from it",
         [](hud::PromptState& s) {
             s.aboard = true;
             s.bunkerCoal = 17;
         },
         ""},
        {"at the coal bunker",
         [](hud::PromptState& s) {
             s.aboard = true;
             s.bunkerCoal = 17;
             s.station = 3;
         },
         "[E] Взять уголь (17)   [F] Вернуть уголь"},
        {"in the tower, off the stairs, no item", [](hud::PromptState& s) { s.inTower = true; }, ""},
        {"on stairs outside the tower", [](hud::PromptState& s) { s.onStairs = true; }, ""},
        {"on the tower's stairs",
         [](hud::PromptState& s) {
             s.inTower = true;
             s.onStairs = true;
         },
         "[E] Наверх   [F] Вниз"},
        {"a floor item outside the tower", [](hud::PromptState& s) { s.towerItem = ItemType::Water; }, ""},
        {"a floor item in the tower",
         [](hud::PromptState& s) {
             s.inTower = true;
             s.towerItem = ItemType::Water;
         },
         "[E] Взять: Вода"},
        {"a broken furnace, away from it",
         [](hud::PromptState& s) {
             s.furnaceBroken = true;
             s.partsInstalled = 2;
         },
         ""},
        {"at the broken furnace",
         [](hud::PromptState& s) {
             s.furnaceBroken = true;
             s.partsInstalled = 2;
             s.nearFurnace = true;
         },
         "[E] Установить запасную часть (2 / 3)"},
        {"before the reward, at the share radius",
         [](hud::PromptState& s) {
             s.rewardGiven = false;
             s.homeDistanceSq = cfg::kShareRadiusSq;
         },
         ""},
        {"before the reward, near home in the tower",
         [](hud::PromptState& s) {
             s.rewardGiven = false;
             s.homeDistanceSq = 100.0f;
             s.inTower = true;
         },
         ""},
        {"after the reward, near home", [](hud::PromptState& s) { s.homeDistanceSq = 100.0f; }, ""},
        {"before the reward, near home",
         [](hud::PromptState& s) {
             s.rewardGiven = false;
             s.homeDistanceSq = 100.0f;
         },
         "[F] Поделиться едой с выжившими (0 / 3)"},
        {"an item kind with no target", [](hud::PromptState& s) { s.targetItem = ItemType::Coal; }, ""},
        {"a targeted item",
         [](hud::PromptState& s) {
             s.targetItem = ItemType::Coal;
             s.targetKind = 1;
         },
         "[E] Взять: Уголь"},
    };
    for (const Case& c : cases) {
        hud::PromptState s = OnFoot();
        c.set(s);
        EXPECT_EQ(Str(hud::PromptText(s)), c.prompt) << c.name;
    }
}

TEST(HudPrompt, PilotingAndStations) {
    hud::PromptState s = OnFoot();
    s.aboard = true;
    s.station = 3;
    s.bunkerCoal = 17;
    EXPECT_EQ(Str(hud::PromptText(s)), "[E] Взять уголь (17)   [F] Вернуть уголь");
    s.station = 1;
    EXPECT_EQ(Str(hud::PromptText(s)), "[E] Встать к штурвалу");
    s.station = 2;
    EXPECT_EQ(Str(hud::PromptText(s)), "[E] Накормить печь (уголь или дрова)");
    s.piloting = true;
    EXPECT_EQ(Str(hud::PromptText(s)), "[E] Отпустить штурвал   W/S тяга   A/D поворот");
}

TEST(HudPrompt, TowerStairsAndItems) {
    hud::PromptState s = OnFoot();
    s.inTower = true;
    s.onStairs = true;
    s.towerItem = ItemType::Water;
    EXPECT_EQ(Str(hud::PromptText(s)), "[E] Наверх   [F] Вниз");
    s.onStairs = false;
    EXPECT_EQ(Str(hud::PromptText(s)), "[E] Взять: Вода");
    s.towerItem = ItemType::None;
    EXPECT_TRUE(hud::PromptText(s).empty());
}

TEST(HudPrompt, FurnaceAndLooseParts) {
    hud::PromptState s = OnFoot();
    s.nearFurnace = true;
    s.furnaceBroken = true;
    s.partsInstalled = 2;
    EXPECT_EQ(Str(hud::PromptText(s)), "[E] Установить запасную часть (2 / 3)");
    s.furnaceBroken = false;
    EXPECT_EQ(Str(hud::PromptText(s)), "[E] Накормить большую топку (уголь или дрова)");
    s.nearLoosePart = true;
    EXPECT_EQ(Str(hud::PromptText(s)), "[E] Взять запасную часть");
}

TEST(HudPrompt, FoodSharingOnlyOutsideTheFurnaceRangeAndBeforeTheReward) {
    hud::PromptState s = OnFoot();
    s.rewardGiven = false;
    s.foodShared = 1;
    s.homeDistanceSq = 195.9f;
    EXPECT_EQ(Str(hud::PromptText(s)), "[F] Поделиться едой с выжившими (1 / 3)");
    s.nearFurnace = true;
    EXPECT_EQ(Str(hud::PromptText(s)), "[E] Накормить большую топку (уголь или дрова)");
    s.nearFurnace = false;
    s.homeDistanceSq = 196.0f;
    EXPECT_TRUE(hud::PromptText(s).empty());
    s.homeDistanceSq = 100.0f;
    s.aboard = true;
    EXPECT_TRUE(hud::PromptText(s).empty());
    s.aboard = false;
    s.rewardGiven = true;
    EXPECT_TRUE(hud::PromptText(s).empty());
}

TEST(HudPrompt, BoardingOnlyWhenNothingElseIsOffered) {
    hud::PromptState s = OnFoot();
    s.nearBoarding = true;
    EXPECT_EQ(Str(hud::PromptText(s)), "[E] Подняться на дирижабль");
    s.nearLoosePart = true;
    EXPECT_EQ(Str(hud::PromptText(s)), "[E] Взять запасную часть");
    // Boarding ends the second group: a targeted item does not replace it.
    s.nearLoosePart = false;
    s.targetKind = 1;
    s.targetItem = ItemType::Coal;
    EXPECT_EQ(Str(hud::PromptText(s)), "[E] Подняться на дирижабль");
}

TEST(HudPrompt, AxeNearATreeReplacesStationFurnaceAndPartPrompts) {
    hud::PromptState s = OnFoot();
    s.axeNearTree = true;
    s.nearFurnace = true;
    EXPECT_EQ(Str(hud::PromptText(s)), "[ЛКМ] Срубить дерево топором");
    s.nearFurnace = false;
    s.aboard = true;
    s.station = 2;
    EXPECT_EQ(Str(hud::PromptText(s)), "[ЛКМ] Срубить дерево топором");
    s.piloting = true;
    EXPECT_EQ(Str(hud::PromptText(s)), "[E] Отпустить штурвал   W/S тяга   A/D поворот");
}

TEST(HudPrompt, TargetsReplaceThePromptAfterTheTree) {
    hud::PromptState s = OnFoot();
    s.nearFurnace = true;
    s.targetKind = 1;
    s.targetItem = ItemType::SparePart;
    EXPECT_EQ(Str(hud::PromptText(s)), "[E] Взять: Запасная часть");
    s.targetKind = 2;
    EXPECT_EQ(Str(hud::PromptText(s)), "[F] Обыскать шкаф");
    s.axeNearTree = true;
    EXPECT_EQ(Str(hud::PromptText(s)), "[ЛКМ] Срубить дерево топором");
}

TEST(HudHotbar, KeyLabelsAndCountsOverAllSlots) {
    EXPECT_STREQ(hud::HotbarKeyLabel(8), "9");
    EXPECT_STREQ(hud::HotbarKeyLabel(9), "0");

    Inventory inv;
    inv.slots[1] = InventorySlot{ItemType::Coal, 2};
    inv.slots[12] = InventorySlot{ItemType::Coal, 9};
    inv.slots[3] = InventorySlot{ItemType::Ammo, 2};
    inv.slots[39] = InventorySlot{ItemType::Ammo, 1};
    inv.slots[5] = InventorySlot{ItemType::Firewood, 4};
    EXPECT_EQ(hud::CoalCarried(inv), 11);
    EXPECT_EQ(hud::CartridgesInReserve(inv), 24);
    EXPECT_EQ(hud::CoalCarried(Inventory{}), 0);
}

TEST(HudLines, WeaponLineShowsReloadingFirst) {
    EXPECT_EQ(Str(hud::WeaponLineText(false, WeaponKind::Pistol, 5, 16)), "ПИСТОЛЕТ  5 / 16");
    EXPECT_EQ(Str(hud::WeaponLineText(true, WeaponKind::Knife, 5, 16)), "ПЕРЕЗАРЯДКА");
}

TEST(HudLine, OverlongTextIsCutInsideTheBuffer) {
    const std::string wide(1000, 'x');
    const HudLine line = FormatHudLine("%s", wide.c_str());
    EXPECT_EQ(Str(line).size(), line.buf.size() - 1);
}

}  // namespace
