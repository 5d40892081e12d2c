// ui_font.h: the one interface font (ASCII, basic Cyrillic and a few marks),
// rasterised once from the embedded TrueType data; all UI text is drawn and
// measured through here with letter spacing 1, and placed by its measure.
#pragma once
#include "raylib.h"

namespace ui {

// Rasterises the embedded font at 48 px. Returns false, and installs raylib's
// default font instead, when the font could not be loaded. Needs a window.
bool LoadFont();

// Same as LoadFont from any TrueType bytes; LoadFont passes the embedded data.
bool LoadFontFromBytes(const unsigned char* data, int size);

// Frees the loaded font (never raylib's default) and falls back to the
// default font. Safe to call more than once.
void UnloadFont();

const ::Font& Font();

void Text(const char* text, int x, int y, int size, Color colour);

// Width of the text as Text would draw it at that size.
float Measure(const char* text, int size);

// x of a text of that measured width centred on cx, or right-aligned at rx.
int CentredX(float cx, float width);
int RightAlignedX(float rx, float width);
// truncate(v + 0.5): how the interface rounds a number it shows.
int HalfUp(float v);

}  // namespace ui
