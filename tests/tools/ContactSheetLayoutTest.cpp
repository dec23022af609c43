#include "ContactSheetLayout.h"

#include <gtest/gtest.h>

namespace {

int SevenPerCharacter(const std::string& text)
{
    return static_cast<int>(text.size()) * 7;
}

} // namespace

TEST(ContactSheetLayout, TilesFillRowsInOrderWithoutOverlapOrSpill)
{
    std::vector<SheetEntry> entries;
    for (int i = 0; i < 40; ++i) {
        entries.push_back({"IMAGE_" + std::to_string(i), 30 + (i * 37) % 300, 20 + (i * 53) % 200});
    }
    SheetStyle style;
    style.sheetWidth = 900;
    const SheetLayout layout = LayOutSheet(entries, style, SevenPerCharacter);
    ASSERT_EQ(layout.tiles.size(), entries.size());
    for (std::size_t i = 0; i < layout.tiles.size(); ++i) {
        const SheetTile& a = layout.tiles[i];
        const int aw = std::max(a.drawWidth, SevenPerCharacter(entries[i].caption));
        const int ah = a.drawHeight + style.captionHeight;
        EXPECT_GE(a.x, style.padding);
        EXPECT_LE(a.x + aw, layout.width - style.padding);
        EXPECT_LE(a.y + ah, layout.height);
        EXPECT_GT(a.captionY, a.y + a.drawHeight);
        EXPECT_LE(a.captionY, a.y + ah);
        if (i > 0) {
            const SheetTile& before = layout.tiles[i - 1];
            // Either further along the same row or lower down, never back up.
            EXPECT_TRUE((a.y == before.y && a.x > before.x) || a.y > before.y);
        }
        for (std::size_t j = i + 1; j < layout.tiles.size(); ++j) {
            const SheetTile& b = layout.tiles[j];
            const int bw = std::max(b.drawWidth, SevenPerCharacter(entries[j].caption));
            const int bh = b.drawHeight + style.captionHeight;
            const bool apart =
                a.x + aw <= b.x || b.x + bw <= a.x || a.y + ah <= b.y || b.y + bh <= a.y;
            EXPECT_TRUE(apart) << "tiles " << i << " and " << j << " overlap";
        }
    }
}

TEST(ContactSheetLayout, LargePicturesHalvedWideOnesFittedLongCaptionsWidenTiles)
{
    SheetStyle style;
    style.sheetWidth = 600;
    style.largeWidth = 420;
    const std::vector<SheetEntry> entries = {
        {"small", 40, 50},   {"screen", 800, 600},
        {"strip", 2400, 80}, {"a caption far wider than its picture", 20, 20},
        {"next", 20, 20},
    };
    const SheetLayout layout = LayOutSheet(entries, style, SevenPerCharacter);
    EXPECT_EQ(layout.tiles[0].shrink, 1);
    EXPECT_EQ(layout.tiles[0].drawWidth, 40);
    EXPECT_EQ(layout.tiles[1].shrink, 2);
    EXPECT_EQ(layout.tiles[1].drawWidth, 400);
    EXPECT_EQ(layout.tiles[1].drawHeight, 300);
    // Halved it is still wider than the sheet, so it is scaled to the sheet's inner width.
    EXPECT_EQ(layout.tiles[2].drawWidth, 600 - 2 * style.padding);
    EXPECT_EQ(layout.tiles[2].drawHeight, 80 / 2 * (600 - 2 * style.padding) / 1200);
    // The caption sets the tile's width, so the next tile starts after the caption.
    const SheetTile& captioned = layout.tiles[3];
    const SheetTile& next = layout.tiles[4];
    if (next.y == captioned.y) {
        EXPECT_GE(next.x, captioned.x + SevenPerCharacter(entries[3].caption) + style.padding);
    }
    EXPECT_GE(layout.height, next.y + next.drawHeight + style.captionHeight);
}
