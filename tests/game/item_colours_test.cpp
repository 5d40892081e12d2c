// The tower paints its floor items from a table of its own, since the actors
// may not call the game's item table: the two must never drift apart.
#include <gtest/gtest.h>

#include "actors/tower_item_colours.h"
#include "game/items.h"

TEST(ItemColours, TowerTableMatchesTheInventoryForEveryKind) {
    for (int value = 0; value <= 12; ++value) {
        const ItemType kind = static_cast<ItemType>(value);
        const Color tower = TowerItemColour(kind);
        const Color inventory = ItemDetails(kind).colour;
        EXPECT_EQ(tower.r, inventory.r) << "kind " << value;
        EXPECT_EQ(tower.g, inventory.g) << "kind " << value;
        EXPECT_EQ(tower.b, inventory.b) << "kind " << value;
        EXPECT_EQ(tower.a, inventory.a) << "kind " << value;
    }
}
