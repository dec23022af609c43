#include "game/FloatingLabel.h"

FloatingLabel::FloatingLabel(const Zorva::Image* image, float x, float y, float dx, float dy,
                             int frame)
    : x(x), y(y), dx(dx), dy(dy), image(image), frame(frame)
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
