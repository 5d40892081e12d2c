// menu.cpp: the menu's pages, dialogs and input; the mouse is brought into the
// 1600 x 900 UI space before any hit test.
#include "game/menu.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include "game/frame_layout.h"
#include "game/window.h"

namespace {

constexpr float kMaxConfirmStep = 0.25f;
constexpr int kSeedMin = 1;
constexpr int kSeedMax = 999999999;

int ItemCount(Menu::Page page) {
    switch (page) {
        case Menu::Page::Main: return Menu::kMainItemCount;
        case Menu::Page::NewWorld: return Menu::kNewWorldItemCount;
        case Menu::Page::Pause: return Menu::kPauseItemCount;
        case Menu::Page::Settings: return Menu::kSettingsRowCount;
    }
    return Menu::kMainItemCount;
}

// Rows whose value Left, Right and activation step.
bool AdjustableRow(int row) {
    return row >= Menu::kRowRenderDistance && row <= Menu::kRowWindowMode;
}

bool Activated(const FrameInput& input) {
    return input.Pressed(KEY_ENTER) || input.Pressed(KEY_KP_ENTER) || input.Pressed(KEY_SPACE);
}

bool Inside(Vector2 p, Rectangle r) {
    return CheckCollisionPointRec(p, r);
}

uint32_t RandomSeed() {
    std::random_device device;
    std::mt19937 generator(device());
    std::uniform_int_distribution<uint32_t> draw(kSeedMin, kSeedMax);
    return draw(generator);
}

std::string SeedText(uint32_t seed) {
    char text[16];
    std::snprintf(text, sizeof text, "%u", seed);
    return text;
}

}  // namespace

// ---- Openers ----

void Menu::OpenMain() {
    open = true;
    ShowPage(Page::Main);
    returnPage = Page::Main;
    pointerKnown = false;
    notice.clear();
    dropdownOpen = false;
    confirmOpen = false;
    exitConfirmOpen = false;
}

void Menu::OpenPause() {
    OpenMain();
    page = Page::Pause;
    returnPage = Page::Pause;
}

void Menu::OpenSettings() {
    open = true;
    ShowPage(Page::Settings);
    returnPage = Page::Main;
    pointerKnown = false;
    dropdownOpen = false;
    confirmOpen = false;
    exitConfirmOpen = false;
}

void Menu::OpenPauseSettings() {
    OpenSettings();
    returnPage = Page::Pause;
    notice.clear();
}

void Menu::OpenNewWorldPage() {
    OpenMain();
    EnterSeedPage();
}

void Menu::OpenExitConfirm() {
    open = true;
    exitConfirmOpen = true;
    exitChoice = page == Page::Pause ? kExitPauseCancel : kExitMainCancel;
    WaitForHand();
}

void Menu::Close() {
    open = false;
    dropdownOpen = false;
    confirmOpen = false;
    exitConfirmOpen = false;
}

void Menu::ShowPage(Page shown) {
    page = shown;
    selected = 0;
    WaitForHand();
}

void Menu::WaitForHand() {
    hoverLive = false;
    pointerMoved = false;
    mouseMoved = false;
}

bool Menu::Back() {
    if (!open) {
        return false;
    }
    if (exitConfirmOpen) {
        exitConfirmOpen = false;
        return false;
    }
    switch (page) {
        case Page::Settings: ShowPage(returnPage); return false;
        case Page::NewWorld: ShowPage(Page::Main); return false;
        case Page::Pause: open = false; return true;
        case Page::Main: return false;
    }
    return false;
}

// ---- Seeds ----

uint32_t Menu::RequestedSeed() const {
    if (seedText.empty()) {
        return RandomSeed();
    }
    uint64_t value = 0;
    for (char c : seedText) {
        if (c < '0' || c > '9') {
            break;
        }
        value = std::min<uint64_t>(value * 10 + static_cast<uint64_t>(c - '0'), UINT32_MAX);
    }
    return value == 0 ? 1u : static_cast<uint32_t>(value);
}

void Menu::EnterSeedPage() {
    ShowPage(Page::NewWorld);
    seedText = SeedText(RandomSeed());
}

void Menu::RandomizeSeed() {
    seedText = SeedText(RandomSeed());
}

// ---- Layout ----

Rectangle Menu::PanelFor(Page page) {
    if (page == Page::Settings) {
        return {520.0f, 155.0f, 560.0f, 590.0f};
    }
    return {520.0f, 240.0f, 560.0f, 420.0f};
}

