#include "reduce/gui/FrmCalib.h"

#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "platform/Format.h"
#include "platform/UiService.h"
#include "plot/gui/FrmPlot.h"
#include "plot/gui/PlotTaskLinks.h"
#include "reduce/CalibSpectrumSteps.h"
#include "reduce/DispCor.h"
#include "reduce/Dispersion.h"
#include "reduce/FftPlot.h"
#include "reduce/FluxCal.h"
#include "reduce/Normalize.h"
#include "reduce/SpectrumSteps.h"
#include "reduce/TextFields.h"
#include "reduce/gui/CalibPanels.h"
#include "files/ShareData.h"
#include "reduce/gui/FrmIdent.h"
#include "reduce/gui/WizardSupport.h"
#include "state/AppState.h"
#include "files/FileAccess.h"
#include "shell/gui/FileIntake.h"
#include "shell/gui/Fonts.h"
#include "shell/gui/Help.h"
#include "shell/gui/MdiRaylen.h"
#include "shell/gui/ProgramSettings.h"
#include "shell/gui/FormSupport.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace raylen {

using namespace platform;

namespace {
constexpr const char* noRegionMessage = "連続スペクトル領域を指定して下さい";
constexpr const char* tooFewPointsMessage = "連続スペクトル領域の点が足りません (次数 + 1 点以上)";
} // namespace

FrmCalib* frmCalib() { return FrmCalib::loaded(); }

// The task mode is set before the dialog loads, and back to none when it unloads.
FrmCalib::FrmCalib(SpectrumView& plot, QWidget* parent)
    : TaskDialog(parent, appState().intTaskMode), plotter_(plot)
{
    setObjectName("frmCalib");
    setWindowTitle(qt("較正"));
    for (size_t i = 0; i < picContena.size(); ++i) {
        picContena[i] = new QFrame(this);
        picContena[i]->setObjectName(QString("picContena%1").arg(i + 1));
    }
    for (size_t i = 0; i < picChild.size(); ++i) {
        picChild[i] = new QFrame(picContena[0]);
        picChild[i]->setObjectName(QString("picChild%1").arg(i));
    }
    lblCalibFile = new QLabel(picChild[0]);
    txtCalibFile = new QLineEdit(picChild[0]);
    cmdCalibFile = new QPushButton(qt("参照"), picChild[0]);
    lblCalibKind = new QLabel(picChild[0]);
    lblCalibKind->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    chkLinear = new QCheckBox(qt("等間隔の波長に再標本化"), picChild[0]);
    lblStep = new QLabel(qt("刻み"), picChild[0]);
    txtStep = new QLineEdit(picChild[0]);
    lblCont = new QLabel(qt("連続スペクトル領域を指定して下さい"), picChild[1]);
    lblOrder = new QLabel(qt("次数"), picChild[1]);
    txtOrder = new QLineEdit(picChild[1]);
    reject.create(picChild[1], "txt");
    cmdFit = new QPushButton(qt("ﾌｨｯﾄ"), picChild[1]);
    lblFFT = new QLabel(qt("フーリエ変換"), picChild[2]);
    lblOK = new QLabel(qt("よろしいですか？"), picContena[1]);
    cmdReturn = new QPushButton(qt("戻る"), this);
    cmdNext = new QPushButton(qt("次へ"), this);
    cmdCancel = new QPushButton(qt("ｷｬﾝｾﾙ"), this);
    cmdHelp = new QPushButton(qt("ﾍﾙﾌﾟ"), this);
    const std::pair<QWidget*, const char*> names[] = {
        {lblCalibFile, "lblCalibFile"}, {lblCalibKind, "lblCalibKind"}, {txtCalibFile, "txtCalibFile"}, {cmdCalibFile, "cmdCalibFile"},
        {chkLinear, "chkLinear"}, {lblStep, "lblStep"}, {txtStep, "txtStep"},
        {lblCont, "lblCont"}, {lblOrder, "lblOrder"}, {txtOrder, "txtOrder"}, {cmdFit, "cmdFit"},
        {lblFFT, "lblFFT"}, {lblOK, "lblOK"}, {cmdReturn, "cmdReturn"}, {cmdNext, "cmdNext"},
        {cmdCancel, "cmdCancel"}, {cmdHelp, "cmdHelp"}};
    for (const auto& [widget, name] : names)
        widget->setObjectName(name);
    picAtmosphere = new QWidget(picChild[0]);
    picAtmosphere->setObjectName("picAtmosphere");
    atmosphere.create(picAtmosphere, appState().strHeader, true);
    sens.create(picContena[0], appState().strHeader);
    bary.create(picContena[0], appState().strHeader);
    lblCont->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblFFT->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    connect(cmdCalibFile, &QPushButton::clicked, this, &FrmCalib::cmdCalibFile_Click);
    connect(txtCalibFile, &QLineEdit::textChanged, this, &FrmCalib::txtCalibFile_Change);
    connect(cmdNext, &QPushButton::clicked, this, &FrmCalib::cmdNext_Click);
    connect(cmdReturn, &QPushButton::clicked, this, &FrmCalib::cmdReturn_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &FrmCalib::cmdCancel_Click);
    connect(cmdFit, &QPushButton::clicked, this, &FrmCalib::cmdFit_Click);
    connect(cmdHelp, &QPushButton::clicked, this, [] { dsHelp("calib"); });
    connect(sens.cmdStandard, &QPushButton::clicked, this, &FrmCalib::cmdStandard_Click);
}

