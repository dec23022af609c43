#include "app/ChangedRegion.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace Zorva {

Rect FindChangedRect(const uint32_t* before, const uint32_t* after, int width, int height)
{
    if (width <= 0 || height <= 0) {
        return Rect();
    }
    const auto rowWords = static_cast<std::size_t>(width);
    int top = -1;
    int bottom = -1;
    int left = width;
    int right = -1;
    for (int row = 0; row < height; ++row) {
        const uint32_t* oldRow = before + static_cast<std::size_t>(row) * rowWords;
        const uint32_t* newRow = after + static_cast<std::size_t>(row) * rowWords;
        // Most rows of a frame are untouched: compare them whole first.
        if (std::memcmp(oldRow, newRow, rowWords * sizeof(uint32_t)) == 0) {
            continue;
        }
        if (top < 0) {
            top = row;
        }
        bottom = row;
        int first = 0;
        while (oldRow[first] == newRow[first]) {
            ++first;
        }
        int last = width - 1;
        while (oldRow[last] == newRow[last]) {
            --last;
        }
        left = std::min(left, first);
        right = std::max(right, last);
    }
    if (top < 0) {
        return Rect();
    }
    return Rect(left, top, right - left + 1, bottom - top + 1);
}

} // namespace Zorva
