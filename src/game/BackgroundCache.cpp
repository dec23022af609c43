#include "game/BackgroundCache.h"

#include "game/PlayField.h"
#include "game/Player.h"
#include "game/ResourceHandles.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"

BackgroundCache::BackgroundCache() = default;

BackgroundCache::~BackgroundCache() = default;

void BackgroundCache::Create()
{
    image = std::make_unique<Zorva::MemoryImage>();
    image->Create(kWidth, kHeight);
    graphics = std::make_unique<Zorva::Graphics>(image.get());
    graphics->SetColor(Zorva::Color(0, 0, 0, 255));
    graphics->FillRect(0, 0, kWidth, kHeight);
}

Zorva::Image* BackgroundCache::GetImage()
{
    if (!image) {
        Create();
    }
    return image.get();
}

void BackgroundCache::Rebuild(const PlayField& field, Zorva::Image* levelBackground)
{
    if (!image) {
        Create();
    }
    Zorva::Graphics& g = *graphics;
    g.SetColor(Zorva::Color(0, 0, 0, 255));
    g.FillRect(0, 0, kWidth, kHeight);
    g.DrawImage(levelBackground, 0, 0);
    for (const StoneList& layer : field.layers) {
        for (const auto& stone : layer) {
            // The editor shows nothing above the layer being edited.
            const bool hiddenInEditor =
                field.mode == GameMode::Editor &&
                (stone->layer > field.editorLayer ||
                 (field.editorDragging && stone.get() == field.editorSelection));
            if (stone->dragging || stone->flipActive || stone->IsMoving() || hiddenInEditor) {
                continue;
            }
            const int shift = DominoFish::kLayerStep * stone->layer;
            g.DrawImage(IMAGE_FISH_BORDER, stone->x + shift - 44, stone->y - shift - 29);
        }
    }
    const Player* player = field.CurrentPlayer();
    if (player && player->showPreview && field.mode != GameMode::Editor) {
        g.DrawImage(IMAGE_PREVIEW, 0, 26);
    }
    g.DrawImage(IMAGE_PANEL, 0, 520);
    g.DrawImage(IMAGE_PANEL_UP, 0, 0);
}