FrmCalib::~FrmCalib() { unloadOnce(); }

void FrmCalib::layoutPages()
{
    setFixedSize(twipsToPixelsX(5520), twipsToPixelsY(2880));
    for (QFrame* page : picContena)
        page->setGeometry(twipsRect(120, 120, 5280, 1920));
    for (QFrame* child : picChild)
        child->setGeometry(twipsRect(0, 0, 5280, 1920));
    lblCalibFile->setGeometry(twipsRect(120, 240, 2400, 300));
    lblCalibKind->setGeometry(twipsRect(2520, 240, 2580, 300));
    txtCalibFile->setGeometry(twipsRect(120, 600, 3900, 330));
    cmdCalibFile->setGeometry(twipsRect(4140, 585, 960, 360));
    chkLinear->setGeometry(twipsRect(120, 1140, 3000, 300));
    lblStep->setGeometry(twipsRect(3240, 1170, 600, 300));
    txtStep->setGeometry(twipsRect(3840, 1140, 900, 330));
    lblCont->setGeometry(twipsRect(120, 120, 5040, 1080));
    lblOrder->setGeometry(twipsRect(120, 1380, 600, 300));
    txtOrder->setGeometry(twipsRect(780, 1350, 600, 330));
    cmdFit->setGeometry(twipsRect(1560, 1320, 1000, 390));
    reject.place(2640, 1350);
    lblFFT->setGeometry(twipsRect(120, 240, 5040, 1200));
    lblOK->setGeometry(twipsRect(120, 600, 5040, 600));
    cmdReturn->setGeometry(twipsRect(840, 2220, 1080, 390));
    cmdNext->setGeometry(twipsRect(2010, 2220, 1080, 390));
    cmdCancel->setGeometry(twipsRect(3180, 2220, 1080, 390));
    cmdHelp->setGeometry(twipsRect(4350, 2220, 1080, 390));
    picAtmosphere->setGeometry(twipsRect(120, 960, 5040, 960));
    for (QWidget* page : {sens.page, bary.page})
        page->hide();
}

// The added tasks' pages are laid out by their layouts: the dialog grows
// to their height and the buttons move below them.
void FrmCalib::layoutAddedPage(QWidget* page)
{
    const int width = twipsToPixelsX(5280);
    const int height = std::max(page->sizeHint().height(), twipsToPixelsY(1920));
    const int grow = height - twipsToPixelsY(1920);
    for (QFrame* frame : picContena)
        frame->resize(width, height);
    page->setGeometry(0, 0, width, height);
    page->show();
    page->raise();
    for (QPushButton* button : {cmdReturn, cmdNext, cmdCancel, cmdHelp})
        button->move(button->x(), button->y() + grow);
    setFixedSize(twipsToPixelsX(5520), twipsToPixelsY(2880) + grow);
}

void FrmCalib::showPage() { bringToFront({picContena.begin(), picContena.end()}, static_cast<size_t>(intPage_ - 1)); }

