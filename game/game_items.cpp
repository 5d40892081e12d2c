// game_items.cpp: the player's item actions: E picks up the targeted ground
// item, F searches the targeted cabinet, and a click in the open inventory
// window eats, drinks or heals.
#include <algorithm>

#include "game/game.h"
#include "game/inventory_view.h"
#include "game/survival.h"
#include "game/window.h"

namespace {

constexpr const char* kInventoryFull = "Инвентарь полон";

void ClearTarget(Game& game) {
    game.target = Interaction{};
}

void PickUpTarget(Game& game) {
    const ItemType wanted = game.target.itemType;
    if (wanted == ItemType::None || !game.inventory.HasRoomFor(wanted)) {
        game.SetMessage(kInventoryFull);
        return;
    }
    const ItemType taken = game.world->PickupItem(game.target.id);
    if (taken == ItemType::None) return;
    game.inventory.Add(taken);
    game.SetMessage(std::string("Подобрал: ") + ItemDetails(taken).name);
    ClearTarget(game);
}

void SearchTarget(Game& game) {
    const uint64_t id = game.target.id;
    const ItemType loot = game.world->PeekCabinet(id);
    if (loot == ItemType::None) {
        game.SetMessage("Шкаф пуст");
    } else if (!game.inventory.HasRoomFor(loot)) {
        // The cabinet stays unsearched, so the same loot waits for a later try.
        game.SetMessage(kInventoryFull);
    } else {
        game.world->SearchCabinet(id);
        game.inventory.Add(loot);
        game.SetMessage(std::string("Найдено в шкафу: ") + ItemDetails(loot).name);
    }
    ClearTarget(game);
}

}  // namespace

std::string UseInventorySlot(Inventory& inventory, int slot, Needs& needs) {
    if (slot < 0 || slot >= Inventory::kSlotCount) return "";
    InventorySlot& cell = inventory.slots[static_cast<size_t>(slot)];
    if (cell.count < 1) return "";
    if (cell.type == ItemType::Coal) return "Уголь нужен в печь дирижабля";
    if (cell.type == ItemType::SparePart) return "Запчасти нужны большому генератору дома";

    const ItemInfo info = ItemDetails(cell.type);
    if (info.food == 0 && info.water == 0 && info.health == 0) return "";

    needs.food = std::min(needs.food + static_cast<float>(info.food), cfg::kNeedMax);
    needs.water = std::min(needs.water + static_cast<float>(info.water), cfg::kNeedMax);
    needs.health = std::min(needs.health + static_cast<float>(info.health), cfg::kNeedMax);
    // Only the clicked stack pays, not the first stack of that kind.
    if (--cell.count == 0) cell = InventorySlot{};
    return std::string("Использовано: ") + info.name;
}

void Game::HandleSurvivalInput() {
    if (inventoryOpen) {
        if (!input.leftPressed) return;
        const int slot = InventorySlotAt(ToUiSpace(input.mouse, window::Width()));
        Needs needs{food, water, health, warmth};
        const std::string text = UseInventorySlot(inventory, slot, needs);
        food = needs.food;
        water = needs.water;
        health = needs.health;
        if (!text.empty()) SetMessage(text);
        return;
    }
    if (!world) return;
    if (input.Pressed(KEY_E) && target.kind == kInteractionItem) PickUpTarget(*this);
    if (input.Pressed(KEY_F) && target.kind == kInteractionCabinet) SearchTarget(*this);
}
