#include "image/gui/ImageWindowLink.h"

#include "image/gui/FrmImage.h"
#include "image/gui/ImageSave.h"
#include "shell/gui/DocumentLinks.h"

#include <QMenu>

namespace raylen {

namespace {

class ImageWindow final : public ImageWindowLink {
public:
    bool isLoaded() const override { return frmImage() != nullptr; }
    void show() override { showFrmImage(); }
    bool unload() override { return unloadFrmImage(); }
    std::string sfInitForm(const std::string& strFileName) override
    {
        FrmImage* image = frmImage();
        return image != nullptr ? image->sfInitForm(strFileName) : std::string();
    }
    void dfUnloadForm(bool& blnCancel) override { raylen::dfUnloadForm(blnCancel); }
    void setBox(int32_t left, int32_t top, int32_t width, int32_t height) override
    {
        if (FrmImage* image = frmImage())
            image->setBox(left, top, width, height);
    }
    void setTaskMenusEnabled(bool blnEnabled) override
    {
        if (FrmImage* image = frmImage()) {
            image->mnuFile->menuAction()->setEnabled(blnEnabled);
            image->mnuImage->menuAction()->setEnabled(blnEnabled);
        }
    }
    void toolBarAction(const std::string& key) override
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
};

} // namespace

void registerImageWindow()
{
    static ImageWindow link;
    setImageWindowLink(&link);
}

} // namespace raylen
