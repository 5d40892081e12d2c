// game.h: the one game object. It owns the world, the airship, the tower, the
// home settlement, the player and the whole interface, and runs the frame's
// state machine. Its member functions are spread over game/game_*.cpp by
// concern; each section below names its files.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "actors/airship.h"
#include "actors/building.h"
#include "actors/player.h"
#include "actors/settlement.h"
#include "game/files/settings.h"
#include "game/fx/screen_fx.h"
#include "game/map/world_map.h"
#include "game/menu/menu.h"
#include "game/platform/input.h"
#include "game/rules/items.h"
#include "game/rules/marauders.h"
#include "game/rules/survival.h"
#include "game/rules/weapons.h"
#include "game/view/top_down_camera.h"
#include "game/view/zoom_limits.h"
#include "raylib.h"
#include "world/world.h"
#include "world/world_queries.h"

// A quarter turn in radians, the float nearest pi / 2: a new airship's heading,
// and the pilot's facing off the heading at the helm.
inline constexpr float kQuarterTurn = PI / 2.0f;

// Everything that belongs to one world and starts afresh with each. A new
// world, a load and the way back to the main menu all begin from a fresh
// PerWorldState, so these defaults are the only place its start values are
// written. The seed and the clock stay with Game (see there).
//
// The end of a game is told by six flags. gameOver is the overlay that stops
// the world; every end sets it together with endLatched, and the other four
// say which end it is:
// - death by hunger, thirst or cold (UpdateSurvival; froze only for cold) and
//   death by marauders (UpdateMarauders; froze cleared): gameOver, endLatched;
// - the lost settlement (UpdateHomeSettlement, and LoadGame for a save whose
//   survivors are all dead): gameOver, endLatched, settlementFroze;
// - the win (CheckWin): gameOver, endLatched, wonOverlay, winReached.
// The overlay's title looks at wonOverlay, then settlementFroze, then froze.
// Enter on the win's overlay (RunEndOverlay) clears gameOver and wonOverlay
// and plays on; endLatched and winReached stay, so the win is declared once
// and a later death still ends the game. Only a fresh PerWorldState clears
// endLatched and winReached.
struct PerWorldState {
    Interaction target{};                            // what E or F would act on now; kind 0: nothing
    bool piloting = false;                           // the player holds the helm
    bool aboard = false;                             // the player stands on the airship's deck
    bool moored = false;                             // the airship lies at the tower dock
    bool inTower = false;                            // the player is inside the tower
    float dockAltitude = 0.0f;                       // altitude a moored airship is held at
    AirshipStation station = AirshipStation::None;   // deck station the player stands at
    WeaponKind weapon = WeaponKind::Pistol;          // weapon in hand
    int magazine = cfg::kMagazineSize;               // cartridges in the pistol
    float attackCooldown = 0.0f;                     // seconds to the next attack
    bool reloading = false;                          // a reload is running
    float reloadTimer = 0.0f;                        // reload seconds left
    float flashTimer = 0.0f;                         // muzzle-flash seconds left
    Vector3 muzzlePoint{0.0f, 0.0f, 0.0f};           // where the flash is drawn
    float shake = 0.0f;                              // screen-shake amplitude, from weapons and events
    std::vector<ShotTrace> shots;                    // pistol shots still fading on screen
    float food = cfg::kNeedMax;                      // 0 to kNeedMax, falls with time
    float water = cfg::kNeedMax;                     // 0 to kNeedMax, falls with time
    float health = cfg::kNeedMax;                    // 0 to kNeedMax; the player dies at 0
    float warmth = cfg::kNeedMax;                    // 0 to kNeedMax; at 0 the cold takes health
    float messageTimer = 0.0f;                       // seconds the status message stays
    std::string message;                             // the status line
    std::vector<Marauder> marauders;                 // the marauders of every camp
    std::vector<MarauderCamp> camps;                 // camps pitched at raided settlements
    std::unordered_set<uint64_t> raidedSettlements;  // settlement ids that already got a camp
    float marauderTimer = 0.0f;                      // seconds to the next camp check
    bool endLatched = false;                         // an end has happened in this world
    bool wonOverlay = false;                         // the overlay up is the win's; Enter plays on
    bool winReached = false;                         // the win was declared in this world
    int foodShared = 0;                              // food items given to the survivors
    bool rewardGiven = false;                        // the survivors' reward was given
    bool gameOver = false;                           // the end overlay is up; the world stands still
    bool froze = false;                              // the death was from cold
    bool settlementFroze = false;                    // every survivor froze
    bool exitSaveFailed = false;                     // the way to the main menu could not save; the next try leaves unsaved
};

