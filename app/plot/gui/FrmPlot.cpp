#include "plot/gui/FrmPlot.h"
#include "shell/gui/WindowRegistry.h"

#include "lumigra/Constants.h"
#include "lumigra/Control.h"
#include "lumigra/DispIds.h"
#include "lumigra/Host.h"
#include "lumigra/Window.h"
#include "numeric/Polynomial.h"
#include "platform/BasicError.h"
#include "platform/UiService.h"
#include "plot/EqWidth.h"
#include "plot/GaussFit.h"
#include "plot/SearchIndex.h"
#include "plot/gui/ChartEventSink.h"
#include "plot/gui/FrmPlotAxis.h"
#include "plot/gui/PlotSave.h"
#include "plot/gui/PlotTaskLinks.h"
#include "state/AppState.h"
#include "files/FileAccess.h"
#include "shell/gui/FileIntake.h"
#include "shell/gui/Fonts.h"
#include "shell/gui/ProgramSettings.h"
#include "shell/gui/Help.h"
#include "shell/gui/MdiRaylen.h"
#include "shell/gui/FormSupport.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

#include <cmath>
#include <limits>
#include <span>

namespace raylen {

using namespace platform;
using platform::com::IDispatch;

namespace {

// Form size set by sfInitForm, in twips.
constexpr int formHeightTwips = 6395;
constexpr int formWidthTwips = 8107;

template <class Body>
void trapShown(const char* procedure, Body&& body)
{
    showCritical(trapErrors(procedure, std::forward<Body>(body)));
}

} // namespace

FrmPlot* loadedFrmPlot() { return windowRegistry().loaded<FrmPlot>(); }

FrmPlot::FrmPlot(QWidget* parent) : QWidget(parent)
{
    setObjectName("frmPlot");
    setWindowTitle(qt("ｸﾞﾗﾌ"));
    setFocusPolicy(Qt::StrongFocus);
    buildMenus();
}

FrmPlot::~FrmPlot()
{
    if (!unloaded)
        formUnload();
    if (sink_ != nullptr) {
        if (control_) {
            void* p = nullptr;
            if (control_->QueryInterface(lumigra::IID_ILumigraControl, &p) == com::S_OK) {
                auto* host = static_cast<lumigra::ILumigraControl*>(p);
                host->unadvise(sinkCookie_);
                host->Release();
            }
        }
        sink_->Release();
    }
}

void FrmPlot::buildMenus()
{
    auto item = [this](QMenu* into, const char* name, const char* caption, std::function<void()> handler) {
        QAction* action = into->addAction(QString::fromUtf8(caption));
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, [handler] { handler(); });
        return action;
    };
    buildStandardMenus(this);
    connect(mnuOpen, &QAction::triggered, this, [this] { mnuOpen_Click(); });
    connect(mnuClose, &QAction::triggered, this, [this] { mnuClose_Click(); });
    connect(mnuSaveAs, &QAction::triggered, this, [this] { mnuSaveAs_Click(); });
    connect(mnuPrint, &QAction::triggered, this, [this] { mnuPrint_Click(); });
    connect(mnuSetPrinter, &QAction::triggered, this, [this] { mnuSetPrinter_Click(); });
    mnuAxis = item(mnuGraph, "mnuAxis", "座標(&A)", [this] { mnuAxis_Click(); });
    mnuGraph->addSeparator()->setObjectName("mnuSepGraph1");
    mnuIdent = item(mnuGraph, "mnuIdent", "波長同定(&I)", [this] { mnuIdent_Click(); });
    mnuDispCor = item(mnuGraph, "mnuDispCor", "波長較正(&D)", [this] { mnuCalib_Click(taskDispCor); });
    mnuFluxCalib = item(mnuGraph, "mnuFluxCalib", "強度較正(&C)", [this] { mnuCalib_Click(taskFluxCalib); });
    mnuNormalize = item(mnuGraph, "mnuNormalize", "規格化(&N)", [this] { mnuCalib_Click(taskNormalize); });
    mnuFFT = item(mnuGraph, "mnuFFT", "ﾌｰﾘｴ変換(&F)", [this] { mnuCalib_Click(taskFFT); });
    mnuSensFunc = item(mnuGraph, "mnuSensFunc", "感度曲線(&S)", [this] { mnuCalib_Click(taskSensFunc); });
    mnuBaryCorr = item(mnuGraph, "mnuBaryCorr", "視線速度補正(&V)", [this] { mnuCalib_Click(taskBaryCorr); });
    mnuCoadd = item(mnuGraph, "mnuCoadd", "スペクトル合成(&M)", [this] { mnuCoadd_Click(); });
    mnuGraph->addSeparator()->setObjectName("mnuSepGraph2");
    mnuResult = item(mnuGraph, "mnuResult", "測定結果(&R)", [this] { mnuResult_Click(); });
    mnuErrorBand = item(mnuGraph, "mnuErrorBand", "誤差 ±1σ(&E)", [this] { drawErrorBand(); });
    mnuErrorBand->setCheckable(true);
}

