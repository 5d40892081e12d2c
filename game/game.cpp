// game.cpp: the game object's life: construction into the main menu or a
// debug start, a fresh world from a seed, the way back to the main menu, and
// shut-down.
#include "game/game.h"

#include <cstdlib>
#include "game/files/save_file.h"
#include "game/platform/window.h"

namespace {

constexpr float kStartViewPitch = -0.02f;
constexpr float kHomeOffset = 5.0f;

constexpr const char* kStartMessage =
    "Большой генератор разрушен. Одна часть лежит рядом - ещё две ищи в городах. "
    "Выжившие голодны: поделись с ними едой [F].";

// Only the slots: the selected hotbar slot is the player's, kept from world
// to world.
void FillStartingKit(Inventory& inventory) {
    inventory.slots = {};
    const ItemType kit[] = {ItemType::FuelCan, ItemType::Coal, ItemType::Firewood, ItemType::Ammo};
    for (ItemType type : kit) {
        inventory.Add(type);
        inventory.Add(type);
    }
}

}  // namespace

Game::Game() {
    LoadSettings();
    if (std::getenv("KIRN_FXAA") != nullptr) {
        fxaaForced = true;
        fileFxaa = settings.fxaa;
        settings.fxaa = true;
    }
    if (StartDebugWorld(*this)) {
        return;
    }
    ApplySettings();
    menu.OpenMain();
    ApplyDebugMenuPage(*this);
    window::EnableCursor();
}

Game::~Game() {
    SaveSettings();
}

void Game::NewWorld(uint32_t newSeed) {
    ResetWorldState();
    seed = newSeed;
    // The old world (and its chunk textures) goes only once the new one stands.
    std::unique_ptr<World> fresh = std::make_unique<World>(newSeed);
    world = std::move(fresh);

    const Vector3 spawn = world->SpawnPoint();
    airship.Reset(Vector2{spawn.x, spawn.z}, kQuarterTurn, *world);
    if (GenerateDebugTower(*this, spawn)) {
        tower.dockOpen = true;
        moored = true;
    }
    home.Generate(newSeed, *world, spawn);

    const float x = home.cx + kHomeOffset;
    const float z = home.cz + kHomeOffset;
    const float h = world->gen.Height(x, z);
    player.Reset(Vector3{x, h + kEyeHeight, z});
    LogDockProbe(*this, spawn);

    const Vector3 eye = player.position();
    camera.Reset(eye);
    camera.SetTarget(eye, kDefaultZoom);
    camera.SetView(world->SpawnYaw(), kStartViewPitch);
    zoom = kDefaultZoom;

    FillStartingKit(inventory);

    world->SetRenderDistance(settings.renderDistance);
    appliedRenderDistance = settings.renderDistance;
    world->Update(camera.position, kBuildEverything, 0.0f);
    UpdateView();
    SetMessage(kStartMessage);
}

bool Game::StartNewWorld(uint32_t newSeed) {
    NewWorld(newSeed);
    menu.Close();
    window::HideCursor();
    return SaveExists();
}

bool Game::ReturnToMainMenu() {
    if (world) {
        // A finished game is not saved on the way out. A run whose save
        // fails is kept, so no progress goes without a word; asked again,
        // the player leaves it unsaved knowingly.
        if (!gameOver && !exitSaveFailed && !SaveGame()) {
            exitSaveFailed = true;
            return false;
        }
        world.reset();
    }
    inventoryOpen = false;
    worldMap.Close();
    ResetWorldState();

    menu.OpenMain();
    window::EnableCursor();
    TraceLog(LOG_INFO, "MENU: returned to main menu");
    return true;
}

// Left to the callers: the world and the actors, which they rebuild; the
// inventory's slots, which a new world fills with the starting kit, a load
// from the save, and the main menu keeps; the view and zoom; and the open
// layers (inventory window, map), which go with the cursor.
void Game::ResetWorldState() {
    static_cast<PerWorldState&>(*this) = PerWorldState{};
}

bool Game::SaveExists() const {
    return FileExists(kSaveFileName);
}
