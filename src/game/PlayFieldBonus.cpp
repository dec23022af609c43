// The play field's keys, bonuses and floating labels.

#include "game/PlayField.h"

#include "game/ImageMetrics.h"
#include "game/PlayFieldHost.h"
#include "game/ResourceHandles.h"
#include "game/StoneDeck.h"
#include "system/MTRand.h"

namespace {

constexpr float kLabelRise = -0.2f;

Zorva::Image* LockImage(int number)
{
    static Zorva::Image** const kImages[] = {&IMAGE_FISH_LOCK0, &IMAGE_FISH_LOCK1,
                                             &IMAGE_FISH_LOCK2};
    return number >= 0 && number < 3 ? *kImages[number] : nullptr;
}

Zorva::Image* KeyImage(int number)
{
    static Zorva::Image** const kImages[] = {&IMAGE_KEY_ANIM, &IMAGE_PYRAMID_ANIM,
                                             &IMAGE_SPHERE_ANIM};
    return number >= 0 && number < 3 ? *kImages[number] : nullptr;
}

} // namespace

void PlayField::AddLabel(const Zorva::Image* image, float x, float y, float dx, float dy, int frame)
{
    floatingLabels.push_back(std::make_unique<FloatingLabel>(image, x, y, dx, dy, frame));
}

void PlayField::PlayKey(DominoFish& stone)
{
    const int key = stone.keyNumber;
    if (key < 0 || key > 2) {
        return;
    }
    lockOpened[key] = true;
    const Zorva::Image* keyImage = KeyImage(key);
    const int frameWidth = MetricsOf(keyImage).cellWidth;
    AddLabel(keyImage, static_cast<float>(stone.drawLeft - frameWidth / 2 + 47),
             static_cast<float>(stone.drawTop - stone.height / 2 + 25), 0, kLabelRise, 0);
    for (const StoneList& layer : layers) {
        for (const auto& locked : layer) {
            if (locked->lockNumber == key) {
                AddLabel(
                    LockImage(key), static_cast<float>(locked->drawLeft + kLockOffsets[key].first),
                    static_cast<float>(locked->drawTop + kLockOffsets[key].second), 0, kLabelRise);
            }
        }
    }
    host.PlaySound(SOUND_USE_KEY);
}

void PlayField::CollectBonus(DominoFish& stone)
{
    if (stone.bonusKind == 0) {
        return;
    }
    host.PlaySound(SOUND_BONUS);
    const bool oneSide = mode == GameMode::OneSide;
    const Zorva::Image* label = nullptr;
    auto addPoints = [this, &label](int points) {
        score += points;
        undo.points = points;
        label = points == 200 ? IM_BONUS_200 : IM_BONUS_100;
    };
    switch (stone.bonusKind) {
    case 1:
    case 3:
        if (oneSide) {
            ++deck.crops;
            deck.AddBonusStone();
            label = IM_BONUS_STONE;
        } else if (stone.bonusKind == 1) {
            ++deck.crops;
            label = IM_BONUS_CROP;
        } else if (deck.pileCount > 3) {
            addPoints(100);
        } else {
            ++deck.pileCount;
            deck.AddPile();
            label = IM_BONUS_PLACE;
        }
        break;
    case 2:
        if (reshufflesLeft > 4) {
            addPoints(200);
        } else {
            ++reshufflesLeft;
            RefreshReshuffleButton();
            label = IM_BONUS_RESHUFFLE;
        }
        break;
    case 4:
        addPoints(200);
        break;
    case 5:
        stone.MakeJoker();
        ShowJokerExplanation(490, 550);
        label = IM_BONUS_JOKER;
        break;
    default:
        addPoints(100);
        break;
    }
    AddLabel(label, static_cast<float>(stone.x - MetricsOf(label).width / 2), 530, 0, kLabelRise);
    stone.bonusKind = 0;
    stone.bonusTicksLeft = 0;
    stone.sparkles.clear();
}

void PlayField::UpdateBonusAppearance()
{
    if (++bonusTickCounter <= bonusInterval) {
        return;
    }
    bonusTickCounter = 0;
    if (Zorva::Rand().Next(100) <= 19) {
        PlaceBonus();
    }
}

void PlayField::PlaceBonus()
{
    // With no free stone there is nothing to put a bonus on.
    if (freeCount <= 0) {
        return;
    }
    const int pick = static_cast<int>(Zorva::Rand().Next(static_cast<uint32_t>(freeCount)));
    int seen = 0;
    for (auto layer = layers.rbegin(); layer != layers.rend(); ++layer) {
        for (auto stone = layer->rbegin(); stone != layer->rend(); ++stone) {
            if (!(*stone)->faceUp) {
                continue;
            }
            if (seen++ < pick) {
                continue;
            }
            PutBonus(**stone);
            return;
        }
    }
}

void PlayField::PutBonus(DominoFish& stone)
{
    host.PlaySound(SOUND_BONUS_APPEAR);
    stone.bonusTicksLeft = static_cast<int>(Zorva::Rand().Next(10)) * 100 + 1000;
    stone.bonusKind = static_cast<int>(Zorva::Rand().Next(6)) + 1;
    stone.sparkles.clear();
    for (int i = 0; i < 2; ++i) {
        DominoFish::Sparkle sparkle;
        sparkle.x = static_cast<int>(Zorva::Rand().Next(50));
        sparkle.y = static_cast<int>(Zorva::Rand().Next(40));
        sparkle.frame = static_cast<int>(Zorva::Rand().Next(5));
        stone.sparkles.push_back(sparkle);
    }
}
