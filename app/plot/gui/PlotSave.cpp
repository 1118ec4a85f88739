#include "plot/gui/PlotSave.h"

#include "fits/FitsSpectrum.h"
#include "plot/gui/FrmPlot.h"
#include "platform/BasicError.h"
#include "platform/UiService.h"
#include "files/FileAccess.h"
#include "files/TextSpectrum.h"
#include "state/AppState.h"
#include "shell/gui/DocumentLinks.h"
#include "shell/gui/FileIntake.h"
#include "shell/gui/MdiRaylen.h"

namespace raylen {

using namespace platform;

namespace {
constexpr const char* saveTitle = "名前を付けて保存";
constexpr const char* saveFilter = "ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|FITSｽﾍﾟｸﾄﾙ(*.fits)|*.fits|";
constexpr int textFilterIndex = 1;
constexpr int fitsFilterIndex = 2;
} // namespace

std::string sfSaveDataPro(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY,
                          std::string& strFile, bool& blnCancel)
{
    return trapErrors("sfSaveDataPro", [&]() -> std::string {
        MdiRaylen* main = mdiRaylen();
        CommonDialog fallback;
        CommonDialog& dialog = main != nullptr ? main->dlgOpenFile : fallback;
        int filterIndex = textFilterIndex;
        for (;;) {
            std::string message =
                sfBrowseFile(dialog, strFile, browseSave, saveTitle, saveFilter, filterIndex, blnCancel);
            if (!message.empty())
                return message;
            if (blnCancel)
                return {};
            if (!dfIsFileExist(strFile))
                break;
            const int answer = MsgBox("同じ名前のﾌｧｲﾙが存在します。上書きしますか？", vbYesNoCancel | vbExclamation,
                                      "ﾌｧｲﾙの保存");
            if (answer == vbYes)
                break;
            if (answer == vbCancel) {
                blnCancel = true;
                return {};
            }
        }
        if (filterIndex == textFilterIndex)
            return sfSaveText(sngDataX, sngDataY, strFile);
        if (filterIndex == fitsFilterIndex) {
            Spectrum spectrum;
            spectrum.x = sngDataX;
            spectrum.y = sngDataY;
            spectrum.meta = appState().specMeta;
            spectrum.meta.xIsWavelength = !looksLikePixelNumbers(sngDataX);
            // The observation cards of the image the spectrum came from.
            if (spectrum.meta.cards.empty() && loadedImageWindow() != nullptr && !appState().strHeader.empty())
                spectrum.meta.cards = observationCards(appState().strHeader);
            // The plotted spectrum's uncertainty goes with it.
            if (const FrmPlot* plot = loadedFrmPlot(); plot != nullptr && plot->plotSigma().size() == sngDataY.size())
                spectrum.sigma = plot->plotSigma();
            return sfSaveFitsSpectrum(strFile, spectrum);
        }
        return {};
    });
}

} // namespace raylen
