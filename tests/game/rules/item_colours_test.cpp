// The inventory's item details take each kind's colour from the world's one
// colour table: a colour taken for the wrong kind would paint it wrongly.
#include <gtest/gtest.h>

#include "game/rules/items.h"
#include "world/item_colours.h"

TEST(ItemColours, InventoryTableMatchesTheSharedColourForEveryKind) {
    for (int value = 0; value <= 12; ++value) {
        const ItemType kind = static_cast<ItemType>(value);
        const Color shared = ItemColour(kind);
        const Color inventory = ItemDetails(kind).colour;
        EXPECT_EQ(shared.r, inventory.r) << "kind " << value;
        EXPECT_EQ(shared.g, inventory.g) << "kind " << value;
        EXPECT_EQ(shared.b, inventory.b) << "kind " << value;
        EXPECT_EQ(shared.a, inventory.a) << "kind " << value;
    }
}
