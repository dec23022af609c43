#include "app/DialogTable.h"

#include "widgets/Dialog.h"

#include <algorithm>

namespace Zorva {

DialogTable::DialogTable() = default;

DialogTable::~DialogTable() = default;

Dialog* DialogTable::Find(int id) const
{
    const auto found = dialogs.find(id);
    return found != dialogs.end() ? found->second.get() : nullptr;
}

std::optional<int> DialogTable::IdOf(const Dialog* dialog) const
{
    const auto found = std::find_if(dialogs.begin(), dialogs.end(), [dialog](const auto& entry) {
        return entry.second.get() == dialog;
    });
    if (dialog == nullptr || found == dialogs.end()) {
        return std::nullopt;
    }
    return found->first;
}

void DialogTable::Insert(int id, std::unique_ptr<Dialog> dialog)
{
    order.push_back(dialog.get());
    dialogs[id] = std::move(dialog);
}

std::unique_ptr<Dialog> DialogTable::Take(int id)
{
    const auto found = dialogs.find(id);
    if (found == dialogs.end()) {
        return nullptr;
    }
    std::unique_ptr<Dialog> taken = std::move(found->second);
    dialogs.erase(found);
    order.remove(taken.get());
    return taken;
}

std::unique_ptr<Dialog> DialogTable::TakeTopmost()
{
    while (!order.empty()) {
        Dialog* const topmost = order.back();
        order.pop_back();
        const std::optional<int> id = IdOf(topmost);
        if (id.has_value()) {
            std::unique_ptr<Dialog> taken = std::move(dialogs[*id]);
            dialogs.erase(*id);
            return taken;
        }
    }
    return nullptr;
}

void DialogTable::Clear()
{
    order.clear();
    dialogs.clear();
}

} // namespace Zorva
