#include "game/LevelPreviewStore.h"

#include "game/BoardModel.h"
#include "game/ResourceHandles.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"

LevelPreviewStore::LevelPreviewStore(BoardModel& model, int x0, int y0)
    : board(model), stripX(x0), stripY(y0)
{}

LevelPreviewStore::~LevelPreviewStore() = default;

std::vector<std::pair<int, int>> LevelPreviewStore::MapPointsFor(GameMode mode)
{
    if (mode == GameMode::TwoSide) {
        return {{202, 214}, {226, 243}, {271, 315}, {317, 365}, {405, 369},
                {510, 300}, {463, 251}, {411, 203}, {463, 159}, {519, 113}};
    }
    return {{504, 88},  {469, 91},  {435, 99},  {398, 107}, {366, 105}, {337, 123},
            {304, 141}, {332, 178}, {303, 204}, {275, 236}, {335, 235}, {387, 251}};
}

void LevelPreviewStore::SetMapPoints(GameMode mode)
{
    mapPoints = MapPointsFor(mode);
}

void LevelPreviewStore::PrepareThumbnails(GameMode mode, int first, int last)
{
    for (auto it = thumbnails.begin(); it != thumbnails.end();) {
        const auto& [key, image] = *it;
        if (key.first == mode && (key.second < first || key.second > last)) {
            it = thumbnails.erase(it);
        } else {
            ++it;
        }
    }
    for (int level = first; level <= last; ++level) {
        if (!thumbnails.contains({mode, level})) {
            RenderThumbnail(mode, level);
        }
    }
}

bool LevelPreviewStore::RenderThumbnail(GameMode mode, int level)
{
    if (!board.LoadLevel(board.LevelPath(mode, level), -1, -1, false)) {
        return false;
    }
    PlayField& field = board.field;
    Zorva::MemoryImage full;
    full.Create(800, 600);
    Zorva::Graphics g(&full);
    Zorva::Image* background = loadBackground && !field.backgroundName.empty()
                                   ? loadBackground("images/" + field.backgroundName)
                                   : nullptr;
    if (background) {
        g.SaveState();
        g.SetClip(50, 0, 700, 600);
        g.SetColor(Zorva::Color(255, 255, 255, 170));
        g.SetModulateImages(true);
        g.DrawImage(background, 0, 0);
        g.RestoreState();
    }
    for (const StoneList& layer : field.layers) {
        for (const auto& stone : layer) {
            const int shift = DominoFish::kLayerStep * stone->layer;
            g.DrawImage(IMAGE_FISH_BORDER, stone->x + shift - 44, stone->y - shift - 29);
        }
    }
    for (const StoneList& layer : field.layers) {
        for (const auto& stone : layer) {
            stone->Draw(g, 1);
        }
    }
    auto thumbnail = std::make_unique<Zorva::MemoryImage>();
    thumbnail->Create(kThumbnailWidth, kThumbnailHeight);
    Zorva::Graphics small(thumbnail.get());
    small.DrawImage(&full, 0, 0, kThumbnailWidth, kThumbnailHeight);
    thumbnails[{mode, level}] = std::move(thumbnail);
    return true;
}

Zorva::Image* LevelPreviewStore::Thumbnail(GameMode mode, int level) const
{
    const auto found = thumbnails.find({mode, level});
    return found == thumbnails.end() ? nullptr : found->second.get();
}
