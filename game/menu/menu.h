// menu.h: the modal menu (main, new-world, pause and settings pages and their
// dialogs); it edits the settings in place and reads the frame's input record.
#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "game/files/settings.h"
#include "game/platform/input.h"
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

    // What a row of a page or a button of the exit dialog does when
    // activated; on the settings page it also names the value the row shows
    // and that Left and Right step (RenderDistance to WindowMode).
    enum class RowAction : int {
        None,            // a selection outside the rows: nothing
        NewWorld,        // the seed page with a fresh random seed
        Load,            // MenuAction::Load while a save exists; drawn disabled without one
        Settings,        // the settings page, which goes back to this one
        Exit,            // the exit dialog, on "Отмена"
        Start,           // MenuAction::StartNewWorld, a random seed first when none is typed
        RandomSeed,      // a fresh random seed in the field
        Back,            // what Escape does on this page
        Resume,          // MenuAction::Resume
        Save,            // MenuAction::Save
        RenderDistance,  // one step up (no wrap); the slider sits on this row
        Vsync,           // toggled
        FpsLimit,        // the next of kFpsValues
        Fxaa,            // toggled
        WindowMode,      // the next mode
        Resolution,      // the resolution list
        ToMainMenu,      // MenuAction::ToMainMenu (the dialog closes on every button)
        Quit,            // MenuAction::Quit
        Cancel,          // nothing more
    };
    // One row of a page, or one button of a dialog: the one place that pairs
    // its label with its action, read by both drawing and activation. Row i
    // of a page is drawn at MenuButton(page, i) or SettingRow(i).
    struct Row {
        const char* label;  // drawn as it stands
        RowAction action;   // what activating it does
    };
    // The rows of a page, in order: `selected` indexes them.
    static std::span<const Row> Rows(Page page);
    // The exit dialog's buttons over the current page, "Отмена" last:
    // `exitChoice` indexes them.
    std::span<const Row> ExitRows() const;
    // Where the row with this action stands on the page (0 when it has none).
    static int RowIndex(Page page, RowAction action);

    // The keep-or-revert dialog's buttons: `confirmChoice` holds these.
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
    // Escape on a page while no dialog is open: one step back, and on Main,
    // whose bottom line reads "Esc - выход", the exit question. Resume when
    // it closed the Pause page, for the game to act on like any other result.
    MenuAction Escape();

    // The game changed the window: under a still pointer the item now beneath
    // it is not the hand's choice, so hover waits for the hand again. The
    // change is judged again whenever it lands, where the window reports its
    // place on the desktop; without that, this is all the menu learns of it.
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
    MenuAction UpdateExitConfirm(GameSettings& settings, const FrameInput& input, Vector2 mouse);
    void EnterSeedPage();
    void RandomizeSeed();

    void DrawExitConfirm() const;
    void DrawResolutionDropdown(const GameSettings& settings) const;
    void DrawResolutionConfirm(const GameSettings& settings) const;

    Page page = Page::Main;            // the page shown
    Page returnPage = Page::Main;      // where Settings goes back to
    bool open = false;                 // the menu is shown and takes the frame's input
    bool hasSave = false;              // set by the game before every Update, and at once by a save
    bool draggingSlider = false;       // the render-distance slider follows the held button
    bool dropdownOpen = false;         // the resolution list is open over the settings page
    bool confirmOpen = false;          // the keep-or-revert dialog of a new windowed resolution is open
    bool exitConfirmOpen = false;      // the exit dialog is open over the page
    int exitChoice = 0;                // the exit dialog's highlighted button, an index into ExitRows()
    int dropdownIndex = 2;             // the list's highlighted row, an index into cfg::resolutions
    float confirmTimer = 0.0f;         // seconds left before the new resolution reverts
    int confirmChoice = kConfirmKeep;  // the confirmation's highlighted button, kConfirmKeep or kConfirmRevert
    int previousResolution = 2;        // the resolution a revert returns to, an index into cfg::resolutions
    int selected = 0;                  // the page's highlighted row, an index into Rows(page)
    std::string seedText;              // the digits typed on the new-world page, at most kSeedDigits
    std::string notice;                // result of a menu save or load, set by the game
    // Hover moves the highlight of the page, the resolution list or a dialog
    // only once the hand has moved the pointer or clicked since that page,
    // list or dialog opened, the keys last moved the highlight or the window
    // last changed under the still pointer. The hand is judged on the
    // desktop, where the window reports its place there: a window moved or
    // resized under a still pointer (by the game, late by a window manager,
    // or by the system) moves nothing, and neither does the game's own jump
    // of the pointer to the centre. Without the window's place, the pointer's
    // UI point is compared instead, and the game tells of its own changes.
    bool hoverLive = false;
    bool mouseKnown = false;        // lastMouse holds a frame's pointer since the menu opened or the window changed
    Vector2 lastMouse{0.0f, 0.0f};  // in the UI space (FrameInput::mouse over the UI scale)
    bool handKnown = false;         // lastHand holds that frame's pointer on the desktop
    Vector2 lastHand{0.0f, 0.0f};   // desktop pixels: the window's origin plus the cursor in the window
    bool mouseMoved = false;        // since hover last waited for the hand

private:
    // Shows the page with its first item selected and hover waiting for the mouse.
    void ShowPage(Page shown);
    // Hands the highlight to the keys until the cursor moves or clicks.
    void WaitForHand();
    // Judges the frame's pointer against the last frame's: the hand moved
    // it, or the window moved under it, or nothing happened.
    void NoteHand(const FrameInput& input, Vector2 mouse);
    MenuAction UpdatePage(GameSettings& settings, const FrameInput& input, Vector2 mouse);
    // The action of row `index`, None outside the rows.
    static RowAction ActionAt(std::span<const Row> rows, int index);
    // Does what the row's action says; the one place each action is handled.
    MenuAction Activate(GameSettings& settings, RowAction action);
    void DrawPageButtons() const;
    void DrawPage(const GameSettings& settings) const;
    void DrawSettingsRows(const GameSettings& settings) const;
    void DrawSeedBlock() const;
};
