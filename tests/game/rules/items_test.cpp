// items_test.cpp: the item table, the inventory's stacking rules, and the
// window-free parts of the inventory view (slot hit test, tooltip, UI mouse).
#include "game/rules/items.h"

#include <gtest/gtest.h>

#include <string>

#include "game/hud/inventory_view.h"

namespace {

void FillAll(Inventory& inv, ItemType type, int count) {
    for (InventorySlot& slot : inv.slots) slot = InventorySlot{type, count};
}

TEST(ItemDetails, KindsOutsideOneToNineAreEmptyAndTransparent) {
    for (int k : {0, 10, 200, 255}) {
        const ItemInfo info = ItemDetails(static_cast<ItemType>(k));
        EXPECT_STREQ(info.name, "") << k;
        EXPECT_EQ(info.food + info.water + info.health, 0) << k;
        EXPECT_EQ(info.colour.r, 0);
        EXPECT_EQ(info.colour.g, 0);
        EXPECT_EQ(info.colour.b, 0);
        EXPECT_EQ(info.colour.a, 0);
    }
}

TEST(Inventory, AddingNoneChangesNothing) {
    Inventory inv;
    inv.slots[3] = InventorySlot{ItemType::Ammo, 2};
    EXPECT_EQ(inv.Add(ItemType::None), -1);
    for (int i = 0; i < Inventory::kSlotCount; ++i) {
        EXPECT_EQ(inv.slots[i].count, i == 3 ? 2 : 0);
        EXPECT_EQ(inv.slots[i].type, i == 3 ? ItemType::Ammo : ItemType::None);
    }
}

TEST(Inventory, PartlyFilledStackIsFilledBeforeANewSlot) {
    Inventory inv;
    inv.slots[0] = InventorySlot{ItemType::Coal, 9};
    inv.slots[5] = InventorySlot{ItemType::Coal, 4};
    EXPECT_EQ(inv.Add(ItemType::Coal), 5);
    EXPECT_EQ(inv.slots[5].count, 5);
    EXPECT_EQ(inv.slots[0].count, 9);
    EXPECT_EQ(inv.slots[1].count, 0);

    for (int i = 0; i < 4; ++i) EXPECT_EQ(inv.Add(ItemType::Coal), 5);
    EXPECT_EQ(inv.slots[5].count, 9);
    // Every coal stack full: the lowest empty slot opens a new one.
    EXPECT_EQ(inv.Add(ItemType::Coal), 1);
    EXPECT_EQ(inv.slots[1].type, ItemType::Coal);
    EXPECT_EQ(inv.slots[1].count, 1);
}

TEST(Inventory, FullInventoryRefusesAndOneEmptySlotAccepts) {
    Inventory inv;
    FillAll(inv, ItemType::Firewood, 9);
    EXPECT_FALSE(inv.HasRoomFor(ItemType::Firewood));
    EXPECT_FALSE(inv.HasRoomFor(ItemType::Water));
    const Inventory before = inv;
    EXPECT_EQ(inv.Add(ItemType::Firewood), -1);
    EXPECT_EQ(inv.Add(ItemType::Water), -1);
    for (int i = 0; i < Inventory::kSlotCount; ++i) EXPECT_EQ(inv.slots[i].count, before.slots[i].count);

    // A stack of the kind below nine is room for that kind only.
    inv.slots[17].count = 8;
    EXPECT_TRUE(inv.HasRoomFor(ItemType::Firewood));
    EXPECT_FALSE(inv.HasRoomFor(ItemType::Water));
    EXPECT_EQ(inv.Add(ItemType::Water), -1);
    EXPECT_EQ(inv.Add(ItemType::Firewood), 17);

    inv.slots[33] = InventorySlot{};
    EXPECT_TRUE(inv.HasRoomFor(ItemType::Water));
    EXPECT_EQ(inv.Add(ItemType::Water), 33);
}

TEST(Inventory, RemoveOneTakesFromTheLowestSlotAndResetsEmptiedSlots) {
    Inventory inv;
    inv.slots[2] = InventorySlot{ItemType::Groats, 1};
    inv.slots[7] = InventorySlot{ItemType::Groats, 3};
    EXPECT_TRUE(inv.RemoveOne(ItemType::Groats));
    EXPECT_EQ(inv.slots[2].type, ItemType::None);
    EXPECT_EQ(inv.slots[2].count, 0);
    EXPECT_EQ(inv.slots[7].count, 3);
    EXPECT_TRUE(inv.RemoveOne(ItemType::Groats));
    EXPECT_EQ(inv.slots[7].count, 2);
    EXPECT_FALSE(inv.RemoveOne(ItemType::Medkit));

    // The emptied slot is the lowest empty one again.
    inv.slots[0] = InventorySlot{ItemType::Ammo, 9};
    inv.slots[1] = InventorySlot{ItemType::Ammo, 9};
    EXPECT_EQ(inv.Add(ItemType::Medkit), 2);
    EXPECT_EQ(inv.slots[2].type, ItemType::Medkit);
}

TEST(InventoryView, SlotHitTestAtCellEdges) {
    EXPECT_EQ(InventorySlotAt(Vector2{444.0f, 320.0f}), 0);
    EXPECT_EQ(InventorySlotAt(Vector2{507.9f, 383.9f}), 0);
    EXPECT_EQ(InventorySlotAt(Vector2{508.0f, 350.0f}), -1);  // gap right of slot 0
    EXPECT_EQ(InventorySlotAt(Vector2{470.0f, 384.0f}), -1);  // gap below slot 0
    EXPECT_EQ(InventorySlotAt(Vector2{443.9f, 330.0f}), -1);
    EXPECT_EQ(InventorySlotAt(Vector2{516.0f, 392.0f}), 11);
    EXPECT_EQ(InventorySlotAt(Vector2{1092.0f, 320.0f}), 9);
    EXPECT_EQ(InventorySlotAt(Vector2{1155.9f, 599.9f}), 39);
    EXPECT_EQ(InventorySlotAt(Vector2{1156.0f, 599.0f}), -1);
    EXPECT_EQ(InventorySlotAt(Vector2{1100.0f, 600.0f}), -1);
    EXPECT_EQ(InventorySlotAt(Vector2{444.0f, 536.0f}), 30);

    const Rectangle cell = InventoryCell(27);
    EXPECT_EQ(cell.x, 444.0f + 72.0f * 7.0f);
    EXPECT_EQ(cell.y, 464.0f);
    EXPECT_EQ(cell.width, 64.0f);
}

TEST(InventoryView, TooltipTextListsWhatTheItemRestores) {
    EXPECT_EQ(InventoryTooltipText(ItemType::Groats), "Крупа   +30 сытость");
    EXPECT_EQ(InventoryTooltipText(ItemType::Water), "Вода   +55 вода");
    EXPECT_EQ(InventoryTooltipText(ItemType::Medkit), "Аптечка   +50 HP");
    EXPECT_EQ(InventoryTooltipText(ItemType::FuelCan), "Канистра");
    EXPECT_EQ(InventoryTooltipText(ItemType::SparePart), "Запасная часть");
}

TEST(InventoryView, TooltipBoxFollowsTheMouseAndStaysInside) {
    Rectangle box = InventoryTooltipBox(120.7f, Vector2{600.0f, 400.0f});
    EXPECT_EQ(box.x, 614.0f);
    EXPECT_EQ(box.y, 416.0f);
    EXPECT_EQ(box.width, 144.0f);
    EXPECT_EQ(box.height, 34.0f);

    // Near the right edge the box moves left so its right edge is at 1592.
    box = InventoryTooltipBox(200.0f, Vector2{1500.0f, 880.0f});
    EXPECT_EQ(box.x + box.width, 1592.0f);
    EXPECT_EQ(box.y, 896.0f);

    // A box wider than the space still starts at 8.
    box = InventoryTooltipBox(1700.0f, Vector2{100.0f, 10.0f});
    EXPECT_EQ(box.x, 8.0f);
}

TEST(InventoryView, MouseIsDividedByTheUiScale) {
    Vector2 p = ToUiSpace(Vector2{800.0f, 450.0f}, 3200);
    EXPECT_EQ(p.x, 400.0f);
    EXPECT_EQ(p.y, 225.0f);
    p = ToUiSpace(Vector2{640.0f, 360.0f}, 1280);
    EXPECT_FLOAT_EQ(p.x, 800.0f);
    EXPECT_FLOAT_EQ(p.y, 450.0f);
    for (int width : {0, -5}) {
        p = ToUiSpace(Vector2{123.0f, 45.0f}, width);
        EXPECT_EQ(p.x, 123.0f);
        EXPECT_EQ(p.y, 45.0f);
    }
}

}  // namespace
