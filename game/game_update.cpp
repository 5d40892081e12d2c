// game_update.cpp: the frame's state machine (main menu, pause menu, end
// overlay, inventory window, world map, play), the simulation step in its
// fixed order, the status line, the overlays' open and close, and the view
// values the drawing uses.
#include <algorithm>
#include <cmath>

#include "game/files/screenshot.h"
#include "game/game.h"
#include "game/platform/window.h"
#include "game/view/zoom_limits.h"

namespace {

constexpr float kStatusSeconds = 3.0f;
constexpr float kZoomStep = 1.15f;
constexpr float kViewWidening = 0.22f;
constexpr float kDeckLiftReach = 2.6f;
// At most this many new chunks per step around the camera.
constexpr int kStreamBudget = 2;
// Next seed of the end overlay's R: one step of a linear congruential sequence.
constexpr uint32_t kSeedMultiplier = 1664525u;
constexpr uint32_t kSeedIncrement = 1013904223u;

bool MenuDialogOpen(const Menu& menu) {
    return menu.dropdownOpen || menu.confirmOpen || menu.exitConfirmOpen;
}

// The cursor shown over a layer the mouse works in, starting from the middle
// of the window; returns that point in window pixels.
Vector2 ShowCursorAtCentre() {
    window::EnableCursor();
    return window::CentreMouse();
}

// The result of a save as the player reads it: on the status line after F5,
// in the menu's notice after its "Сохранить" and after a way out that could
// not save.
const char* SaveResultText(bool saved) {
    return saved ? "Игра сохранена" : "Не удалось сохранить";
}

// Whether this state offers the menu's result: the pause menu's results need
// a world, the new-world page's result needs none; the rest serve both.
bool Offered(MenuAction action, bool inWorld) {
    switch (action) {
        case MenuAction::Resume:
        case MenuAction::Save:
        case MenuAction::ToMainMenu: return inWorld;
        case MenuAction::StartNewWorld: return !inWorld;
        case MenuAction::None:
        case MenuAction::Quit:
        case MenuAction::Load: return true;
    }
    return false;
}

// One frame of the open menu: it learns whether a save exists, takes the
// frame's input, its settings take effect at once, and the game does what it
// asked.
void RunMenu(Game& game) {
    game.menu.hasSave = game.SaveExists();
    const MenuAction action = game.menu.Update(game.settings, game.input);
    game.ApplySettings();
    HandleMenuAction(game, action);
}

// The end overlay: R starts the next world of the seed sequence, Enter after
// a win goes on playing.
void RunEndOverlay(Game& game) {
    if (game.input.Pressed(KEY_R)) {
        game.NewWorld(game.seed * kSeedMultiplier + kSeedIncrement);
    } else if (game.wonOverlay && game.input.Pressed(KEY_ENTER)) {
        game.gameOver = false;
        game.wonOverlay = false;
        game.endLatched = true;
    }
}

// Keys 1..9 pick hotbar slots 0..8 and 0 picks slot 9; the last pressed in
// that order wins.
void SelectHotbarSlot(Game& game) {
    for (int n = 1; n <= 9; ++n) {
        if (game.input.Pressed(KEY_ONE + n - 1)) {
            game.inventory.selected = n - 1;
        }
    }
    if (game.input.Pressed(KEY_ZERO)) {
        game.inventory.selected = 9;
    }
}

void HandleFunctionKeys(Game& game) {
    if (game.input.Pressed(KEY_F5)) {
        game.SetMessage(SaveResultText(game.SaveGame()));
    }
    if (game.input.Pressed(KEY_F1)) {
        game.debugOverlay = !game.debugOverlay;
    }
    if (game.input.Pressed(KEY_F12)) {
        // The folder may not exist in a fresh working directory.
        if (!DirectoryExists("build")) {
            MakeDirectory("build");
        }
        SaveScreenshot(TextFormat("build/screenshot_%u.png", game.seed));
    }
}

void SimulationStep(Game& game, float dt) {
    World& world = *game.world;
    const FrameInput& in = game.input;

    game.clock += dt;
    if (game.messageTimer > 0.0f) {
        game.messageTimer -= dt;
    }

    SetAirshipControls(game);
    const Building* tower = game.tower.floorCount > 0 ? &game.tower : nullptr;
    if (!game.piloting) {
        const MoveIntent intent = MoveIntentFromKeys(in.Down(KEY_W), in.Down(KEY_A), in.Down(KEY_S), in.Down(KEY_D),
                                                     in.Down(KEY_LEFT_SHIFT));
        game.player.Walk(dt, intent, world, game.airship, tower, &game.home);
    }
    UpdateAirshipAndCarry(game, dt);
    if (tower != nullptr) {
        UpdateTowerDock(game);
    }

    game.aboard = game.airship.OnDeck(game.player.feet);
    game.inTower = tower != nullptr && game.tower.inside(game.player.feet);
    game.station = game.aboard ? game.airship.NearestStation(game.player.position()) : AirshipStation::None;

    game.UpdateWeapon(dt);
    HandleStationKeys(game);
    HandleBoarding(game);

    const bool nearFurnace = game.home.nearFurnace(game.player.feet);
    const bool nearPart = game.home.nearLoosePart(game.player.feet);
    if (!game.piloting && !game.aboard && !game.inTower) {
        HandleHomeActions(game, nearFurnace, nearPart);
    }
    if (game.inTower) {
        HandleTowerActions(game);
    }

    if (in.wheel != 0.0f) {
        game.zoom = std::clamp(game.zoom * std::pow(kZoomStep, in.wheel), kMinZoom, kMaxZoom);
    }
    const Vector3 eye = game.player.position();
    const Vector3 f = game.player.forward();
    game.camera.SetTarget(eye, game.zoom);
    game.camera.SetView(std::atan2(f.x, -f.z), 0.0f);
    game.camera.Update(dt);
    game.UpdateView();

    world.Update(game.camera.position, kStreamBudget, dt);
    game.UpdateSurvival(dt);
    const float homeFuelAtStart = UpdateHomeSettlement(game, dt);

    game.marauderTimer -= dt;
    if (game.marauderTimer <= 0.0f) {
        game.marauderTimer = cfg::kCampCheckPeriod;
        game.SpawnMarauders();
    }
    game.UpdateMarauders(dt);
    CheckWin(game, homeFuelAtStart);

    if (game.aboard || game.inTower) {
        game.target = Interaction{};
    } else {
        game.target = world.NearestInteraction(game.player.position());
    }

    SelectHotbarSlot(game);
    if (!game.piloting) {
        game.HandleSurvivalInput();
    }
    ApplyDebugFly(game, dt);
    HandleFunctionKeys(game);
}

}  // namespace

