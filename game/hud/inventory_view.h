// inventory_view.h: the item icon shared by the inventory window and the HUD
// hotbar, and the inventory window itself, all in the 1600 x 900 UI space.
#pragma once
#include <string>

#include "game/rules/items.h"
#include "game/view/frame_layout.h"
#include "raylib.h"

// Draws the item's icon inside the cell; s scales the insets, not the letter.
void DrawItemGlyph(ItemType type, Rectangle cell, float s);

// The window's cell of slot 0..39.
Rectangle InventoryCell(int slot);
// The slot whose cell holds the point (left/top edges inside, right/bottom
// outside), or -1. Hover and clicks share this rule.
int InventorySlotAt(Vector2 mouseUi);

// The tooltip of an item: its name and what one item restores.
std::string InventoryTooltipText(ItemType type);
// The tooltip's box for a text of that measured width, kept inside the UI
// space horizontally.
Rectangle InventoryTooltipBox(float textWidth, Vector2 mouseUi);

// Dims the UI space and draws the inventory panel, its 40 slots and the
// tooltip of the hovered item.
void DrawInventoryWindow(const Inventory& inv, Vector2 mouseUi);