std::string FrmCalib::sfInitForm(const std::string& strFileName, int16_t intTaskMode)
{
    return trapErrors("sfInitForm", [&]() -> std::string {
        layoutPages();
        intPage_ = 1;
        showPage();
        cmdReturn->setEnabled(false);
        cmdNext->setEnabled(false);
        intTask = intTaskMode;
        const std::string name = namePart(strFileName);
        size_t panel = 0;
        switch (intTaskMode) {
        case taskDispCor:
            setWindowTitle(qt("波長較正 [ " + name + " ]"));
            chkLinear->setVisible(true);
            lblCalibFile->setText(qt("参照ﾌｧｲﾙ名"));
            // The two look-alike tasks name the file each one wants.
            lblCalibKind->setText(qt("分散ﾌｧｲﾙ (*.dip)"));
            prefillCalibFile(RememberedFile::dispersion);
            strDlgTitle = "分散ﾌｧｲﾙを開く";
            strDlgFilter = "ﾌｧｲﾙ名(*.dip)|*.dip|";
            break;
        case taskFluxCalib:
            setWindowTitle(qt("強度較正 [ " + name + " ]"));
            chkLinear->setVisible(false);
            lblCalibFile->setText(qt("参照ﾌｧｲﾙ名"));
            lblCalibKind->setText(qt("感度ﾌｧｲﾙ (*.sns)"));
            prefillCalibFile(RememberedFile::sensitivity);
            strDlgTitle = "強度較正ﾌｧｲﾙを開く";
            strDlgFilter = "ﾌｧｲﾙ名(*.sns)|*.sns|";
            break;
        case taskNormalize:
            setWindowTitle(qt("規格化 [ " + name + " ]"));
            panel = 1;
            lblCont->setText(qt("連続スペクトル領域を指定して下さい \n「s」キー　領域選択\n「d」キー　領域削除"));
            intContOrder = defaultContinuumOrder;
            txtOrder->setText(qt(Format(intContOrder, "#")));
            break;
        case taskFFT:
            setWindowTitle(qt("フーリエ変換 [ " + name + " ]"));
            panel = 2;
            lblFFT->setText(qt("フーリエ変換\n\n「次へ」を押すと実行されます"));
            cmdNext->setEnabled(true);
            break;
        case taskSensFunc:
            setWindowTitle(qt("感度曲線 [ " + name + " ]"));
            cmdNext->setEnabled(true);
            break;
        case taskBaryCorr:
            setWindowTitle(qt("視線速度補正 [ " + name + " ]"));
            cmdNext->setEnabled(true);
            break;
        default:
            platform::raise(errInvalidCall);
        }
        bringToFront({picChild.begin(), picChild.end()}, panel);
        picAtmosphere->setVisible(intTaskMode == taskFluxCalib);
        if (intTaskMode == taskSensFunc || intTaskMode == taskBaryCorr) {
            for (QFrame* child : picChild)
                child->hide();
            layoutAddedPage(intTaskMode == taskSensFunc ? sens.page : bary.page);
        }
        return {};
    });
}

void FrmCalib::prefillCalibFile(RememberedFile role)
{
    if (!strCalibFileName.empty())
        return;
    strCalibFileName = rememberedFile(role);
    txtCalibFile->setText(qt(namePart(strCalibFileName)));
}

void FrmCalib::cmdCalibFile_Click()
{
    MdiRaylen* main = mdiRaylen();
    if (main == nullptr)
        return;
    int filterIndex = 1;
    bool cancel = false;
    std::string message =
        sfBrowseFile(main->dlgOpenFile, strCalibFileName, browseOpen, strDlgTitle, strDlgFilter, filterIndex, cancel);
    if (!message.empty()) {
        MsgBox(message, vbExclamation);
        return;
    }
    if (!cancel)
        txtCalibFile->setText(qt(namePart(strCalibFileName)));
}