Rectangle Menu::MenuButton(Page page, int index) {
    const float y0 = page == Page::NewWorld ? 460.0f : 358.0f;
    return {560.0f, y0 + 62.0f * static_cast<float>(index), 480.0f, 50.0f};
}

Rectangle Menu::SettingRow(int row) {
    return {560.0f, 255.0f + 58.0f * static_cast<float>(row), 480.0f, 50.0f};
}

Rectangle Menu::SeedField() {
    return {580.0f, 372.0f, 440.0f, 54.0f};
}

// Centred on 800, 16 px apart, each wide enough for "В главное меню".
Rectangle Menu::ExitButton(int index) const {
    const float x0 = page == Page::Pause ? 484.0f : 592.0f;
    return {x0 + 216.0f * static_cast<float>(index), 485.0f, 200.0f, 48.0f};
}

Rectangle Menu::DropdownRow(int row) {
    return {564.0f, 603.0f + 34.0f * static_cast<float>(row), 472.0f, 32.0f};
}

// ---- Settings edits ----

void Menu::Adjust(GameSettings& settings, int delta) {
    switch (selected) {
        case kRowRenderDistance:
            settings.renderDistance = std::clamp(settings.renderDistance + delta, cfg::kMinRenderDistance,
                                                 cfg::kMaxRenderDistance);
            break;
        case kRowVsync: settings.vsync = !settings.vsync; break;
        case kRowFpsLimit: {
            const auto found = std::find(kFpsValues.begin(), kFpsValues.end(), settings.fpsLimit);
            const int i = found == kFpsValues.end() ? 0 : static_cast<int>(found - kFpsValues.begin());
            const int next = ((i + delta) % kFpsValueCount + kFpsValueCount) % kFpsValueCount;
            settings.fpsLimit = kFpsValues[static_cast<size_t>(next)];
            break;
        }
        case kRowFxaa: settings.fxaa = !settings.fxaa; break;
        case kRowWindowMode: settings.windowMode = ((settings.windowMode + delta) % 3 + 3) % 3; break;
        default: break;
    }
}

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

// ---- Frame input ----

MenuAction Menu::Update(GameSettings& settings, const FrameInput& input) {
    return Update(settings, input, GetFrameTime(), frame::UiScale(window::Width()));
}

MenuAction Menu::Update(GameSettings& settings, const FrameInput& input, float frameTime, float uiScale) {
    if (!open) {
        return MenuAction::None;
    }
    const float scale = uiScale > 0.0f ? uiScale : 1.0f;
    const Vector2 mouse{input.mouse.x / scale, input.mouse.y / scale};
    // The hand has moved once the cursor has moved both on the desktop and
    // over the UI. A window change under a still cursor shifts its UI point
    // but not its desktop point: the item now under it is not the hand's
    // choice, so the highlight waits for the hand again (a click still hits
    // that item). The game's own jump of the cursor to the centre is told to
    // the menu in that frame's window pixels; should the frame's desktop
    // point have been read before the jump, it shifts once while the UI point
    // stays, which is no move either.
    const Vector2 pointer = input.DesktopMouse();
    if (pointerKnown) {
        const bool pointerStep = pointer.x != lastPointer.x || pointer.y != lastPointer.y;
        const bool mouseStep = mouse.x != lastMouse.x || mouse.y != lastMouse.y;
        if (mouseStep && !pointerStep) {
            WaitForHand();
        } else {
            pointerMoved = pointerMoved || pointerStep;
            mouseMoved = mouseMoved || mouseStep;
        }
    }
    if ((pointerMoved && mouseMoved) || input.leftPressed) {
        hoverLive = true;
    }
    lastPointer = pointer;
    lastMouse = mouse;
    pointerKnown = true;
    if (exitConfirmOpen) {
        return UpdateExitConfirm(input, mouse);
    }
    if (confirmOpen) {
        UpdateResolutionConfirm(settings, frameTime, input, mouse);
        return MenuAction::None;
    }
    if (dropdownOpen) {
        UpdateResolutionDropdown(settings, input, mouse);
        return MenuAction::None;
    }
    return UpdatePage(settings, input, mouse);
}

