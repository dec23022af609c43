#pragma once

#include "widgets/ButtonWidget.h"

namespace Zorva {

/// A button drawn from one stretchable component image (as a nine-slice box), shifted while
/// pressed. Without a component image it looks like a plain ButtonWidget. Labels are white
/// and bold by default, and it shows the hand cursor.
class DialogButton : public ButtonWidget
{
public:
    /// `componentImage` may be null; it is not owned.
    DialogButton(Image* componentImage, int id, ButtonListener* listener);

    void Paint(Graphics& graphics) override;

    Image* componentImage;
    int pressOffsetX = 1;
    int pressOffsetY = 1;
    int textOffsetX = 0;
    int textOffsetY = 0;

protected:
    std::unique_ptr<Font> MakeStockFont() const override;

private:
    /// The part of the component image for the current state (only with state rects).
    const Rect& CurrentStateRect() const;
};

} // namespace Zorva
