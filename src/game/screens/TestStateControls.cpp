#include "game/screens/TestStateControls.h"

#include "game/ResourceHandles.h"
#include "graphics/Rect.h"
#include "widgets/ButtonWidget.h"
#include "widgets/Checkbox.h"
#include "widgets/ListWidget.h"
#include "widgets/Slider.h"
#include "widgets/Widget.h"
#include "widgets/WidgetContainer.h"

namespace {

std::string RectText(int left, int top, const Zorva::Rect& size)
{
    return std::to_string(left) + " " + std::to_string(top) + " " + std::to_string(size.width) +
           " " + std::to_string(size.height);
}

void AddButtonLine(const Zorva::ButtonWidget& button, int left, int top,
                   std::vector<std::string>& lines)
{
    if (button.disabled) {
        return;
    }
    const std::string label =
        button.label.empty() ? ImageHandleName(button.buttonImage) : button.label;
    lines.push_back("button " + std::to_string(button.id) + " " +
                    RectText(left, top, Zorva::Rect(0, 0, button.width, button.height)) + " " +
                    label);
}

void AddListLines(Zorva::ListWidget& list, int left, int top, std::vector<std::string>& lines)
{
    for (int index = 0; index < list.LineCount(); ++index) {
        const Zorva::Rect line = list.VisibleLineRect(index);
        if (line.width <= 0 || line.height <= 0) {
            continue;
        }
        lines.push_back("listline " + std::to_string(index) + " " +
                        RectText(left + line.x, top + line.y, line) + " " + list.GetLine(index));
    }
}

void Collect(const Zorva::WidgetContainer& container, int left, int top,
             std::vector<std::string>& lines)
{
    for (Zorva::Widget* widget : container.GetChildren()) {
        if (!widget->visible) {
            continue;
        }
        const int widgetLeft = left + widget->x;
        const int widgetTop = top + widget->y;
        if (const auto* button = dynamic_cast<const Zorva::ButtonWidget*>(widget)) {
            AddButtonLine(*button, widgetLeft, widgetTop, lines);
        } else if (auto* list = dynamic_cast<Zorva::ListWidget*>(widget)) {
            AddListLines(*list, widgetLeft, widgetTop, lines);
        } else if (const auto* box = dynamic_cast<const Zorva::Checkbox*>(widget)) {
            lines.push_back("checkbox " + std::to_string(box->id) + " " +
                            RectText(widgetLeft, widgetTop, widget->GetBounds()) + " " +
                            (box->IsChecked() ? "1" : "0"));
        } else if (const auto* slider = dynamic_cast<const Zorva::Slider*>(widget)) {
            lines.push_back("slider " + std::to_string(slider->id) + " " +
                            RectText(widgetLeft, widgetTop, widget->GetBounds()) + " " +
                            std::to_string(static_cast<int>(slider->GetValue() * 100 + 0.5)));
        }
        Collect(*widget, widgetLeft, widgetTop, lines);
    }
}

} // namespace

std::vector<std::string> CollectControlLines(const Zorva::WidgetContainer& root)
{
    std::vector<std::string> lines;
    Collect(root, 0, 0, lines);
    return lines;
}
