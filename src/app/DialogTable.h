#pragma once

#include <list>
#include <map>
#include <memory>
#include <optional>

namespace Zorva {

class Dialog;

/// The dialogs the application shows, owned, by id and in the order they were shown
/// (z-order). Only the bookkeeping: placing, showing and closing stay with the application.
class DialogTable
{
public:
    DialogTable();
    ~DialogTable();
    DialogTable(const DialogTable&) = delete;
    DialogTable& operator=(const DialogTable&) = delete;

    Dialog* Find(int id) const;
    /// The id the dialog is shown under; nothing when it is not in the table.
    std::optional<int> IdOf(const Dialog* dialog) const;
    /// Enters the dialog under `id` as the topmost; the id must be free.
    void Insert(int id, std::unique_ptr<Dialog> dialog);
    /// Takes the dialog of that id out of the table; null when there is none.
    std::unique_ptr<Dialog> Take(int id);
    /// Takes the topmost dialog out of the table; null when the table is empty.
    std::unique_ptr<Dialog> TakeTopmost();
    /// Deletes whatever the table still holds.
    void Clear();
    int Count() const { return static_cast<int>(dialogs.size()); }

private:
    std::map<int, std::unique_ptr<Dialog>> dialogs;
    std::list<Dialog*> order;
};

} // namespace Zorva
