# Writes the UI font file as a C++ byte array (kUiFontData). The length is the
# file's own, so a different font file can never disagree with it.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT}; do not edit.\n"
  "#include \"game/view/ui_font_data.h\"\n"
  "namespace ui {\n"
  "extern const unsigned char kUiFontData[${size}] = {\n${bytes}\n};\n"
  "extern const int kUiFontDataSize = ${size};\n"
  "}\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