// Keys and mouse: Update(dt) reads raylib once per frame into the member
// `input` and runs the frame; tests call Update(dt, frame) with a record of
// their own instead. Every concern reads keys and mouse from `input` (for
// example input.Pressed(KEY_E), input.Down(KEY_W), input.leftPressed,
// input.mouse), never from raylib, so a test can drive any of them.
// Game derives from PerWorldState so that the per-world members keep their plain names.
class Game : public PerWorldState {
public:
    Game();
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // ---- World lifecycle (game.cpp) ----
    void NewWorld(uint32_t seed);
    // NewWorld, then the menu closes and the cursor hides; true when the save
    // file exists.
    bool StartNewWorld(uint32_t seed);
    // Saves unless the game is over, drops the world and opens the main
    // menu. False when the save failed: the world stays, and the next call
    // leaves without a save.
    bool ReturnToMainMenu();
    bool SaveExists() const;
    // The per-world state back to a fresh PerWorldState: what NewWorld,
    // LoadGame and ReturnToMainMenu all begin from.
    void ResetWorldState();

    // ---- Frame update (game_update.cpp) ----
    void Update(float dt);
    void Update(float dt, const FrameInput& frame);
    void SetMessage(const std::string& text);
    void OpenMenu();
    void CloseMenu();
    void OpenInventory();
    void CloseInventory();
    void OpenMap();
    void CloseMap();
    void UpdateView();
    float PlayerRenderLift() const;

    // ---- Boarding, piloting and docking (game_boarding.cpp) ----
    void StartPiloting();
    void StopPiloting();
    void PlacePlayerOnDeck();
    bool NearAirshipBoarding() const;

    // ---- Save file (game_save.cpp) ----
    bool SaveGame();
    bool LoadGame();

    // ---- Settings (game_settings.cpp) ----
    void LoadSettings();
    bool SaveSettings();
    void ApplySettings();
    void ApplyWindowSettings();

    // ---- Needs and items (game_survival.cpp, game_items.cpp) ----
    void UpdateSurvival(float dt);
    void HandleSurvivalInput();

    // ---- Weapons (game_weapons.cpp) ----
    void UpdateWeapon(float dt);
    void FireWeapon();
    void MeleeAttack();

    // ---- Marauders and camps (game_marauders.cpp; drawing: game_marauders_draw.cpp) ----
    void SpawnMarauders();
    void UpdateMarauders(float dt);
    void DrawCamps(Vector3 view, float scale) const;
    void DrawMarauders(Vector3 view, float scale) const;

    // ---- Drawing (game_draw.cpp, game_hud.cpp) ----
    void Draw();
    void DrawHud() const;
    void DrawHomeCompass() const;
    void DrawInventory() const;

    // ---- State beside the per-world state, with the start values ----
    std::unique_ptr<World> world;  // the world in play; null on the main menu
    TopDownCamera camera;          // follows the player, easing position and zoom
    Airship airship;               // the one airship
    Building tower;                // the tower; without floors until one is generated
    HomeSettlement home;           // the home settlement and its great furnace
    Player player;                 // the walking player
    ScreenFx screenFx;             // the scene capture and the effects over it
    Menu menu;                     // the modal menu; while open it takes the frame
    WorldMap worldMap;             // the map window (M)
    GameSettings settings;         // the display settings in force, read from "settings.ini" at the start
    Inventory inventory;           // the slots and the hotbar's selection
    // The view. Four zooms, all in pixels per world unit: the wheel's choice
    // here (saved, kMinZoom..kMaxZoom), its copy camera.zoomTarget, the eased
    // camera.zoom, and viewZoom, the eased one widened by altitude.
    float zoom = kDefaultZoom;             // the wheel's choice, which the save keeps
    Vector3 viewCenter{0.0f, 0.0f, 0.0f};  // camera.position less renderLift in z: the ground point drawn at the centre
    float viewZoom = kDefaultZoom;         // camera.zoom widened by altitude: drawing and aim use it
    float renderLift = 0.0f;               // world units the player is drawn above the ground (deck or tower floor)
    bool inventoryOpen = false;            // the inventory window is open over the world
    // What ApplySettings last pushed, so only a change is pushed again; -1
    // and the Known flags false until the first push.
    int appliedRenderDistance = -1;  // chunks, as the world was last told
    int appliedFpsLimit = -1;        // frames per second given to the frame limiter, 0 no cap
    bool appliedVsync = false;       // vsync as the window was last told
    bool appliedVsyncKnown = false;  // appliedVsync holds a pushed value
    bool appliedFxaa = false;        // anti-aliasing as the screen effects were last told
    bool appliedFxaaKnown = false;   // appliedFxaa holds a pushed value
    int appliedWindowMode = -1;      // 0 windowed, 1 borderless, 2 fullscreen
    int appliedResolution = -1;      // the window's size, an index into cfg::resolutions
    // KIRN_FXAA: anti-aliasing on for this run, and the value "settings.ini"
    // keeps meanwhile.
    bool fxaaForced = false;
    bool fileFxaa = false;
    // "settings.ini" is there but could not be read: it is never written
    // over in this run.
    bool settingsUnreadable = false;
    // The seed names the world rather than starting it: NewWorld and LoadGame
    // set it, and the main menu keeps the last one.
    uint32_t seed = 0;
    bool debugOverlay = false;   // F1's debug lines (position, chunk, fps) are shown
    bool quitRequested = false;  // the frame loop ends after this frame
    // Seconds of play for the animations: it runs on across worlds and loads.
    float clock = 0.0f;

