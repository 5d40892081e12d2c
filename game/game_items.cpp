// game_items.cpp: the player's item actions: E picks up the targeted ground
// item, F searches the targeted cabinet, and a click in the open inventory
// window eats, drinks or heals.
#include <string>

#include "game/game.h"
#include "game/hud/inventory_view.h"
#include "game/platform/window.h"
#include "game/rules/survival.h"

namespace {

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
