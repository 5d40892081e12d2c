// menu.cpp: the menu's pages and their input; the mouse is brought into the
// 1600 x 900 UI space before any hit test. The dialogs over a page are in
// menu_dialogs.cpp.
#include "game/menu/menu.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <random>
#include "game/menu/menu_input.h"
#include "game/platform/window.h"
#include "game/view/frame_layout.h"

namespace {

constexpr int kSeedMin = 1;
constexpr int kSeedMax = 999999999;
// Chunks across the render-distance slider, from its left end to its right.
constexpr float kSliderSteps = static_cast<float>(cfg::kRenderDistanceSteps);

using Row = Menu::Row;
using RowAction = Menu::RowAction;

// Each page's rows, top to bottom.
constexpr std::array<Row, 4> kMainLabels{{
    {"Новый мир", RowAction::NewWorld},
    {"Загрузить", RowAction::Load},
    {"Настройки", RowAction::Settings},
    {"Выход", RowAction::Exit},
}};
constexpr std::array<Row, 4> kPauseLabels{{
    {"Продолжить", RowAction::Resume},
    {"Сохранить", RowAction::Save},
    {"Настройки", RowAction::Settings},
    {"Выход", RowAction::Exit},
}};
constexpr std::array<Row, 3> kNewWorldLabels{{
    {"Начать", RowAction::Start},
    {"Случайный сид", RowAction::RandomSeed},
    {"Назад", RowAction::Back},
}};
constexpr std::array<Row, 7> kSettingLabels{{
    {"Дальность рендера", RowAction::RenderDistance},
    {"VSync", RowAction::Vsync},
    {"Лимит FPS", RowAction::FpsLimit},
    {"Сглаживание", RowAction::Fxaa},
    {"Режим окна", RowAction::WindowMode},
    {"Разрешение", RowAction::Resolution},
    {"Назад", RowAction::Back},
}};

// Rows whose value Left, Right and activation step.
bool AdjustableRow(RowAction action) {
    return action >= RowAction::RenderDistance && action <= RowAction::WindowMode;
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
    exitChoice = static_cast<int>(ExitRows().size()) - 1;
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

MenuAction Menu::Escape() {
    if (open && page == Page::Main && !exitConfirmOpen) {
        OpenExitConfirm();
        return MenuAction::None;
    }
    return Back() ? MenuAction::Resume : MenuAction::None;
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

// ---- Rows ----

std::span<const Menu::Row> Menu::Rows(Page page) {
    switch (page) {
        case Page::Main: return kMainLabels;
        case Page::NewWorld: return kNewWorldLabels;
        case Page::Pause: return kPauseLabels;
        case Page::Settings: return kSettingLabels;
    }
    return kMainLabels;
}

int Menu::RowIndex(Page page, RowAction action) {
    const std::span<const Row> rows = Rows(page);
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].action == action) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

Menu::RowAction Menu::ActionAt(std::span<const Row> rows, int index) {
    return index >= 0 && index < static_cast<int>(rows.size()) ? rows[static_cast<size_t>(index)].action
                                                               : RowAction::None;
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
    switch (ActionAt(kSettingLabels, selected)) {
        case RowAction::RenderDistance:
            settings.renderDistance = std::clamp(settings.renderDistance + delta, cfg::kMinRenderDistance,
                                                 cfg::kMaxRenderDistance);
            break;
        case RowAction::Vsync: settings.vsync = !settings.vsync; break;
        case RowAction::FpsLimit: {
            const auto found = std::find(kFpsValues.begin(), kFpsValues.end(), settings.fpsLimit);
            const int i = found == kFpsValues.end() ? 0 : static_cast<int>(found - kFpsValues.begin());
            const int next = ((i + delta) % kFpsValueCount + kFpsValueCount) % kFpsValueCount;
            settings.fpsLimit = kFpsValues[static_cast<size_t>(next)];
            break;
        }
        case RowAction::Fxaa: settings.fxaa = !settings.fxaa; break;
        case RowAction::WindowMode: settings.windowMode = ((settings.windowMode + delta) % 3 + 3) % 3; break;
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
    NoteHand(input, mouse);
    if (exitConfirmOpen) {
        return UpdateExitConfirm(settings, input, mouse);
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

void Menu::NoteHand(const FrameInput& input, Vector2 mouse) {
    // Where the pointer is on the desktop this frame, when the window says
    // where it stands there.
    std::optional<Vector2> hand;
    if (input.windowOrigin) {
        hand = Vector2{input.windowOrigin->x + input.mouse.x, input.windowOrigin->y + input.mouse.y};
    }
    const auto moved = [](Vector2 a, Vector2 b) { return a.x != b.x || a.y != b.y; };
    // After the menu opens or the game changes the window, the first frame
    // only notes where the pointer is, and so does a frame that judges the
    // hand otherwise than the last one did.
    if (mouseKnown && hand && handKnown) {
        if (moved(*hand, lastHand)) {
            mouseMoved = true;
        } else if (moved(mouse, lastMouse)) {
            // The window moved or changed size under the still hand: what is
            // under the pointer now is not the hand's choice.
            WaitForHand();
        }
    } else if (mouseKnown && !hand && !handKnown && moved(mouse, lastMouse)) {
        mouseMoved = true;
    }
    if (mouseMoved || input.leftPressed) {
        hoverLive = true;
    }
    lastMouse = mouse;
    mouseKnown = true;
    lastHand = hand.value_or(Vector2{0.0f, 0.0f});
    handKnown = hand.has_value();
}

MenuAction Menu::UpdatePage(GameSettings& settings, const FrameInput& input, Vector2 mouse) {
    const std::span<const Row> rows = Rows(page);
    const int count = static_cast<int>(rows.size());

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
            selected = RowIndex(Page::Settings, RowAction::RenderDistance);
        }
        if (input.leftDown && draggingSlider) {
            const float t = std::clamp((mouse.x - kSliderTrack.x) / kSliderTrack.width, 0.0f, 1.0f);
            settings.renderDistance = cfg::kMinRenderDistance + static_cast<int>(std::lroundf(kSliderSteps * t));
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
        const RowAction row = ActionAt(rows, selected);
        if (row == RowAction::Resolution && (left || right)) {
            OpenResolutionDropdown(settings);
            return MenuAction::None;
        }
        if (AdjustableRow(row)) {
            if (left) {
                Adjust(settings, -1);
            }
            if (right) {
                Adjust(settings, +1);
            }
        }
    }

    if ((input.leftPressed && hovering) || MenuActivated(input)) {
        return Activate(settings, ActionAt(rows, selected));
    }
    return MenuAction::None;
}

MenuAction Menu::Activate(GameSettings& settings, RowAction action) {
    switch (action) {
        case RowAction::NewWorld: EnterSeedPage(); break;
        case RowAction::Load:
            if (hasSave) {
                return MenuAction::Load;
            }
            break;
        case RowAction::Settings: {
            const Page from = page;
            ShowPage(Page::Settings);
            returnPage = from;
            break;
        }
        case RowAction::Exit: OpenExitConfirm(); break;
        case RowAction::Start:
            if (seedText.empty()) {
                RandomizeSeed();
            }
            return MenuAction::StartNewWorld;
        case RowAction::RandomSeed: RandomizeSeed(); break;
        case RowAction::Back: Back(); break;
        case RowAction::Resume: return MenuAction::Resume;
        case RowAction::Save: return MenuAction::Save;
        case RowAction::RenderDistance:
        case RowAction::Vsync:
        case RowAction::FpsLimit:
        case RowAction::Fxaa:
        case RowAction::WindowMode: Adjust(settings, +1); break;
        case RowAction::Resolution: OpenResolutionDropdown(settings); break;
        case RowAction::ToMainMenu: return MenuAction::ToMainMenu;
        case RowAction::Quit: return MenuAction::Quit;
        case RowAction::Cancel:
        case RowAction::None: break;
    }
    return MenuAction::None;
}
