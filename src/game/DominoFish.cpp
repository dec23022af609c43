#include "game/DominoFish.h"

#include "game/ImageMetrics.h"
#include "game/PlayField.h"
#include "game/ResourceHandles.h"
#include "system/MTRand.h"

#include <cmath>
#include <numbers>

namespace {

constexpr float kBumpStep = 0.1f;
/// Float steps of 0.1 miss exact amplitudes by a hair; within this they count as reached.
constexpr float kBumpTolerance = 1e-4f;
constexpr int kHalfOffset = 22;

} // namespace

DominoFish::DominoFish(PlayField* newOwner, int newX, int newY, int newOrientation, int newLayer,
                       int newStyle)
    : x(newX), y(newY), targetX(newX), targetY(newY), style(newStyle),
      floatX(static_cast<float>(newX)), floatY(static_cast<float>(newY)), layer(newLayer),
      owner(newOwner)
{
    SetOrientation(newOrientation);
    UpdateDrawPosition();
}

int DominoFish::LeftValue() const
{
    if (joker) {
        return kJokerValue;
    }
    return orientation == kLyingALeft ? pictureA : pictureB;
}

int DominoFish::RightValue() const
{
    if (joker) {
        return kJokerValue;
    }
    return orientation == kLyingBLeft ? pictureA : pictureB;
}

int DominoFish::SettledLeftValue() const
{
    if (rotationState == 0 || joker) {
        return LeftValue();
    }
    if (orientation == kLyingALeft) {
        return pictureB;
    }
    return orientation == kLyingBLeft ? pictureA : LeftValue();
}

int DominoFish::SettledRightValue() const
{
    if (rotationState == 0 || joker) {
        return RightValue();
    }
    if (orientation == kLyingALeft) {
        return pictureA;
    }
    return orientation == kLyingBLeft ? pictureB : RightValue();
}

void DominoFish::SetOrientation(int newOrientation)
{
    orientation = newOrientation;
    if (orientation == kUpright) {
        width = 40;
        height = 100;
    } else {
        width = 80;
        height = 50;
    }
}

void DominoFish::UpdateDrawPosition()
{
    drawLeft = x - width / 2 + kLayerStep * layer;
    drawTop = y - height / 2 - kLayerStep * layer;
}

std::pair<int, int> DominoFish::RestingCentre() const
{
    if (!IsMoving()) {
        return {x, y};
    }
    // A stone gliding home with a settling bump stops short and the bump covers the rest.
    return settleBumpOnArrival ? std::pair{targetX - 5, targetY + 5} : std::pair{targetX, targetY};
}

bool DominoFish::HitTest(int px, int py)
{
    hovered = faceUp && drawLeft + 7 < px && px < drawLeft + width + 7 && drawTop - 7 < py &&
              py < drawTop + height - 7;
    return hovered;
}

void DominoFish::MakeJoker()
{
    joker = true;
    pictureA = kJokerValue;
    pictureB = kJokerValue;
}

void DominoFish::TurnOver()
{
    if (orientation == kLyingALeft) {
        orientation = kLyingBLeft;
    } else if (orientation == kLyingBLeft) {
        orientation = kLyingALeft;
    }
}

void DominoFish::StartMove(int toX, int toY, int ticks)
{
    targetX = toX;
    targetY = toY;
    floatX = static_cast<float>(x);
    floatY = static_cast<float>(y);
    const float offset = static_cast<float>(kLayerStep * layer);
    const float steps = static_cast<float>(ticks > 0 ? ticks : 1);
    stepX = (offset + static_cast<float>(toX - x)) / steps;
    stepY = (static_cast<float>(toY - y) - offset) / steps;
    moveTicksLeft = ticks > 0 ? ticks : 1;
    clipActive = false;
}

void DominoFish::StartMove(int toX, int toY, int ticks, const ClipRect& clip)
{
    StartMove(toX, toY, ticks);
    clipActive = true;
    clipRect = clip;
}

void DominoFish::StartTurn(bool forwards, float speed)
{
    rotationState = forwards ? 1 : 2;
    rotationSpeed = speed;
    rotationAngle = 0;
}

void DominoFish::StartBump(float amplitude, int halfCycles)
{
    bumpActive = true;
    bumpRising = true;
    bumpOffset = 0;
    bumpAmplitude = amplitude;
    bumpRepeats = halfCycles;
}

void DominoFish::StartFlip(bool backwards)
{
    flipActive = true;
    flipImage = StyleFlipImage();
    flipReverse = backwards;
    flipFrame = backwards ? FlipFrameCount() - 1 : 0;
    tickCount = 0;
    ticksPerFrame = kTicksPerFlipFrame;
}

const Zorva::Image* DominoFish::StyleFlipImage() const
{
    if (joker) {
        return IMAGE_FISH_JOKER_ROTATE;
    }
    static Zorva::Image** const kFlipImages[] = {&IMAGE_FISH_ROTATE, &IMAGE_FISH_ROTATE,
                                                 &IMAGE_FISH_ROTATE2, &IMAGE_FISH_ROTATE3};
    return style >= 0 && style < 4 ? *kFlipImages[style] : IMAGE_FISH_ROTATE;
}

