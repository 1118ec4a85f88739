#pragma once
// The plot window: one spectrum in the chart control Lumigra1, the surface
// every reduction task draws on, with the key and mouse measurements, the
// changed mark and its save question, and the window's menus.
#include "plot/ContRegion.h"
#include "plot/PlotChart.h"
#include "plot/PlotCursor.h"
#include "plot/PlotSinks.h"
#include "plot/gui/PlotWindowView.h"
#include "shell/gui/DocumentLinks.h"
#include "shell/gui/StandardMenus.h"

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;

namespace raylen {

class ChartEventSink;

class FrmPlot : public QWidget, public DocumentWindow, public StandardMenus {
    Q_OBJECT
public:
    explicit FrmPlot(QWidget* parent = nullptr);
    ~FrmPlot() override;

    // Form_Load; false (the message shown) when the window cannot be built.
    bool formLoad();

    // Operations other windows call.
    // Brings the plot window forward with the keyboard focus on the chart,
    // for a dialog page that is worked with the plot's keys.
    void takeKeys();
    std::string sfPlotCalibComp(int16_t intOrder, const std::vector<double>& dblA);
    void dsMnuGraphWhenGraphMode();
    std::string sfGetBufData(std::vector<float>& sngDataX, std::vector<float>& sngDataY);
    std::string sfGetPlotData(std::vector<float>& sngDataX, std::vector<float>& sngDataY);
    std::string sfPlotSym(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY);
    std::string sfPlotSymClone(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY);
    // Marks, beside the clone line, the points a sigma rejection left out of its fit.
    std::string sfPlotRejected(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY);
    // The σ of the spectrum last drawn by sfPlotLin (refused when its length
    // differs); shown as a band when mnuErrorBand is checked.
    std::string sfPlotUncertainty(const std::vector<float>& sngSigma);
    const std::vector<float>& plotSigma() const { return sngPlotSigma; }
    std::string sfInitForm(const std::string& strFileName);
    std::string sfPlotLin(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY);
    std::string sfPlotLinClone(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY);
    void dsSetRangeAxisX(bool blnAuto, float sngMax, float sngMin);
    void dsGetRangeAxisX(bool& blnAuto, float& sngMax, float& sngMin);
    void dsGetRangeAxisY(bool& blnAuto, float& sngMax, float& sngMin, int16_t& intStyle);
    void dsSetRangeAxisY(bool blnAuto, float sngMax, float sngMin, int16_t intStyle);
    void dsChangeData(bool blnFlag);
    bool dfIsDataChange() const { return blnDataChanged; }
    void dsErasePlot();
    void dsSymCrossEnabled(bool blnEnabled);
    void dsErasePlotClone();
    void dsUnloadForm(bool& intCancel);
    void dsDispNameDate();
    void dsAutoScale();
    std::string sfTrimPlot(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY, float sngX1,
                           float sngX2);

    void dsMnuGraphWhenImageMode();
    void dsMnuGraphEnabled(bool blnEnabled);
    void dsMnuPrintEnabled(bool blnEnabled);

    QList<QMenu*> documentMenus() const override;
    void formActivate() override;
    void formDeactivate();

    // Chart events, with the arguments the control fires.
    void Lumigra1_MouseDown(int16_t Button, int16_t Shift, float x, float y);
    void Lumigra1_MouseMove(int16_t Button, int16_t Shift, float x, float y);
    void Lumigra1_KeyPress(int16_t KeyAscii);

    void mnuOpen_Click();
    void mnuClose_Click();
    void mnuSaveAs_Click();
    void mnuPrint_Click();
    void mnuSetPrinter_Click();
    void mnuAxis_Click();
    void mnuIdent_Click();
    void mnuCalib_Click(int16_t intTask);
    void mnuResult_Click();
    // Spectra chosen one after another (until the dialog is cancelled) are
    // coadded with the one shown; the result becomes the window's data.
    void mnuCoadd_Click();

    // The control's window and the chart built in it.
    QWidget* Lumigra1 = nullptr;
    PlotChart chart;
    const std::vector<float>& plotX() const { return sngPlotX; }
    const std::vector<float>& plotY() const { return sngPlotY; }
    const CursorState& cursor() const { return cursor_; }
    const TwoPress& keyState(char key) const;

    QAction* mnuAxis = nullptr;
    QAction* mnuIdent = nullptr;
    QAction* mnuDispCor = nullptr;
    QAction* mnuFluxCalib = nullptr;
    QAction* mnuNormalize = nullptr;
    QAction* mnuFFT = nullptr;
    QAction* mnuSensFunc = nullptr;
    QAction* mnuBaryCorr = nullptr;
    QAction* mnuCoadd = nullptr;
    QAction* mnuResult = nullptr;
    // ±1σ band on or off (off by default, so the picture is the design's).
    QAction* mnuErrorBand = nullptr;

    // The chart's size as first laid out: what printing uses, whatever
    // size the window has since been given.
    QSize chartDesignSize() const { return chartDesignSize_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    // The chart fills the window at every size.
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void buildMenus();
    std::string sfInitLumigra();
    void formUnload();
    // Runs a two-press command on its second press and shows its message.
    void twoPress(TwoPress& state, bool withY, const std::function<std::string(const TwoPress&)>& command);
    void showReadOut();
    void refreshCursor();

    ChartEventSink* sink_ = nullptr;
    uint32_t sinkCookie_ = 0;
    ChartObject control_;
    bool blnDataChanged = false;
    std::vector<float> sngPlotX, sngPlotY;
    std::vector<float> sngPlotSigma; // empty: the spectrum has no uncertainty
    void drawErrorBand();
    CursorState cursor_;
    TwoPress intTrimState, intGaussState, intEqWidthState, intContSetState, intContDelState;
    bool unloaded = false;
    // This window as the measurements draw their overlay on it.
    PlotWindowView view_{this};

    friend void resetContinuumKeys(FrmPlot& window);
    QSize chartDesignSize_;
};

// The plot window while it is loaded, else null.
FrmPlot* loadedFrmPlot();
// The default instance: loads the window on first use (Form_Load); null
// when it could not be built (the message has been shown).
FrmPlot* frmPlot();
// Unloads the plot window; false when the user kept it (save question).
bool unloadFrmPlot();
// The plot window as the shell sees it; the window owner holds it.
std::unique_ptr<PlotWindowLink> makePlotWindowLink();

} // namespace raylen
