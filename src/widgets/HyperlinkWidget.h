#pragma once

#include "widgets/ButtonWidget.h"

namespace Zorva {

/// A text button: its label centred and underlined, in `overColor` while hovered.
class HyperlinkWidget : public ButtonWidget
{
public:
    HyperlinkWidget(int id, ButtonListener* listener);

    void Paint(Graphics& graphics) override;
    void OnPointerEnter() override;
    void OnPointerLeave() override;

    Color color = Color::kWhite;
    Color overColor = Color::kWhite;
    /// Rows of the underline.
    int underlineSize = 1;
    /// From the baseline down to the first underline row.
    int underlineOffset = 3;
};

} // namespace Zorva