int DominoFish::FlipFrameCount() const
{
    return flipImage ? MetricsOf(flipImage).cellCount : kDefaultFlipFrames;
}

int DominoFish::KeyFrameCount() const
{
    static Zorva::Image** const kAnimationsByKey[] = {&IMAGE_KEY_ANIM, &IMAGE_PYRAMID_ANIM,
                                                      &IMAGE_SPHERE_ANIM};
    if (keyNumber < 0 || keyNumber > 2) {
        return 1;
    }
    return MetricsOf(*kAnimationsByKey[keyNumber]).cellCount;
}

int DominoFish::SparkleFrameCount() const
{
    return IM_BONUS_STAR ? MetricsOf(IM_BONUS_STAR).cellCount : kDefaultSparkleFrames;
}

void DominoFish::Update()
{
    UpdateMovement();
    UpdateTurning();
    UpdateBump();
    UpdateFlip();
    UpdateKeyFrame();
    UpdateBonus();
}

void DominoFish::UpdateMovement()
{
    if (moveTicksLeft <= 0) {
        return;
    }
    floatX += stepX;
    floatY += stepY;
    x = static_cast<int>(floatX);
    y = static_cast<int>(floatY);
    drawLeft = x - width / 2;
    drawTop = y - height / 2;
    if (--moveTicksLeft == 0) {
        FinishMovement();
    }
}

void DominoFish::FinishMovement()
{
    x = targetX;
    y = targetY;
    if (settleBumpOnArrival) {
        // The stone stops 5 pixels short and the falling bump covers the rest.
        bumpActive = true;
        bumpRising = false;
        bumpOffset = 5;
        bumpAmplitude = 5;
        bumpRepeats = 1;
        x = targetX - 5;
        y = targetY + 5;
        settleBumpOnArrival = false;
        if (owner) {
            owner->rebuildBackground = true;
        }
    }
    UpdateDrawPosition();
    clipActive = false;
    settled = true;
    returningFromPile = false;
    if (commitOnArrival) {
        commitOnArrival = false;
        if (owner) {
            owner->OnStoneArrived(*this);
        }
    }
    if (returnOnArrival) {
        returnOnArrival = false;
        if (owner) {
            owner->rebuildBackground = true;
        }
    }
}

void DominoFish::UpdateTurning()
{
    if (rotationState == 0) {
        return;
    }
    rotationAngle += rotationState == 1 ? rotationSpeed : -rotationSpeed;
    if (std::fabs(rotationAngle) > std::numbers::pi_v<float>) {
        rotationAngle = 0;
        rotationState = 0;
        TurnOver();
        if (owner) {
            owner->OnStoneTurned();
        }
    }
    const float cosine = std::cos(rotationAngle);
    const float sine = std::sin(rotationAngle);
    halfOffsets = {static_cast<int>(-kHalfOffset * cosine), static_cast<int>(-kHalfOffset * sine),
                   static_cast<int>(kHalfOffset * cosine), static_cast<int>(kHalfOffset * sine)};
}

void DominoFish::UpdateBump()
{
    if (!bumpActive) {
        return;
    }
    if (bumpRising) {
        bumpOffset += kBumpStep;
        if (bumpOffset >= bumpAmplitude - kBumpTolerance) {
            bumpOffset = bumpAmplitude;
            bumpRising = false;
        }
        return;
    }
    bumpOffset -= kBumpStep;
    if (bumpOffset <= kBumpTolerance) {
        bumpOffset = 0;
        if (--bumpRepeats <= 0) {
            bumpActive = false;
        } else {
            bumpRising = true;
        }
    }
}

void DominoFish::UpdateFlip()
{
    if (!flipActive) {
        return;
    }
    if (flipDelay > 0) {
        --flipDelay;
        return;
    }
    if (++tickCount < ticksPerFrame) {
        return;
    }
    tickCount = 0;
    flipFrame += flipReverse ? -1 : 1;
    const int lastFrame = FlipFrameCount() - 1;
    if (flipFrame > lastFrame || flipFrame < 0) {
        flipFrame = flipFrame < 0 ? 0 : lastFrame;
        flipActive = false;
        if (owner) {
            owner->rebuildBackground = true;
        }
    }
}

bool DominoFish::OnFourthUpdate() const
{
    return owner && owner->UpdateCount() % 4 == 0;
}

void DominoFish::UpdateKeyFrame()
{
    if (keyNumber < 0 || !OnFourthUpdate()) {
        return;
    }
    const int frames = KeyFrameCount();
    keyFrame = frames > 0 ? (keyFrame + 1) % frames : 0;
}

void DominoFish::UpdateBonus()
{
    if (bonusKind == 0) {
        return;
    }
    if (--bonusTicksLeft <= 0) {
        bonusKind = 0;
        bonusTicksLeft = 0;
        sparkles.clear();
        return;
    }
    if (!OnFourthUpdate()) {
        return;
    }
    const int lastFrame = SparkleFrameCount() - 1;
    for (Sparkle& sparkle : sparkles) {
        if (++sparkle.frame > lastFrame) {
            sparkle.frame = 0;
            sparkle.x = static_cast<int>(Zorva::Rand().Next(50));
            sparkle.y = static_cast<int>(Zorva::Rand().Next(40));
        }
    }
}