    // This frame's keys and mouse (see the note above the class).
    FrameInput input;
};

// ---- Steps of the frame that live in the concerns' files ----
// Update and NewWorld call these in the order of the frame; each is a free
// function of the file named beside it.

// The frame's state machine (game_update.cpp).
// Does what the menu asked for, Escape's step back included: the one place
// each menu result is handled. A result the state does not offer (the pause
// menu's without a world, a new world's in one) does nothing.
void HandleMenuAction(Game& game, MenuAction action);

// Boarding, piloting and docking (game_boarding.cpp).
// The airship's control inputs: the piloting keys while piloting, zeros otherwise.
void SetAirshipControls(Game& game);
// Airship update; carries a player standing on deck; keeps the pilot at the helm.
void UpdateAirshipAndCarry(Game& game, float dt);
// Mooring at the tower dock and pushing the hull out of the tower; called only
// while the tower has floors.
void UpdateTowerDock(Game& game);
// E and F at the helm, the furnace and the coal bunker.
void HandleStationKeys(Game& game);
// E beneath a hovering airship climbs aboard.
void HandleBoarding(Game& game);

// Home settlement goals and tower actions (game_goals.cpp).
// E at the home furnace or the loose spare part, then food sharing (F);
// called on foot outside the tower, not aboard and not piloting.
void HandleHomeActions(Game& game, bool nearFurnace, bool nearPart);
// E and F inside the tower: stairs and tower items.
void HandleTowerActions(Game& game);
// The home settlement's update and its events (fuel, frozen survivors, loss);
// returns the fuel the furnace held before this step burnt any.
float UpdateHomeSettlement(Game& game, float dt);
// Declares the win once the repaired furnace holds 900 s with survivors alive,
// unless the game already ended earlier in the step.
// `fuel` is what the furnace held at the start of the step, so a furnace that
// starts a step with exactly 900 s (a loaded won game, a debug start) wins.
void CheckWin(Game& game, float fuel);

// Debug starts (game_debug.cpp).
// The seed of KIRN_AUTOSTART's value: the low 32 bits of its 64-bit decimal
// reading, the fixed debug seed when that is 0 or no number.
uint32_t AutostartSeed(const char* value);
// Where KIRN_CAMERA starts the player, and the view angles.
struct CameraStart {
    float x, z, yaw, pitch;
};
// Reads KIRN_CAMERA's "x,y,z,yaw,pitch" (y is not used); false unless all
// five numbers parse. A coordinate that is not finite or lies beyond the
// save's position limit counts as 0, as does a yaw or pitch that is not finite.
bool ParseCameraStart(const char* value, CameraStart& out);
// When KIRN_AUTOSTART or one of the world variables is set: starts the world
// and applies the placements, and returns true; otherwise does nothing and
// returns false.
bool StartDebugWorld(Game& game);
// KIRN_MENU on the normal start: opens the asked page over the main menu.
void ApplyDebugMenuPage(Game& game);
// With KIRN_TOWER or KIRN_DOCK_TEST set: generates the tower beside the spawn
// point and returns true; otherwise returns false and leaves the tower alone.
bool GenerateDebugTower(Game& game, Vector3 spawn);
// With KIRN_DOCK_TEST set: the dock probe log lines of a new world.
void LogDockProbe(const Game& game, Vector3 spawn);
// With KIRN_FLY set: carries the player toward -z.
void ApplyDebugFly(Game& game, float dt);
