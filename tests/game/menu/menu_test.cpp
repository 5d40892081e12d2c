// menu_test.cpp: the menu driven through hand-filled input records: pages,
// seed entry, settings rows and slider, resolution dialogs, exit dialog.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "game/menu/menu.h"
#include "raylib.h"

namespace {

constexpr float kFrame = 1.0f / 60.0f;

FrameInput Keys(std::initializer_list<int> keys) {
    FrameInput in;
    for (int key : keys) {
        in.Press(key);
    }
    return in;
}

FrameInput MouseAt(float x, float y) {
    FrameInput in;
    in.mouse = {x, y};
    return in;
}

FrameInput ClickAt(float x, float y) {
    FrameInput in = MouseAt(x, y);
    in.leftPressed = true;
    in.leftDown = true;
    return in;
}

FrameInput HoldAt(float x, float y) {
    FrameInput in = MouseAt(x, y);
    in.leftDown = true;
    return in;
}

FrameInput Typed(const std::string& text) {
    FrameInput in;
    for (char c : text) {
        in.typed.push_back(static_cast<unsigned char>(c));
    }
    return in;
}

Vector2 Centre(Rectangle r) {
    return {r.x + r.width / 2.0f, r.y + r.height / 2.0f};
}

FrameInput ClickOn(Rectangle r) {
    const Vector2 c = Centre(r);
    return ClickAt(c.x, c.y);
}

// A window on the desktop: where its top-left corner lies and how wide it is.
struct Window {
    Vector2 origin;
    float width;
    float Scale() const { return width / 1600.0f; }
    bool operator==(const Window& other) const {
        return origin.x == other.origin.x && origin.y == other.origin.y && width == other.width;
    }
};

// The record of a cursor resting at a desktop point over the window, which
// reports its place on the desktop.
FrameInput CursorOn(const Window& window, Vector2 desktop) {
    FrameInput in;
    in.mouse = {desktop.x - window.origin.x, desktop.y - window.origin.y};
    in.windowOrigin = window.origin;
    return in;
}

// Where a UI-space point of the window lies on the desktop.
Vector2 OnDesktop(const Window& window, Vector2 ui) {
    return {window.origin.x + ui.x * window.Scale(), window.origin.y + ui.y * window.Scale()};
}

// Where the settings row with this action stands.
int SettingsRow(Menu::RowAction action) {
    return Menu::RowIndex(Menu::Page::Settings, action);
}

// Collects raylib's log lines while it lives.
class LogLines {
public:
    LogLines() {
        Lines().clear();
        SetTraceLogLevel(LOG_INFO);
        SetTraceLogCallback(&LogLines::Collect);
    }
    ~LogLines() {
        SetTraceLogCallback(nullptr);
        SetTraceLogLevel(LOG_WARNING);
    }
    LogLines(const LogLines&) = delete;
    LogLines& operator=(const LogLines&) = delete;

    static std::vector<std::string>& Lines() {
        static std::vector<std::string> lines;
        return lines;
    }

private:
    static void Collect(int, const char* format, va_list args) {
        char buffer[512];
        std::vsnprintf(buffer, sizeof buffer, format, args);
        Lines().emplace_back(buffer);
    }
};

class MenuTest : public ::testing::Test {
protected:
    MenuAction Step(const FrameInput& in = FrameInput{}, float dt = kFrame, float scale = 1.0f) {
        return menu.Update(settings, in, dt, scale);
    }
    // One frame of the cursor at rest on the desktop over the window, with
    // keys. A window other than the last frame's was changed by the game
    // after that frame, which tells the menu so, as the game does.
    MenuAction Rest(const Window& window, Vector2 desktop, std::initializer_list<int> keys = {}, float dt = kFrame) {
        FrameInput in = CursorOn(window, desktop);
        for (int key : keys) {
            in.Press(key);
        }
        return InWindow(window, in, dt);
    }
    // The same with a click of the left button where the cursor rests.
    MenuAction Click(const Window& window, Vector2 desktop) {
        FrameInput in = CursorOn(window, desktop);
        in.leftPressed = true;
        return InWindow(window, in, kFrame);
    }
    MenuAction InWindow(const Window& window, const FrameInput& in, float dt) {
        if (shown && !(*shown == window)) {
            menu.WindowChanged();
        }
        shown = window;
        return Step(in, dt, window.Scale());
    }
    MenuAction Press(int key) { return Step(Keys({key})); }
    // The window becomes this one without the game's word: the system or a
    // window manager moved or resized it, or the game's change lands late.
    void Unannounced(const Window& window) { shown = window; }
    // One frame during which the system moved the window to this one, between
    // the frame's two reads of its place: the cursor is read in the moved
    // window, and the frame has no place.
    MenuAction Racing(const Window& window, Vector2 desktop) {
        Unannounced(window);
        FrameInput in = CursorOn(window, desktop);
        in.windowOrigin.reset();
        return InWindow(window, in, kFrame);
    }

