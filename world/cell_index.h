// cell_index.h: the cell of a world coordinate on a square grid (chunks,
// settlement cells): floor(v / size) as an int, plain or held inside a range.
#pragma once
#include <cmath>

// Far enough for any place the streaming square can reach, near enough that
// the square around it never overflows int.
inline constexpr int kStreamCellLimit = 1073741824;
// The range the settlement searches hold their cells to.
inline constexpr int kQueryCellLimit = 1000000000;

// floor(v / size), unclamped: only for coordinates whose cell fits an int.
inline int CellIndex(float v, float size) {
    return static_cast<int>(std::floor(v / size));
}

// floor(v / size) held inside [-limit, limit]; a value that is not a number
// gives -limit, so no point reaches the conversion out of range.
inline int CellIndexWithin(float v, float size, int limit) {
    const float c = std::floor(v / size);
    const float bound = static_cast<float>(limit);
    if (!(c > -bound)) return -limit;
    if (!(c < bound)) return limit;
    return static_cast<int>(c);
}
