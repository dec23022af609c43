#include "graphics/Font.h"

namespace Zorva {

int Font::TextWidth(const std::string&)
{
    return 0;
}

int Font::CharWidth(char c)
{
    return TextWidth(std::string(1, c));
}

int Font::CharWidthAfter(char c, char)
{
    return CharWidth(c);
}

void Font::DrawText(Graphics*, int, int, const std::string&, const Color&, const Rect&) {}

} // namespace Zorva