    Menu menu;
    GameSettings settings;
    std::optional<Window> shown;  // the window of the last Rest or Click
};

// ---- Openers and Escape ----

TEST_F(MenuTest, OpenersSetPageReturnPageAndNotice) {
    menu.notice = "Игра сохранена";
    menu.selected = 3;
    menu.dropdownOpen = true;
    menu.OpenSettings();
    EXPECT_TRUE(menu.open);
    EXPECT_EQ(menu.page, Menu::Page::Settings);
    EXPECT_EQ(menu.returnPage, Menu::Page::Main);
    EXPECT_EQ(menu.selected, 0);
    EXPECT_EQ(menu.notice, "Игра сохранена");
    EXPECT_FALSE(menu.dropdownOpen);

    menu.OpenPauseSettings();
    EXPECT_EQ(menu.returnPage, Menu::Page::Pause);
    EXPECT_TRUE(menu.notice.empty());

    menu.notice = "x";
    menu.exitConfirmOpen = true;
    menu.OpenPause();
    EXPECT_EQ(menu.page, Menu::Page::Pause);
    EXPECT_TRUE(menu.notice.empty());
    EXPECT_FALSE(menu.exitConfirmOpen);

    menu.seedText.clear();
    menu.OpenNewWorldPage();
    EXPECT_EQ(menu.page, Menu::Page::NewWorld);
    EXPECT_EQ(menu.returnPage, Menu::Page::Main);
    ASSERT_FALSE(menu.seedText.empty());
    const unsigned long seed = std::stoul(menu.seedText);
    EXPECT_GE(seed, 1ul);
    EXPECT_LE(seed, 999999999ul);

    menu.Close();
    EXPECT_FALSE(menu.open);
    EXPECT_EQ(menu.page, Menu::Page::NewWorld);
    EXPECT_EQ(menu.seedText, std::to_string(seed));
}

TEST_F(MenuTest, BackStepsThroughPages) {
    EXPECT_FALSE(menu.Back());

    menu.OpenMain();
    menu.OpenExitConfirm();
    EXPECT_FALSE(menu.Back());
    EXPECT_FALSE(menu.exitConfirmOpen);
    EXPECT_TRUE(menu.open);
    EXPECT_FALSE(menu.Back());
    EXPECT_EQ(menu.page, Menu::Page::Main);

    menu.OpenNewWorldPage();
    EXPECT_FALSE(menu.Back());
    EXPECT_EQ(menu.page, Menu::Page::Main);

    menu.OpenPauseSettings();
    menu.selected = 4;
    EXPECT_FALSE(menu.Back());
    EXPECT_EQ(menu.page, Menu::Page::Pause);
    EXPECT_EQ(menu.selected, 0);
    EXPECT_TRUE(menu.Back());
    EXPECT_FALSE(menu.open);
}

TEST_F(MenuTest, ClosedMenuTakesNoInput) {
    menu.hasSave = true;
    EXPECT_EQ(Step(Keys({KEY_ENTER, KEY_DOWN})), MenuAction::None);
    EXPECT_EQ(menu.selected, 0);
    EXPECT_EQ(menu.page, Menu::Page::Main);
}

// ---- Main and Pause pages ----

TEST_F(MenuTest, KeysWalkTheButtonsAndWrap) {
    menu.OpenMain();
    Press(KEY_UP);
    EXPECT_EQ(menu.selected, 3);
    Press(KEY_TAB);
    EXPECT_EQ(menu.selected, 0);
    Press(KEY_DOWN);
    EXPECT_EQ(menu.selected, 1);
    Step(Keys({KEY_DOWN, KEY_UP}));
    EXPECT_EQ(menu.selected, 1);
}

TEST_F(MenuTest, MainPageActions) {
    menu.OpenMain();
    menu.selected = 1;
    EXPECT_EQ(Press(KEY_ENTER), MenuAction::None);
    menu.hasSave = true;
    EXPECT_EQ(Press(KEY_KP_ENTER), MenuAction::Load);

    menu.selected = 2;
    EXPECT_EQ(Press(KEY_SPACE), MenuAction::None);
    EXPECT_EQ(menu.page, Menu::Page::Settings);
    EXPECT_EQ(menu.returnPage, Menu::Page::Main);

    menu.OpenMain();
    menu.selected = 3;
    Press(KEY_ENTER);
    EXPECT_TRUE(menu.exitConfirmOpen);
    EXPECT_EQ(menu.exitChoice, 1);

    menu.OpenMain();
    Press(KEY_ENTER);
    EXPECT_EQ(menu.page, Menu::Page::NewWorld);
    EXPECT_FALSE(menu.seedText.empty());
}

TEST_F(MenuTest, PausePageActions) {
    menu.OpenPause();
    EXPECT_EQ(Press(KEY_ENTER), MenuAction::Resume);
    menu.selected = 1;
    EXPECT_EQ(Press(KEY_ENTER), MenuAction::Save);
    menu.selected = 2;
    Press(KEY_ENTER);
    EXPECT_EQ(menu.page, Menu::Page::Settings);
    menu.selected = 6;
    Press(KEY_ENTER);
    EXPECT_EQ(menu.page, Menu::Page::Pause);
    menu.selected = 3;
    Press(KEY_ENTER);
    EXPECT_TRUE(menu.exitConfirmOpen);
    EXPECT_EQ(menu.exitChoice, 2);
}

TEST_F(MenuTest, MouseHoverAndClickUseTheUiScale) {
    menu.OpenPause();
    const Vector2 save = Centre(Menu::MenuButton(Menu::Page::Pause, 1));
    // The mouse comes from elsewhere, so its arrival is a move.
    Step(MouseAt(10.0f, 10.0f), kFrame, 2.0f);
    // A window twice as wide as the UI space: the mouse is in window pixels.
    EXPECT_EQ(Step(MouseAt(save.x * 2.0f, save.y * 2.0f), kFrame, 2.0f), MenuAction::None);
    EXPECT_EQ(menu.selected, 1);
    EXPECT_EQ(Step(ClickAt(save.x * 2.0f, save.y * 2.0f), kFrame, 2.0f), MenuAction::Save);
    // The same click unscaled lands elsewhere on the panel and does nothing.
    EXPECT_EQ(Step(ClickAt(save.x * 2.0f, save.y * 2.0f)), MenuAction::None);
    EXPECT_EQ(menu.selected, 1);
}

// A mouse resting on a button when the page opens (the game centres it) does
// not take the selection: the page starts on its first item, the keys work at
// once, and hover follows the mouse again only once it moves or clicks.
TEST_F(MenuTest, RestingMouseLeavesTheSelectionToTheKeys) {
    struct Case {
        void (Menu::*open)();
        Menu::Page page;
    };
    const Case cases[] = {
        {&Menu::OpenMain, Menu::Page::Main},
        {&Menu::OpenPause, Menu::Page::Pause},
        {&Menu::OpenSettings, Menu::Page::Settings},
        {&Menu::OpenNewWorldPage, Menu::Page::NewWorld},
    };
    for (const Case& c : cases) {
        const auto item = [&](int i) {
            return c.page == Menu::Page::Settings ? Menu::SettingRow(i) : Menu::MenuButton(c.page, i);
        };
        menu.selected = 2;
        (menu.*c.open)();
        const Vector2 rest = Centre(item(1));
        Step(MouseAt(rest.x, rest.y));
        Step(MouseAt(rest.x, rest.y));
        EXPECT_EQ(menu.selected, 0) << static_cast<int>(c.page);

        FrameInput down = MouseAt(rest.x, rest.y);
        down.Press(KEY_DOWN);
        Step(down);
        Step(down);
        EXPECT_EQ(menu.selected, 2) << static_cast<int>(c.page);

        // A move hands the selection to the mouse; a key move takes it back.
        Step(MouseAt(rest.x + 3.0f, rest.y));
        EXPECT_EQ(menu.selected, 1) << static_cast<int>(c.page);
        FrameInput up = MouseAt(rest.x + 3.0f, rest.y);
        up.Press(KEY_UP);
        Step(up);
        Step(MouseAt(rest.x + 3.0f, rest.y));
        EXPECT_EQ(menu.selected, 0) << static_cast<int>(c.page);
        EXPECT_EQ(menu.page, c.page);
    }

    // Escape, then Enter with the mouse resting on "Сохранить": play resumes.
    menu.OpenPause();
    const Vector2 save = Centre(Menu::MenuButton(Menu::Page::Pause, 1));
    Step(MouseAt(save.x, save.y));
    FrameInput enter = MouseAt(save.x, save.y);
    enter.Press(KEY_ENTER);
    EXPECT_EQ(Step(enter), MenuAction::Resume);
    // A click where it rests still counts.
    EXPECT_EQ(Step(ClickAt(save.x, save.y)), MenuAction::Save);

    // A page opened by a click waits for the mouse again.
    menu.OpenMain();
    const Vector2 settingsButton = Centre(Menu::MenuButton(Menu::Page::Main, 2));
    Step(ClickAt(settingsButton.x, settingsButton.y));
    ASSERT_EQ(menu.page, Menu::Page::Settings);
    Step(MouseAt(settingsButton.x, settingsButton.y));
    EXPECT_EQ(menu.selected, 0);
}

// A window mode or resolution change moves and resizes the window under a
// still cursor: its window pixels and the UI scale change, its place on the
// desktop does not. That is no move: the keys keep the highlight of the page,
// the resolution list and both dialogs, and a real move then hovers again.
TEST_F(MenuTest, WindowChangeUnderAStillCursorIsNoMove) {
    const Window windowed{{160.0f, 90.0f}, 1600.0f};
    const Window small{{320.0f, 180.0f}, 1280.0f};
    const Window fullscreen{{0.0f, 0.0f}, 1920.0f};
    const Window moved{{40.0f, 300.0f}, 1600.0f};
    struct Change {
        Window from;
        Window to;
    };
    const Change changes[] = {
        {windowed, fullscreen}, {fullscreen, windowed}, {windowed, small}, {small, windowed}, {windowed, moved},
    };
    // Each place opens with the keys, under a cursor resting over another
    // highlight, and names the highlight and the item under the cursor.
    enum class Place { Page, List, Keep, Exit };
    struct Case {
        Place place;
        Vector2 cursor;  // in the UI space of the first window
        int keyed;       // highlight the keys left
        int under;       // highlight under the cursor
    };
    const Case cases[] = {
        {Place::Page, Centre(Menu::SettingRow(6)), 5, 6},
        {Place::List, Centre(Menu::DropdownRow(0)), 2, 0},
        {Place::Keep, Centre(Menu::kRevertButton), 0, 1},
        {Place::Exit, Centre(Menu{}.ExitButton(0)), 1, 0},  // a new menu is on Main
    };
    const auto highlight = [&](Place place) {
        switch (place) {
            case Place::Page: return menu.selected;
            case Place::List: return menu.dropdownIndex;
            case Place::Keep: return menu.confirmChoice;
            case Place::Exit: return menu.exitChoice;
        }
        return -1;
    };
    for (const Change& change : changes) {
        for (const Case& c : cases) {
            const std::string name = "case " + std::to_string(static_cast<int>(c.place)) + ", window " +
                                     std::to_string(static_cast<int>(change.to.width));
            settings = GameSettings{};
            const Vector2 desktop = OnDesktop(change.from, c.cursor);
            if (c.place == Place::Exit) {
                menu.OpenMain();
                Rest(change.from, desktop);
                Rest(change.from, desktop, {KEY_UP});
                Rest(change.from, desktop, {KEY_ENTER});
                ASSERT_TRUE(menu.exitConfirmOpen) << name;
            } else {
                menu.OpenSettings();
                Rest(change.from, desktop);
                Rest(change.from, desktop, {KEY_UP});
                Rest(change.from, desktop, {KEY_UP});
                if (c.place != Place::Page) {
                    Rest(change.from, desktop, {KEY_RIGHT});
                    ASSERT_TRUE(menu.dropdownOpen) << name;
                }
                if (c.place == Place::Keep) {
                    Rest(change.from, desktop, {KEY_DOWN});
                    Rest(change.from, desktop, {KEY_ENTER});
                    ASSERT_TRUE(menu.confirmOpen) << name;
                }
            }
            ASSERT_EQ(highlight(c.place), c.keyed) << name;

            for (int frame = 0; frame < 3; ++frame) {
                Rest(change.to, desktop);
            }
            EXPECT_EQ(highlight(c.place), c.keyed) << name;

            // The hand moves onto the same item in the new window: it takes
            // the highlight.
            Rest(change.to, OnDesktop(change.to, c.cursor));
            EXPECT_EQ(highlight(c.place), c.under) << name;
        }
    }
}

// The hand clicks a row, then the window changes under the still cursor (a
// mode that click chose, or a move): the highlight stays on that row, and a
// second click without moving hits the row drawn under the cursor now.
TEST_F(MenuTest, WindowChangeAfterAClickKeepsTheRowAndTheNextClickHitsWhatIsUnder) {
    const Window windowed{{160.0f, 90.0f}, 1600.0f};
    const Window whole{{0.0f, 0.0f}, 1920.0f};  // borderless or full screen
    const Window upARow{{160.0f, 32.0f}, 1600.0f};
    // A 1366 x 768 screen: the windowed 1600 x 900 sits at its corner, and
    // borderless keeps the pixels under the cursor but shrinks the UI scale.
    const Window cornered{{0.0f, 0.0f}, 1600.0f};
    const Window smallScreen{{0.0f, 0.0f}, 1366.0f};
    const int windowModeRow = SettingsRow(Menu::RowAction::WindowMode);
    const int resolutionRow = SettingsRow(Menu::RowAction::Resolution);
    const int fpsLimitRow = SettingsRow(Menu::RowAction::FpsLimit);
    const int fxaaRow = SettingsRow(Menu::RowAction::Fxaa);
    struct Case {
        Window from, to;
        Vector2 cursor;  // in the UI space of `from`
        int startMode, chosen, clicked, windowMode;
        bool fxaa, listOpen;
    };
    const Case cases[] = {
        {windowed, whole, {800.0f, 527.0f}, 0, windowModeRow, windowModeRow, 2, false, false},
        {whole, windowed, {800.0f, 533.0f}, 2, windowModeRow, resolutionRow, 0, false, true},
        {windowed, upARow, {800.0f, 396.0f}, 0, fpsLimitRow, fxaaRow, 0, true, false},
        {cornered, smallScreen, {800.0f, 490.0f}, 0, windowModeRow, resolutionRow, 1, false, true},
    };
    for (const Case& c : cases) {
        const std::string name = "row " + std::to_string(c.chosen) + ", then " + std::to_string(c.clicked) +
                                 " in a window " + std::to_string(static_cast<int>(c.to.width)) + " wide";
        settings = GameSettings{};
        settings.windowMode = c.startMode;
        menu.OpenSettings();
        const Vector2 desktop = OnDesktop(c.from, c.cursor);
        Rest(c.from, {desktop.x - 3.0f, desktop.y});
        Click(c.from, desktop);
        for (int frame = 0; frame < 3; ++frame) {
            Rest(c.to, desktop);
        }
        EXPECT_EQ(menu.selected, c.chosen) << name;
        Click(c.to, desktop);
        EXPECT_EQ(menu.selected, c.clicked) << name;
        EXPECT_EQ(settings.windowMode, c.windowMode) << name;
        EXPECT_EQ(settings.fxaa, c.fxaa) << name;
        EXPECT_EQ(menu.dropdownOpen, c.listOpen) << name;
    }
}

// The hand is judged where it is on the desktop: a window that the system
// moves or resizes under a still pointer, without the game's word, moves no
// highlight, even one the hand had; a move of the hand itself, or a click,
// does, at the item drawn under the pointer now.
TEST_F(MenuTest, WindowMovedOrResizedUnderAStillHandMovesNothing) {
    const Window window{{160.0f, 90.0f}, 1600.0f};
    const Window nudged{{164.0f, 94.0f}, 1600.0f};
    const int resume = Menu::RowIndex(Menu::Page::Pause, Menu::RowAction::Resume);
    const int settingsButton = Menu::RowIndex(Menu::Page::Pause, Menu::RowAction::Settings);

    // The pause menu with the pointer put at the centre, on "Сохранить"; the
    // window moves by (+4, +4), so the cursor lies at (-4, -4) in it: Enter
    // resumes.
    menu.OpenPause();
    const Vector2 centre = OnDesktop(window, {800.0f, 450.0f});
    Rest(window, centre);
    Unannounced(nudged);
    for (int frame = 0; frame < 3; ++frame) {
        Rest(nudged, centre);
    }
    EXPECT_EQ(menu.selected, resume);
    EXPECT_EQ(Rest(nudged, centre, {KEY_ENTER}), MenuAction::Resume);

    // The same moves, each landing between a frame's two reads of the
    // window's place: an 'x' frame is one in which the window moved (+4, +4)
    // further, so it has the cursor in the moved window but no place; an 'o'
    // frame has the place. Neither the frame without the place nor the one
    // after it takes the cursor's new place in the window for a move of the
    // hand: Enter still resumes.
    for (const std::string frames : {"oxoo", "oxoxoxo"}) {
        menu.OpenPause();
        Window at = window;
        for (char frame : frames) {
            if (frame == 'x') {
                at.origin = {at.origin.x + 4.0f, at.origin.y + 4.0f};
                Racing(at, centre);
            } else {
                Rest(at, centre);
            }
        }
        EXPECT_EQ(menu.selected, resume) << frames;
        EXPECT_EQ(Rest(at, centre, {KEY_ENTER}), MenuAction::Resume) << frames;
    }

    // The hand took "Настройки"; the window then moves a row up under the
    // still hand, so "Выход" lies beneath it: the highlight stays. A click
    // acts on what is under the pointer now.
    menu.OpenPause();
    const Window upARow{{160.0f, 28.0f}, 1600.0f};
    const Vector2 onSettings = OnDesktop(window, Centre(Menu::MenuButton(Menu::Page::Pause, settingsButton)));
    Rest(window, {onSettings.x - 3.0f, onSettings.y});
    Rest(window, onSettings);
    ASSERT_EQ(menu.selected, settingsButton);
    Unannounced(upARow);
    Rest(upARow, onSettings);
    Rest(upARow, onSettings);
    EXPECT_EQ(menu.selected, settingsButton);
    Click(upARow, onSettings);
    EXPECT_TRUE(menu.exitConfirmOpen);

    // Settings: "Режим окна" chosen with the keys while the pointer rests on
    // "VSync"; the system moves the window so that "Назад" lies under the
    // still pointer. Right steps the window mode, and so does Enter.
    settings = GameSettings{};
    menu.OpenSettings();
    const int modeRow = SettingsRow(Menu::RowAction::WindowMode);
    const int backRow = SettingsRow(Menu::RowAction::Back);
    const Vector2 onVsync = OnDesktop(window, Centre(Menu::SettingRow(SettingsRow(Menu::RowAction::Vsync))));
    const float rowsApart = Menu::SettingRow(backRow).y - Menu::SettingRow(1).y;
    const Window backUnder{{window.origin.x, window.origin.y - rowsApart}, 1600.0f};
    Rest(window, onVsync);
    for (int i = 0; i < modeRow; ++i) {
        Rest(window, onVsync, {KEY_DOWN});
    }
    ASSERT_EQ(menu.selected, modeRow);
    Unannounced(backUnder);
    Rest(backUnder, onVsync);
    ASSERT_TRUE(CheckCollisionPointRec({onVsync.x - backUnder.origin.x, onVsync.y - backUnder.origin.y},
                                       Menu::SettingRow(backRow)));
    Rest(backUnder, onVsync, {KEY_RIGHT});
    EXPECT_EQ(settings.windowMode, 1);
    EXPECT_EQ(Rest(backUnder, onVsync, {KEY_ENTER}), MenuAction::None);
    EXPECT_EQ(settings.windowMode, 2);
    EXPECT_EQ(menu.page, Menu::Page::Settings);
    EXPECT_EQ(menu.selected, modeRow);
}

// The game's own window change that a window manager applies some frames
// after the game told the menu: the still pointer's window pixels change
// then, its place on the desktop does not. The keys keep the highlight
// through the window mode walk and the keep-or-revert dialog.
TEST_F(MenuTest, WindowChangeLandingFramesLateMovesNothing) {
    LogLines log;
    constexpr int kLate = 4;  // frames between the game's change and the window's
    const Window windows[] = {
        {{160.0f, 90.0f}, 1600.0f},  // "Оконный"
        {{0.0f, 0.0f}, 1920.0f},     // "Без рамки"
        {{0.0f, 0.0f}, 1920.0f},     // "Полный экран"
    };
    // The pointer rests where "Назад" lies in the windowed window.
    const int modeRow = SettingsRow(Menu::RowAction::WindowMode);
    const Vector2 desktop = OnDesktop(windows[0], Centre(Menu::SettingRow(SettingsRow(Menu::RowAction::Back))));
    menu.OpenSettings();
    Rest(windows[0], desktop);
    for (int i = 0; i < modeRow; ++i) {
        Rest(windows[0], desktop, {KEY_DOWN});
    }
    ASSERT_EQ(menu.selected, modeRow);
    // Right three times: each change lands kLate frames after its key.
    for (int i = 1; i <= 3; ++i) {
        const Window& before = windows[i - 1];
        const Window& after = windows[i % 3];
        Rest(before, desktop, {KEY_RIGHT});
        ASSERT_EQ(settings.windowMode, i % 3) << i;
        menu.WindowChanged();
        for (int frame = 0; frame < kLate; ++frame) {
            Rest(before, desktop);
        }
        Unannounced(after);
        for (int frame = 0; frame < 3; ++frame) {
            Rest(after, desktop);
        }
        EXPECT_EQ(menu.selected, modeRow) << i;
    }
    EXPECT_EQ(settings.windowMode, 0);

    // 1280 x 720 chosen with the keys while the pointer rests where "Вернуть"
    // stands in the smaller window: the dialog keeps "Оставить", and Enter
    // keeps the new size.
    const Window small{{320.0f, 180.0f}, 1280.0f};
    const Vector2 onRevert = OnDesktop(small, Centre(Menu::kRevertButton));
    Rest(windows[0], onRevert);
    Rest(windows[0], onRevert, {KEY_DOWN});
    Rest(windows[0], onRevert, {KEY_ENTER});
    ASSERT_TRUE(menu.dropdownOpen);
    Rest(windows[0], onRevert, {KEY_UP});
    Rest(windows[0], onRevert, {KEY_UP});
    Rest(windows[0], onRevert, {KEY_ENTER});
    ASSERT_TRUE(menu.confirmOpen);
    ASSERT_EQ(settings.resolution, 0);
    menu.WindowChanged();
    for (int frame = 0; frame < kLate; ++frame) {
        Rest(windows[0], onRevert);
    }
    Unannounced(small);
    for (int frame = 0; frame < 3; ++frame) {
        Rest(small, onRevert);
    }
    EXPECT_EQ(menu.confirmChoice, Menu::kConfirmKeep);
    Rest(small, onRevert, {KEY_ENTER});
    EXPECT_FALSE(menu.confirmOpen);
    EXPECT_EQ(settings.resolution, 0);
    EXPECT_EQ(LogLines::Lines().back(), "RESOLUTION: kept 1280x720");

    // Then the hand moves onto "Назад": the hover goes live.
    const Vector2 onBack = OnDesktop(small, Centre(Menu::SettingRow(SettingsRow(Menu::RowAction::Back))));
    Rest(small, onBack);
    EXPECT_EQ(menu.selected, SettingsRow(Menu::RowAction::Back));
}

// The walk a player tried: Right three times on "Режим окна" (each change
// moves or resizes the window under the cursor, resting where row 4 lies
// after the first change), then Down and Enter open the resolution list; a
// resolution left to revert after 10 s keeps the highlight on "Разрешение".
TEST_F(MenuTest, WindowModeWalkThenDownAndEnterOpenTheList) {
    LogLines log;
    const Window windows[] = {
        {{160.0f, 90.0f}, 1600.0f},  // "Оконный"
        {{0.0f, 0.0f}, 1920.0f},     // "Без рамки"
        {{0.0f, 0.0f}, 1920.0f},     // "Полный экран"
    };
    const Vector2 desktop = OnDesktop(windows[1], Centre(Menu::SettingRow(4)));
    menu.OpenSettings();
    Rest(windows[0], desktop);
    for (int i = 0; i < 4; ++i) {
        Rest(windows[0], desktop, {KEY_DOWN});
    }
    ASSERT_EQ(menu.selected, 4);
    for (int i = 1; i <= 2; ++i) {
        Rest(windows[i - 1], desktop, {KEY_RIGHT});
        ASSERT_EQ(settings.windowMode, i);
        Rest(windows[i], desktop);
        Rest(windows[i], desktop);
    }
    // The last change lands only after the player's Down.
    Rest(windows[2], desktop, {KEY_RIGHT});
    ASSERT_EQ(settings.windowMode, 0);
    Rest(windows[2], desktop, {KEY_DOWN});
    Rest(windows[0], desktop);
    Rest(windows[0], desktop);
    EXPECT_EQ(menu.selected, 5);
    Rest(windows[0], desktop, {KEY_ENTER});
    EXPECT_TRUE(menu.dropdownOpen);
    EXPECT_EQ(settings.windowMode, 0);

    // 1280 x 720 asked for, then left unanswered: the window shrinks and
    // grows back around the cursor.
    Rest(windows[0], desktop, {KEY_UP});
    Rest(windows[0], desktop, {KEY_UP});
    Rest(windows[0], desktop, {KEY_ENTER});
    ASSERT_TRUE(menu.confirmOpen);
    EXPECT_EQ(LogLines::Lines().back(), "RESOLUTION: requested 1280x720, confirm for 10 s");
    const Window small{{320.0f, 180.0f}, 1280.0f};
    while (menu.confirmOpen) {
        Rest(small, desktop, {}, 0.25f);
    }
    EXPECT_EQ(LogLines::Lines().back(), "RESOLUTION: reverted to 1600x900");
    for (int i = 0; i < 3; ++i) {
        Rest(windows[0], desktop);
    }
    EXPECT_EQ(menu.selected, 5);
    EXPECT_EQ(menu.page, Menu::Page::Settings);
}

// Escape puts the cursor at the window centre and tells the menu so in the
// window pixels of that frame; the menu last saw the cursor elsewhere, in its
// previous opening. The jump is no move: Enter resumes.
TEST_F(MenuTest, GameCentringTheCursorIsNoMove) {
    const Window window{{160.0f, 90.0f}, 1600.0f};
    const Vector2 centre{800.0f, 450.0f};
    const int resume = Menu::RowIndex(Menu::Page::Pause, Menu::RowAction::Resume);
    const int save = Menu::RowIndex(Menu::Page::Pause, Menu::RowAction::Save);
    const int settingsRow = Menu::RowIndex(Menu::Page::Pause, Menu::RowAction::Settings);
    ASSERT_TRUE(CheckCollisionPointRec(centre, Menu::MenuButton(Menu::Page::Pause, save)));
    const Vector2 before = Centre(Menu::MenuButton(Menu::Page::Pause, settingsRow));
    menu.OpenPause();
    Rest(window, OnDesktop(window, {before.x - 3.0f, before.y}));
    Rest(window, OnDesktop(window, before));
    ASSERT_EQ(menu.selected, settingsRow);
    menu.Close();

    menu.OpenPause();
    Rest(window, OnDesktop(window, centre));
    Rest(window, OnDesktop(window, centre));
    Rest(window, OnDesktop(window, centre));
    EXPECT_EQ(menu.selected, resume);
    EXPECT_EQ(Rest(window, OnDesktop(window, centre), {KEY_ENTER}), MenuAction::Resume);

    // The hand moves it afterwards: hover takes over.
    menu.OpenPause();
    Rest(window, OnDesktop(window, centre));
    Rest(window, OnDesktop(window, {centre.x + 4.0f, centre.y}));
    EXPECT_EQ(menu.selected, save);
}

TEST_F(MenuTest, ClickOnEmptyPanelActivatesNothing) {
    menu.OpenPause();
    menu.selected = 1;
    EXPECT_EQ(Step(ClickAt(540.0f, 300.0f)), MenuAction::None);
    EXPECT_EQ(menu.page, Menu::Page::Pause);
    EXPECT_EQ(menu.selected, 1);
}

// ---- New world and seeds ----

TEST_F(MenuTest, SeedEntryTakesOnlyTenDigits) {
    menu.OpenNewWorldPage();
    menu.seedText.clear();
    Step(Typed("12a-3 4"));
    EXPECT_EQ(menu.seedText, "1234");
    Step(Typed("5678901234"));
    EXPECT_EQ(menu.seedText, "1234567890");
    Press(KEY_BACKSPACE);
    EXPECT_EQ(menu.seedText, "123456789");
    FrameInput typeThenErase = Typed("7");
    typeThenErase.Press(KEY_BACKSPACE);
    Step(typeThenErase);
    EXPECT_EQ(menu.seedText, "123456789");
    menu.seedText.clear();
    Press(KEY_BACKSPACE);
    EXPECT_TRUE(menu.seedText.empty());
}

TEST_F(MenuTest, RequestedSeedSaturatesAndAvoidsZero) {
    menu.seedText = "123";
    EXPECT_EQ(menu.RequestedSeed(), 123u);
    menu.seedText = "0";
    EXPECT_EQ(menu.RequestedSeed(), 1u);
    menu.seedText = "0000000000";
    EXPECT_EQ(menu.RequestedSeed(), 1u);
    menu.seedText = "4294967295";
    EXPECT_EQ(menu.RequestedSeed(), 4294967295u);
    menu.seedText = "4294967296";
    EXPECT_EQ(menu.RequestedSeed(), 4294967295u);
    menu.seedText = "9999999999";
    EXPECT_EQ(menu.RequestedSeed(), 4294967295u);
    menu.seedText.clear();
    const uint32_t fresh = menu.RequestedSeed();
    EXPECT_GE(fresh, 1u);
    EXPECT_LE(fresh, 999999999u);
}

TEST_F(MenuTest, StartWithEmptyFieldFillsARandomSeed) {
    menu.OpenNewWorldPage();
    menu.seedText.clear();
    EXPECT_EQ(Press(KEY_ENTER), MenuAction::StartNewWorld);
    ASSERT_FALSE(menu.seedText.empty());
    EXPECT_EQ(menu.RequestedSeed(), std::stoul(menu.seedText));
    EXPECT_LE(menu.RequestedSeed(), 999999999u);

    menu.seedText = "42";
    EXPECT_EQ(Step(ClickOn(Menu::MenuButton(Menu::Page::NewWorld, 0))), MenuAction::StartNewWorld);
    EXPECT_EQ(menu.RequestedSeed(), 42u);
}

TEST_F(MenuTest, NewWorldButtonsRandomizeAndGoBack) {
    menu.OpenNewWorldPage();
    menu.seedText = "5";
    menu.selected = 1;
    EXPECT_EQ(Press(KEY_ENTER), MenuAction::None);
    EXPECT_NE(menu.seedText, "5");
    EXPECT_EQ(menu.page, Menu::Page::NewWorld);
    const std::string seed = menu.seedText;
    menu.selected = 2;
    Press(KEY_ENTER);
    EXPECT_EQ(menu.page, Menu::Page::Main);
    EXPECT_EQ(menu.selected, 0);
    EXPECT_EQ(menu.seedText, seed);
}

// ---- Settings rows ----

TEST_F(MenuTest, FrameCapWalksTheTableAndWraps) {
    menu.OpenSettings();
    menu.selected = 2;
    settings.fpsLimit = 30;
    std::vector<int> walked;
    for (int i = 0; i < 9; ++i) {
        Press(KEY_RIGHT);
        walked.push_back(settings.fpsLimit);
    }
    EXPECT_EQ(walked, (std::vector<int>{60, 75, 90, 120, 144, 165, 240, 0, 30}));
    Press(KEY_LEFT);
    EXPECT_EQ(settings.fpsLimit, 0);

    settings.fpsLimit = 100;
    Press(KEY_RIGHT);
    EXPECT_EQ(settings.fpsLimit, 60);
    settings.fpsLimit = 100;
    Press(KEY_LEFT);
    EXPECT_EQ(settings.fpsLimit, 0);
}

TEST_F(MenuTest, RowsAdjustWithArrowsAndActivation) {
    menu.OpenSettings();
    settings.renderDistance = 12;
    Press(KEY_ENTER);
    EXPECT_EQ(settings.renderDistance, 12);
    Press(KEY_LEFT);
    EXPECT_EQ(settings.renderDistance, 11);
    settings.renderDistance = 4;
    Press(KEY_LEFT);
    EXPECT_EQ(settings.renderDistance, 4);

    menu.selected = 1;
    Press(KEY_RIGHT);
    EXPECT_FALSE(settings.vsync);
    Press(KEY_SPACE);
    EXPECT_TRUE(settings.vsync);

    menu.selected = 3;
    Press(KEY_LEFT);
    EXPECT_TRUE(settings.fxaa);

    menu.selected = 4;
    Press(KEY_LEFT);
    EXPECT_EQ(settings.windowMode, 2);
    Press(KEY_RIGHT);
    EXPECT_EQ(settings.windowMode, 0);
    Press(KEY_ENTER);
    EXPECT_EQ(settings.windowMode, 1);

    menu.selected = 6;
    Step(Keys({KEY_LEFT, KEY_RIGHT}));
    EXPECT_EQ(menu.page, Menu::Page::Settings);
    EXPECT_EQ(settings.windowMode, 1);
    Press(KEY_ENTER);
    EXPECT_EQ(menu.page, Menu::Page::Main);
}

TEST_F(MenuTest, SliderClickSetsValueAndDragsWithoutActivating) {
    menu.OpenSettings();
    menu.selected = 3;
    const Rectangle track = Menu::kSliderTrack;
    Step(ClickAt(track.x, 281.0f));
    EXPECT_EQ(settings.renderDistance, 4);
    EXPECT_EQ(menu.selected, 0);
    EXPECT_TRUE(menu.draggingSlider);

    Step(HoldAt(track.x + track.width / 2.0f, 281.0f));
    EXPECT_EQ(settings.renderDistance, 8);
    // The drag follows the mouse off the track and the row.
    Step(HoldAt(track.x + track.width + 200.0f, 700.0f));
    EXPECT_EQ(settings.renderDistance, 12);

    Step(MouseAt(track.x, 281.0f));
    EXPECT_FALSE(menu.draggingSlider);
    EXPECT_EQ(settings.renderDistance, 12);

    // The row's label is not the slider: a click there adds one.
    settings.renderDistance = 6;
    Step(ClickAt(600.0f, 280.0f));
    EXPECT_EQ(settings.renderDistance, 7);
    EXPECT_FALSE(menu.draggingSlider);
}

// ---- Resolution dropdown and keep-or-revert ----

TEST_F(MenuTest, DropdownOpensOnTheResolutionRowAndWalks) {
    menu.OpenSettings();
    menu.selected = 5;
    settings.resolution = 3;
    Press(KEY_LEFT);
    ASSERT_TRUE(menu.dropdownOpen);
    EXPECT_EQ(menu.dropdownIndex, 3);
    Press(KEY_TAB);
    EXPECT_EQ(menu.dropdownIndex, 4);
    Press(KEY_DOWN);
    Press(KEY_DOWN);
    EXPECT_EQ(menu.dropdownIndex, 0);
    Press(KEY_UP);
    EXPECT_EQ(menu.dropdownIndex, 5);
    Press(KEY_ESCAPE);
    EXPECT_FALSE(menu.dropdownOpen);
    EXPECT_EQ(settings.resolution, 3);
    EXPECT_EQ(menu.page, Menu::Page::Settings);

    Step(ClickOn(Menu::SettingRow(5)));
    ASSERT_TRUE(menu.dropdownOpen);
    Step(MouseAt(Centre(Menu::DropdownRow(1)).x, Centre(Menu::DropdownRow(1)).y));
    EXPECT_EQ(menu.dropdownIndex, 1);
    Step(ClickAt(100.0f, 100.0f));
    EXPECT_FALSE(menu.dropdownOpen);
    EXPECT_FALSE(menu.confirmOpen);
    EXPECT_EQ(settings.resolution, 3);
}

// The list opened from the keys with the cursor at rest over another row
// opens on the current resolution ("текущее"), and Enter takes it: nothing
// is requested. A move in the list hovers; a key move takes the list back.
TEST_F(MenuTest, ListOpenedByKeysUnderARestingCursorKeepsTheCurrentResolution) {
    LogLines log;
    struct Case {
        int current;  // settings.resolution
        int rest;     // list row under the cursor
        int opener;   // key pressed on "Разрешение"
    };
    const Case cases[] = {
        {2, 0, KEY_RIGHT}, {0, 5, KEY_LEFT}, {4, 1, KEY_ENTER}, {5, 3, KEY_SPACE}, {1, 2, KEY_RIGHT},
    };
    for (const Case& c : cases) {
        const std::string name = "current " + std::to_string(c.current) + ", rest " + std::to_string(c.rest);
        settings = GameSettings{};
        settings.resolution = c.current;
        LogLines::Lines().clear();
        // The cursor arrives over the list's row, then the keys go up to
        // "Разрешение" and open the list there.
        const Vector2 rest = Centre(Menu::DropdownRow(c.rest));
        menu.OpenSettings();
        Step(MouseAt(10.0f, 10.0f));
        Step(MouseAt(rest.x, rest.y));
        FrameInput up = MouseAt(rest.x, rest.y);
        up.Press(KEY_UP);
        for (int i = 0; i < 7 && menu.selected != 5; ++i) {
            Step(up);
        }
        ASSERT_EQ(menu.selected, 5) << name;
        FrameInput open = MouseAt(rest.x, rest.y);
        open.Press(c.opener);
        Step(open);
        ASSERT_TRUE(menu.dropdownOpen) << name;
        Step(MouseAt(rest.x, rest.y));
        Step(MouseAt(rest.x, rest.y));
        EXPECT_EQ(menu.dropdownIndex, c.current) << name;

        // Hover in the list follows the page's rule: a move takes the row,
        // a key move hands the highlight back to the keys.
        Step(MouseAt(rest.x + 3.0f, rest.y));
        EXPECT_EQ(menu.dropdownIndex, c.rest) << name;
        FrameInput down = MouseAt(rest.x + 3.0f, rest.y);
        down.Press(KEY_DOWN);
        Step(down);
        Step(MouseAt(rest.x + 3.0f, rest.y));
        EXPECT_EQ(menu.dropdownIndex, (c.rest + 1) % cfg::kResolutionCount) << name;
        FrameInput back = MouseAt(rest.x + 3.0f, rest.y);
        back.Press(KEY_UP);
        Step(back);
        for (int i = 0; i < cfg::kResolutionCount && menu.dropdownIndex != c.current; ++i) {
            Step(back);
        }
        ASSERT_EQ(menu.dropdownIndex, c.current) << name;

        FrameInput enter = MouseAt(rest.x + 3.0f, rest.y);
        enter.Press(KEY_ENTER);
        Step(enter);
        EXPECT_FALSE(menu.dropdownOpen) << name;
        EXPECT_FALSE(menu.confirmOpen) << name;
        EXPECT_EQ(settings.resolution, c.current) << name;
        EXPECT_TRUE(LogLines::Lines().empty()) << name << ": " << LogLines::Lines().front();
    }
}

TEST_F(MenuTest, ChoosingTheSameResolutionChangesNothing) {
    LogLines log;
    menu.OpenSettings();
    menu.OpenResolutionDropdown(settings);
    Press(KEY_ENTER);
    EXPECT_FALSE(menu.dropdownOpen);
    EXPECT_FALSE(menu.confirmOpen);
    EXPECT_EQ(settings.resolution, 2);
    EXPECT_TRUE(LogLines::Lines().empty());
}

TEST_F(MenuTest, BorderlessTakesANewResolutionWithoutDialog) {
    menu.OpenSettings();
    settings.windowMode = 1;
    menu.OpenResolutionDropdown(settings);
    Step(ClickOn(Menu::DropdownRow(4)));
    EXPECT_EQ(settings.resolution, 4);
    EXPECT_FALSE(menu.confirmOpen);
    EXPECT_FALSE(menu.dropdownOpen);
}

TEST_F(MenuTest, UnansweredResolutionRevertsAfterTenSecondsOfCappedFrames) {
    LogLines log;
    menu.OpenSettings();
    menu.OpenResolutionDropdown(settings);
    Step(ClickOn(Menu::DropdownRow(3)));
    ASSERT_TRUE(menu.confirmOpen);
    EXPECT_EQ(settings.resolution, 3);
    EXPECT_EQ(menu.previousResolution, 2);
    EXPECT_FLOAT_EQ(menu.confirmTimer, 10.0f);
    EXPECT_EQ(menu.confirmChoice, 0);
    ASSERT_EQ(LogLines::Lines().size(), 1u);
    EXPECT_EQ(LogLines::Lines()[0], "RESOLUTION: requested 1920x1080, confirm for 10 s");

    // Long frames count 0.25 s each: 39 of them leave a quarter second.
    for (int i = 0; i < 39; ++i) {
        Step(FrameInput{}, 3.0f);
    }
    EXPECT_TRUE(menu.confirmOpen);
    EXPECT_EQ(settings.resolution, 3);
    Step(FrameInput{}, 3.0f);
    EXPECT_FALSE(menu.confirmOpen);
    EXPECT_EQ(settings.resolution, 2);
    EXPECT_EQ(LogLines::Lines().back(), "RESOLUTION: reverted to 1600x900");
}

TEST_F(MenuTest, KeepOrRevertByKeysAndMouse) {
    LogLines log;
    menu.OpenSettings();
    menu.ChooseResolution(settings, 0);
    ASSERT_TRUE(menu.confirmOpen);
    Press(KEY_LEFT);
    EXPECT_EQ(menu.confirmChoice, 1);
    Press(KEY_RIGHT);
    EXPECT_EQ(menu.confirmChoice, 0);
    Press(KEY_TAB);
    EXPECT_EQ(menu.confirmChoice, 1);
    Step(Keys({KEY_LEFT, KEY_RIGHT, KEY_TAB}));
    EXPECT_EQ(menu.confirmChoice, 0);
    Press(KEY_ENTER);
    EXPECT_FALSE(menu.confirmOpen);
    EXPECT_EQ(settings.resolution, 0);
    EXPECT_EQ(LogLines::Lines().back(), "RESOLUTION: kept 1280x720");

    menu.ChooseResolution(settings, 5);
    Press(KEY_ESCAPE);
    EXPECT_FALSE(menu.confirmOpen);
    EXPECT_EQ(settings.resolution, 0);
    EXPECT_EQ(LogLines::Lines().back(), "RESOLUTION: reverted to 1280x720");

    menu.ChooseResolution(settings, 1);
    Step(ClickAt(700.0f, 400.0f));
    EXPECT_TRUE(menu.confirmOpen);
    Step(MouseAt(Centre(Menu::kRevertButton).x, Centre(Menu::kRevertButton).y));
    EXPECT_EQ(menu.confirmChoice, 1);
    EXPECT_TRUE(menu.confirmOpen);
    Step(ClickOn(Menu::kKeepButton));
    EXPECT_FALSE(menu.confirmOpen);
    EXPECT_EQ(settings.resolution, 1);
    EXPECT_EQ(LogLines::Lines().back(), "RESOLUTION: kept 1366x768");

    menu.ChooseResolution(settings, 2);
    Step(ClickOn(Menu::kRevertButton));
    EXPECT_EQ(settings.resolution, 1);
}

// ---- Exit dialog ----

TEST_F(MenuTest, ExitDialogOnMainQuitsOrCancels) {
    menu.OpenMain();
    menu.OpenExitConfirm();
    EXPECT_EQ(Press(KEY_ENTER), MenuAction::None);
    EXPECT_FALSE(menu.exitConfirmOpen);

    menu.OpenExitConfirm();
    Press(KEY_TAB);
    EXPECT_EQ(menu.exitChoice, 0);
    Press(KEY_RIGHT);
    EXPECT_EQ(menu.exitChoice, 1);
    EXPECT_EQ(Press(KEY_ESCAPE), MenuAction::None);
    EXPECT_FALSE(menu.exitConfirmOpen);
    EXPECT_TRUE(menu.open);

    menu.OpenExitConfirm();
    EXPECT_EQ(Step(ClickAt(700.0f, 400.0f)), MenuAction::None);
    EXPECT_TRUE(menu.exitConfirmOpen);
    EXPECT_EQ(Step(ClickOn(menu.ExitButton(0))), MenuAction::Quit);
    EXPECT_FALSE(menu.exitConfirmOpen);
}

TEST_F(MenuTest, ExitDialogOnPauseHasThreeWays) {
    menu.OpenPause();
    menu.OpenExitConfirm();
    Press(KEY_LEFT);
    EXPECT_EQ(menu.exitChoice, 1);
    EXPECT_EQ(Press(KEY_SPACE), MenuAction::Quit);

    menu.OpenExitConfirm();
    Press(KEY_RIGHT);
    EXPECT_EQ(menu.exitChoice, 0);
    EXPECT_EQ(Press(KEY_ENTER), MenuAction::ToMainMenu);

    menu.OpenExitConfirm();
    const Vector2 middle = Centre(menu.ExitButton(1));
    Step(MouseAt(middle.x, middle.y));
    EXPECT_EQ(menu.exitChoice, 1);
    EXPECT_EQ(Step(ClickOn(menu.ExitButton(2))), MenuAction::None);
    EXPECT_FALSE(menu.exitConfirmOpen);
    EXPECT_EQ(menu.page, Menu::Page::Pause);
}

}  // namespace
