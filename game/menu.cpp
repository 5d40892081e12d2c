// menu.cpp: the menu's pages and their input; the mouse is brought into the
// 1600 x 900 UI space before any hit test. The dialogs over a page are in
// menu_dialogs.cpp.
#include "game/menu.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include "game/frame_layout.h"
#include "game/menu_input.h"
#include "game/window.h"

namespace {

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
    mouseKnown = false;
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
    mouseKnown = false;
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

void Menu::WindowChanged() {
    WaitForHand();
    mouseKnown = false;
}

void Menu::WaitForHand() {
    hoverLive = false;
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
    // The hand has moved once the cursor's UI point has changed since hover
    // last waited for it. After the menu opens or the window changes, the
    // first frame only notes where the cursor is: a window change shifts the
    // UI point of a still cursor, and the game's own jump of it to the centre
    // is told to the menu in that frame's window pixels.
    if (mouseKnown && (mouse.x != lastMouse.x || mouse.y != lastMouse.y)) {
        mouseMoved = true;
    }
    if (mouseMoved || input.leftPressed) {
        hoverLive = true;
    }
    lastMouse = mouse;
    mouseKnown = true;
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

    if ((input.leftPressed && hovering) || MenuActivated(input)) {
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
