#pragma once
// The seams between the shell and the document windows and task dialogs
// that are built into the program separately. The plot window and the image
// dialogs register themselves; while one is not registered the program has
// no such window: the plot window is never loaded and its commands do nothing.
#include <QList>

#include <functional>
#include <string>

class QMenu;

namespace raylen {

// A window of the document area (image or plot window).
class DocumentWindow {
public:
    virtual ~DocumentWindow() = default;
    // The menus shown in the main menu bar while this window is current.
    virtual QList<QMenu*> documentMenus() const = 0;
    // The window became the current one (Form_Activate).
    virtual void formActivate() = 0;
};

// What the shell and the image window ask of the plot window.
class PlotWindowLink {
public:
    virtual ~PlotWindowLink() = default;
    virtual bool isLoaded() const = 0;
    // Unloads the plot window (its unload handler runs).
    virtual void unload() = 0;
    virtual bool dfIsDataChange() = 0;
    // The plot window's save question; blnCancel true when the user cancelled.
    virtual void dsUnloadForm(bool& blnCancel) = 0;
    // Shows the plot window for the spectrum in sngSpecX/sngSpecY:
    // sfInitForm(strFileName), then sfPlotLin; returns the status.
    virtual std::string showSpectrum(const std::string& strFileName) = 0;
    // A tool bar command of the plot window by key: "Open", "SaveAs",
    // "Print", "Axis", "Ident", "Dispcor", "Fluxcalib", "Normalize", "FFT",
    // "Result".
    virtual void toolBarAction(const std::string& key) = 0;
    // The plot window's part of dsMenuToolEnabled.
    virtual void setTaskMenusEnabled(bool blnEnabled) = 0;
};

// nullptr while the program has no plot window.
PlotWindowLink* plotWindowLink();
void setPlotWindowLink(PlotWindowLink* link);

// The task dialogs opened from the image window that live elsewhere.
struct ImageDialogLinks {
    std::function<void()> showImageCut; // image cut dialog, modeless
    std::function<void()> showScan;     // scan dialog, modeless
    std::function<void()> unloadAll;    // both unloaded with the image window
};
ImageDialogLinks& imageDialogLinks();

} // namespace raylen