QList<QMenu*> FrmPlot::documentMenus() const { return standardMenus(); }

bool FrmPlot::formLoad()
{
    std::string message = sfInitForm(appState().strFileName);
    if (message.empty())
        message = sfInitLumigra();
    if (!message.empty()) {
        MsgBox(message, vbCritical);
        return false;
    }
    dsChangeData(false);
    appState().blnPlotLoaded = true;
    return true;
}

std::string FrmPlot::sfInitForm(const std::string& strFileName)
{
    return trapErrors("sfInitForm", [&]() -> std::string {
        resize(twipsToPixelsX(formWidthTwips), twipsToPixelsY(formHeightTwips));
        intTrimState.state = 1;
        intGaussState.state = 1;
        intEqWidthState.state = 1;
        std::string name, directory;
        std::string message = sfExtrFileName(strFileName, name, directory);
        if (!message.empty())
            return message;
        setWindowTitle(qt("ｸﾞﾗﾌ [ " + name + " ]"));
        return {};
    });
}

std::string FrmPlot::sfInitLumigra()
{
    return trapErrors("sfInitLumigra", [&] {
        IDispatch* created = nullptr;
        const com::HRESULT status = lumigra::createControl(lumigra::ProgID_Lumigra, &created);
        if (com::failed(status) || created == nullptr)
            platform::raise(errObjectNotSet);
        control_ = ChartObject::attach(created);
        void* p = nullptr;
        if (control_->QueryInterface(lumigra::IID_ILumigraWindow, &p) != com::S_OK)
            platform::raise(errObjectNotSet);
        auto* window = static_cast<lumigra::ILumigraWindow*>(p);
        Lumigra1 = window->window(this);
        window->Release();
        Lumigra1->setObjectName("Lumigra1");
        // Left 0, top 0, the window's size; it follows the window from then on.
        Lumigra1->setGeometry(0, 0, width(), height());
        chartDesignSize_ = Lumigra1->size();
        if (control_->QueryInterface(lumigra::IID_ILumigraControl, &p) != com::S_OK)
            platform::raise(errObjectNotSet);
        auto* host = static_cast<lumigra::ILumigraControl*>(p);
        sink_ = new ChartEventSink(*this);
        host->advise(sink_, &sinkCookie_);
        host->Release();
        chart.build(control_.get());
        Lumigra1->show();
    });
}

std::string FrmPlot::sfPlotLin(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY)
{
    return trapErrors("sfPlotLin", [&] {
        if (sngDataX.size() != sngDataY.size())
            platform::raise(errSubscript);
        sngPlotX = sngDataX;
        sngPlotY = sngDataY;
        chart.plotLine(sngPlotX, sngPlotY);
        if (!sngPlotSigma.empty()) {
            sngPlotSigma.clear();
            chart.plotErrorBand(sngPlotX, sngPlotY, sngPlotSigma);
        }
        dsDispNameDate();
    });
}

std::string FrmPlot::sfPlotLinClone(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY)
{
    return trapErrors("sfPlotLinClone", [&] {
        chart.plotLineClone(sngDataX, sngDataY);
        dsDispNameDate();
    });
}

