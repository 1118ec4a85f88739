#include "shell/gui/FileIntake.h"

#include "fits/FitsData.h"
#include "fits/FitsSpectrum.h"
#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "platform/Format.h"
#include "state/AppState.h"
#include "files/FileAccess.h"
#include "files/FileKind.h"
#include "display/Region.h"
#include "files/TextSpectrum.h"
#include "shell/gui/DocumentLinks.h"
#include "shell/gui/MdiRaylen.h"
#include "shell/gui/ProgramSettings.h"

#include <QApplication>
#include <QLineEdit>

namespace raylen {

using platform::trapErrors;

const char* const openFileFilter = "FITSﾌｧｲﾙ(*.fit,*.fts)|*.fit;*.fts|ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|全てのﾌｧｲﾙ|*.*|";

WaitCursor::WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
WaitCursor::~WaitCursor() { QApplication::restoreOverrideCursor(); }

namespace {

std::string openFits(const std::string& strFile)
{
    AppState& s = appState();
    std::string message = sfOpenFits(strFile, s.strHeader, s.typFitsInfo, s.sngImage);
    if (!message.empty())
        return message;
    float maximum = 0.0f, minimum = 0.0f;
    message = sfCreateBitMap(s.sngImage, s.typFitsInfo.NAXIS1, s.typFitsInfo.NAXIS2, maximum, minimum, s.renderFile,
                             true);
    if (!message.empty())
        return message;
    if (PlotWindowLink* plot = plotWindowLink(); plot != nullptr && plot->isLoaded())
        plot->unload();
    s.intActiveWindow = windowImage;
    // The new image is in memory: whatever was changed before is gone.
    s.blnImageChanged = false;
    ImageWindowLink* image = loadedImageWindow();
    if (s.blnImageLoaded && image != nullptr) {
        message = image->sfInitForm(strFile);
        if (!message.empty()) {
            // A window that cannot show the new picture is closed rather than
            // left showing the previous one.
            s.blnImageLoaded = false;
            image->unload();
            return message;
        }
    } else if (ImageWindowLink* link = imageWindowLink()) {
        link->show();
    }
    if (MdiRaylen* main = mdiRaylen()) {
        main->txtMax->setText(QString::fromStdString(platform::Format(maximum, "0")));
        main->txtMin->setText(QString::fromStdString(platform::Format(minimum, "0")));
    }
    return {};
}

// Returns true when the spectrum was handed over; false with an empty
// message when the user kept the current document.
std::string openText(const std::string& strFile, bool& opened, bool fitsSpectrum = false)
{
    AppState& s = appState();
    PlotWindowLink* plot = plotWindowLink();
    opened = false;
    if (!unloadImageWindow())
        return {};
    if (plot->isLoaded() && plot->dfIsDataChange()) {
        bool cancel = false;
        plot->dsUnloadForm(cancel);
        if (cancel)
            return {};
    }
    Spectrum spectrum;
    std::string message = fitsSpectrum ? sfOpenFitsSpectrum(strFile, spectrum)
                                       : sfOpenText(strFile, spectrum.x, spectrum.y);
    if (!message.empty())
        return message;
    if (!fitsSpectrum)
        spectrum.meta.xIsWavelength = !looksLikePixelNumbers(spectrum.x);
    s.sngSpecX.swap(spectrum.x);
    s.sngSpecY.swap(spectrum.y);
    s.sngSpecSigma.swap(spectrum.sigma);
    s.specMeta = std::move(spectrum.meta);
    s.intActiveWindow = windowPlot;
    message = plot->showSpectrum(s.strFileName);
    opened = message.empty();
    return message;
}

} // namespace

std::string sfOpenFileDlg(platform::CommonDialog& dlg, std::string& strFile)
{
    return trapErrors("sfOpenFileDlg", [&]() -> std::string {
        dlg.DialogTitle = "ﾌｧｲﾙを開く";
        dlg.FileName.clear();
        dlg.Filter = openFileFilter;
        dlg.FilterIndex = appState().intActiveWindow == windowImage ? 1 : 2;
        // With no document open, the entry the user chose last time.
        const bool noDocument = !appState().blnImageLoaded && !appState().blnPlotLoaded;
        if (noDocument && lastOpenFilter() >= 1)
            dlg.FilterIndex = lastOpenFilter();
        dlg.InitDir = lastFolder();
        dlg.CancelError = true;
        if (!platform::ui().showDialog(dlg, platform::DialogMode::Open))
            return {};
        strFile = dlg.FileName;
        rememberFolderOf(strFile);
        rememberOpenFilter(dlg.FilterIndex);
        WaitCursor wait;
        return sfOpenFilePro(strFile);
    });
}

std::string sfOpenFileOLEDrop(const QList<QUrl>& files, std::string& strFile)
{
    return trapErrors("sfOpenFileOLEDrop", [&]() -> std::string {
        std::string last;
        for (const QUrl& url : files)
            if (url.isLocalFile())
                last = url.toLocalFile().toStdString();
        if (last.empty())
            return {};
        // A changed image is not replaced without the save question.
        AppState& s = appState();
        if (ImageWindowLink* image = loadedImageWindow(); s.blnImageChanged && image != nullptr) {
            bool cancel = false;
            image->dfUnloadForm(cancel);
            if (cancel)
                return {};
        }
        strFile = last;
        WaitCursor wait;
        return sfOpenFilePro(strFile);
    });
}

std::string sfOpenFilePro(std::string strFile)
{
    return trapErrors("sfOpenFilePro", [&]() -> std::string {
        AppState& s = appState();
        if (!dfIsFileExist(strFile))
            return "ﾌｧｲﾙが存在しません";
        std::string message = sfCheckKindOfFile(strFile, s.intFileKind);
        if (!message.empty())
            return message;
        // A one-dimensional FITS spectrum opens in the plot window.
        if (s.intFileKind == kindFits && plotWindowLink() != nullptr && isFitsSpectrumFile(strFile)) {
            bool opened = false;
            message = openText(strFile, opened, true);
            if (!opened)
                return message;
        } else if (s.intFileKind == kindFits) {
            message = openFits(strFile);
            if (!message.empty())
                return message;
        } else if (s.intFileKind == kindText && plotWindowLink() != nullptr) {
            bool opened = false;
            message = openText(strFile, opened);
            if (!opened)
                return message;
        } else {
            // Without a plot window in the program a spectrum cannot be shown.
            return "ｻﾎﾟｰﾄしていないﾌｧｲﾙ形式です";
        }
        if (MdiRaylen* main = mdiRaylen())
            main->setVersionCaption(strFile);
        s.blnImageChanged = false;
        return {};
    });
}

std::string sfBrowseFile(platform::CommonDialog& dlg, std::string& strFile, int intMode, const std::string& strTitle,
                         const std::string& strFilter, int& intFilterIndex, bool& blnCancel)
{
    blnCancel = false;
    return trapErrors("sfBrowseFile", [&]() -> std::string {
        dlg.DialogTitle = strTitle;
        dlg.Filter = strFilter;
        dlg.CancelError = true;
        // The dialog opens on the caller's entry, not on the one the shared
        // dialog was left at: an open from the plot window leaves entry 2,
        // which would save a spectrum as FITS or an image as a bitmap.
        if (intFilterIndex >= 1)
            dlg.FilterIndex = intFilterIndex;
        std::string proposed = strFile.empty() ? "/" : strFile;
        dlg.FileName = proposed.back() != '/' ? proposed : std::string();
        dlg.InitDir = lastFolder();
        platform::DialogMode mode = intMode == browseOpen   ? platform::DialogMode::Open
                                    : intMode == browseSave ? platform::DialogMode::Save
                                                            : platform::DialogMode::Printer;
        if (intMode != browseOpen && intMode != browseSave && intMode != browsePrinter)
            platform::raise(platform::errInvalidCall);
        if (!platform::ui().showDialog(dlg, mode)) {
            blnCancel = true;
            return {};
        }
        intFilterIndex = dlg.FilterIndex;
        strFile = dlg.FileName;
        if (mode != platform::DialogMode::Printer)
            rememberFolderOf(strFile);
        return {};
    });
}

std::string sfCheckAndReset(const RegionFields& frm, const FitsInfo& typInfo)
{
    return trapErrors("sfCheckAndReset", [&] {
        auto read = [](QLineEdit* box) { return platform::toLong(platform::leadingNumber(box->text().toStdString())); };
        PixelRegion region{read(frm.txtStartX), read(frm.txtEndX), read(frm.txtStartY), read(frm.txtEndY)};
        region = correctRegion(region, typInfo);
        auto write = [](QLineEdit* box, int32_t value) {
            box->setText(QString::fromStdString(platform::Format(value, "0")));
        };
        write(frm.txtStartX, region.startX);
        write(frm.txtEndX, region.endX);
        write(frm.txtStartY, region.startY);
        write(frm.txtEndY, region.endY);
        if (ImageWindowLink* image = loadedImageWindow())
            image->setBox(region.startX, region.startY, region.endX - region.startX + 1,
                          region.endY - region.startY + 1);
    });
}

} // namespace raylen
