// The one colour table of the item kinds, which the world, the tower floor and
// the inventory all paint from.
#include "world/item_colours.h"

#include <gtest/gtest.h>

namespace {

TEST(ItemColours, NoneAndUnknownKindsAreInvisible) {
    EXPECT_EQ(ItemColour(ItemType::None).a, 0);
    EXPECT_EQ(ItemColour(static_cast<ItemType>(10)).a, 0);
    EXPECT_EQ(ItemColour(static_cast<ItemType>(200)).a, 0);
    for (int kind = 1; kind <= 9; ++kind) {
        EXPECT_EQ(ItemColour(static_cast<ItemType>(kind)).a, 255) << kind;
    }
}

TEST(ItemColours, EveryKindHasItsOwnColour) {
    struct Row {
        ItemType kind;
        Color colour;
    };
    const Row rows[] = {
        {ItemType::None, {0, 0, 0, 0}},
        {ItemType::Groats, {214, 168, 92, 255}},
        {ItemType::CannedFood, {126, 138, 146, 255}},
        {ItemType::Water, {86, 142, 190, 255}},
        {ItemType::Medkit, {226, 228, 226, 255}},
        {ItemType::FuelCan, {196, 120, 52, 255}},
        {ItemType::Coal, {46, 46, 50, 255}},
        {ItemType::Ammo, {176, 138, 62, 255}},
        {ItemType::Firewood, {124, 84, 48, 255}},
        {ItemType::SparePart, {148, 162, 176, 255}},
        {static_cast<ItemType>(10), {0, 0, 0, 0}},
        {static_cast<ItemType>(255), {0, 0, 0, 0}},
    };
    for (const Row& row : rows) {
        const Color c = ItemColour(row.kind);
        const int kind = static_cast<int>(row.kind);
        EXPECT_EQ(c.r, row.colour.r) << "kind " << kind;
        EXPECT_EQ(c.g, row.colour.g) << "kind " << kind;
        EXPECT_EQ(c.b, row.colour.b) << "kind " << kind;
        EXPECT_EQ(c.a, row.colour.a) << "kind " << kind;
    }
}

}  // namespace