std::string FrmPlot::sfPlotSym(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY)
{
    return trapErrors("sfPlotSym", [&] {
        chart.plotSymbols(sngDataX, sngDataY);
        dsDispNameDate();
    });
}

std::string FrmPlot::sfPlotSymClone(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY)
{
    return trapErrors("sfPlotSymClone", [&] {
        chart.plotSymbolsClone(sngDataX, sngDataY);
        dsDispNameDate();
    });
}

std::string FrmPlot::sfPlotRejected(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY)
{
    return trapErrors("sfPlotRejected", [&] { chart.plotRejected(sngDataX, sngDataY); });
}

std::string FrmPlot::sfPlotUncertainty(const std::vector<float>& sngSigma)
{
    return trapErrors("sfPlotUncertainty", [&] {
        if (!sngSigma.empty() && sngSigma.size() != sngPlotY.size())
            platform::raise(errSubscript);
        sngPlotSigma = sngSigma;
        drawErrorBand();
    });
}

void FrmPlot::drawErrorBand()
{
    static const std::vector<float> none;
    const bool shown = mnuErrorBand != nullptr && mnuErrorBand->isChecked();
    showCritical(trapErrors("drawErrorBand",
                            [&] { chart.plotErrorBand(sngPlotX, sngPlotY, shown ? sngPlotSigma : none); }));
}

std::string FrmPlot::sfPlotCalibComp(int16_t intOrder, const std::vector<double>& dblA)
{
    return trapErrors("sfPlotCalibComp", [&]() -> std::string {
        // Deliberately 16-bit indices: a longer spectrum fails with the overflow message.
        if (sngPlotX.size() > static_cast<size_t>(INT16_MAX) + 1)
            platform::raise(errOverflow);
        if (intOrder >= 0 && static_cast<size_t>(intOrder) >= dblA.size())
            platform::raise(errSubscript);
        const std::span<const double> terms =
            std::span<const double>(dblA).first(intOrder < 0 ? 0 : static_cast<size_t>(intOrder) + 1);
        std::vector<float> x(sngPlotX.size());
        for (size_t i = 0; i < sngPlotX.size(); ++i) {
            const double value = polynomialValue(terms, sngPlotX[i]);
            if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
                platform::raise(errOverflow);
            x[i] = static_cast<float>(value);
        }
        dsErasePlotClone();
        const std::vector<float> y = sngPlotY;
        return sfPlotLin(x, y);
    });
}

std::string FrmPlot::sfGetBufData(std::vector<float>& sngDataX, std::vector<float>& sngDataY)
{
    return trapErrors("sfGetBufData", [&] {
        sngDataX = sngPlotX;
        sngDataY = sngPlotY;
    });
}

std::string FrmPlot::sfGetPlotData(std::vector<float>& sngDataX, std::vector<float>& sngDataY)
{
    return trapErrors("sfGetPlotData", [&] {
        sngDataX.assign(sngPlotX.size(), 0.0f);
        sngDataY.assign(sngPlotX.size(), 0.0f);
        for (size_t i = 0; i < sngPlotX.size(); ++i) {
            if (i >= sngPlotY.size())
                platform::raise(errSubscript);
            sngDataX[i] = sngPlotX[i];
            sngDataY[i] = sngPlotY[i];
        }
    });
}

void FrmPlot::dsSetRangeAxisX(bool blnAuto, float sngMax, float sngMin)
{
    trapShown("dsSetRangeAxisX", [&] {
        chart.setRangeX(blnAuto, sngMax, sngMin);
        dsDispNameDate();
    });
}

void FrmPlot::dsSetRangeAxisY(bool blnAuto, float sngMax, float sngMin, int16_t intStyle)
{
    trapShown("dsSetRangeAxisY", [&] {
        chart.setRangeY(blnAuto, sngMax, sngMin, intStyle);
        dsDispNameDate();
    });
}

void FrmPlot::dsGetRangeAxisX(bool& blnAuto, float& sngMax, float& sngMin)
{
    trapShown("dsGetRangeAxisX", [&] { chart.getRangeX(blnAuto, sngMax, sngMin); });
}

