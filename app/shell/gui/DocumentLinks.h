#pragma once
// The seams between the shell and the document windows and task dialogs,
// which sit above the shell; the window owner wires them into the window
// registry at start-up, so the shell never includes them. While one is not
// wired the program has no such window: it is never loaded and its
// commands do nothing.
#include "shell/gui/WindowRegistry.h"

#include <QList>

#include <cstdint>
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

// What the shell asks of the image window. The link exists for the whole
// run; the window itself comes and goes.
class ImageWindowLink {
public:
    virtual ~ImageWindowLink() = default;
    virtual bool isLoaded() const = 0;
    // Loads and shows the window for the render already made; on failure it
    // reports the message and stays unloaded.
    virtual void show() = 0;
    // Unloads the window; false when the user cancelled the save question.
    // True when it was not loaded.
    virtual bool unload() = 0;
    // Redraws the loaded window for the render in the application state.
    virtual std::string sfInitForm(const std::string& strFileName) = 0;
    // The save question for a changed image; blnCancel true when cancelled.
    virtual void dfUnloadForm(bool& blnCancel) = 0;
    virtual void setBox(int32_t left, int32_t top, int32_t width, int32_t height) = 0;
    // The image window's part of dsMenuToolEnabled.
    virtual void setTaskMenusEnabled(bool blnEnabled) = 0;
    // A tool bar command by key: "Open", "SaveAs", "Plot", "Scan",
    // "DarkFlat", "Header".
    virtual void toolBarAction(const std::string& key) = 0;
};

// nullptr while the program has no image window.
ImageWindowLink* imageWindowLink();
void setImageWindowLink(ImageWindowLink* link);
// The link while the image window is loaded, else null.
ImageWindowLink* loadedImageWindow();
// Unloads the image window if there is one; false when the user cancelled.
bool unloadImageWindow();

// nullptr while the program has no plot window.
PlotWindowLink* plotWindowLink();
void setPlotWindowLink(PlotWindowLink* link);

// The task dialogs opened from the image window that live elsewhere (a
// registry service; by default there are none).
class ImageDialogs {
public:
    virtual ~ImageDialogs() = default;
    virtual void showImageCut() {} // image cut dialog, modeless
    virtual void showScan() {}     // scan dialog, modeless
    virtual void unloadAll() {}    // both unloaded with the image window
};

inline ImageDialogs& imageDialogs() { return windowRegistry().service<ImageDialogs>(); }

} // namespace raylen
