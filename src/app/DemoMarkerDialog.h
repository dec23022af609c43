#pragma once

#include "widgets/Dialog.h"
#include "widgets/ListListener.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Zorva {

class ListWidget;

/// "Marker List": the markers still ahead in the demo, one line each, with OK. A double
/// click on a line, or OK (or Enter) with a line selected, chooses it; Escape, or OK
/// without a selection, closes without a choice. The outcome goes to the callback only.
class DemoMarkerDialog : public Dialog, public ListListener
{
public:
    static constexpr int kDialogId = 9002;
    static constexpr int kListId = 0;
    /// Lines in view at once; more scroll with the wheel and the arrow keys.
    static constexpr int kVisibleLines = 10;

    /// Told once: the index of the chosen line, or nothing.
    using Finished = std::function<void(std::optional<int> index)>;

    /// An empty `markerLines` shows "(no markers ahead)", which cannot be chosen.
    DemoMarkerDialog(const std::vector<std::string>& markerLines, Finished onFinished);
    ~DemoMarkerDialog() override;

    ListWidget& List() { return *list; }

    using Widget::Place;
    void Place(int newX, int newY, int newWidth, int newHeight) override;
    int PreferredHeight(int forWidth) override;
    bool AcceptsFocus() override { return true; }
    /// Enter, Escape, and Up and Down through the lines.
    void OnKeyDown(int key) override;
    /// The list has no scroll bar: the wheel scrolls it from here.
    void OnWheel(int delta) override;
    void OnButtonPressed(int buttonId) override;
    void OnButtonActivated(int buttonId) override;
    void OnListClicked(int id, int index, int clickCode) override;

private:
    int ShownLines() const;
    int ListHeight();
    /// Puts line `first` at the top, as far as the lines reach.
    void ScrollTo(double first);
    /// The selected line when it is a marker.
    std::optional<int> ChosenLine() const;
    void Finish(std::optional<int> index);

    std::unique_ptr<ListWidget> list;
    int markerCount;
    Finished finished;
    bool done = false;
};

} // namespace Zorva
