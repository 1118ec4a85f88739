#pragma once
// The life of a modeless task dialog of which at most one of its kind is
// loaded: while it is, the main window's document commands are off. It
// unloads exactly once, whether it is closed, destroyed, or discarded after
// a failed load.
#include <QCloseEvent>
#include <QDialog>
#include <QPointer>

#include <optional>

#include "shell/gui/MdiRaylen.h"
#include "shell/gui/WindowRegistry.h"
#include "state/AppState.h"

namespace raylen {

template <class Derived>
class TaskDialog : public QDialog {
public:
    // The loaded dialog of this kind, or null.
    static Derived* loaded() { return windowRegistry().loaded<Derived>(); }
    // Brings the loaded one forward; false when none is loaded.
    static bool raiseLoaded()
    {
        Derived* dialog = loaded();
        if (dialog == nullptr)
            return false;
        dialog->raise();
        dialog->activateWindow();
        return true;
    }
    static void closeLoaded()
    {
        if (Derived* dialog = loaded())
            dialog->close();
    }

    // A load that failed: gone without touching the main window.
    void discardUnloaded()
    {
        unloaded_ = true;
        deleteLater();
    }

    // Marks this one loaded, with the document commands off while it is.
    void markLoaded()
    {
        windowRegistry().setLoaded(static_cast<Derived*>(this));
        if (MdiRaylen* main = mdiRaylen())
            main->dsMenuToolEnabled(false);
        if (task_)
            appState().intTaskMode = *task_;
    }

protected:
    // task: the task mode the program is in while the dialog is loaded;
    // none for a dialog that leaves the mode alone.
    TaskDialog(QWidget* parent, std::optional<int16_t> task) : QDialog(parent), task_(task) {}
    ~TaskDialog() override
    {
        if (!unloaded_)
            unload();
    }

    void closeEvent(QCloseEvent* event) override
    {
        if (!unloaded_)
            unload();
        event->accept();
    }

    bool isUnloaded() const { return unloaded_; }
    // The dialog's own undoing, run once on unload before the main window's
    // commands come back.
    virtual void formUnloaded() {}
    // For a destructor whose formUnloaded needs the dialog's own members:
    // the base destructor runs after they are gone.
    void unloadOnce()
    {
        if (!unloaded_)
            unload();
    }

private:
    void unload()
    {
        unloaded_ = true;
        windowRegistry().forget<Derived>(this);
        formUnloaded();
        if (MdiRaylen* main = mdiRaylen())
            main->dsMenuToolEnabled(true);
        if (task_)
            appState().intTaskMode = taskNone;
    }

    bool unloaded_ = false;
    std::optional<int16_t> task_;
};

} // namespace raylen
