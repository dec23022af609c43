#pragma once

#include "app/DialogTable.h"
#include "graphics/Rect.h"
#include "widgets/ButtonListener.h"
#include "widgets/Dialog.h"
#include "widgets/DialogHost.h"
#include "widgets/DialogListener.h"

#include <memory>
#include <string>

namespace Zorva {

class Widget;
class WidgetManager;

/// The dialogs the application shows, which it owns: shown by id in the widget manager, a
/// modal one as the modal layer, and deleted once the loop has left a closed one. Buttons
/// 1000 and 1001 of dialog d reach the application's button events as d + 2000 and
/// d + 3000.
class AppDialogs : public ButtonListener, public DialogListener, public DialogHost
{
public:
    AppDialogs();
    ~AppDialogs() override;
    AppDialogs(const AppDialogs&) = delete;
    AppDialogs& operator=(const AppDialogs&) = delete;

    /// Closes the dialog of that id, then shows a new one made by CreateDialogObject.
    virtual Dialog* ShowNewDialog(int id, bool modal, const std::string& header,
                                  const std::string& lines, const std::string& footer,
                                  int buttonMode);
    virtual Dialog* FindDialog(int id) const;
    /// Shows the dialog under its own id.
    virtual Dialog* AttachDialog(std::unique_ptr<Dialog> dialog);
    /// Shows the dialog under `id`, closing one shown there before. A dialog without a size
    /// gets half the dialog area's width, the height it asks for, and a place centred
    /// across and a fifth down. A modal one becomes the modal layer.
    virtual Dialog* AttachDialog(int id, std::unique_ptr<Dialog> dialog);
    /// Only the dialog itself: not another shown under its id since.
    bool CloseDialog(Dialog* dialog) override;
    /// False when none is shown under `id`. A dialog closed without a button reads 0.
    virtual bool CloseDialog(int id);
    virtual int CountDialogs() const;
    /// Makes the plain dialog that ShowNewDialog shows.
    virtual std::unique_ptr<Dialog> CreateDialogObject(int id, bool modal,
                                                       const std::string& header,
                                                       const std::string& lines,
                                                       const std::string& footer, int buttonMode);
    /// Hooks: a modal dialog was shown, or closed.
    virtual void OnModalBegin() {}
    virtual void OnModalEnd() {}
    void OnDialogButtonPressed(int dialogId, int buttonId) override;
    void OnDialogButtonActivated(int dialogId, int buttonId) override;

    /// The widget manager the dialogs are shown in.
    virtual WidgetManager* GetWidgetManager() const = 0;
    /// Queues a widget for deletion once the loop has left it.
    virtual void DeferWidgetDelete(Widget* widget) = 0;

protected:
    /// At exit: every dialog still shown leaves the widget manager and is deleted.
    void DeleteRemainingDialogs();
    /// The area a dialog without a size is placed in.
    virtual Rect DialogArea() const = 0;

private:
    DialogTable dialogs;
};

} // namespace Zorva