void FrmPlot::dsGetRangeAxisY(bool& blnAuto, float& sngMax, float& sngMin, int16_t& intStyle)
{
    trapShown("dsGetRangeAxisY", [&] { chart.getRangeY(blnAuto, sngMax, sngMin, intStyle); });
}

void FrmPlot::dsChangeData(bool blnFlag)
{
    trapShown("dsChangeData", [&] {
        AppState& s = appState();
        std::string name, directory;
        std::string message = sfExtrFileName(s.strFileName, name, directory);
        if (!message.empty()) {
            MsgBox("dsChangeData " + message, vbCritical);
            return;
        }
        blnDataChanged = blnFlag;
        if (blnFlag) {
            setWindowTitle(qt("ｸﾞﾗﾌ [ " + name + " 変更 ]"));
            return;
        }
        setWindowTitle(qt("ｸﾞﾗﾌ [ " + name + " ]"));
        dsDispNameDate();
        if (s.intActiveWindow == windowPlot)
            if (MdiRaylen* main = mdiRaylen())
                main->setVersionCaption(s.strFileName);
    });
}

void FrmPlot::dsErasePlot()
{
    trapShown("dsErasePlot", [&] { chart.erasePlot(); });
}

void FrmPlot::dsErasePlotClone()
{
    trapShown("dsErasePlotClone", [&] { chart.erasePlotClone(); });
}

void FrmPlot::dsSymCrossEnabled(bool blnEnabled)
{
    trapShown("dsSymCrossEnabled", [&] { chart.symCrossEnabled(blnEnabled); });
}

void FrmPlot::dsDispNameDate()
{
    trapShown("dsDispNameDate", [&] {
        std::string name, directory;
        std::string message = sfExtrFileName(appState().strFileName, name, directory);
        if (!message.empty()) {
            MsgBox("dsDispNameDate " + message, vbCritical);
            return;
        }
        chart.setNameDate(name, generalDateNow());
    });
}

void FrmPlot::dsAutoScale()
{
    trapShown("dsAutoScale", [&] {
        chart.autoScale();
        dsDispNameDate();
    });
}

std::string FrmPlot::sfTrimPlot(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY,
                                float sngX1, float sngX2)
{
    return trapErrors("sfTrimPlot", [&]() -> std::string {
        if (sngX1 > sngX2)
            std::swap(sngX1, sngX2);
        chart.setManualX(sngX1, sngX2);
        int32_t i1 = 0, i2 = 0;
        std::string message = sfSearchIndexX(sngDataX, sngX1, sngX2, i1, i2);
        if (!message.empty())
            return message;
        float yMin = 0, yMax = 0;
        // With the ±1σ band shown the trim keeps the band in view too.
        const bool band = mnuErrorBand != nullptr && mnuErrorBand->isChecked() &&
                          sngPlotSigma.size() == sngDataY.size();
        message = band ? sfMinMaxBand(sngDataY, sngPlotSigma, i1, i2, yMin, yMax)
                       : sfMinMax(sngDataY, i1, i2, yMin, yMax);
        if (!message.empty())
            return message;
        chart.setManualY(yMin, yMax);
        return {};
    });
}

void FrmPlot::dsUnloadForm(bool& intCancel)
{
    const std::string message = trapErrors("dsUnloadForm", [&] {
        if (!blnDataChanged) {
            intCancel = false;
            blnDataChanged = false;
            return;
        }
        const int answer = MsgBox("変更されています. 保存しますか？", vbYesNoCancel);
        if (answer == vbYes) {
            std::string strFile;
            bool blnCancel = false;
            std::string saved = sfSaveDataPro(sngPlotX, sngPlotY, strFile, blnCancel);
            if (!saved.empty()) {
                MsgBox(saved, vbCritical);
                return;
            }
            if (blnCancel) {
                intCancel = true;
                return;
            }
            std::string name, directory;
            std::string split = sfExtrFileName(appState().strFileName, name, directory);
            if (!split.empty()) {
                MsgBox(split, vbCritical);
                intCancel = true;
                return;
            }
            setWindowTitle(qt("ｸﾞﾗﾌ [ " + name + " ]"));
            blnDataChanged = false;
            intCancel = false;
        } else if (answer == vbNo) {
            intCancel = false;
            blnDataChanged = false;
        } else {
            intCancel = true;
        }
    });
    if (!message.empty()) {
        MsgBox(message, vbExclamation);
        intCancel = true;
    }
}