// What the menu asked for, with or without a world: each action is handled
// here and nowhere else; one this state does not offer does nothing.
void HandleMenuAction(Game& game, MenuAction action) {
    if (!Offered(action, game.world != nullptr)) {
        return;
    }
    switch (action) {
        case MenuAction::StartNewWorld: game.StartNewWorld(game.menu.RequestedSeed()); break;
        case MenuAction::Resume: game.CloseMenu(); break;
        case MenuAction::Quit: game.quitRequested = true; break;
        case MenuAction::ToMainMenu:
            if (!game.ReturnToMainMenu()) {
                game.menu.notice = SaveResultText(false);
            }
            break;
        case MenuAction::Save: game.menu.notice = SaveResultText(game.SaveGame()); break;
        case MenuAction::Load:
            // On success the load closes the menu itself.
            if (!game.LoadGame()) {
                game.menu.notice = "Сохранение не найдено";
            }
            break;
        case MenuAction::None: break;
    }
}

void Game::Update(float dt) {
    Update(dt, ReadFrameInput());
}

void Game::Update(float dt, const FrameInput& frame) {
    input = frame;
    screenFx.Resize(window::Width(), window::Height());
    if (!world && !menu.open) {
        menu.OpenMain();
    }

    // Escape is tested once: what it did here, the layers below don't see.
    // While a menu dialog is open it is the dialog's, in Menu::Update.
    bool escape = input.Pressed(KEY_ESCAPE);
    if (escape && menu.open && !MenuDialogOpen(menu)) {
        HandleMenuAction(*this, menu.Escape());
        input.keysPressed.reset(KEY_ESCAPE);
        escape = false;
    }
    if (!world) {
        RunMenu(*this);
        return;
    }
    if (escape && !menu.open && !inventoryOpen && !worldMap.open) {
        OpenMenu();
        escape = false;
    }

    // The pause menu over a running world, which stands still meanwhile.
    if (menu.open) {
        RunMenu(*this);
        return;
    }
    if (gameOver) {
        RunEndOverlay(*this);
        return;
    }
    if (inventoryOpen) {
        if (escape || input.Pressed(KEY_I)) {
            CloseInventory();
        } else {
            HandleSurvivalInput();
        }
        return;
    }
    if (worldMap.open) {
        if (escape || input.Pressed(KEY_M)) {
            CloseMap();
        }
        return;
    }
    if (input.Pressed(KEY_I)) {
        OpenInventory();
        return;
    }
    if (input.Pressed(KEY_M)) {
        OpenMap();
        return;
    }
    SimulationStep(*this, dt);
}

void Game::SetMessage(const std::string& text) {
    message = text;
    messageTimer = kStatusSeconds;
    TraceLog(LOG_INFO, "SURVIVAL: %s", text.c_str());
}

void Game::OpenMenu() {
    menu.OpenPause();
    exitSaveFailed = false;
    // The menu runs in this frame too: it sees the mouse where it now is, so
    // the jump to the centre is not taken for a move of the player's hand.
    input.mouse = ShowCursorAtCentre();
    TraceLog(LOG_INFO, "MENU: opened (paused)");
}

void Game::CloseMenu() {
    menu.Close();
    SaveSettings();
    window::HideCursor();
    TraceLog(LOG_INFO, "MENU: closed (resumed)");
}

void Game::OpenInventory() {
    inventoryOpen = true;
    ShowCursorAtCentre();
    TraceLog(LOG_INFO, "INVENTORY: opened");
}

void Game::CloseInventory() {
    inventoryOpen = false;
    window::HideCursor();
    TraceLog(LOG_INFO, "INVENTORY: closed");
}

void Game::OpenMap() {
    worldMap.Open();
    ShowCursorAtCentre();
    TraceLog(LOG_INFO, "MAP: opened");
}

void Game::CloseMap() {
    worldMap.Close();
    window::HideCursor();
    TraceLog(LOG_INFO, "MAP: closed");
}

float Game::PlayerRenderLift() const {
    if (!world) {
        return 0.0f;
    }
    if (inTower) {
        return tower.renderLift();
    }
    float h = 0.0f;
    if (airship.SurfaceAt(player.feet, h) && std::fabs(h - player.feet.y) <= kDeckLiftReach) {
        return h - airship.groundY;
    }
    return 0.0f;
}

void Game::UpdateView() {
    const float a = AirshipAltitudeFraction(airship.altitude);
    viewZoom = (1.0f - kViewWidening * a) * camera.zoom;
    renderLift = PlayerRenderLift();
    viewCenter = Vector3{camera.position.x, camera.position.y, camera.position.z - renderLift};
}
