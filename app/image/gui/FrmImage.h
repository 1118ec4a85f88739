#pragma once
// The image window: the open image as a grey picture with scroll bars, the
// cursor read-out, the region box and its pop-up menu, and the window's menus.
// Zoom, panning and stretches are the window's own view of the image; the
// region box and the read-out stay in image pixels.
#include "display/Stretch.h"
#include "image/RegionBox.h"
#include "image/gui/ImageViewMenu.h"
#include "shell/gui/DocumentLinks.h"
#include "shell/gui/StandardMenus.h"

#include <QWidget>

#include <string>

class QAction;
class QMenu;
class QScrollBar;
class QToolButton;

namespace raylen {

class PicImage;

class FrmImage : public QWidget, public DocumentWindow, public StandardMenus {
    Q_OBJECT
public:
    explicit FrmImage(QWidget* parent = nullptr);
    ~FrmImage() override;

    std::string sfInitForm(const std::string& strFileName);
    void dsSetMenuWhenImage();
    void dsMnuBoxSet(int32_t lngXLen, int32_t lngYLen);
    void dsMnuBoxRemove();
    // Moves the region box (sfCheckAndReset); a negative size raises the
    // invalid-property error.
    void setBox(int32_t left, int32_t top, int32_t width, int32_t height);
    const ShpBox& box() const { return shpBox; }
    bool boxFixed() const { return blnBoxFixed; }

    QList<QMenu*> documentMenus() const override;
    void formActivate() override;

    void mnuOpen_Click();
    void mnuClose_Click();
    void mnuSaveAs_Click();
    void mnuPlot_Click();
    void mnuScan_Click();
    void mnuDarkFlat_Click();
    void mnuClean_Click();
    void mnuCombine_Click();
    void mnuDispHdr_Click();

    // Zoom to factor (or to fit the viewport), keeping the image point under
    // `anchor` (viewport pixels) in place where the scroll range allows.
    void setZoom(bool fit, double factor, QPoint anchor);
    void setStretch(StretchCurve curve, double percent);
    const ViewChoice& viewChoice() const { return view_; }

    QWidget* picWindow = nullptr;
    PicImage* picImage = nullptr;
    QScrollBar* hsbImage = nullptr;
    QScrollBar* vsbImage = nullptr;

    QMenu* mnuBox = nullptr;
    QAction* mnuPlot = nullptr;
    QAction* mnuScan = nullptr;
    QAction* mnuDarkFlat = nullptr;
    QAction* mnuClean = nullptr;
    QAction* mnuCombine = nullptr;
    QAction* mnuDispHdr = nullptr;
    QAction* mnuBoxSet = nullptr;
    QAction* mnuBoxRemove = nullptr;
    // The view menu, from the button in the corner between the scroll bars
    // and from the right button where there is no region box.
    ImageViewMenu* viewMenu = nullptr;
    QToolButton* cmdView = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    // The view menu, its corner button and the picture's view hooks.
    void buildView();
    // Viewport and scroll bars; initial true for sfInitForm's change rules.
    void layoutWindow(bool initial);
    void picMouseDown(Qt::MouseButton button, QPoint at);
    void picMouseMove(Qt::MouseButtons buttons, QPoint at);
    void picMouseUp(Qt::MouseButton button, QPoint at);
    void showReadOut(QPoint at);
    void autoScroll(QPoint at);
    void applyPointer();
    void panBy(QPoint delta);
    void wheelZoom(int angle, QPoint anchor);
    // Rebuilds the stretched picture when the image or the stretch changed.
    void prepareStretch();
    void formUnload();

    ShpBox shpBox;
    BoxDrag drag;
    bool blnBoxFixed = false;
    bool unloaded = false;
    ViewChoice view_;
    GreyImage stretched_;
    bool stretchStale_ = true;
    int wheelRest_ = 0;
};

// The image window while it is loaded, else null.
FrmImage* frmImage();
// Loads and shows the image window for the render already made (Form_Load);
// on failure it reports the message and stays unloaded.
void showFrmImage();
// Unloads the image window; false when the user cancelled the save question.
bool unloadFrmImage();

} // namespace raylen