// ---- menus and modes

void FrmPlot::formActivate()
{
    if (appState().intActiveWindow == windowPlot)
        dsMnuGraphWhenGraphMode();
    else
        dsMnuGraphWhenImageMode();
}

void FrmPlot::formDeactivate()
{
    if (MdiRaylen* main = mdiRaylen())
        main->setButtonsEnabled({"Print"}, false);
}

void FrmPlot::takeKeys()
{
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        if (QMdiArea* area = frame->mdiArea())
            area->setActiveSubWindow(frame);
    window()->activateWindow();
    if (Lumigra1 != nullptr)
        Lumigra1->setFocus();
}

void FrmPlot::focusInEvent(QFocusEvent*)
{
    if (Lumigra1 != nullptr)
        Lumigra1->setFocus();
}

void FrmPlot::dsMnuGraphWhenGraphMode()
{
    if (MdiRaylen* main = mdiRaylen())
        main->setButtonsEnabled({"SaveAs"}, true);
    dsMnuGraphEnabled(true);
    mnuClose->setEnabled(true);
    dsMnuPrintEnabled(true);
}

void FrmPlot::dsMnuGraphWhenImageMode()
{
    mnuImage->menuAction()->setEnabled(false);
    mnuGraph->menuAction()->setEnabled(true);
    for (QAction* item : {mnuAxis, mnuResult})
        item->setEnabled(true);
    for (QAction* item : {mnuIdent, mnuDispCor, mnuFluxCalib, mnuNormalize, mnuFFT})
        item->setEnabled(false);
    if (MdiRaylen* main = mdiRaylen()) {
        main->setButtonsEnabled({"Plot", "Scan", "DarkFlat", "Header", "Ident", "Dispcor", "Fluxcalib", "Normalize"},
                                false);
        main->setButtonsEnabled({"Axis", "Result"}, true);
        // "FFT" deliberately keeps whatever state it had, unlike its menu item.
    }
    dsMnuPrintEnabled(true);
    if (MdiRaylen* main = mdiRaylen())
        main->dsTxtMaxMinEnabled(false);
}

void FrmPlot::dsMnuGraphEnabled(bool blnEnabled)
{
    mnuGraph->menuAction()->setEnabled(blnEnabled);
    for (QAction* item : {mnuAxis, mnuIdent, mnuDispCor, mnuFluxCalib, mnuNormalize, mnuFFT, mnuResult})
        item->setEnabled(blnEnabled);
    if (MdiRaylen* main = mdiRaylen())
        main->setButtonsEnabled({"Axis", "Ident", "Dispcor", "Fluxcalib", "Normalize", "FFT", "Result"}, blnEnabled);
}

void FrmPlot::dsMnuPrintEnabled(bool blnEnabled)
{
    mnuPrint->setEnabled(blnEnabled);
    mnuSetPrinter->setEnabled(blnEnabled);
    if (MdiRaylen* main = mdiRaylen())
        main->setButtonsEnabled({"Print"}, blnEnabled);
}

void FrmPlot::mnuOpen_Click()
{
    if (blnDataChanged) {
        bool cancel = false;
        dsUnloadForm(cancel);
        if (cancel)
            return;
    }
    if (MdiRaylen* main = mdiRaylen()) {
        const std::string message = sfOpenFileDlg(main->dlgOpenFile, appState().strFileName);
        if (!message.empty())
            MsgBox(message, vbCritical, "Open Error");
    }
}

void FrmPlot::mnuClose_Click() { unloadFrmPlot(); }

