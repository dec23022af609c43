#pragma once

#include <functional>
#include <string>
#include <vector>

/// One picture to show on the sheet, with the caption under it.
struct SheetEntry
{
    std::string caption;
    int width = 0;
    int height = 0;
};

/// Where an entry goes: the picture's top left and drawn size, and the caption's baseline.
struct SheetTile
{
    int x = 0;
    int y = 0;
    int drawWidth = 0;
    int drawHeight = 0;
    /// 1 for pictures shown at their own size, 2 for large ones shown at half size.
    int shrink = 1;
    int captionX = 0;
    int captionY = 0;
};

struct SheetLayout
{
    int width = 0;
    int height = 0;
    std::vector<SheetTile> tiles;
};

/// How the sheet is laid out: pictures wider than `largeWidth` are halved so that the sheet
/// stays of a size a person can look at; rows are filled left to right in the given order.
struct SheetStyle
{
    int sheetWidth = 1800;
    int padding = 12;
    int captionHeight = 18;
    int largeWidth = 420;
};

/// Lays out the entries in the given order. `captionWidth` measures a caption in pixels;
/// a tile is as wide as the wider of its picture and its caption.
SheetLayout LayOutSheet(const std::vector<SheetEntry>& entries, const SheetStyle& style,
                        const std::function<int(const std::string&)>& captionWidth);
