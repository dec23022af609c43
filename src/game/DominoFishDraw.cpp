#include "game/DominoFish.h"

#include "game/GameMode.h"
#include "game/PlayField.h"
#include "game/Player.h"
#include "game/ResourceHandles.h"
#include "game/StoneList.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"

#include <cmath>
#include <numbers>

namespace {

constexpr int kHalfWidth = 40;
constexpr int kHalfHeight = 50;
constexpr int kLeftHalfX = 6;
constexpr int kRightHalfX = 46;
constexpr int kSplitWidth = 47;
constexpr int kPreviewX = 12;
constexpr int kPreviewY = 31;

Zorva::Image* Mutable(const Zorva::Image* image)
{
    // Drawing never changes a source image; the graphics interface just takes it non-const.
    return const_cast<Zorva::Image*>(image);
}

Zorva::Image* FaceImage(int style)
{
    static Zorva::Image** const kFaces[] = {&IMAGE_FISH_L, &IMAGE_FISH_L, &IMAGE_FISH_L2,
                                            &IMAGE_FISH_L3};
    return style >= 0 && style < 4 ? *kFaces[style] : IMAGE_FISH_L;
}

Zorva::Image* HoverImage(int style)
{
    static Zorva::Image** const kHovers[] = {&IMAGE_FISH_OVER, &IMAGE_FISH_OVER, &IMAGE_FISH_OVER2,
                                             &IMAGE_FISH_OVER3};
    return style >= 0 && style < 4 ? *kHovers[style] : IMAGE_FISH_OVER;
}

Zorva::Image* BackImage(int style)
{
    static Zorva::Image** const kBacks[] = {&IMAGE_FISH_BACK, &IMAGE_FISH_BACK, &IMAGE_FISH_BACK2,
                                            &IMAGE_FISH_BACK3};
    return style >= 0 && style < 4 ? *kBacks[style] : IMAGE_FISH_BACK;
}

Zorva::Image* LockImage(int number)
{
    static Zorva::Image** const kLocks[] = {&IMAGE_FISH_LOCK0, &IMAGE_FISH_LOCK1,
                                            &IMAGE_FISH_LOCK2};
    return number >= 0 && number < 3 ? *kLocks[number] : nullptr;
}

Zorva::Image* KeyImage(int number)
{
    static Zorva::Image** const kKeys[] = {&IMAGE_KEY_ANIM, &IMAGE_PYRAMID_ANIM,
                                           &IMAGE_SPHERE_ANIM};
    return number >= 0 && number < 3 ? *kKeys[number] : nullptr;
}

/// A picture centred in the 40 x 50 half whose top-left corner is (left, top).
void DrawCentred(Zorva::Graphics& graphics, Zorva::Image* picture, int left, int top)
{
    if (!picture) {
        return;
    }
    graphics.DrawImage(picture, left + (kHalfWidth - picture->GetWidth()) / 2,
                       top + (kHalfHeight - picture->GetHeight()) / 2);
}

bool LiesInLayer(const PlayField& field, const DominoFish* stone, int layer)
{
    if (layer < 0 || layer >= static_cast<int>(field.layers.size())) {
        return false;
    }
    for (const auto& member : field.layers[static_cast<std::size_t>(layer)]) {
        if (member.get() == stone) {
            return true;
        }
    }
    return false;
}

} // namespace

