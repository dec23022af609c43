#include "game/FloatingLabel.h"

FloatingLabel::FloatingLabel(const Zorva::Image* newImage, float newX, float newY, float newDx,
                             float newDy, int newFrame)
    : x(newX), y(newY), dx(newDx), dy(newDy), image(newImage), frame(newFrame)
{}

void FloatingLabel::Update()
{
    if (alpha > 0) {
        --alpha;
    }
    x += dx;
    y += dy;
    ++age;
    if (age >= lifetime) {
        done = true;
    }
}
