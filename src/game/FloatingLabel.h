#pragma once

namespace Zorva {
class Graphics;
class Image;
} // namespace Zorva

/// A short-lived image (multiplier, bonus, opened lock) that drifts and fades out.
class FloatingLabel
{
public:
    static constexpr int kLifetime = 255;

    FloatingLabel(const Zorva::Image* image, float x, float y, float dx, float dy, int frame = -1);

    /// One tick: fade by one, move by the step, age; done once the age reaches the lifetime.
    void Update();
    /// The image (or its cell `frame`) at the position, faded by the alpha.
    void Draw(Zorva::Graphics& graphics) const;

    bool done = false;
    float x = 0;
    float y = 0;
    float dx = 0;
    float dy = 0;
    int alpha = 255;
    int age = 0;
    int lifetime = kLifetime;
    const Zorva::Image* image = nullptr;
    /// The cell drawn, or -1 for the whole image.
    int frame = -1;
};
