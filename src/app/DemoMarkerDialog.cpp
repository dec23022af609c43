#include "app/DemoMarkerDialog.h"

#include "widgets/InputCodes.h"
#include "widgets/ListWidget.h"

#include <algorithm>
#include <utility>

namespace Zorva {

namespace {

constexpr const char* kNoMarkersLine = "(no markers ahead)";
/// Room between the list and the button.
constexpr int kListGap = 10;

} // namespace

DemoMarkerDialog::DemoMarkerDialog(const std::vector<std::string>& markerLines, Finished onFinished)
    : Dialog(nullptr, nullptr, kDialogId, true, "Marker List", "", "OK", kButtonsFooter),
      list(std::make_unique<ListWidget>(kListId, this)),
      markerCount(static_cast<int>(markerLines.size())), finished(std::move(onFinished))
{
    list->SetFont(LinesFont());
    for (const std::string& line : markerLines) {
        list->AddLine(line, false);
    }
    if (markerLines.empty()) {
        list->AddLine(kNoMarkersLine, false);
    }
    AddWidget(list.get());
}

DemoMarkerDialog::~DemoMarkerDialog()
{
    RemoveAllWidgets(false, false);
}

int DemoMarkerDialog::ShownLines() const
{
    return std::clamp(list->LineCount(), 1, kVisibleLines);
}

int DemoMarkerDialog::ListHeight()
{
    return list->OptimalHeight() - (list->LineCount() - ShownLines()) * list->itemHeight;
}

void DemoMarkerDialog::ScrollTo(double first)
{
    list->position = std::clamp(first, 0.0, static_cast<double>(list->LineCount() - ShownLines()));
    list->Invalidate();
}

int DemoMarkerDialog::PreferredHeight(int forWidth)
{
    return Dialog::PreferredHeight(forWidth) + ListHeight() + kListGap;
}

void DemoMarkerDialog::Place(int newX, int newY, int newWidth, int newHeight)
{
    Dialog::Place(newX, newY, newWidth, newHeight);
    const int left = backgroundInsets.left + contentInsets.left;
    const int right = backgroundInsets.right + contentInsets.right;
    const int buttonTop = height - backgroundInsets.bottom - contentInsets.bottom - buttonHeight;
    const int listHeight = ListHeight();
    list->Place(left, buttonTop - kListGap - listHeight, width - left - right, listHeight);
}

void DemoMarkerDialog::OnKeyDown(int key)
{
    switch (key) {
    case kVirtualKeyEnter:
        Finish(ChosenLine());
        break;
    case kVirtualKeyEscape:
        Finish(std::nullopt);
        break;
    case kVirtualKeyUp:
    case kVirtualKeyDown:
        if (markerCount > 0) {
            const int step = key == kVirtualKeyUp ? -1 : 1;
            const int selected = std::clamp(list->selectIndex + step, 0, markerCount - 1);
            list->SetSelect(selected);
            // Keep the selected line in view.
            if (selected < list->position) {
                ScrollTo(selected);
            } else if (selected >= list->position + ShownLines()) {
                ScrollTo(selected - ShownLines() + 1);
            }
        }
        break;
    default:
        Dialog::OnKeyDown(key);
        break;
    }
}

void DemoMarkerDialog::OnWheel(int delta)
{
    ScrollTo(list->position - static_cast<double>(ListWidget::kWheelLines) * delta);
}

void DemoMarkerDialog::OnButtonPressed(int) {}

void DemoMarkerDialog::OnButtonActivated(int buttonId)
{
    if (buttonId == kYesButtonId) {
        Finish(ChosenLine());
    }
}

void DemoMarkerDialog::OnListClicked(int, int index, int clickCode)
{
    if (index < 0 || index >= markerCount) {
        return;
    }
    list->SetSelect(index);
    if (clickCode == kClickLeftDouble) {
        Finish(index);
    }
}

std::optional<int> DemoMarkerDialog::ChosenLine() const
{
    const int selected = list->selectIndex;
    if (selected < 0 || selected >= markerCount) {
        return std::nullopt;
    }
    return selected;
}

void DemoMarkerDialog::Finish(std::optional<int> index)
{
    // A second press may arrive before the closed dialog is deleted.
    if (done) {
        return;
    }
    done = true;
    result = kYesButtonId;
    if (finished) {
        finished(index);
    }
}

} // namespace Zorva
