#pragma once

#include "game/BaseFish.h"

#include <array>
#include <utility>
#include <vector>

namespace Zorva {
class Graphics;
class Image;
} // namespace Zorva

class PlayField;

/// A rectangle in screen pixels.
struct ClipRect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

/// A picture stone: two pictures like a domino, a place in a layer of the field (or on the
/// play line, in the deck or on a pile), and its movement, turning, bump, flip, key and bonus
/// animations, all counted in ticks.
class DominoFish : public BaseFish
{
public:
    /// The picture value of a joker; it matches anything.
    static constexpr int kJokerValue = 100;
    static constexpr int kUpright = 0;
    static constexpr int kLyingBLeft = 1; ///< picture B on the left half
    static constexpr int kLyingALeft = 3; ///< picture A on the left half
    static constexpr int kLayerStep = 7;
    static constexpr int kTicksPerFlipFrame = 4;
    /// Flip frames when no flip image is bound: the pictures reach full width at frame 12.
    static constexpr int kDefaultFlipFrames = 13;
    static constexpr int kDefaultSparkleFrames = 8;

    struct Sparkle
    {
        int x = 0;
        int y = 0;
        int frame = 0;
    };

    DominoFish(PlayField* owner, int x, int y, int orientation, int layer, int style);

    void Update() override;

    /// Draws the stone: flip frame, face or back with pictures, lock, key and hover preview.
    /// `partFlag` picks the part of a split-drawn stone: 1 its left part, 0 its right part;
    /// with 1, the overlap partner's right part is drawn again over this stone.
    void Draw(Zorva::Graphics& graphics, int partFlag);
    /// The bonus sparkles, drawn after all stones.
    void DrawSparkles(Zorva::Graphics& graphics) const;
    /// The hovered stone enlarged in the panel corner, when the player wants it.
    void DrawPreview(Zorva::Graphics& graphics) const;

    /// The picture shown at the left end: A with orientation 3, else B; 100 for a joker.
    int LeftValue() const;
    /// The picture shown at the right end: A with orientation 1, else B; 100 for a joker.
    int RightValue() const;
    /// The pictures the ends show once a running turn has ended: a turning stone is read as
    /// the way it will lie, not the way it is turning away from.
    int SettledLeftValue() const;
    int SettledRightValue() const;
    bool HasPicture(int value) const { return pictureA == value || pictureB == value; }

    /// Sets the orientation and the size that goes with it (40 x 100 upright, 80 x 50 lying).
    void SetOrientation(int newOrientation);
    /// Recomputes the drawing position from the centre and the layer.
    void UpdateDrawPosition();
    /// Whether a point lies over this face-up stone; sets or clears `hovered` accordingly.
    bool HitTest(int px, int py);
    bool IsMoving() const { return moveTicksLeft > 0; }
    /// The centre the stone comes to rest at: where a running movement ends, else its centre.
    std::pair<int, int> RestingCentre() const;
    void MakeJoker();
    /// Turns a lying stone over: orientation 3 becomes 1 and 1 becomes 3.
    void TurnOver();

    /// Moves the centre to the target in `ticks` ticks; the path ends at the target shifted
    /// by the current layer's offset, where the stone is drawn after arriving.
    void StartMove(int toX, int toY, int ticks);
    void StartMove(int toX, int toY, int ticks, const ClipRect& clip);
    void StartTurn(bool forwards, float speed);
    /// A bump that rises to `amplitude` and falls back, `halfCycles` times.
    void StartBump(float amplitude, int halfCycles);
    /// Plays the flip strip forwards (turning face up) or backwards (turning face down).
    void StartFlip(bool backwards);
    /// The flip strip of the stone's style, or the joker's.
    const Zorva::Image* StyleFlipImage() const;
    int FlipFrameCount() const;
    int KeyFrameCount() const;
    int SparkleFrameCount() const;

    int x = 0;
    int y = 0;
    int targetX = 0;
    int targetY = 0;
    int dragX = 0;
    int dragY = 0;
    /// 0 none, 1 turning forwards, 2 turning backwards.
    int rotationState = 0;
    bool playable = false;
    bool settleBumpOnArrival = false;
    bool returnOnArrival = false;
    bool settled = true;
    bool returningFromPile = false;
    int lockNumber = -1;
    int keyNumber = -1;
    bool visible = true;
    int drawLeft = 0;
    int drawTop = 0;
    int style = 0;
    bool commitOnArrival = false;
    int overlapPartner = -1;
    int pictureA = 0;
    int pictureB = 0;
    int orientation = kLyingALeft;
    float floatX = 0;
    float floatY = 0;
    float stepX = 0;
    float stepY = 0;
    int width = 80;
    int height = 50;
    bool hovered = false;
    bool dragging = false;
    int layer = 0;
    bool faceUp = false;
    bool wasFaceUp = false;
    int moveTicksLeft = 0;
    float rotationAngle = 0;
    float rotationSpeed = 0;
    std::array<int, 4> halfOffsets{};
    bool bumpActive = false;
    float bumpOffset = 0;
    float bumpAmplitude = 0;
    int bumpRepeats = 0;
    bool bumpRising = false;
    bool flipActive = false;
    int flipFrame = 0;
    int ticksPerFrame = kTicksPerFlipFrame;
    int tickCount = 0;
    const Zorva::Image* flipImage = nullptr;
    int flipDelay = 0;
    bool flipReverse = false;
    int keyFrame = 0;
    bool joker = false;
    PlayField* owner = nullptr;
    bool clipActive = false;
    ClipRect clipRect;
    int alpha = 255;
    int bonusKind = 0;
    int bonusTicksLeft = 0;
    std::vector<Sparkle> sparkles;
    bool splitDrawing = false;

private:
    void UpdateMovement();
    void FinishMovement();
    void UpdateTurning();
    void UpdateBump();
    void UpdateFlip();
    void UpdateKeyFrame();
    void UpdateBonus();
    bool OnFourthUpdate() const;
};
