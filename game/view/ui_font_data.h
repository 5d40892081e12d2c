// ui_font_data.h: the UI font (DejaVu Sans Book 2.37) as one TrueType file
// compiled into the program; the array is generated from the font file at
// build time, and its size is the file's own.
#pragma once

namespace ui {
extern const unsigned char kUiFontData[];
extern const int kUiFontDataSize;
}  // namespace ui