void FrmCalib::cmdStandard_Click()
{
    MdiRaylen* main = mdiRaylen();
    if (main == nullptr)
        return;
    int filterIndex = 1;
    bool cancel = false;
    std::string file;
    std::string message = sfBrowseFile(main->dlgOpenFile, file, browseOpen, "標準星ﾌｧｲﾙを開く",
                                       "ﾌｧｲﾙ名(*.dat)|*.dat|", filterIndex, cancel);
    if (!message.empty()) {
        MsgBox(message, vbExclamation);
        return;
    }
    if (!cancel)
        sens.cboStandard->setEditText(qt(file));
}

void FrmCalib::txtCalibFile_Change() { cmdNext->setEnabled(true); }

std::string FrmCalib::runTask()
{
    const AppState& s = appState();
    Spectrum in;
    in.x = s.sngSpecX;
    in.y = s.sngSpecY;
    if (s.sngSpecSigma.size() == s.sngSpecY.size())
        in.sigma = s.sngSpecSigma;
    in.meta = s.specMeta;
    std::string message;
    switch (intTask) {
    case taskDispCor: {
        DispersionSolution solution;
        solution.fileName = strCalibFileName;
        LinearGrid grid;
        grid.enabled = chkLinear->isChecked();
        if (grid.enabled && !txtStep->text().trimmed().isEmpty()) {
            grid.step = platform::leadingNumber(txtStep->text().toStdString());
            if (!(grid.step > 0))
                return "刻みには正の数を指定してください";
        }
        std::optional<LinearScale> exact;
        message = sfOpenDispFile(strCalibFileName, solution.coefficients, &solution.vacuum);
        if (message.empty() && grid.enabled && in.x.size() < 2)
            message = "データ点が2点以上必要です";
        if (message.empty())
            message = dispcorSpectrum(in, solution, grid, pending_, exact, plotter_);
        if (message.empty())
            dblA = solution.coefficients;
        break;
    }
    case taskFluxCalib: {
        // Exposure and atmosphere when asked for; else the plain division,
        // which keeps the unit and the uncertainty.
        if (atmosphere.chkApply->isChecked()) {
            message = runFluxCalib(in);
            break;
        }
        std::vector<float> sensX, sensY;
        std::string unit;
        message = sfReadSensFncFile(strCalibFileName, sensX, sensY, &unit);
        if (message.empty())
            message = fluxcalSpectrum(in, sensX, sensY, unit, strCalibFileName, pending_, plotter_);
        break;
    }
    case taskSensFunc:
        return runSensFunc();
    case taskBaryCorr:
        message = runBaryCorr(in);
        break;
    case taskNormalize:
        message = normalizeSpectrum(in, dblCont, intContOrder, pending_, plotter_);
        break;
    case taskFFT:
        // The amplitude spectrum is no flux: it has no uncertainty.
        message = sfFFTPlot(s.sngSpecX, s.sngSpecY, sngNewX, sngNewY, plotter_);
        pending_ = Spectrum();
        return message;
    default:
        return {};
    }
    if (message.empty() && pending_.hasUncertainty())
        message = plotter_.sfPlotUncertainty(pending_.sigma);
    return message;
}

std::string FrmCalib::runFluxCalib(const Spectrum& in)
{
    std::vector<float> sensX, sensY;
    std::string unit;
    std::string message = sfReadSensFncFile(strCalibFileName, sensX, sensY, &unit);
    bool wanted = false, hasTable = false;
    Atmosphere applied;
    ExtinctionTable table;
    if (message.empty())
        message = atmosphere.read(wanted, applied.exptime, applied.airmass, table, hasTable);
    if (!message.empty())
        return message;
    // Without an exposure time: the plain division.
    if (!wanted)
        return fluxcalSpectrum(in, sensX, sensY, unit, strCalibFileName, pending_, plotter_);
    if (hasTable) {
        applied.extinction = &table;
        applied.extinctionName = atmosphere.cboExtinction->currentText().trimmed().toStdString();
    }
    message = fluxcalAtmosphereSpectrum(in, sensX, sensY, unit, strCalibFileName, applied, pending_);
    if (!message.empty())
        return message;
    plotter_.Show();
    plotter_.dsErasePlotClone();
    return plotter_.sfPlotLin(pending_.x, pending_.y);
}

