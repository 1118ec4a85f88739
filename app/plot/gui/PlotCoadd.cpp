// The plot window's coadd action.
#include "plot/gui/FrmPlot.h"

#include "files/FileAccess.h"
#include "files/TextSpectrum.h"
#include "fits/FitsSpectrum.h"
#include "platform/Format.h"
#include "platform/UiService.h"
#include "plot/gui/PlotTaskLinks.h"
#include "numeric/Coadd.h"
#include "shell/gui/FileIntake.h"
#include "shell/gui/MdiRaylen.h"
#include "state/AppState.h"

namespace raylen {

using namespace platform;

namespace {

constexpr const char* coaddTitle = "合成するスペクトルを開く";
constexpr const char* coaddFilter = "ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|FITS(*.fits)|*.fits|すべてのﾌｧｲﾙ(*.*)|*.*|";

std::string openOne(const std::string& path, CoaddInput& input)
{
    if (!dfIsFileExist(path))
        return "ﾌｧｲﾙが存在しません";
    return isFitsSpectrumFile(path) ? sfOpenFitsSpectrum(path, input.x, input.y) : sfOpenText(path, input.x, input.y);
}

} // namespace

void FrmPlot::mnuCoadd_Click()
{
    MdiRaylen* main = mdiRaylen();
    AppState& s = appState();
    if (main == nullptr || s.sngSpecX.size() < 2)
        return;
    std::vector<CoaddInput> inputs(1);
    inputs[0].x = s.sngSpecX;
    inputs[0].y = s.sngSpecY;
    for (;;) {
        int filterIndex = 1;
        bool cancel = false;
        std::string file;
        std::string message = sfBrowseFile(main->dlgOpenFile, file, browseOpen, coaddTitle, coaddFilter, filterIndex,
                                           cancel);
        if (message.empty() && cancel)
            break;
        CoaddInput input;
        if (message.empty())
            message = openOne(file, input);
        if (!message.empty()) {
            MsgBox(message, vbExclamation);
            return;
        }
        inputs.push_back(std::move(input));
    }
    if (inputs.size() < 2)
        return;
    CoaddResult result;
    std::string message = sfCoadd(inputs, 0.0, result);
    if (message.empty())
        message = sfPlotLin(result.x, result.y);
    if (!message.empty()) {
        MsgBox(message, vbCritical);
        return;
    }
    s.sngSpecX = result.x;
    s.sngSpecY = result.y;
    dsChangeData(true);
    if (ResultWriter* writer = plotTasks().showResult())
        writer->sfMessage("合成 " + std::to_string(inputs.size()) + " 本 刻み=" + Format(result.scale.step, "0.0####"));
}

} // namespace raylen
