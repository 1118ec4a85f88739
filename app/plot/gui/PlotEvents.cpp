// The plot window's chart events: cursor tracking, mouse clicks and the
// letter keys that start the measurements.
#include "platform/BasicError.h"
#include "platform/Format.h"
#include "platform/UiService.h"
#include "plot/EqWidth.h"
#include "plot/GaussFit.h"
#include "plot/gui/FrmPlot.h"

#include "files/FileAccess.h"
#include "plot/gui/PlotTaskLinks.h"
#include "state/AppState.h"
#include "shell/gui/MdiRaylen.h"
#include "shell/gui/FormSupport.h"

#include <QLabel>

namespace raylen {

using namespace platform;

namespace {

constexpr int16_t leftButton = 1;

enum KeyCode : int16_t {
    keyTrim = 'a',
    keyAutoScale = 'c',
    keyContDelete = 'd',
    keyEqWidth = 'e',
    keyGaussPeak = 'g',
    keyGaussFit = 'k',
    keyAutoIdent = 'l',
    keyPeak = 'm',
    keyMarkPixel = 'n',
    keyReset = 'r',
    keyContSet = 's',
};


} // namespace

const TwoPress& FrmPlot::keyState(char key) const
{
    switch (key) {
    case keyTrim: return intTrimState;
    case keyGaussFit: return intGaussState;
    case keyEqWidth: return intEqWidthState;
    case keyContSet: return intContSetState;
    default: return intContDelState;
    }
}

void FrmPlot::Lumigra1_MouseDown(int16_t Button, int16_t, float, float)
{
    if (Button == leftButton)
        setFocus();
    else
        dsAutoScale();
}

void FrmPlot::Lumigra1_MouseMove(int16_t, int16_t, float x, float y)
{
    if (Lumigra1 == nullptr)
        return;
    // A chart that cannot map the point (equal ends, no plot area) keeps the
    // last values; the read-out is left as it was.
    trapErrors("Lumigra1_MouseMove", [&] {
        cursorToPage(x, y, chart.page(), cursor_);
        cursor_.onPage = true;
        if (cursorToData(chart.frame(), cursor_))
            showReadOut();
    });
}

// The data under the pointer again, for the chart may have been zoomed or
// rescaled since the last move: a key acts where it is pressed.
void FrmPlot::refreshCursor()
{
    if (!cursor_.onPage)
        return;
    trapErrors("Lumigra1_KeyPress", [&] {
        if (cursorToData(chart.frame(), cursor_))
            showReadOut();
    });
}

void FrmPlot::showReadOut()
{
    MdiRaylen* main = mdiRaylen();
    if (main == nullptr)
        return;
    main->lblY->setText(QString::fromStdString(readOutY(cursor_.sngCursorY, chart.dataMaxY())));
    main->lblX->setText(QString::fromStdString(readOutX(cursor_.sngCursorX)));
    main->lblCount->setText(QString());
}

void FrmPlot::twoPress(TwoPress& state, bool withY, const std::function<std::string(const TwoPress&)>& command)
{
    if (!state.press(cursor_.sngCursorX, withY ? cursor_.sngCursorY : 0.0f))
        return;
    showCritical(command(state));
}

void FrmPlot::Lumigra1_KeyPress(int16_t KeyAscii)
{
    refreshCursor();
    AppState& s = appState();
    IdentKeyTarget* ident = s.intTaskMode == taskIdent ? plotTasks().identKeyTarget() : nullptr;
    auto measured = [this](auto routine) {
        return [this, routine](const TwoPress& p) -> std::string {
            ResultWriter* result = plotTasks().showResult();
            if (Lumigra1 != nullptr)
                Lumigra1->setFocus();
            if (result == nullptr)
                return {};
            std::string message = routine(sngPlotX, sngPlotY, MarkedPoints{p.x[0], p.x[1]},
                                          MarkedPoints{p.y[0], p.y[1]}, *result, view_);
            if (message.empty())
                plotTasks().headResult(namePart(appState().strFileName));
            return message;
        };
    };
    switch (KeyAscii) {
    case keyTrim:
        twoPress(intTrimState, false,
                 [this](const TwoPress& p) { return sfTrimPlot(sngPlotX, sngPlotY, p.x[0], p.x[1]); });
        break;
    case keyAutoScale:
        dsAutoScale();
        break;
    case keyContDelete:
        if (s.intTaskMode == taskNormalize)
            twoPress(intContDelState, false, [&](const TwoPress& p) {
                return sfDeleteContRegion(sngPlotX, sngPlotY, p.x[0], p.x[1], s.lngContRegion, view_);
            });
        break;
    case keyEqWidth:
        twoPress(intEqWidthState, true, measured(&sfEqWidthPro));
        break;
    case keyGaussPeak:
        if (ident != nullptr)
            showCritical(ident->sfSearchGaussPeakPos(cursor_.sngCursorX, sngPlotX, sngPlotY));
        break;
    case keyGaussFit:
        twoPress(intGaussState, true, measured(&sfGaussFitPro));
        break;
    case keyAutoIdent:
        if (ident != nullptr)
            showCritical(ident->autoIdentify());
        break;
    case keyPeak:
        if (ident != nullptr)
            showCritical(ident->sfSearchPeakPos(cursor_.sngCursorX, sngPlotX, sngPlotY));
        break;
    case keyMarkPixel:
        if (ident != nullptr) {
            ident->setCurrentPixelCell(Format(cursor_.sngCursorX, "0.0"));
            showCritical(trapErrors("Lumigra1_KeyPress", [&] { chart.showMarkLine(0, cursor_.sngCursorXmm); }));
        }
        break;
    case keyReset:
        showCritical(trapErrors("Lumigra1_KeyPress", [&] { chart.hideMarkLines(); }));
        dsErasePlotClone();
        break;
    case keyContSet:
        if (s.intTaskMode == taskNormalize)
            twoPress(intContSetState, false, [&](const TwoPress& p) {
                return sfSetContRegion(sngPlotX, sngPlotY, p.x[0], p.x[1], s.lngContRegion, view_);
            });
        break;
    default:
        break;
    }
}

} // namespace raylen
