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
    /// Lines shown without scrolling.
    static constexpr int kVisibleLines = 8;

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
    void OnKeyDown(int key) override;
    void OnButtonPressed(int buttonId) override;
    void OnButtonActivated(int buttonId) override;
    void OnListClicked(int id, int index, int clickCode) override;

private:
    int ListHeight();
    /// The selected line when it is a marker.
    std::optional<int> ChosenLine() const;
    void Finish(std::optional<int> index);

    std::unique_ptr<ListWidget> list;
    int markerCount;
    Finished finished;
    bool done = false;
};

} // namespace Zorva
