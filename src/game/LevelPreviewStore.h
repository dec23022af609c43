#pragma once

#include "game/GameMode.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Zorva {
class Image;
class MemoryImage;
} // namespace Zorva

class BoardModel;

/// What the level map shows of the levels: a small picture of each level of the page in view
/// and the map points of the mode. Thumbnails are kept per mode and level, so the maps of the
/// two modes never show each other's layouts.
class LevelPreviewStore
{
public:
    static constexpr int kThumbnailWidth = 120;
    static constexpr int kThumbnailHeight = 90;
    /// Loads a level background by its path ("images/" + name); null when there is none.
    using BackgroundLoader = std::function<Zorva::Image*(const std::string& path)>;

    /// Rendering loads levels into `model`'s play field, which must outlive the store.
    LevelPreviewStore(BoardModel& model, int stripX, int stripY);
    ~LevelPreviewStore();
    LevelPreviewStore(const LevelPreviewStore&) = delete;
    LevelPreviewStore& operator=(const LevelPreviewStore&) = delete;

    /// The map points of a mode: one per page of five levels.
    static std::vector<std::pair<int, int>> MapPointsFor(GameMode mode);
    /// Makes the points of `mode` the ones shown.
    void SetMapPoints(GameMode mode);

    /// Keeps thumbnails of levels first..last of `mode` only, rendering those missing.
    void PrepareThumbnails(GameMode mode, int first, int last);
    /// Renders level `level` of `mode` into a thumbnail, replacing the field's layers with the
    /// level's; false when the level cannot be read (no thumbnail then).
    bool RenderThumbnail(GameMode mode, int level);
    /// The thumbnail of a level, or null.
    Zorva::Image* Thumbnail(GameMode mode, int level) const;

    BoardModel& board;
    /// Where the level map lays out its strip of thumbnails.
    int stripX = 0;
    int stripY = 0;
    std::vector<std::pair<int, int>> mapPoints;
    BackgroundLoader loadBackground;

private:
    std::map<std::pair<GameMode, int>, std::unique_ptr<Zorva::MemoryImage>> thumbnails;
};
