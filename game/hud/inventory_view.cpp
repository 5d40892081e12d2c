// inventory_view.cpp: drawing of item icons and of the inventory window.
#include "game/hud/inventory_view.h"

#include <algorithm>

#include "game/hud/hud_layout.h"
#include "game/view/ui_font.h"

namespace {

constexpr float kCellSize = 64.0f;
constexpr float kCellPitch = 72.0f;
constexpr float kGridLeft = 444.0f;
constexpr float kGridTop = 320.0f;
constexpr int kColumns = 10;

constexpr Color kLetterColour{245, 240, 230, 255};
constexpr Color kPlateOutline{28, 30, 34, 255};

const char* GlyphLetter(ItemType type) {
    switch (type) {
        case ItemType::Groats: return "C";
        case ItemType::CannedFood: return "F";
        case ItemType::Water: return "W";
        case ItemType::FuelCan: return "T";
        case ItemType::Ammo: return "A";
        case ItemType::Firewood: return "D";
        case ItemType::SparePart: return "P";
        default: return "+";
    }
}

void DrawCoalLumps(Rectangle cell, float s) {
    const float cx = cell.x + cell.width * 0.5f;
    const float cy = cell.y + cell.height * 0.56f;
    DrawCircleV(Vector2{cx - 8.0f * s, cy + 4.0f * s}, 10.0f * s, Color{38, 38, 42, 255});
    DrawCircleV(Vector2{cx + 7.0f * s, cy + 5.0f * s}, 9.0f * s, Color{30, 30, 34, 255});
    DrawCircleV(Vector2{cx, cy - 5.0f * s}, 8.0f * s, Color{52, 52, 56, 255});
}

void DrawSlot(const InventorySlot& slot, int n, bool hovered, bool selected) {
    const Rectangle cell = InventoryCell(n);
    Color fill{38, 38, 42, 235};
    Color outline{80, 76, 70, 255};
    if (hovered) {
        fill = Color{66, 62, 54, 245};
        outline = Color{240, 222, 180, 255};
    } else if (n < Inventory::kHotbarSize) {
        fill = Color{44, 42, 38, 235};
        outline = selected ? Color{232, 206, 150, 255} : Color{116, 102, 74, 255};
    }
    DrawRectangleRounded(cell, 0.15f, 5, fill);
    DrawRectangleRoundedLines(cell, 0.15f, 5, outline);

    if (slot.count > 0) {
        DrawItemGlyph(slot.type, cell, 0.95f);
        ui::Text(TextFormat("%d", slot.count), static_cast<int>(cell.x + 48.0f), static_cast<int>(cell.y + 44.0f), 18,
                 kLetterColour);
    }
    if (n < Inventory::kHotbarSize) {
        const int key = (n + 1) % 10;
        ui::Text(TextFormat("%d", key), static_cast<int>(cell.x + 6.0f), 323, 14, Color{170, 162, 148, 255});
    }
}

}  // namespace

void DrawItemGlyph(ItemType type, Rectangle cell, float s) {
    if (type == ItemType::None) return;
    if (type == ItemType::Coal) {
        DrawCoalLumps(cell, s);
        return;
    }
    Rectangle plate{cell.x + 12.0f * s, cell.y + 12.0f * s, cell.width - 24.0f * s, cell.height - 24.0f * s};
    if (type == ItemType::Water) {
        plate = Rectangle{cell.x + 20.0f * s, cell.y + 12.0f * s, cell.width - 40.0f * s, cell.height - 24.0f * s};
    }
    DrawRectangleRounded(plate, 0.22f, 5, ItemDetails(type).colour);
    DrawRectangleRoundedLines(plate, 0.22f, 5, kPlateOutline);

    const char* letter = GlyphLetter(type);
    const float centreX = plate.x + plate.width * 0.5f;
    const float centreY = plate.y + plate.height * 0.5f;
    ui::Text(letter, ui::CentredX(centreX, ui::Measure(letter, 18)), static_cast<int>(centreY - 9.0f), 18,
             kLetterColour);
}

Rectangle InventoryCell(int slot) {
    const int column = slot % kColumns;
    const int row = slot / kColumns;
    return Rectangle{kGridLeft + kCellPitch * static_cast<float>(column),
                     kGridTop + kCellPitch * static_cast<float>(row), kCellSize, kCellSize};
}

int InventorySlotAt(Vector2 mouseUi) {
    for (int n = 0; n < Inventory::kSlotCount; ++n) {
        if (CheckCollisionPointRec(mouseUi, InventoryCell(n))) return n;
    }
    return -1;
}

std::string InventoryTooltipText(ItemType type) {
    const ItemInfo info = ItemDetails(type);
    std::string text = info.name;
    if (info.food != 0) text += "   +" + std::to_string(info.food) + " сытость";
    if (info.water != 0) text += "   +" + std::to_string(info.water) + " вода";
    if (info.health != 0) text += "   +" + std::to_string(info.health) + " HP";
    return text;
}

Rectangle InventoryTooltipBox(float textWidth, Vector2 mouseUi) {
    const float width = static_cast<float>(static_cast<int>(textWidth) + 24);
    const float x = std::max(8.0f, std::min(mouseUi.x + 14.0f, static_cast<float>(frame::kUiWidth) - width - 8.0f));
    return Rectangle{x, mouseUi.y + 16.0f, width, 34.0f};
}

void DrawInventoryWindow(const Inventory& inv, Vector2 mouseUi) {
    DrawRectangle(0, 0, frame::kUiWidth, frame::kUiHeight, Color{8, 9, 12, 150});
    const Rectangle panel{404.0f, 220.0f, 792.0f, 460.0f};
    DrawRectangleRounded(panel, 0.04f, 8, Color{26, 26, 30, 245});
    DrawRectangleRoundedLines(panel, 0.04f, 8, Color{110, 102, 88, 255});

    const char* title = "ИНВЕНТАРЬ";
    ui::Text(title, ui::CentredX(800.0f, ui::Measure(title, 30)), 242, 30, Color{245, 238, 225, 255});
    const char* help = "I / Esc - закрыть     ЛКМ - съесть / выпить";
    ui::Text(help, ui::CentredX(800.0f, ui::Measure(help, 16)), 282, 16, Color{170, 162, 148, 255});

    const int hovered = InventorySlotAt(mouseUi);
    for (int n = 0; n < Inventory::kSlotCount; ++n) {
        DrawSlot(inv.slots[n], n, n == hovered, n == inv.selected);
    }

    const char* legend1 = "P запчасть    T канистра    A патроны    D дрова";
    ui::Text(legend1, ui::CentredX(800.0f, ui::Measure(legend1, 15)), 622, 15, Color{166, 158, 144, 255});
    const char* legend2 = "C крупа    F консервы    W вода    + аптечка";
    ui::Text(legend2, ui::CentredX(800.0f, ui::Measure(legend2, 15)), 644, 15, Color{150, 144, 134, 255});

    if (hovered >= 0 && inv.slots[hovered].count > 0) {
        const std::string text = InventoryTooltipText(inv.slots[hovered].type);
        const Rectangle box = InventoryTooltipBox(ui::Measure(text.c_str(), 18), mouseUi);
        DrawRectangleRounded(box, 0.2f, 5, Color{20, 20, 24, 235});
        ui::Text(text.c_str(), static_cast<int>(box.x + 12.0f), static_cast<int>(box.y + 8.0f), 18,
                 Color{238, 232, 220, 255});
    }
}