MenuAction Menu::UpdatePage(GameSettings& settings, const FrameInput& input, Vector2 mouse) {
    const int count = ItemCount(page);

    if (page == Page::NewWorld) {
        for (int c : input.typed) {
            if (c >= '0' && c <= '9' && static_cast<int>(seedText.size()) < kSeedDigits) {
                seedText.push_back(static_cast<char>(c));
            }
        }
        if (input.Pressed(KEY_BACKSPACE) && !seedText.empty()) {
            seedText.pop_back();
        }
    }

    if (input.Pressed(KEY_DOWN) || input.Pressed(KEY_TAB)) {
        selected = (selected + 1) % count;
        WaitForHand();
    }
    if (input.Pressed(KEY_UP)) {
        selected = (selected + count - 1) % count;
        WaitForHand();
    }

    if (page == Page::Settings) {
        if (input.leftPressed && Inside(mouse, kSliderHit)) {
            draggingSlider = true;
            selected = kRowRenderDistance;
        }
        if (input.leftDown && draggingSlider) {
            const float t = std::clamp((mouse.x - kSliderTrack.x) / kSliderTrack.width, 0.0f, 1.0f);
            settings.renderDistance = cfg::kMinRenderDistance + static_cast<int>(std::lroundf(8.0f * t));
            return MenuAction::None;
        }
        if (!input.leftDown) {
            draggingSlider = false;
        }
    }

    bool hovering = false;
    for (int i = 0; hoverLive && i < count; ++i) {
        const Rectangle item = page == Page::Settings ? SettingRow(i) : MenuButton(page, i);
        if (Inside(mouse, item)) {
            selected = i;
            hovering = true;
        }
    }

    if (page == Page::Settings) {
        const bool left = input.Pressed(KEY_LEFT);
        const bool right = input.Pressed(KEY_RIGHT);
        if (selected == kRowResolution && (left || right)) {
            OpenResolutionDropdown(settings);
            return MenuAction::None;
        }
        if (AdjustableRow(selected)) {
            if (left) {
                Adjust(settings, -1);
            }
            if (right) {
                Adjust(settings, +1);
            }
        }
    }

    if ((input.leftPressed && hovering) || Activated(input)) {
        return Activate(settings);
    }
    return MenuAction::None;
}

MenuAction Menu::Activate(GameSettings& settings) {
    switch (page) {
        case Page::Main:
            switch (selected) {
                case kMainNewWorld: EnterSeedPage(); break;
                case kMainLoad:
                    if (hasSave) return MenuAction::Load;
                    break;
                case kMainSettings:
                    ShowPage(Page::Settings);
                    returnPage = Page::Main;
                    break;
                case kMainExit: OpenExitConfirm(); break;
                default: break;
            }
            break;
        case Page::NewWorld:
            switch (selected) {
                case kNewWorldStart:
                    if (seedText.empty()) {
                        RandomizeSeed();
                    }
                    return MenuAction::StartNewWorld;
                case kNewWorldRandomSeed: RandomizeSeed(); break;
                case kNewWorldBack: ShowPage(Page::Main); break;
                default: break;
            }
            break;
        case Page::Pause:
            switch (selected) {
                case kPauseResume: return MenuAction::Resume;
                case kPauseSave: return MenuAction::Save;
                case kPauseSettings:
                    ShowPage(Page::Settings);
                    returnPage = Page::Pause;
                    break;
                case kPauseExit: OpenExitConfirm(); break;
                default: break;
            }
            break;
        case Page::Settings:
            if (AdjustableRow(selected)) {
                Adjust(settings, +1);
            } else if (selected == kRowResolution) {
                OpenResolutionDropdown(settings);
            } else if (selected == kRowBack) {
                ShowPage(returnPage);
            }
            break;
    }
    return MenuAction::None;
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
    if (Activated(input)) {
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
    } else if (Activated(input)) {
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

MenuAction Menu::UpdateExitConfirm(const FrameInput& input, Vector2 mouse) {
    const bool onPause = page == Page::Pause;
    const int n = onPause ? kExitPauseButtonCount : kExitMainButtonCount;
    const int quit = onPause ? kExitPauseQuit : kExitMainQuit;

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
    if (!clicked && !Activated(input)) {
        return MenuAction::None;
    }

    exitConfirmOpen = false;
    if (exitChoice == quit) {
        return MenuAction::Quit;
    }
    if (onPause && exitChoice == kExitPauseToMainMenu) {
        return MenuAction::ToMainMenu;
    }
    return MenuAction::None;  // "Отмена", the last button
}