void DominoFish::Draw(Zorva::Graphics& graphics, int partFlag)
{
    if (!visible || alpha < 1) {
        return;
    }
    // The preview lies in the panel corner, outside whatever clips the stone itself.
    if (hovered && faceUp && !flipActive) {
        DrawPreview(graphics);
    }
    graphics.SaveState();
    if (alpha < 255) {
        graphics.SetColor(Zorva::Color(255, 255, 255, alpha));
        graphics.SetModulateImages(true);
    }
    if (clipActive && IsMoving()) {
        graphics.NarrowClip(clipRect.x, clipRect.y, clipRect.width, clipRect.height);
    }
    // A stone on its way somewhere is drawn whole; only resting staircases are split.
    if (splitDrawing && !dragging && settled && !IsMoving()) {
        if (partFlag == 1) {
            graphics.NarrowClip(drawLeft, drawTop - 10, kSplitWidth, 67);
        } else {
            graphics.NarrowClip(drawLeft + kSplitWidth, drawTop - 10, 40, 67);
        }
    }

    const bool lying = orientation != kUpright;
    if (flipActive) {
        graphics.DrawImageCell(Mutable(flipImage), drawLeft - 3, drawTop - 17, flipFrame);
        if (flipFrame >= 7 && lying && !joker) {
            const int xOffset = (6 - flipFrame) * 20 / 6 + 20;
            const int yOffset = 12 - flipFrame;
            const int growth = flipFrame - 6;
            Zorva::Image* left = PictureImage(LeftValue());
            Zorva::Image* right = PictureImage(RightValue());
            if (left) {
                const int w = left->GetWidth() * growth / 6;
                const int h = left->GetHeight();
                graphics.DrawImage(left, drawLeft + (kHalfWidth - w) / 2 + xOffset + 7,
                                   drawTop + (kHalfHeight - h) / 2 + yOffset, w, h);
            }
            if (right) {
                const int w = right->GetWidth() * growth / 6;
                const int h = right->GetHeight();
                graphics.DrawImage(right, drawLeft + (kHalfWidth - w) / 2 + 47,
                                   drawTop + (kHalfHeight - h) / 2 - yOffset, w, h);
            }
        }
    } else if (faceUp) {
        Zorva::Image* face = joker     ? IMAGE_FISH_JOKER
                             : hovered ? HoverImage(style)
                                       : FaceImage(style);
        const bool showPictures = lying && !joker;
        if (rotationState != 0) {
            graphics.DrawImageRotated(face, static_cast<float>(drawLeft),
                                      static_cast<float>(drawTop), rotationAngle);
            if (showPictures) {
                // The pictures turn about the stone's centre, each 22 pixels from it.
                const int centreX = drawLeft + kRightHalfX;
                const int centreY = drawTop + kHalfHeight / 2;
                const int values[2] = {LeftValue(), RightValue()};
                for (int half = 0; half < 2; ++half) {
                    Zorva::Image* picture = PictureImage(values[half]);
                    if (!picture) {
                        continue;
                    }
                    const int px = centreX + halfOffsets[static_cast<std::size_t>(half * 2)] -
                                   picture->GetWidth() / 2;
                    const int py = centreY + halfOffsets[static_cast<std::size_t>(half * 2 + 1)] -
                                   picture->GetHeight() / 2;
                    graphics.DrawImageRotated(picture, static_cast<float>(px),
                                              static_cast<float>(py), rotationAngle);
                }
            }
        } else {
            const int shift = bumpActive ? static_cast<int>(bumpOffset) : 0;
            graphics.DrawImage(face, drawLeft + shift, drawTop - shift);
            if (showPictures) {
                DrawCentred(graphics, PictureImage(LeftValue()), drawLeft + kLeftHalfX + shift,
                            drawTop - shift);
                DrawCentred(graphics, PictureImage(RightValue()), drawLeft + kRightHalfX + shift,
                            drawTop - shift);
            }
        }
        if (keyNumber >= 0 && keyNumber < 3) {
            const auto [keyX, keyY] =
                PlayField::kStoneKeyOffsets[static_cast<std::size_t>(keyNumber)];
            const int updates = owner ? owner->UpdateCount() : 0;
            const double bob = 3.0 * std::sin(updates * std::numbers::pi / 100.0);
            graphics.DrawImageCell(KeyImage(keyNumber), drawLeft + keyX,
                                   drawTop + keyY + static_cast<int>(bob), keyFrame);
        }
        if (owner && owner->mode == GameMode::Editor && lockNumber >= 0 && lockNumber < 3) {
            const auto [lockX, lockY] =
                PlayField::kLockOffsets[static_cast<std::size_t>(lockNumber)];
            graphics.DrawImage(LockImage(lockNumber), drawLeft + lockX, drawTop + lockY);
        }
    } else {
        graphics.DrawImage(joker ? IMAGE_FISH_JOKER_BACK : BackImage(style), drawLeft, drawTop);
        if (lockNumber >= 0 && lockNumber < 3) {
            const auto [lockX, lockY] =
                PlayField::kLockOffsets[static_cast<std::size_t>(lockNumber)];
            graphics.DrawImage(LockImage(lockNumber), drawLeft + lockX, drawTop + lockY);
        }
    }
    graphics.RestoreState();

    if (partFlag == 1 && overlapPartner >= 0 && owner) {
        // Marks are only meaningful while both stones lie in the same layer of the field.
        DominoFish* partner = owner->StoneAt(layer, overlapPartner);
        if (partner && partner != this && partner->splitDrawing && !partner->dragging &&
            partner->settled && LiesInLayer(*owner, this, layer)) {
            partner->Draw(graphics, 0);
        }
    }
}

void DominoFish::DrawPreview(Zorva::Graphics& graphics) const
{
    const Player* player = owner ? owner->CurrentPlayer() : nullptr;
    // The editor writes its readouts where the preview would be.
    if (!player || !player->showPreview || owner->mode == GameMode::Editor) {
        return;
    }
    graphics.DrawImage(joker ? IMAGE_FISH_JOKER : FaceImage(style), kPreviewX, kPreviewY);
    if (!joker) {
        DrawCentred(graphics, PictureImage(LeftValue()), kPreviewX + kLeftHalfX, kPreviewY);
        DrawCentred(graphics, PictureImage(RightValue()), kPreviewX + kRightHalfX, kPreviewY);
    }
}

void DominoFish::DrawSparkles(Zorva::Graphics& graphics) const
{
    if (!visible) {
        return;
    }
    for (const Sparkle& sparkle : sparkles) {
        graphics.DrawImageCell(IM_BONUS_STAR, drawLeft + sparkle.x, drawTop - sparkle.y + 20,
                               sparkle.frame);
    }
}
