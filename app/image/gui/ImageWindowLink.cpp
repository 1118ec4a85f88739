#include "image/gui/ImageWindowLink.h"

#include "image/gui/FrmImage.h"
#include "image/gui/ImageSave.h"
#include "shell/gui/DocumentLinks.h"

#include <QMenu>

namespace raylen {

bool ImageWindow::isLoaded() const { return frmImage() != nullptr; }
void ImageWindow::show() { showFrmImage(); }
bool ImageWindow::unload() { return unloadFrmImage(); }
std::string ImageWindow::sfInitForm(const std::string& strFileName)
{
    FrmImage* image = frmImage();
    return image != nullptr ? image->sfInitForm(strFileName) : std::string();
}
void ImageWindow::dfUnloadForm(bool& blnCancel) { raylen::dfUnloadForm(blnCancel); }
void ImageWindow::setBox(int32_t left, int32_t top, int32_t width, int32_t height)
{
    if (FrmImage* image = frmImage())
        image->setBox(left, top, width, height);
}
void ImageWindow::setTaskMenusEnabled(bool blnEnabled)
{
    if (FrmImage* image = frmImage()) {
        image->mnuFile->menuAction()->setEnabled(blnEnabled);
        image->mnuImage->menuAction()->setEnabled(blnEnabled);
    }
}
void ImageWindow::toolBarAction(const std::string& key)
{
    FrmImage* image = frmImage();
    if (image == nullptr)
        return;
    if (key == "Open")
        image->mnuOpen_Click();
    else if (key == "SaveAs")
        image->mnuSaveAs_Click();
    else if (key == "Plot")
        image->mnuPlot_Click();
    else if (key == "Scan")
        image->mnuScan_Click();
    else if (key == "DarkFlat")
        image->mnuDarkFlat_Click();
    else if (key == "Header")
        image->mnuDispHdr_Click();
}

} // namespace raylen