// The response at the standard's points as symbols, the fit as the second
// line, rejected points marked; the residual table in the result window.
std::string FrmCalib::runSensFunc()
{
    const AppState& s = appState();
    StandardTable standard;
    ExtinctionTable extinction;
    bool hasExtinction = false;
    SensFuncSettings settings;
    std::string message = sens.read(standard, extinction, hasExtinction, settings);
    SensFuncResult result;
    if (message.empty())
        message = sfSensFunc(s.sngSpecX, s.sngSpecY, standard, hasExtinction ? &extinction : nullptr, settings, result,
                             s.sngSpecSigma.size() == s.sngSpecY.size() ? &s.sngSpecSigma : nullptr);
    if (!message.empty())
        return message;
    std::vector<float> px, py, rx, ry;
    for (const SensPoint& p : result.points) {
        if (p.masked)
            continue;
        (p.rejected ? rx : px).push_back(static_cast<float>(p.wave));
        (p.rejected ? ry : py).push_back(static_cast<float>(p.response));
    }
    plotter_.Show();
    plotter_.dsErasePlot();
    plotter_.dsErasePlotClone();
    message = plotter_.sfPlotSym(px, py);
    if (message.empty())
        message = plotter_.sfPlotLinClone(result.sensX, result.sensY);
    if (message.empty())
        message = plotter_.sfPlotRejected(rx, ry);
    if (!message.empty())
        return message;
    if (ResultWriter* writer = plotTasks().showResult()) {
        // The log puts the newest line on top: the table goes in from its end.
        // The views point into text, which must outlive them.
        const std::string text = sensResidualText(result);
        const std::vector<std::string_view> lines = splitLines(text);
        for (auto line = lines.rbegin(); line != lines.rend(); ++line)
            writer->sfMessage(std::string(*line));
    }
    sensResult_ = std::move(result);
    return {};
}

std::string FrmCalib::runBaryCorr(const Spectrum& in)
{
    Observation observation;
    VelocityFrame frame = VelocityFrame::barycentric;
    std::string message = bary.read(observation, frame);
    double v = 0;
    if (message.empty())
        message = sfRadialVelocityCorrection(observation, frame, v);
    if (message.empty())
        message = barycorrSpectrum(in, v, frame, pending_);
    if (!message.empty())
        return message;
    plotter_.Show();
    plotter_.dsErasePlotClone();
    message = plotter_.sfPlotLin(pending_.x, pending_.y);
    if (!message.empty())
        return message;
    velocity_ = v;
    if (ResultWriter* writer = plotTasks().showResult())
        writer->sfMessage("v=" + Format(v, "0.0000") + " km/s");
    return {};
}

// "完了" of the response: the .sns is written where the user chooses; the
// plot window goes back to the star's spectrum.
bool FrmCalib::saveSensFile()
{
    MdiRaylen* main = mdiRaylen();
    if (main == nullptr)
        return false;
    int filterIndex = 1;
    bool cancel = false;
    std::string file;
    std::string message = sfBrowseFile(main->dlgOpenFile, file, browseSave, "感度ﾌｧｲﾙの保存",
                                       "ﾌｧｲﾙ名(*.sns)|*.sns|", filterIndex, cancel);
    if (message.empty() && cancel)
        return false;
    if (message.empty())
        message = sfWriteSensFile(file, sensResult_.unit, sensResult_.sensX, sensResult_.sensY);
    if (!message.empty()) {
        MsgBox(message, vbCritical);
        return false;
    }
    plotter_.dsErasePlotClone();
    plotUnchanged();
    return true;
}

void FrmCalib::cmdNext_Click()
{
    AppState& s = appState();
    if (intPage_ == 1) {
        if (intTask == taskDispCor || intTask == taskFluxCalib) {
            strCalibFileName = directoryPart(strCalibFileName) + txtCalibFile->text().toStdString();
            if (!dfIsFileExist(strCalibFileName)) {
                MsgBox("ファイルが存在しません。", vbExclamation);
                return;
            }
        }
        std::string message = runTask();
        if (!message.empty()) {
            MsgBox(message, vbCritical);
            return;
        }
        if (intTask == taskDispCor || intTask == taskFluxCalib)
            rememberFile(intTask == taskDispCor ? RememberedFile::dispersion : RememberedFile::sensitivity,
                         strCalibFileName);
        intPage_ = 2;
        cmdReturn->setEnabled(true);
        cmdNext->setText(qt("完了"));
        showPage();
        return;
    }
    if (intTask == taskSensFunc) {
        if (saveSensFile()) {
            finished = true;
            close();
        }
        return;
    }
    // "完了": the preview becomes the plot window's data.
    if (FrmPlot* plot = loadedFrmPlot()) {
        std::string message = plot->sfGetPlotData(s.sngSpecX, s.sngSpecY);
        if (!message.empty()) {
            MsgBox(message, vbCritical);
            return;
        }
        plot->dsChangeData(true);
        s.sngSpecSigma = plot->plotSigma();
        if (intTask != taskFFT)
            s.specMeta = pending_.meta;
    }
    finished = true;
    close();
}

