#include "app/HandCursors.h"

#include <cstddef>
#include <string_view>

namespace Zorva {

namespace {

constexpr uint32_t kOutline = 0xFF000000;
constexpr uint32_t kFill = 0xFFFFFFFF;

// 'X' outline, 'o' fill, anything else transparent; rows shorter than the cursor are padded.
constexpr std::string_view kHandRows[] = {
    "",
    "",
    "",
    "           XX",
    "          XooX",
    "          XooX",
    "          XooX",
    "          XooX",
    "          XooXXX",
    "          XooXooXXX",
    "          XooXooXooXX",
    "          XooXooXooXoX",
    "       XX XooXooXooXoX",
    "      XooXXooooooooooX",
    "       XoooooooooooooX",
    "        XooooooooooooX",
    "        XooooooooooooX",
    "         XoooooooooooX",
    "         XooooooooooX",
    "          XoooooooooX",
    "          XoooooooooX",
    "           XooooooooX",
    "           XXXXXXXXXX",
};

constexpr std::string_view kDraggingHandRows[] = {
    "",
    "",
    "",
    "",
    "",
    "",
    "          XX XX XX",
    "         XooXooXooXX",
    "         XooXooXooXoX",
    "       XXXooooooooooX",
    "      XoooooooooooooX",
    "      XoooooooooooooX",
    "      XoooooooooooooX",
    "       XooooooooooooX",
    "        XoooooooooooX",
    "         XooooooooooX",
    "         XooooooooooX",
    "          XXXXXXXXXXX",
};

template <std::size_t RowCount>
CursorPixels FromRows(const std::string_view (&rows)[RowCount], int hotX, int hotY)
{
    static_assert(RowCount <= kHandCursorSide);
    CursorPixels cursor;
    cursor.width = kHandCursorSide;
    cursor.height = kHandCursorSide;
    cursor.hotX = hotX;
    cursor.hotY = hotY;
    cursor.argb.assign(static_cast<std::size_t>(kHandCursorSide) * kHandCursorSide, 0);
    for (std::size_t row = 0; row < RowCount; ++row) {
        const std::string_view line = rows[row];
        for (std::size_t column = 0; column < line.size() && column < kHandCursorSide; ++column) {
            uint32_t& pixel = cursor.argb[row * kHandCursorSide + column];
            if (line[column] == 'X') {
                pixel = kOutline;
            } else if (line[column] == 'o') {
                pixel = kFill;
            }
        }
    }
    return cursor;
}

} // namespace

CursorPixels HandCursorPixels()
{
    return FromRows(kHandRows, 11, 4);
}

CursorPixels DraggingHandCursorPixels()
{
    return FromRows(kDraggingHandRows, 15, 10);
}

} // namespace Zorva
