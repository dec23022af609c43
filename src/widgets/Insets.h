#pragma once

namespace Zorva {

/// Inner margins of a widget.
struct Insets
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

} // namespace Zorva