void FrmCalib::plotUnchanged()
{
    const AppState& s = appState();
    std::string message = plotter_.sfPlotLin(s.sngSpecX, s.sngSpecY);
    if (!message.empty())
        MsgBox(message, vbCritical);
}

void FrmCalib::cmdReturn_Click()
{
    plotter_.dsErasePlot();
    plotter_.dsErasePlotClone();
    intPage_ = std::max(1, intPage_ - 1);
    if (intPage_ == 1) {
        plotUnchanged();
        if (FrmPlot* plot = loadedFrmPlot())
            plot->dsChangeData(false);
        cmdReturn->setEnabled(false);
        cmdNext->setText(qt("次へ"));
    }
    showPage();
}

void FrmCalib::cmdCancel_Click() { close(); }

void FrmCalib::cmdFit_Click()
{
    const AppState& s = appState();
    try {
        intContOrder = orderFromText(txtOrder->text().toStdString());
    } catch (const BasicError& e) {
        MsgBox(trapMessage("cmdFit_Click", e), vbCritical);
        return;
    }
    RejectOptions options;
    if (!reject.read(options, "Raylen"))
        return;
    // Without enough marked points the fit would fail inside with a
    // division error: say what to do before anything runs.
    const size_t marked = s.lngContRegion.size() > 1 ? s.lngContRegion.size() : 0;
    if (marked == 0) {
        MsgBox(noRegionMessage, vbExclamation);
        return;
    }
    if (marked <= static_cast<size_t>(std::max<int16_t>(intContOrder, 0))) {
        MsgBox(tooFewPointsMessage, vbExclamation);
        return;
    }
    std::vector<double> c;
    std::vector<char> rejected;
    std::string message =
        sfContinuumFit(s.sngSpecX, s.sngSpecY, s.lngContRegion, intContOrder, c, options, &rejected);
    if (!message.empty()) {
        MsgBox(message, vbExclamation);
        return;
    }
    dblCont = c;
    message = sfPlotContinuum(s.sngSpecX, dblCont, plotter_);
    if (message.empty())
        message = sfPlotContinuumRejected(s.sngSpecX, s.sngSpecY, s.lngContRegion, rejected, plotter_);
    if (!message.empty()) {
        MsgBox(message, vbCritical);
        return;
    }
    cmdNext->setEnabled(true);
}

void FrmCalib::closeEvent(QCloseEvent* event)
{
    // Closing the window cancels too: the preview must not stay as the
    // plot window's data while the spectrum itself is unchanged.
    if (!isUnloaded() && !finished)
        plotUnchanged();
    TaskDialog::closeEvent(event);
}

void FrmCalib::formUnloaded() { appState().lngContRegion.assign(1, 0); }

void showFrmCalib(SpectrumView& plot)
{
    if (FrmCalib::raiseLoaded())
        return;
    auto* dialog = new FrmCalib(plot, mdiRaylen());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    const AppState& s = appState();
    std::string message = dialog->sfInitForm(s.strFileName, s.intTaskMode);
    if (!message.empty())
        MsgBox(message, vbCritical);
    dialog->markLoaded();
    dialog->show();
    // Normalising starts with s and d pressed on the plot.
    if (s.intTaskMode == taskNormalize)
        if (FrmPlot* plotWindow = frmPlot())
            plotWindow->takeKeys();
}

void unloadFrmCalib() { FrmCalib::closeLoaded(); }

} // namespace raylen
