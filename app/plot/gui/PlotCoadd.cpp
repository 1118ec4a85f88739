// The plot window's coadd action.
#include "plot/gui/FrmPlot.h"

#include "files/FileAccess.h"
#include "platform/Format.h"
#include "platform/UiService.h"
#include "plot/gui/PlotTaskLinks.h"
#include "fits/SpectrumFile.h"
#include "shell/gui/FileIntake.h"
#include "spectrum/SpectrumCoadd.h"
#include "shell/gui/MdiRaylen.h"
#include "state/AppState.h"

namespace raylen {

using namespace platform;

namespace {

constexpr const char* coaddTitle = "合成するスペクトルを開く";
constexpr const char* coaddFilter = "ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|FITS(*.fits)|*.fits|すべてのﾌｧｲﾙ(*.*)|*.*|";

std::string openOne(const std::string& path, Spectrum& input)
{
    if (!dfIsFileExist(path))
        return "ﾌｧｲﾙが存在しません";
    return openSpectrumFile(path, input);
}

} // namespace

void FrmPlot::mnuCoadd_Click()
{
    MdiRaylen* main = mdiRaylen();
    AppState& s = appState();
    if (main == nullptr || s.sngSpecX.size() < 2)
        return;
    // The shown spectrum first: its cards, medium and unit go on.
    std::vector<Spectrum> inputs(1);
    inputs[0].x = s.sngSpecX;
    inputs[0].y = s.sngSpecY;
    if (s.sngSpecSigma.size() == s.sngSpecY.size())
        inputs[0].sigma = s.sngSpecSigma;
    inputs[0].meta = s.specMeta;
    for (;;) {
        int filterIndex = 1;
        bool cancel = false;
        std::string file;
        std::string message = sfBrowseFile(main->dlgOpenFile, file, browseOpen, coaddTitle, coaddFilter, filterIndex,
                                           cancel);
        if (message.empty() && cancel)
            break;
        Spectrum input;
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
    Spectrum result;
    EvenScale scale;
    std::string message = coaddSpectra(inputs, 0.0, result, scale);
    if (message.empty())
        message = sfPlotLin(result.x, result.y);
    if (message.empty())
        message = sfPlotUncertainty(result.sigma);
    if (!message.empty()) {
        MsgBox(message, vbCritical);
        return;
    }
    s.sngSpecX = result.x;
    s.sngSpecY = result.y;
    s.sngSpecSigma = result.sigma;
    s.specMeta = result.meta;
    dsChangeData(true);
    if (ResultWriter* writer = plotTasks().showResult())
        writer->sfMessage("合成 " + std::to_string(inputs.size()) + " 本 刻み=" + Format(scale.step, "0.0####"));
}

} // namespace raylen
