#include "ContactSheetLayout.h"

#include <algorithm>

SheetLayout LayOutSheet(const std::vector<SheetEntry>& entries, const SheetStyle& style,
                        const std::function<int(const std::string&)>& captionWidth)
{
    SheetLayout layout;
    layout.width = style.sheetWidth;
    const int maxWidth = std::max(style.sheetWidth - 2 * style.padding, 1);
    int x = style.padding;
    int y = style.padding;
    int rowHeight = 0;
    for (const SheetEntry& entry : entries) {
        SheetTile tile;
        tile.shrink = entry.width > style.largeWidth ? 2 : 1;
        tile.drawWidth = std::max(entry.width / tile.shrink, 1);
        tile.drawHeight = std::max(entry.height / tile.shrink, 1);
        // A picture wider than the whole sheet even at half size is shrunk to fit.
        if (tile.drawWidth > maxWidth) {
            tile.drawHeight = std::max(tile.drawHeight * maxWidth / tile.drawWidth, 1);
            tile.drawWidth = maxWidth;
        }
        const int tileWidth =
            std::min(std::max(tile.drawWidth, captionWidth(entry.caption)), maxWidth);
        const int tileHeight = tile.drawHeight + style.captionHeight;
        if (x + tileWidth > style.sheetWidth - style.padding && x > style.padding) {
            x = style.padding;
            y += rowHeight + style.padding;
            rowHeight = 0;
        }
        tile.x = x;
        tile.y = y;
        tile.captionX = x;
        tile.captionY = y + tile.drawHeight + style.captionHeight - 5;
        layout.tiles.push_back(tile);
        x += tileWidth + style.padding;
        rowHeight = std::max(rowHeight, tileHeight);
    }
    layout.height = y + rowHeight + style.padding;
    return layout;
}