void FrmPlot::mnuSaveAs_Click()
{
    // Proposed: the document's own name as a text spectrum.
    const std::string& current = appState().strFileName;
    std::string strFile;
    if (!current.empty()) {
        const std::string name = namePart(current);
        const size_t dot = name.rfind('.');
        strFile = directoryPart(current) + (dot == std::string::npos || dot == 0 ? name : name.substr(0, dot)) + ".txt";
    }
    bool blnCancel = false;
    const std::string message = sfSaveDataPro(sngPlotX, sngPlotY, strFile, blnCancel);
    showCritical(message);
    if (blnCancel)
        return;
    appState().strFileName = strFile;
    dsChangeData(false);
    // The main window's caption names the document under its new name too.
    if (MdiRaylen* main = mdiRaylen())
        main->setVersionCaption(strFile);
}

void FrmPlot::mnuPrint_Click()
{
    plotTasks().printGraph();
}

void FrmPlot::mnuSetPrinter_Click()
{
    plotTasks().setupPrinter();
}

void FrmPlot::mnuAxis_Click() { showFrmPlotAxis(); }

void FrmPlot::mnuIdent_Click()
{
    plotTasks().showIdent();
}

void FrmPlot::mnuCalib_Click(int16_t intTask)
{
    if (blnDataChanged) {
        bool cancel = false;
        dsUnloadForm(cancel);
        if (cancel)
            return;
    }
    AppState& s = appState();
    s.intTaskMode = intTask;
    plotTasks().showCalib();
    if (intTask == taskNormalize) {
        intContSetState.state = 1;
        intContDelState.state = 1;
        s.lngContRegion.assign(1, 0);
    }
}

void FrmPlot::mnuResult_Click()
{
    plotTasks().showResult();
    if (Lumigra1 != nullptr)
        Lumigra1->setFocus();
}

// ---- unloading

void FrmPlot::resizeEvent(QResizeEvent* event)
{
    if (Lumigra1 != nullptr)
        Lumigra1->setGeometry(rect());
    QWidget::resizeEvent(event);
}

void FrmPlot::closeEvent(QCloseEvent* event)
{
    if (unloaded) {
        event->accept();
        return;
    }
    bool cancel = false;
    dsUnloadForm(cancel);
    if (cancel) {
        event->ignore();
        return;
    }
    formUnload();
    event->accept();
}

void FrmPlot::formUnload()
{
    unloaded = true;
    windowRegistry().forget<FrmPlot>(this);
    AppState& s = appState();
    const std::string message = trapErrors("Form_Unload", [&] {
        s.sngSpecX.assign(1, 0.0f);
        s.sngSpecY.assign(1, 0.0f);
        unloadFrmPlotAxis();
        // The result window stays: its results are kept until cleared.
        plotTasks().unloadTasks();
        if (s.blnImageLoaded) {
            dsMnuPrintEnabled(false);
            dsMnuGraphEnabled(false);
        } else if (MdiRaylen* main = mdiRaylen()) {
            main->dsMnuFileNone();
        }
    });
    s.blnPlotLoaded = false;
    blnDataChanged = false;
    showCritical(message);
}

FrmPlot* frmPlot()
{
    if (FrmPlot* loaded = loadedFrmPlot())
        return loaded;
    auto* window = new FrmPlot;
    windowRegistry().setLoaded(window);
    if (!window->formLoad()) {
        windowRegistry().setLoaded<FrmPlot>(nullptr);
        window->deleteLater();
        return nullptr;
    }
    if (MdiRaylen* main = mdiRaylen()) {
        keepSize(window);
        QMdiSubWindow* frame = main->addDocumentWindow(window, documentSize(window).value_or(window->size()));
        QObject::connect(frame, &QMdiSubWindow::windowStateChanged, window,
                         [window](Qt::WindowStates before, Qt::WindowStates now) {
                             if ((before & Qt::WindowActive) && !(now & Qt::WindowActive))
                                 window->formDeactivate();
                         });
    } else {
        window->show();
    }
    return window;
}

bool unloadFrmPlot()
{
    FrmPlot* window = loadedFrmPlot();
    if (window == nullptr)
        return true;
    QWidget* frame = window->parentWidget();
    QWidget* target = frame != nullptr ? frame : window;
    const bool closed = target->close();
    if (closed && frame == nullptr)
        window->deleteLater();
    return closed;
}

} // namespace raylen
