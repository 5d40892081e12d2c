// menu.h: the modal menu (main, new-world, pause and settings pages and their
// dialogs); it edits the settings in place and reads the frame's input record.
#pragma once
#include <cstdint>
#include <string>

#include "game/input.h"
#include "game/settings.h"
#include "raylib.h"

// What the menu asks the game to do after a frame.
enum class MenuAction : int {
    None = 0,
    Resume = 1,
    Quit = 2,
    ToMainMenu = 3,
    Save = 4,
    Load = 5,
    StartNewWorld = 6,
};

// The game's one modal menu, held by value. Update runs one frame of input
// and returns what the game should do; Draw paints the open page and dialogs.
class Menu {
public:
    enum class Page : int { Main = 0, NewWorld = 1, Pause = 2, Settings = 3 };

    // The items of each page and the buttons of each dialog, in the order of
    // their labels: `selected`, `exitChoice` and `confirmChoice` hold these.
    static constexpr int kMainNewWorld = 0, kMainLoad = 1, kMainSettings = 2, kMainExit = 3;
    static constexpr int kMainItemCount = 4;
    static constexpr int kPauseResume = 0, kPauseSave = 1, kPauseSettings = 2, kPauseExit = 3;
    static constexpr int kPauseItemCount = 4;
    static constexpr int kNewWorldStart = 0, kNewWorldRandomSeed = 1, kNewWorldBack = 2;
    static constexpr int kNewWorldItemCount = 3;
    // Left, Right and activation step the rows from kRowRenderDistance to kRowWindowMode.
    static constexpr int kRowRenderDistance = 0, kRowVsync = 1, kRowFpsLimit = 2, kRowFxaa = 3, kRowWindowMode = 4;
    static constexpr int kRowResolution = 5, kRowBack = 6;
    static constexpr int kSettingsRowCount = 7;
    static constexpr int kExitMainQuit = 0, kExitMainCancel = 1;
    static constexpr int kExitMainButtonCount = 2;
    static constexpr int kExitPauseToMainMenu = 0, kExitPauseQuit = 1, kExitPauseCancel = 2;
    static constexpr int kExitPauseButtonCount = 3;
    static constexpr int kConfirmKeep = 0, kConfirmRevert = 1;

    // Seconds a new windowed resolution waits for "keep" before reverting.
    static constexpr float kConfirmSeconds = 10.0f;
    static constexpr int kSeedDigits = 10;

    void OpenMain();
    void OpenPause();
    void OpenSettings();
    void OpenPauseSettings();
    void OpenNewWorldPage();
    void OpenExitConfirm();
    void Close();

    // One step back for Escape; true when it closed the Pause page.
    bool Back();

    // The game changed the window: under a still cursor the item now beneath
    // it is not the hand's choice, so hover waits for the hand again.
    void WindowChanged();

    // The frame's input with raylib's frame time and the window's UI scale.
    MenuAction Update(GameSettings& settings, const FrameInput& input);
    // Same with the frame time (unclamped) and UI scale given, for tests.
    MenuAction Update(GameSettings& settings, const FrameInput& input, float frameTime, float uiScale);

    void Draw(const GameSettings& settings) const;

    // The typed seed (saturating at 2^32 - 1, 0 becoming 1), or a fresh
    // random one when nothing is typed.
    uint32_t RequestedSeed() const;

    // Layout in the 1600 x 900 UI space.
    static Rectangle PanelFor(Page page);
    static Rectangle MenuButton(Page page, int index);
    static Rectangle SettingRow(int row);
    static Rectangle SeedField();
    Rectangle ExitButton(int index) const;
    static Rectangle DropdownRow(int row);

    // Wide enough for three exit buttons that hold "В главное меню".
    static constexpr Rectangle kExitPanel{460.0f, 325.0f, 680.0f, 250.0f};
    static constexpr Rectangle kDropdownPanel{560.0f, 599.0f, 480.0f, 212.0f};
    static constexpr Rectangle kConfirmPanel{520.0f, 335.0f, 560.0f, 230.0f};
    static constexpr Rectangle kKeepButton{580.0f, 495.0f, 200.0f, 48.0f};
    static constexpr Rectangle kRevertButton{820.0f, 495.0f, 200.0f, 48.0f};
    // Button labels and the settings rows: label at kSettingLabelX, value
    // right-aligned at kSettingValueRight.
    static constexpr int kButtonTextSize = 24;
    static constexpr int kSettingLabelX = 578;
    static constexpr int kSettingLabelSize = 24;
    static constexpr float kSettingValueRight = 1022.0f;
    static constexpr int kSettingValueSize = 22;
    // The slider, knob included, keeps clear of "Дальность рендера" on its
    // left and of the two-digit value on its right.
    static constexpr Rectangle kSliderTrack{823.0f, 273.0f, 156.0f, 16.0f};
    static constexpr Rectangle kSliderHit{823.0f, 259.0f, 156.0f, 44.0f};
    static constexpr float kSliderKnobRadius = 8.0f;

    void Adjust(GameSettings& settings, int delta);
    void OpenResolutionDropdown(const GameSettings& settings);
    void ChooseResolution(GameSettings& settings, int index);
    void RevertResolution(GameSettings& settings);
    void UpdateResolutionDropdown(GameSettings& settings, const FrameInput& input, Vector2 mouse);
    void UpdateResolutionConfirm(GameSettings& settings, float dt, const FrameInput& input, Vector2 mouse);
    MenuAction UpdateExitConfirm(const FrameInput& input, Vector2 mouse);
    void EnterSeedPage();
    void RandomizeSeed();

    void DrawExitConfirm() const;
    void DrawResolutionDropdown(const GameSettings& settings) const;
    void DrawResolutionConfirm(const GameSettings& settings) const;

    Page page = Page::Main;
    Page returnPage = Page::Main;  // where Settings goes back to
    bool open = false;
    bool hasSave = false;  // set by the game before every Update
    bool draggingSlider = false;
    bool dropdownOpen = false;
    bool confirmOpen = false;
    bool exitConfirmOpen = false;
    int exitChoice = 0;
    int dropdownIndex = 2;
    float confirmTimer = 0.0f;
    int confirmChoice = kConfirmKeep;
    int previousResolution = 2;
    int selected = 0;
    std::string seedText;
    std::string notice;  // result of a menu save or load, set by the game
    // Hover moves the highlight of the page, the resolution list or a dialog
    // only once the hand has moved the cursor over the UI or clicked since
    // that page, list or dialog opened, the keys last moved the highlight or
    // the window last changed: a cursor at rest, a window changed under it
    // and the game's own jump of it to the centre never move the highlight.
    bool hoverLive = false;
    bool mouseKnown = false;        // lastMouse holds a frame's cursor since the menu opened or the window changed
    Vector2 lastMouse{0.0f, 0.0f};  // in the UI space (FrameInput::mouse over the UI scale)
    bool mouseMoved = false;        // since hover last waited for the hand

private:
    // Shows the page with its first item selected and hover waiting for the mouse.
    void ShowPage(Page shown);
    // Hands the highlight to the keys until the cursor moves or clicks.
    void WaitForHand();
    MenuAction UpdatePage(GameSettings& settings, const FrameInput& input, Vector2 mouse);
    MenuAction Activate(GameSettings& settings);
    void DrawPage(const GameSettings& settings) const;
    void DrawSettingsRows(const GameSettings& settings) const;
    void DrawSeedBlock() const;
};
