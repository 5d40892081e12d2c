// menu_dialogs.cpp: the dialogs that open over a menu page and take its input
// while open: the resolution list, the keep-or-revert confirmation of a new
// window size, and the exit confirmation.
#include <algorithm>
#include <array>

#include "game/menu/menu.h"
#include "game/menu/menu_input.h"

namespace {

// The confirmation's countdown never jumps by more than this in one frame.
constexpr float kMaxConfirmStep = 0.25f;

using Row = Menu::Row;
using RowAction = Menu::RowAction;

// The exit dialog's buttons, left to right, "Отмена" last.
constexpr std::array<Row, 2> kExitMainLabels{{
    {"Выйти из игры", RowAction::Quit},
    {"Отмена", RowAction::Cancel},
}};
constexpr std::array<Row, 3> kExitPauseLabels{{
    {"В главное меню", RowAction::ToMainMenu},
    {"Выйти из игры", RowAction::Quit},
    {"Отмена", RowAction::Cancel},
}};

}  // namespace

// ---- Resolution list and confirmation ----

void Menu::OpenResolutionDropdown(const GameSettings& settings) {
    dropdownOpen = true;
    dropdownIndex = std::clamp(settings.resolution, 0, cfg::kResolutionCount - 1);
    WaitForHand();
}

void Menu::ChooseResolution(GameSettings& settings, int index) {
    dropdownOpen = false;
    index = std::clamp(index, 0, cfg::kResolutionCount - 1);
    if (index == settings.resolution) {
        return;
    }
    if (settings.windowMode != 0) {
        settings.resolution = index;
        return;
    }
    previousResolution = settings.resolution;
    settings.resolution = index;
    confirmOpen = true;
    confirmTimer = kConfirmSeconds;
    confirmChoice = kConfirmKeep;
    WaitForHand();
    const WindowSize size = ResolutionAt(index);
    TraceLog(LOG_INFO, "RESOLUTION: requested %dx%d, confirm for 10 s", size.width, size.height);
}

void Menu::RevertResolution(GameSettings& settings) {
    settings.resolution = previousResolution;
    confirmOpen = false;
    const WindowSize size = ResolutionAt(settings.resolution);
    TraceLog(LOG_INFO, "RESOLUTION: reverted to %dx%d", size.width, size.height);
}

void Menu::UpdateResolutionDropdown(GameSettings& settings, const FrameInput& input, Vector2 mouse) {
    if (input.Pressed(KEY_ESCAPE)) {
        dropdownOpen = false;
        return;
    }
    if (input.Pressed(KEY_UP)) {
        dropdownIndex = (dropdownIndex + cfg::kResolutionCount - 1) % cfg::kResolutionCount;
        WaitForHand();
    }
    if (input.Pressed(KEY_DOWN) || input.Pressed(KEY_TAB)) {
        dropdownIndex = (dropdownIndex + 1) % cfg::kResolutionCount;
        WaitForHand();
    }
    if (MenuActivated(input)) {
        ChooseResolution(settings, dropdownIndex);
        return;
    }
    int hovered = -1;
    for (int i = 0; hoverLive && i < cfg::kResolutionCount; ++i) {
        if (Inside(mouse, DropdownRow(i))) {
            dropdownIndex = i;
            hovered = i;
        }
    }
    if (input.leftPressed) {
        if (hovered >= 0) {
            ChooseResolution(settings, hovered);
        } else {
            dropdownOpen = false;
        }
    }
}

void Menu::UpdateResolutionConfirm(GameSettings& settings, float dt, const FrameInput& input, Vector2 mouse) {
    confirmTimer -= std::clamp(dt, 0.0f, kMaxConfirmStep);
    if (confirmTimer <= 0.0f) {
        RevertResolution(settings);
        return;
    }
    if (input.Pressed(KEY_LEFT) || input.Pressed(KEY_RIGHT) || input.Pressed(KEY_TAB)) {
        confirmChoice = confirmChoice == kConfirmKeep ? kConfirmRevert : kConfirmKeep;
        WaitForHand();
    }
    bool keep = false;
    bool revert = false;
    if (input.Pressed(KEY_ESCAPE)) {
        revert = true;
    } else if (MenuActivated(input)) {
        keep = confirmChoice == kConfirmKeep;
        revert = !keep;
    } else if (hoverLive) {
        if (Inside(mouse, kKeepButton)) {
            confirmChoice = kConfirmKeep;
            keep = input.leftPressed;
        } else if (Inside(mouse, kRevertButton)) {
            confirmChoice = kConfirmRevert;
            revert = input.leftPressed;
        }
    }
    if (keep) {
        confirmOpen = false;
        const WindowSize size = ResolutionAt(settings.resolution);
        TraceLog(LOG_INFO, "RESOLUTION: kept %dx%d", size.width, size.height);
    } else if (revert) {
        RevertResolution(settings);
    }
}

// ---- Exit confirmation ----

std::span<const Menu::Row> Menu::ExitRows() const {
    if (page == Page::Pause) {
        return kExitPauseLabels;
    }
    return kExitMainLabels;
}

MenuAction Menu::UpdateExitConfirm(GameSettings& settings, const FrameInput& input, Vector2 mouse) {
    const std::span<const Row> buttons = ExitRows();
    const int n = static_cast<int>(buttons.size());

    if (input.Pressed(KEY_ESCAPE)) {
        exitConfirmOpen = false;
        return MenuAction::None;
    }
    if (input.Pressed(KEY_LEFT) || input.Pressed(KEY_TAB)) {
        exitChoice = (exitChoice + n - 1) % n;
        WaitForHand();
    }
    if (input.Pressed(KEY_RIGHT)) {
        exitChoice = (exitChoice + 1) % n;
        WaitForHand();
    }
    int hovered = -1;
    for (int i = 0; hoverLive && i < n; ++i) {
        if (Inside(mouse, ExitButton(i))) {
            exitChoice = i;
            hovered = i;
        }
    }
    const bool clicked = input.leftPressed && hovered >= 0;
    if (!clicked && !MenuActivated(input)) {
        return MenuAction::None;
    }

    exitConfirmOpen = false;
    return Activate(settings, ActionAt(buttons, exitChoice));
}
